// What the collections draw into the tree and the grids, and the events the views raise.

#include <gtest/gtest.h>

#include "builders.h"
#include "recording_events.h"
#include "wizard/model/memory_views.h"
#include "wizard/model/nav_schemes.h"
#include "wizard/model/view_style.h"

namespace kivwz {
namespace {

using test::Node;
using test::Paragraph;

struct Design {
  clsNavSchemes navs;
  MemoryTreeView tree;
  MemoryGrid navGrid;
  MemoryGrid webGrid;
  test::RecordingEvents events;

  Design() {
    navs.SetTreeview(&tree);
    navs.SetGrid(&navGrid);
    navs.oWebs.SetGrid(&webGrid, 40, 300, 5000, 2000);
    tree.SetEvents(&events);
    webGrid.SetEvents(&events);
  }
};

TEST(Views, GridFormatsGiveTheColumns) {
  struct Case {
    std::string_view format;
    std::vector<std::string> headers;
    std::vector<int> widths;
  } cases[] = {
      {kNavGridFormat,
       {"ID", "Description", "Type", "Parent", "Query", "Parameter", "Icon", "Role"},
       {3, 61, 4, 10, 31, 14, 18, 13}},
      {kWebGridFormat,
       {"ID", "XST1", "Seq", "Paragraph Title", "Query", "Parameter", "Type", "Form#", "Columns"},
       {3, 4, 3, 54, 34, 11, 4, 5, 30}},
  };
  for (const Case& c : cases) {
    const auto columns = ParseGridFormat(c.format);
    ASSERT_EQ(columns.size(), c.headers.size());
    for (std::size_t i = 0; i < columns.size(); ++i) {
      EXPECT_EQ(columns[i].header, c.headers[i]) << i;
      EXPECT_EQ(columns[i].width, c.widths[i]) << i;
    }
  }
  EXPECT_EQ(ParseGridFormat(kNavGridFormat)[0].alignment, Alignment::Right);
  EXPECT_EQ(ParseGridFormat(kWebGridFormat)[0].alignment, Alignment::Centre);
  EXPECT_EQ(ParseGridFormat(kWebGridFormat)[3].alignment, Alignment::Left);
}

TEST(Views, RootAloneIsBlackInTheTreeAndRedInTheGrid) {
  Design d;
  d.navs.NewScheme();
  d.navs.Item(1)->descriptionIs = "My Reports";
  d.navs.DispInTV();
  ASSERT_EQ(d.tree.NodeCount(), 1u);
  const MemoryTreeNode* root = d.tree.Node("N1");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->text, "Data Browser");
  EXPECT_EQ(root->imageKey, kImageRoot);
  EXPECT_EQ(root->foreColor, kBlack);
  EXPECT_TRUE(root->expanded);
  ASSERT_EQ(d.navGrid.RowCount(), 2);
  EXPECT_EQ(d.navGrid.Cell(1, 1), "My Reports");
  for (int column = 0; column < 8; ++column) EXPECT_EQ(d.navGrid.CellForeColor(1, column), kRed);
}

TEST(Views, TreeShowsTypesByImageAndColour) {
  Design d;
  d.navs.Add(Node(1, 0, "F"));
  d.navs.Add(Node(2, 1, "F", "", "Fixed"));
  d.navs.Add(Node(3, 2, "G", "q", "Gen"));
  d.navs.Add(Node(4, 3, "R", "q", "Rec"));
  d.navs.Add(Node(5, 1, "N", "", "Non"));
  d.navs.Add(Node(6, 1, "x", "", "Odd"));
  d.navs.DispInTV();
  EXPECT_EQ(d.tree.KeysInOrder(), (std::vector<std::string>{"N1", "N2", "N3", "N4", "N5", "N6"}));
  struct Case {
    const char* key;
    const char* parent;
    const char* text;
    std::string_view image;
    Color color;
  } cases[] = {
      {"N2", "N1", "Fixed", kImageFixed, kRed},
      {"N3", "N2", "Gen", kImageGenerating, kBlue},
      {"N4", "N3", "Rec", kImageRecurring, Color{0, 64, 0}},
      {"N5", "N1", "Non", kImageNonGenerating, Color{128, 0, 0}},
      {"N6", "N1", "Odd", "", kBlack},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    const MemoryTreeNode* node = d.tree.Node(c.key);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->parentKey, c.parent);
    EXPECT_EQ(node->text, c.text);
    EXPECT_EQ(node->imageKey, c.image);
    EXPECT_EQ(node->foreColor, c.color);
    EXPECT_FALSE(node->expanded);
  }
}

TEST(Views, NodeGridRowsCarryTheirTypeColour) {
  Design d;
  d.navs.Add(Node(7, 1, "?", "", "First, unknown"));
  d.navs.Add(Node(1, 0, "F"));
  d.navs.Add(Node(2, 1, "R", "spG_R", "Rec", "LKey"));
  d.navs.Add(Node(3, 2, "n", "", "Small n"));
  d.navs.Add(Node(4, 1, "G", "q"));
  d.navs.Item(2)->roleIs = "1:3";
  d.navs.DispInGrid();
  ASSERT_EQ(d.navGrid.RowCount(), 6);
  const std::vector<std::string> rec{"2", "Rec", "R", "1", "spG_R", "LKey", "leaf", "1:3"};
  for (int column = 0; column < 8; ++column) EXPECT_EQ(d.navGrid.Cell(2 + 1, column), rec[column]);
  const Color expected[] = {kBlack, kBlack, kRed, Color{0, 128, 0}, Color{0, 128, 0}, kBlue};
  for (int row = 1; row < 6; ++row) {
    for (int column = 0; column < 8; ++column) {
      EXPECT_EQ(d.navGrid.CellForeColor(row, column), expected[row]) << row << "," << column;
    }
  }
}

