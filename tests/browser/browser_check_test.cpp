// The exported demo in a real browser: headless Chromium loads copies of the pages with a small
// script added, which clicks what a reader would click and writes down what it saw; the test reads
// that from the page's final DOM (--dump-dom). It checks that the pages load without script
// errors or missing pictures, that a chart opens from its icon and closes from its caption, and
// that chapters unfold from a plus icon and all at once from "Display All".

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <map>

#include "tests/control/core/control_harness.h"
#include "tests/tools/program_run.h"

namespace kivdb::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using Seen = std::map<std::string, std::string>;

std::string Chromium() {
  const char* chosen = std::getenv("KIVDB_CHROMIUM");
  return chosen && *chosen ? chosen : "/usr/bin/chromium";
}

// Text of the DOM dump back to the characters the script wrote.
std::string Unescape(std::string text) {
  const std::pair<const char*, const char*> entities[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#39;", "'"}, {"&amp;", "&"}};
  for (const auto& [entity, character] : entities) {
    for (size_t at = text.find(entity); at != std::string::npos; at = text.find(entity, at + 1)) {
      text.replace(at, std::string(entity).size(), character);
    }
  }
  return text;
}

// Loads a copy of `page` with the error listener first in its head and the check script at its
// end, and returns the check's lines as name -> value. Fails the test, returning nothing, when
// the browser wrote no check.
Seen Check(const fs::path& page) {
  static std::atomic<int> runs{0};
  const int run = ++runs;
  std::string html = ReadFile(page);
  const std::string hook =
      "<script>" + ReadFile(KIVDB_BROWSER_SOURCE "/error_hook.js") + "</script>";
  size_t head = std::string::npos;
  for (const char* tag : {"<head>", "<HEAD>"}) head = std::min(head, html.find(tag));
  if (head == std::string::npos) {
    ADD_FAILURE() << page << " has no head";
    return {};
  }
  html.insert(head + 6, hook);
  html += "<script>" + ReadFile(KIVDB_BROWSER_SOURCE "/page_check.js") + "</script>";
  const fs::path copy = page.parent_path() / ("check-" + page.filename().string());
  std::ofstream(copy, std::ios::binary) << html;

  const fs::path work = page.parent_path().parent_path();
  const fs::path profile = work / ("chromium-profile-" + std::to_string(run));
  const fs::path dump = work / ("dom-" + std::to_string(run) + ".html");
  const std::string command =
      "timeout 120 " + ShellQuote(Chromium()) +
      " --headless --no-sandbox --disable-gpu --disable-quic --no-first-run"
      " --disable-background-networking --disable-component-update --disable-sync"
      " --user-data-dir=" +
      ShellQuote(profile.string()) + " --dump-dom " + ShellQuote("file://" + copy.string()) +
      " > " + ShellQuote(dump.string()) + " 2> " +
      ShellQuote((work / ("chromium-" + std::to_string(run) + ".log")).string());
  const int status = std::system(command.c_str());
  std::error_code error;
  fs::remove_all(profile, error);

  const std::string dom = ReadFile(dump);
  const std::string open = "<pre id=\"kivdb-check\">";
  const size_t begin = dom.find(open);
  const size_t end = dom.find("</pre>", begin);
  if (begin == std::string::npos || end == std::string::npos) {
    ADD_FAILURE() << "Chromium (status " << status << ") wrote no check for " << page
                  << "; its log is beside " << dump;
    return {};
  }
  Seen seen;
  const std::string text = Unescape(dom.substr(begin + open.size(), end - begin - open.size()));
  size_t start = 0;
  while (start < text.size()) {
    size_t stop = text.find('\n', start);
    if (stop == std::string::npos) stop = text.size();
    const std::string line = text.substr(start, stop - start);
    const size_t equals = line.find('=');
    if (equals != std::string::npos) seen[line.substr(0, equals)] = line.substr(equals + 1);
    start = stop + 1;
  }
  return seen;
}

class BrowserCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fs::exists(Chromium()))
        << Chromium() << " is missing: scripts/install-deps installs Chromium";
    ASSERT_EQ(Demo().run.status, 0) << Demo().run.err;
  }

  // The demo, exported once for every test of the suite.
  static const DemoExport& Demo() {
    static const DemoExport demo = ExportDemo({"--role", "1", "--heading", "Kestrel Trading"});
    return demo;
  }

  // The first page of the site whose text holds `marker`, or the empty path.
  static fs::path PageWith(const std::string& marker) {
    for (const auto& [number, file] : PageFiles(Demo().site)) {
      if (ReadFile(file).find(marker) != std::string::npos) return file;
    }
    ADD_FAILURE() << "no page holds " << marker;
    return {};
  }

  // Each page is loaded once; the tests share what was seen.
  static const Seen& Loaded(const fs::path& page) {
    static std::map<fs::path, Seen> cache;
    auto found = cache.find(page);
    if (found == cache.end()) found = cache.emplace(page, Check(page)).first;
    return found->second;
  }
};

