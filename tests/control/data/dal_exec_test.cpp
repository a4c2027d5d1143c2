// EXEC commands on both engines: a saved query of table XSP on SQLite, a function returning a
// table on PostgreSQL (reached through the ODBC call escape). The same commands give the same
// records.
#include <gtest/gtest.h>

#include <kivdb/dal.h>
#include "control/data/row_sink.h"
#include "tests/control/data/test_database.h"

namespace kivdb {
namespace {

class DalExecTest : public testing_support::DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    if (HasFatalFailure()) return;
    Create({Sql("CREATE TABLE Customers(id INTEGER PRIMARY KEY, name TEXT, city TEXT)",
                "CREATE TABLE Customers(id serial PRIMARY KEY, name text, city text)"),
            "CREATE TABLE x(v INT)", "INSERT INTO x VALUES (1)",
            "INSERT INTO Customers(name, city) VALUES ('Ann', 'Oslo'), ('O''Hara', 'Cork'), "
            "('Ben', NULL)"});
    if (!IsPostgres()) {
      Create({"CREATE TABLE XSP(nameIs TEXT PRIMARY KEY COLLATE NOCASE, sqlIs TEXT)"});
    }
    Save("qByCity", "SELECT name FROM Customers WHERE city = ?1 ORDER BY id",
         "(c text) RETURNS TABLE(name text) AS "
         "$$ SELECT name FROM Customers WHERE city = c ORDER BY id $$");
    Save("qByName", "SELECT id FROM Customers WHERE name = ?1",
         "(n text) RETURNS TABLE(id integer) AS $$ SELECT id FROM Customers WHERE name = n $$");
    Save("qDouble", "SELECT ?1 * 2 AS v",
         "(n integer) RETURNS TABLE(v integer) AS $$ SELECT n * 2 $$");
    Save("qHalve", "SELECT ?1 / 2.0 AS v",
         "(n double precision) RETURNS TABLE(v double precision) AS $$ SELECT n / 2 $$");
    Save("qShout", "SELECT ?1 || '!' AS v",
         "(t text) RETURNS TABLE(v text) AS $$ SELECT t || '!' $$");
    Save("qPair", "SELECT ?2 || ':' || ?1 AS v",
         "(n integer, t text) RETURNS TABLE(v text) AS $$ SELECT t || ':' || n $$");
    Save("Sales by Year", "SELECT ?1 + 1 AS v",
         "(y integer) RETURNS TABLE(v integer) AS $$ SELECT y + 1 $$");
    Save("qMove",
         "UPDATE Customers SET city = ?2 WHERE id = ?1; INSERT INTO x VALUES (?1); "
         "SELECT city FROM Customers WHERE id = ?1",
         "(i integer, c text) RETURNS TABLE(city text) AS $$ "
         "UPDATE Customers SET city = c WHERE id = i; INSERT INTO x VALUES (i); "
         "SELECT city FROM Customers WHERE id = i $$");
    dal_.ConnectionString(db().ConnectionString());
  }

