// What EXEC means on SQLite files: saved queries of table XSP and tables read whole. What both
// engines share is in dal_exec_test.cpp.
#include <gtest/gtest.h>

#include <kivdb/dal.h>
#include "control/data/row_sink.h"
#include "temp_database.h"

namespace kivdb {
namespace {

using testing_support::CreateDatabase;
using testing_support::SqliteConnectionString;
using testing_support::TempFolder;

class ExecTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = folder_.File("exec.db");
    CreateDatabase(
        path_,
        "CREATE TABLE XSP(nameIs TEXT PRIMARY KEY COLLATE NOCASE, sqlIs TEXT);"
        "CREATE TABLE Customers(id INTEGER PRIMARY KEY, name TEXT, city TEXT);"
        "CREATE TABLE x(v INT); INSERT INTO x VALUES (1);"
        "CREATE VIEW vCities AS SELECT DISTINCT city FROM Customers ORDER BY city;"
        "INSERT INTO Customers(name, city) VALUES ('Ann', 'Oslo'), ('O''Hara', 'Cork'), "
        "  ('Ben', NULL);"
        "INSERT INTO XSP VALUES ('qByCity', 'SELECT name FROM Customers WHERE city = ?1 ORDER BY "
        "id');"
        "INSERT INTO XSP VALUES ('qEcho', 'SELECT ?1 AS a, typeof(?1) AS ta, ?2 AS b, typeof(?2) "
        "AS tb');"
        "INSERT INTO XSP VALUES ('qByName', 'SELECT id FROM Customers WHERE name = ?1');"
        "INSERT INTO XSP VALUES ('qMove', 'UPDATE Customers SET city = ?2 WHERE id = ?1; "
        "  INSERT INTO x VALUES (?1); SELECT count(*) AS n FROM x; SELECT city FROM Customers "
        "  WHERE id = ?1');"
        "INSERT INTO XSP VALUES ('qHalf', 'INSERT INTO x VALUES (2); INSERT INTO nowhere VALUES "
        "(1)');"
        "INSERT INTO XSP VALUES ('qEmpty', '  ');");
    dal_.ConnectionString(SqliteConnectionString(path_));
  }

  std::vector<std::string> Column(const std::string& command, int position = 0) {
    std::shared_ptr<Recordset> rs;
    EXPECT_TRUE(dal_.ReadRecordset(command, rs)) << command << ": " << dal_.LastError();
    std::vector<std::string> values;
    if (!rs) return values;
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
      values.push_back(rs->Value(position).ToText());
    return values;
  }

  TempFolder folder_;
  std::string path_;
  DAL dal_;
};

