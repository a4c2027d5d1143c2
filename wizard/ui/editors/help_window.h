#pragma once
// fHelp: the wizard's help page (schemes, node and paragraph types, parameter kinds, keys),
// shipped inside the program. The main window opens it from its Help menu and on F1.

#include <QDialog>

class QTextBrowser;

namespace kivwz {

class fHelp : public QDialog {
  Q_OBJECT

 public:
  explicit fHelp(QWidget* parent = nullptr);

  QTextBrowser* Page() const { return page_; }

 private:
  QTextBrowser* page_;
};

}  // namespace kivwz
