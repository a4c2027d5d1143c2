#pragma once
// A KivDBDemo main window on a copy of the demo database, offscreen, with the helpers its suites
// share: a real mouse click on a tree node, waiting for the report view, reading its DOM back.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTreeWidget>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <memory>
#include <string>

#include <kivdb/qt/qt_browser.h>
#include <kivdb/qt/qt_tree_view.h>
#include "demo/app/main_window.h"
#include "tests/demo/app/demo_copy.h"

namespace kivdb::demo::testing {

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MainWindowSetup setup;
    setup.settingsFile = copy_.Folder() / "config" / "KivDBDemo.ini";
    setup.pagesFolder = copy_.Pages();
    setup.demo = DemoFiles{copy_.Database(), KIVDB_DEMO_SITE};
    setup.prompts.openDatabase = [this](QWidget*) { return answerFile_; };
    setup.prompts.connectionString = [this](QWidget*, const QString&) { return answerFile_; };
    setup.prompts.pdfPath = [this](QWidget*, const QString&) { return answerFile_; };
    setup.prompts.role = [this](QWidget*, int) { return answerRole_; };
    window_ = std::make_unique<MainWindow>(std::move(setup));
    window_->show();
    window_->OpenDatabase(copy_.ConnectionString());
    Browser().WaitForLoad();
  }

  void TearDown() override {
    window_.reset();
    QApplication::processEvents();
  }

  qt::QtBrowser& Browser() { return window_->BrowserAdapter(); }

  TreeNode* Find(const std::string& path) {
    qt::QtTreeView& tree = window_->TreeAdapter();
    for (int i = 1; i <= tree.Count(); ++i) {
      if (tree.Item(i).FullPath() == path) return &tree.Item(i);
    }
    return nullptr;
  }

  // Clicks the node with the mouse, as a user does, and waits for its page.
  void Click(const std::string& path) {
    Press(path);
    ASSERT_TRUE(Browser().WaitForLoad()) << path;
  }

  // Clicks the node with the mouse and returns while its page may still load.
  void Press(const std::string& path) {
    TreeNode* node = Find(path);
    ASSERT_NE(node, nullptr) << path;
    QTreeWidget* widget = window_->Tree();
    QTreeWidgetItem* item = window_->TreeAdapter().ItemOf(*node);
    widget->scrollToItem(item);
    QTest::mouseClick(widget->viewport(), Qt::LeftButton, {},
                      widget->visualItemRect(item).center());
  }

  // Runs a script in the page and returns its result as text.
  QString Evaluate(const QString& script) {
    QString result;
    bool done = false;
    window_->View()->page()->runJavaScript(script, [&](const QVariant& value) {
      result = value.toString();
      done = true;
    });
    for (int waited = 0; !done && waited < 10000; waited += 20) QTest::qWait(20);
    EXPECT_TRUE(done) << script.toStdString();
    return result;
  }

  QString PageText() { return Evaluate("document.body ? document.body.innerText : ''"); }

  // The report view comes to show `text` (a page of several quick navigations settles last);
  // the page's text when it does not within ten seconds.
  ::testing::AssertionResult Shows(const QString& text) {
    QString seen;
    for (int waited = 0; waited < 10000; waited += 50) {
      seen = PageText();
      if (seen.contains(text)) return ::testing::AssertionSuccess();
      QTest::qWait(50);
    }
    return ::testing::AssertionFailure() << "the page does not show \"" << text.toStdString()
                                         << "\" but: " << seen.left(400).toStdString();
  }

  DemoCopy copy_;
  std::unique_ptr<MainWindow> window_;
  std::optional<QString> answerFile_;
  std::optional<int> answerRole_;
};

}  // namespace kivdb::demo::testing
