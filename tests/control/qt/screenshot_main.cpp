// kivdb-qt-screenshot DATABASE PICTURES OUT.png [NODE]: shows the control in a tree and a browser
// on DATABASE, clicks the top node's child NODE (default "Sales Overview") and saves a picture
// of the window (the first chart opened), so what a user sees can be looked at (run it under
// xvfb-run or offscreen).

#include <QApplication>
#include <QDir>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <QWebEngineView>
#include <filesystem>
#include <iostream>

#include <kivdb/kivdb.h>
#include "tests/control/qt/qt_widgets_harness.h"

int main(int argc, char** argv) {
  if (argc < 4) {
    std::cerr << "usage: kivdb-qt-screenshot DATABASE PICTURES OUT.png [NODE]\n";
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  }
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  namespace fs = std::filesystem;
  const fs::path folder = fs::temp_directory_path() / "kivdb-qt-screenshot";
  fs::remove_all(folder);
  fs::create_directories(folder);
  fs::copy(argv[2], folder, fs::copy_options::recursive);

  kivdb::qt::testing::QtWidgets widgets;
  widgets.window->resize(1280, 800);
  widgets.window->setSizes({300, 980});
  kivdb::KivDB control;
  control.InitProperties();
  control.SetUserMode(true);
  control.ApplicationFolder(kivdb::Variant(folder.string()));
  control.DAL()->ConnectionString(std::string("Provider=SQLite;Data Source=") + argv[1]);
  control.Heading(kivdb::Variant("Kestrel Trading"));
  control.SetControls(*widgets.tree, *widgets.browser);
  control.RefreshBrowser();
  widgets.browser->WaitForLoad();

  const QString wanted = argc > 4 ? argv[4] : "Sales Overview";
  QTreeWidgetItem* top = widgets.treeWidget->topLevelItem(0);
  for (int i = 0; top && i < top->childCount(); ++i) {
    if (top->child(i)->text(0) != wanted) continue;
    QSignalSpy loaded(widgets.view, &QWebEngineView::loadFinished);
    kivdb::qt::testing::ClickNode(*widgets.tree, *widgets.tree->NodeOf(top->child(i)));
    loaded.wait(20000);
  }
  // Charts start folded; open the first one as a user would, with a click on its picture.
  QTest::qWait(300);
  kivdb::qt::testing::ClickElement(*widgets.view, "img[id^=CTL]");
  // Open one more level so the tree shows its pictures.
  for (int i = 0; top && i < top->childCount(); ++i) top->child(i)->setExpanded(i < 3);
  QTest::qWait(1500);  // let the page paint
  if (!widgets.window->grab().save(argv[3])) {
    std::cerr << "cannot write " << argv[3] << "\n";
    return 1;
  }
  std::cout << argv[3] << "\n";
  return 0;
}