TEST_F(BrowserCheck, TheCheckSeesScriptErrorsAndMissingPictures) {
  // A check that cannot fail proves nothing: a page with both faults must show them.
  const fs::path page = Demo().site / "faulty.htm";
  std::ofstream(page) << "<html><head><title>faulty</title></head><body>"
                         "<img src='missing.gif'><script>noSuchFunction();</script></body></html>";
  const Seen seen = Check(page);
  EXPECT_THAT(seen.at("errors"), HasSubstr("noSuchFunction"));
  EXPECT_THAT(seen.at("broken"), HasSubstr("missing.gif"));
}

TEST_F(BrowserCheck, EveryKindOfPageLoadsWithoutErrorsOrMissingPictures) {
  struct Page {
    const char* kind;
    fs::path file;
    bool pictures;
  };
  const std::vector<Page> pages = {
      {"the index", Demo().site / "index.html", false},
      {"the front page", Demo().site / "fp.htm", true},
      {"charts, a header card and totals", PageWith("<img id='CTL"), true},
      {"chapters", PageWith("id=DISPALL"), true},
      {"an image header", PageWith("-pic1' WIDTH=100%>"), true},
      {"thumbnails beside their text", PageWith("% rowspan="), true},
      {"thumbnails above their text", PageWith("align=center ><IMG SRC='products/"), true},
  };
  for (const Page& page : pages) {
    SCOPED_TRACE(std::string(page.kind) + ": " + page.file.filename().string());
    const Seen& seen = Loaded(page.file);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.at("errors"), "");
    EXPECT_EQ(seen.at("broken"), "");
    if (page.pictures) {
      EXPECT_NE(seen.at("images"), "0");
    }
  }
}

TEST_F(BrowserCheck, AChartOpensFromItsIconAndClosesFromItsCaption) {
  const Seen& seen = Loaded(PageWith("<img id='CTL"));
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.at("chartBefore"), "none");
  EXPECT_EQ(seen.at("chartAfterIcon"), "table");
  EXPECT_EQ(seen.at("chartAfterCaption"), "none");
}

TEST_F(BrowserCheck, ChaptersUnfoldFromAPlusIconAndAllAtOnceFromDisplayAll) {
  const Seen& seen = Loaded(PageWith("id=DISPALL"));
  ASSERT_FALSE(seen.empty());
  ASSERT_THAT(seen.at("plus"), Not(IsEmpty()));
  EXPECT_EQ(seen.at("boxBefore"), "none");
  EXPECT_EQ(seen.at("boxAfter"), "block");
  EXPECT_EQ(seen.at("rowBefore"), "none");
  EXPECT_EQ(seen.at("rowAfter"), "table-row");
  EXPECT_NE(seen.at("chapters"), "0");
  EXPECT_NE(seen.at("hiddenBefore"), "0");
  EXPECT_EQ(seen.at("hiddenAfter"), "0");
  EXPECT_EQ(seen.at("displayAllLabel"), "Fold All");
}

TEST_F(BrowserCheck, TheIndexShowsTheTreeBesideTheFrontPage) {
  const Seen& seen = Loaded(Demo().site / "index.html");
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.at("title"), "Kestrel Trading");
  EXPECT_EQ(seen.at("frame"), "fp.htm");
  EXPECT_EQ(seen.at("links"), std::to_string(PageFiles(Demo().site).size() + 1));
}

}  // namespace
}  // namespace kivdb::testing
