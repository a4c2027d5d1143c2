#pragma once
// Writing a recordset's pending changes back to its table through ODBC, as one batch.

#include <string>

#include <kivdb/recordset.h>

namespace kivdb {

class OdbcConnection;

// Writes the added, changed and deleted records of `records` to its base table by key, all or
// nothing, then re-reads its records. A changed or deleted record whose row no longer holds the
// values it was read with is a conflict: nothing is written, `records` keeps its pending changes,
// and the function returns false with the reason in `error`. Outside a transaction the batch is a
// transaction of its own; inside one it runs under a savepoint, so that the caller's transaction
// goes on either way.
bool WriteOdbcBatch(OdbcConnection& connection, Recordset& records, std::string& error);

}  // namespace kivdb
