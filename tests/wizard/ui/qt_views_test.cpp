// What only the Qt views show: texts, pictures, colours, fonts and widths, and how keys and mouse
// buttons on the real widgets reach the scheme's events.

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QKeyEvent>
#include <QTest>
#include <QVBoxLayout>

#include "tests/wizard/model/builders.h"
#include "tests/wizard/model/recording_events.h"
#include "wizard/model/nav_schemes.h"
#include "wizard/model/view_style.h"
#include "wizard/ui/scheme_grid.h"
#include "wizard/ui/scheme_tree_view.h"

namespace kivwz {
namespace {

using test::Node;
using test::Paragraph;

// A scheme drawn into real widgets on a shown window, the widgets handing their events to a
// recorder as the main window hands them to its commands; a click shows the node as it does there.
class QtViews : public ::testing::Test {
 protected:
  void SetUp() override {
    auto* layout = new QVBoxLayout(&window_);
    tree_ = new SchemeTreeView(&window_);
    navGrid_ = new SchemeGrid(&window_);
    webGrid_ = new SchemeGrid(&window_);
    layout->addWidget(tree_);
    layout->addWidget(navGrid_);
    layout->addWidget(webGrid_);
    navs_.Add(Node(1, 0, "F", "", "Root"));
    navs_.Add(Node(2, 1, "F"));
    navs_.Add(Node(3, 2, "G", "spG_Q"));
    navs_.Add(Node(4, 3, "R", "spG_R"));
    navs_.Add(Node(5, 1, "N"));
    navs_.Add(Node(6, 1, "X"));
    navs_.oWebs.Add(Paragraph(1, 2, 1));
    navs_.oWebs.Add(Paragraph(2, 5, 1));
    navs_.oWebs.Add(Paragraph(3, 2, 2));
    navs_.SetTreeview(tree_);
    navs_.SetGrid(navGrid_);
    navs_.oWebs.SetGrid(webGrid_, 0, 0, 0, 0);
    recorder_.onClick = [this](const std::string& key) { navs_.OnTreeNodeClick("N" + key); };
    tree_->SetEvents(&recorder_);
    webGrid_->SetEvents(&recorder_);
    navs_.DispInTV();
    navs_.DisplayFullWeb();
    window_.resize(900, 700);
    window_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
    navGrid_->Flush();
    webGrid_->Flush();
  }
  void TearDown() override {
    navs_.SetTreeview(nullptr);
    navs_.SetGrid(nullptr);
    navs_.oWebs.SetGrid(nullptr, 0, 0, 0, 0);
  }

  QPoint CentreOf(const std::string& key) const {
    return tree_->visualItemRect(tree_->ItemOf(key)).center();
  }
  void ClickNode(const std::string& key) {
    tree_->scrollToItem(tree_->ItemOf(key));
    QTest::mouseClick(tree_->viewport(), Qt::LeftButton, {}, CentreOf(key));
  }
  QPoint CentreOfRow(SchemeGrid& grid, int row) const {
    return grid.visualRect(grid.model()->index(row - 1, 0)).center();
  }

