// The PostgreSQL edition of SQLite-dialect test data: the same EXEC commands give the same records
// on both engines.
#include "tests/control/data/postgres_edition.h"

#include <gtest/gtest.h>

#include <kivdb/dal.h>
#include "tests/control/data/test_database.h"

namespace kivdb::testing_support {
namespace {

TEST(PostgresEditionTest, StatementsGetPostgresTypeNames) {
  struct Case {
    const char* sqlite;
    const char* postgres;
  } cases[] = {
      {"CREATE TABLE t (ID INTEGER PRIMARY KEY, Amount CURRENCY, Rate DOUBLE, At DATETIME)",
       "CREATE TABLE t (ID serial PRIMARY KEY, Amount money, Rate double precision, At timestamp)"},
      {"create table t (d double precision, b blob, m Memo, n INTEGER)",
       "create table t (d double precision, b bytea, m text, n INTEGER)"},
      {"INSERT INTO t VALUES ('DOUBLE CURRENCY')", "INSERT INTO t VALUES ('DOUBLE CURRENCY')"},
      // Blob literals, but not inside text or names, nor an odd count or a longer word.
      {R"(INSERT INTO t VALUES (X'00fF', x'', 'X''0A''', "X'0A'", X'ABC', MAX'0A'))",
       R"(INSERT INTO t VALUES ('\x00fF'::bytea, '\x'::bytea, 'X''0A''', "X'0A'", X'ABC', MAX'0A'))"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sqlite);
    EXPECT_EQ(PostgresStatement(c.sqlite), c.postgres);
  }
}

// Every record of a command as "name=value" cells, with the class of each field's type.
std::vector<std::string> Records(DAL& dal, const std::string& command) {
  std::shared_ptr<Recordset> rs;
  EXPECT_TRUE(dal.ReadRecordset(command, rs)) << command << ": " << dal.LastError();
  std::vector<std::string> lines;
  if (!rs) return lines;
  for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
    std::string line;
    for (int i = 0; i < rs->FieldCount(); ++i) {
      const Variant& v = rs->Value(i);
      line += rs->Fields(i).Name() + "=" + (v.IsNull() ? "Null" : v.ToText()) + " ";
    }
    lines.push_back(line);
  }
  return lines;
}

TEST(PostgresEditionTest, SameCommandsGiveTheSameRecords) {
  const std::vector<std::string> statements = {
      "CREATE TABLE Regions (ID INTEGER PRIMARY KEY, Name TEXT)",
      "INSERT INTO Regions VALUES (1, 'North'), (2, 'O''Brien Isles')",
      "CREATE TABLE Customers (ID INTEGER PRIMARY KEY, Name TEXT, Region TEXT, Balance CURRENCY, "
      "Rate DOUBLE)",
      "INSERT INTO Customers VALUES (7, 'Smith', 'North', 1234.5, 0.5), "
      "(8, 'Jones', 'O''Brien Isles', -5, NULL)",
      "CREATE TABLE Visits (ID INTEGER PRIMARY KEY, Note TEXT)",
  };
  const std::vector<std::pair<std::string, std::string>> queries = {
      {"spG_Regions", "SELECT ID, Name FROM Regions ORDER BY ID"},
      {"spW_RegionHead",
       "SELECT c.ID, c.Name, c.Balance, c.Rate FROM Customers c JOIN Regions r ON r.Name = "
       "c.Region WHERE r.ID = ?1 ORDER BY c.ID"},
      {"spW_CustomersIn", "SELECT ID, Name FROM Customers WHERE Region = ?1 ORDER BY ID"},
      {"spE_LogVisit", "INSERT INTO Visits (Note) VALUES ('visit')"},
      {"spW_Visits", "SELECT COUNT(*) AS Visits FROM Visits"},
      {"spW_Today", "SELECT ?1 AS Today"},
      {"spW_Both", "SELECT Name, ?2 AS Tag FROM Regions WHERE ID = ?1"},
  };
  TestDatabase sqlite(Engine::Sqlite);
  TestDatabase postgres(Engine::Postgres);
  ASSERT_TRUE(sqlite.Ready()) << sqlite.Problem();
  ASSERT_TRUE(postgres.Ready()) << postgres.Problem();
  std::vector<std::string> sqliteStatements = statements;
  sqliteStatements.push_back(
      "CREATE TABLE XSP (nameIs TEXT PRIMARY KEY COLLATE NOCASE, sqlIs TEXT)");
  for (const auto& [name, sql] : queries) {
    std::string quoted;
    for (char c : sql) quoted += c == '\'' ? std::string("''") : std::string(1, c);
    sqliteStatements.push_back("INSERT INTO XSP VALUES ('" + name + "', '" + quoted + "')");
  }
  ASSERT_EQ(sqlite.Run(sqliteStatements), "");
  ASSERT_EQ(LoadPostgresEdition(postgres.ConnectionString(), statements, queries), "");

  DAL onSqlite;
  onSqlite.ConnectionString(sqlite.ConnectionString());
  DAL onPostgres;
  onPostgres.ConnectionString(postgres.ConnectionString());
  for (DAL* dal : {&onSqlite, &onPostgres}) {
    ASSERT_TRUE(dal->ExecSQL("EXEC spE_LogVisit")) << dal->LastError();
    ASSERT_TRUE(dal->ExecSQL("EXEC spE_LogVisit")) << dal->LastError();
    // The automatic key goes on past the keys the data gave.
    ASSERT_TRUE(dal->ExecSQL("INSERT INTO Regions (Name) VALUES ('South')")) << dal->LastError();
  }
  for (const char* command : {"EXEC spG_Regions", "EXEC spW_RegionHead 1", "EXEC spW_RegionHead 2",
                              "EXEC spW_CustomersIn 'O''Brien Isles'", "EXEC spW_Visits",
                              "EXEC spW_Today '05 Mar 2004'", "EXEC spW_Both 2, 'x'"}) {
    SCOPED_TRACE(command);
    const std::vector<std::string> expected = Records(onSqlite, command);
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(Records(onPostgres, command), expected);
  }
}

}  // namespace
}  // namespace kivdb::testing_support
