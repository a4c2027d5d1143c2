#pragma once
// The Qt adapters in a shown window with the host's side of them, as the contract suites and the
// control's Qt suites drive them: real mouse clicks on tree items and on links in the page.

#include <QSplitter>
#include <QTreeWidget>
#include <QWebEngineView>
#include <memory>
#include <string>

#include <kivdb/qt/qt_browser.h>
#include <kivdb/qt/qt_tree_view.h>

namespace kivdb::qt::testing {

// A window with a tree on the left and a browser on the right, both bound to their adapters.
struct QtWidgets {
  QtWidgets();
  ~QtWidgets();

  std::unique_ptr<QSplitter> window;
  QTreeWidget* treeWidget;
  QWebEngineView* view;
  std::unique_ptr<QtTreeView> tree;
  std::unique_ptr<QtBrowser> browser;
};

// A left mouse click in the middle of the node's row (its ancestors opened, scrolled into view).
void ClickNode(QtTreeView& tree, TreeNode& node);
// Runs JavaScript in the shown page and returns its result as text (empty after 10 s).
QString RunJs(QWebEngineView& view, const QString& script);
// A left mouse click on the first element matching `selector` in the shown page; false when the
// page has no such element.
bool ClickElement(QWebEngineView& view, const QString& selector);

}  // namespace kivdb::qt::testing
