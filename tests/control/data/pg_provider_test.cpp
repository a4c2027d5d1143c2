// The native PostgreSQL provider on the test server: type codes as the ODBC provider gives them
// for the same columns and values read exactly, EXEC as function or procedure, a forward-only read
// stopped early, a failed transaction that cannot be committed, and time limits that hold against
// a frozen backend and a frozen postmaster.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <fstream>

#include <kivdb/dal.h>
#include "control/data/row_sink.h"
#include "tests/control/data/test_database.h"

namespace kivdb {
namespace {

using testing_support::Engine;
using testing_support::TestDatabase;

class PgProviderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(db_.Ready()) << db_.Problem();
    dal_.ConnectionString(db_.ConnectionString());
  }

  TestDatabase db_{Engine::PostgresNative};
  DAL dal_;
};

TEST_F(PgProviderTest, TypeCodesMatchTheOdbcProviderAndValuesAreExact) {
  struct Case {
    const char* expression;
    int code;
    Variant value;
    int odbcCode = -1;  // where the ODBC provider differs (-1: the same)
  } cases[] = {
      {"1::int2", 2, int16_t{1}},
      {"2::int4", 3, int32_t{2}},
      {"5000000000::int8", 20, int64_t{5000000000}},
      {"0.5::float4", 4, 0.5f},
      {"0.1::float8", 5, 0.1},
      {"'NaN'::float8", 5, std::numeric_limits<double>::quiet_NaN()},
      {"'-Infinity'::float8", 5, -std::numeric_limits<double>::infinity()},
      {"12345678901234567890.123456789::numeric", 131,
       Variant::Decimal("12345678901234567890.123456789")},
      {"'NaN'::numeric", 131, "NaN"},
      // Money is currency here; the ODBC driver reports a double.
      {"'-1234.56'::money", 6, Currency{-12345600}, 5},
      {"true", 11, true},
      {"'2004-03-05'::date", 133, DateTime{2004, 3, 5, 0, 0, 0}},
      {"'infinity'::date", 133, "infinity"},
      {"'0044-03-15 BC'::date", 133, "0044-03-15 BC"},
      {"'12000-01-02'::date", 133, "12000-01-02"},
      {"'10:30:15.5'::time", 134, DateTime{1899, 12, 30, 10, 30, 15}},
      {"'2004-03-05 10:30:15.25'::timestamp", 135, DateTime{2004, 3, 5, 10, 30, 15}},
      {"'2004-03-05 10:30:15+00'::timestamptz", 135, DateTime{2004, 3, 5, 10, 30, 15}},
      {"'-infinity'::timestamp", 135, "-infinity"},
      {"'Zoë ✓'::text", 201, "Zoë ✓"},
      {"'abc'::varchar(10)", 200, "abc"},
      {"'x'::char(3)", 129, "x  "},
      {"'\\x0102ff'::bytea", 205, Variant::Binary({1, 2, 255})},
      {"'a0eebc99-9c0b-4ef8-bb6d-6bb9bd380a11'::uuid", 72, "a0eebc99-9c0b-4ef8-bb6d-6bb9bd380a11"},
      {"'1 day'::interval", 200, "1 day"},
      {"ARRAY[1, 2]", 200, "{1,2}"},
      {"'{\"a\": [1, 2]}'::jsonb", 200, "{\"a\": [1, 2]}"},
      {"NULL", 201, Variant::Null()},
  };
  std::string select = "SELECT ";
  for (size_t i = 0; i < std::size(cases); ++i)
    select += (i ? ", " : "") + std::string(cases[i].expression) + " AS c" + std::to_string(i);
  std::shared_ptr<Recordset> native;
  ASSERT_TRUE(dal_.ReadRecordset(select, native)) << dal_.LastError();
  std::string problem;
  DAL odbc;
  odbc.ConnectionString(testing_support::PostgresServerConnection(problem));
  std::shared_ptr<Recordset> viaOdbc;
  ASSERT_TRUE(odbc.ReadRecordset(select, viaOdbc)) << odbc.LastError() << problem;
  for (int i = 0; i < native->FieldCount(); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(c.expression);
    EXPECT_EQ(native->Fields(i).Type(), c.code);
    EXPECT_EQ(viaOdbc->Fields(i).Type(), c.odbcCode < 0 ? c.code : c.odbcCode);
    const Variant& value = native->Value(i);
    if (value.GetKind() == Variant::Kind::Double && std::isnan(*value.ToDouble())) {
      EXPECT_TRUE(c.value.ToDouble() && std::isnan(*c.value.ToDouble()));
    } else {
      EXPECT_EQ(value, c.value) << value.ToText();
    }
  }
}

