// Back and Forward over the nodes opened, on the demo database through the in-memory tree.
#include <gtest/gtest.h>

#include <kivdb/kivdb.h>
#include <kivdb/memory_browser.h>
#include <kivdb/memory_tree_view.h>
#include "demo/app/node_history.h"
#include "demo/app/observed_tree_view.h"
#include "tests/demo/app/demo_copy.h"

namespace kivdb::demo {
namespace {

NodeTrail Trail(std::initializer_list<const char*> captions) {
  NodeTrail trail;
  for (const char* caption : captions) trail.push_back({caption, "", ""});
  return trail;
}

TEST(NodeHistoryTest, MovesBackAndForwardAndDropsTheForwardListOnAVisit) {
  // Each step: an action, then the caption expected as the answer ("" when none) and what
  // Back/Forward allow afterwards.
  struct Step {
    const char* action;  // "visit X", "back", "forward"
    const char* answer;
    bool canBack;
    bool canForward;
  } steps[] = {
      {"back", "", false, false},   {"visit A", "", false, false}, {"visit A", "", false, false},
      {"visit B", "", true, false}, {"visit C", "", true, false},  {"back", "B", true, true},
      {"back", "A", false, true},   {"back", "", false, true},     {"forward", "B", true, true},
      {"visit D", "", true, false}, {"forward", "", true, false},  {"back", "B", true, true},
  };
  NodeHistory history;
  for (const Step& step : steps) {
    const std::string action = step.action;
    std::optional<NodeTrail> answer;
    if (action.starts_with("visit ")) {
      history.Visit(Trail({action.substr(6).c_str()}));
    } else if (action == "back") {
      answer = history.Back();
    } else {
      answer = history.Forward();
    }
    EXPECT_EQ(answer ? answer->front().text : "", step.answer) << action;
    EXPECT_EQ(history.CanGoBack(), step.canBack) << action;
    EXPECT_EQ(history.CanGoForward(), step.canForward) << action;
  }
  EXPECT_EQ(history.Size(), 3u);  // A, B, D
}

class TrailTest : public ::testing::Test {
 protected:
  void SetUp() override {
    control_.ApplicationFolder(Variant(copy_.Pages().string()));
    control_.SetUserMode(true);
    control_.DAL()->ConnectionString(copy_.ConnectionString());
    observed_.SetObserver([this](TreeNode& node) { clicked_.push_back(node.FullPath()); });
    control_.SetControls(observed_, browser_);
    control_.RefreshBrowser();
  }

  TreeNode& Open(const std::string& path) {
    TreeNode* node = tree_.FindByPath(path);
    EXPECT_NE(node, nullptr) << path;
    tree_.Click(*node);
    return *node;
  }

  testing::DemoCopy copy_;
  MemoryTreeView tree_;
  MemoryBrowser browser_;
  ObservedTreeView observed_{tree_};
  KivDB control_;
  std::vector<std::string> clicked_;
};

TEST_F(TrailTest, FindsANodeAgainAfterTheControlPrunedItsBranch) {
  Open("Data Browser\\Regions");
  Open("Data Browser\\Regions\\North");
  TreeNode& customer = *tree_.FindByPath("Data Browser\\Regions\\North")->Child();
  tree_.Click(customer);
  const std::string path = customer.FullPath();
  const NodeTrail trail = TrailOf(observed_, customer);
  ASSERT_EQ(trail.size(), 4u);
  EXPECT_EQ(trail[3].text, customer.Text());
  EXPECT_EQ(trail[3].recordKey, customer.Key().substr(0, 10));
  // The observer heard every click, after the control had answered it (children were there).
  EXPECT_EQ(clicked_.back(), path);

  Open("Data Browser\\Products");  // the control removes the children of Regions
  ASSERT_EQ(tree_.FindByPath(path), nullptr);

  clicked_.clear();
  TreeNode* found = OpenTrail(observed_, trail, [&](TreeNode& node) { observed_.Click(node); });
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->FullPath(), path);
  EXPECT_EQ(clicked_,
            (std::vector<std::string>{"Data Browser\\Regions", "Data Browser\\Regions\\North"}));

  // A step that no longer exists gives no node.
  NodeTrail gone = trail;
  gone[3].recordKey = "NOONE";
  EXPECT_EQ(OpenTrail(observed_, gone, [&](TreeNode& node) { observed_.Click(node); }), nullptr);
}

TEST_F(TrailTest, ClickRaisesNodeClickForTheControlAndTheObserver) {
  TreeNode& staff = *tree_.FindByPath("Data Browser\\Staff");
  observed_.Click(staff);
  EXPECT_EQ(tree_.SelectedItem(), &staff);
  EXPECT_GT(staff.Children(), 0);  // the control added the employees
  EXPECT_EQ(clicked_, (std::vector<std::string>{"Data Browser\\Staff"}));
}

}  // namespace
}  // namespace kivdb::demo
