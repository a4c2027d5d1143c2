#pragma once
// Field type codes for SQLite columns, from the type a table declares for the column.

#include <string_view>

namespace kivdb {

// The type code of a column declared as `declared` ("VARCHAR(40)", "unsigned big int", ...).
// Returns 0 when the column has no declared type (an expression) or one that names no known type
// and has no recognisable affinity; the caller then takes the type from the values.
int TypeCodeFromDeclaredType(std::string_view declared);

// The type code of an undeclared column from the storage class of its first non-null value
// (SQLITE_INTEGER, SQLITE_FLOAT, SQLITE_TEXT, SQLITE_BLOB).
int TypeCodeFromStorageClass(int storageClass);

}  // namespace kivdb
