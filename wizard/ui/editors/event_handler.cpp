#include "wizard/ui/editors/event_handler.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QWidget>

#include "wizard/model/editor_keys.h"

namespace kivwz {

void CentreOnScreen(QWidget* window) {
  if (!window) return;
  QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  const QSize size = window->frameGeometry().size();
  window->move(area.left() + (area.width() - size.width()) / 2,
               area.top() + (area.height() - size.height()) / 2);
}

void clsEventHandler::SetForm(QWidget* window) {
  if (!window) return;
  if (mForm_) qApp->removeEventFilter(this);
  mForm_ = window;
  CentreOnScreen(window);
  // The application sees a key before the widget it is sent to: the window's key preview.
  qApp->installEventFilter(this);
}

std::int16_t clsEventHandler::KeyCodeOf(int qtKey) {
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) {
    return static_cast<std::int16_t>(kKeyFunction1 + (qtKey - Qt::Key_F1));
  }
  if (qtKey == Qt::Key_Escape) return kKeyEscape;
  if (qtKey == Qt::Key_Return || qtKey == Qt::Key_Enter) return kKeyEnter;
  return 0;
}

std::int16_t clsEventHandler::Processkey(std::int16_t keyCode, std::int16_t /*shift*/) {
  const EditorEvent event = EventOfKey(keyCode);
  QWidget* active = mForm_ ? mForm_->focusWidget() : nullptr;
  switch (event) {
    case EditorEvent::None:
      return keyCode;
    case EditorEvent::Help:
      emit eHelp();
      break;
    case EditorEvent::New:
      emit eNew();
      break;
    case EditorEvent::Save:
      emit eSave();
      break;
    case EditorEvent::Marks:
      emit eMarks();
      break;
    case EditorEvent::Print:
      emit ePrint();
      break;
    case EditorEvent::Search:
      emit eSearch();
      break;
    case EditorEvent::Select:
      emit eSelect();
      break;
    case EditorEvent::ParentDelete:
      emit eParentDelete();
      break;
    case EditorEvent::UndeleteParent:
      emit eUndeleteParent();
      break;
    case EditorEvent::OpenSpecificForm:
      emit eOpenSpecificForm(active);
      break;
    case EditorEvent::NextDetail:
      emit eNextDetail();
      break;
    case EditorEvent::CloseForm:
      emit eCloseForm();
      break;
    case EditorEvent::Enter:
      emit eEnter(active);
      break;
  }
  return 0;
}

bool clsEventHandler::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!mForm_ || !widget) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  if (widget->window() != mForm_) {
    // A key pressed in another window (a message box over this one) is that window's: its
    // release, which may reach this window once the box has closed, raises nothing here.
    if (event->type() == QEvent::KeyPress) pressed_ = 0;
    return false;
  }
  const std::int16_t code = KeyCodeOf(key->key());
  if (code == 0 || EventOfKey(code) == EditorEvent::None) return false;
  // The press is swallowed so that no field (or the dialog's own Esc and Enter) acts on it; the
  // event is raised once, when the key pressed in this window is released.
  if (key->isAutoRepeat()) return true;
  if (event->type() == QEvent::KeyPress) {
    pressed_ = code;
  } else if (pressed_ == code) {
    pressed_ = 0;
    Processkey(code, static_cast<std::int16_t>(key->modifiers() >> 25));
  }
  return true;
}

}  // namespace kivwz
