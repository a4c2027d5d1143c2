// `kivdb click` run as a script runs it: through the shell, with its output in files, judged by
// its lines and its exit status.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <cstdlib>
#include <fstream>
#include <memory>

#include <sqlite3.h>

#include "tests/control/core/control_harness.h"

namespace kivdb::testing {
namespace {

using fixture::SchemeFixture;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::string Quote(const std::string& text) {
  std::string out = "'";
  for (char c : text) {
    if (c == '\'') {
      out += "'\\''";
    } else {
      out += c;
    }
  }
  return out + "'";
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

struct Outcome {
  int status = -1;
  std::vector<std::string> out;
  std::vector<std::string> err;
};

// Runs `kivdb ARGS...` from `folder` with its output sent to files.
Outcome Kivdb(const std::filesystem::path& folder, const std::vector<std::string>& args) {
  std::string command = "cd " + Quote(folder.string()) + " && " + Quote(KIVDB_PROGRAM);
  for (const std::string& arg : args) command += " " + Quote(arg);
  command += " > out.txt 2> err.txt";
  const int raw = std::system(command.c_str());
  Outcome run;
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.out = Lines(ReadFile(folder / "out.txt"));
  run.err = Lines(ReadFile(folder / "err.txt"));
  return run;
}

struct Shop {
  explicit Shop(const SchemeFixture& data = SchemeFixture::Standard())
      : folder(FreshFolder()), connect(data.WriteSqlite((folder / "shop.db").string())) {}
  std::string Path(const char* name) const { return (folder / name).string(); }
  std::filesystem::path folder;
  std::string connect;
};

TEST(KivdbClick, ClicksPrintEveryEventAndNavigationThenTheFollowsAndTheTree) {
  Shop shop;
  const Outcome run =
      Kivdb(shop.folder, {"click", "--connect", shop.connect, "--folder", shop.folder.string(),
                          "--talking", "--tree", "--follow", "^000030000000007", "--follow",
                          "about:blank", "Data Browser\\Regions", "Data Browser\\Regions\\North"});
  EXPECT_EQ(run.status, 0);
  EXPECT_THAT(run.err, IsEmpty());
  const std::string report = "Navigate: " + shop.Path("oReport.htm");
  EXPECT_THAT(
      run.out,
      ElementsAre("Navigate: about:blank", "Navigate: " + shop.Path("fp.htm"),
                  "Navigate: about:blank", report, "LogIt: View: Data Browser\\Regions",
                  "Navigate: about:blank", report, "LogIt: View: Data Browser\\Regions\\North",
                  "LogIt: Form: Form #:00003,  ID=0000000007", "OpenForm: 00003 0000000007",
                  "Cancel: True", "Cancel: False", "Data Browser [] {00001F}",
                  "  Regions [0000000002F] {00002G}", "    North [0000000001G6] {00003N}",
                  "    South [0000000002G7] {00003N}", "    O'Brien Isles [0000000003G8] {00003N}",
                  "  Categories [0000000004F] {00004G}", "  Managers [0000000007F] {00007F}",
                  "  Diary [0000000009F] {00009N}", "  Suppliers [0000000010F] {00010G}"));
}

TEST(KivdbClick, PropertiesReachThePagesAndKeepSavesEachOne) {
  Shop shop;
  const Outcome run =
      Kivdb(shop.folder, {"click", "--connect", shop.connect, "--keep", "--role", "3", "--heading",
                          "Shop & Co", "--date-format", "dd/mm/yyyy", "--display-path",
                          "Data Browser\\Managers", "Data Browser\\Managers\\Salaries"});
  EXPECT_EQ(run.status, 0);
  EXPECT_THAT(run.out, ::testing::Contains("LogIt: View: Data Browser\\Managers\\Salaries"));
  const std::vector<std::string> first = PageLines(shop.folder / "page-1.htm");
  const std::vector<std::string> second = PageLines(shop.folder / "page-2.htm");
  EXPECT_FALSE(std::filesystem::exists(shop.folder / "page-3.htm"));
  ASSERT_EQ(first.size(), 3u);
  EXPECT_NE(first[0].find("<td class=pgl>Shop & Co</td><td class=pgr>"), std::string::npos);
  EXPECT_EQ(first[1], "<br><br><p class=pgl>Data Browser\\Managers");
  ASSERT_EQ(second.size(), 6u);
  EXPECT_EQ(second[2], "<tr><td class=tdl>Boss</td><td class=tdr>9,000.00</td>");
  EXPECT_EQ(second[3], "<tr><td class=tfl>Total:</td><td class=tfr>9,000.00</td></table><br><br>");
  EXPECT_EQ(ReadFile(shop.folder / "page-2.htm"), ReadFile(shop.folder / "oReport.htm"));
}

TEST(KivdbClick, APathThatMatchesNoNodeStopsWithStatusTwo) {
  Shop shop;
  const Outcome run = Kivdb(shop.folder, {"click", "--connect", shop.connect, "--tree",
                                          "Data Browser\\Regions\\North", "Data Browser\\Regions"});
  EXPECT_EQ(run.status, 2);
  // North exists only once Regions has been clicked.
  EXPECT_THAT(run.err, ElementsAre("error: no node Data Browser\\Regions\\North"));
  EXPECT_THAT(run.out, ElementsAre("Navigate: about:blank", "Navigate: " + shop.Path("fp.htm")));
}

TEST(KivdbClick, UsageErrorsExitWithStatusTwo) {
  Shop shop;
  const std::vector<std::vector<std::string>> cases = {
      {"click"},                                               // no --connect
      {"click", "--connect", shop.connect, "--no-such-flag"},  // unknown option
      {},                                                      // no command
      {"paint"},                                               // unknown command
      {"click", "--connect", shop.connect, "--role", "boss"},  // no number
      {"click", "--connect", shop.connect, "--query-timeout", "-1"},
      {"click", "--connect", shop.connect, "--query-timeout", "soon"},
      {"click", "--connect", shop.connect, "--max-rows", "-5"},
  };
  for (const auto& args : cases) {
    std::string shown;
    for (const auto& a : args) shown += a + " ";
    SCOPED_TRACE(shown);
    const Outcome run = Kivdb(shop.folder, args);
    EXPECT_EQ(run.status, 2);
    EXPECT_FALSE(run.err.empty());
  }
  EXPECT_EQ(Kivdb(shop.folder, {"click", "--help"}).status, 0);
}

void WriteText(const std::filesystem::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
}

// Closes the connection that holds the shop's database locked.
struct Sqlite3Closer {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
};

TEST(KivdbClick, AnUnreadableDatabaseIsNamedWithItsReasonAndExitsOne) {
  Shop shop;
  WriteText(shop.folder / "notes.txt", "not a database, only text that is long enough to tell\n");
  // Another connection holding a write transaction: readers wait for it, then give up.
  sqlite3* raw = nullptr;
  ASSERT_EQ(sqlite3_open(shop.Path("shop.db").c_str(), &raw), SQLITE_OK);
  std::unique_ptr<sqlite3, Sqlite3Closer> holder(raw);
  ASSERT_EQ(sqlite3_exec(raw, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);

  struct Case {
    const char* name;
    std::string source;
    std::string reason;
  };
  const Case cases[] = {
      {"missing", shop.Path("missing.db"), "Database file not found: " + shop.Path("missing.db")},
      {"folder", shop.folder.string(),
       "Cannot open database " + shop.folder.string() + ": it is a folder, not a database file"},
      {"text file", shop.Path("notes.txt"),
       "Cannot open database " + shop.Path("notes.txt") + ": file is not a database"},
      {"locked", shop.Path("shop.db") + ";Busy Timeout=50", "database is locked"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Outcome run =
        Kivdb(shop.folder,
              {"click", "--connect", "Provider=SQLite;Data Source=" + c.source, "--talking"});
    EXPECT_EQ(run.status, 1);
    ASSERT_GE(run.out.size(), 3u);
    EXPECT_EQ(run.out[0], "KivDBMessage: Unable to Access Data for the SQL : SELECT * FROM XST1");
    EXPECT_THAT(run.out[1], ::testing::StartsWith("KivDBMessage: Reason: "));
    EXPECT_THAT(run.out[1], ::testing::HasSubstr(c.reason));
    EXPECT_EQ(run.out[2], "KivDBMessage: Error Reading Data From Database");
    EXPECT_THAT(
        run.err,
        ElementsAre(::testing::AllOf(
            ::testing::StartsWith("error: the schemes could not be read from the database: "),
            ::testing::HasSubstr(c.reason))));
  }
  EXPECT_FALSE(std::filesystem::exists(shop.folder / "missing.db"));
}

TEST(KivdbClick, FolderIsCreatedWhenMissingOrTheRunFailsSayingWhy) {
  Shop shop;
  const std::filesystem::path nested = shop.folder / "pages" / "today";
  Outcome run = Kivdb(shop.folder, {"click", "--connect", shop.connect, "--folder", nested.string(),
                                    "Data Browser\\Diary"});
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(std::filesystem::exists(nested / "oReport.htm"));

  WriteText(shop.folder / "plain", "");
  run = Kivdb(shop.folder,
              {"click", "--connect", shop.connect, "--folder", shop.Path("plain") + "/below"});
  EXPECT_EQ(run.status, 1);
  EXPECT_THAT(run.err, ElementsAre(::testing::StartsWith("error: cannot create the folder " +
                                                         shop.Path("plain") + "/below: ")));
}

TEST(KivdbClick, QueryTimeoutStopsASlowParagraphAndThePageIsStillShown) {
  Shop shop(SchemeFixture::Standard().Query(
      "spW_Visits",
      "WITH RECURSIVE c(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM c WHERE n < 100000000000) "
      "SELECT count(*) AS Visits FROM c"));
  const Outcome run = Kivdb(shop.folder, {"click", "--connect", shop.connect, "--query-timeout",
                                          "1", "--talking", "Data Browser\\Diary"});
  EXPECT_EQ(run.status, 0);
  EXPECT_THAT(run.out, ::testing::Contains("KivDBMessage: Error Reading Data From Database"));
  EXPECT_THAT(run.out, ::testing::Contains("Navigate: " + shop.Path("oReport.htm")));
  EXPECT_THAT(run.out, ::testing::Contains("LogIt: View: Data Browser\\Diary"));
}

TEST(KivdbClick, MaxRowsCutsTheTablesOfThePageAndSaysSo) {
  Shop shop;
  const Outcome run = Kivdb(shop.folder, {"click", "--connect", shop.connect, "--max-rows", "1",
                                          "Data Browser\\Regions", "Data Browser\\Regions\\North"});
  EXPECT_EQ(run.status, 0);
  const std::string page = ReadFile(shop.folder / "oReport.htm");
  EXPECT_NE(page.find("</table><br><br>\r\n<p class=pgl>Showing 1 of "), std::string::npos) << page;
  EXPECT_NE(page.find("<tr><td class=tfl>Total:</td>"), std::string::npos);
}

}  // namespace
}  // namespace kivdb::testing
