#pragma once
// SqliteConnection: the SQLite provider, one open database file. Commands run unchanged, except
// "EXEC name args", which runs the saved query `name` of table XSP with the arguments bound to its
// parameters ?1, ?2, ... (or, with no saved query and no arguments, reads the table or view
// `name` whole).

#include <sqlite3.h>

#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "control/data/connection.h"
#include "control/data/exec_command.h"

namespace kivdb {

class SqliteConnection : public Connection {
 public:
  // Opens the file named by the "data source" key. "mode" is ReadWrite (the default: the file must
  // exist), ReadWriteCreate or ReadOnly; "busy timeout" is how long, in milliseconds, to wait for
  // a lock held by another process (default 2000).
  static std::unique_ptr<Connection> Open(const std::map<std::string, std::string>& settings,
                                          std::string& error);
  ~SqliteConnection() override;

  bool Execute(const std::string& command, std::string& error) override;
  bool Query(const std::string& command, bool forUpdate, Recordset& out,
             std::string& error) override;
  // Steps the statement, handing each record to the sink as it is read.
  bool Stream(const std::string& command, RowSink& sink, std::string& error) override;
  bool BeginTransaction(std::string& error) override;
  bool Commit(std::string& error) override;
  bool Rollback(std::string& error) override;
  bool ApplyBatch(Recordset& records, std::string& error) override;
  void SetQueryTimeout(int seconds) override;
  void Cancel() override;
  // Every command is stopped by the progress handler at the limit, a lock wait is cut to it, and
  // a local file answers at once: no watch from outside is needed.
  bool BoundsItsOwnTime() const override { return true; }

 private:
  explicit SqliteConnection(sqlite3* db) : db_(db) {}

  // Runs every statement of `sql`, binding `arguments` to their parameters when given. With `out`,
  // the records of the last statement that returns columns land there.
  // With `sink`, those records go to it instead, the last statement's as they are read.
  bool RunStatements(const std::string& sql, const std::vector<Variant>* arguments, Recordset* out,
                     bool forUpdate, std::string& error, RowSink* sink = nullptr);
  // Translates an EXEC command into the statements to run, and runs them.
  bool RunExec(const ExecCommand& command, Recordset* out, bool forUpdate, std::string& error,
               RowSink* sink = nullptr);
  bool Simple(const char* sql, std::string& error);
  // Starts the clock of a command's time limit; Finish turns the failure of a command stopped by
  // it into the timeout message.
  void StartCommand();
  bool Finish(bool ok, std::string& error) const;
  static int OnProgress(void* self);

  sqlite3* db_;
  int timeoutSeconds_ = 0;
  int busyTimeoutMs_ = 0;
  std::chrono::steady_clock::time_point deadline_;
  bool timedOut_ = false;
};

}  // namespace kivdb
