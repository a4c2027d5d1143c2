// The ODBC provider on the PostgreSQL test server: type codes and values per column type, values
// of any length, both ways of reading a result, writing every type back, and failures that end
// in False.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>

#include <kivdb/dal.h>
#include "control/data/odbc_connection.h"
#include "tests/control/data/test_database.h"

namespace kivdb {
namespace {

using testing_support::Engine;
using testing_support::TestDatabase;

class OdbcProviderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(db_.Ready()) << db_.Problem();
    ASSERT_EQ(db_.Run({"CREATE TABLE t(id integer PRIMARY KEY, s smallint, b bigint, r real, "
                       "d double precision, n numeric(10,2), m money, f boolean, dt date, "
                       "tm time, ts timestamp, tx text, vc varchar(10), ch char(3), by bytea, "
                       "u uuid, iv interval)",
                       "INSERT INTO t VALUES (1, -2, 5000000000, 0.5, 0.1, 12.50, 1234.56, true, "
                       "'2004-03-05', '10:30:00', '2004-03-05 10:30:15.25', 'Zoë ✓', 'abc', 'x', "
                       "'\\x0102ff', 'a0eebc99-9c0b-4ef8-bb6d-6bb9bd380a11', '1 day')",
                       "INSERT INTO t(id) VALUES (2)"}),
              "");
    dal_.ConnectionString(db_.ConnectionString());
  }

  TestDatabase db_{Engine::Postgres};
  DAL dal_;
};

// What the PostgreSQL driver reports: money arrives as SQL_FLOAT (a double), text as a long
// varchar, a uuid as SQL_GUID (read as its text), an interval as varchar.
TEST_F(OdbcProviderTest, TypeCodesAndValuesPerColumnType) {
  struct Case {
    const char* column;
    int code;
    Variant value;
  } cases[] = {
      {"id", 3, int32_t{1}},
      {"s", 2, int16_t{-2}},
      {"b", 20, int64_t{5000000000}},
      {"r", 4, 0.5f},
      {"d", 5, 0.1},
      {"n", 131, Variant::Decimal("12.50")},
      {"m", 5, 1234.56},
      {"f", 11, true},
      {"dt", 133, DateTime{2004, 3, 5, 0, 0, 0}},
      {"tm", 134, DateTime{1899, 12, 30, 10, 30, 0}},
      {"ts", 135, DateTime{2004, 3, 5, 10, 30, 15}},
      {"tx", 201, "Zoë ✓"},
      {"vc", 200, "abc"},
      {"ch", 129, "x  "},
      {"by", 205, Variant::Binary({1, 2, 255})},
      {"u", 72, "A0EEBC99-9C0B-4EF8-BB6D-6BB9BD380A11"},
      {"iv", 200, "1 day"},
  };
  std::shared_ptr<Recordset> rs;
  ASSERT_TRUE(dal_.ReadRecordset("SELECT * FROM t ORDER BY id", rs)) << dal_.LastError();
  ASSERT_EQ(rs->FieldCount(), static_cast<int>(std::size(cases)));
  for (int i = 0; i < rs->FieldCount(); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(c.column);
    EXPECT_EQ(rs->Fields(i).Name(), c.column);
    EXPECT_EQ(rs->Fields(i).Type(), c.code);
    EXPECT_EQ(rs->Value(i), c.value) << rs->Value(i).ToText();
  }
  rs->MoveNext();
  for (int i = 1; i < rs->FieldCount(); ++i) {
    SCOPED_TRACE(cases[i].column);
    EXPECT_TRUE(rs->Value(i).IsNull());
  }
}

TEST_F(OdbcProviderTest, EveryTypeIsWrittenBackAsTheTableHoldsIt) {
  std::shared_ptr<Recordset> rs;
  ASSERT_TRUE(dal_.GetRecordset("SELECT * FROM t ORDER BY id", rs)) << dal_.LastError();
  struct Change {
    const char* column;
    Variant value;
  } changes[] = {
      {"s", int16_t{7}},
      {"b", int64_t{-9000000000}},
      {"r", 2.25f},
      {"d", -1.5},
      {"n", Variant::Decimal("99.99")},
      {"m", 5.25},
      {"f", false},
      {"dt", DateTime{1999, 12, 31, 0, 0, 0}},
      {"tm", DateTime{1899, 12, 30, 23, 59, 58}},
      {"ts", DateTime{2020, 2, 29, 12, 0, 1}},
      {"tx", std::string(5000, 'q')},
      {"vc", "O'Hara"},
      {"ch", "abc"},
      {"by", Variant::Binary(std::vector<uint8_t>(70000, 0))},
      {"u", "00000000-0000-0000-0000-000000000001"},
      {"iv", "2 days"},
  };
  for (int row = 0; row < 2; ++row) {  // over values, then over Nulls
    rs->MoveFirst();
    if (row == 1) rs->MoveNext();
    for (const Change& c : changes) rs->Fields(c.column).SetValue(c.value);
  }
  ASSERT_TRUE(dal_.PutRecordset(rs)) << dal_.LastError();
  std::shared_ptr<Recordset> back;
  ASSERT_TRUE(dal_.ReadRecordset("SELECT * FROM t ORDER BY id", back)) << dal_.LastError();
  for (int row = 0; row < 2; ++row) {
    for (const Change& c : changes) {
      SCOPED_TRACE(std::string(c.column) + " in row " + std::to_string(row + 1));
      EXPECT_EQ(back->Fields(c.column).Value(), c.value) << back->Fields(c.column).Value().ToText();
    }
    back->MoveNext();
  }
}

