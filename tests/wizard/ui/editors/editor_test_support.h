#pragma once
// Shared pieces of the editor suites: the application object and key presses sent the way a
// user's keyboard sends them. The windows' prompts are the in-memory message boxes.

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QTest>
#include <QWidget>
#include <string>
#include <vector>

namespace kivwz::test {

// The one application of the suite, created on first use.
QApplication& App();

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

// Answers the next modal message box with the button, once it is shown, and reports its title
// and text ("title | text"). Polls, so the box may open after the call.
void AnswerNextBox(QMessageBox::StandardButton button, QString* seen);

inline QStringList Entries(QListWidget* list) {
  QStringList entries;
  for (int i = 0; i < list->count(); ++i) entries << list->item(i)->text();
  return entries;
}

inline QString Chosen(QListWidget* list) {
  return list->currentRow() < 0 ? QString() : list->currentItem()->text();
}

}  // namespace kivwz::test
