#include "demo/app/record_form_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include <kivdb/recordset.h>

namespace kivdb::demo {
namespace {

QString FromStd(const std::string& text) {
  return QString::fromStdString(text);
}

std::string EditorText(const QWidget* editor) {
  if (const auto* line = qobject_cast<const QLineEdit*>(editor)) return line->text().toStdString();
  if (const auto* block = qobject_cast<const QPlainTextEdit*>(editor))
    return block->toPlainText().toStdString();
  return {};
}

void SetEditorText(QWidget* editor, const std::string& text) {
  if (auto* line = qobject_cast<QLineEdit*>(editor)) line->setText(FromStd(text));
  if (auto* block = qobject_cast<QPlainTextEdit*>(editor)) block->setPlainText(FromStd(text));
}

// A numeric record id as people write it: the form link pads it to ten digits.
QString ShownId(const std::string& id) {
  const QString text = FromStd(id);
  const auto digit = [](QChar c) { return c.isDigit(); };
  if (text.isEmpty() || !std::all_of(text.begin(), text.end(), digit)) return text;
  QString shown = text;
  while (shown.size() > 1 && shown.front() == '0') shown.remove(0, 1);
  return shown;
}

}  // namespace

RecordFormDialog::RecordFormDialog(std::unique_ptr<RecordEdit> edit, QWidget* parent)
    : QDialog(parent), edit_(std::move(edit)) {
  const FormSpec& form = edit_->Form();
  setObjectName("recordForm");
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  setWindowTitle(tr("%1 %2").arg(FromStd(form.title), ShownId(edit_->RecordId())));

  auto* layout = new QVBoxLayout(this);
  auto* fields = new QFormLayout;
  for (int f = 0; f < edit_->FieldCount(); ++f) {
    const QString name = FromStd(edit_->FieldName(f));
    QWidget* editor = nullptr;
    const std::string& text = edit_->Text(f);
    if (text.size() > 60 || text.find('\n') != std::string::npos) {
      auto* block = new QPlainTextEdit(this);
      block->setFixedHeight(80);
      editor = block;
    } else {
      editor = new QLineEdit(this);
    }
    editor->setObjectName("field_" + name);
    editor->setEnabled(edit_->Editable(f));
    editors_.push_back(editor);
    fields->addRow(name + ":", editor);
  }
  layout->addLayout(fields);

  notice_ = new QLabel(this);
  notice_->setObjectName("notice");
  notice_->setWordWrap(true);
  notice_->hide();
  layout->addWidget(notice_);

  auto* buttons = new QDialogButtonBox(this);
  save_ = buttons->addButton(tr("Save"), QDialogButtonBox::AcceptRole);
  save_->setObjectName("saveButton");
  QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
  close->setObjectName("closeButton");
  layout->addWidget(buttons);
  connect(save_, &QPushButton::clicked, this, [this] { Save(); });
  connect(close, &QPushButton::clicked, this, &QDialog::close);

  ShowTexts();
  resize(460, sizeHint().height());
}

RecordFormDialog::~RecordFormDialog() = default;

QWidget* RecordFormDialog::Editor(const QString& fieldName) const {
  for (int f = 0; f < edit_->FieldCount(); ++f) {
    if (FromStd(edit_->FieldName(f)).compare(fieldName, Qt::CaseInsensitive) == 0)
      return editors_[f];
  }
  return nullptr;
}

QString RecordFormDialog::Notice() const {
  return notice_->isHidden() ? QString() : notice_->text();
}

SaveResult RecordFormDialog::Save() {
  TakeTexts();
  SaveResult result = edit_->Save();
  switch (result.outcome) {
    case SaveOutcome::Saved:
      ShowTexts();
      ShowNotice(tr("Saved."), false);
      emit Saved(QString("%1").arg(edit_->Form().number, 5, 10, QChar('0')),
                 FromStd(edit_->RecordId()));
      break;
    case SaveOutcome::NothingChanged:
      ShowNotice(tr("Nothing was changed."), false);
      break;
    case SaveOutcome::Invalid:
      ShowNotice(FromStd(result.message), true);
      if (result.invalidField >= 0) editors_[result.invalidField]->setFocus();
      break;
    case SaveOutcome::Conflict:
    case SaveOutcome::Failed:
      ShowNotice(FromStd(result.message), true);
      break;
  }
  return result;
}

void RecordFormDialog::reject() {
  TakeTexts();
  if (edit_->Modified() &&
      QMessageBox::question(this, windowTitle(),
                            tr("Your changes to this record are not saved. Close the form and "
                               "lose them?")) != QMessageBox::Yes) {
    return;  // QDialog's close event sees the form still shown and keeps it open
  }
  QDialog::reject();
}

void RecordFormDialog::TakeTexts() {
  for (int f = 0; f < edit_->FieldCount(); ++f) {
    if (edit_->Editable(f)) edit_->SetText(f, EditorText(editors_[f]));
  }
}

void RecordFormDialog::ShowTexts() {
  for (int f = 0; f < edit_->FieldCount(); ++f) SetEditorText(editors_[f], edit_->Text(f));
}

void RecordFormDialog::ShowNotice(const QString& text, bool problem) {
  notice_->setText(text);
  notice_->setStyleSheet(problem ? "QLabel { background: #fde2e1; color: #8a1c13; padding: 6px; }"
                                 : "QLabel { background: #e3f4e1; color: #1d5a1a; padding: 6px; }");
  notice_->show();
}

}  // namespace kivdb::demo
