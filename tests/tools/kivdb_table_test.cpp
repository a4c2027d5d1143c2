// `kivdb table` and `kivdb export --tables`, run as the built program on both engines; the files
// are read back by check_table_files.py with readers KivDB did not write.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/control/core/control_harness.h"
#include "tests/control/data/test_database.h"
#include "tests/support/read_file.h"
#include "tests/tools/program_run.h"

namespace kivdb::testing {
namespace {

namespace fs = std::filesystem;
using testing_support::DatabaseTest;

constexpr const char* kNode = "Data Browser\\Everything";

// The page "Everything": a table of every kind of value with totals (10), 100,000 rows (11) and
// a multi-chapter table (12). Each query is a view on SQLite and a function on PostgreSQL.
std::vector<std::string> PageStatements(bool postgres) {
  std::vector<std::string> s = {
      "CREATE TABLE XST1 (ID INTEGER PRIMARY KEY, descriptionIs VARCHAR(100), typeIs CHAR(1), "
      "parentIs INTEGER, queryIs VARCHAR(200), parmIs VARCHAR(20), iconIs VARCHAR(50), "
      "roleIs VARCHAR(50))",
      "CREATE TABLE XST2 (ID INTEGER PRIMARY KEY, XST1 INTEGER, seqNo INTEGER, "
      "titleIs VARCHAR(200), queryIs VARCHAR(200), parmIs VARCHAR(20), typeIs CHAR(1), "
      "formIs INTEGER, colsAre VARCHAR(200), extra VARCHAR(200))",
      "CREATE TABLE XST3 (ID INTEGER PRIMARY KEY, nameIs VARCHAR(50), contentIs TEXT)",
      "INSERT INTO XST1 VALUES (1, 'Data Browser', 'F', 0, NULL, NULL, NULL, NULL)",
      "INSERT INTO XST1 VALUES (2, 'Everything', 'N', 1, NULL, NULL, NULL, NULL)",
      "INSERT INTO XST1 VALUES (3, 'Secret', 'N', 1, NULL, NULL, NULL, '7')",
      "INSERT INTO XST2 VALUES (10, 2, 1, 'Types: [a/b]?*', 'qTypes', 'None', 'S', NULL, 'All', "
      "NULL)",
      "INSERT INTO XST2 VALUES (11, 2, 2, 'Big', 'qBig', 'None', 's', NULL, NULL, NULL)",
      "INSERT INTO XST2 VALUES (12, 2, 3, 'Notes of things', 'qShape', 'None', 'M', NULL, NULL, "
      "NULL)",
      "INSERT INTO XST2 VALUES (13, 2, 4, 'Heading', 'qTypes', 'None', 'H', NULL, NULL, NULL)",
      "INSERT INTO XST2 VALUES (14, 2, 5, 'Broken', 'qMissing', 'None', 'S', NULL, NULL, NULL)",
      "INSERT INTO XST2 VALUES (30, 3, 1, 'Hidden', 'qTypes', 'None', 'S', NULL, NULL, NULL)",
      "INSERT INTO XST3 VALUES (1, 'front', '<html>')",
      "INSERT INTO XST3 VALUES (2, 'head', '<html><body><div>')",
      std::string(
          "CREATE TABLE Things (\"ID\" INTEGER PRIMARY KEY, \"Label\" TEXT, \"Größe\" INTEGER, ") +
          (postgres ? "\"Price\" NUMERIC(14,2), \"Ratio\" DOUBLE PRECISION, \"Day\" DATE, "
                      "\"Stamp\" TIMESTAMP)"
                    : "\"Price\" CURRENCY, \"Ratio\" DOUBLE, \"Day\" DATE, \"Stamp\" DATETIME)"),
      "INSERT INTO Things VALUES (1, 'Ünïcödé ✓ \"quoted\", comma', 3, 10.50, 0.125, "
      "'2024-03-05', '2024-03-05 14:07:09')",
      "INSERT INTO Things VALUES (2, '00123', -7, 1234567.89, 1e-7, '1900-01-01', "
      "'1999-12-31 23:59:59')",
      "INSERT INTO Things VALUES (3, '=1+2', 0, 0, -2.5, '2024-02-29', NULL)",
      "INSERT INTO Things VALUES (4, '-5', NULL, NULL, NULL, NULL, NULL)",
      "INSERT INTO Things VALUES (5, '@SUM(A1)', 2147483647, 0.01, 1e300, '1900-03-01', "
      "'1900-02-28 12:00:00')",
      "INSERT INTO Things VALUES (6, 'line one\nline two', 1, 1, 1, '9999-12-31', "
      "'2000-01-01 00:00:01')",
      "CREATE TABLE Notes (\"ID\" INTEGER PRIMARY KEY, \"ThingID\" INTEGER, \"Note\" TEXT)",
      "INSERT INTO Notes VALUES (1, 1, 'first'), (2, 1, 'second'), (3, 2, 'third ☂')",
      "CREATE TABLE Big (ID INTEGER PRIMARY KEY, N INTEGER, Name TEXT)",
  };
  const std::string shape =
      "'SHAPE {SELECT \"ID\", \"Label\" FROM Things WHERE \"ID\" <= 2 ORDER BY \"ID\"} "
      "APPEND ({SELECT * FROM Notes ORDER BY \"ID\"} RELATE ID TO ThingID) AS Notes'";
  if (postgres) {
    s.push_back("INSERT INTO Big SELECT i, 2 * i, 'row ' || i FROM generate_series(1, 100000) i");
    s.push_back(
        "CREATE FUNCTION qTypes() RETURNS SETOF Things LANGUAGE sql AS "
        "$$ SELECT * FROM Things ORDER BY \"ID\" $$");
    s.push_back(
        "CREATE FUNCTION qBig() RETURNS SETOF Big LANGUAGE sql AS $$ SELECT * FROM Big ORDER BY "
        "ID $$");
    s.push_back("CREATE FUNCTION qShape() RETURNS TABLE(cmd text) LANGUAGE sql AS $$ SELECT " +
                shape + " $$");
  } else {
    s.push_back(
        "INSERT INTO Big WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE "
        "i < 100000) SELECT i, 2 * i, 'row ' || i FROM c");
    s.push_back("CREATE VIEW qTypes AS SELECT * FROM Things ORDER BY ID");
    s.push_back("CREATE VIEW qBig AS SELECT * FROM Big ORDER BY ID");
    s.push_back("CREATE VIEW qShape AS SELECT " + shape + " AS cmd");
  }
  return s;
}

void WriteFileForTest(const fs::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}

ProgramRun Table(const std::string& connect, const fs::path& folder,
                 std::vector<std::string> extra) {
  std::vector<std::string> args = {"table", "--connect", connect, "--node", kNode};
  args.insert(args.end(), extra.begin(), extra.end());
  return RunProgram(KIVDB_PROGRAM, args, folder);
}

class TableFiles : public DatabaseTest {};

TEST_P(TableFiles, EveryValueAndTypeReadsBackFromBothFormats) {
  Create(PageStatements(IsPostgres()));
  const fs::path folder = FreshFolder();
  const std::string& connect = db().ConnectionString();
  ProgramRun run =
      Table(connect, folder,
            {"--paragraph", "10", "--paragraph", "11", "--paragraph", "12", "--out", "all.xlsx"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, (folder / "all.xlsx").string() + "\n");
  for (const char* id : {"10", "11", "12"}) {
    run = Table(
        connect, folder,
        {"--paragraph", id, "--format", "csv", "--bom", "--out", std::string("t-") + id + ".csv"});
    ASSERT_EQ(run.status, 0) << id << ": " << run.err;
  }
  const ProgramRun check = RunProgram(KIVDB_PYTHON, {KIVDB_CHECK_SCRIPT, folder.string()}, folder);
  EXPECT_EQ(check.status, 0) << check.out << check.err;
}

KIVDB_ON_BOTH_ENGINES(TableFiles);

// Failures end in a status and a reason, and never leave a file, nor harm the one already there.
TEST(TableCommand, FailuresLeaveNoFileAndKeepAnEarlierOne) {
  testing_support::TestDatabase db(testing_support::Engine::Sqlite);
  ASSERT_EQ(db.Run(PageStatements(false)), "");
  const fs::path folder = FreshFolder();
  struct Case {
    const char* name;
    std::vector<std::string> args;
    int status;
    const char* reason;
  } cases[] = {
      {"no such node", {"--node", "Data Browser\\Nowhere"}, 2, "no node"},
      {"not a table", {"--node", kNode, "--paragraph", "13"}, 1, "no table of the page"},
      {"failed read", {"--node", kNode, "--paragraph", "14"}, 1, "could not be read"},
      {"failed read among good tables", {"--node", kNode}, 1, "could not be read"},
      {"role refused", {"--node", "Data Browser\\Secret"}, 1, "may not open Secret"},
      {"unknown format", {"--node", kNode, "--format", "ods"}, 2, "ods"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFileForTest(folder / "keep.xlsx", "earlier");
    std::vector<std::string> args = {"table", "--connect", db.ConnectionString()};
    args.insert(args.end(), c.args.begin(), c.args.end());
    args.insert(args.end(), {"--out", "keep.xlsx"});
    const ProgramRun run = RunProgram(KIVDB_PROGRAM, args, folder);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
    EXPECT_EQ(testing_support::ReadFile(folder / "keep.xlsx"), "earlier");
    for (const auto& entry : fs::directory_iterator(folder)) {
      const std::string name = entry.path().filename().string();
      // Nothing half-written beside it (out.txt and err.txt hold the run's output).
      EXPECT_TRUE(name == "keep.xlsx" || name == "out.txt" || name == "err.txt") << name;
    }
  }
}

TEST(ExportTables, EachPageWithTablesGetsItsWorkbookLinkedFromTheIndex) {
  const DemoExport demo = ExportDemo({"--tables", "xlsx"});
  ASSERT_EQ(demo.run.status, 0) << demo.run.err;
  const std::string index = testing_support::ReadFile(demo.site / "index.html");
  size_t workbooks = 0;
  for (const auto& [number, page] : PageFiles(demo.site)) {
    const fs::path workbook = demo.site / ("page-" + std::to_string(number) + ".xlsx");
    if (!fs::exists(workbook)) continue;
    ++workbooks;
    EXPECT_EQ(testing_support::ReadFile(workbook).substr(0, 2), "PK") << workbook;
    EXPECT_NE(index.find("href=\"" + workbook.filename().string() + "\" download>xlsx</a>"),
              std::string::npos)
        << workbook;
  }
  EXPECT_GE(workbooks, 10u);
}

}  // namespace
}  // namespace kivdb::testing
