#pragma once
// Connection: one open session with a database, as a provider offers it to DAL. DAL owns it for
// the time of a call or of a transaction. Every operation reports failure by returning false with
// the reason in `error`; none throws. Providers: SQLite, PostgreSQL (native), and ODBC for every
// other database.

#include <memory>
#include <string>

#include <kivdb/dal.h>
#include <kivdb/recordset.h>
#include "control/data/row_sink.h"

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
  // Runs a command and hands its records to `sink` as they are read (a forward-only read). This
  // default reads them all with Query first; providers that can step their results override it.
  virtual bool Stream(const std::string& command, RowSink& sink, std::string& error);

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

  // Asks the command running on this connection to stop; may be called from another thread while
  // a call is in progress. Does nothing where the provider cannot stop a command.
  virtual void Cancel() {}
  // True when the provider enforces the query timeout on every call by itself, connection
  // attempts included, even against a server that never answers; DAL then needs no watch of its
  // own over the calls.
  virtual bool BoundsItsOwnTime() const { return false; }
};

// Why a command stopped by the query timeout failed: "The query timed out after N s".
std::string QueryTimedOutMessage(int seconds);

// The factory DAL uses unless it is given another: picks the provider by the connection string's
// Provider key ("SQLite", "PostgreSQL"); a string without one belongs to ODBC. A positive
// `timeoutSeconds` (the DAL's QueryTimeout) bounds the connection attempt as well.
std::unique_ptr<Connection> OpenDefaultConnection(const std::string& connectionString,
                                                  std::string& error, int timeoutSeconds = 0);

}  // namespace kivdb
