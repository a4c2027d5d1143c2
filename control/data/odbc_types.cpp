#include "control/data/odbc_types.h"

#include <kivdb/recordset.h>

namespace kivdb {

int TypeCodeFromSqlType(SQLSMALLINT sqlType, bool isUnsigned) {
  switch (sqlType) {
    case SQL_SMALLINT:
      return isUnsigned ? type::kUnsignedSmallInt : type::kSmallInt;
    case SQL_INTEGER:
      return isUnsigned ? type::kUnsignedInt : type::kInteger;
    case SQL_TINYINT:
      return isUnsigned ? type::kUnsignedTinyInt : type::kTinyInt;
    case SQL_BIGINT:
      return isUnsigned ? type::kUnsignedBigInt : type::kBigInt;
    case SQL_REAL:
      return type::kSingle;
    case SQL_FLOAT:
    case SQL_DOUBLE:
      return type::kDouble;
    case SQL_DECIMAL:
      return type::kDecimal;
    case SQL_NUMERIC:
      return type::kNumeric;
    case SQL_BIT:
      return type::kBoolean;
    case SQL_TYPE_DATE:
    case SQL_DATE:
      return type::kDBDate;
    case SQL_TYPE_TIME:
    case SQL_TIME:
      return type::kDBTime;
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP:
      return type::kDBTimeStamp;
    case SQL_CHAR:
      return type::kChar;
    case SQL_WCHAR:
      return type::kWChar;
    case SQL_VARCHAR:
      return type::kVarChar;
    case SQL_LONGVARCHAR:
      return type::kLongVarChar;
    case SQL_WVARCHAR:
      return type::kVarWChar;
    case SQL_WLONGVARCHAR:
      return type::kLongVarWChar;
    case SQL_BINARY:
      return type::kBinary;
    case SQL_VARBINARY:
      return type::kVarBinary;
    case SQL_LONGVARBINARY:
      return type::kLongVarBinary;
    case SQL_GUID:
      return type::kGuid;
    default:
      return type::kVarChar;
  }
}

OdbcCell CellFromSqlType(SQLSMALLINT sqlType, bool isUnsigned) {
  switch (sqlType) {
    case SQL_BIT:
      return OdbcCell::Boolean;
    case SQL_TINYINT:
    case SQL_SMALLINT:
      return isUnsigned && sqlType == SQL_SMALLINT ? OdbcCell::Integer : OdbcCell::SmallInteger;
    case SQL_INTEGER:
      return isUnsigned ? OdbcCell::BigInteger : OdbcCell::Integer;
    case SQL_BIGINT:
      return isUnsigned ? OdbcCell::UnsignedBig : OdbcCell::BigInteger;
    case SQL_REAL:
      return OdbcCell::Single;
    case SQL_FLOAT:
    case SQL_DOUBLE:
      return OdbcCell::Double;
    case SQL_DECIMAL:
    case SQL_NUMERIC:
      return OdbcCell::ExactNumber;
    case SQL_TYPE_DATE:
    case SQL_DATE:
      return OdbcCell::Date;
    case SQL_TYPE_TIME:
    case SQL_TIME:
      return OdbcCell::Time;
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP:
      return OdbcCell::Timestamp;
    case SQL_BINARY:
    case SQL_VARBINARY:
    case SQL_LONGVARBINARY:
      return OdbcCell::Binary;
    default:
      return OdbcCell::Text;
  }
}

SQLSMALLINT CTypeOfCell(OdbcCell cell) {
  switch (cell) {
    case OdbcCell::Boolean:
      return SQL_C_BIT;
    case OdbcCell::SmallInteger:
      return SQL_C_SSHORT;
    case OdbcCell::Integer:
      return SQL_C_SLONG;
    case OdbcCell::BigInteger:
      return SQL_C_SBIGINT;
    case OdbcCell::UnsignedBig:
      return SQL_C_UBIGINT;
    case OdbcCell::Single:
      return SQL_C_FLOAT;
    case OdbcCell::Double:
      return SQL_C_DOUBLE;
    case OdbcCell::Time:
      return SQL_C_TYPE_TIME;
    case OdbcCell::Binary:
      return SQL_C_BINARY;
    // Dates and timestamps come as the server's text: a driver turns those the C date structures
    // cannot hold (infinity, BC dates, years past 9999) into other dates without a word.
    case OdbcCell::Date:
    case OdbcCell::Timestamp:
    case OdbcCell::ExactNumber:
    case OdbcCell::Text:
      return SQL_C_CHAR;
  }
  return SQL_C_CHAR;
}

}  // namespace kivdb
