#include "wizard/ui/editors/editor_prompts.h"

#include <QGuiApplication>
#include <QMessageBox>

namespace kivwz {

QString ProgramTitle() {
  const QString name = QGuiApplication::applicationDisplayName();
  return name.isEmpty() ? QStringLiteral("KivWZ") : name;
}

void QtEditorPrompts::Information(const std::string& text) {
  QMessageBox::information(owner_, ProgramTitle(), QString::fromStdString(text));
}

bool QtEditorPrompts::AskYesNo(const std::string& title, const std::string& question) {
  return QMessageBox::question(owner_, QString::fromStdString(title),
                               QString::fromStdString(question),
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace kivwz
