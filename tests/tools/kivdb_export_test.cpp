// `kivdb export` run as a script runs it, on the demo database and on the shop of the control's
// tests: what the site folder holds afterwards, and what the program says.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <thread>

#include <kivdb/dal.h>
#include "tests/control/core/control_harness.h"
#include "tests/control/core/scheme_fixture.h"
#include "tests/support/file_size_limit.h"
#include "tests/tools/program_run.h"

namespace kivdb::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;

long Count(const std::string& connect, const std::string& sql) {
  DAL dal;
  dal.ConnectionString(connect);
  const std::optional<double> value = dal.ReadValue(sql).ToDouble();
  EXPECT_TRUE(value) << sql << ": " << dal.LastError();
  return value ? static_cast<long>(*value) : -1;
}

// The nodes of the demo tree, counted from its data: the root, Sales Overview, Regions with one
// node per region, customer and order, Staff with one per employee, Products with one per
// category and product, and Management with its three pages when the role may open it.
long DemoNodes(const std::string& connect, bool management) {
  return 1 + 1 + 1 + Count(connect, "SELECT count(*) FROM Regions") +
         Count(connect, "SELECT count(*) FROM Customers") +
         Count(connect, "SELECT count(*) FROM Orders") + 1 +
         Count(connect, "SELECT count(*) FROM Employees") + 1 +
         Count(connect, "SELECT count(*) FROM Categories") +
         Count(connect, "SELECT count(*) FROM Products") + 1 + (management ? 3 : 0);
}

std::map<int, std::string> ReadPages(const fs::path& site) {
  std::map<int, std::string> pages;
  for (const auto& [number, file] : PageFiles(site)) pages[number] = ReadFile(file);
  return pages;
}

int CountOf(const std::string& text, const std::string& needle) {
  int count = 0;
  for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) {
    ++count;
  }
  return count;
}

TEST(KivdbExport, OpensEveryNodeOfTheDemoAndKeepsEveryPage) {
  const DemoExport demo = ExportDemo({"--role", "1", "--heading", "Kestrel Trading"});
  ASSERT_EQ(demo.run.status, 0) << demo.run.err;
  EXPECT_EQ(demo.run.out, (demo.site / "index.html").string() + "\n");

  const long nodes = DemoNodes(demo.connect, true);
  const long products = Count(demo.connect, "SELECT count(*) FROM Products");
  // Every node but the root shows a page; every product page shows its photo.
  EXPECT_THAT(demo.run.err, HasSubstr("kivdb export: " + std::to_string(nodes) + " nodes, " +
                                      std::to_string(nodes - 1) + " pages, " +
                                      std::to_string(products) + " pictures, 0 messages\n"));
  EXPECT_EQ(static_cast<long>(PageFiles(demo.site).size()), nodes - 1);
  EXPECT_THAT(demo.run.err, Not(HasSubstr("Error")));
  EXPECT_THAT(demo.run.err, Not(HasSubstr("warning")));
  // The control's scratch files do not stay behind.
  EXPECT_FALSE(fs::exists(demo.site / "oReport.htm"));
  EXPECT_FALSE(fs::exists(demo.site / "pic1"));
  EXPECT_TRUE(fs::exists(demo.site / "fp.htm"));
}

TEST(KivdbExport, TheDemoShowsEveryParagraphType) {
  const DemoExport demo = ExportDemo({"--role", "1"});
  ASSERT_EQ(demo.run.status, 0) << demo.run.err;
  const std::map<int, std::string> pages = ReadPages(demo.site);

  // What each type writes; a marker holds when one page matches all its patterns.
  struct Marker {
    const char* type;
    std::vector<std::regex> patterns;
  };
  const std::vector<Marker> markers = {
      {"C, a chart",
       {std::regex("<img id='CTL\\d+' src='chart.gif'>"), std::regex("id='CGR\\d+'")}},
      {"H, a header card",
       {std::regex("<td class=hn>ID: </td><td class=hvr>Click here . . .</td>")}},
      {"I, an image header", {std::regex("<IMG SRC='page-\\d+-pic1' WIDTH=100%>")}},
      {"M, chapters", {std::regex("id=DISPALL"), std::regex("<img id=DTL02\\w+ src=plus.gif>")}},
      {"S, a table with totals", {std::regex("<tr><td class=tfl>Total:</td><td class=tfr>")}},
      {"T, thumbnails beside their text",
       {std::regex("<td valign=top align=center % rowspan=\\d+><IMG SRC='products/")}},
      {"T, thumbnails above their text", {std::regex("align=center ><IMG SRC='products/")}},
  };
  for (const Marker& marker : markers) {
    bool found = false;
    for (const auto& [number, html] : pages) {
      bool all = true;
      for (const std::regex& pattern : marker.patterns)
        all = all && std::regex_search(html, pattern);
      found = found || all;
    }
    EXPECT_TRUE(found) << "no page shows " << marker.type;
  }
  // E: the overview's execute-only paragraph ran once, when the walk opened the overview.
  EXPECT_EQ(Count(demo.connect, "SELECT count(*) FROM Visits"), 1);
}

