#include "wizard/ui/editors/paragraph_editor.h"

#include <QApplication>
#include <QFont>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>

#include "wizard/model/numbers.h"
#include "wizard/ui/editors/editor_fields.h"
#include "wizard/ui/editors/event_handler.h"
#include "wizard/ui/editors/parameter_fields.h"

namespace kivwz {
namespace {

QLineEdit* LineEdit(QWidget* parent, const char* name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  return edit;
}

}  // namespace

fWeb::fWeb(clsNavSchemes& oNavs, QWidget* parent)
    : QDialog(parent),
      oNavs_(oNavs),
      ownPrompts_(this),
      prompts_(&ownPrompts_),
      oEH_(new clsEventHandler(this)) {
  setWindowTitle(tr("Form to Add / Update a Web-Page Paragraph."));
  setFont(QFont(QStringLiteral("Arial"), 9));
  setModal(true);
  BuildForm();
  oEH_->SetForm(this);
  connect(oEH_, &clsEventHandler::eSave, this, &fWeb::Save);
  connect(oEH_, &clsEventHandler::eCloseForm, this, &QWidget::close);
  connect(oEH_, &clsEventHandler::eEnter, this, &fWeb::OnEnter);
  connect(qApp, &QApplication::focusChanged, this, &fWeb::OnFocusChanged);
}

void fWeb::BuildForm() {
  txtID_ = LineEdit(this, "txtID");
  txtID_->setReadOnly(true);
  txtID_->setFocusPolicy(Qt::NoFocus);
  txtSeqNo_ = LineEdit(this, "txtSeqNo");
  txtTitle_ = LineEdit(this, "txtTitle");
  txtQuery_ = LineEdit(this, "txtQuery");
  parm_ = new ParameterFields(this, [this](std::string_view text) { ShowHelp(text); });
  parm_->SetInitialKeyLength(QStringLiteral("0"));
  lstType_ = new QListWidget(this);
  lstType_->setObjectName(QStringLiteral("lstType"));
  lstType_->setSelectionMode(QAbstractItemView::SingleSelection);
  for (const std::string& entry : WebTypeEntries()) {
    lstType_->addItem(QString::fromStdString(entry));
  }
  txtForm_ = LineEdit(this, "txtForm");
  txtForm_->setText(QStringLiteral("0"));
  txtForm_->setEnabled(false);
  txtCol_ = LineEdit(this, "txtCol");
  txtCol_->setEnabled(false);
  lblDesc_ = new QLabel(QStringLiteral("--"), this);
  lblDesc_->setObjectName(QStringLiteral("lblDesc"));
  lblDesc_->setWordWrap(true);
  lblDesc_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  lblDesc_->setFrameShape(QFrame::StyledPanel);
  lblDesc_->setMinimumHeight(150);
  lblDesc_->setTextInteractionFlags(Qt::NoTextInteraction);

  parm_->List()->setFixedHeight(parm_->List()->sizeHintForRow(0) * 5 + 6);
  lstType_->setFixedHeight(lstType_->sizeHintForRow(0) * 7 + 6);
  parm_->KeyLengthField()->setFixedWidth(
      parm_->KeyLengthField()->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 12);
  parm_->ParmField()->setFixedWidth(
      parm_->ParmField()->fontMetrics().horizontalAdvance(QStringLiteral("CKey00__")) + 12);

  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel(tr("ID:"), this), 0, 0);
  grid->addWidget(txtID_, 0, 1);
  grid->addWidget(new QLabel(tr("Sequence No:"), this), 1, 0);
  grid->addWidget(txtSeqNo_, 1, 1);
  grid->addWidget(new QLabel(tr("Paragraph Title:"), this), 2, 0);
  grid->addWidget(txtTitle_, 2, 1, 1, 3);
  grid->addWidget(new QLabel(tr("Query:"), this), 3, 0);
  grid->addWidget(txtQuery_, 3, 1, 1, 3);
  grid->addWidget(new QLabel(tr("Parameter Type:"), this), 4, 0, Qt::AlignTop);
  grid->addWidget(parm_->List(), 4, 1);
  grid->addWidget(parm_->KeyLengthField(), 4, 2, Qt::AlignTop);
  grid->addWidget(parm_->ParmField(), 4, 3, Qt::AlignTop);
  grid->addWidget(new QLabel(tr("Paragraph Type:"), this), 5, 0, Qt::AlignTop);
  grid->addWidget(lstType_, 5, 1, 1, 3);
  grid->addWidget(new QLabel(tr("Form No.:"), this), 6, 0);
  grid->addWidget(txtForm_, 6, 1);
  grid->addWidget(new QLabel(tr("Columns Or (XML for (T)):"), this), 7, 0);
  grid->addWidget(txtCol_, 7, 1, 1, 3);
  grid->addWidget(lblDesc_, 8, 0, 1, 4);
  auto* keys = new QLabel(tr("F3: Save,       ESC: Cancel .   Enter: Move Field-toField"), this);
  keys->setObjectName(QStringLiteral("lblKeys"));
  grid->addWidget(keys, 9, 0, 1, 4);
  grid->setColumnStretch(1, 1);
  resize(640, 640);

