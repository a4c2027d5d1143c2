// Report pages end to end: the head with its markers, the paragraphs in seqNo order through their
// renderers (the H and S examples line for line), parameters, the path line, and the failures of
// reads and of the page file.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/control/core/control_harness.h"

namespace kivdb::testing {
namespace {

using fixture::kNull;
using fixture::SchemeFixture;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr const char* kHead =
    "<HTML><HEAD><TITLE>%s</TITLE><STYLE>.pgl{text-align:left} .pgr{text-align:right}</STYLE>"
    "</HEAD><BODY><DIV><table width=100%%><tr><td class=pgl>%s</td><td class=pgr>%s</td></table>"
    "<p class=mh>%s";

std::string Head(const std::string& caption, const std::string& store = "",
                 const std::string& date = "2004-03-05") {
  char buffer[1024];
  std::snprintf(buffer, sizeof buffer, kHead, caption.c_str(), store.c_str(), date.c_str(),
                caption.c_str());
  return buffer;
}

std::vector<std::string> PageOf(ControlHarness& h, const std::string& path) {
  h.TakeEvents();
  EXPECT_TRUE(h.Click(path));
  return PageLines(h.ReportFile());
}

class Page : public EngineTest {};

TEST_P(Page, RegionPageReproducesTheHeaderAndTableExamplesInSeqNoOrder) {
  ControlHarness h(GetParam());
  h.control.RefreshBrowser();
  h.Click("Data Browser\\Regions");
  EXPECT_THAT(
      PageOf(h, "Data Browser\\Regions\\North"),
      ElementsAre(
          Head("North"),
          "<p id='TTL012' class=ph><img src='circle.gif'>  Customer: North<table id='TBL012' "
          "border=1 width=100%><tr><td class=hn>ID: </td><td class=hvr><a "
          "href='^000030000000007'>Click here . . .</a></td><tr><td class=hn>Name: </td><td "
          "class=hvl>Smith</td><tr><td class=hn>Balance: </td><td class=hvr>1,234.50</td>"
          "</table><br>",
          "<p id='TTL005' class=ph><img src='circle.gif'>  Orders<table id='TBL005' border=1 "
          "width=100%><tr><td class=thc>Item</td><td class=thc>Qty</td><td class=thc>Amount</td>",
          "<tr><td class=tdl>Pen</td><td class=tdr>2</td><td class=tdr>10.50</td>",
          "<tr><td class=tdl>Ink</td><td class=tdr>3</td><td class=tdr>.</td>",
          "<tr><td class=tfl>Total:</td><td class=tfr>5</td><td "
          "class=tfr>10.50</td></table><br><br>",
          "<p id='TTL013' class=ph><img src='circle.gif'>  Customers in : North<table id='TBL013' "
          "border=1 width=100%><tr><td class=thc>Name</td>",
          "<tr><td class=tdl>Smith</td>", "</table><br><br>", "</DIV></BODY></HTML>"));
  EXPECT_THAT(h.TakeEvents(),
              ElementsAre("Navigate: about:blank", "Navigate: " + h.ReportFile().string(),
                          "LogIt: View: Data Browser\\Regions\\North"));
  EXPECT_EQ(h.tree.ProcessEventsCount(), 2);  // one yield per page built
}

TEST_P(Page, QuotesInATextParameterAreDoubledAndCaptionsEscaped) {
  ControlHarness h(GetParam(),
                   SchemeFixture::Standard().Sql("INSERT INTO Regions VALUES (4, 'A<B & \"C\"')"));
  h.control.RefreshBrowser();
  h.Click("Data Browser\\Regions");
  const std::vector<std::string> page = PageOf(h, "Data Browser\\Regions\\O'Brien Isles");
  ASSERT_EQ(page.size(), 6u) << ReadFile(h.ReportFile());
  EXPECT_EQ(page[0], Head("O&#39;Brien Isles"));
  EXPECT_THAT(page[2], HasSubstr("Customers in : O&#39;Brien Isles<table"));
  EXPECT_EQ(page[3], "<tr><td class=tdl>Lee</td>");

  const std::vector<std::string> odd = PageOf(h, "Data Browser\\Regions\\A<B & \"C\"");
  EXPECT_EQ(odd[0], Head("A&lt;B &amp; &quot;C&quot;"));
}

TEST_P(Page, HeadingIsFixedIntoTheHeadByTheFirstPageUntilTheNextRefresh) {
  ControlHarness h(GetParam());
  h.control.Heading(Variant("Shop One"));
  h.control.DateFormat("dd mmm yyyy");
  h.control.RefreshBrowser();
  h.Click("Data Browser\\Regions");
  EXPECT_EQ(PageLines(h.ReportFile())[0], Head("Regions", "Shop One", "05 Mar 2004"));

  h.control.Heading(Variant("Shop Two"));
  h.Click("Data Browser\\Diary");
  EXPECT_EQ(PageLines(h.ReportFile())[0], Head("Diary", "Shop One", "05 Mar 2004"));

  h.control.RefreshBrowser();
  h.Click("Data Browser\\Diary");
  EXPECT_EQ(PageLines(h.ReportFile())[0], Head("Diary", "Shop Two", "05 Mar 2004"));
}

TEST_P(Page, NodeWithoutParagraphsHasHeadPathAndEndOnly) {
  ControlHarness h(GetParam());
  h.control.DisplayPath(true);
  h.control.RefreshBrowser();
  EXPECT_THAT(PageOf(h, "Data Browser\\Regions"),
              ElementsAre(Head("Regions"), "<br><br><p class=pgl>Data Browser\\Regions",
                          "</DIV></BODY></HTML>"));
  EXPECT_EQ(h.TakeEvents().back(), "LogIt: View: Data Browser\\Regions");
}

TEST_P(Page, PathLineIsEscapedAndUsesTheTreesSeparator) {
  ControlHarness h(GetParam(), SchemeFixture::Standard().Nav({9, "Diary <&>", "N", 1}));
  h.tree.SetPathSeparator("/");
  h.control.DisplayPath(true);
  h.control.RefreshBrowser();
  const std::vector<std::string> page = PageOf(h, "Data Browser/Diary <&>");
  EXPECT_EQ(page[page.size() - 2], "<br><br><p class=pgl>Data Browser/Diary &lt;&amp;&gt;");
  EXPECT_EQ(h.TakeEvents().back(), "LogIt: View: Data Browser/Diary <&>");
}

TEST_P(Page, ExecuteOnlyParagraphRunsBeforeTheNextAndTodayIsPassed) {
  ControlHarness h(GetParam());
  h.control.RefreshBrowser();
  for (const char* visits : {"1", "2"}) {
    SCOPED_TRACE(visits);
    EXPECT_THAT(
        PageOf(h, "Data Browser\\Diary"),
        ElementsAre(Head("Diary"),
                    "<p id='TTL041' class=ph><img src='circle.gif'>  Visits<table id='TBL041' "
                    "border=1 width=100%><tr><td class=thc>Visits</td>",
                    std::string("<tr><td class=tdr>") + visits + "</td>", "</table><br><br>",
                    "<p id='TTL042' class=ph><img src='circle.gif'>  Today<table id='TBL042' "
                    "border=1 width=100%><tr><td class=thc>Today</td>",
                    "<tr><td class=tdl>05 Mar 2004</td>", "</table><br><br>",
                    "</DIV></BODY></HTML>"));
  }
}

TEST_P(Page, CharacterKeyParameterReachesTheQuery) {
  ControlHarness h(GetParam());
  h.control.RefreshBrowser();
  h.Click("Data Browser\\Suppliers");
  EXPECT_THAT(PageOf(h, "Data Browser\\Suppliers\\Bon app'"),
              ElementsAre(Head("Bon app&#39;"),
                          "<p id='TTL050' class=ph><img src='circle.gif'>  Supplier<table "
                          "id='TBL050' border=1 width=100%><tr><td class=hn>Code: </td><td "
                          "class=hvl>BONAP</td><tr><td class=hn>Name: </td><td class=hvl>Bon "
                          "app&#39;</td></table><br>",
                          "</DIV></BODY></HTML>"));
}

// SQLite keeps these columns as text and PostgreSQL as dates; both must read back as dates.
TEST_P(Page, DateAndTimestampColumnsAreShownInTheDateFormat) {
  ControlHarness h(
      GetParam(),
      SchemeFixture::Standard()
          .Nav({12, "Deliveries", "N", 1})
          .Web({60, 12, 1, "Deliveries", "spW_Deliveries", kNull, "S", kNull, kNull})
          .Sql("CREATE TABLE Deliveries (ID INTEGER PRIMARY KEY, Item TEXT, Due DATETIME, "
               "Shipped DATE)")
          .Sql("INSERT INTO Deliveries VALUES (1, 'Pen', '2004-03-05 10:30:00', '2004-02-29'), "
               "(2, 'Ink', NULL, NULL)")
          .Query("spW_Deliveries", "SELECT ID, Item, Due, Shipped FROM Deliveries ORDER BY ID"));
  h.control.DateFormat("dd mmm yyyy hh:nn");
  h.control.RefreshBrowser();
  EXPECT_THAT(PageOf(h, "Data Browser\\Deliveries"),
              ElementsAre(Head("Deliveries", "", "05 Mar 2004 00:00"),
                          "<p id='TTL060' class=ph><img src='circle.gif'>  Deliveries<table "
                          "id='TBL060' border=1 width=100%><tr><td class=thc>Item</td><td "
                          "class=thc>Due</td><td class=thc>Shipped</td>",
                          "<tr><td class=tdl>Pen</td><td class=tdr>05 Mar 2004 10:30</td><td "
                          "class=tdr>29 Feb 2004 00:00</td>",
                          "<tr><td class=tdl>Ink</td><td class=tdr>.</td><td class=tdr>.</td>",
                          "</table><br><br>", "</DIV></BODY></HTML>"));
}

TEST_P(Page, ParagraphsAreSkippedWithoutQueryAndRenderedInAnyCaseOfType) {
  ControlHarness h(GetParam(),
                   SchemeFixture::Standard()
                       .Web({41, 9, 2, "Visits", "spW_Visits", kNull, "s", kNull, kNull})
                       .Web({42, 9, 3, "Today", kNull, "Today", "S", kNull, kNull})
                       .Web({40, 9, 1, kNull, "", kNull, "E", kNull, kNull})
                       .Web({43, 9, 4, "Later", "spW_Visits", kNull, "C", kNull, kNull}));
  h.control.RefreshBrowser();
  // No visit is logged (the E row has no query); the C row runs its query and writes nothing.
  EXPECT_THAT(PageOf(h, "Data Browser\\Diary"),
              ElementsAre(Head("Diary"),
                          "<p id='TTL041' class=ph><img src='circle.gif'>  Visits<table "
                          "id='TBL041' border=1 width=100%><tr><td class=thc>Visits</td>",
                          "<tr><td class=tdr>0</td>", "</table><br><br>", "</DIV></BODY></HTML>"));
}

TEST_P(Page, FailedParagraphQueryIsReportedAndThePageGoesOn) {
  for (const bool talking : {false, true}) {
    SCOPED_TRACE(talking ? "talking" : "silent");
    ControlHarness h(GetParam(), SchemeFixture::Standard().Web({41, 9, 2, "Visits", "spW_Nothing",
                                                                kNull, "S", kNull, kNull}));
    h.control.Talking(talking);
    h.control.RefreshBrowser();
    const std::vector<std::string> page = PageOf(h, "Data Browser\\Diary");
    EXPECT_EQ(page.size(), 5u);  // head, the Today table, end
    EXPECT_THAT(page[1], HasSubstr("TTL042"));
    std::vector<::testing::Matcher<std::string>> expected;
    expected.push_back("Navigate: about:blank");
    if (talking) {
      expected.push_back("KivDBMessage: Unable to Access Data for the SQL : EXEC spW_Nothing ");
      expected.push_back(::testing::MatchesRegex("KivDBMessage: Reason: .+"));
    }
    expected.push_back("KivDBMessage: Error Reading Data From Database");
    if (talking) {
      expected.push_back("KivDBMessage: Error: 91, Object variable or With block variable not set");
    }
    expected.push_back("Navigate: " + h.ReportFile().string());
    expected.push_back("LogIt: View: Data Browser\\Diary");
    EXPECT_THAT(h.TakeEvents(), ::testing::ElementsAreArray(expected));
  }
}

TEST_P(Page, BlankRecordsetIsToldOnlyWhenTalking) {
  for (const bool talking : {false, true}) {
    SCOPED_TRACE(talking ? "talking" : "silent");
    ControlHarness h(GetParam(), SchemeFixture::Standard().Query(
                                     "spW_Salaries", "SELECT * FROM Salaries WHERE 1 = 0"));
    h.control.Talking(talking);
    h.control.UserRole(Variant("3"));
    h.control.RefreshBrowser();
    h.Click("Data Browser\\Managers");
    EXPECT_EQ(PageOf(h, "Data Browser\\Managers\\Salaries").size(), 2u);
    const std::vector<std::string> events = h.TakeEvents();
    EXPECT_EQ(events.size(), talking ? 4u : 3u);
    if (talking) {
      EXPECT_EQ(events[1], "KivDBMessage: Blank Recordset: Salaries");
    }
  }
}

TEST_P(Page, PageFileThatCannotBeWrittenEndsThePageOnTheBlankBrowser) {
  ControlHarness h(GetParam());
  h.control.Talking(true);
  h.control.ApplicationFolder(Variant((h.folder / "missing").string()));
  h.control.RefreshBrowser();
  // The front page cannot be written either; the schemes are loaded all the same.
  EXPECT_THAT(h.TakeEvents(),
              ElementsAre("KivDBMessage: Error: 76, Path not found", "Navigate: about:blank",
                          "Navigate: " + (h.folder / "missing" / "fp.htm").string()));
  h.Click("Data Browser\\Diary");
  EXPECT_THAT(h.TakeEvents(),
              ElementsAre("Navigate: about:blank", "KivDBMessage: Error: 76, Path not found"));
  EXPECT_EQ(h.browser.Current(), "about:blank");
}

TEST_P(Page, MissingPageTemplateRowIsAnErrorAndKeepsTheEarlierHead) {
  ControlHarness h(GetParam(),
                   SchemeFixture::Standard().Style(2, kNull).Sql("DELETE FROM XST3 WHERE ID = 2"));
  h.control.Talking(true);
  h.control.RefreshBrowser();
  const std::vector<std::string> events = h.TakeEvents();
  ASSERT_GE(events.size(), 1u);
  EXPECT_EQ(events[0].rfind("KivDBMessage: Error: 3021, ", 0), 0u) << events[0];
}

TEST_P(Page, ClicksAndRefreshesDuringThePagesYieldAreIgnored) {
  ControlHarness h(GetParam());
  h.control.RefreshBrowser();
  h.Click("Data Browser\\Regions");
  const std::vector<std::string> treeBefore = h.TreeLines();
  int yields = 0;
  h.tree.SetProcessEventsHook([&] {
    ++yields;
    h.Click("Data Browser\\Categories");
    h.control.RefreshBrowser();
  });
  h.TakeEvents();
  h.Click("Data Browser\\Regions\\North");
  h.tree.SetProcessEventsHook({});
  EXPECT_EQ(yields, 1);
  EXPECT_EQ(h.TreeLines(), treeBefore);
  EXPECT_EQ(PageLines(h.ReportFile()).size(), 10u);
  EXPECT_THAT(h.TakeEvents(),
              ElementsAre("Navigate: about:blank", "Navigate: " + h.ReportFile().string(),
                          "LogIt: View: Data Browser\\Regions\\North"));
  EXPECT_EQ(h.tree.SelectedItem(), h.tree.FindByPath("Data Browser\\Categories"));
}

KIVDB_ON_BOTH_ENGINES(Page);

}  // namespace
}  // namespace kivdb::testing