TEST(KivdbExport, FormLinksBecomeTextAndPicturesGetNamesOfTheirOwn) {
  const DemoExport demo = ExportDemo({"--role", "1"});
  ASSERT_EQ(demo.run.status, 0) << demo.run.err;

  std::set<std::vector<uint8_t>> photos;
  {
    DAL dal;
    dal.ConnectionString(demo.connect);
    std::shared_ptr<Recordset> records;
    ASSERT_TRUE(dal.ReadRecordset("SELECT Picture FROM Products", records));
    for (records->MoveFirst(); !records->Eof(); records->MoveNext()) {
      photos.insert(*records->Fields(0).Value().AsBinary());
    }
  }
  const std::regex formLink(R"(href\s*=\s*['"]?[^'" >]*\^)", std::regex::icase);
  const std::regex picture(R"(SRC='(page-(\d+)-pic\d+)')");
  int cards = 0;
  int pictures = 0;
  for (const auto& [number, html] : ReadPages(demo.site)) {
    SCOPED_TRACE("page-" + std::to_string(number) + ".htm");
    EXPECT_FALSE(std::regex_search(html, formLink));
    cards += CountOf(html, "Click here");
    for (auto it = std::sregex_iterator(html.begin(), html.end(), picture);
         it != std::sregex_iterator(); ++it) {
      EXPECT_EQ(std::stoi((*it)[2]), number) << "a picture of another page";
      const std::string bytes = ReadFile(demo.site / (*it)[1].str());
      EXPECT_TRUE(photos.count(std::vector<uint8_t>(bytes.begin(), bytes.end())))
          << (*it)[1] << " is no product photo of the database";
      ++pictures;
    }
  }
  // Customers, orders, employees and products all show their record cards' link text.
  EXPECT_GT(cards, 0);
  EXPECT_EQ(pictures, Count(demo.connect, "SELECT count(*) FROM Products"));
}

TEST(KivdbExport, TheIndexListsTheTreeWithEscapedCaptions) {
  const DemoExport demo = ExportDemo({"--role", "1", "--heading", "Kestrel & Co"});
  ASSERT_EQ(demo.run.status, 0) << demo.run.err;
  const std::vector<std::string> lines = PageLines(demo.site / "index.html");
  std::string index;
  for (const std::string& line : lines) index += line + "\n";

  EXPECT_THAT(index, HasSubstr("<title>Kestrel &amp; Co</title>"));
  EXPECT_THAT(index, HasSubstr(">Briar &amp; Bloom Garden Centre</a>"));
  EXPECT_THAT(index, HasSubstr(">Maggie&#39;s Pantry</a>"));
  EXPECT_THAT(index, HasSubstr("<iframe name=\"page\" title=\"Report page\" src=\"fp.htm\">"));
  EXPECT_THAT(index, HasSubstr("<a href=\"fp.htm\" target=\"page\">Data Browser</a>"));
  // One link per page, and one for the front page.
  EXPECT_EQ(CountOf(index, "target=\"page\""), static_cast<int>(PageFiles(demo.site).size()) + 1);
  // The recurring branch: the director, her managers, and the trainee three levels below her.
  EXPECT_THAT(index, HasSubstr(">Ruth Calloway</a>"));
  EXPECT_THAT(index, HasSubstr(">Ben Okafor</a>"));
}

TEST(KivdbExport, ANodeTheRoleMayNotOpenShowsNoPageAndNoChildren) {
  const DemoExport demo = ExportDemo({});
  ASSERT_EQ(demo.run.status, 0) << demo.run.err;
  // Management is for role 1: its three pages are not in the tree, it has no page of its own.
  const long nodes = DemoNodes(demo.connect, false);
  EXPECT_EQ(static_cast<long>(PageFiles(demo.site).size()), nodes - 2);
  const std::string index = ReadFile(demo.site / "index.html");
  EXPECT_THAT(index, HasSubstr("<span class=\"nopage\" title=\"No page: the node is not open to "
                               "this role, or its page could not be built\">Management</span>"));
  EXPECT_THAT(index, Not(HasSubstr("Payroll")));
}

struct Shop {
  explicit Shop(const fixture::SchemeFixture& data = fixture::SchemeFixture::Standard())
      : folder(FreshFolder()), connect(data.WriteSqlite((folder / "shop.db").string())) {}
  ProgramRun Export(std::vector<std::string> extra) const {
    std::vector<std::string> args = {"export", "--connect", connect, "--out", Site().string()};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunProgram(KIVDB_PROGRAM, args, folder);
  }
  fs::path Site() const { return folder / "out" / "site"; }
  fs::path folder;
  std::string connect;
};

TEST(KivdbExport, StopsAtTheNodeLimitAndSaysSo) {
  const Shop shop;
  const ProgramRun run = shop.Export({"--max-nodes", "3"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_THAT(run.err, HasSubstr("kivdb export: stopped at the limit of 3 nodes (--max-nodes); "
                                 "the rest of the tree is not exported\n"));
  EXPECT_THAT(run.err, HasSubstr("kivdb export: 3 nodes, 2 pages"));
  EXPECT_EQ(PageFiles(shop.Site()).size(), 2u);
  const std::string index = ReadFile(shop.Site() / "index.html");
  EXPECT_THAT(index, HasSubstr("This export stopped at its limit of 3 nodes; the tree goes on."));
  EXPECT_THAT(index, HasSubstr("title=\"Not opened: the export stopped at its node limit\""));
}

TEST(KivdbExport, RecordsThatRecurUnderThemselvesAreOpenedOnce) {
  // Every category lists itself among its sub-categories: without a guard the walk never ends.
  const Shop shop(fixture::SchemeFixture::Standard().Query(
      "spR_SubCategories", "SELECT ID, Name FROM Category WHERE ParentID = ?1 OR ID = ?1"));
  const ProgramRun run = shop.Export({"--max-nodes", "500"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_THAT(run.err, Not(HasSubstr("stopped at the limit")));
  EXPECT_THAT(run.err, HasSubstr("Categories\\Food\\Food: Not opened again: the same record "
                                 "already appears above it\n"));
  EXPECT_THAT(ReadFile(shop.Site() / "index.html"), HasSubstr(">Apples</a>"));
}

TEST(KivdbExport, CaptionsFromTheDatabaseAreEscapedInTheIndex) {
  const Shop shop(fixture::SchemeFixture::Standard().Sql(
      "UPDATE Regions SET Name = '<script>alert(1)</script> & co' WHERE ID = 1"));
  const ProgramRun run = shop.Export({});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string index = ReadFile(shop.Site() / "index.html");
  EXPECT_THAT(index, HasSubstr("&lt;script&gt;alert(1)&lt;/script&gt; &amp; co"));
  EXPECT_THAT(index, Not(HasSubstr("<script>alert")));
}

TEST(KivdbExport, FailsWhenTheSchemesCannotBeRead) {
  const Shop shop;
  const fs::path missing = shop.folder / "missing.db";
  const ProgramRun run = RunProgram(
      KIVDB_PROGRAM,
      {"export", "--connect", "Provider=SQLite;Data Source=" + missing.string(), "--out", "site"},
      shop.folder);
  EXPECT_EQ(run.status, 1);
  EXPECT_THAT(run.err, HasSubstr("error: the schemes could not be read from the database: "
                                 "Database file not found: " +
                                 missing.string() + "; nothing was exported\n"));
  EXPECT_EQ(run.out, "");
  EXPECT_FALSE(fs::exists(shop.folder / "site" / "index.html"));
}

TEST(KivdbExport, RefusesWrongArguments) {
  const Shop shop;
  const std::string site = shop.Site().string();
  const std::string aFile = (shop.folder / "shop.db").string();
  struct Case {
    const char* name;
    std::vector<std::string> args;
    int status;
    const char* says;
  };
  const std::vector<Case> cases = {
      {"no pages wanted",
       {"--out", site, "--max-nodes", "0"},
       2,
       "error: --max-nodes must be 1 or more"},
      {"a role that is no number", {"--out", site, "--role", "chief"}, 2, "error: --role chief: "},
      {"a folder that is a file", {"--out", aFile}, 1, " is not a folder"},
      {"no folder", {}, 2, "--out"},
      {"a negative row cap", {"--out", site, "--max-rows", "-1"}, 2, "--max-rows"},
      {"a negative time limit", {"--out", site, "--query-timeout", "-1"}, 2, "--query-timeout"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> args = {"export", "--connect", shop.connect};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const ProgramRun run = RunProgram(KIVDB_PROGRAM, args, shop.folder);
    EXPECT_EQ(run.status, c.status);
    EXPECT_THAT(run.err, HasSubstr(c.says));
    EXPECT_EQ(run.out, "");
  }
}

void WriteText(const fs::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
}

// What an earlier export left, with a file of the user's beside it.
void EarlierSite(const fs::path& site) {
  fs::create_directories(site);
  WriteText(site / "index.html", "earlier index");
  WriteText(site / "page-99.htm", "a page of a larger, earlier export");
  WriteText(site / "notes.txt", "the user's own");
}

// The folders an export builds beside the site, left behind.
std::vector<std::string> Leftovers(const fs::path& site) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(site.parent_path())) {
    const std::string name = entry.path().filename().string();
    if (name.find(".new-") != std::string::npos || name.find(".old-") != std::string::npos)
      names.push_back(name);
  }
  return names;
}

TEST(KivdbExport, AWriteTheDiskRefusesStopsAtOnceAndKeepsTheEarlierSite) {
  const Shop shop;
  EarlierSite(shop.Site());
  // Only the program's own files are held small (512 bytes: a page is larger, the control's
  // scratch files are not); its messages reach err.txt through a pipe, which no limit stops.
  const std::string command =
      "cd " + ShellQuote(shop.folder.string()) + " && { trap '' XFSZ; ulimit -f 1; " +
      ShellQuote(KIVDB_PROGRAM) + " export --connect " + ShellQuote(shop.connect) + " --out " +
      ShellQuote(shop.Site().string()) +
      " --keep-going 2>&1 > out.txt; echo $? > status.txt; } | cat > err.txt";
  ASSERT_EQ(std::system(command.c_str()), 0);
  ProgramRun run;
  run.status = std::stoi(ReadFile(shop.folder / "status.txt"));
  run.out = ReadFile(shop.folder / "out.txt");
  run.err = ReadFile(shop.folder / "err.txt");
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_THAT(run.err, HasSubstr("error: cannot write "));
  EXPECT_THAT(run.err,
              HasSubstr("nothing was exported; " + shop.Site().string() + " is as it was"));
  // The walk ends at the first refusal: it would only repeat.
  EXPECT_EQ(CountOf(run.err, "Path/File access error: ") + CountOf(run.err, "Disk full: "), 1)
      << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(ReadFile(shop.Site() / "index.html"), "earlier index");
  EXPECT_TRUE(fs::exists(shop.Site() / "page-99.htm"));
  EXPECT_THAT(Leftovers(shop.Site()), ::testing::IsEmpty());
}

TEST(KivdbExport, APageWhoseReadFailsFailsTheExportOrIsMarkedWithKeepGoing) {
  const Shop shop(fixture::SchemeFixture::Standard().Query("spW_Visits", "SELECT * FROM Nowhere"));
  EarlierSite(shop.Site());
  struct Case {
    const char* name;
    std::vector<std::string> args;
    bool written;
  };
  const Case cases[] = {{"stops", {}, false}, {"keeps going", {"--keep-going"}, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ProgramRun run = shop.Export(c.args);
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_THAT(run.err,
                HasSubstr("Data Browser\\Diary: Reason: spW_Visits: no such table: Nowhere\n"));
    const std::string index = ReadFile(shop.Site() / "index.html");
    if (c.written) {
      EXPECT_THAT(
          index,
          HasSubstr(">Diary</a> <span class=\"failed\">&#9888; failed</span>"
                    "<span class=\"reason\">Failed: spW_Visits: no such table: Nowhere</span>"));
      EXPECT_THAT(index, HasSubstr("1 page lacks data: a read failed"));
      EXPECT_THAT(run.err, HasSubstr(" messages, 1 failed page\n"));
      EXPECT_EQ(run.out, (shop.Site() / "index.html").string() + "\n");
      EXPECT_FALSE(fs::exists(shop.Site() / "page-99.htm"));
    } else {
      EXPECT_EQ(index, "earlier index");
      EXPECT_THAT(run.err,
                  HasSubstr("error: Data Browser\\Diary: spW_Visits: no such table: Nowhere\n"));
      EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(ReadFile(shop.Site() / "notes.txt"), "the user's own");
    EXPECT_THAT(Leftovers(shop.Site()), ::testing::IsEmpty());
  }
}

// True once no process holds the lock beside the site.
bool LockIsFree(const fs::path& site) {
  const fs::path lock = site.parent_path() / ("." + site.filename().string() + ".lock");
  const int fd = ::open(lock.c_str(), O_RDWR);
  if (fd < 0) return false;
  const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
  ::close(fd);
  return free;
}

template <class Condition>
bool Within(std::chrono::seconds limit, Condition condition) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

TEST(KivdbExport, AKilledOrSecondExportLeavesTheEarlierSiteAsItWas) {
  // The diary's page never ends, so the first export is caught in the middle of its walk.
  const Shop shop(fixture::SchemeFixture::Standard().Query(
      "spW_Visits",
      "WITH RECURSIVE c(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM c WHERE n < 100000000000) "
      "SELECT count(*) AS Visits FROM c"));
  EarlierSite(shop.Site());
  const std::string start =
      "cd " + ShellQuote(shop.folder.string()) + " && { " + ShellQuote(KIVDB_PROGRAM) +
      " export --connect " + ShellQuote(shop.connect) + " --out " +
      ShellQuote(shop.Site().string()) + " > first.out 2> first.err & echo $! > first.pid; }";
  ASSERT_EQ(std::system(start.c_str()), 0);
  const bool midway = Within(std::chrono::seconds(30), [&] {
    for (const std::string& name : Leftovers(shop.Site())) {
      if (fs::exists(shop.Site().parent_path() / name / "page-1.htm")) return true;
    }
    return false;
  });
  const std::string pid = ReadFile(shop.folder / "first.pid");
  ASSERT_FALSE(pid.empty());
  if (!midway) std::system(("kill -9 " + pid).c_str());
  ASSERT_TRUE(midway) << ReadFile(shop.folder / "first.err");

  const ProgramRun second = shop.Export({"--query-timeout", "1"});
  EXPECT_EQ(second.status, 1);
  EXPECT_THAT(second.err, HasSubstr("another export into " + shop.Site().string() + " is running"));

  ASSERT_EQ(std::system(("kill -9 " + pid).c_str()), 0);
  ASSERT_TRUE(Within(std::chrono::seconds(10), [&] { return LockIsFree(shop.Site()); }));
  EXPECT_EQ(ReadFile(shop.Site() / "index.html"), "earlier index");
  EXPECT_TRUE(fs::exists(shop.Site() / "page-99.htm"));

  // The next export clears what the killed one left and replaces the site whole.
  const ProgramRun next = shop.Export({"--query-timeout", "1", "--keep-going"});
  EXPECT_EQ(next.status, 1) << next.err;
  EXPECT_THAT(ReadFile(shop.Site() / "index.html"),
              HasSubstr("Failed: The query timed out after 1 s"));
  EXPECT_FALSE(fs::exists(shop.Site() / "page-99.htm"));
  EXPECT_EQ(ReadFile(shop.Site() / "notes.txt"), "the user's own");
  EXPECT_THAT(Leftovers(shop.Site()), ::testing::IsEmpty());
}

}  // namespace
}  // namespace kivdb::testing
