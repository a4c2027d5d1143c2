// The in-memory browser passes every navigation through BeforeNavigate2 and answers save and
// print with copies of the shown page.

#include <kivdb/memory_browser.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <kivdb/error.h>
#include "tests/control/core/control_harness.h"

namespace kivdb {
namespace {

using ::testing::ElementsAre;

TEST(MemoryBrowser, CancelledNavigationsDoNotHappen) {
  MemoryBrowser browser;
  std::vector<std::string> seen;
  browser.SetBeforeNavigateHandler([&](const std::string& url, bool& cancel) {
    seen.push_back(url);
    cancel = url.find("stop") != std::string::npos;
  });
  browser.Navigate("a.htm");
  browser.Navigate("stop.htm");
  EXPECT_TRUE(browser.ClickLink("b.htm"));
  EXPECT_FALSE(browser.ClickLink("stop-too.htm"));
  EXPECT_THAT(seen, ElementsAre("a.htm", "stop.htm", "b.htm", "stop-too.htm"));
  EXPECT_THAT(browser.History(), ElementsAre("a.htm", "b.htm"));
  EXPECT_EQ(browser.Current(), "b.htm");
}

TEST(MemoryBrowser, CommandsCopyTheShownPageOrFailWithANumber) {
  const auto folder = testing::FreshFolder();
  const std::string page = (folder / "page.htm").string();
  std::ofstream(page) << "<p>x</p>\r\n";

  struct Case {
    const char* name;
    std::string shown;
    int command;
    std::string target;
    long error;
  };
  const Case cases[] = {
      {"save", page, browser_command::kSaveAs, (folder / "s.htm").string(), 0},
      {"print", page, browser_command::kPrint, (folder / "p.htm").string(), 0},
      {"nothing shown", "", browser_command::kSaveAs, (folder / "x.htm").string(), 5},
      {"blank page", "about:blank", browser_command::kPrint, (folder / "x.htm").string(), 5},
      {"prompt cancelled", page, browser_command::kSaveAs, "", 5},
      {"unknown command", page, 99, (folder / "x.htm").string(), 5},
      {"target unwritable", page, browser_command::kSaveAs, (folder / "no" / "x.htm").string(), 75},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryBrowser browser;
    if (!c.shown.empty()) browser.Navigate(c.shown);
    browser.SetSaveTarget(c.target);
    browser.SetPrintTarget(c.target);
    long error = 0;
    try {
      browser.ExecWB(c.command, browser_command::kPromptUser);
    } catch (const Error& e) {
      error = e.Number();
    }
    EXPECT_EQ(error, c.error);
    if (c.error == 0) {
      EXPECT_EQ(testing::ReadFile(c.target), "<p>x</p>\r\n");
    }
  }
}

}  // namespace
}  // namespace kivdb
