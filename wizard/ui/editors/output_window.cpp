#include "wizard/ui/editors/output_window.h"

#include <QEvent>
#include <QFont>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "wizard/ui/editors/event_handler.h"

namespace kivwz {

QString PlainLines(const std::string& text) {
  QString lines = QString::fromStdString(text);
  lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return lines;
}

fOutput::fOutput(QWidget* parent)
    : QDialog(parent), text_(new QPlainTextEdit(this)), oEH_(new clsEventHandler(this)) {
  setWindowTitle(tr("Output..."));
  setModal(true);
  text_->setObjectName(QStringLiteral("txtOutput"));
  text_->setReadOnly(true);
  text_->setFont(QFont(QStringLiteral("Arial"), 10));
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  text_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  // A thin margin on the left and top only, as the text area keeps whatever the window gives.
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(1, 1, 0, 0);
  layout->addWidget(text_);
  resize(760, 520);
  oEH_->SetForm(this);
  connect(oEH_, &clsEventHandler::eCloseForm, this, &QWidget::close);
}

void fOutput::ShowText() {
  const QString lines = PlainLines(OutText);
  if (text_->toPlainText() != lines) text_->setPlainText(lines);
}

void fOutput::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  ShowText();
}

void fOutput::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  ShowText();
}

void fOutput::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) CentreOnScreen(this);
}

}  // namespace kivwz
