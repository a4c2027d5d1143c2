// Deep and broken schemes in the control and through `kivdb export`: an XST1 table with a chain
// as deep as five-digit scheme IDs allow, a parent cycle, a node that is its own parent and a
// second root; recurring data with a 100,000-deep chain and a cycle. The control grows the tree
// one click at a time, so the depth a click path reaches is the number of clicks.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/control/core/control_harness.h"
#include "tests/tools/program_run.h"

namespace kivdb::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;

// Scheme IDs are written into node tags in five digits: the chain ends at ID 99,991.
constexpr long kSchemeDepth = 99990;
constexpr long kDataDepth = 100000;
constexpr long kCycleA = 99992, kCycleB = 99993, kOwnParent = 99994, kSecondRoot = 99995,
               kDeepData = 99996, kRecord = 99997;

// The chain "Level 1" ... below the root (role 1), the recurring records below "Deep data"
// (role 2), and the broken rows no click can reach.
fixture::SchemeFixture DeepFixture() {
  fixture::SchemeFixture f;
  const std::string last = std::to_string(kSchemeDepth + 1);
  f.Nav({1, "Data Browser", "F", 0})
      .Nav({kCycleA, "Cycle A", "F", kCycleB})
      .Nav({kCycleB, "Cycle B", "F", kCycleA})
      .Nav({kOwnParent, "Own parent", "F", kOwnParent})
      .Nav({kSecondRoot, "Second root", "F", 0})
      .Nav({kDeepData, "Deep data", "G", 1, "spG_Top", "None", fixture::kNull, "2"})
      .Nav({kRecord, "Record", "R", kDeepData, "spR_Below", "LKey", fixture::kNull, "2"})
      .Web({1, kRecord, 1, "Below", "spR_Below", "LKey", "S", fixture::kNull, "."})
      .Web({2, kSchemeDepth + 1, 1, "Deepest", "spW_Deepest", "None", "S", fixture::kNull, "."})
      .Style(1, "<html><body>Front</body></html>")
      .Style(2, "<HTML><HEAD><TITLE>%MainHeading%</TITLE></HEAD><BODY><DIV>");
  f.Sql(
       "INSERT INTO XST1 (ID, descriptionIs, typeIs, parentIs, roleIs) "
       "WITH RECURSIVE n(k) AS (SELECT 2 UNION ALL SELECT k + 1 FROM n WHERE k < " +
       last + ") SELECT k, 'Level ' || (k - 1), CASE WHEN k = " + last +
       " THEN 'N' ELSE 'F' END, k - 1, CASE WHEN k = 2 THEN '1' END FROM n")
      .Sql("CREATE TABLE Chain (ID INTEGER PRIMARY KEY, Name TEXT)")
      .Sql("CREATE TABLE Links (Parent INTEGER, Child INTEGER)")
      .Sql("CREATE INDEX LinksByParent ON Links (Parent)")
      .Sql(
          "INSERT INTO Chain WITH RECURSIVE n(k) AS (SELECT 1 UNION ALL SELECT k + 1 FROM n "
          "WHERE k < " +
          std::to_string(kDataDepth) + ") SELECT k, 'Record ' || k FROM n")
      .Sql("INSERT INTO Links SELECT ID - 1, ID FROM Chain")
      .Sql("INSERT INTO Chain VALUES (200001, 'Cycle record A'), (200002, 'Cycle record B')")
      .Sql("INSERT INTO Links VALUES (0, 200001), (200001, 200002), (200002, 200001)");
  f.Query("spG_Top",
          "SELECT c.ID, c.Name FROM Links l JOIN Chain c ON c.ID = l.Child WHERE l.Parent = 0 "
          "ORDER BY c.Name")
      .Query("spR_Below",
             "SELECT c.ID, c.Name FROM Links l JOIN Chain c ON c.ID = l.Child WHERE l.Parent = ?1 "
             "ORDER BY c.ID")
      .Query("spW_Deepest", "SELECT 1 AS ID, 'the bottom' AS Place");
  return f;
}

