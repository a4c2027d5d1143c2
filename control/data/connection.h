#pragma once
// Connection: one open session with a database, as a provider offers it to DAL. DAL owns it for
// the time of a call or of a transaction. Every operation reports failure by returning false with
// the reason in `error`; none throws. Providers: SQLite, and ODBC for every other database.

#include <memory>
#include <string>

#include <kivdb/dal.h>
#include <kivdb/recordset.h>

namespace kivdb {

class Connection {
 public:
  virtual ~Connection() = default;

  // Runs a command that returns no records (it may hold several statements).
  virtual bool Execute(const std::string& command, std::string& error) = 0;
  // Runs a command and reads all its records into `out`, a new empty recordset. With `forUpdate`
  // the recordset also learns its base table and key (when it was read from one table), so that
  // ApplyBatch can write changes back.
  virtual bool Query(const std::string& command, bool forUpdate, Recordset& out,
                     std::string& error) = 0;

  virtual bool BeginTransaction(std::string& error) = 0;
  virtual bool Commit(std::string& error) = 0;
  virtual bool Rollback(std::string& error) = 0;

  // Writes the pending changes of `records` as one batch and re-reads its records. A record changed
  // in the database since it was read is a conflict; on any failure the database is left as it was
  // and so is `records`.
  virtual bool ApplyBatch(Recordset& records, std::string& error) = 0;

  // Limits every later command to `seconds` of running (0: no limit). A command that runs past
  // it is stopped and fails with QueryTimedOutMessage(seconds).
  virtual void SetQueryTimeout(int seconds) = 0;
};

// Why a command stopped by the query timeout failed: "The query timed out after N s".
std::string QueryTimedOutMessage(int seconds);

// The factory DAL uses unless it is given another: picks the provider by the connection string's
// Provider key ("SQLite"); a string without one belongs to ODBC.
std::unique_ptr<Connection> OpenDefaultConnection(const std::string& connectionString,
                                                  std::string& error);

}  // namespace kivdb
