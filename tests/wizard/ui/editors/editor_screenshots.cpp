// Renders the editors and small windows on the demo schemes into PNG files, for the docs and for
// looking at the windows without a display:
//   kivwz_editor_screenshots DEMO_DIR OUT_DIR   (with QT_QPA_PLATFORM=offscreen)

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTextBrowser>
#include <iostream>

#include "wizard/model/memory_views.h"
#include "wizard/model/nav_schemes.h"
#include "wizard/ui/editors/help_window.h"
#include "wizard/ui/editors/intro_window.h"
#include "wizard/ui/editors/node_editor.h"
#include "wizard/ui/editors/output_window.h"
#include "wizard/ui/editors/paragraph_editor.h"

namespace {

bool Shoot(QWidget& window, const QString& file) {
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) return false;
  QApplication::processEvents();
  const bool saved = window.grab().save(file);
  std::cout << (saved ? "wrote " : "failed ") << file.toStdString() << "\n";
  return saved;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationDisplayName(QStringLiteral("KivWZ"));
  if (argc != 3) {
    std::cerr << "usage: kivwz_editor_screenshots DEMO_DIR OUT_DIR\n";
    return 2;
  }
  const QDir demo(QString::fromLocal8Bit(argv[1]));
  const QDir out(QString::fromLocal8Bit(argv[2]));
  kivwz::clsNavSchemes navs;
  kivwz::MemoryMessageBoxes messages;
  navs.SetMessageBoxes(&messages);
  if (!navs.LoadData(demo.filePath("XST1.txt").toStdString()) ||
      !navs.LoadWeb(demo.filePath("XST2.txt").toStdString())) {
    std::cerr << "cannot read the demo schemes in " << argv[1] << "\n";
    return 1;
  }
  bool ok = true;

  // The node editor on the demo's "Customer" node, Enter pressed in the description.
  kivwz::fNav node(navs);
  node.PObject(navs.Item(4));
  node.NavObject(navs.CloneNav("5"));
  node.show();
  auto* description = node.findChild<QLineEdit*>(QStringLiteral("txtDescription"));
  description->setFocus();
  QTest::keyClick(description, Qt::Key_Return);
  QTest::keyClick(node.findChild<QListWidget*>(QStringLiteral("lstType")), Qt::Key_Return);
  ok &= Shoot(node, out.filePath("node-editor.png"));

  kivwz::fWeb paragraph(navs);
  paragraph.WebObject(navs.oWebs.CloneWeb("12"));
  paragraph.show();
  paragraph.findChild<QLineEdit*>(QStringLiteral("txtCol"))->setFocus();
  ok &= Shoot(paragraph, out.filePath("paragraph-editor.png"));

  kivwz::fOutput output;
  output.OutText = navs.CheckNav();
  ok &= Shoot(output, out.filePath("output-window.png"));

  kivwz::fIntro intro;
  ok &= Shoot(intro, out.filePath("intro-window.png"));

  kivwz::fHelp help;
  ok &= Shoot(help, out.filePath("help-window.png"));
  return ok ? 0 : 1;
}
