#pragma once
// The tree-view contract the control relies on, as one parameterised suite that every
// implementation runs unchanged. An implementation's test file instantiates it with a factory:
//   INSTANTIATE_TEST_SUITE_P(Memory, TreeViewContract,
//                            ::testing::Values(TreeViewMaker{"Memory", MakeMemoryTree}),
//                            TreeViewMakerName);
// Include this header in one source file of a test program only (it defines the tests).

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <kivdb/error.h>
#include <kivdb/tree_view.h>
#include "tests/support/error_number.h"

namespace kivdb::contract {

// A tree view under test with the host's side of it: what a user and a host do to the widget.
class TreeViewUnderTest {
 public:
  virtual ~TreeViewUnderTest() = default;
  virtual TreeView& Tree() = 0;
  // A user's click on a node: it becomes the selected one, then NodeClick is raised.
  virtual void Click(TreeNode& node) = 0;
  // The host's image list holds exactly these keys.
  virtual void SetImageList(const std::vector<std::string>& keys) = 0;
  virtual void SetPathSeparator(const std::string& separator) = 0;
  // Whether the node was scrolled into view.
  virtual bool ScrolledTo(TreeNode& node) = 0;
};

struct TreeViewMaker {
  std::string name;
  std::function<std::unique_ptr<TreeViewUnderTest>()> make;
};
inline std::string TreeViewMakerName(const ::testing::TestParamInfo<TreeViewMaker>& info) {
  return info.param.name;
}

class TreeViewContract : public ::testing::TestWithParam<TreeViewMaker> {
 protected:
  void SetUp() override { subject_ = GetParam().make(); }
  TreeView& Tree() { return subject_->Tree(); }

  // The captions in tree order, indented by depth, walked through the contract's own links.
  std::vector<std::string> Captions() {
    std::vector<std::string> out;
    if (Tree().Count() == 0) return out;
    std::function<void(TreeNode*, int)> walk = [&](TreeNode* n, int depth) {
      for (; n; n = n->Next()) {
        out.push_back(std::string(depth * 2, ' ') + n->Text());
        walk(n->Child(), depth + 1);
      }
    };
    walk(Tree().Item(1).FirstSibling(), 0);
    return out;
  }

