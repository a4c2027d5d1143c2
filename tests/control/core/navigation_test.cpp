// The navigation tree end to end on the shop database, on SQLite and on PostgreSQL: the root, F,
// G, R and N expansion with their keys and tags, roles, sibling pruning and re-reading, and read
// failures.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/control/core/control_harness.h"

namespace kivdb::testing {
namespace {

using fixture::kNull;
using fixture::SchemeFixture;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class Navigation : public EngineTest {};

TEST_P(Navigation, RefreshBuildsTheRootWithItsFixedChildrenAndShowsTheFrontPage) {
  ControlHarness h(GetParam());
  h.control.RefreshBrowser();

  EXPECT_THAT(
      h.TreeLines(),
      ElementsAre("Data Browser [] {00001F}", "  Regions [0000000002F] {00002G}",
                  "  Categories [0000000004F] {00004G}", "  Managers [0000000007F] {00007F}",
                  "  Diary [0000000009F] {00009N}", "  Suppliers [0000000010F] {00010G}"));
  TreeNode& root = h.tree.Item(1);
  EXPECT_TRUE(root.Selected());
  EXPECT_TRUE(root.Expanded());
  EXPECT_EQ(root.Image(), "Net");
  EXPECT_EQ(root.ForeColor(), kBlue);
  EXPECT_EQ(h.tree.Item(2).Image(), "globe");
  EXPECT_EQ(h.tree.Item(3).Image(), "group");  // a row without iconIs
  EXPECT_EQ(h.tree.Item(2).ForeColor(), kBlue);
  EXPECT_TRUE(h.tree.Sorted());
  EXPECT_EQ(h.tree.LabelEdit(), LabelEditMode::Manual);
  // The root has no page: the browser ends on the front page, nothing is logged.
  const std::string front = (h.folder / "fp.htm").string();
  EXPECT_THAT(h.TakeEvents(), ElementsAre("Navigate: about:blank", "Navigate: " + front));
  EXPECT_EQ(ReadFile(front), "<html><body><h1>Welcome</h1></body></html>\r\n");
  EXPECT_FALSE(std::filesystem::exists(h.ReportFile()));
}

TEST_P(Navigation, GeneratingNodeAddsOneChildPerRecordWithTheChildRowsTagAndShowsItsPage) {
  ControlHarness h(GetParam());
  h.control.RefreshBrowser();
  h.TakeEvents();
  ASSERT_TRUE(h.Click("Data Browser\\Regions"));

  EXPECT_THAT(
      h.TreeLines(),
      ElementsAre("Data Browser [] {00001F}", "  Regions [0000000002F] {00002G}",
                  "    North [0000000001G6] {00003N}", "    South [0000000002G7] {00003N}",
                  "    O'Brien Isles [0000000003G8] {00003N}",
                  "  Categories [0000000004F] {00004G}", "  Managers [0000000007F] {00007F}",
                  "  Diary [0000000009F] {00009N}", "  Suppliers [0000000010F] {00010G}"));
  EXPECT_EQ(h.tree.FindByPath("Data Browser\\Regions\\North")->Image(), "pin");
  EXPECT_THAT(h.TakeEvents(),
              ElementsAre("Navigate: about:blank", "Navigate: " + h.ReportFile().string(),
                          "LogIt: View: Data Browser\\Regions"));
  EXPECT_TRUE(h.tree.FindByPath("Data Browser\\Regions")->Expanded());
  EXPECT_EQ(h.tree.LastMadeVisible(), h.tree.FindByPath("Data Browser\\Regions"));
}

TEST_P(Navigation, SecondClickOnAnExpandedNodeAddsNoDuplicates) {
  ControlHarness h(GetParam());
  h.control.RefreshBrowser();
  h.Click("Data Browser\\Regions");
  const int count = h.tree.Count();
  h.TakeEvents();
  h.Click("Data Browser\\Regions");
  EXPECT_EQ(h.tree.Count(), count);
  EXPECT_THAT(h.TakeEvents(),
              ElementsAre("Navigate: about:blank", "Navigate: " + h.ReportFile().string(),
                          "LogIt: View: Data Browser\\Regions"));
}

TEST_P(Navigation, RecurringNodesGrowALevelPerClickWithTheirNRowsRecordsAfterThePage) {
  ControlHarness h(GetParam());
  h.control.RefreshBrowser();
  h.Click("Data Browser\\Categories");
  EXPECT_THAT(h.ChildrenOf("Data Browser\\Categories"), ElementsAre("Food", "Tools"));
  EXPECT_EQ(h.tree.FindByPath("Data Browser\\Categories\\Food")->Tag(), "00005R");
  h.TakeEvents();

  h.Click("Data Browser\\Categories\\Food");
  // Its own query gives Fruit (again an R node); the N row below adds the products (Bread).
  TreeNode* food = h.tree.FindByPath("Data Browser\\Categories\\Food");
  EXPECT_THAT(h.ChildrenOf("Data Browser\\Categories\\Food"), ElementsAre("Fruit", "Bread"));
  EXPECT_EQ(food->Child()->Tag(), "00005R");
  EXPECT_EQ(food->Child()->Image(), "folder");
  EXPECT_EQ(food->Child()->Next()->Tag(), "00006N");
  EXPECT_EQ(food->Child()->Next()->Image(), "item");
  EXPECT_EQ(food->Child()->Key(), "0000000003G8");
  EXPECT_EQ(food->Child()->Next()->Key(), "0000000002G9");
  EXPECT_TRUE(food->Expanded());
  EXPECT_THAT(h.TakeEvents(),
              ElementsAre("Navigate: about:blank", "Navigate: " + h.ReportFile().string(),
                          "LogIt: View: Data Browser\\Categories\\Food"));

  h.Click("Data Browser\\Categories\\Food\\Fruit");
  EXPECT_THAT(h.ChildrenOf("Data Browser\\Categories\\Food\\Fruit"),
              ElementsAre("Apples", "Banana"));
}

TEST_P(Navigation, ClickingASiblingPrunesTheOtherBranchAndClickingBackReReadsIt) {
  ControlHarness h(GetParam());
  h.control.RefreshBrowser();
  h.Click("Data Browser\\Regions");
  h.Click("Data Browser\\Categories");
  // Regions lost its children; Categories has its own.
  EXPECT_THAT(h.ChildrenOf("Data Browser\\Regions"), IsEmpty());
  EXPECT_FALSE(h.tree.FindByPath("Data Browser\\Regions")->Expanded());
  EXPECT_THAT(h.ChildrenOf("Data Browser\\Categories"), ElementsAre("Food", "Tools"));

  h.Click("Data Browser\\Regions");
  EXPECT_THAT(h.ChildrenOf("Data Browser\\Regions"),
              ElementsAre("North", "South", "O'Brien Isles"));
  EXPECT_THAT(h.ChildrenOf("Data Browser\\Categories"), IsEmpty());
  // Keys carry the node count at the time, so the re-read children have new keys.
  EXPECT_EQ(h.tree.FindByPath("Data Browser\\Regions\\North")->Key(), "0000000001G6");
}

TEST_P(Navigation, PruningKeepsTheClickedNodesOwnChildrenAndReachesEverySibling) {
  ControlHarness h(GetParam());
  h.control.RefreshBrowser();
  h.Click("Data Browser\\Categories");
  h.Click("Data Browser\\Categories\\Food");
  h.Click("Data Browser\\Categories\\Tools");  // sibling after Food
  EXPECT_THAT(h.ChildrenOf("Data Browser\\Categories\\Food"), IsEmpty());
  h.Click("Data Browser\\Categories\\Food");
  h.Click("Data Browser\\Categories\\Food");  // a second click keeps its children
  EXPECT_THAT(h.ChildrenOf("Data Browser\\Categories\\Food"), ElementsAre("Fruit", "Bread"));
}

TEST_P(Navigation, RolesDecideWhetherANodeOpens) {
  struct Case {
    const char* name;
    const char* role;
    bool opens;
  };
  const Case cases[] = {
      {"role 3 is listed", "3", true},
      {"role 2 is not", "2", false},
      {"text holding a number", " 3 ", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ControlHarness h(GetParam());
    h.control.UserRole(Variant(c.role));
    h.control.RefreshBrowser();
    h.TakeEvents();
    h.Click("Data Browser\\Managers");
    if (c.opens) {
      EXPECT_THAT(h.ChildrenOf("Data Browser\\Managers"), ElementsAre("Salaries"));
      EXPECT_EQ(h.TakeEvents().back(), "LogIt: View: Data Browser\\Managers");
    } else {
      // A blank page and nothing else.
      EXPECT_THAT(h.ChildrenOf("Data Browser\\Managers"), IsEmpty());
      EXPECT_THAT(h.TakeEvents(), ElementsAre("Navigate: about:blank"));
      EXPECT_NE(h.tree.LastMadeVisible(), h.tree.FindByPath("Data Browser\\Managers"));
    }
  }
}

TEST_P(Navigation, RoleListsAdmitAnyListedRole) {
  ControlHarness h(GetParam(), SchemeFixture::Standard().Nav(
                                   {7, "Managers", "F", 1, kNull, kNull, kNull, "2:5"}));
  h.control.UserRole(Variant(int16_t{5}));
  h.control.RefreshBrowser();
  h.Click("Data Browser\\Managers");
  EXPECT_THAT(h.ChildrenOf("Data Browser\\Managers"), ElementsAre("Salaries"));
}

TEST_P(Navigation, GeneratingNodeWithoutRecordsStillShowsItsPage) {
  ControlHarness h(GetParam(), SchemeFixture::Standard().Query(
                                   "spG_Regions", "SELECT ID, Name FROM Regions WHERE 1 = 0"));
  h.control.RefreshBrowser();
  h.TakeEvents();
  h.Click("Data Browser\\Regions");
  EXPECT_THAT(h.ChildrenOf("Data Browser\\Regions"), IsEmpty());
  EXPECT_EQ(h.TakeEvents().back(), "LogIt: View: Data Browser\\Regions");
}

TEST_P(Navigation, GeneratingRowWithoutARowBelowMakesLeavesThatOpenNothing) {
  ControlHarness h(GetParam(), SchemeFixture::Standard().Nav({11, "Supplier", "N", 99}));
  h.control.RefreshBrowser();
  h.Click("Data Browser\\Suppliers");
  TreeNode* leaf = h.tree.FindByPath("Data Browser\\Suppliers\\Alfreds");
  ASSERT_NE(leaf, nullptr);
  EXPECT_EQ(leaf->Tag(), "00000");
  h.TakeEvents();
  h.tree.Click(*leaf);
  EXPECT_THAT(h.TakeEvents(), ElementsAre("Navigate: about:blank"));
  EXPECT_EQ(h.tree.LastMadeVisible(), leaf);
}

TEST_P(Navigation, DuplicateRecordKeysGetDistinctNodeKeys) {
  ControlHarness h(
      GetParam(),
      SchemeFixture::Standard().Query(
          "spG_Regions", "SELECT 4 AS ID, 'East' AS Name UNION ALL SELECT 4, 'East again'"));
  h.control.RefreshBrowser();
  h.Click("Data Browser\\Regions");
  TreeNode* regions = h.tree.FindByPath("Data Browser\\Regions");
  ASSERT_EQ(regions->Children(), 2);
  EXPECT_EQ(regions->Child()->Key(), "0000000004G6");
  EXPECT_EQ(regions->Child()->Next()->Key(), "0000000004G7");
}

TEST_P(Navigation, TextKeysStayAsTheyAre) {
  ControlHarness h(GetParam());
  h.control.RefreshBrowser();
  h.Click("Data Browser\\Suppliers");
  EXPECT_EQ(h.tree.FindByPath("Data Browser\\Suppliers\\Alfreds")->Key(), "ALFKIG6");
  EXPECT_EQ(h.tree.FindByPath("Data Browser\\Suppliers\\Alfreds")->Image(), "group");
}

TEST_P(Navigation, FailedNodeQueryAddsNothingAndReportsWithAndWithoutTalking) {
  for (const bool talking : {false, true}) {
    SCOPED_TRACE(talking ? "talking" : "silent");
    ControlHarness h(GetParam(), SchemeFixture::Standard().Nav(
                                     {2, "Regions", "G", 1, "spG_Missing", kNull, kNull, kNull}));
    h.control.Talking(talking);
    h.control.RefreshBrowser();
    h.TakeEvents();
    h.Click("Data Browser\\Regions");
    std::vector<::testing::Matcher<std::string>> expected;
    expected.push_back("Navigate: about:blank");
    if (talking) {
      expected.push_back("KivDBMessage: Unable to Access Data for the SQL : EXEC spG_Missing ");
      expected.push_back(::testing::MatchesRegex("KivDBMessage: Reason: .+"));
    }
    expected.push_back("KivDBMessage: Error Reading Data From Database");
    EXPECT_THAT(h.TakeEvents(), ::testing::ElementsAreArray(expected));
    EXPECT_THAT(h.ChildrenOf("Data Browser\\Regions"), IsEmpty());
  }
}

TEST_P(Navigation, UnexpectedFailuresEndTheClickWithTheErrorWhenTalking) {
  struct Case {
    const char* name;
    SchemeFixture fixture;
    std::vector<std::string> imageList;
    std::string message;
  };
  const Case cases[] = {
      {"image missing from the host's list",
       SchemeFixture::Standard(),
       {"Net", "group", "globe", "truck"},
       "KivDBMessage: Error: 35601, "},
      {"query with one field has no caption",
       SchemeFixture::Standard().Query("spG_Regions", "SELECT ID FROM Regions"),
       {},
       "KivDBMessage: Error: 3265, "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ControlHarness h(GetParam(), c.fixture);
    h.tree.SetImageList(c.imageList);
    h.control.Talking(true);
    h.control.RefreshBrowser();
    h.TakeEvents();
    h.Click("Data Browser\\Regions");
    const std::vector<std::string> events = h.TakeEvents();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0], "Navigate: about:blank");
    EXPECT_EQ(events[1].rfind(c.message, 0), 0u) << events[1];
  }
}

// A host's tree that refuses one step of the refresh: the failure is told while Talking, and the
// refresh goes on to build the rest of the tree and show the front page.
TEST(NavigationRefresh, AFailingTreeStepIsReportedAndTheRestIsBuilt) {
  for (const bool talking : {false, true}) {
    SCOPED_TRACE(talking ? "talking" : "silent");
    ControlHarness h;
    h.tree.SetImageList({"group", "globe", "truck"});  // no "Net" for the root
    h.control.Talking(talking);
    h.control.RefreshBrowser();
    const std::string front = "Navigate: " + (h.folder / "fp.htm").string();
    if (talking) {
      EXPECT_THAT(h.TakeEvents(), ElementsAre("KivDBMessage: Error: 35601, Element not found",
                                              "Navigate: about:blank", front));
    } else {
      EXPECT_THAT(h.TakeEvents(), ElementsAre("Navigate: about:blank", front));
    }
    TreeNode& root = h.tree.Item(1);
    EXPECT_EQ(root.Image(), "");
    EXPECT_TRUE(root.Selected());
    EXPECT_EQ(root.Children(), 5);
  }
}

TEST_P(Navigation, SixDigitSchemeIdsReadBackAsANodeOfNoType) {
  ControlHarness h(GetParam(), SchemeFixture::Standard().Nav({123456, "Wide", "N", 1}));
  h.control.RefreshBrowser();
  EXPECT_EQ(h.tree.FindByPath("Data Browser\\Wide")->Tag(), "123456N");
  h.TakeEvents();
  h.Click("Data Browser\\Wide");
  // Read back as scheme 12345, type "6": only made visible.
  EXPECT_THAT(h.TakeEvents(), ElementsAre("Navigate: about:blank"));
  EXPECT_EQ(h.tree.LastMadeVisible(), h.tree.FindByPath("Data Browser\\Wide"));
}

TEST_P(Navigation, LowerCaseTypeLettersBehaveAsCapitals) {
  ControlHarness h(GetParam(), SchemeFixture::Standard().Nav(
                                   {2, "Regions", "g", 1, "spG_Regions", "None", "globe"}));
  h.control.RefreshBrowser();
  h.Click("Data Browser\\Regions");
  EXPECT_THAT(h.ChildrenOf("Data Browser\\Regions"),
              ElementsAre("North", "South", "O'Brien Isles"));
}

TEST_P(Navigation, RefreshRebuildsTheTreeAndPicksUpSchemeChanges) {
  ControlHarness h(GetParam());
  h.control.RefreshBrowser();
  h.Click("Data Browser\\Regions");
  ASSERT_TRUE(h.control.DAL()->ExecSQL(
      "INSERT INTO XST1 VALUES (12, 'Extra', 'N', 1, NULL, NULL, NULL, NULL)"));
  h.control.RefreshBrowser();
  EXPECT_THAT(h.ChildrenOf("Data Browser"),
              ElementsAre("Regions", "Categories", "Managers", "Diary", "Suppliers", "Extra"));
  EXPECT_EQ(h.tree.Count(), 7);
}

// No widgets and no database: nothing here depends on an engine.
TEST(NavigationUnbound, MethodsBeforeSetControlsFailQuietly) {
  KivDB control;
  std::vector<std::string> messages;
  control.OnKivDBMessage([&](const std::string& text) { messages.push_back(text); });
  control.ActivePort(81);
  control.RefreshBrowser();  // no widgets: every step passes over
  EXPECT_THAT(messages, ElementsAre("Error Reading Data From Database"));
}

KIVDB_ON_BOTH_ENGINES(Navigation);

}  // namespace
}  // namespace kivdb::testing
