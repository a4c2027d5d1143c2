// The tree and grid contract of views.h, run against the in-memory views and the Qt views alike,
// then drawn through the scheme collections so both show the same design.

#include <gtest/gtest.h>

#include <memory>

#include "tests/wizard/model/builders.h"
#include "tests/wizard/model/recording_events.h"
#include "wizard/model/memory_views.h"
#include "wizard/model/nav_schemes.h"
#include "wizard/model/view_style.h"
#include "wizard/ui/scheme_grid.h"
#include "wizard/ui/scheme_tree_view.h"

namespace kivwz {
namespace {

using test::Node;
using test::Paragraph;

struct MemoryViews {
  std::unique_ptr<TreeView> tree = std::make_unique<MemoryTreeView>();
  std::unique_ptr<Grid> grid = std::make_unique<MemoryGrid>();
};

struct QtViews {
  std::unique_ptr<TreeView> tree = std::make_unique<SchemeTreeView>();
  std::unique_ptr<Grid> grid = std::make_unique<SchemeGrid>();
};

template <class Views>
class ViewContract : public ::testing::Test {
 protected:
  Views views_;
  TreeView& tree_ = *views_.tree;
  Grid& grid_ = *views_.grid;
};

using ViewKinds = ::testing::Types<MemoryViews, QtViews>;
TYPED_TEST_SUITE(ViewContract, ViewKinds);

TYPED_TEST(ViewContract, TreeKeepsKeysParentsAndChildren) {
  TreeView& tree = this->tree_;
  EXPECT_TRUE(tree.AddNode("", "N1", "Data Browser", kImageRoot));
  EXPECT_TRUE(tree.AddNode("N1", "N2", "Two", kImageFixed));
  EXPECT_TRUE(tree.AddNode("N2", "N3", "Three", kImageNonGenerating));
  EXPECT_TRUE(tree.AddNode("N1", "N4", "Four", ""));
  EXPECT_FALSE(tree.AddNode("N1", "N2", "taken", kImageFixed));
  EXPECT_FALSE(tree.AddNode("N9", "N5", "no parent", kImageFixed));

  EXPECT_EQ(tree.ChildCount("N1"), 2);
  EXPECT_EQ(tree.ChildCount("N2"), 1);
  EXPECT_EQ(tree.ChildCount("N9"), 0);
  EXPECT_EQ(tree.ParentKey("N3"), "N2");
  EXPECT_EQ(tree.ParentKey("N1"), "");
  EXPECT_EQ(tree.ParentKey("N9"), "");
}

TYPED_TEST(ViewContract, TreeSelectsExpandsAndClears) {
  TreeView& tree = this->tree_;
  tree.AddNode("", "N1", "Data Browser", kImageRoot);
  tree.AddNode("N1", "N2", "Two", kImageFixed);
  tree.AddNode("N2", "N3", "Three", kImageGenerating);
  EXPECT_FALSE(tree.IsExpanded("N1"));
  EXPECT_EQ(tree.SelectedKey(), "");
  EXPECT_FALSE(tree.Select("N7"));
  EXPECT_EQ(tree.SelectedKey(), "");

  EXPECT_TRUE(tree.Select("N3"));
  tree.EnsureVisible("N3");
  EXPECT_EQ(tree.SelectedKey(), "N3");
  EXPECT_TRUE(tree.IsExpanded("N1"));
  EXPECT_TRUE(tree.IsExpanded("N2"));
  EXPECT_FALSE(tree.IsExpanded("N3"));

  tree.SetExpanded("N2", false);
  EXPECT_FALSE(tree.IsExpanded("N2"));
  tree.Clear();
  EXPECT_EQ(tree.SelectedKey(), "");
  EXPECT_EQ(tree.ChildCount("N1"), 0);
  EXPECT_TRUE(tree.AddNode("", "N1", "again", kImageRoot));
}

TYPED_TEST(ViewContract, GridRowZeroIsTheHeader) {
  Grid& grid = this->grid_;
  grid.Reset("^ID |^XST1|<Title   ");
  EXPECT_EQ(grid.RowCount(), 1);
  EXPECT_EQ(grid.Cell(0, 0), "ID");
  EXPECT_EQ(grid.Cell(0, 2), "Title");
  EXPECT_EQ(grid.CurrentRow(), 0);

  grid.AddRow({"7", "3", "First"});
  grid.AddRow({"8", "3"});  // a short row has empty cells
  EXPECT_EQ(grid.RowCount(), 3);
  EXPECT_EQ(grid.Cell(1, 2), "First");
  EXPECT_EQ(grid.Cell(2, 0), "8");
  EXPECT_EQ(grid.Cell(2, 2), "");
  EXPECT_EQ(grid.Cell(3, 0), "");
  EXPECT_EQ(grid.Cell(1, 3), "");
  EXPECT_EQ(grid.Cell(-1, 0), "");

  grid.SetCurrentRow(2);
  EXPECT_EQ(grid.CurrentRow(), 2);
  grid.SetCurrentRow(5);  // outside: the current row stays
  EXPECT_EQ(grid.CurrentRow(), 2);
  grid.Reset("^ID |^XST1");
  EXPECT_EQ(grid.RowCount(), 1);
  EXPECT_EQ(grid.CurrentRow(), 0);
}

// The same design drawn into both kinds of view reads the same through the interfaces.
TYPED_TEST(ViewContract, SchemeDrawsTheSameTree) {
  clsNavSchemes navs;
  navs.Add(Node(1, 0, "F", "", "Root text"));
  navs.Add(Node(2, 1, "G", "spG_A"));
  navs.Add(Node(3, 2, "R", "spG_B"));
  navs.Add(Node(4, 1, "N"));
  navs.oWebs.Add(Paragraph(1, 4, 1));
  navs.SetTreeview(&this->tree_);
  navs.SetGrid(&this->grid_);
  navs.SetCurrentKey("N3");
  navs.DispInTV();

  TreeView& tree = this->tree_;
  EXPECT_EQ(tree.SelectedKey(), "N3");
  EXPECT_TRUE(tree.IsExpanded("N1"));
  EXPECT_TRUE(tree.IsExpanded("N2"));
  EXPECT_EQ(tree.ChildCount("N1"), 2);
  EXPECT_EQ(tree.ParentKey("N4"), "N1");

  Grid& grid = this->grid_;
  ASSERT_EQ(grid.RowCount(), 5);
  EXPECT_EQ(grid.Cell(1, 1), "Root text");  // the grid shows the root's own text
  EXPECT_EQ(grid.Cell(3, 2), "R");
  EXPECT_EQ(grid.Cell(3, 3), "2");
  EXPECT_EQ(grid.Cell(2, 4), "spG_A");

  // Keys and clicks go on as node IDs without the prefix, for the node the view has selected.
  test::RecordingEvents events;
  RaiseTreeKey(&events, tree, kKeyDelete);
  RaiseTreeButton(&events, tree, MouseButton::Right);
  RaiseTreeButton(&events, tree, MouseButton::Left);
  RaiseNodeClick(&events, "N4");
  EXPECT_EQ(events.events, (std::vector<std::string>{"delete 3", "menu 3", "click 4"}));
  navs.SetTreeview(nullptr);
  navs.SetGrid(nullptr);
}

}  // namespace
}  // namespace kivwz
