// The injection suite: the hostile shop exported with `kivdb export` from SQLite and from
// PostgreSQL, every page opened in headless Chromium with a sentinel. No script from the data may
// run, no element from the data may appear (each report table keeps the rows and cells of the
// data), no link may lead to a script address; the canary table survives the SQL written into
// captions and keys, and each Text or CKey page shows exactly its own record.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>

#include <kivdb/dal.h>
#include "tests/control/core/control_harness.h"
#include "tests/hostile/hostile_site.h"

namespace kivdb::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using testing_support::Engine;

// The rows and cells of the tables of a value page, in page order, as the data make them: the
// card (4 fields, a row each), the cell table (a heading and one record of 3 shown fields), the
// chart of one bar, the thumbnail grid of one picture.
constexpr const char* kValuePageTables = "TBL:4:8 TBL:2:6 CGR:4:6 TBL:1:1";

// The whole numbers in the number cells of the report tables ("1,003" reads 1003).
std::vector<long> Numbers(const std::string& cells) {
  std::vector<long> numbers;
  size_t start = 0;
  while (start <= cells.size()) {
    size_t stop = cells.find(' ', start);
    if (stop == std::string::npos) stop = cells.size();
    std::string digits;
    bool number = stop > start;
    for (size_t i = start; i < stop; ++i) {
      if (cells[i] >= '0' && cells[i] <= '9') {
        digits += cells[i];
      } else if (cells[i] != ',') {
        number = false;
      }
    }
    if (number && !digits.empty()) numbers.push_back(std::stol(digits));
    start = stop + 1;
  }
  return numbers;
}

// The text without blanks and control characters.
std::string Printable(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (static_cast<unsigned char>(c) > 0x20) out += c;
  }
  return out;
}

struct Site {
  std::unique_ptr<HostileExport> exported;
  std::map<fs::path, Seen> seen;  // every page of the site, the index and the front page too
};

class Injection : public ::testing::TestWithParam<Engine> {
 protected:
  // The site of the engine under test, exported and checked once for all its tests.
  static std::map<Engine, Site>& Sites() {
    static std::map<Engine, Site> sites;
    return sites;
  }
  // The PostgreSQL schema goes while the ODBC driver is still there, not at the program's exit.
  static void TearDownTestSuite() { Sites().clear(); }

  static Site& SiteOf(Engine engine) {
    std::map<Engine, Site>& sites = Sites();
    auto found = sites.find(engine);
    if (found != sites.end()) return found->second;
    Site& site = sites[engine];
    site.exported = ExportHostile(engine);
    if (site.exported->run.status != 0) return site;
    std::vector<fs::path> pages = {site.exported->site / "index.html",
                                   site.exported->site / "fp.htm"};
    for (const auto& [number, page] : PageFiles(site.exported->site)) pages.push_back(page);
    site.seen = CheckInChromium(pages);
    return site;
  }

  void SetUp() override {
    const Site& site = SiteOf(GetParam());
    ASSERT_EQ(site.exported->run.status, 0) << site.exported->run.err;
  }

  const Site& site() const { return SiteOf(GetParam()); }

  // The pages whose number cells name records of the range starting at `base`, by record.
  std::map<long, std::vector<fs::path>> PagesOfRange(long base) const {
    std::map<long, std::vector<fs::path>> pages;
    for (const auto& [page, seen] : site().seen) {
      if (!seen.count("numbers")) continue;
      for (const long n : Numbers(seen.at("numbers"))) {
        if (n >= base && n < base + 1000) pages[n - base].push_back(page);
      }
    }
    return pages;
  }
};

TEST(Sentinel, SeesScriptsElementsAndScriptAddressesOfAFaultyPage) {
  // A check that cannot fail proves nothing: a page with every fault must show them all.
  const fs::path folder = FreshFolder() / "site";
  fs::create_directories(folder);
  const fs::path page = folder / "faulty.htm";
  std::ofstream(page) << "<html><head><title>faulty</title></head><body>"
                         "<table id='TBL001'><tr><td class=tdr>1,234</td><td>x</td></tr></table>"
                         "<script>kivdbhit('script')</script><img src=x onerror=kivdbhit('img')>"
                         "<svg></svg><a href='javascript:void(0)'>x</a>"
                         "<a href='data:text/html,x'>y</a></body></html>";
  const std::map<fs::path, Seen> checked = CheckInChromium({page});
  ASSERT_EQ(checked.count(page), 1u);
  const Seen& seen = checked.at(page);
  EXPECT_EQ(seen.at("hits"), "script img");
  EXPECT_EQ(seen.at("foreign"), "svg");
  EXPECT_EQ(seen.at("handlers"), "1");
  EXPECT_EQ(seen.at("scripts"), "1");
  EXPECT_THAT(seen.at("badLinks"), ::testing::HasSubstr("javascript:void(0)"));
  EXPECT_THAT(seen.at("badLinks"), ::testing::HasSubstr("data:text/html"));
  EXPECT_EQ(seen.at("tables"), "TBL:1:2");
  EXPECT_THAT(Numbers(seen.at("numbers")), ElementsAre(1234));
}

