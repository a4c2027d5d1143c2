// DAL's connection lifecycle and transactions on real databases, SQLite and PostgreSQL alike.
#include <gtest/gtest.h>

#include <kivdb/dal.h>
#include "tests/control/data/test_database.h"

namespace kivdb {
namespace {

class DalTransactionTest : public testing_support::DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    if (HasFatalFailure()) return;
    Create({Sql("CREATE TABLE t(id INTEGER PRIMARY KEY, name TEXT)",
                "CREATE TABLE t(id serial PRIMARY KEY, name text)"),
            "INSERT INTO t(name) VALUES ('a'), ('b')"});
    dal_.ConnectionString(db().ConnectionString());
  }

  // The names in t, in key order, joined by commas.
  std::string Names(DAL& dal) {
    std::shared_ptr<Recordset> rs;
    EXPECT_TRUE(dal.ReadRecordset("SELECT name FROM t ORDER BY id", rs)) << dal.LastError();
    std::string names;
    if (!rs) return names;
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
      names += (names.empty() ? "" : ",") + rs->Value(0).ToText();
    }
    return names;
  }
  std::string Names() { return Names(dal_); }

  DAL dal_;
};

TEST_P(DalTransactionTest, RollbackUndoesTwoExecSql) {
  ASSERT_TRUE(dal_.TransBegin()) << dal_.LastError();
  ASSERT_TRUE(dal_.ExecSQL("INSERT INTO t(name) VALUES ('c')")) << dal_.LastError();
  ASSERT_TRUE(dal_.ExecSQL("DELETE FROM t WHERE name = 'a'")) << dal_.LastError();
  EXPECT_EQ(dal_.ReadValue("SELECT count(*) FROM t"), Variant(int64_t{2}));
  EXPECT_EQ(Names(), "b,c");
  // Another user does not see the uncommitted work.
  DAL other;
  other.ConnectionString(db().ConnectionString());
  if (IsPostgres()) {
    EXPECT_EQ(Names(other), "a,b");
  }
  ASSERT_TRUE(dal_.TransRollback()) << dal_.LastError();
  EXPECT_FALSE(dal_.IsInTransaction());
  EXPECT_EQ(Names(), "a,b");
}

TEST_P(DalTransactionTest, CommitKeepsBothExecSql) {
  ASSERT_TRUE(dal_.TransBegin());
  EXPECT_TRUE(dal_.IsInTransaction());
  ASSERT_TRUE(dal_.ExecSQL("INSERT INTO t(name) VALUES ('c')"));
  ASSERT_TRUE(dal_.IsConnected());  // must not end the transaction
  ASSERT_TRUE(dal_.ExecSQL("INSERT INTO t(name) VALUES ('d')"));
  ASSERT_TRUE(dal_.TransCommit()) << dal_.LastError();
  EXPECT_FALSE(dal_.IsInTransaction());
  EXPECT_EQ(Names(), "a,b,c,d");
  // Back to autocommit: work after the transaction stays without a commit of its own.
  ASSERT_TRUE(dal_.ExecSQL("INSERT INTO t(name) VALUES ('e')"));
  DAL other;
  other.ConnectionString(db().ConnectionString());
  EXPECT_EQ(Names(other), "a,b,c,d,e");
}

TEST_P(DalTransactionTest, ObjectEndingInsideTransactionRollsBack) {
  {
    DAL other;
    other.ConnectionString(db().ConnectionString());
    ASSERT_TRUE(other.TransBegin());
    ASSERT_TRUE(other.ExecSQL("DELETE FROM t"));
  }
  EXPECT_EQ(dal_.ReadValue("SELECT count(*) FROM t"), Variant(int64_t{2}));
}

TEST_P(DalTransactionTest, FailedStatementLeavesNoConnectionForReads) {
  std::shared_ptr<Recordset> rs;
  EXPECT_FALSE(dal_.ReadRecordset("SELECT * FROM nowhere", rs));
  EXPECT_EQ(rs, nullptr);
  EXPECT_FALSE(dal_.LastError().empty());
  EXPECT_TRUE(dal_.ReadRecordset("SELECT * FROM t", rs)) << dal_.LastError();
  ASSERT_NE(rs, nullptr);
  EXPECT_EQ(rs->RecordCount(), 2);
  EXPECT_TRUE(dal_.ReadValue("SELECT name FROM t WHERE id = 99").IsEmpty());
  EXPECT_TRUE(dal_.ReadValue("SELECT nothing FROM nowhere").IsEmpty());
  EXPECT_FALSE(dal_.LastError().empty());
}

TEST_P(DalTransactionTest, ExecSqlKeepsItsConnectionAndIsConnectedClosesIt) {
  ASSERT_TRUE(dal_.ExecSQL("UPDATE t SET name = 'z' WHERE id = 99"));  // touches no row
  EXPECT_FALSE(dal_.IsConnected());  // it found the connection of ExecSQL open and closed it
  EXPECT_TRUE(dal_.IsConnected());
  EXPECT_FALSE(dal_.ExecSQL("INSERT INTO nowhere VALUES (1)"));
  EXPECT_NE(dal_.LastError().find("nowhere"), std::string::npos) << dal_.LastError();
}

TEST_P(DalTransactionTest, CommandOfSeveralStatementsRunsWhole) {
  ASSERT_TRUE(dal_.ExecSQL("INSERT INTO t(name) VALUES ('c'); INSERT INTO t(name) VALUES ('d')"))
      << dal_.LastError();
  EXPECT_EQ(Names(), "a,b,c,d");
  // A first statement that touches no row does not end the command.
  ASSERT_TRUE(dal_.ExecSQL("DELETE FROM t WHERE id = 99; DELETE FROM t WHERE name = 'd'"))
      << dal_.LastError();
  EXPECT_EQ(Names(), "a,b,c");
  EXPECT_FALSE(dal_.ExecSQL("DELETE FROM t WHERE id = 99; INSERT INTO nowhere VALUES (1)"));
  std::shared_ptr<Recordset> rs;
  ASSERT_TRUE(
      dal_.ReadRecordset("UPDATE t SET name = 'A' WHERE name = 'a'; SELECT name FROM t "
                         "WHERE id = 1",
                         rs))
      << dal_.LastError();
  ASSERT_EQ(rs->RecordCount(), 1);
  EXPECT_EQ(rs->Value(0), Variant("A"));
}

KIVDB_ON_BOTH_ENGINES(DalTransactionTest);

}  // namespace
}  // namespace kivdb
