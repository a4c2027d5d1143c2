// Deep and broken schemes: a 100,000-deep chain of nodes, a parent cycle, a node that is its own
// parent and a second root, in the wizard's model, through every KivWZ command, in the control
// (clicking down and collapsing) and through `kivdb export`; recurring data with a 100,000-deep
// chain and a cycle. Nothing may overflow the stack or loop without end, and what is left out
// is said.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "tests/control/core/control_harness.h"
#include "tests/hostile/broken_scheme.h"
#include "tests/tools/program_run.h"
#include "wizard/model/analysis.h"
#include "wizard/model/memory_views.h"
#include "wizard/model/nav_schemes.h"

namespace kivdb::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

constexpr long kDepth = 100000;

void Write(const fs::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
}

long LineCount(const std::string& text) {
  return static_cast<long>(std::count(text.begin(), text.end(), '\n'));
}

class DeepWizardScheme : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = FreshFolder();
    Write(NavFile(), NavFileText(BrokenScheme(kDepth)));
    Write(WebFile(), WebFileText(kDepth + 1));
    navs_.SetTreeview(&tree_);
    navs_.SetGrid(&grid_);
    ASSERT_TRUE(navs_.LoadData(NavFile().string()));
    ASSERT_TRUE(navs_.LoadWeb(WebFile().string()));
  }
  fs::path NavFile() const { return folder_ / "XST1.txt"; }
  fs::path WebFile() const { return folder_ / "XST2.txt"; }

  fs::path folder_;
  kivwz::MemoryTreeView tree_;
  kivwz::MemoryGrid grid_;
  kivwz::clsNavSchemes navs_;
};

TEST_F(DeepWizardScheme, DrawsTheTreeBelowTheRootAndEveryNodeInTheGrid) {
  EXPECT_EQ(navs_.Count(), kDepth + 1 + kBrokenNodes);
  EXPECT_EQ(tree_.NodeCount(), static_cast<size_t>(kDepth + 1));
  ASSERT_NE(tree_.Node("N" + std::to_string(kDepth + 1)), nullptr);
  EXPECT_EQ(tree_.Node("N" + std::to_string(kDepth + 1))->parentKey, "N" + std::to_string(kDepth));
  EXPECT_EQ(tree_.Node("N" + std::to_string(kCycleA)), nullptr);
  EXPECT_EQ(grid_.RowCount(), 1 + kDepth + 1 + kBrokenNodes);  // the heading row first
  // A click deep down selects the node again at the next drawing.
  navs_.OnTreeNodeClick("N" + std::to_string(kDepth + 1));
  navs_.DispInTV();
  EXPECT_EQ(tree_.SelectedKey(), "N" + std::to_string(kDepth + 1));
}

TEST_F(DeepWizardScheme, BothAnalysesAndToDoListsLookAtEveryNode) {
  const kivwz::Analysis nav = kivwz::AnalyseNav(navs_);
  // The node that is its own parent is an N node with a child: the only broken rule.
  EXPECT_EQ(nav.observations, 1u);
  EXPECT_THAT(nav.text, HasSubstr("[ID=" + std::to_string(kOwnParent) + "] Own parent"));
  const kivwz::Analysis web = kivwz::AnalyseWeb(navs_.oWebs, navs_);
  EXPECT_EQ(web.orphans, 0u);
  EXPECT_THAT(navs_.NavToDo(), HasSubstr("THE TO-DO LIST FOR NAVIGATIONAL SCHEME:"));
  EXPECT_THAT(navs_.oWebs.WebToDo(), HasSubstr("spW_Page"));
}

