#include "demo/app/record_form_dialog.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

#include <kivdb/recordset.h>

namespace kivdb::demo {
namespace {

QString FromStd(const std::string& text) {
  return QString::fromStdString(text);
}

// A date editor shows this, its lowest date, as "no date": the field is Null.
const QDate kNoDate(100, 1, 1);

std::string EditorText(const QWidget* editor) {
  if (const auto* line = qobject_cast<const QLineEdit*>(editor)) return line->text().toStdString();
  if (const auto* block = qobject_cast<const QPlainTextEdit*>(editor))
    return block->toPlainText().toStdString();
  if (const auto* list = qobject_cast<const QComboBox*>(editor))
    return list->currentData().toString().toStdString();
  if (const auto* date = qobject_cast<const QDateEdit*>(editor))
    return date->date() == kNoDate ? std::string()
                                   : date->date().toString(Qt::ISODate).toStdString();
  return {};
}

void SetEditorText(QWidget* editor, const std::string& text) {
  if (auto* line = qobject_cast<QLineEdit*>(editor)) line->setText(FromStd(text));
  if (auto* block = qobject_cast<QPlainTextEdit*>(editor)) block->setPlainText(FromStd(text));
  if (auto* list = qobject_cast<QComboBox*>(editor)) {
    int at = list->findData(FromStd(text));
    if (at < 0) {  // a key no record has (or had): kept as it is, not lost to the list
      list->addItem(QObject::tr("%1 (no such record)").arg(FromStd(text)), FromStd(text));
      at = list->count() - 1;
    }
    list->setCurrentIndex(at);
  }
  if (auto* date = qobject_cast<QDateEdit*>(editor))
    date->setDate(text.empty() ? kNoDate : QDate::fromString(FromStd(text), Qt::ISODate));
}

bool IsDateType(int type) {
  return type == type::kDate || type == type::kDBDate || type == type::kDBTimeStamp;
}

// A date editor only for a date without a time of day: the time would be lost in it.
bool ShowsAsDate(int type, const std::string& text) {
  if (!IsDateType(type)) return false;
  if (text.empty()) return true;
  const QDate date = QDate::fromString(FromStd(text), Qt::ISODate);
  return text.size() == 10 && date.isValid() && date > kNoDate;
}

// Keeps a list or date editor from changing under a wheel turned to scroll the form, and opens
// the calendar of an empty date at this month rather than at its "no date" mark.
class EditorGuard : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Wheel) {
      const auto* widget = qobject_cast<QWidget*>(watched);
      return widget && !widget->hasFocus();
    }
    if (event->type() == QEvent::Show) {
      if (auto* calendar = qobject_cast<QCalendarWidget*>(watched);
          calendar && calendar->selectedDate() == kNoDate) {
        const QDate today = QDate::currentDate();
        calendar->setCurrentPage(today.year(), today.month());
      }
    }
    return false;
  }
};

QWidget* MakeEditor(const RecordEdit& edit, int field, QWidget* parent, QObject* guard) {
  const std::string& text = edit.Text(field);
  if (const std::vector<KeyChoice>* choices = edit.Choices(field)) {
    auto* list = new QComboBox(parent);
    list->addItem(QObject::tr("(none)"), QString());
    for (const KeyChoice& choice : *choices)
      list->addItem(FromStd(choice.caption), FromStd(choice.key));
    list->installEventFilter(guard);
    return list;
  }
  if (ShowsAsDate(edit.FieldType(field), text)) {
    auto* date = new QDateEdit(parent);
    date->setCalendarPopup(true);
    date->setDisplayFormat("d MMM yyyy");
    date->setMinimumDate(kNoDate);
    date->setSpecialValueText(QObject::tr("(no date)"));
    date->installEventFilter(guard);
    date->calendarWidget()->installEventFilter(guard);
    return date;
  }
  if (text.size() > 60 || text.find('\n') != std::string::npos) {
    auto* block = new QPlainTextEdit(parent);
    block->setFixedHeight(80);
    return block;
  }
  return new QLineEdit(parent);
}

}  // namespace

RecordFormDialog::RecordFormDialog(std::unique_ptr<RecordEdit> edit, QWidget* parent)
    : QDialog(parent), edit_(std::move(edit)) {
  setObjectName("recordForm");
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  setWindowTitle(FromStd(edit_->Caption()));

  // A long notice goes above the fields and wraps; the fields scroll below it at their size.
  auto* layout = new QVBoxLayout(this);
  notice_ = new QLabel(this);
  notice_->setObjectName("notice");
  notice_->setWordWrap(true);
  notice_->hide();
  layout->addWidget(notice_);

  auto* scroll = new QScrollArea(this);
  scroll->setObjectName("fieldArea");
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  auto* page = new QWidget(scroll);
  auto* fields = new QFormLayout(page);
  auto* guard = new EditorGuard(this);
  fields->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  for (int f = 0; f < edit_->FieldCount(); ++f) {
    const QString name = FromStd(edit_->FieldName(f));
    QWidget* editor = MakeEditor(*edit_, f, page, guard);
    editor->setObjectName("field_" + name);
    editor->setEnabled(edit_->Editable(f));
    if (!edit_->Editable(f)) editor->setToolTip(tr("This field cannot be changed here."));
    editors_.push_back(editor);
    fields->addRow(name + ":", editor);
  }
  scroll->setWidget(page);
  layout->addWidget(scroll, 1);

  auto* buttons = new QDialogButtonBox(this);
  save_ = buttons->addButton(tr("Save"), QDialogButtonBox::AcceptRole);
  save_->setObjectName("saveButton");
  QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
  close->setObjectName("closeButton");
  layout->addWidget(buttons);
  connect(save_, &QPushButton::clicked, this, [this] { Save(); });
  connect(close, &QPushButton::clicked, this, &QDialog::close);

  ShowTexts();
  // Tall enough for every field where the screen allows; the rest scrolls.
  const int height = page->sizeHint().height() + buttons->sizeHint().height() +
                     layout->contentsMargins().top() + layout->contentsMargins().bottom() +
                     2 * layout->spacing() + 8;
  const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
  const int room = screen ? screen->availableGeometry().height() - 80 : height;
  resize(480, std::min(height, room));
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
      setWindowTitle(FromStd(edit_->Caption()));  // the name may be what changed
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