TEST_F(OdbcProviderTest, BlockAndRowByRowReadsAgree) {
  // Long values past the bound buffers, Nulls and short values, over several blocks; fixed-size
  // values and dates sit after buffers of odd sizes in each bound row.
  const std::string query =
      "SELECT g, CASE WHEN g % 7 = 0 THEN NULL ELSE repeat(chr(65 + g % 26), g) END AS t, "
      "CASE WHEN g % 3 = 0 THEN NULL ELSE g * 1000000007::bigint END AS big, "
      "CASE WHEN g % 5 = 0 THEN NULL ELSE decode(repeat('ab', g * 3), 'hex') END AS b, "
      "g * 0.5 AS half, date '2000-01-01' + g AS day, g / 4.0::float8 AS quarter "
      "FROM generate_series(1, 2100) g ORDER BY g";
  std::string error;
  auto connection = OdbcConnection::Open(db_.ConnectionString(), error);
  ASSERT_NE(connection, nullptr) << error;
  auto& odbc = static_cast<OdbcConnection&>(*connection);
  for (const size_t blockRows : {size_t{1}, size_t{3}, kOdbcBlockRows}) {
    SCOPED_TRACE(blockRows);
    OdbcHandle statement = odbc.NewStatement(error);
    std::string text = query;
    ASSERT_TRUE(Succeeded(
        SQLExecDirect(statement.Get(), reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS)));
    std::vector<OdbcColumn> columns;
    Recordset rs;
    ASSERT_TRUE(DescribeColumns(statement, false, columns, error)) << error;
    ASSERT_TRUE(ReadRows(statement, columns, rs, error, blockRows)) << error;
    ASSERT_EQ(rs.RecordCount(), 2100);
    int g = 1;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext(), ++g) {
      ASSERT_EQ(rs.Value(0), Variant(int32_t{g}));
      if (g % 7 == 0) {
        ASSERT_TRUE(rs.Value(1).IsNull()) << g;
      } else {
        ASSERT_EQ(rs.Value(1), Variant(std::string(g, static_cast<char>('A' + g % 26)))) << g;
      }
      if (g % 3 == 0) {
        ASSERT_TRUE(rs.Value(2).IsNull()) << g;
      } else {
        ASSERT_EQ(rs.Value(2), Variant(int64_t{g} * 1000000007)) << g;
      }
      if (g % 5 == 0) {
        ASSERT_TRUE(rs.Value(3).IsNull()) << g;
      } else {
        ASSERT_EQ(rs.Value(3), Variant::Binary(std::vector<uint8_t>(g * 3, 0xab))) << g;
      }
      ASSERT_EQ(rs.Value(4).ToDouble(), g * 0.5) << g;
      const auto day =
          std::chrono::sys_days{std::chrono::year{2000} / 1 / 1} + std::chrono::days{g};
      const std::chrono::year_month_day ymd{day};
      ASSERT_EQ(rs.Value(5),
                Variant(DateTime{static_cast<int>(ymd.year()),
                                 static_cast<int>(static_cast<unsigned>(ymd.month())),
                                 static_cast<int>(static_cast<unsigned>(ymd.day())), 0, 0, 0}))
          << g;
      ASSERT_EQ(rs.Value(6), Variant(g / 4.0)) << g;
    }
  }
}

TEST_F(OdbcProviderTest, TextArgumentsTakeTheParameterTypeOfTheFunction) {
  ASSERT_EQ(db_.Run({"CREATE FUNCTION qDay(d date) RETURNS TABLE(day date) LANGUAGE sql AS "
                     "$$ SELECT d + 1 $$",
                     "CREATE FUNCTION qCount() RETURNS TABLE(n bigint) LANGUAGE sql AS "
                     "$$ SELECT count(*) FROM t $$",
                     "CREATE FUNCTION qNext(b bigint) RETURNS TABLE(n bigint) LANGUAGE sql AS "
                     "$$ SELECT b + 1 $$"}),
            "");
  EXPECT_EQ(dal_.ReadValue("EXEC qDay '05 Mar 2004'"), Variant(DateTime{2004, 3, 6, 0, 0, 0}))
      << dal_.LastError();
  EXPECT_EQ(dal_.ReadValue("EXEC qCount"), Variant(int64_t{2})) << dal_.LastError();
  EXPECT_EQ(dal_.ReadValue("{CALL qCount}"), Variant(int64_t{2})) << dal_.LastError();
  // Whole numbers go as 32-bit integers where they fit, which widen to a bigint parameter.
  EXPECT_EQ(dal_.ReadValue("EXEC qNext 41"), Variant(int64_t{42})) << dal_.LastError();
  EXPECT_EQ(dal_.ReadValue("EXEC qNext 5000000000"), Variant(int64_t{5000000001}))
      << dal_.LastError();
}