// The only child of `node`, or nullptr when it has none or several.
TreeNode* OnlyChild(TreeNode& node) {
  TreeNode* child = node.Child();
  return child && !child->Next() ? child : nullptr;
}

TEST(DeepControl, ClicksDownLongChainsAndCollapsesThemAgain) {
  ControlHarness h(DeepFixture());
  h.control.UserRole(Variant(int16_t{2}));
  h.control.RefreshBrowser();
  // Recurring records: each click adds the next record, however deep; a cycle goes round.
  constexpr int kClicks = 1500;
  ASSERT_TRUE(h.Click("Data Browser\\Deep data"));
  TreeNode* node = h.tree.FindByPath("Data Browser\\Deep data\\Record 1");
  ASSERT_NE(node, nullptr);
  for (int depth = 1; depth < kClicks; ++depth) {
    h.tree.Click(*node);
    node = OnlyChild(*node);
    ASSERT_NE(node, nullptr) << "at depth " << depth;
  }
  EXPECT_EQ(node->Text(), "Record " + std::to_string(kClicks));
  TreeNode* cycle = h.tree.FindByPath("Data Browser\\Deep data\\Cycle record A");
  ASSERT_NE(cycle, nullptr);
  for (int turn = 0; turn < 10; ++turn) {
    h.tree.Click(*cycle);  // collapses the deep branch beside it
    cycle = OnlyChild(*cycle);
    ASSERT_NE(cycle, nullptr);
    EXPECT_EQ(cycle->Text(), turn % 2 == 0 ? "Cycle record B" : "Cycle record A");
  }
  EXPECT_LT(h.tree.Count(), 20);

  // The scheme's own chain, open to role 1.
  h.control.UserRole(Variant(int16_t{1}));
  ASSERT_TRUE(h.Click("Data Browser\\Level 1"));
  node = h.tree.FindByPath("Data Browser\\Level 1");
  for (int depth = 1; depth < kClicks; ++depth) {
    node = OnlyChild(*node);
    ASSERT_NE(node, nullptr) << "at depth " << depth;
    h.tree.Click(*node);
  }
  EXPECT_EQ(node->Text(), "Level " + std::to_string(kClicks));
  ASSERT_TRUE(h.Click("Data Browser\\Deep data"));
  EXPECT_EQ(h.tree.FindByPath("Data Browser\\Level 1")->Children(), 0);
}

TEST(DeepControl, ExportStopsAtItsLimitOnDeepChainsAndSkipsACycle) {
  const fs::path folder = FreshFolder();
  const std::string connect = DeepFixture().WriteSqlite((folder / "deep.db").string());
  struct Case {
    const char* name;
    const char* role;
    const char* deepest;  // the last node the walk opens
    bool cycle;
  };
  // The walk takes the root's children in scheme order: "Level 1" first (role 1 only), then
  // "Deep data" (role 2 only), whose records come by name: the cycle, then the long chain. Each
  // node it opens counts, the root too.
  for (const Case& c : {Case{"recurring data", "2", "Record 995", true},
                        Case{"the scheme's chain", "1", "Level 999", false}}) {
    SCOPED_TRACE(c.name);
    const fs::path site = folder / (std::string("site-") + c.role);
    const ProgramRun run = RunProgram(KIVDB_PROGRAM,
                                      {"export", "--connect", connect, "--out", site.string(),
                                       "--role", c.role, "--max-nodes", "1000"},
                                      folder);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.err, HasSubstr("stopped at the limit of 1000 nodes (--max-nodes)"));
    const std::string index = ReadFile(site / "index.html");
    EXPECT_THAT(index, HasSubstr("This export stopped at its limit of 1000 nodes"));
    EXPECT_THAT(index, HasSubstr(std::string(">") + c.deepest + "</a>"));
    if (c.cycle) {
      EXPECT_THAT(run.err, HasSubstr("Cycle record A\\Cycle record B\\Cycle record A: Not opened "
                                     "again: the same record already appears above it"));
    } else {
      EXPECT_THAT(run.err, Not(HasSubstr("Not opened again")));
    }
  }
}

}  // namespace
}  // namespace kivdb::testing
