#pragma once
// QtMessageBoxes: the wizard's information boxes as modal QMessageBoxes with one OK button,
// titled with the program's title (ProgramTitle), and its Yes/No questions ("Update
// Confirmation").

#include <QPointer>
#include <QString>
#include <QWidget>

#include "wizard/model/views.h"

namespace kivwz {

class QtMessageBoxes : public MessageBoxes {
 public:
  explicit QtMessageBoxes(QWidget* parent) : parent_(parent) {}
  void Information(const std::string& text) override;
  // A Yes/No question, titled as every question of the wizard is; true for Yes.
  bool AskYesNo(const std::string& text);

 private:
  QPointer<QWidget> parent_;
};

}  // namespace kivwz
