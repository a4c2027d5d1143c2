// Browser events and page commands: form links become LogIt and OpenForm and are cancelled,
// other navigations pass; SavePage and PrintPage use the browser's commands and report refusals.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "control/core/browser_events.h"
#include "tests/control/core/control_harness.h"

namespace kivdb::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(FormLink, PartsAreReadFromTheFirstMark) {
  struct Case {
    const char* url;
    bool found;
    const char* form;
    const char* id;
  };
  const Case cases[] = {
      {"^000030000000042", true, "00003", "0000000042"},
      {"file:///shop/^000120000000005", true, "00012", "0000000005"},
      {"^00012ALFKI", true, "00012", "ALFKI"},
      {"^0001", true, "0001", ""},
      {"^", true, "", ""},
      {"^00003^00004", true, "00003", "^00004"},
      {"about:blank", false, "", ""},
      {"/shop/oReport.htm", false, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    const std::optional<FormLinkParts> parts = ParseFormLink(c.url);
    ASSERT_EQ(parts.has_value(), c.found);
    if (!parts) continue;
    EXPECT_EQ(parts->form, c.form);
    EXPECT_EQ(parts->id, c.id);
  }
}

class FollowLink : public EngineTest {};
class PageCommands : public EngineTest {};

TEST_P(FollowLink, ARecordLinkOnAPageOpensTheFormInsteadOfNavigating) {
  ControlHarness h(GetParam());
  h.control.RefreshBrowser();
  h.Click("Data Browser\\Regions");
  h.Click("Data Browser\\Regions\\North");
  h.TakeEvents();
  // The link the header paragraph wrote for customer 7 on form 3.
  EXPECT_FALSE(h.browser.ClickLink("^000030000000007"));
  EXPECT_THAT(h.TakeEvents(), ElementsAre("LogIt: Form: Form #:00003,  ID=0000000007",
                                          "OpenForm: 00003 0000000007"));
  EXPECT_EQ(h.browser.Current(), h.ReportFile().string());
}

// These two read no data, so one engine is enough.
TEST(NavigationEvents, OrdinaryNavigationsRaiseNothing) {
  ControlHarness h;
  for (const char* url : {"about:blank", "/shop/oReport.htm", "http://example.org/x.htm"}) {
    SCOPED_TRACE(url);
    EXPECT_FALSE(h.browser.RaiseBeforeNavigate2(url));
    EXPECT_THAT(h.TakeEvents(), IsEmpty());
  }
}

TEST(NavigationEvents, AFailingHostHandlerLeavesTheNavigationAlone) {
  ControlHarness h;
  h.control.OnOpenForm(
      [](const std::string&, const std::string&) { throw std::runtime_error("no form"); });
  EXPECT_FALSE(h.browser.RaiseBeforeNavigate2("^000030000000042"));
  EXPECT_THAT(h.TakeEvents(), ElementsAre("LogIt: Form: Form #:00003,  ID=0000000042"));
}

TEST_P(PageCommands, SaveAndPrintCopyTheShownPageAndLogThePath) {
  ControlHarness h(GetParam());
  h.control.RefreshBrowser();
  h.Click("Data Browser\\Diary");
  h.TakeEvents();
  h.browser.SetSaveTarget((h.folder / "saved.htm").string());
  h.browser.SetPrintTarget((h.folder / "printed.htm").string());
  h.control.SavePage();
  h.control.PrintPage();
  EXPECT_THAT(h.TakeEvents(),
              ElementsAre("LogIt: Save: Data Browser\\Diary", "LogIt: Print: Data Browser\\Diary"));
  EXPECT_EQ(ReadFile(h.folder / "saved.htm"), ReadFile(h.ReportFile()));
  EXPECT_EQ(ReadFile(h.folder / "printed.htm"), ReadFile(h.ReportFile()));
}

TEST_P(PageCommands, RefusalsAreReportedEvenWhenSilent) {
  ControlHarness h(GetParam());
  h.control.RefreshBrowser();  // the front page is shown, but no target was chosen
  h.TakeEvents();
  h.control.SavePage();
  h.control.PrintPage();
  EXPECT_THAT(h.TakeEvents(),
              ElementsAre("KivDBMessage: Save Command Error: The command was cancelled",
                          "KivDBMessage: Print Command Error: The command was cancelled"));

  KivDB unbound;
  std::vector<std::string> messages;
  unbound.OnKivDBMessage([&](const std::string& text) { messages.push_back(text); });
  unbound.SavePage();
  EXPECT_THAT(messages,
              ElementsAre("Save Command Error: Object variable or With block variable not set"));
}

KIVDB_ON_BOTH_ENGINES(FollowLink);
KIVDB_ON_BOTH_ENGINES(PageCommands);

}  // namespace
}  // namespace kivdb::testing
