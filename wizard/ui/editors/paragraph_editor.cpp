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
#include "wizard/ui/editors/parameter_fields.h"

namespace kivwz {
namespace {

constexpr int kWindowWidth = 640;

// Every help text the window may show in its help area.
std::vector<std::string_view> HelpTexts() {
  std::vector<std::string_view> texts = ParameterHelpTexts();
  for (const WebField field :
       {WebField::SeqNo, WebField::Title, WebField::Query, WebField::Parm, WebField::KeyLength,
        WebField::Type, WebField::Form, WebField::Cols}) {
    texts.push_back(WebFieldHelp(field));
  }
  for (const std::string& entry : WebTypeEntries()) {
    texts.push_back(ReactToWebType(entry.front()).help);
  }
  return texts;
}

}  // namespace

fWeb::fWeb(clsNavSchemes& oNavs, QWidget* parent)
    : RecordEditor(tr("Form to Add / Update a Web-Page Paragraph."),
                   "Do you want to Update the Paragraph?", parent),
      oNavs_(oNavs) {
  BuildForm();
  BindKeysAndFocus({{txtSeqNo_, WebFieldHelp(WebField::SeqNo)},
                    {txtTitle_, WebFieldHelp(WebField::Title)},
                    {txtQuery_, WebFieldHelp(WebField::Query)},
                    {parm_->List(), WebFieldHelp(WebField::Parm)},
                    {parm_->KeyLengthField(), WebFieldHelp(WebField::KeyLength)},
                    {lstType_, WebFieldHelp(WebField::Type)},
                    {txtForm_, WebFieldHelp(WebField::Form)},
                    {txtCol_, WebFieldHelp(WebField::Cols)}});
}

void fWeb::BuildForm() {
  txtID_ = IdField();
  txtSeqNo_ = NamedLineEdit(this, "txtSeqNo");
  txtTitle_ = NamedLineEdit(this, "txtTitle");
  txtQuery_ = NamedLineEdit(this, "txtQuery");
  parm_ = new ParameterFields(this, [this](std::string_view text) { ShowHelp(text); });
  parm_->SetInitialKeyLength(QStringLiteral("0"));
  lstType_ = new QListWidget(this);
  lstType_->setObjectName(QStringLiteral("lstType"));
  lstType_->setSelectionMode(QAbstractItemView::SingleSelection);
  for (const std::string& entry : WebTypeEntries()) {
    lstType_->addItem(QString::fromStdString(entry));
  }
  txtForm_ = NamedLineEdit(this, "txtForm");
  txtForm_->setText(QStringLiteral("0"));
  txtForm_->setEnabled(false);
  txtCol_ = NamedLineEdit(this, "txtCol");
  txtCol_->setEnabled(false);
  lblDesc_ = MakeHelpArea(150);

  parm_->FitSizes();
  lstType_->setFixedHeight(lstType_->sizeHintForRow(0) * 7 + 6);

  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel(tr("ID:"), this), 0, 0);
  txtID_->setFixedWidth(txtID_->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")));
  grid->addWidget(txtID_, 0, 1, Qt::AlignLeft);
  grid->addWidget(new QLabel(tr("Sequence No:"), this), 1, 0);
  txtSeqNo_->setFixedWidth(txtID_->width());
  grid->addWidget(txtSeqNo_, 1, 1, Qt::AlignLeft);
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
  txtForm_->setFixedWidth(txtID_->width());
  grid->addWidget(txtForm_, 6, 1, Qt::AlignLeft);
  grid->addWidget(new QLabel(tr("Columns Or (XML for (T)):"), this), 7, 0);
  grid->addWidget(txtCol_, 7, 1, 1, 3);
  grid->addWidget(lblDesc_, 8, 0, 1, 4);
  grid->addWidget(KeysLine(), 9, 0, 1, 4);
  grid->setColumnStretch(1, 1);
  // Only the help area takes the height the window gains, so the fields stay together.
  grid->setRowStretch(8, 1);
  const QMargins margins = grid->contentsMargins();
  FitHelpArea(lblDesc_, kWindowWidth - margins.left() - margins.right(), HelpTexts());
  ResizeToWidth(this, kWindowWidth);

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

bool fWeb::FileRecord() {
  if (!record_) return false;
  if (!kivwz::StoreFields(Fields(), *record_)) {
    Prompts().Information(std::string(kNumericValueMessage));
    return false;
  }
  return oNavs_.FuseWeb(record_);
}

bool fWeb::MayLeave(QWidget* field) {
  bool valid = true;
  if (field == parm_->KeyLengthField()) valid = parm_->CheckKeyLength();
  if (field == txtSeqNo_) valid = WholeNumber(Text(txtSeqNo_)).has_value();
  if (!valid) Prompts().Information(std::string(kNumericValueMessage));
  return valid;
}

}  // namespace kivwz
