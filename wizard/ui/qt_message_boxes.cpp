#include "wizard/ui/qt_message_boxes.h"

#include <QMessageBox>

#include "wizard/ui/editors/editor_prompts.h"

namespace kivwz {

void QtMessageBoxes::Information(const std::string& text) {
  QMessageBox box(QMessageBox::Information, ProgramTitle(), QString::fromStdString(text),
                  QMessageBox::Ok, parent_);
  box.exec();
}

bool QtMessageBoxes::AskYesNo(const std::string& text) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Update Confirmation"),
                  QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No, parent_);
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

}  // namespace kivwz
