#include "tests/control/qt/qt_widgets_harness.h"

#include <QApplication>
#include <QTest>
#include <QWebEnginePage>
#include <QWidget>

namespace kivdb::qt::testing {

QtWidgets::QtWidgets() : window(std::make_unique<QSplitter>()) {
  treeWidget = new QTreeWidget(window.get());
  view = new QWebEngineView(window.get());
  window->addWidget(treeWidget);
  window->addWidget(view);
  window->setSizes({260, 740});
  window->resize(1000, 700);
  window->show();
  tree = std::make_unique<QtTreeView>(*treeWidget);
  browser = std::make_unique<QtBrowser>(*view);
}

QtWidgets::~QtWidgets() {
  browser.reset();
  tree.reset();
}

void ClickNode(QtTreeView& tree, TreeNode& node) {
  QTreeWidgetItem* item = tree.ItemOf(node);
  for (QTreeWidgetItem* p = item->parent(); p; p = p->parent()) p->setExpanded(true);
  tree.Widget().scrollToItem(item);
  const QRect rect = tree.Widget().visualItemRect(item);
  QTest::mouseClick(tree.Widget().viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
}

QString RunJs(QWebEngineView& view, const QString& script) {
  QString result;
  bool done = false;
  view.page()->runJavaScript(script, [&](const QVariant& value) {
    result = value.toString();
    done = true;
  });
  if (!QTest::qWaitFor([&] { return done; }, 10000)) return {};
  return result;
}

bool ClickElement(QWebEngineView& view, const QString& selector) {
  const QString script = QString(R"(
      (function() {
        var e = document.querySelector(%1);
        if (!e) return '';
        e.scrollIntoView({block: 'center'});
        var r = e.getBoundingClientRect();
        return Math.round(r.left + Math.min(r.width / 2, 8)) + ',' +
               Math.round(r.top + r.height / 2);
      })())")
                             .arg("'" + QString(selector).replace("'", "\\'") + "'");
  const QStringList at = RunJs(view, script).split(',');
  if (at.size() != 2) return false;
  QWidget* target = view.focusProxy() ? view.focusProxy() : &view;
  const QPoint point(at[0].toInt(), at[1].toInt());
  QTest::mouseMove(target, point);
  QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, point);
  return true;
}

}  // namespace kivdb::qt::testing
