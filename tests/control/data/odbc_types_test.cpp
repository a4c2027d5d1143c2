// The pure parts of the ODBC provider: type codes per SQL type and the call escape of EXEC.
#include "control/data/odbc_types.h"

#include <gtest/gtest.h>

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
      {"smallint", SQL_SMALLINT, false, 2, OdbcCell::SmallInteger},
      {"unsigned smallint", SQL_SMALLINT, true, 18, OdbcCell::Integer},
      {"integer", SQL_INTEGER, false, 3, OdbcCell::Integer},
      {"unsigned integer", SQL_INTEGER, true, 19, OdbcCell::BigInteger},
      {"real", SQL_REAL, false, 4, OdbcCell::Single},
      {"float", SQL_FLOAT, false, 5, OdbcCell::Double},
      {"double", SQL_DOUBLE, false, 5, OdbcCell::Double},
      {"decimal", SQL_DECIMAL, false, 14, OdbcCell::ExactNumber},
      {"numeric", SQL_NUMERIC, false, 131, OdbcCell::ExactNumber},
      {"bit", SQL_BIT, false, 11, OdbcCell::Boolean},
      {"tinyint", SQL_TINYINT, false, 16, OdbcCell::SmallInteger},
      {"unsigned tinyint", SQL_TINYINT, true, 17, OdbcCell::SmallInteger},
      {"bigint", SQL_BIGINT, false, 20, OdbcCell::BigInteger},
      {"unsigned bigint", SQL_BIGINT, true, 21, OdbcCell::UnsignedBig},
      {"date", SQL_TYPE_DATE, false, 133, OdbcCell::Date},
      {"time", SQL_TYPE_TIME, false, 134, OdbcCell::Time},
      {"timestamp", SQL_TYPE_TIMESTAMP, false, 135, OdbcCell::Timestamp},
      {"date of ODBC 2", SQL_DATE, false, 133, OdbcCell::Date},
      {"timestamp of ODBC 2", SQL_TIMESTAMP, false, 135, OdbcCell::Timestamp},
      {"char", SQL_CHAR, false, 129, OdbcCell::Text},
      {"wchar", SQL_WCHAR, false, 130, OdbcCell::Text},
      {"varchar", SQL_VARCHAR, false, 200, OdbcCell::Text},
      {"longvarchar", SQL_LONGVARCHAR, false, 201, OdbcCell::Text},
      {"wvarchar", SQL_WVARCHAR, false, 202, OdbcCell::Text},
      {"wlongvarchar", SQL_WLONGVARCHAR, false, 203, OdbcCell::Text},
      {"binary", SQL_BINARY, false, 128, OdbcCell::Binary},
      {"varbinary", SQL_VARBINARY, false, 204, OdbcCell::Binary},
      {"longvarbinary", SQL_LONGVARBINARY, false, 205, OdbcCell::Binary},
      {"guid", SQL_GUID, false, 72, OdbcCell::Text},
      {"interval", SQL_INTERVAL_DAY, false, 200, OdbcCell::Text},
      {"unknown", SQL_UNKNOWN_TYPE, false, 200, OdbcCell::Text},
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
