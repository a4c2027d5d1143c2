#pragma once
// How the wizard's tree and grids treat mouse buttons: only the left one selects, so a right click
// refers to what was chosen before it, and a released button reaches the views' events as the
// MouseButton of views.h.

#include <QMouseEvent>

#include "wizard/model/views.h"

namespace kivwz {

// True when the event goes on to the widget's own handling; any other button is taken here.
inline bool LeftButtonOnly(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) return true;
  event->accept();
  return false;
}

inline MouseButton ButtonOf(const QMouseEvent* event) {
  switch (event->button()) {
    case Qt::LeftButton:
      return MouseButton::Left;
    case Qt::RightButton:
      return MouseButton::Right;
    default:
      return MouseButton::Middle;
  }
}

}  // namespace kivwz
