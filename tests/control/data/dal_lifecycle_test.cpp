// DAL's connection lifecycle, observed through a provider that counts its connections and fails
// on demand, and then on real SQLite files.
#include <gtest/gtest.h>

#include <fstream>

#include <kivdb/dal.h>
#include "control/data/connection.h"
#include "control/data/dal_access.h"
#include "temp_database.h"

namespace kivdb {
namespace {

using testing_support::CreateDatabase;
using testing_support::SqliteConnectionString;
using testing_support::TempFolder;

struct ProviderLog {
  int opened = 0;
  int open = 0;  // connections alive now
  bool refuseOpen = false;
  std::vector<std::string> calls;  // "<connection number>:<operation>"
};

class FakeConnection : public Connection {
 public:
  FakeConnection(ProviderLog& log) : log_(log), number_(++log.opened) { ++log_.open; }
  ~FakeConnection() override { --log_.open; }

  bool Execute(const std::string& command, std::string& error) override {
    return Record("exec " + command, command, error);
  }
  bool Query(const std::string& command, bool, Recordset& out, std::string& error) override {
    if (!Record("query " + command, command, error)) return false;
    out.AppendField("v", 3);
    if (command != "none") out.AddRow({int32_t{42}});
    return true;
  }
  bool BeginTransaction(std::string& error) override { return Record("begin", "", error); }
  bool Commit(std::string& error) override { return Record("commit", "", error); }
  bool Rollback(std::string& error) override { return Record("rollback", "", error); }
  bool ApplyBatch(Recordset&, std::string& error) override { return Record("batch", "", error); }
  void SetQueryTimeout(int seconds) override {
    std::string ignored;
    Record("timeout " + std::to_string(seconds), "", ignored);
  }

