#pragma once
// The focus rules both editors share: a field with a check may not be left while its check
// fails (its message is shown and the focus goes back), a field that receives the focus shows
// its help, and Enter moves on as Tab does once the field may be left.

#include <QObject>
#include <functional>

class QWidget;

namespace kivwz {

class FieldFocus : public QObject {
  Q_OBJECT

 public:
  // mayLeave shows its own message when it answers false; focused runs for every field of the
  // window that receives the focus.
  FieldFocus(QWidget* window, std::function<bool(QWidget*)> mayLeave,
             std::function<void(QWidget*)> focused);

  // Enter pressed in control.
  void Enter(QWidget* control);

 private:
  void OnFocusChanged(QWidget* old, QWidget* now);

  QWidget* window_;
  std::function<bool(QWidget*)> mayLeave_;
  std::function<void(QWidget*)> focused_;
  bool checking_ = false;  // a check (or Enter's move after one) is under way
};

}  // namespace kivwz
