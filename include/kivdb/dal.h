#pragma once
// DAL: the data-access object of the report control, also usable by hosts on their own. It holds
// one connection string and at most one connection, and hands out recordsets already disconnected
// from the database. No member throws or shows a message: failures come back as False (or an
// Empty value from ReadValue), with the reason in LastError for hosts that log it.
//
// Connections: a call opens one when none is held. The reads (ReadRecordset, GetRecordset,
// ReadValue) close it when they end, TransCommit and TransRollback when the transaction ends, and
// IsConnected closes any it finds outside a transaction (and answers False for it). ExecSQL, and
// PutRecordset when it succeeds, keep theirs open, so that the next call (a TransBegin too) works
// on the same connection; inside a transaction every call keeps it.
//
// Connection strings: "Provider=SQLite;Data Source=PATH" opens an SQLite file (add
// "Mode=ReadWriteCreate" to allow creating it); any string without a Provider key goes to ODBC.

#include <memory>
#include <string>

#include <kivdb/export.h>
#include <kivdb/recordset.h>
#include <kivdb/variant.h>

namespace kivdb {

class KIVDB_EXPORT DAL {
 public:
  DAL();
  ~DAL();
  DAL(const DAL&) = delete;
  DAL& operator=(const DAL&) = delete;

  bool ReadRecordset(const std::string& SQLQuery, std::shared_ptr<Recordset>& mRS);
  void ConnectionString(const std::string& text);
  bool IsConnected();
  bool TransBegin();
  bool TransCommit();
  bool TransRollback();
  bool IsInTransaction() const;
  bool ExecSQL(const std::string& SQLQuery);
  bool GetRecordset(const std::string& SQLQuery, std::shared_ptr<Recordset>& mRS);
  bool PutRecordset(std::shared_ptr<Recordset>& mRS);
  Variant ReadValue(const std::string& SQLQuery);

  // Seconds one command may run; past it the command is stopped and the call fails with
  // LastError "The query timed out after N s". 0, the default, means no limit; a negative value
  // counts as 0. A run-time setting, saved nowhere. The limit holds for connection attempts too,
  // and against a server that never answers: such a call returns within about a second of the
  // limit, and its connection is given up (a transaction on it is over and rolled back). A
  // PutRecordset given up on leaves the records handed in as they were, pending changes and all.
  void QueryTimeout(int seconds);
  int QueryTimeout() const;

  // Why the last failing call failed ("" after a success).
  const std::string& LastError() const;

 private:
  friend struct DalAccess;  // the control's own way in (control/data/dal_access.h)
  struct KIVDB_NO_EXPORT Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace kivdb
