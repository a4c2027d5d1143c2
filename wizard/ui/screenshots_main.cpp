// kivwz_screenshots: draws the README's pictures of the wizard offscreen: the main window with
// the demo schemes loaded and a node selected, at the size it opens with on a 1366 x 768 screen,
// and the node editor open on that node.
//   kivwz_screenshots XST1.txt XST2.txt NODE-ID WIZARD.png NODE-EDITOR.png

#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <cstdlib>
#include <iostream>
#include <string>

#include "wizard/ui/editors/node_editor.h"
#include "wizard/ui/f_main.h"
#include "wizard/ui/scheme_grid.h"
#include "wizard/ui/scheme_tree_view.h"

namespace {

bool Save(QWidget& widget, const char* path) {
  if (widget.grab().save(QString::fromLocal8Bit(path))) return true;
  std::cerr << "kivwz_screenshots: cannot write " << path << "\n";
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6) {
    std::cerr << "usage: kivwz_screenshots XST1.txt XST2.txt NODE-ID WIZARD.png NODE-EDITOR.png\n";
    return 2;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("KivWZ"));
  kivwz::fMain main;
  // The size the window opens with on a 1366 x 768 screen.
  main.resize(kivwz::fMain::DefaultGeometry(QRect(0, 0, 1366, 768)).size());
  main.show();
  main.Commands().LoadFiles(argv[1], argv[2]);
  if (main.oNavs.Count() == 0 || main.oNavs.oWebs.Count() == 0) {
    std::cerr << "kivwz_screenshots: cannot load " << argv[1] << " and " << argv[2] << "\n";
    return 1;
  }
  // Select the node as a click would: its paragraphs fill the XST2 grid.
  const std::string node = argv[3];
  const std::string treeKey = "N" + node;
  if (!main.Tree().Select(treeKey)) {
    std::cerr << "kivwz_screenshots: no node " << node << "\n";
    return 1;
  }
  main.Tree().EnsureVisible(treeKey);
  main.Commands().NodeClicked(node);
  QApplication::processEvents();
  main.NavGrid().Flush();
  main.WebGrid().Flush();
  QApplication::processEvents();
  if (!Save(main, argv[4])) return 1;

  const kivwz::clsNavSchemes::Node record = main.oNavs.CloneNav(node);
  kivwz::fNav editor(main.oNavs, &main);
  editor.PObject(main.oNavs.Item(kivwz::KeyOf(record->parentIs)));
  editor.NavObject(record);
  editor.show();
  QApplication::processEvents();
  return Save(editor, argv[5]) ? 0 : 1;
}