TEST(Views, RedrawSelectsTheNodeLastClicked) {
  Design d;
  d.navs.Add(Node(1, 0, "F"));
  d.navs.Add(Node(2, 1, "F"));
  d.navs.Add(Node(3, 2, "F"));
  d.navs.Add(Node(4, 3, "N"));
  d.navs.Add(Node(5, 1, "F"));
  d.navs.Add(Node(6, 5, "N"));
  d.navs.DispInTV();
  d.navs.OnTreeNodeClick("N4");
  EXPECT_EQ(d.navs.CurrentKey(), "N4");
  d.navs.DispInTV();
  EXPECT_EQ(d.tree.SelectedKey(), "N4");
  EXPECT_TRUE(d.tree.IsExpanded("N2"));
  EXPECT_TRUE(d.tree.IsExpanded("N3"));
  EXPECT_FALSE(d.tree.IsExpanded("N5"));

  d.navs.SetCurrentKey("*");  // collapse: matches no key
  d.navs.DispInTV();
  EXPECT_EQ(d.tree.SelectedKey(), "");
  EXPECT_TRUE(d.tree.IsExpanded("N1"));
  EXPECT_FALSE(d.tree.IsExpanded("N2"));
}

TEST(Views, NodeClickShowsItsParagraphsInOrderOfAddition) {
  Design d;
  d.navs.NewScheme();
  d.navs.Add(Node(2, 1, "F"));
  d.navs.oWebs.Add(Paragraph(1, 2, 2, "S", "spW_A", "Second"));
  d.navs.oWebs.Add(Paragraph(2, 1, 1, "S", "spW_B", "Home"));
  d.navs.oWebs.Add(Paragraph(3, 2, 1, "C", "spW_C", "First"));
  d.navs.DispInTV();
  d.navs.OnTreeNodeClick("N2");
  EXPECT_TRUE(d.tree.IsExpanded("N2"));
  ASSERT_EQ(d.webGrid.RowCount(), 3);
  EXPECT_EQ(d.webGrid.Cell(1, 3), "Second");
  EXPECT_EQ(d.webGrid.Cell(2, 3), "First");
  const std::vector<std::string> first{"3", "2", "1", "First", "spW_C", "", "C", "0", ""};
  for (int column = 0; column < 9; ++column) EXPECT_EQ(d.webGrid.Cell(2, column), first[column]);

  d.navs.DisplayFullWeb();
  EXPECT_EQ(d.webGrid.RowCount(), 4);
  EXPECT_EQ(d.webGrid.Where(), (MemoryGrid::Placement{40, 300, 5000, 2000}));
}

TEST(Views, TreeKeysAndRightClicksReferToTheSelectedNode) {
  Design d;
  d.navs.NewScheme();
  d.navs.Add(Node(2, 1, "N"));
  d.navs.Add(Node(3, 1, "N"));
  d.navs.DispInTV();
  d.tree.ReleaseKey(kKeyInsert);  // nothing selected yet
  d.tree.ReleaseButton(MouseButton::Right);
  d.tree.Click("N9");  // no such node
  EXPECT_TRUE(d.events.events.empty());

  d.tree.Click("N2");
  for (int key : {kKeyInsert, kKeyF2, kKeyDelete, 112}) d.tree.ReleaseKey(key);
  d.tree.ReleaseButton(MouseButton::Left);
  d.tree.ReleaseButton(MouseButton::Middle);
  d.tree.Select("N3");  // as the keys move the selection
  d.tree.ReleaseButton(MouseButton::Right);
  EXPECT_EQ(d.events.events,
            (std::vector<std::string>{"click 2", "insert 2", "edit 2", "delete 2", "menu 3"}));
}

TEST(Views, ParagraphRightClickHandsOverTheCurrentRow) {
  Design d;
  d.navs.NewScheme();
  d.navs.oWebs.Add(Paragraph(8, 1, 1));
  d.navs.DisplayFullWeb();
  d.webGrid.ReleaseButton(MouseButton::Right);
  d.webGrid.SetCurrentRow(1);
  d.webGrid.ReleaseButton(MouseButton::Left);
  d.webGrid.ReleaseButton(MouseButton::Right);
  EXPECT_EQ(d.events.events,
            (std::vector<std::string>{"paragraph menu ID XST1", "paragraph menu 8 1"}));
}

TEST(Views, OrphansAndRedrawsAfterSchemeChanges) {
  Design d;
  d.navs.NewScheme();
  d.navs.Add(Node(5, 1, "N"));
  d.navs.oWebs.Add(Paragraph(1, 5, 1, "S", "q", "Kept"));
  d.navs.oWebs.Add(Paragraph(2, 77, 1, "S", "q", "Orphan"));
  d.navs.DispOrphans();
  ASSERT_EQ(d.webGrid.RowCount(), 2);
  EXPECT_EQ(d.webGrid.Cell(1, 3), "Orphan");
  EXPECT_EQ(d.webGrid.Cell(1, 1), "0");

  ASSERT_TRUE(d.navs.Renumber());  // 5 becomes 2; all paragraphs shown again
  EXPECT_EQ(d.webGrid.RowCount(), 3);
  EXPECT_EQ(d.webGrid.Cell(1, 1), "2");
  EXPECT_NE(d.tree.Node("N2"), nullptr);

  // Emptying the scheme leaves the tree empty and the node grid as it was.
  d.navs.Remove(1);
  d.navs.Remove(2);
  d.navs.DispInTV();
  EXPECT_EQ(d.tree.NodeCount(), 0u);
  EXPECT_EQ(d.navGrid.RowCount(), 3);
}

}  // namespace
}  // namespace kivwz
