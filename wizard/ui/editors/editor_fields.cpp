#include "wizard/ui/editors/editor_fields.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>

namespace kivwz {

QColor NormalFieldBackground() {
  return QApplication::palette().color(QPalette::Base);
}

QColor TooltipBackground() {
  return QApplication::palette().color(QPalette::ToolTipBase);
}

void SetFieldBackground(QWidget* field, const QColor& colour) {
  if (!field) return;
  QPalette palette = field->palette();
  palette.setColor(QPalette::Base, colour);
  field->setPalette(palette);
}

QColor FieldBackground(const QWidget* field) {
  return field ? field->palette().color(QPalette::Base) : QColor();
}

QWidget* MoveToNextField(QWidget* from) {
  if (!from) return nullptr;
  QWidget* window = from->window();
  SetFieldBackground(from, NormalFieldBackground());
  QWidget* next = from->nextInFocusChain();
  while (next && next != from) {
    if (next->window() == window && (next->focusPolicy() & Qt::TabFocus) && next->isEnabled() &&
        next->isVisibleTo(window) && !next->focusProxy()) {
      break;
    }
    next = next->nextInFocusChain();
  }
  if (!next) return nullptr;
  next->setFocus(Qt::TabFocusReason);
  // A field that may not be left yet keeps the focus; colour the field that really has it.
  QWidget* focused = window->focusWidget() ? window->focusWidget() : next;
  SetFieldBackground(focused, kEnteredFieldColour);
  return focused;
}

QString ToQt(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string Text(const QLineEdit* field) {
  return field->text().toStdString();
}

std::string ChosenLetter(const QListWidget* list) {
  const QListWidgetItem* item = list->currentItem();
  if (!item || list->currentRow() < 0) return {};
  return item->text().left(1).toStdString();
}

}  // namespace kivwz
