// DAL's QueryTimeout on both engines: a deliberately slow command is stopped and fails with the
// timeout message, and the DAL stays usable.
#include <gtest/gtest.h>

#include <kivdb/dal.h>
#include "tests/control/data/test_database.h"

namespace kivdb {
namespace {

// Counts far beyond what a second allows on SQLite; sleeps on PostgreSQL.
constexpr const char* kSlowSqlite =
    "WITH RECURSIVE c(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM c WHERE n < 100000000000) "
    "SELECT count(*) AS total FROM c";
constexpr const char* kSlowPostgres = "SELECT pg_sleep(60) AS total";

class DalTimeoutTest : public testing_support::DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    if (HasFatalFailure()) return;
    Create({"CREATE TABLE t(v INT)", "INSERT INTO t VALUES (1)"});
    if (IsPostgres()) {
      Create(
          {"CREATE FUNCTION slow_insert(x integer) RETURNS TABLE(total integer) LANGUAGE sql AS "
           "$$ INSERT INTO t VALUES (x); SELECT 1 FROM pg_sleep(60) $$"});
    } else {
      Create({"CREATE TABLE XSP(nameIs TEXT PRIMARY KEY COLLATE NOCASE, sqlIs TEXT)",
              std::string("INSERT INTO XSP VALUES ('slow_insert', 'INSERT INTO t VALUES (?1); ") +
                  kSlowSqlite + "')"});
    }
    dal_.ConnectionString(db().ConnectionString());
  }
  const char* Slow() const { return Sql(kSlowSqlite, kSlowPostgres); }
  DAL dal_;
};

TEST_P(DalTimeoutTest, SlowReadStopsWithTheTimeoutMessageAndTheDalGoesOn) {
  dal_.QueryTimeout(1);
  std::shared_ptr<Recordset> rs;
  EXPECT_FALSE(dal_.ReadRecordset(Slow(), rs));
  EXPECT_EQ(rs, nullptr);
  EXPECT_EQ(dal_.LastError(), "The query timed out after 1 s");

  ASSERT_TRUE(dal_.ReadRecordset("SELECT v FROM t", rs)) << dal_.LastError();
  EXPECT_EQ(rs->RecordCount(), 1);
  EXPECT_TRUE(dal_.ReadValue(Slow()).IsEmpty());
  EXPECT_EQ(dal_.LastError(), "The query timed out after 1 s");
  EXPECT_FALSE(dal_.ExecSQL(Slow()));
  EXPECT_EQ(dal_.LastError(), "The query timed out after 1 s");
}

TEST_P(DalTimeoutTest, SavedQueryStoppedHalfwayLeavesNoChange) {
  dal_.QueryTimeout(1);
  std::shared_ptr<Recordset> rs;
  EXPECT_FALSE(dal_.ReadRecordset("EXEC slow_insert 7", rs));
  EXPECT_EQ(dal_.LastError(), "The query timed out after 1 s");
  EXPECT_EQ(dal_.ReadValue("SELECT count(*) FROM t").AsInteger(), 1);
}

TEST_P(DalTimeoutTest, LimitSetInsideATransactionHoldsThere) {
  ASSERT_TRUE(dal_.TransBegin());
  ASSERT_TRUE(dal_.ExecSQL("INSERT INTO t VALUES (2)"));
  dal_.QueryTimeout(1);
  EXPECT_FALSE(dal_.ExecSQL(Slow()));
  EXPECT_EQ(dal_.LastError(), "The query timed out after 1 s");
  EXPECT_TRUE(dal_.TransRollback()) << dal_.LastError();
  EXPECT_EQ(dal_.ReadValue("SELECT count(*) FROM t").AsInteger(), 1);
}

TEST_P(DalTimeoutTest, NoLimitLetsAQuickCommandThroughAndNegativeMeansNone) {
  dal_.QueryTimeout(-5);
  EXPECT_EQ(dal_.QueryTimeout(), 0);
  dal_.QueryTimeout(30);
  EXPECT_EQ(dal_.QueryTimeout(), 30);
  std::shared_ptr<Recordset> rs;
  ASSERT_TRUE(dal_.ReadRecordset(
      "WITH RECURSIVE c(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM c WHERE n < 50000) "
      "SELECT count(*) AS total FROM c",
      rs))
      << dal_.LastError();
  EXPECT_EQ(rs->Fields("total").Value().AsInteger(), 50000);
}

KIVDB_ON_BOTH_ENGINES(DalTimeoutTest);

}  // namespace
}  // namespace kivdb
