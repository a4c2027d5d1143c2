// How the two editor windows are laid out: the fields stay together with no empty band between
// them, at the first size and when the window is made taller, and the longest help shows whole.

#include <gtest/gtest.h>

#include <QLabel>
#include <algorithm>
#include <utility>
#include <vector>

#include "builders.h"
#include "editor_test_support.h"
#include "wizard/model/memory_views.h"
#include "wizard/model/nav_editor_rules.h"
#include "wizard/model/web_editor_rules.h"
#include "wizard/ui/editors/node_editor.h"
#include "wizard/ui/editors/paragraph_editor.h"

namespace kivwz {
namespace {

// The tallest stretch of the window's height that no visible part fills, the margins above the
// first and below the last included. A part given more height than it asks for leaves the rest
// empty (a label centres its line in it); only the help area may take more.
int TallestEmptyBand(const QWidget& window) {
  std::vector<std::pair<int, int>> spans;
  for (const QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!child->isVisible()) continue;
    int filled = child->height();
    if (child->objectName() != QStringLiteral("lblDesc")) {
      filled = std::min(filled, child->hasHeightForWidth() ? child->heightForWidth(child->width())
                                                           : child->sizeHint().height());
    }
    spans.emplace_back(child->y(), child->y() + filled);
  }
  std::sort(spans.begin(), spans.end());
  int covered = 0;
  int tallest = 0;
  for (const auto& [top, bottom] : spans) {
    tallest = std::max(tallest, top - covered);
    covered = std::max(covered, bottom);
  }
  return std::max(tallest, window.height() - covered);
}

TEST(EditorLayout, FieldsStayTogetherAndTheLongestHelpShowsWhole) {
  test::App();
  clsNavSchemes navs;
  MemoryMessageBoxes messages;
  navs.SetMessageBoxes(&messages);
  navs.Add(test::Node(1, 0, "F", "", "Data Browser"));
  navs.Add(test::Node(2, 1, "G", "spG_Customers", "Customers", "CKey05"));
  navs.oWebs.Add(test::Paragraph(1, 2, 1, "T", "spW_Pictures"));
  fNav node(navs);
  node.PObject(navs.Item(1));
  node.NavObject(navs.CloneNav("2"));
  fWeb paragraph(navs);
  paragraph.WebObject(navs.oWebs.CloneWeb("1"));
  const std::pair<QWidget*, std::string_view> cases[] = {
      {&node, NavFieldHelp(NavField::Query)}, {&paragraph, WebFieldHelp(WebField::Cols)}};
  // Layout spacing and margins are a few pixels; a band is what a misplaced stretch opens.
  constexpr int kMostSpace = 14;
  for (const auto& [window, longestHelp] : cases) {
    SCOPED_TRACE(window->windowTitle().toStdString());
    ASSERT_TRUE(test::ShowActive(*window));
    EXPECT_LE(TallestEmptyBand(*window), kMostSpace) << "at " << window->height() << " px";
    auto* help = window->findChild<QLabel*>(QStringLiteral("lblDesc"));
    ASSERT_TRUE(help);
    help->setText(QString::fromUtf8(longestHelp.data(), qsizetype(longestHelp.size())));
    EXPECT_LE(help->heightForWidth(help->width()), help->height());
    // Height the user adds goes to the help area, not between the fields.
    const int helpHeight = help->height();
    window->resize(window->width(), window->height() + 200);
    QApplication::processEvents();
    EXPECT_LE(TallestEmptyBand(*window), kMostSpace) << "at " << window->height() << " px";
    EXPECT_GE(help->height(), helpHeight + 190);
    window->hide();
  }
}

}  // namespace
}  // namespace kivwz
