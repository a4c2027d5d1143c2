#include "wizard/ui/editors/parameter_fields.h"

#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>

#include "wizard/model/parameter_kinds.h"
#include "wizard/ui/editors/editor_fields.h"

namespace kivwz {

ParameterFields::ParameterFields(QWidget* parent, std::function<void(std::string_view)> showHelp)
    : QObject(parent),
      list_(new QListWidget(parent)),
      keyLength_(new QLineEdit(parent)),
      parm_(new QLineEdit(parent)),
      showHelp_(std::move(showHelp)) {
  list_->setObjectName(QStringLiteral("lstParm"));
  keyLength_->setObjectName(QStringLiteral("txtnn"));
  parm_->setObjectName(QStringLiteral("txtParm"));
  for (const std::string& entry : ParmEntries()) list_->addItem(QString::fromStdString(entry));
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  keyLength_->setMaxLength(2);
  keyLength_->setEnabled(false);
  // Greyed while it takes no text, so it does not look like a field waiting for a number.
  keyLength_->setStyleSheet(QStringLiteral("QLineEdit:disabled { background: palette(window); }"));
  parm_->setReadOnly(true);
  parm_->setFocusPolicy(Qt::NoFocus);
  MarkReadOnly(parm_);
  parm_->setText(QStringLiteral("0"));
  connect(list_, &QListWidget::currentRowChanged, this, &ParameterFields::React);
  connect(keyLength_, &QLineEdit::textChanged, this, &ParameterFields::ComposeCKey);
}

void ParameterFields::Show(std::string_view parmIs) {
  const ParmSelection selection = SelectParm(parmIs);
  if (!selection.kind) {
    const QSignalBlocker blocker(list_);
    list_->setCurrentRow(-1);
    return;
  }
  {
    const QSignalBlocker blocker(list_);
    list_->setCurrentRow(static_cast<int>(*selection.kind));
  }
  React(list_->currentRow());
  if (selection.kind == ParmKind::CKeynn) keyLength_->setText(ToQt(selection.keyLength));
}

std::string ParameterFields::Parm() const {
  return Text(parm_);
}

void ParameterFields::SetListEnabled(bool enabled) {
  list_->setEnabled(enabled);
}

void ParameterFields::DisableKeyLength() {
  keyLength_->setEnabled(false);
}

void ParameterFields::FitSizes() {
  list_->setFixedHeight(list_->sizeHintForRow(0) * 5 + 6);
  keyLength_->setFixedWidth(keyLength_->fontMetrics().horizontalAdvance(QStringLiteral("000")) +
                            12);
  parm_->setFixedWidth(parm_->fontMetrics().horizontalAdvance(QStringLiteral("CKey00__")) + 12);
}

void ParameterFields::SetInitialKeyLength(const QString& text) {
  const QSignalBlocker blocker(keyLength_);
  keyLength_->setText(text);
}

bool ParameterFields::CheckKeyLength() {
  if (!KeyLength(Text(keyLength_))) return false;
  ComposeCKey();
  return true;
}

void ParameterFields::React(int row) {
  if (row < 0 || row >= static_cast<int>(ParmEntries().size())) return;
  keyLength_->setEnabled(false);
  SetFieldBackground(keyLength_, NormalFieldBackground());
  const ParmReaction reaction = ReactToParm(static_cast<ParmKind>(row));
  if (reaction.parmText) {
    parm_->setText(QString::fromStdString(*reaction.parmText));
  } else {
    keyLength_->setEnabled(true);
    SetFieldBackground(keyLength_, TooltipBackground());
    ComposeCKey();
  }
  if (showHelp_) showHelp_(reaction.help);
}

void ParameterFields::ComposeCKey() {
  if (const auto composed = kivwz::ComposeCKey(Text(keyLength_))) {
    parm_->setText(QString::fromStdString(*composed));
  }
}

}  // namespace kivwz