TEST(OdbcConnectTest, FailuresEndInFalseWithTheReason) {
  std::string error;
  const std::string server = testing_support::PostgresServerConnection(error);
  ASSERT_FALSE(server.empty()) << error;
  struct Case {
    std::string connection;
    std::string errorPart;
  } cases[] = {
      {"Driver={No Such Driver};Server=127.0.0.1", "No Such Driver"},
      {"DSN=kivdb_nowhere", "IM002"},
      {testing_support::WithSetting(server, "Pwd", "wrong"), "password"},
      {testing_support::WithSetting(server, "Database", "kivdb_none"), "kivdb_none"},
      {testing_support::WithSetting(server, "Port", "1"), "Cannot connect"},
      {"Driver={PostgreSQL Unicode};Server=127.0.0.1;Pwd={unclosed", "brace"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.connection);
    DAL dal;
    dal.ConnectionString(c.connection);
    EXPECT_FALSE(dal.IsConnected());
    EXPECT_NE(dal.LastError().find(c.errorPart), std::string::npos) << dal.LastError();
    std::shared_ptr<Recordset> rs;
    EXPECT_FALSE(dal.ReadRecordset("SELECT 1", rs));
    EXPECT_EQ(rs, nullptr);
    EXPECT_FALSE(dal.ExecSQL("SELECT 1"));
    EXPECT_FALSE(dal.TransBegin());
    EXPECT_TRUE(dal.ReadValue("SELECT 1").IsEmpty());
  }
}

TEST(OdbcConnectTest, BracedValuesMayHoldSemicolonsAndBraces) {
  std::string error;
  const std::string server = testing_support::PostgresServerConnection(error);
  ASSERT_FALSE(server.empty()) << error;
  const std::string role = "kivdb_brace_" + std::to_string(::getpid());
  DAL admin;
  admin.ConnectionString(server);
  ASSERT_TRUE(admin.ExecSQL("CREATE ROLE " + role + " LOGIN PASSWORD 'a;b}c'"))
      << admin.LastError();
  DAL dal;
  dal.ConnectionString(testing_support::WithSetting(
      testing_support::WithSetting(server, "Uid", role), "Pwd", "{a;b}}c}"));
  EXPECT_TRUE(dal.IsConnected()) << dal.LastError();
  EXPECT_TRUE(admin.ExecSQL("DROP ROLE " + role)) << admin.LastError();
}

// --- Values of any length, on both engines ------------------------------------------------------

class LongValuesTest : public testing_support::DatabaseTest {};

TEST_P(LongValuesTest, ArriveWholeBothWays) {
  Create({Sql("CREATE TABLE big(id INTEGER PRIMARY KEY, t TEXT, b BLOB)",
              "CREATE TABLE big(id integer PRIMARY KEY, t text, b bytea)")});
  DAL dal;
  dal.ConnectionString(db().ConnectionString());
  std::string text;
  for (int i = 0; text.size() < 1500000; ++i) text += "line " + std::to_string(i) + " ✓\r\n";
  std::vector<uint8_t> bytes(3 << 20);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + (i >> 12));

  std::shared_ptr<Recordset> rs;
  ASSERT_TRUE(dal.GetRecordset("SELECT id, t, b FROM big", rs)) << dal.LastError();
  rs->AddNew();
  rs->Fields("id").SetValue(int32_t{1});
  rs->Fields("t").SetValue(text);
  rs->Fields("b").SetValue(Variant::Binary(bytes));
  ASSERT_TRUE(dal.PutRecordset(rs)) << dal.LastError();

  ASSERT_TRUE(dal.ReadRecordset("SELECT id, t, b FROM big", rs)) << dal.LastError();
  ASSERT_EQ(rs->RecordCount(), 1);
  EXPECT_EQ(rs->Value(1).AsText()->size(), text.size());
  EXPECT_TRUE(rs->Value(1) == Variant(text));
  ASSERT_NE(rs->Value(2).AsBinary(), nullptr);
  EXPECT_EQ(rs->Value(2).AsBinary()->size(), bytes.size());
  EXPECT_TRUE(*rs->Value(2).AsBinary() == bytes);
  // The database holds the bytes as written, not a shortened or re-encoded copy.
  EXPECT_EQ(dal.ReadValue(Sql("SELECT length(CAST(t AS BLOB)) FROM big",
                              "SELECT octet_length(t) FROM big"))
                .ToText(),
            std::to_string(text.size()));
}

KIVDB_ON_BOTH_ENGINES(LongValuesTest);

}  // namespace
}  // namespace kivdb
