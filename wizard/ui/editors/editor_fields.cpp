#include "wizard/ui/editors/editor_fields.h"

#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <algorithm>

#include "wizard/model/parameter_kinds.h"

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

void MarkReadOnly(QWidget* field) {
  SetFieldBackground(field, QApplication::palette().color(QPalette::Window));
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

QLineEdit* NamedLineEdit(QWidget* parent, const char* name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  return edit;
}

QLabel* HelpArea(QWidget* parent, int minimumHeight) {
  auto* area = new QLabel(QStringLiteral("--"), parent);
  area->setObjectName(QStringLiteral("lblDesc"));
  area->setWordWrap(true);
  area->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  area->setFrameShape(QFrame::StyledPanel);
  area->setMinimumHeight(minimumHeight);
  area->setTextInteractionFlags(Qt::NoTextInteraction);
  return area;
}

void FitHelpArea(QLabel* area, int width, const std::vector<std::string_view>& texts) {
  const QString shown = area->text();
  int height = area->minimumHeight();
  for (const std::string_view text : texts) {
    area->setText(ToQt(text));
    height = std::max(height, area->heightForWidth(width));
  }
  area->setText(shown);
  area->setMinimumHeight(height);
}

void ResizeToWidth(QWidget* window, int width) {
  const QLayout* layout = window->layout();
  if (!layout) return;
  const int height = layout->hasHeightForWidth() ? layout->totalHeightForWidth(width)
                                                 : layout->totalSizeHint().height();
  window->resize(width, height);
}

std::vector<std::string_view> ParameterHelpTexts() {
  std::vector<std::string_view> texts{kParmListHelp};
  for (const ParmKind kind :
       {ParmKind::None, ParmKind::LKey, ParmKind::CKeynn, ParmKind::Text, ParmKind::Today}) {
    texts.push_back(ReactToParm(kind).help);
  }
  return texts;
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
