// `kivdb export` run as a script runs it, on the demo database and on the shop of the control's
// tests: what the site folder holds afterwards, and what the program says.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>

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
  EXPECT_THAT(run.err, HasSubstr("error: the schemes could not be read from the database; "
                                 "nothing was exported\n"));
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
      {"a folder that is a file", {"--out", aFile}, 1, "error: cannot create the folder "},
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

TEST(KivdbExport, AFileTheDiskRefusesEndsTheExportNamingIt) {
  struct Case {
    const char* link;   // the file in the site that leads to a full disk
    const char* named;  // the file the error names
  };
  const Case cases[] = {
      {"fp.htm", "fp.htm"},                  // the control's front page
      {"oReport.htm", "oReport.htm"},        // the control's report page
      {"page-1.htm", "page-1.htm"},          // the first page kept
      {"index.html.writing", "index.html"},  // the index, before it is renamed into place
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.link);
    const Shop shop;
    fs::create_directories(shop.Site());
    testing_support::FullDiskLink(shop.Site() / c.link);
    const ProgramRun run = shop.Export({});
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_THAT(run.err, HasSubstr("error: cannot write " + (shop.Site() / c.named).string()));
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(fs::exists(shop.Site() / "index.html"));
  }
}

}  // namespace
}  // namespace kivdb::testing