  // A saved query by the engine's means: an XSP row, or a function of that name.
  void Save(const std::string& name, const std::string& sqlite, const std::string& postgres) {
    if (IsPostgres()) {
      const bool plain = name.find(' ') == std::string::npos;
      Create(
          {"CREATE FUNCTION " + (plain ? name : "\"" + name + "\"") + postgres + " LANGUAGE sql"});
    } else {
      std::string quoted;
      for (char c : sqlite) quoted += c == '\'' ? std::string("''") : std::string(1, c);
      Create({"INSERT INTO XSP VALUES ('" + name + "', '" + quoted + "')"});
    }
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

  DAL dal_;
};

TEST_P(DalExecTest, ArgumentsReachTheQueryByKind) {
  struct Case {
    const char* command;
    const char* value;
  } cases[] = {
      {"EXEC qDouble 21", "42"},
      {"EXEC qHalve -5", "-2.5"},
      {"EXEC qHalve 2.5", "1.25"},
      {"EXEC qShout 'O''Hara'", "O'Hara!"},
      {"EXEC qShout 'a,b'", "a,b!"},
      {"EXEC qShout ''", "!"},
      {"EXEC qShout bare words", "bare words!"},
      {"EXEC qShout '05 Mar 2004'", "05 Mar 2004!"},
      {"EXEC qShout NULL", ""},
      {"EXEC qPair 7, 'x'", "x:7"},
      {"EXEC qPair 7, 'x',", "x:7"},  // a parameter that came out empty
      {"exec [Sales by Year] 1997", "1998"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    EXPECT_EQ(Column(c.command), std::vector<std::string>{c.value});
  }
}

TEST_P(DalExecTest, QuotedTextArgumentsAreDataNeverSql) {
  EXPECT_EQ(Column("EXEC qByName 'O''Hara'"), (std::vector<std::string>{"2"}));
  EXPECT_TRUE(Column("EXEC qByName '''; DROP TABLE x; --'").empty());
  EXPECT_TRUE(Column("EXEC qByName x; DROP TABLE x; --").empty());
  EXPECT_TRUE(Column("EXEC qByName '\\'' ; DROP TABLE x; --'").empty());
  EXPECT_EQ(dal_.ReadValue("SELECT count(*) FROM x"), Variant(int64_t{1})) << dal_.LastError();
  const std::string longText(20000, 'w');
  EXPECT_EQ(Column("EXEC qShout '" + longText + "'"), std::vector<std::string>{longText + "!"});
  EXPECT_EQ(Column("EXEC qShout 'Zoë ✓'"), std::vector<std::string>{"Zoë ✓!"});
}

TEST_P(DalExecTest, SavedQueryNamesIgnoreCase) {
  EXPECT_EQ(Column("exec QBYCITY 'Oslo'"), (std::vector<std::string>{"Ann"}));
  EXPECT_EQ(Column("Exec qbycity 'Cork'"), (std::vector<std::string>{"O'Hara"}));
}

TEST_P(DalExecTest, FailuresAreReported) {
  for (const char* command : {"EXEC nothing", "EXEC nothing 1, 'a'", "EXEC qByCity 'Oslo", "EXEC",
                              "EXEC qByCity 1,,2", "SELECT * FROM nowhere"}) {
    SCOPED_TRACE(command);
    std::shared_ptr<Recordset> rs = std::make_shared<Recordset>();
    EXPECT_FALSE(dal_.ReadRecordset(command, rs));
    EXPECT_EQ(rs, nullptr);
    EXPECT_FALSE(dal_.LastError().empty());
    EXPECT_FALSE(dal_.ExecSQL(command));
    EXPECT_TRUE(dal_.ReadValue(command).IsEmpty());
  }
  // Nothing was left open by the failures.
  EXPECT_TRUE(dal_.IsConnected()) << dal_.LastError();
}

TEST_P(DalExecTest, ActionQueryGivesRowsOfItsLastSelect) {
  EXPECT_EQ(Column("EXEC qMove 1, 'Bergen'"), (std::vector<std::string>{"Bergen"}));
  EXPECT_EQ(dal_.ReadValue("SELECT count(*) FROM x"), Variant(int64_t{2}));
  EXPECT_TRUE(dal_.ExecSQL("EXEC qMove 2, 'Dublin'")) << dal_.LastError();
  EXPECT_EQ(dal_.ReadValue("SELECT city FROM Customers WHERE id = 2"), Variant("Dublin"));
}

TEST_P(DalExecTest, OtherCommandsRunUnchanged) {
  EXPECT_EQ(Column("SELECT 'EXEC qByCity' AS t"), (std::vector<std::string>{"EXEC qByCity"}));
  EXPECT_TRUE(dal_.ExecSQL("INSERT INTO x VALUES (3); INSERT INTO x VALUES (4);"))
      << dal_.LastError();
  EXPECT_EQ(dal_.ReadValue("SELECT sum(v) FROM x").ToText(), "8");
}

TEST_P(DalExecTest, ReadRecordsetKeepsFieldOrderAndNames) {
  std::shared_ptr<Recordset> rs;
  ASSERT_TRUE(dal_.ReadRecordset(Sql("SELECT city AS Town, id FROM Customers ORDER BY id DESC",
                                     "SELECT city AS \"Town\", id FROM Customers ORDER BY id DESC"),
                                 rs))
      << dal_.LastError();
  ASSERT_EQ(rs->FieldCount(), 2);
  EXPECT_EQ(rs->Fields(0).Name(), "Town");
  EXPECT_EQ(rs->Fields("ID").Type(), 3);
  EXPECT_EQ(rs->RecordCount(), 3);
  EXPECT_TRUE(rs->Value(0).IsNull());
  rs->MoveLast();
  EXPECT_EQ(rs->Value(0), Variant("Oslo"));
  EXPECT_EQ(rs->Value(1), Variant(int32_t{1}));
}

TEST_P(DalExecTest, ShapeCommandRelatesChildRecords) {
  std::shared_ptr<Recordset> rs;
  ASSERT_TRUE(dal_.ReadRecordset(
      "SHAPE {SELECT id, name FROM Customers ORDER BY id} APPEND ({EXEC qByCity 'Oslo'} "
      "RELATE name TO name) AS People",
      rs))
      << dal_.LastError();
  ASSERT_EQ(rs->FieldCount(), 3);
  EXPECT_EQ(rs->Fields(2).Type(), 136);
  EXPECT_EQ(rs->RecordCount(), 3);
  rs->MoveFirst();
  const std::shared_ptr<Recordset> ann = rs->Value(2).AsChapter();
  ASSERT_NE(ann, nullptr);
  EXPECT_EQ(ann->RecordCount(), 1);
  rs->MoveNext();
  ASSERT_NE(rs->Value(2).AsChapter(), nullptr);
  EXPECT_EQ(rs->Value(2).AsChapter()->RecordCount(), 0);
}

// Collects what a forward-only read hands over, and can stop it after a number of rows.
struct CollectingSink : RowSink {
  std::vector<FieldInfo> fields;
  std::vector<std::string> rows;
  size_t stopAfter = SIZE_MAX;
  bool Begin(const std::vector<FieldInfo>& f) override {
    fields = f;
    return true;
  }
  bool Row(const Variant* values, size_t count) override {
    std::string row;
    for (size_t i = 0; i < count; ++i) row += (i ? "|" : "") + values[i].ToText();
    rows.push_back(row);
    return rows.size() < stopAfter;
  }
};

TEST_P(DalExecTest, ForwardReadHandsOverWhatReadRecordsetReads) {
  const std::string command = "SELECT id, name FROM Customers ORDER BY id";
  CollectingSink all;
  ASSERT_TRUE(ReadForward(dal_, command, all)) << dal_.LastError();
  ASSERT_EQ(all.fields.size(), 2u);
  EXPECT_EQ(all.fields[1].name, "name");
  EXPECT_EQ(all.rows, (std::vector<std::string>{"1|Ann", "2|O'Hara", "3|Ben"}));

  CollectingSink first;
  first.stopAfter = 1;
  EXPECT_TRUE(ReadForward(dal_, command, first)) << dal_.LastError();
  EXPECT_EQ(first.rows, std::vector<std::string>{"1|Ann"});

  CollectingSink none;
  EXPECT_FALSE(ReadForward(dal_, "SELECT * FROM nowhere", none));
  EXPECT_FALSE(dal_.LastError().empty());
  EXPECT_TRUE(none.rows.empty());
  EXPECT_TRUE(dal_.IsConnected()) << dal_.LastError();
}

// The provider's own forward-only read gives the fields (names and types) and values of the read
// whole, for the shapes of command a page may hold.
TEST_P(DalExecTest, ForwardReadMatchesTheWholeReadFieldForField) {
  const std::vector<std::string> commands = {
      "SELECT * FROM Customers ORDER BY id",
      // An expression column whose first values are Null takes its type from a later one.
      "SELECT id, CASE WHEN id > 2 THEN id * 2 END AS late FROM Customers ORDER BY id",
      "SELECT * FROM Customers WHERE id < 0",
      // The records of the last statement with columns are the answer.
      "SELECT name FROM Customers ORDER BY id; UPDATE x SET v = v",
      "EXEC qByCity 'Oslo'",
      "EXEC qMove 2, 'Rome'",
  };
  for (const std::string& command : commands) {
    SCOPED_TRACE(command);
    std::shared_ptr<Recordset> whole;
    ASSERT_TRUE(dal_.ReadRecordset(command, whole)) << dal_.LastError();
    CollectingSink forward;
    ASSERT_TRUE(ReadForward(dal_, command, forward)) << dal_.LastError();
    ASSERT_EQ(forward.fields.size(), static_cast<size_t>(whole->FieldCount()));
    for (int i = 0; i < whole->FieldCount(); ++i) {
      EXPECT_EQ(forward.fields[i].name, whole->Fields(i).Name());
      EXPECT_EQ(forward.fields[i].type, whole->Fields(i).Type()) << whole->Fields(i).Name();
    }
    std::vector<std::string> rows;
    for (whole->MoveFirst(); !whole->Eof(); whole->MoveNext()) {
      std::string row;
      for (int i = 0; i < whole->FieldCount(); ++i)
        row += (i ? "|" : "") + whole->Value(i).ToText();
      rows.push_back(row);
    }
    EXPECT_EQ(forward.rows, rows);
  }
}

KIVDB_ON_BOTH_ENGINES(DalExecTest);

}  // namespace
}  // namespace kivdb
