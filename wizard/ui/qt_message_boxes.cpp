#include "wizard/ui/qt_message_boxes.h"

#include <QGuiApplication>
#include <QMessageBox>

namespace kivwz {

QString ProgramTitle() {
  const QString name = QGuiApplication::applicationDisplayName();
  return name.isEmpty() ? QStringLiteral("KivWZ") : name;
}

void QtMessageBoxes::Information(const std::string& text) {
  QMessageBox box(QMessageBox::Information, ProgramTitle(), QString::fromStdString(text),
                  QMessageBox::Ok, parent_);
  box.exec();
}

bool QtMessageBoxes::AskYesNo(const std::string& question, Answer preselected) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Update Confirmation"),
                  QString::fromStdString(question), QMessageBox::Yes | QMessageBox::No, parent_);
  // Yes preselected is the box's own choice: the first button takes the focus, none is default.
  if (preselected == Answer::No) box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

}  // namespace kivwz