TEST_F(PgProviderTest, ExecRunsFunctionsAndProceduresWithBoundArguments) {
  ASSERT_EQ(db_.Run({"CREATE TABLE log(v text)",
                     "CREATE FUNCTION \"Echo\"(n integer, s text) RETURNS TABLE(n2 integer, s2 "
                     "text) LANGUAGE sql AS $$ SELECT n * 2, s || '!' $$",
                     "CREATE PROCEDURE note(s text) LANGUAGE sql AS $$ INSERT INTO log "
                     "VALUES (s) $$"}),
            "");
  std::shared_ptr<Recordset> rs;
  ASSERT_TRUE(dal_.ReadRecordset("EXEC \"Echo\" 21, 'it''s; DROP TABLE log'", rs))
      << dal_.LastError();
  EXPECT_EQ(rs->Value(0), Variant(int32_t{42}));
  EXPECT_EQ(rs->Value(1), Variant("it's; DROP TABLE log!"));
  // Unquoted, the name folds to lower case and finds nothing.
  EXPECT_FALSE(dal_.ReadRecordset("EXEC Echo 1, 'a'", rs));
  ASSERT_TRUE(dal_.ExecSQL("EXEC note 'called'")) << dal_.LastError();
  ASSERT_TRUE(dal_.ExecSQL("EXEC note NULL")) << dal_.LastError();
  EXPECT_EQ(dal_.ReadValue("SELECT count(*) FROM log WHERE v = 'called'"), Variant(int64_t{1}));
  EXPECT_EQ(dal_.ReadValue("SELECT count(*) FROM log WHERE v IS NULL"), Variant(int64_t{1}));
}

struct CountingSink : RowSink {
  size_t rows = 0;
  size_t stopAfter = 3;
  bool Begin(const std::vector<FieldInfo>&) override { return true; }
  bool Row(const Variant*, size_t) override { return ++rows < stopAfter; }
};

TEST_F(PgProviderTest, ForwardReadStoppedEarlyLeavesTheConnectionAndTransactionUsable) {
  const std::string many = "SELECT g FROM generate_series(1, 1000000) g";
  for (const bool inTransaction : {false, true}) {
    SCOPED_TRACE(inTransaction ? "in a transaction" : "alone");
    ASSERT_EQ(db_.Run({"DROP TABLE IF EXISTS t", "CREATE TABLE t(v int)"}), "");
    if (inTransaction) {
      ASSERT_TRUE(dal_.TransBegin());
    }
    ASSERT_TRUE(dal_.ExecSQL("INSERT INTO t VALUES (1)"));
    CountingSink sink;
    ASSERT_TRUE(ReadForward(dal_, many, sink)) << dal_.LastError();
    EXPECT_EQ(sink.rows, 3u);
    ASSERT_TRUE(dal_.ExecSQL("INSERT INTO t VALUES (2)")) << dal_.LastError();
    if (inTransaction) {
      ASSERT_TRUE(dal_.TransCommit()) << dal_.LastError();
    }
    EXPECT_EQ(dal_.ReadValue("SELECT count(*) FROM t"), Variant(int64_t{2}));
  }
}

TEST_F(PgProviderTest, FailedTransactionIsNotReportedAsCommitted) {
  ASSERT_EQ(db_.Run({"CREATE TABLE t(v int)"}), "");
  ASSERT_TRUE(dal_.TransBegin());
  ASSERT_TRUE(dal_.ExecSQL("INSERT INTO t VALUES (1)"));
  EXPECT_FALSE(dal_.ExecSQL("INSERT INTO nowhere VALUES (1)"));
  EXPECT_FALSE(dal_.TransCommit());
  EXPECT_EQ(dal_.LastError(), "The transaction failed and was rolled back");
  EXPECT_EQ(dal_.ReadValue("SELECT count(*) FROM t"), Variant(int64_t{0}));
}

// Stops a server process for the time of a test, and lets it go on however the test ends.
class Frozen {
 public:
  explicit Frozen(long pid) : pid_(pid) { frozen_ = pid > 0 && ::kill(pid, SIGSTOP) == 0; }
  ~Frozen() {
    if (frozen_) ::kill(pid_, SIGCONT);
  }
  bool Ok() const { return frozen_; }

 private:
  long pid_;
  bool frozen_ = false;
};

TEST_F(PgProviderTest, TimeLimitHoldsAgainstAFrozenBackendAndAFrozenPostmaster) {
  // The test's own backend, and the postmaster (only frozen for the few seconds of one attempt).
  ASSERT_TRUE(dal_.TransBegin());
  const long backend = dal_.ReadValue("SELECT pg_backend_pid()").AsInteger().value_or(0);
  std::ifstream pidFile(dal_.ReadValue("SHOW data_directory").ToText() + "/postmaster.pid");
  long postmaster = 0;
  pidFile >> postmaster;
  ASSERT_GT(backend, 0);
  ASSERT_GT(postmaster, 0);

  for (const bool freezeBackend : {true, false}) {
    SCOPED_TRACE(freezeBackend ? "backend" : "postmaster");
    DAL fresh;
    fresh.ConnectionString(db_.ConnectionString());
    DAL& dal = freezeBackend ? dal_ : fresh;
    dal.QueryTimeout(2);
    const auto start = std::chrono::steady_clock::now();
    {
      Frozen frozen(freezeBackend ? backend : postmaster);
      ASSERT_TRUE(frozen.Ok());
      EXPECT_TRUE(dal.ReadValue("SELECT 1").IsEmpty());
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(dal.LastError(), "The query timed out after 2 s");
    EXPECT_LT(elapsed, std::chrono::milliseconds(3000));
    EXPECT_GE(elapsed, std::chrono::milliseconds(1900));
  }
  // The dropped connection took its transaction with it, and says so.
  EXPECT_FALSE(dal_.TransCommit());
  EXPECT_NE(dal_.LastError().find("rolled back"), std::string::npos) << dal_.LastError();
  EXPECT_EQ(dal_.ReadValue("SELECT 7"), Variant(int32_t{7})) << dal_.LastError();
}

}  // namespace
}  // namespace kivdb