 private:
  bool Record(const std::string& call, const std::string& command, std::string& error) {
    log_.calls.push_back(std::to_string(number_) + ":" + call);
    if (command == "bad") {
      error = "syntax error";
      return false;
    }
    return true;
  }
  ProviderLog& log_;
  int number_;
};

class DalLifecycleTest : public ::testing::Test {
 protected:
  DalLifecycleTest() {
    DalAccess::UseFactory(
        dal_, [this](const std::string&, std::string& error) -> std::unique_ptr<Connection> {
          if (log_.refuseOpen) {
            error = "refused";
            return nullptr;
          }
          return std::make_unique<FakeConnection>(log_);
        });
  }
  ProviderLog log_;
  DAL dal_;
};

TEST_F(DalLifecycleTest, EveryConnectionGetsTheQueryTimeoutBeforeItsFirstCommand) {
  std::shared_ptr<Recordset> rs;
  dal_.QueryTimeout(3);
  EXPECT_TRUE(dal_.ReadRecordset("a", rs));
  ASSERT_TRUE(dal_.TransBegin());
  dal_.QueryTimeout(0);  // reaches the transaction's open connection at once
  EXPECT_TRUE(dal_.ExecSQL("b"));
  EXPECT_TRUE(dal_.TransCommit());
  EXPECT_EQ(log_.calls,
            (std::vector<std::string>{"1:timeout 3", "1:query a", "2:timeout 3", "2:begin",
                                      "2:timeout 0", "2:exec b", "2:commit"}));
}

TEST_F(DalLifecycleTest, FailedReadLeavesNoConnectionBehind) {
  std::shared_ptr<Recordset> rs = std::make_shared<Recordset>();
  EXPECT_FALSE(dal_.ReadRecordset("bad", rs));
  EXPECT_EQ(rs, nullptr);
  EXPECT_EQ(dal_.LastError(), "syntax error");
  EXPECT_EQ(log_.open, 0);
  EXPECT_TRUE(dal_.ReadRecordset("good", rs));
  ASSERT_NE(rs, nullptr);
  EXPECT_EQ(rs->RecordCount(), 1);
  EXPECT_EQ(dal_.LastError(), "");
  EXPECT_EQ(log_.opened, 2);
  EXPECT_EQ(log_.open, 0);
}

TEST_F(DalLifecycleTest, RefusedOpenFailsEveryCallAndRetriesNextTime) {
  log_.refuseOpen = true;
  std::shared_ptr<Recordset> rs;
  EXPECT_FALSE(dal_.ReadRecordset("good", rs));
  EXPECT_FALSE(dal_.ExecSQL("good"));
  EXPECT_FALSE(dal_.TransBegin());
  EXPECT_FALSE(dal_.IsInTransaction());
  EXPECT_FALSE(dal_.IsConnected());
  EXPECT_TRUE(dal_.ReadValue("good").IsEmpty());
  EXPECT_EQ(dal_.LastError(), "refused");
  log_.refuseOpen = false;
  EXPECT_TRUE(dal_.IsConnected());
  EXPECT_EQ(log_.open, 0);
}

TEST_F(DalLifecycleTest, TransactionWorkSharesOneConnection) {
  EXPECT_FALSE(dal_.IsInTransaction());
  ASSERT_TRUE(dal_.TransBegin());
  EXPECT_TRUE(dal_.IsInTransaction());
  EXPECT_TRUE(dal_.ExecSQL("a"));
  EXPECT_TRUE(dal_.ExecSQL("b"));
  // Reads inside the transaction use its connection and leave it open.
  std::shared_ptr<Recordset> rs;
  EXPECT_TRUE(dal_.ReadRecordset("c", rs));
  EXPECT_EQ(dal_.ReadValue("d"), Variant(int32_t{42}));
  EXPECT_TRUE(dal_.IsConnected());
  EXPECT_FALSE(dal_.ReadRecordset("bad", rs));
  EXPECT_EQ(log_.open, 1);
  ASSERT_TRUE(dal_.TransRollback());
  EXPECT_FALSE(dal_.IsInTransaction());
  EXPECT_EQ(log_.open, 0);
  EXPECT_EQ(log_.calls, (std::vector<std::string>{"1:begin", "1:exec a", "1:exec b", "1:query c",
                                                  "1:query d", "1:query bad", "1:rollback"}));
}

TEST_F(DalLifecycleTest, SecondTransBeginKeepsTheFirstTransaction) {
  ASSERT_TRUE(dal_.TransBegin());
  EXPECT_FALSE(dal_.TransBegin());
  EXPECT_TRUE(dal_.IsInTransaction());
  EXPECT_TRUE(dal_.TransCommit());
  EXPECT_FALSE(dal_.IsInTransaction());
  EXPECT_EQ(log_.calls, (std::vector<std::string>{"1:begin", "1:commit"}));
}

TEST_F(DalLifecycleTest, CommitWithoutTransactionFails) {
  EXPECT_FALSE(dal_.TransCommit());
  EXPECT_FALSE(dal_.TransRollback());
  EXPECT_EQ(log_.opened, 0);
}

TEST_F(DalLifecycleTest, ExecSqlLeavesItsConnectionOpenAndIsConnectedClosesIt) {
  EXPECT_TRUE(dal_.ExecSQL("a"));
  EXPECT_EQ(log_.open, 1);
  EXPECT_FALSE(dal_.ExecSQL("bad"));  // a failure keeps it too
  EXPECT_EQ(log_.open, 1);
  EXPECT_FALSE(dal_.IsConnected());
  EXPECT_EQ(log_.open, 0);
  EXPECT_TRUE(dal_.IsConnected());
  EXPECT_EQ(log_.opened, 2);
}

TEST_F(DalLifecycleTest, ReadAfterExecSqlUsesAndClosesTheHeldConnection) {
  EXPECT_TRUE(dal_.ExecSQL("a"));
  EXPECT_EQ(dal_.ReadValue("b"), Variant(int32_t{42}));
  EXPECT_EQ(log_.open, 0);
  EXPECT_EQ(log_.calls, (std::vector<std::string>{"1:exec a", "1:query b"}));
}

TEST_F(DalLifecycleTest, ReadValueOnNoRecordsIsEmpty) {
  EXPECT_TRUE(dal_.ReadValue("none").IsEmpty());
  EXPECT_EQ(dal_.LastError(), "");
  EXPECT_TRUE(dal_.ReadValue("bad").IsEmpty());
  EXPECT_EQ(dal_.LastError(), "syntax error");
}

TEST_F(DalLifecycleTest, PutRecordsetKeepsItsConnectionOpen) {
  std::shared_ptr<Recordset> rs;
  ASSERT_TRUE(dal_.GetRecordset("a", rs));
  EXPECT_EQ(log_.open, 0);
  EXPECT_TRUE(dal_.PutRecordset(rs));
  EXPECT_EQ(log_.open, 1);
  std::shared_ptr<Recordset> none;
  EXPECT_FALSE(dal_.PutRecordset(none));
}

TEST_F(DalLifecycleTest, EndingTheObjectClosesItsConnection) {
  {
    DAL dal;
    DalAccess::UseFactory(dal,
                          [this](const std::string&, std::string&) -> std::unique_ptr<Connection> {
                            return std::make_unique<FakeConnection>(log_);
                          });
    ASSERT_TRUE(dal.TransBegin());
    EXPECT_EQ(log_.open, 1);
  }
  EXPECT_EQ(log_.open, 0);
}

// --- The same lifecycle on real files ---------------------------------------------------------

class DalSqliteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = folder_.File("life.db");
    CreateDatabase(path_,
                   "CREATE TABLE t(id INTEGER PRIMARY KEY, name TEXT);"
                   "INSERT INTO t(name) VALUES ('a'), ('b');");
    dal_.ConnectionString(SqliteConnectionString(path_));
  }
  TempFolder folder_;
  std::string path_;
  DAL dal_;
};

