#include "wizard/ui/editors/record_editor.h"

#include <QFont>
#include <QLabel>
#include <QLineEdit>

#include "wizard/ui/editors/editor_fields.h"
#include "wizard/ui/editors/event_handler.h"
#include "wizard/ui/editors/field_focus.h"

namespace kivwz {

RecordEditor::RecordEditor(const QString& title, std::string closingQuestion, QWidget* parent)
    : QDialog(parent),
      closingQuestion_(std::move(closingQuestion)),
      ownPrompts_(this),
      prompts_(&ownPrompts_),
      oEH_(new clsEventHandler(this)) {
  setWindowTitle(title);
  setFont(QFont(QStringLiteral("Arial"), 9));
  setModal(true);
}

void RecordEditor::BindKeysAndFocus(FieldHelp help) {
  oEH_->SetForm(this);
  connect(oEH_, &clsEventHandler::eSave, this, [this] { FileRecord(); });
  connect(oEH_, &clsEventHandler::eCloseForm, this, &QWidget::close);
  focus_ = new FieldFocus(
      this, [this](QWidget* field) { return MayLeave(field); },
      [this, help = std::move(help)](QWidget* field) {
        for (const auto& [widget, text] : help) {
          if (widget == field) ShowHelp(text);
        }
      });
  connect(oEH_, &clsEventHandler::eEnter, focus_, &FieldFocus::Enter);
}

QLineEdit* RecordEditor::IdField() {
  QLineEdit* id = NamedLineEdit(this, "txtID");
  id->setReadOnly(true);
  id->setFocusPolicy(Qt::NoFocus);
  MarkReadOnly(id);
  return id;
}

QLabel* RecordEditor::MakeHelpArea(int minimumHeight) {
  help_ = HelpArea(this, minimumHeight);
  return help_;
}

QLabel* RecordEditor::KeysLine() {
  auto* keys = new QLabel(tr("F3: Save,       ESC: Cancel .   Enter: Move Field-toField"), this);
  keys->setObjectName(QStringLiteral("lblKeys"));
  return keys;
}

void RecordEditor::ShowHelp(std::string_view text) {
  if (help_ != nullptr) help_->setText(ToQt(text));
}

void RecordEditor::reject() {
  if (!IsChanged() || !prompts_->AskYesNo(closingQuestion_, Answer::Yes)) {
    QDialog::reject();
    return;
  }
  if (FileRecord()) QDialog::accept();
}

}  // namespace kivwz
