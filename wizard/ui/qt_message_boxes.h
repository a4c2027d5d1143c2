#pragma once
// QtMessageBoxes: the wizard's message boxes as modal QMessageBoxes over a window: information
// boxes with one OK button titled with the program's title, and Yes/No questions titled "Update
// Confirmation" with the preselected answer as the default button.

#include <QPointer>
#include <QString>
#include <QWidget>

#include "wizard/model/views.h"

namespace kivwz {

class QtMessageBoxes : public MessageBoxes {
 public:
  explicit QtMessageBoxes(QWidget* parent) : parent_(parent) {}
  void Information(const std::string& text) override;
  bool AskYesNo(const std::string& question, Answer preselected) override;

 private:
  QPointer<QWidget> parent_;
};

// The title of message boxes that name none: the program's display name.
QString ProgramTitle();

}  // namespace kivwz