  setTabOrder(txtSeqNo_, txtTitle_);
  setTabOrder(txtTitle_, txtQuery_);
  setTabOrder(txtQuery_, parm_->List());
  setTabOrder(parm_->List(), parm_->KeyLengthField());
  setTabOrder(parm_->KeyLengthField(), lstType_);
  setTabOrder(lstType_, txtForm_);
  setTabOrder(txtForm_, txtCol_);
  connect(lstType_, &QListWidget::currentRowChanged, this, &fWeb::ReactToType);
}

void fWeb::WebObject(std::shared_ptr<clsWebScheme> record) {
  record_ = std::move(record);
  ShowParagraph();
}

void fWeb::ShowParagraph() {
  if (!record_) return;
  txtID_->setText(QString::fromStdString(KeyOf(record_->ID())));
  txtSeqNo_->setText(QString::fromStdString(KeyOf(record_->seqNo)));
  txtTitle_->setText(QString::fromStdString(record_->titleIs));
  txtQuery_->setText(QString::fromStdString(record_->queryIs));
  txtForm_->setText(QString::fromStdString(KeyOf(record_->formIs)));
  txtCol_->setText(QString::fromStdString(record_->colsAre));

  // An empty type chooses nothing; any other value without an entry leaves the list as it is.
  const auto entry = WebTypeEntryOf(record_->typeIs);
  if (entry || record_->typeIs.empty()) {
    {
      const QSignalBlocker blocker(lstType_);
      lstType_->setCurrentRow(entry ? static_cast<int>(*entry) : -1);
    }
    if (entry) ReactToType(static_cast<int>(*entry));
  }
  parm_->Show(record_->parmIs);
}

void fWeb::ReactToType(int row) {
  if (row < 0 || row >= lstType_->count()) return;
  txtForm_->setEnabled(false);
  txtCol_->setEnabled(false);
  const WebTypeReaction reaction = ReactToWebType(lstType_->item(row)->text().at(0).toLatin1());
  txtCol_->setEnabled(reaction.colsEnabled);
  txtForm_->setEnabled(reaction.formEnabled);
  ShowHelp(reaction.help);
}

WebFields fWeb::Fields() const {
  return {Text(txtID_),  Text(txtSeqNo_),        Text(txtTitle_), Text(txtQuery_),
          parm_->Parm(), ChosenLetter(lstType_), Text(txtForm_),  Text(txtCol_)};
}

bool fWeb::IsChanged() const {
  return record_ && kivwz::IsChanged(Fields(), *record_);
}

bool fWeb::StoreFields() {
  if (!record_) return false;
  if (kivwz::StoreFields(Fields(), *record_)) return true;
  prompts_->Information(std::string(kNumericValueMessage));
  return false;
}

void fWeb::Save() {
  if (StoreFields()) oNavs_.FuseWeb(record_);
}

void fWeb::reject() {
  if (!IsChanged() ||
      !prompts_->AskYesNo("Update Confirmation", "Do you want to Update the Paragraph?")) {
    QDialog::reject();
    return;
  }
  if (StoreFields() && oNavs_.FuseWeb(record_)) QDialog::accept();
}

bool fWeb::MayLeave(QWidget* field) {
  bool valid = true;
  if (field == parm_->KeyLengthField()) valid = parm_->CheckKeyLength();
  if (field == txtSeqNo_) valid = WholeNumber(Text(txtSeqNo_)).has_value();
  if (!valid) prompts_->Information(std::string(kNumericValueMessage));
  return valid;
}

void fWeb::OnEnter(QWidget* control) {
  if (MayLeave(control)) {
    checkingField_ = true;  // checked already
    MoveToNextField(control);
    checkingField_ = false;
  }
}

void fWeb::OnFocusChanged(QWidget* old, QWidget* now) {
  if (!now || now->window() != this) return;
  if (!checkingField_ && (old == parm_->KeyLengthField() || old == txtSeqNo_)) {
    checkingField_ = true;
    const bool mayLeave = MayLeave(old);
    if (!mayLeave) old->setFocus(Qt::OtherFocusReason);
    checkingField_ = false;
    if (!mayLeave) return;
  }
  if (now == txtSeqNo_) ShowHelp(WebFieldHelp(WebField::SeqNo));
  if (now == txtTitle_) ShowHelp(WebFieldHelp(WebField::Title));
  if (now == txtQuery_) ShowHelp(WebFieldHelp(WebField::Query));
  if (now == parm_->List()) ShowHelp(WebFieldHelp(WebField::Parm));
  if (now == parm_->KeyLengthField()) ShowHelp(WebFieldHelp(WebField::KeyLength));
  if (now == lstType_) ShowHelp(WebFieldHelp(WebField::Type));
  if (now == txtForm_) ShowHelp(WebFieldHelp(WebField::Form));
  if (now == txtCol_) ShowHelp(WebFieldHelp(WebField::Cols));
}

void fWeb::ShowHelp(std::string_view text) {
  lblDesc_->setText(ToQt(text));
}

}  // namespace kivwz