TEST_F(ExecTest, BindsArgumentsByKind) {
  struct Case {
    const char* arguments;
    std::vector<std::string> row;  // a, typeof(a), b, typeof(b)
  } cases[] = {
      {"7, 'x'", {"7", "integer", "x", "text"}},
      {"-2.5, NULL", {"-2.5", "real", "", "null"}},
      {"'O''Hara', bare words", {"O'Hara", "text", "bare words", "text"}},
      {"'', '7'", {"", "text", "7", "text"}},
      {"'a,b', 3,", {"a,b", "text", "3", "integer"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    std::shared_ptr<Recordset> rs;
    ASSERT_TRUE(dal_.ReadRecordset(std::string("EXEC qEcho ") + c.arguments, rs))
        << dal_.LastError();
    std::vector<std::string> row;
    for (int i = 0; i < 4; ++i) row.push_back(rs->Value(i).ToText());
    EXPECT_EQ(row, c.row);
  }
}

TEST_F(ExecTest, TableOrViewIsReadWholeWithoutArguments) {
  EXPECT_EQ(Column("EXEC customers ", 1), (std::vector<std::string>{"Ann", "O'Hara", "Ben"}));
  EXPECT_EQ(Column("EXEC vCities"), (std::vector<std::string>{"", "Cork", "Oslo"}));
}

TEST_F(ExecTest, FailuresAreReported) {
  struct Case {
    const char* command;
    const char* errorPart;
  } cases[] = {
      {"EXEC Customers 1", "No saved query named Customers"},
      {"EXEC nothing", "No saved query, table or view named nothing"},
      {"EXEC qByCity", "needs 1 argument"},
      {"EXEC qByCity 'Oslo', 2", "Too many arguments"},
      {"EXEC qByCity 'Oslo", "Unclosed quote"},
      {"EXEC qEmpty", "empty"},
      {"EXEC", "without a name"},
      {"SELECT * FROM nowhere", "no such table"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    std::shared_ptr<Recordset> rs;
    EXPECT_FALSE(dal_.ReadRecordset(c.command, rs));
    EXPECT_EQ(rs, nullptr);
    EXPECT_NE(dal_.LastError().find(c.errorPart), std::string::npos) << dal_.LastError();
  }
}

TEST_F(ExecTest, FailingActionQueryChangesNothing) {
  EXPECT_FALSE(dal_.ExecSQL("EXEC qHalf"));
  EXPECT_NE(dal_.LastError().find("qHalf"), std::string::npos);
  EXPECT_EQ(dal_.ReadValue("SELECT count(*) FROM x"), Variant(int64_t{1}));
}

TEST_F(ExecTest, ActionQueryWithoutRowsGivesAnEmptyRecordset) {
  ASSERT_TRUE(dal_.ExecSQL("INSERT INTO XSP VALUES ('qAdd', 'INSERT INTO x VALUES (?1)')"));
  std::shared_ptr<Recordset> rs;
  ASSERT_TRUE(dal_.ReadRecordset("EXEC qAdd 5", rs)) << dal_.LastError();
  EXPECT_EQ(rs->FieldCount(), 0);
  EXPECT_EQ(rs->RecordCount(), 0);
  EXPECT_TRUE(rs->Eof());
  EXPECT_EQ(dal_.ReadValue("SELECT max(v) FROM x"), Variant(int64_t{5}));
}

TEST_F(ExecTest, WorksWithoutAnXspTable) {
  ASSERT_TRUE(dal_.ExecSQL("DROP TABLE XSP"));
  EXPECT_EQ(Column("EXEC x"), (std::vector<std::string>{"1"}));
  std::shared_ptr<Recordset> rs;
  EXPECT_FALSE(dal_.ReadRecordset("EXEC qByCity 'Oslo'", rs));
}

// A sink that narrows the fields it reads as the records pass: every field for the first two,
// only the third for the next two, none after that. Each record is logged as its values' texts,
// "-" for an Empty one.
class NarrowingSink final : public RowSink {
 public:
  bool Begin(const std::vector<FieldInfo>&) override { return true; }
  bool Row(const Variant* values, size_t count) override {
    std::string line;
    for (size_t i = 0; i < count; ++i)
      line += (i ? "," : "") + (values[i].IsEmpty() ? "-" : values[i].ToText());
    rows.push_back(line);
    return true;
  }
  const std::vector<size_t>* FieldsNeeded() const override {
    static const std::vector<size_t> kThird{2};
    static const std::vector<size_t> kNone;
    if (rows.size() < 2) return nullptr;
    return rows.size() < 4 ? &kThird : &kNone;
  }
  std::vector<std::string> rows;
};

TEST_F(ExecTest, ForwardReadsLeaveOutTheFieldsASinkNoLongerReads) {
  CreateDatabase(
      folder_.File("narrow.db"),
      "CREATE TABLE t(a INTEGER, b TEXT, c DOUBLE);"
      "INSERT INTO t VALUES (1,'x',0.5),(2,'y',1.5),(3,'z',2.5),(4,NULL,3.5),(5,'w',4.5);");
  const std::vector<std::string> expected = {"1,x,0.5", "2,y,1.5", "-,-,2.5", "-,-,3.5", "-,-,-"};
  DAL dal;
  dal.ConnectionString(SqliteConnectionString(folder_.File("narrow.db")));
  NarrowingSink stepped;
  ASSERT_TRUE(ReadForward(dal, "SELECT a, b, c FROM t ORDER BY a", stepped)) << dal.LastError();
  EXPECT_EQ(stepped.rows, expected);

  std::shared_ptr<Recordset> whole;
  ASSERT_TRUE(dal.ReadRecordset("SELECT a, b, c FROM t ORDER BY a", whole));
  NarrowingSink fed;
  EXPECT_TRUE(FeedRecordset(*whole, fed));
  EXPECT_EQ(fed.rows, expected);
}

}  // namespace
}  // namespace kivdb