TEST_F(DeepWizardScheme, RenumbersTheChainInOrderAndTheBrokenNodesAfterIt) {
  ASSERT_TRUE(navs_.Renumber());
  ASSERT_EQ(navs_.Count(), kDepth + 1 + kBrokenNodes);
  std::set<kivwz::Long> ids;
  for (const auto& node : navs_) ids.insert(node->ID());
  EXPECT_EQ(static_cast<long>(ids.size()), navs_.Count());
  const auto deepest = navs_.Item(kDepth + 1);
  ASSERT_TRUE(deepest);
  EXPECT_EQ(deepest->descriptionIs, "Level " + std::to_string(kDepth));
  EXPECT_EQ(deepest->parentIs, kDepth);
  // The cycle stays a cycle under its new numbers; the node that was its own parent still is.
  const auto cycleA = navs_.Item(kDepth + 2);
  const auto cycleB = navs_.Item(kDepth + 3);
  const auto own = navs_.Item(kDepth + 4);
  ASSERT_TRUE(cycleA && cycleB && own);
  EXPECT_EQ(cycleA->descriptionIs, "Cycle A");
  EXPECT_EQ(cycleA->parentIs, cycleB->ID());
  EXPECT_EQ(cycleB->parentIs, cycleA->ID());
  EXPECT_EQ(own->parentIs, own->ID());
  EXPECT_EQ(navs_.oWebs.Item(1)->XST1, kDepth + 1);
  EXPECT_EQ(navs_.oWebs.Item(2)->XST1, kDepth + 2);
}

TEST_F(DeepWizardScheme, SavesTheTreeBelowTheRootAndCountsWhatItLeavesOut) {
  EXPECT_EQ(navs_.NodesOutsideTree(), kBrokenNodes);
  const fs::path saved = folder_ / "saved.txt";
  ASSERT_TRUE(navs_.SaveData(saved.string()));
  EXPECT_EQ(LineCount(ReadFile(saved)), 1 + kDepth + 1);
  kivwz::clsNavSchemes reread;
  ASSERT_TRUE(reread.LoadData(saved.string()));
  EXPECT_EQ(reread.Count(), kDepth + 1);
  EXPECT_EQ(reread.NodesOutsideTree(), 0);
}

TEST_F(DeepWizardScheme, DeletesADeepSubtreeACycleAndANodeThatIsItsOwnParent) {
  navs_.DelNode(std::to_string(kCycleA));
  EXPECT_FALSE(navs_.Item(kCycleA));
  EXPECT_FALSE(navs_.Item(kCycleB));
  navs_.DelNode(std::to_string(kOwnParent));
  EXPECT_FALSE(navs_.Item(kOwnParent));
  navs_.DelNode("2");
  EXPECT_EQ(navs_.Count(), 1 + 2);  // the root and the second root with its child
  EXPECT_FALSE(navs_.oWebs.Item(1));
}

// The KivWZ program itself, on its own 8 MB stack, on the same files.
TEST_F(DeepWizardScheme, EveryKivWZCommandEnds) {
  const std::string nav = NavFile().string();
  const std::string web = WebFile().string();
  const fs::path outNav = folder_ / "out1.txt";
  const fs::path outWeb = folder_ / "out2.txt";
  struct Case {
    std::vector<std::string> args;
    int status;
  };
  const std::vector<Case> cases = {
      {{"check-nav", nav}, 0},      {{"nav-todo", nav}, 0},
      {{"check-web", nav, web}, 0}, {{"web-todo", web}, 0},
      {{"check", nav, web}, 1},     {{"renumber", nav, web, outNav.string(), outWeb.string()}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.front());
    const ProgramRun run = RunProgram(KIVWZ_PROGRAM, c.args, folder_);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_FALSE(run.out.empty() && c.args.front() != "renumber");
  }
  const ProgramRun renumber =
      RunProgram(KIVWZ_PROGRAM, {"renumber", nav, web, outNav.string(), outWeb.string()}, folder_);
  EXPECT_THAT(renumber.err, HasSubstr("warning: 5 nodes are not below the root"));
  EXPECT_EQ(LineCount(ReadFile(outNav)), 1 + kDepth + 1);
  EXPECT_EQ(LineCount(ReadFile(outWeb)), 1 + 5);
}

}  // namespace
}  // namespace kivdb::testing
