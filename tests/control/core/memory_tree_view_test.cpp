// The in-memory tree keeps the tree-view contract the control relies on.

#include <kivdb/memory_tree_view.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <kivdb/error.h>

namespace kivdb {
namespace {

using ::testing::ElementsAre;

long ErrorNumberOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const Error& e) {
    return e.Number();
  }
  return 0;
}

std::vector<std::string> Captions(const MemoryTreeView& tree) {
  std::vector<std::string> out;
  tree.Walk([&](TreeNode& n, int depth) { out.push_back(std::string(depth * 2, ' ') + n.Text()); });
  return out;
}

TEST(MemoryTreeView, IndexesFollowAdditionOrderAndCloseGapsAfterRemoval) {
  MemoryTreeView tree;
  TreeNode& root = tree.Add();
  root.SetText("root");
  TreeNode& a = tree.AddChild(root, "a", "A", "");
  tree.AddChild(a, "a1", "A1", "");
  tree.AddChild(a, "a2", "A2", "");
  TreeNode& b = tree.AddChild(root, "b", "B", "");
  EXPECT_EQ(tree.Count(), 5);
  EXPECT_EQ(b.Index(), 5);
  EXPECT_EQ(&tree.Item(2), &a);

  tree.Remove(a.Index());  // takes A1 and A2 along
  EXPECT_EQ(tree.Count(), 2);
  EXPECT_EQ(b.Index(), 2);
  EXPECT_EQ(&tree.Item(2), &b);
  EXPECT_EQ(root.Children(), 1);
  EXPECT_EQ(root.Child(), &b);
  EXPECT_EQ(b.FirstSibling(), &b);
  EXPECT_EQ(b.LastSibling(), &b);
  // The removed keys are free again.
  EXPECT_EQ(tree.AddChild(root, "a1", "again", "").Index(), 3);
}

TEST(MemoryTreeView, FailuresCarryTheClassicNumbers) {
  MemoryTreeView tree;
  TreeNode& root = tree.Add();
  tree.AddChild(root, "k", "K", "");
  tree.SetImageList({"Net", "group"});
  EXPECT_EQ(ErrorNumberOf([&] { tree.AddChild(root, "k", "again", ""); }), 35602);
  EXPECT_EQ(ErrorNumberOf([&] { tree.AddChild(root, "", "no key", ""); }), 0);
  EXPECT_EQ(ErrorNumberOf([&] { tree.AddChild(root, "", "no key either", ""); }), 0);
  EXPECT_EQ(ErrorNumberOf([&] { tree.AddChild(root, "x", "X", "missing"); }), 35601);
  EXPECT_EQ(ErrorNumberOf([&] { root.SetImage("missing"); }), 35601);
  EXPECT_EQ(ErrorNumberOf([&] { root.SetImage("Net"); }), 0);
  EXPECT_EQ(ErrorNumberOf([&] { tree.Item(0); }), 35601);
  EXPECT_EQ(ErrorNumberOf([&] { tree.Item(tree.Count() + 1); }), 35601);
  EXPECT_EQ(ErrorNumberOf([&] { tree.Remove(9); }), 35601);
  EXPECT_EQ(tree.Count(), 4);
}

TEST(MemoryTreeView, SortedOrdersTheTopLevelOnly) {
  MemoryTreeView tree;
  TreeNode& zeta = tree.Add();
  zeta.SetText("zeta");
  TreeNode& alpha = tree.Add();
  alpha.SetText("Alpha");
  tree.AddChild(zeta, "", "y", "");
  tree.AddChild(zeta, "", "b", "");
  tree.SetSorted(true);
  TreeNode& mid = tree.Add();
  mid.SetText("Mid");
  EXPECT_THAT(Captions(tree), ElementsAre("Alpha", "Mid", "zeta", "  y", "  b"));
  EXPECT_TRUE(tree.Sorted());
}

TEST(MemoryTreeView, FullPathSelectionAndLookup) {
  MemoryTreeView tree;
  TreeNode& root = tree.Add();
  root.SetText("Data Browser");
  TreeNode& a = tree.AddChild(root, "", "A\\B", "");  // a caption holding the separator
  TreeNode& c = tree.AddChild(a, "", "C", "");
  tree.AddChild(root, "", "A", "");
  EXPECT_EQ(c.FullPath(), "Data Browser\\A\\B\\C");
  EXPECT_EQ(tree.FindByPath("Data Browser\\A\\B\\C"), &c);
  EXPECT_EQ(tree.FindByPath("Data Browser\\A\\B"), &a);
  EXPECT_EQ(tree.FindByPath("Data Browser\\Z"), nullptr);
  tree.SetPathSeparator(" / ");
  EXPECT_EQ(c.FullPath(), "Data Browser / A\\B / C");

  std::vector<TreeNode*> clicked;
  tree.SetNodeClickHandler([&](TreeNode& n) {
    EXPECT_EQ(tree.SelectedItem(), &n);  // selected before the event
    clicked.push_back(&n);
  });
  tree.Click(c);
  EXPECT_THAT(clicked, ElementsAre(&c));
  EXPECT_TRUE(c.Selected());
  tree.Remove(a.Index());
  EXPECT_EQ(tree.SelectedItem(), nullptr);

  tree.Clear();
  EXPECT_EQ(tree.Count(), 0);
  EXPECT_EQ(tree.FindByPath("Data Browser"), nullptr);
}

TEST(MemoryTreeView, EnsureVisibleOpensTheAncestors) {
  MemoryTreeView tree;
  TreeNode& root = tree.Add();
  TreeNode& a = tree.AddChild(root, "", "a", "");
  TreeNode& b = tree.AddChild(a, "", "b", "");
  b.EnsureVisible();
  EXPECT_TRUE(root.Expanded());
  EXPECT_TRUE(a.Expanded());
  EXPECT_FALSE(b.Expanded());
  EXPECT_EQ(tree.LastMadeVisible(), &b);
}

TEST(MemoryTreeView, ManyAdditionsAndRemovalsKeepIndexesConsistent) {
  // Enough churn to compact the slots several times.
  MemoryTreeView tree;
  TreeNode& root = tree.Add();
  for (int round = 0; round < 20; ++round) {
    TreeNode& parent = tree.AddChild(root, "p" + std::to_string(round), "P", "");
    for (int i = 0; i < 50; ++i) tree.AddChild(parent, "", "c", "");
    while (parent.Children() > 0) tree.Remove(parent.Child()->Index());
  }
  ASSERT_EQ(tree.Count(), 21);
  for (int i = 1; i <= tree.Count(); ++i) EXPECT_EQ(tree.Item(i).Index(), i);
  EXPECT_EQ(tree.Item(21).Key(), "p19");
}

}  // namespace
}  // namespace kivdb