// Transactions on real databases are in dal_transaction_test.cpp, on both engines.

TEST_F(DalSqliteTest, OpeningFailuresAreReportedNotCreated) {
  struct Case {
    std::string connection;
    std::string errorPart;
  } cases[] = {
      {SqliteConnectionString(folder_.File("missing.db")), "not found"},
      {"", "No connection string"},
      {"Driver={No Such Driver};Server=localhost", "ODBC"},
      {"Provider=Paper;Data Source=x", "Unknown provider"},
      {"Provider=SQLite", "Data Source"},
      {SqliteConnectionString(path_, "Mode=Sideways"), "Mode"},
      {"Provider=SQLite;Data Source=\"unclosed", "quote"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.connection);
    DAL dal;
    dal.ConnectionString(c.connection);
    std::shared_ptr<Recordset> rs;
    EXPECT_FALSE(dal.ReadRecordset("SELECT 1", rs));
    EXPECT_NE(dal.LastError().find(c.errorPart), std::string::npos) << dal.LastError();
    EXPECT_FALSE(dal.IsConnected());
  }
  EXPECT_FALSE(std::filesystem::exists(folder_.File("missing.db")));
}

TEST_F(DalSqliteTest, CreateModeMakesANewFile) {
  DAL dal;
  dal.ConnectionString(SqliteConnectionString(folder_.File("new.db"), "mode=readwritecreate"));
  EXPECT_TRUE(dal.IsConnected()) << dal.LastError();
  EXPECT_TRUE(std::filesystem::exists(folder_.File("new.db")));
}

TEST_F(DalSqliteTest, FileThatIsNoDatabaseFails) {
  const std::string junk = folder_.File("junk.db");
  {
    std::ofstream out(junk);
    out << "this is not a database, just some text long enough to have a header......";
  }
  DAL dal;
  dal.ConnectionString(SqliteConnectionString(junk));
  EXPECT_FALSE(dal.IsConnected());
  EXPECT_NE(dal.LastError().find("not a database"), std::string::npos) << dal.LastError();
}

TEST_F(DalSqliteTest, LockedDatabaseFailsCleanly) {
  DAL holder;
  holder.ConnectionString(SqliteConnectionString(path_));
  ASSERT_TRUE(holder.TransBegin());
  ASSERT_TRUE(holder.ExecSQL("UPDATE t SET name = 'held'"));
  DAL dal;
  dal.ConnectionString(SqliteConnectionString(path_, "Busy Timeout=0"));
  EXPECT_FALSE(dal.ExecSQL("UPDATE t SET name = 'mine'"));
  EXPECT_NE(dal.LastError().find("locked"), std::string::npos) << dal.LastError();
  ASSERT_TRUE(holder.TransRollback());
  EXPECT_TRUE(dal.ExecSQL("UPDATE t SET name = 'mine'")) << dal.LastError();
}

TEST_F(DalSqliteTest, ReadOnlyModeRefusesWrites) {
  DAL dal;
  dal.ConnectionString(SqliteConnectionString(path_, "Mode=ReadOnly"));
  EXPECT_EQ(dal.ReadValue("SELECT count(*) FROM t"), Variant(int64_t{2}));
  EXPECT_FALSE(dal.ExecSQL("DELETE FROM t"));
  EXPECT_NE(dal.LastError().find("readonly"), std::string::npos) << dal.LastError();
}

}  // namespace
}  // namespace kivdb
