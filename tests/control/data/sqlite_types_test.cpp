#include "control/data/sqlite_types.h"

#include <gtest/gtest.h>

#include <kivdb/dal.h>
#include "temp_database.h"

namespace kivdb {
namespace {

using testing_support::CreateDatabase;
using testing_support::SqliteConnectionString;
using testing_support::TempFolder;

TEST(SqliteTypesTest, CodeFromDeclaredType) {
  struct Case {
    const char* declared;
    int code;
  } cases[] = {
      {"INT", 3},
      {"integer", 3},
      {"SMALLINT", 2},
      {"TINYINT", 17},
      {"BIGINT", 20},
      {"REAL", 4},
      {"Float", 4},
      {"SINGLE", 4},
      {"DOUBLE", 5},
      {"double precision", 5},
      {"CURRENCY", 6},
      {"MONEY", 6},
      {"DECIMAL(10,2)", 131},
      {"NUMERIC", 131},
      {"BOOLEAN", 11},
      {"BIT", 11},
      {"DATE", 133},
      {"TIME", 134},
      {"DATETIME", 135},
      {"TIMESTAMP", 135},
      {"MEMO", 203},
      {"LONGTEXT", 203},
      {"NTEXT", 203},
      {"CLOB", 203},
      {"TEXT", 202},
      {"CHAR(10)", 202},
      {"VARCHAR (40)", 202},
      {"NVARCHAR(5)", 202},
      {"BLOB", 205},
      {"IMAGE", 205},
      {"BINARY", 205},
      {"UNSIGNED BIG INT", 20},
      {"MEDIUMINT", 3},
      {"VARCHAR2(8)", 202},
      {"VARBINARY", 205},
      {"", 0},
      {"JSON", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.declared);
    EXPECT_EQ(TypeCodeFromDeclaredType(c.declared), c.code);
  }
}

// One table with a column of each declared type, read back through DAL: type codes and the kinds
// of the values.
TEST(SqliteTypesTest, ReadsValuesByDeclaredType) {
  TempFolder folder;
  const std::string path = folder.File("types.db");
  CreateDatabase(
      path,
      "CREATE TABLE t(i INT, s SMALLINT, ti TINYINT, b BIGINT, r REAL, d DOUBLE, "
      "c CURRENCY, n NUMERIC, f BOOLEAN, dt DATE, tm TIME, ts DATETIME, m MEMO, "
      "v VARCHAR(10), bl BLOB, u);"
      "INSERT INTO t VALUES(7, 300, 200, 5000000000, 0.1, 0.1, 12.34, '12.50', 1, "
      "'2004-03-05', '10:30:00', '2004-03-05T10:30:15.250', 'long', 'abc', x'0102', 1.5);"
      "INSERT INTO t VALUES(3000000000, 'x', NULL, 1, 'n/a', 2, 3, 4, 0, 'soon', 'x', "
      "'2004-02-30', 5, 6, 'raw', NULL);");
  DAL dal;
  dal.ConnectionString(SqliteConnectionString(path));
  std::shared_ptr<Recordset> rs;
  ASSERT_TRUE(dal.ReadRecordset("SELECT * FROM t", rs)) << dal.LastError();
  const int expectedTypes[] = {3, 2, 17, 20, 4, 5, 6, 131, 11, 133, 134, 135, 203, 202, 205, 5};
  for (int i = 0; i < rs->FieldCount(); ++i) {
    SCOPED_TRACE(rs->Fields(i).Name());
    EXPECT_EQ(rs->Fields(i).Type(), expectedTypes[i]);
  }
  using K = Variant::Kind;
  const std::vector<Variant> first = {int32_t{7},
                                      int16_t{300},
                                      int16_t{200},
                                      int64_t{5000000000},
                                      0.1f,
                                      0.1,
                                      Currency{123400},
                                      Variant::Decimal("12.5"),
                                      true,
                                      DateTime{2004, 3, 5, 0, 0, 0},
                                      DateTime{1899, 12, 30, 10, 30, 0},
                                      DateTime{2004, 3, 5, 10, 30, 15},
                                      "long",
                                      "abc",
                                      Variant::Binary({1, 2}),
                                      1.5};
  for (int i = 0; i < rs->FieldCount(); ++i) {
    SCOPED_TRACE(rs->Fields(i).Name());
    EXPECT_EQ(rs->Value(i), first[i]);
  }
  rs->MoveNext();
  // Values that do not fit their declared type come back as they are stored, never truncated.
  const K second[] = {K::Int64,    K::Text,    K::Null,    K::Int64, K::Text, K::Double,
                      K::Currency, K::Decimal, K::Boolean, K::Text,  K::Text, K::Text,
                      K::Text,     K::Text,    K::Binary,  K::Null};
  for (int i = 0; i < rs->FieldCount(); ++i) {
    SCOPED_TRACE(rs->Fields(i).Name());
    EXPECT_EQ(rs->Value(i).GetKind(), second[i]);
  }
  EXPECT_EQ(rs->Value(11), Variant("2004-02-30"));
  EXPECT_EQ(rs->Value(12), Variant("5"));
}

TEST(SqliteTypesTest, ExpressionsTakeTheirTypeFromTheFirstValue) {
  TempFolder folder;
  const std::string path = folder.File("expr.db");
  CreateDatabase(path, "CREATE TABLE t(a INT); INSERT INTO t VALUES (NULL), (2);");
  DAL dal;
  dal.ConnectionString(SqliteConnectionString(path));
  std::shared_ptr<Recordset> rs;
  ASSERT_TRUE(dal.ReadRecordset(
      "SELECT a * 2 AS i, a / 4.0 AS r, 'x' || a AS t, x'00' AS b, NULL AS n FROM t", rs))
      << dal.LastError();
  const int expected[] = {20, 5, 202, 205, 202};
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(rs->Fields(i).Type(), expected[i]);
  }
  EXPECT_TRUE(rs->Value(0).IsNull());
  rs->MoveNext();
  EXPECT_EQ(rs->Value(0), Variant(int64_t{4}));
  EXPECT_EQ(rs->Value(1), Variant(0.5));
}

}  // namespace
}  // namespace kivdb