  QWidget window_;
  SchemeTreeView* tree_ = nullptr;
  SchemeGrid* navGrid_ = nullptr;
  SchemeGrid* webGrid_ = nullptr;
  clsNavSchemes navs_;
  test::RecordingEvents recorder_;
  std::vector<std::string>& events_ = recorder_.events;
};

QColor Qt(Color color) {
  return QColor(color.red, color.green, color.blue);
}

TEST_F(QtViews, TreeShowsTextsPicturesAndColoursByType) {
  const QTreeWidgetItem* root = tree_->ItemOf("N1");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->text(0), "Data Browser");
  EXPECT_EQ(root->foreground(0).color(), QColor(Qt::black));
  EXPECT_TRUE(root->isExpanded());
  EXPECT_FALSE(root->icon(0).isNull());
  struct Case {
    const char* key;
    Color color;
    bool picture;
  };
  for (const Case& c :
       {Case{"N2", kRed, true}, Case{"N3", kBlue, true}, Case{"N4", kDarkGreen, true},
        Case{"N5", kMaroon, true}, Case{"N6", kBlack, false}}) {
    const QTreeWidgetItem* item = tree_->ItemOf(c.key);
    ASSERT_NE(item, nullptr) << c.key;
    EXPECT_EQ(item->foreground(0).color(), Qt(c.color)) << c.key;
    EXPECT_EQ(!item->icon(0).isNull(), c.picture) << c.key;
    EXPECT_FALSE(item->flags() & Qt::ItemIsEditable) << c.key;
  }
  EXPECT_EQ(tree_->ItemOf("N2")->text(0), "Node 2");
  EXPECT_TRUE(tree_->font().bold());
  EXPECT_EQ(tree_->font().pointSize(), 10);
  EXPECT_EQ(tree_->editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST_F(QtViews, ReleasedKeysRaiseTheNodeCommandsForTheSelectedNode) {
  tree_->setFocus();
  ClickNode("N2");
  events_.clear();
  for (const auto key : {Qt::Key_Insert, Qt::Key_F2, Qt::Key_Delete, Qt::Key_F5}) {
    QTest::keyRelease(tree_, key);
  }
  // A held key repeats its press and release; only the real release counts.
  QKeyEvent repeated(QEvent::KeyRelease, Qt::Key_Insert, Qt::NoModifier, QString(), true);
  QApplication::sendEvent(tree_, &repeated);
  EXPECT_EQ(events_, (std::vector<std::string>{"insert 2", "edit 2", "delete 2"}));
}

TEST_F(QtViews, NodeClickFiltersParagraphsOpensTheNodeAndIsRemembered) {
  ClickNode("N2");
  EXPECT_EQ(events_, (std::vector<std::string>{"click 2"}));
  EXPECT_TRUE(tree_->ItemOf("N2")->isExpanded());
  EXPECT_EQ(navs_.CurrentKey(), "N2");
  ASSERT_EQ(webGrid_->RowCount(), 3);
  EXPECT_EQ(webGrid_->Cell(1, 0), "1");
  EXPECT_EQ(webGrid_->Cell(2, 0), "3");
  // A second click never closes the node.
  ClickNode("N2");
  EXPECT_TRUE(tree_->ItemOf("N2")->isExpanded());
}

TEST_F(QtViews, RightButtonRefersToTheSelectedNodeNotTheOneUnderTheMouse) {
  ClickNode("N2");
  events_.clear();
  QTest::mousePress(tree_->viewport(), Qt::RightButton, {}, CentreOf("N5"));
  QTest::mouseRelease(tree_->viewport(), Qt::RightButton, {}, CentreOf("N5"));
  EXPECT_EQ(events_, (std::vector<std::string>{"menu 2"}));
  EXPECT_EQ(tree_->SelectedKey(), "N2");
}

TEST_F(QtViews, GridRightClickAfterARedrawHandsTheHeaderCells) {
  QTest::mouseClick(webGrid_->viewport(), Qt::RightButton, {}, CentreOfRow(*webGrid_, 2));
  // A data row chosen with the left button is what the next right click refers to.
  QTest::mouseClick(webGrid_->viewport(), Qt::LeftButton, {}, CentreOfRow(*webGrid_, 2));
  QTest::mouseClick(webGrid_->viewport(), Qt::RightButton, {}, CentreOfRow(*webGrid_, 3));
  navs_.DisplayFullWeb();
  QTest::mouseClick(webGrid_->viewport(), Qt::RightButton, {}, CentreOfRow(*webGrid_, 1));
  EXPECT_EQ(events_, (std::vector<std::string>{"paragraph menu ID XST1", "paragraph menu 2 5",
                                               "paragraph menu ID XST1"}));
}

TEST_F(QtViews, GridColumnsFollowTheFormat) {
  const auto& columns = navGrid_->Model().Columns();
  ASSERT_EQ(columns.size(), 8u);
  EXPECT_EQ(navGrid_->model()->headerData(1, Qt::Horizontal, Qt::DisplayRole), "Description");
  // Widths in characters: the 61-character description is far wider than the 3-character ID.
  EXPECT_GT(navGrid_->columnWidth(1), 10 * navGrid_->columnWidth(0));
  EXPECT_LT(navGrid_->columnWidth(1), 25 * navGrid_->columnWidth(0));
  const QModelIndex id = navGrid_->model()->index(0, 0);
  const QModelIndex type = navGrid_->model()->index(0, 2);
  const QModelIndex text = navGrid_->model()->index(0, 1);
  EXPECT_EQ(id.data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignHorizontal_Mask,
            Qt::AlignRight);
  EXPECT_EQ(type.data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignHorizontal_Mask,
            Qt::AlignHCenter);
  EXPECT_EQ(text.data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignHorizontal_Mask,
            Qt::AlignLeft);
}

TEST_F(QtViews, GridRowsTakeTheColourOfTheirType) {
  // Rows 1-6: F, F, G, R, N, X; the X row keeps the colour of the N row above it.
  const Color expected[] = {kRed, kRed, kBlue, kGreen, kMaroon, kMaroon};
  for (int row = 1; row <= 6; ++row) {
    for (int column = 0; column < 8; ++column) {
      EXPECT_EQ(navGrid_->CellColor(row, column), Qt(expected[row - 1]))
          << "row " << row << " column " << column;
    }
    EXPECT_EQ(navGrid_->model()->index(row - 1, 3).data(Qt::ForegroundRole).value<QColor>(),
              Qt(expected[row - 1]));
  }
}

TEST_F(QtViews, TopRowScrollsTheGrid) {
  for (int id = 7; id < 300; ++id) navs_.Add(Node(id, 1, "N"));
  navs_.DispInGrid();
  navGrid_->SetTopRow(150);
  EXPECT_EQ(navGrid_->TopRow(), 150);
  navGrid_->SetTopRow(0);
  EXPECT_EQ(navGrid_->TopRow(), 1);
}

}  // namespace
}  // namespace kivwz
