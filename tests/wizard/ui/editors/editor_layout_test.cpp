// How the two editor windows are laid out: the fields stay together with no empty band between
// them, at the first size and when the window is made taller, and every help text shows whole.

#include <gtest/gtest.h>

#include <QLabel>
#include <algorithm>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "builders.h"
#include "editor_test_support.h"
#include "wizard/model/memory_views.h"
#include "wizard/model/nav_editor_rules.h"
#include "wizard/model/nav_schemes.h"
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
      const int wanted = child->hasHeightForWidth() ? child->heightForWidth(child->width())
                                                    : child->sizeHint().height();
      filled = std::min(filled, wanted);
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

std::vector<std::string_view> HelpTexts(bool paragraph) {
  std::vector<std::string_view> texts;
  for (const ParmKind kind :
       {ParmKind::None, ParmKind::LKey, ParmKind::CKeynn, ParmKind::Text, ParmKind::Today}) {
    texts.push_back(ReactToParm(kind).help);
  }
  if (paragraph) {
    for (int field = 0; field <= static_cast<int>(WebField::Cols); ++field) {
      texts.push_back(WebFieldHelp(static_cast<WebField>(field)));
    }
    for (const char letter : std::string_view("CHEMIST")) {
      texts.push_back(ReactToWebType(letter).help);
    }
  } else {
    for (int field = 0; field <= static_cast<int>(NavField::Role); ++field) {
      texts.push_back(NavFieldHelp(static_cast<NavField>(field)));
    }
    for (const char letter : std::string_view("FGRN")) {
      texts.push_back(ReactToNavType(letter).help);
    }
  }
  return texts;
}

TEST(EditorLayout, FieldsStayTogetherAndEveryHelpTextShowsWhole) {
  test::App();
  clsNavSchemes navs;
  MemoryMessageBoxes messages;
  navs.SetMessageBoxes(&messages);
  navs.Add(test::Node(1, 0, "F", "", "Data Browser"));
  navs.Add(test::Node(2, 1, "G", "spG_Customers", "Customers", "CKey05"));
  navs.oWebs.Add(test::Paragraph(1, 2, 1, "T", "spW_Pictures"));

  struct Case {
    const char* name;
    bool paragraph;
    std::function<std::unique_ptr<QWidget>()> open;
  };
  const Case cases[] = {
      {"node editor", false,
       [&] {
         auto editor = std::make_unique<fNav>(navs);
         editor->PObject(navs.Item(1));
         editor->NavObject(navs.CloneNav("2"));
         return editor;
       }},
      {"paragraph editor", true,
       [&] {
         auto editor = std::make_unique<fWeb>(navs);
         editor->WebObject(navs.oWebs.CloneWeb("1"));
         return editor;
       }},
  };
  // Layout spacing and margins are a few pixels; a band is what a misplaced stretch opens.
  constexpr int kMostSpace = 14;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<QWidget> window = c.open();
    ASSERT_TRUE(test::ShowActive(*window));
    EXPECT_LE(TallestEmptyBand(*window), kMostSpace) << "at " << window->height() << " px";
    auto* help = window->findChild<QLabel*>(QStringLiteral("lblDesc"));
    ASSERT_TRUE(help);
    for (const std::string_view text : HelpTexts(c.paragraph)) {
      help->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
      EXPECT_LE(help->heightForWidth(help->width()), help->height()) << text.substr(0, 40);
    }
    // Height the user adds goes to the help area, not between the fields.
    const int helpHeight = help->height();
    window->resize(window->width(), window->height() + 200);
    QApplication::processEvents();
    EXPECT_LE(TallestEmptyBand(*window), kMostSpace) << "at " << window->height() << " px";
    EXPECT_GE(help->height(), helpHeight + 190);
  }
}

}  // namespace
}  // namespace kivwz
