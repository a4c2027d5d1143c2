#pragma once
// Shared pieces of the editor suites: the application object, prompts that record instead of
// showing boxes, and key presses sent the way a user's keyboard sends them.

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QWidget>
#include <string>
#include <vector>

#include "wizard/ui/editors/editor_prompts.h"

namespace kivwz::test {

// The one application of the suite, created on first use.
QApplication& App();

class RecordingPrompts : public EditorPrompts {
 public:
  void Information(const std::string& text) override { shown.push_back(text); }
  bool AskYesNo(const std::string& title, const std::string& question) override {
    asked.push_back(title + " | " + question);
    return answer;
  }
  std::vector<std::string> shown;
  std::vector<std::string> asked;
  bool answer = true;
};

// Shows the window and waits until it is the active one, so focus moves are real.
inline bool ShowActive(QWidget& window) {
  window.show();
  window.activateWindow();
  return QTest::qWaitForWindowActive(&window);
}

template <typename T>
T* Field(QWidget& window, const char* name) {
  return window.findChild<T*>(QString::fromLatin1(name));
}

inline QString Line(QWidget& window, const char* name) {
  return Field<QLineEdit>(window, name)->text();
}

// Types into a field the way the user would: focus, select all, type.
inline void TypeInto(QLineEdit* field, const QString& text) {
  field->setFocus();
  field->selectAll();
  QTest::keyClicks(field, text);
}

inline QStringList Entries(QListWidget* list) {
  QStringList entries;
  for (int i = 0; i < list->count(); ++i) entries << list->item(i)->text();
  return entries;
}

inline QString Chosen(QListWidget* list) {
  return list->currentRow() < 0 ? QString() : list->currentItem()->text();
}

}  // namespace kivwz::test
