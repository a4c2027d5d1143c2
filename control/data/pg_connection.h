#pragma once
// PgConnection: the native PostgreSQL provider, one libpq connection. Every call is sent
// asynchronously and waited for on the connection's socket, so that the query timeout bounds it
// from this side, connection attempts included: at the deadline the statement is cancelled, and a
// server that does not answer even that loses the connection. Results are read row by row. "EXEC
// name args" runs SELECT * FROM name($1, ...) with the arguments bound, or CALL for a procedure.

#include <libpq-fe.h>

#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "control/data/connection.h"

namespace kivdb {

class PgConnection : public Connection {
 public:
  using Clock = std::chrono::steady_clock;

  // Receives the results of a command.
  class Reader {
   public:
    virtual ~Reader() = default;
    // The fields of a result with columns, before its rows; false stops the read (it still
    // succeeds).
    virtual bool Begin(const PGresult* result) = 0;
    // Row `row` of `result`; false stops the read (it still succeeds).
    virtual bool Row(const PGresult* result, int row) = 0;
  };

  // Connects with the settings of the connection string (keys lower-cased): "conninfo" takes any
  // libpq connection string or URI; host/server, port, database, user/uid, password/pwd and every
  // other libpq keyword are passed on. A positive `timeoutSeconds` bounds the attempt (15 s
  // otherwise, unless connect_timeout says).
  static std::unique_ptr<Connection> Open(const std::map<std::string, std::string>& settings,
                                          std::string& error, int timeoutSeconds = 0);
  ~PgConnection() override;

  bool Execute(const std::string& command, std::string& error) override;
  bool Query(const std::string& command, bool forUpdate, Recordset& out,
             std::string& error) override;
  bool Stream(const std::string& command, RowSink& sink, std::string& error) override;
  bool BeginTransaction(std::string& error) override;
  bool Commit(std::string& error) override;
  bool Rollback(std::string& error) override;
  bool ApplyBatch(Recordset& records, std::string& error) override;
  void SetQueryTimeout(int seconds) override;
  void Cancel() override;
  bool BoundsItsOwnTime() const override { return true; }

  // --- For the batch writer --------------------------------------------------------------------
  // Runs `sql` with `values` bound to $1, $2, ... (Null for none); `reader` receives its rows.
  // `affected` is the row count of the last statement.
  bool RunParams(const std::string& sql, const std::vector<Variant>& values, Reader* reader,
                 long long* affected, std::string& error);
  bool InTransaction() const { return inTransaction_; }

 private:
  PgConnection() = default;

  bool Connect(std::string& error);
  // Sends `sql` (with parameters when `values` is given) and hands every result to `reader`.
  bool Run(const std::string& sql, const std::vector<Variant>* values, Reader* reader,
           long long* affected, std::string& error);
  // Translates an EXEC command and runs it.
  bool RunExec(const std::string& command, Reader* reader, std::string& error);
  // Waits until the socket is ready for reading (or writing) or the deadline passes.
  enum class Wait { Ready, TimedOut, Failed };
  Wait WaitSocket(bool forWrite, Clock::time_point deadline) const;
  // Reads until libpq has a whole result; false when the deadline passed or the connection broke.
  Wait Receive(Clock::time_point deadline);
  // At the deadline: cancels the statement and waits briefly for the server to end it; a server
  // that does not answer loses the connection.
  void StopAfterDeadline();
  void Drop();
  Clock::time_point Deadline() const;
  bool FindBaseTable(const std::vector<unsigned>& tables, const std::vector<int>& tableColumns,
                     Recordset& out);

  std::vector<std::string> keywords_;
  std::vector<std::string> values_;
  int connectSeconds_ = 15;
  PGconn* conn_ = nullptr;
  mutable std::mutex cancelMutex_;
  PGcancel* cancel_ = nullptr;
  int queryTimeout_ = 0;
  bool inTransaction_ = false;
  bool lostTransaction_ = false;
};

}  // namespace kivdb
