// The in-memory tree keeps the tree-view contract the control relies on, and finds nodes by path
// for the command-line host.

#include <kivdb/memory_tree_view.h>

#include "tests/control/contract/tree_view_contract.h"

namespace kivdb {
namespace {

class MemoryTreeUnderTest : public contract::TreeViewUnderTest {
 public:
  TreeView& Tree() override { return tree_; }
  void Click(TreeNode& node) override { tree_.Click(node); }
  void SetImageList(const std::vector<std::string>& keys) override { tree_.SetImageList(keys); }
  void SetPathSeparator(const std::string& separator) override {
    tree_.SetPathSeparator(separator);
  }
  bool ScrolledTo(TreeNode& node) override { return tree_.LastMadeVisible() == &node; }

 private:
  MemoryTreeView tree_;
};

using contract::TreeViewContract;
INSTANTIATE_TEST_SUITE_P(Memory, TreeViewContract,
                         ::testing::Values(contract::TreeViewMaker{
                             "Memory", [] { return std::make_unique<MemoryTreeUnderTest>(); }}),
                         contract::TreeViewMakerName);

TEST(MemoryTreeView, FindByPathAndWalkFollowTheTree) {
  MemoryTreeView tree;
  TreeNode& root = tree.Add();
  root.SetText("Data Browser");
  TreeNode& a = tree.AddChild(root, "", "A\\B", "");  // a caption holding the separator
  TreeNode& c = tree.AddChild(a, "", "C", "");
  tree.AddChild(root, "", "A", "");
  EXPECT_EQ(tree.FindByPath("Data Browser\\A\\B\\C"), &c);
  EXPECT_EQ(tree.FindByPath("Data Browser\\A\\B"), &a);
  EXPECT_EQ(tree.FindByPath("Data Browser\\Z"), nullptr);

  std::vector<std::string> walked;
  tree.Walk([&](TreeNode& n, int depth) { walked.push_back(std::to_string(depth) + n.Text()); });
  EXPECT_THAT(walked, ::testing::ElementsAre("0Data Browser", "1A\\B", "2C", "1A"));

  tree.Remove(a.Index());
  EXPECT_EQ(tree.FindByPath("Data Browser\\A\\B\\C"), nullptr);
  EXPECT_EQ(tree.LastMadeVisible(), nullptr);
}

}  // namespace
}  // namespace kivdb