TEST_P(Injection, TheCanaryAndEveryRecordSurviveTheExport) {
  DAL dal;
  dal.ConnectionString(site().exported->connect);
  EXPECT_EQ(dal.ReadValue("SELECT COUNT(*) FROM canary").ToText(), "1") << dal.LastError();
  EXPECT_EQ(dal.ReadValue("SELECT COUNT(*) FROM Names").ToText(),
            std::to_string(InjectedCaptions().size()));
  EXPECT_EQ(dal.ReadValue("SELECT COUNT(*) FROM Codes").ToText(),
            std::to_string(InjectedKeys().size()));
}

TEST_P(Injection, NoPageRunsAScriptShowsAnElementOrLinksToAScriptFromTheData) {
  ASSERT_GE(site().seen.size(), 3u);
  for (const auto& [page, seen] : site().seen) {
    SCOPED_TRACE(page.filename().string());
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.at("hits"), "");
    EXPECT_EQ(seen.at("scriptErrors"), "");
    EXPECT_EQ(seen.at("foreign"), "");
    EXPECT_EQ(seen.at("handlers"), "0");
    // The index has one script of its own; report pages have none.
    EXPECT_EQ(seen.at("scripts"), page.filename() == "index.html" ? "1" : "0");
    EXPECT_EQ(seen.at("badLinks"), "");
  }
}

TEST_P(Injection, EveryValuePageHasTheRowsAndCellsOfItsData) {
  const std::map<long, std::vector<fs::path>> pages = PagesOfRange(kValueBase);
  const std::vector<HostileText>& texts = HostileTexts();
  for (size_t i = 0; i < texts.size(); ++i) {
    SCOPED_TRACE(texts[i].name);
    const auto found = pages.find(static_cast<long>(i));
    if (IsPostgresEngine(GetParam()) && !texts[i].portable) {
      // A PostgreSQL text holds no NUL byte and no invalid UTF-8: the value was not stored.
      EXPECT_EQ(found, pages.end());
      continue;
    }
    ASSERT_NE(found, pages.end()) << "no page shows the record";
    ASSERT_EQ(found->second.size(), 1u);
    const Seen& seen = site().seen.at(found->second.front());
    EXPECT_EQ(seen.at("tables"), kValuePageTables);
    EXPECT_THAT(Numbers(seen.at("numbers")), ElementsAre(kValueBase + static_cast<long>(i)));
    // The heading is the caption, shown as text (a title keeps no NUL, no invalid bytes and no
    // control characters, and joins blanks).
    if (texts[i].portable) {
      EXPECT_EQ(Printable(seen.at("title")), Printable(texts[i].text));
    }
  }
}

TEST_P(Injection, EachTextAndCKeyPageShowsExactlyItsOwnRecord) {
  struct Range {
    const char* kind;
    long base;
    const std::vector<std::string>& captions;
  };
  std::vector<std::string> keyCaptions;
  for (size_t i = 0; i < InjectedKeys().size(); ++i)
    keyCaptions.push_back("code " + std::to_string(i));
  for (const Range& range :
       {Range{"Text", kCaptionBase, InjectedCaptions()}, Range{"CKey", kKeyBase, keyCaptions}}) {
    const std::map<long, std::vector<fs::path>> pages = PagesOfRange(range.base);
    ASSERT_EQ(pages.size(), range.captions.size()) << range.kind;
    for (const auto& [record, shownOn] : pages) {
      SCOPED_TRACE(std::string(range.kind) + " " + range.captions.at(static_cast<size_t>(record)));
      ASSERT_EQ(shownOn.size(), 1u);
      const Seen& seen = site().seen.at(shownOn.front());
      EXPECT_EQ(seen.at("tables"), "TBL:2:4");
      EXPECT_THAT(Numbers(seen.at("numbers")), ElementsAre(range.base + record));
      EXPECT_EQ(seen.at("title"), range.captions.at(static_cast<size_t>(record)));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Engines, Injection, KIVDB_ENGINES, testing_support::EngineName);

}  // namespace
}  // namespace kivdb::testing
