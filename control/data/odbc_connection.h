#pragma once
// OdbcConnection: the ODBC provider, one connection opened with SQLDriverConnect from the
// connection string as the host wrote it. Commands run unchanged, except "EXEC name args", which
// becomes the call escape {CALL name(?, ...)} with the arguments bound to its markers. A
// transaction turns autocommit off until SQLEndTran commits or rolls it back.

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "control/data/connection.h"
#include "control/data/odbc_handles.h"
#include "control/data/odbc_reader.h"

namespace kivdb {

class OdbcConnection : public Connection {
 public:
  // Connects without prompting; returns null with the driver manager's or driver's reason. A
  // positive `timeoutSeconds` also bounds the login.
  static std::unique_ptr<Connection> Open(const std::string& connectionString, std::string& error,
                                          int timeoutSeconds = 0);
  ~OdbcConnection() override;

  bool Execute(const std::string& command, std::string& error) override;
  bool Query(const std::string& command, bool forUpdate, Recordset& out,
             std::string& error) override;
  // Fetches blocks of rows and hands them to the sink as they arrive.
  bool Stream(const std::string& command, RowSink& sink, std::string& error) override;
  bool BeginTransaction(std::string& error) override;
  bool Commit(std::string& error) override;
  bool Rollback(std::string& error) override;
  bool ApplyBatch(Recordset& records, std::string& error) override;
  void SetQueryTimeout(int seconds) override;
  // Cancels the statement that Run is executing or reading, if any.
  void Cancel() override;

  // --- For the batch writer --------------------------------------------------------------------
  // A new statement handle with the query timeout set, or an invalid one with the reason in
  // `error`.
  OdbcHandle NewStatement(std::string& error);
  bool InTransaction() const { return inTransaction_; }
  // Turns autocommit off (or back on) outside a transaction of the caller's.
  bool SetAutocommit(bool on, std::string& error);
  bool EndTransaction(bool commit, std::string& error);
  // The identifier quote of the driver (" " when it has none).
  const std::string& Quote() const { return quote_; }
  // True when the database returns the values of inserted rows (INSERT ... RETURNING).
  bool ReturnsInsertedRows() const { return returning_; }
  // True once Cancel was asked for since the last ClearCancel: a batch that was given up on must
  // not commit when its server answers after all.
  bool CancelRequested() const { return cancelRequested_; }
  void ClearCancel() { cancelRequested_ = false; }
  // Rows per fetch that the driver can handle (1 when it cannot complete long values in a block).
  size_t BlockRows() const { return blockRows_; }

 private:
  OdbcConnection() = default;

  // Runs `command` (an EXEC command is translated) and keeps the records of its last result with
  // columns in `out`, when given.
  // With `sink`, the records of its one result with columns go there as they are fetched.
  bool Run(const std::string& command, Recordset* out, bool forUpdate, std::string& error,
           RowSink* sink = nullptr);
  // When the statement stopped because of the query timeout, the timeout message replaces
  // `error`. Returns false, for use in return statements.
  bool FailedCommand(const OdbcHandle& statement, std::string& error) const;
  bool FindBaseTable(const std::vector<OdbcColumn>& columns, Recordset& out);

  // Makes `statement` the one Cancel reaches for as long as this lives; declared after the
  // handle, so that the handle is never freed while a cancel may use it.
  class CancelTarget {
   public:
    CancelTarget(OdbcConnection& owner, const OdbcHandle& statement);
    ~CancelTarget();
    CancelTarget(const CancelTarget&) = delete;
    CancelTarget& operator=(const CancelTarget&) = delete;

   private:
    OdbcConnection& owner_;
  };

  // Declared in this order so that the connection goes before its environment.
  OdbcHandle environment_;
  OdbcHandle connection_;
  bool connected_ = false;
  int queryTimeout_ = 0;
  bool inTransaction_ = false;
  std::string quote_ = "\"";
  bool returning_ = false;
  size_t blockRows_ = 1;
  std::atomic<bool> cancelRequested_ = false;
  std::mutex cancelMutex_;
  SQLHSTMT running_ = SQL_NULL_HSTMT;  // guarded by cancelMutex_
};

}  // namespace kivdb
