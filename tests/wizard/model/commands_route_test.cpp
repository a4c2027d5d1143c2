// The wizard's commands behind the in-memory views, driven as a user drives the window: what a
// click, a key or a right button on a view leads to, with no widget in between.

#include <gtest/gtest.h>

#include <functional>

#include "builders.h"
#include "tests/wizard/ui/fakes.h"
#include "wizard/model/memory_views.h"
#include "wizard/model/wizard_commands.h"

namespace kivwz {
namespace {

using test::Node;
using test::Paragraph;

class CountingMenus : public PopupMenus {
 public:
  explicit CountingMenus(test::ShownLog& log) : log_(log) {}
  void ShowNodeMenu() override { log_.push_back("node menu"); }
  void ShowParagraphMenu() override { log_.push_back("paragraph menu"); }

 private:
  test::ShownLog& log_;
};

// 1 (F) > 2 (F) > 3 (G) > 4 (R); 1 > 5 (N); 1 > 6 (G, no child yet). Node 5 has a paragraph.
struct Wizard {
  clsNavSchemes navs;
  MemoryTreeView tree;
  MemoryGrid navGrid;
  MemoryGrid webGrid;
  test::ShownLog log;
  test::RecordingMessages messages{log};
  test::ScriptedDialogs dialogs;
  test::RecordingWindows windows{log};
  CountingMenus menus{log};
  WizardCommands commands{navs, tree, navGrid, messages, dialogs, windows, menus};

  Wizard() {
    navs.SetTreeview(&tree);
    navs.SetGrid(&navGrid);
    navs.oWebs.SetGrid(&webGrid, 0, 0, 0, 0);
    navs.SetMessageBoxes(&messages);
    tree.SetEvents(&commands);
    webGrid.SetEvents(&commands);
    for (auto node : {Node(1, 0, "F"), Node(2, 1, "F"), Node(3, 2, "G", "spG_A"),
                      Node(4, 3, "R", "spG_B"), Node(5, 1, "N"), Node(6, 1, "G", "spG_C")}) {
      navs.Add(node);
    }
    navs.oWebs.Add(Paragraph(7, 5, 1));
    navs.DispInTV();
  }
};

TEST(CommandsRoute, ViewEventsReachTheCommandsForTheSelectedNode) {
  const std::string kG =
      "message: Below a (G)- Generating Node, you can add just ONE node.\nNode is already "
      "present. No Addition allowed !!";
  const std::string kR =
      "message: Below a (R)- Recurring Node, you CANNOT add any node.\nNo Addition allowed !!";
  const std::string kN =
      "message: Below a (N)- Non-Generating Node, you CANNOT add any node.\nNo Addition allowed "
      "!!";
  struct Case {
    const char* name;
    const char* click;
    std::function<void(Wizard&)> act;
    std::vector<std::string> log;
  } cases[] = {
      {"insert below a G with its child",
       "N3",
       [](Wizard& w) { w.tree.ReleaseKey(kKeyInsert); },
       {kG}},
      {"insert below an R", "N4", [](Wizard& w) { w.tree.ReleaseKey(kKeyInsert); }, {kR}},
      {"insert below an N", "N5", [](Wizard& w) { w.tree.ReleaseKey(kKeyInsert); }, {kN}},
      {"insert below a G without a child",
       "N6",
       [](Wizard& w) { w.tree.ReleaseKey(kKeyInsert); },
       {"node editor"}},
      {"insert below an F",
       "N2",
       [](Wizard& w) { w.tree.ReleaseKey(kKeyInsert); },
       {"node editor"}},
      {"edit", "N4", [](Wizard& w) { w.tree.ReleaseKey(kKeyF2); }, {"node editor"}},
      {"edit the root",
       "N1",
       [](Wizard& w) { w.tree.ReleaseKey(kKeyF2); },
       {"message: Root Node cannot be modified !!"}},
      {"another key", "N2", [](Wizard& w) { w.tree.ReleaseKey(112); }, {}},
      {"right button on the tree",
       "N2",
       [](Wizard& w) { w.tree.ReleaseButton(MouseButton::Right); },
       {"node menu"}},
      {"right button on the paragraph grid",
       "N5",
       [](Wizard& w) {
         w.webGrid.SetCurrentRow(1);
         w.webGrid.ReleaseButton(MouseButton::Right);
       },
       {"paragraph menu"}},
      {"delete", "N2", [](Wizard& w) { w.tree.ReleaseKey(kKeyDelete); }, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Wizard w;
    w.tree.Click(c.click);
    // A click shows the node's paragraphs and brings its row of the XST1 grid to the top.
    EXPECT_EQ(w.navs.CurrentKey(), c.click);
    EXPECT_EQ(w.navGrid.Cell(w.navGrid.TopRow(), 0), std::string(c.click).substr(1));
    EXPECT_EQ(w.webGrid.RowCount(), std::string(c.click) == "N5" ? 2 : 1);
    c.act(w);
    EXPECT_EQ(w.log, c.log);
    if (c.log == std::vector<std::string>{"node editor"}) {
      ASSERT_EQ(w.windows.nodeParents.size(), 1u);
      // The new node goes below the node inserted on; an edited one keeps the parent shown.
      const Long parent = std::string(c.name) == "edit" ? 3 : std::stol(c.click + 1);
      EXPECT_EQ(w.windows.nodeParents[0]->ID(), parent);
    }
  }
  // The menu refers to the node selected when it opens: after a delete, the parent.
  Wizard w;
  w.tree.Click("N2");
  w.tree.ReleaseKey(kKeyDelete);
  EXPECT_EQ(w.tree.KeysInOrder(), (std::vector<std::string>{"N1", "N5", "N6"}));
  w.tree.ReleaseButton(MouseButton::Right);
  EXPECT_EQ(w.commands.PopupKey(), "1");
}

}  // namespace
}  // namespace kivwz
