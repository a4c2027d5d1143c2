#include "editor_test_support.h"

#include <QAbstractButton>
#include <QTimer>

namespace kivwz::test {

QApplication& App() {
  static int argc = 1;
  static char name[] = "kivwz_editor_tests";
  static char* argv[] = {name, nullptr};
  static auto* app = new QApplication(argc, argv);  // lives until the process ends
  return *app;
}

void AnswerNextBox(QMessageBox::StandardButton button, QString* seen) {
  auto* poll = new QTimer(&App());
  QObject::connect(poll, &QTimer::timeout, poll, [poll, button, seen] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    poll->stop();  // deleteLater waits for the outer loop; the next box is not ours
    *seen = box->windowTitle() + " | " + box->text();
    if (QAbstractButton* answer = box->button(button)) {
      answer->click();
    } else {
      box->reject();  // not the box the test expected; its check fails on seen
    }
    poll->deleteLater();
  });
  poll->start(10);
}

}  // namespace kivwz::test
