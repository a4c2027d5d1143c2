#pragma once
// A main window on recording stand-ins, started and shown offscreen, with helpers that act on it
// as a user would: clicks and keys in the tree, right clicks in the grids, menu commands.

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QTest>
#include <memory>

#include "tests/wizard/model/builders.h"
#include "tests/wizard/ui/fakes.h"
#include "wizard/ui/f_main.h"
#include "wizard/ui/scheme_grid.h"
#include "wizard/ui/scheme_tree_view.h"

namespace kivwz::test {

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    main_ = std::make_unique<fMain>(fMain::Services{&messages_, &dialogs_, &windows_});
    main_->resize(1200, 800);
    main_->Start();
    main_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main_.get()));
    log_.clear();
  }
  void TearDown() override {
    main_->NodePopup().close();
    main_->ParagraphPopup().close();
    messages_.answer = true;  // let the window go whatever it holds
    main_->close();
  }

  clsNavSchemes& Navs() { return main_->oNavs; }
  // Replaces the design with these nodes (in tree order) and paragraphs, loaded from files as
  // the command line loads them, so that the window holds them as unchanged.
  void Design(std::initializer_list<std::shared_ptr<clsNavScheme>> nodes,
              std::initializer_list<std::shared_ptr<clsWebScheme>> paragraphs = {}) {
    clsNavSchemes design;
    for (const auto& node : nodes) design.Add(node);
    for (const auto& paragraph : paragraphs) design.oWebs.Add(paragraph);
    const std::string nav = files_.File("design-XST1.txt");
    const std::string web = files_.File("design-XST2.txt");
    ASSERT_TRUE(design.SaveData(nav));
    if (paragraphs.size() == 0) {
      WriteFile(web, "\"ID\"\r\n");
    } else {
      ASSERT_TRUE(design.SaveWeb(web));
    }
    main_->Commands().LoadFiles(nav, web);
    log_.clear();
    messages_.Forget();
  }
  void ClickNode(const std::string& treeKey) {
    SchemeTreeView& tree = main_->Tree();
    QTreeWidgetItem* item = tree.ItemOf(treeKey);
    ASSERT_NE(item, nullptr) << treeKey;
    for (QTreeWidgetItem* above = item->parent(); above != nullptr; above = above->parent()) {
      above->setExpanded(true);
    }
    tree.scrollToItem(item);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualItemRect(item).center());
  }
  void ReleaseKey(Qt::Key key) { QTest::keyRelease(&main_->Tree(), key); }
  void RightClickWebGrid() {
    QTest::mouseClick(main_->WebGrid().viewport(), Qt::RightButton, {}, QPoint(5, 5));
  }
  void ClickWebRow(int row) {
    SchemeGrid& grid = main_->WebGrid();
    grid.Flush();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                      grid.visualRect(grid.model()->index(row - 1, 0)).center());
  }
  QAction* Action(const char* name) {
    auto* action = main_->findChild<QAction*>(QLatin1String(name));
    EXPECT_NE(action, nullptr) << name;
    return action;
  }
  void Trigger(const char* name) {
    if (QAction* action = Action(name)) action->trigger();
  }

  ScratchDir files_;
  ShownLog log_;
  RecordingMessages messages_{log_};
  ScriptedDialogs dialogs_;
  RecordingWindows windows_{log_};
  std::unique_ptr<fMain> main_;
};

}  // namespace kivwz::test
