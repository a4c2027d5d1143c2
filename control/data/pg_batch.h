#pragma once
// Writing a recordset's pending changes back through the native PostgreSQL provider: one
// transaction (or a savepoint inside the caller's), values bound as parameters, inserted rows
// read back with RETURNING.

#include <string>

#include <kivdb/recordset.h>

namespace kivdb {

class PgConnection;

bool WritePgBatch(PgConnection& connection, Recordset& records, std::string& error);

}  // namespace kivdb
