#pragma once
// Field type codes and value readers for ODBC result columns, from the SQL type the driver reports
// for each column. Pure mapping: no handles, no I/O.

#include <sql.h>
#include <sqlext.h>

namespace kivdb {

// How the values of a column are fetched and turned into Variants.
enum class OdbcCell {
  Boolean,       // SQL_C_BIT
  SmallInteger,  // SQL_C_SSHORT: tiny and small integers, signed or not, fit
  Integer,       // SQL_C_SLONG
  BigInteger,    // SQL_C_SBIGINT: also unsigned 32-bit integers
  UnsignedBig,   // SQL_C_UBIGINT: beyond 63 bits the value is kept as an exact decimal
  Single,        // SQL_C_FLOAT
  Double,        // SQL_C_DOUBLE
  ExactNumber,   // SQL_C_CHAR, kept as an exact decimal
  Date,          // SQL_C_CHAR, read into a date when it is one (see the reader)
  Time,          // SQL_C_TYPE_TIME
  Timestamp,     // SQL_C_CHAR, as Date
  Text,          // SQL_C_CHAR: the driver's bytes, unchanged
  Binary,        // SQL_C_BINARY
};

// The field type code of a column of ODBC SQL type `sqlType`; `isUnsigned` matters only for the
// integer types. Types without a code of their own (intervals, driver-specific types) read as text
// and get the code of variable-length text (200).
int TypeCodeFromSqlType(SQLSMALLINT sqlType, bool isUnsigned);

OdbcCell CellFromSqlType(SQLSMALLINT sqlType, bool isUnsigned);

// The C type the cell kind is fetched as.
SQLSMALLINT CTypeOfCell(OdbcCell cell);

// True for kinds whose values have no fixed size (text and binary data), read in pieces when long.
inline bool IsVariableLength(OdbcCell cell) {
  return cell == OdbcCell::Text || cell == OdbcCell::Binary || cell == OdbcCell::ExactNumber ||
         cell == OdbcCell::Date || cell == OdbcCell::Timestamp;
}

}  // namespace kivdb
