#include "wizard/ui/editors/field_focus.h"

#include <QApplication>
#include <QWidget>

#include "wizard/ui/editors/editor_fields.h"

namespace kivwz {

FieldFocus::FieldFocus(QWidget* window, std::function<bool(QWidget*)> mayLeave,
                       std::function<void(QWidget*)> focused)
    : QObject(window),
      window_(window),
      mayLeave_(std::move(mayLeave)),
      focused_(std::move(focused)) {
  connect(qApp, &QApplication::focusChanged, this, &FieldFocus::OnFocusChanged);
}

void FieldFocus::Enter(QWidget* control) {
  if (!mayLeave_(control)) return;
  checking_ = true;  // checked already: the move itself is not checked again
  MoveToNextField(control);
  checking_ = false;
}

void FieldFocus::OnFocusChanged(QWidget* old, QWidget* now) {
  // Focus going to another window (a message box) is no leaving.
  if (!now || now->window() != window_) return;
  if (!checking_ && old && old->window() == window_) {
    checking_ = true;
    const bool mayLeave = mayLeave_(old);
    if (!mayLeave) old->setFocus(Qt::OtherFocusReason);
    checking_ = false;
    if (!mayLeave) return;
  }
  focused_(now);
}

}  // namespace kivwz
