// The pure parts of the ODBC provider: type codes per SQL type and the call escape of EXEC.
#include "control/data/odbc_types.h"

#include <gtest/gtest.h>

#include <kivdb/recordset.h>
#include "control/data/odbc_call.h"

namespace kivdb {
namespace {

TEST(OdbcTypesTest, CodeAndReaderPerSqlType) {
  struct Case {
    const char* name;
    SQLSMALLINT sqlType;
    bool isUnsigned;
    int code;
    OdbcCell cell;
  } cases[] = {
      {"smallint", SQL_SMALLINT, false, type::kSmallInt, OdbcCell::SmallInteger},
      {"unsigned smallint", SQL_SMALLINT, true, type::kUnsignedSmallInt, OdbcCell::Integer},
      {"integer", SQL_INTEGER, false, type::kInteger, OdbcCell::Integer},
      {"unsigned integer", SQL_INTEGER, true, type::kUnsignedInt, OdbcCell::BigInteger},
      {"real", SQL_REAL, false, type::kSingle, OdbcCell::Single},
      {"float", SQL_FLOAT, false, type::kDouble, OdbcCell::Double},
      {"double", SQL_DOUBLE, false, type::kDouble, OdbcCell::Double},
      {"decimal", SQL_DECIMAL, false, type::kDecimal, OdbcCell::ExactNumber},
      {"numeric", SQL_NUMERIC, false, type::kNumeric, OdbcCell::ExactNumber},
      {"bit", SQL_BIT, false, type::kBoolean, OdbcCell::Boolean},
      {"tinyint", SQL_TINYINT, false, type::kTinyInt, OdbcCell::SmallInteger},
      {"unsigned tinyint", SQL_TINYINT, true, type::kUnsignedTinyInt, OdbcCell::SmallInteger},
      {"bigint", SQL_BIGINT, false, type::kBigInt, OdbcCell::BigInteger},
      {"unsigned bigint", SQL_BIGINT, true, type::kUnsignedBigInt, OdbcCell::UnsignedBig},
      {"date", SQL_TYPE_DATE, false, type::kDBDate, OdbcCell::Date},
      {"time", SQL_TYPE_TIME, false, type::kDBTime, OdbcCell::Time},
      {"timestamp", SQL_TYPE_TIMESTAMP, false, type::kDBTimeStamp, OdbcCell::Timestamp},
      {"date of ODBC 2", SQL_DATE, false, type::kDBDate, OdbcCell::Date},
      {"timestamp of ODBC 2", SQL_TIMESTAMP, false, type::kDBTimeStamp, OdbcCell::Timestamp},
      {"char", SQL_CHAR, false, type::kChar, OdbcCell::Text},
      {"wchar", SQL_WCHAR, false, type::kWChar, OdbcCell::Text},
      {"varchar", SQL_VARCHAR, false, type::kVarChar, OdbcCell::Text},
      {"longvarchar", SQL_LONGVARCHAR, false, type::kLongVarChar, OdbcCell::Text},
      {"wvarchar", SQL_WVARCHAR, false, type::kVarWChar, OdbcCell::Text},
      {"wlongvarchar", SQL_WLONGVARCHAR, false, type::kLongVarWChar, OdbcCell::Text},
      {"binary", SQL_BINARY, false, type::kBinary, OdbcCell::Binary},
      {"varbinary", SQL_VARBINARY, false, type::kVarBinary, OdbcCell::Binary},
      {"longvarbinary", SQL_LONGVARBINARY, false, type::kLongVarBinary, OdbcCell::Binary},
      {"guid", SQL_GUID, false, type::kGuid, OdbcCell::Text},
      {"interval", SQL_INTERVAL_DAY, false, type::kVarChar, OdbcCell::Text},
      {"unknown", SQL_UNKNOWN_TYPE, false, type::kVarChar, OdbcCell::Text},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(TypeCodeFromSqlType(c.sqlType, c.isUnsigned), c.code);
    EXPECT_EQ(CellFromSqlType(c.sqlType, c.isUnsigned), c.cell);
  }
}

TEST(OdbcTypesTest, CallEscapeOfExec) {
  struct Case {
    const char* command;
    const char* quote;
    const char* escape;
  } cases[] = {
      {"EXEC spG_Regions", "\"", "{CALL spG_Regions}"},
      {"EXEC spG_Regions ", "\"", "{CALL spG_Regions}"},
      {"EXEC spW_Orders 0, 7", "\"", "{CALL spW_Orders(?, ?)}"},
      {"EXEC shop.spW_Orders 'a'", "\"", "{CALL shop.spW_Orders(?)}"},
      {"EXEC [Sales by Year] 1997", "\"", "{CALL \"Sales by Year\"(?)}"},
      {"EXEC [Sales by Year] 1997", "`", "{CALL `Sales by Year`(?)}"},
      {"EXEC [a\"b] 1", "\"", "{CALL \"a\"\"b\"(?)}"},
      {"EXEC [Sales by Year]", " ", "{CALL Sales by Year}"},
      {"EXEC q 'x'', y'", "\"", "{CALL q(?)}"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    std::string error;
    const auto exec = ParseExecCommand(c.command, error);
    ASSERT_TRUE(exec) << error;
    EXPECT_EQ(CallEscape(*exec, c.quote), c.escape);
  }
}

}  // namespace
}  // namespace kivdb
