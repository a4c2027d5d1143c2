#pragma once
// Writing a recordset's pending changes back to its SQLite table as one batch.

#include <sqlite3.h>

#include <string>

#include <kivdb/recordset.h>

namespace kivdb {

// Writes the added, changed and deleted records of `records` to its base table by key, all or
// nothing, then re-reads its records. A changed or deleted record whose row no longer holds the
// values it was read with is a conflict: nothing is written, `records` keeps its pending changes,
// and the function returns false with the reason in `error`. Runs inside a savepoint when a
// transaction is open, so that the caller's transaction goes on either way.
bool WriteBatch(sqlite3* db, Recordset& records, std::string& error);

}  // namespace kivdb