  std::unique_ptr<TreeViewUnderTest> subject_;
};

using ::testing::ElementsAre;
using testing_support::ErrorNumberOf;

TEST_P(TreeViewContract, IndexesFollowAdditionOrderAndCloseGapsAfterRemoval) {
  TreeNode& root = Tree().Add();
  root.SetText("root");
  TreeNode& a = Tree().AddChild(root, "a", "A", "");
  Tree().AddChild(a, "a1", "A1", "");
  Tree().AddChild(a, "a2", "A2", "");
  TreeNode& b = Tree().AddChild(root, "b", "B", "");
  EXPECT_EQ(Tree().Count(), 5);
  EXPECT_EQ(b.Index(), 5);
  EXPECT_EQ(&Tree().Item(2), &a);

  Tree().Remove(a.Index());  // takes A1 and A2 along
  EXPECT_EQ(Tree().Count(), 2);
  EXPECT_EQ(b.Index(), 2);
  EXPECT_EQ(&Tree().Item(2), &b);
  EXPECT_EQ(root.Children(), 1);
  EXPECT_EQ(root.Child(), &b);
  EXPECT_EQ(b.FirstSibling(), &b);
  EXPECT_EQ(b.LastSibling(), &b);
  EXPECT_EQ(b.Next(), nullptr);
  // The removed keys are free again.
  EXPECT_EQ(Tree().AddChild(root, "a1", "again", "").Index(), 3);
  EXPECT_THAT(Captions(), ElementsAre("root", "  B", "  again"));
}

TEST_P(TreeViewContract, FailuresCarryTheClassicNumbers) {
  TreeNode& root = Tree().Add();
  Tree().AddChild(root, "k", "K", "");
  subject_->SetImageList({"Net", "group"});
  EXPECT_EQ(ErrorNumberOf([&] { Tree().AddChild(root, "k", "again", ""); }), 35602);
  EXPECT_EQ(ErrorNumberOf([&] { Tree().AddChild(root, "", "no key", ""); }), 0);
  EXPECT_EQ(ErrorNumberOf([&] { Tree().AddChild(root, "", "no key either", ""); }), 0);
  EXPECT_EQ(ErrorNumberOf([&] { Tree().AddChild(root, "x", "X", "missing"); }), 35601);
  EXPECT_EQ(ErrorNumberOf([&] { root.SetImage("missing"); }), 35601);
  EXPECT_EQ(ErrorNumberOf([&] { root.SetImage("Net"); }), 0);
  EXPECT_EQ(ErrorNumberOf([&] { Tree().AddChild(root, "g", "G", "group"); }), 0);
  EXPECT_EQ(ErrorNumberOf([&] { Tree().Item(0); }), 35601);
  EXPECT_EQ(ErrorNumberOf([&] { Tree().Item(Tree().Count() + 1); }), 35601);
  EXPECT_EQ(ErrorNumberOf([&] { Tree().Remove(9); }), 35601);
  const std::unique_ptr<TreeViewUnderTest> other = GetParam().make();
  TreeNode& stranger = other->Tree().Add();
  EXPECT_EQ(ErrorNumberOf([&] { Tree().AddChild(stranger, "s", "S", ""); }), 35601);
  EXPECT_EQ(Tree().Count(), 5);
  EXPECT_EQ(root.Image(), "Net");
  EXPECT_EQ(Tree().Item(5).Image(), "group");
}

TEST_P(TreeViewContract, SortedOrdersTheTopLevelOnly) {
  TreeNode& zeta = Tree().Add();
  zeta.SetText("zeta");
  TreeNode& alpha = Tree().Add();
  alpha.SetText("Alpha");
  Tree().AddChild(zeta, "", "y", "");
  Tree().AddChild(zeta, "", "b", "");
  Tree().SetSorted(true);
  TreeNode& mid = Tree().Add();
  mid.SetText("Mid");
  Tree().Add().SetText("ZZ");  // letters compare without regard to case
  EXPECT_THAT(Captions(), ElementsAre("Alpha", "Mid", "zeta", "  y", "  b", "ZZ"));
  // A caption changed later moves its node; indexes keep the order of addition.
  alpha.SetText("omega");
  EXPECT_THAT(Captions(), ElementsAre("Mid", "omega", "zeta", "  y", "  b", "ZZ"));
  EXPECT_EQ(alpha.Index(), 2);
  EXPECT_EQ(zeta.Child()->Next()->Text(), "b");
}

TEST_P(TreeViewContract, NodePropertiesReadBackAsWritten) {
  TreeNode& root = Tree().Add();
  TreeNode& node = Tree().AddChild(root, "0000000042G1", "Caption", "");
  node.SetTag("3");
  node.SetText("Renamed");
  node.SetForeColor(kBlue);
  node.SetExpanded(true);
  EXPECT_EQ(node.Key(), "0000000042G1");
  EXPECT_EQ(node.Tag(), "3");
  EXPECT_EQ(node.Text(), "Renamed");
  EXPECT_EQ(node.ForeColor(), kBlue);
  EXPECT_EQ(root.Key(), "");
  node.SetExpanded(false);
  EXPECT_FALSE(node.Expanded());
}

TEST_P(TreeViewContract, FullPathSelectionAndClick) {
  TreeNode& root = Tree().Add();
  root.SetText("Data Browser");
  TreeNode& a = Tree().AddChild(root, "", "A\\B", "");  // a caption holding the separator
  TreeNode& c = Tree().AddChild(a, "", "C", "");
  TreeNode& d = Tree().AddChild(root, "", "A", "");
  EXPECT_EQ(c.FullPath(), "Data Browser\\A\\B\\C");
  subject_->SetPathSeparator(" / ");
  EXPECT_EQ(c.FullPath(), "Data Browser / A\\B / C");
  EXPECT_EQ(Tree().PathSeparator(), " / ");

  std::vector<TreeNode*> clicked;
  Tree().SetNodeClickHandler([&](TreeNode& n) {
    EXPECT_EQ(Tree().SelectedItem(), &n);  // selected before the event
    clicked.push_back(&n);
  });
  a.EnsureVisible();
  subject_->Click(c);
  subject_->Click(c);  // a second click on the selected node is a click too
  subject_->Click(d);
  EXPECT_THAT(clicked, ElementsAre(&c, &c, &d));
  EXPECT_TRUE(d.Selected());
  EXPECT_FALSE(c.Selected());

  // Selecting from code raises nothing.
  c.SetSelected(true);
  EXPECT_EQ(Tree().SelectedItem(), &c);
  EXPECT_EQ(clicked.size(), 3u);

  Tree().Remove(a.Index());
  EXPECT_EQ(Tree().SelectedItem(), nullptr);
  Tree().Clear();
  EXPECT_EQ(Tree().Count(), 0);
  EXPECT_EQ(Tree().SelectedItem(), nullptr);
  // A cleared tree takes the old keys again.
  EXPECT_EQ(ErrorNumberOf([&] { Tree().AddChild(Tree().Add(), "k", "K", ""); }), 0);
}

TEST_P(TreeViewContract, EnsureVisibleOpensTheAncestors) {
  TreeNode& root = Tree().Add();
  TreeNode& a = Tree().AddChild(root, "", "a", "");
  TreeNode& b = Tree().AddChild(a, "", "b", "");
  b.EnsureVisible();
  EXPECT_TRUE(root.Expanded());
  EXPECT_TRUE(a.Expanded());
  EXPECT_FALSE(b.Expanded());
  EXPECT_TRUE(subject_->ScrolledTo(b));
}

TEST_P(TreeViewContract, ManyAdditionsAndRemovalsKeepIndexesConsistent) {
  // Enough churn to renumber the nodes several times.
  TreeNode& root = Tree().Add();
  for (int round = 0; round < 20; ++round) {
    TreeNode& parent = Tree().AddChild(root, "p" + std::to_string(round), "P", "");
    for (int i = 0; i < 50; ++i) Tree().AddChild(parent, "", "c", "");
    while (parent.Children() > 0) Tree().Remove(parent.Child()->Index());
  }
  ASSERT_EQ(Tree().Count(), 21);
  for (int i = 1; i <= Tree().Count(); ++i) EXPECT_EQ(Tree().Item(i).Index(), i);
  EXPECT_EQ(Tree().Item(21).Key(), "p19");
  EXPECT_EQ(root.Children(), 20);
}

}  // namespace kivdb::contract
