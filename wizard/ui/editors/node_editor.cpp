#include "wizard/ui/editors/node_editor.h"

#include <QApplication>
#include <QFont>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
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

fNav::fNav(clsNavSchemes& oNavs, QWidget* parent)
    : QDialog(parent),
      oNavs_(oNavs),
      ownPrompts_(this),
      prompts_(&ownPrompts_),
      oEH_(new clsEventHandler(this)) {
  setWindowTitle(tr("Form to Add / Update a Navigational Node."));
  setFont(QFont(QStringLiteral("Arial"), 9));
  setModal(true);
  BuildForm();
  FillLists();
  oEH_->SetForm(this);
  connect(oEH_, &clsEventHandler::eSave, this, &fNav::Save);
  connect(oEH_, &clsEventHandler::eCloseForm, this, &QWidget::close);
  connect(oEH_, &clsEventHandler::eEnter, this, &fNav::OnEnter);
  connect(qApp, &QApplication::focusChanged, this, &fNav::OnFocusChanged);
}

void fNav::BuildForm() {
  lblParent_ = new QLabel(this);
  lblParent_->setObjectName(QStringLiteral("lblParent"));
  txtID_ = LineEdit(this, "txtID");
  txtID_->setReadOnly(true);
  txtID_->setFocusPolicy(Qt::NoFocus);
  txtDescription_ = LineEdit(this, "txtDescription");
  lstType_ = new QListWidget(this);
  lstType_->setObjectName(QStringLiteral("lstType"));
  lstType_->setSelectionMode(QAbstractItemView::SingleSelection);
  txtQuery_ = LineEdit(this, "txtQuery");
  parm_ = new ParameterFields(this, [this](std::string_view text) { ShowHelp(text); });
  txtIcon_ = LineEdit(this, "txtIcon");
  txtRole_ = LineEdit(this, "txtRole");
  lblDesc_ = new QLabel(QStringLiteral("--"), this);
  lblDesc_->setObjectName(QStringLiteral("lblDesc"));
  lblDesc_->setWordWrap(true);
  lblDesc_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  lblDesc_->setFrameShape(QFrame::StyledPanel);
  lblDesc_->setMinimumHeight(120);
  lblDesc_->setTextInteractionFlags(Qt::NoTextInteraction);

  parm_->List()->setFixedHeight(parm_->List()->sizeHintForRow(0) * 5 + 6);
  lstType_->setFixedHeight(lstType_->fontMetrics().height() * 4 + 12);
  parm_->KeyLengthField()->setFixedWidth(
      parm_->KeyLengthField()->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 12);
  parm_->ParmField()->setFixedWidth(
      parm_->ParmField()->fontMetrics().horizontalAdvance(QStringLiteral("CKey00__")) + 12);

  auto* grid = new QGridLayout(this);
  grid->addWidget(lblParent_, 0, 0, 1, 4);
  grid->addWidget(new QLabel(tr("ID:"), this), 1, 0);
  grid->addWidget(txtID_, 1, 1);
  grid->addWidget(new QLabel(tr("Description:"), this), 2, 0);
  grid->addWidget(txtDescription_, 2, 1, 1, 3);
  grid->addWidget(new QLabel(tr("Node Type:"), this), 3, 0, Qt::AlignTop);
  grid->addWidget(lstType_, 3, 1, 1, 3);
  grid->addWidget(new QLabel(tr("Query:"), this), 4, 0);
  grid->addWidget(txtQuery_, 4, 1, 1, 3);
  grid->addWidget(new QLabel(tr("Parameter Type:"), this), 5, 0, Qt::AlignTop);
  grid->addWidget(parm_->List(), 5, 1);
  grid->addWidget(parm_->KeyLengthField(), 5, 2, Qt::AlignTop);
  grid->addWidget(parm_->ParmField(), 5, 3, Qt::AlignTop);
  grid->addWidget(new QLabel(tr("Icon Name:"), this), 6, 0);
  grid->addWidget(txtIcon_, 6, 1, 1, 3);
  grid->addWidget(new QLabel(tr("User Role No:"), this), 7, 0);
  grid->addWidget(txtRole_, 7, 1, 1, 3);
  grid->addWidget(lblDesc_, 8, 0, 1, 4);
  auto* keys = new QLabel(tr("F3: Save,       ESC: Cancel .   Enter: Move Field-toField"), this);
  keys->setObjectName(QStringLiteral("lblKeys"));
  grid->addWidget(keys, 9, 0, 1, 4);
  grid->addWidget(
      new QLabel(tr("Please Refer the Tutorials for Detailed Explanations of each field !!"), this),
      10, 0, 1, 4);
  grid->setColumnStretch(1, 1);
  resize(620, 560);

  setTabOrder(txtDescription_, lstType_);
  setTabOrder(lstType_, txtQuery_);
  setTabOrder(txtQuery_, parm_->List());
  setTabOrder(parm_->List(), parm_->KeyLengthField());
  setTabOrder(parm_->KeyLengthField(), txtIcon_);
  setTabOrder(txtIcon_, txtRole_);
  connect(lstType_, &QListWidget::currentRowChanged, this, &fNav::ReactToType);
}

void fNav::FillLists() {
  const QSignalBlocker blocker(lstType_);
  lstType_->clear();
  for (const std::string& entry : NavTypeEntries(parent_.get())) {
    lstType_->addItem(QString::fromStdString(entry));
  }
}

void fNav::NavObject(std::shared_ptr<clsNavScheme> record) {
  record_ = std::move(record);
  ShowNode();
}

void fNav::ShowNode() {
  if (!record_) return;
  if (parent_) lblParent_->setText(QString::fromStdString(ParentLine(*parent_)));
  FillLists();
  txtID_->setText(QString::fromStdString(KeyOf(record_->ID())));
  txtDescription_->setText(QString::fromStdString(record_->descriptionIs));
  txtQuery_->setText(QString::fromStdString(record_->queryIs()));
  txtIcon_->setText(QString::fromStdString(record_->iconIs));
  txtRole_->setText(QString::fromStdString(record_->roleIs));

  std::vector<std::string> entries;
  for (int i = 0; i < lstType_->count(); ++i)
    entries.push_back(lstType_->item(i)->text().toStdString());
  const auto entry = NavTypeEntryOf(entries, record_->typeIs());
  {
    const QSignalBlocker blocker(lstType_);
    lstType_->setCurrentRow(entry ? static_cast<int>(*entry) : -1);
  }
  if (entry) ReactToType(static_cast<int>(*entry));
  parm_->Show(record_->parmIs());
}

void fNav::ReactToType(int row) {
  if (row < 0 || row >= lstType_->count()) return;
  const NavTypeReaction reaction = ReactToNavType(lstType_->item(row)->text().at(0).toLatin1());
  txtQuery_->setEnabled(reaction.queryEnabled);
  parm_->SetListEnabled(reaction.parmEnabled);
  if (reaction.keyLengthDisabled) parm_->DisableKeyLength();
  ShowHelp(reaction.help);
}

NavFields fNav::Fields() const {
  return {Text(txtID_),  Text(txtDescription_), ChosenLetter(lstType_), Text(txtQuery_),
          parm_->Parm(), Text(txtIcon_),        Text(txtRole_)};
}

bool fNav::IsChanged() const {
  return record_ && kivwz::IsChanged(Fields(), *record_);
}

void fNav::StoreFields() {
  if (record_) kivwz::StoreFields(Fields(), *record_);
}

void fNav::Save() {
  if (!record_) return;
  StoreFields();
  oNavs_.FuseNav(record_);
}

void fNav::reject() {
  if (!IsChanged() ||
      !prompts_->AskYesNo("Update Confirmation", "Do you want to Update the Node?")) {
    QDialog::reject();
    return;
  }
  StoreFields();
  if (oNavs_.FuseNav(record_)) QDialog::accept();
}

bool fNav::MayLeave(QWidget* field) {
  if (field != parm_->KeyLengthField() || parm_->CheckKeyLength()) return true;
  prompts_->Information(std::string(kNumericValueMessage));
  return false;
}

void fNav::OnEnter(QWidget* control) {
  if (MayLeave(control)) {
    checkingField_ = true;  // checked already
    MoveToNextField(control);
    checkingField_ = false;
  }
}

void fNav::OnFocusChanged(QWidget* old, QWidget* now) {
  if (!now || now->window() != this) return;
  if (!checkingField_ && old == parm_->KeyLengthField()) {
    checkingField_ = true;
    const bool mayLeave = MayLeave(old);
    if (!mayLeave) old->setFocus(Qt::OtherFocusReason);
    checkingField_ = false;
    if (!mayLeave) return;
  }
  if (now == txtDescription_) ShowHelp(NavFieldHelp(NavField::Description));
  if (now == lstType_) ShowHelp(NavFieldHelp(NavField::Type));
  if (now == txtQuery_) ShowHelp(NavFieldHelp(NavField::Query));
  if (now == parm_->List()) ShowHelp(NavFieldHelp(NavField::Parm));
  if (now == parm_->KeyLengthField()) ShowHelp(NavFieldHelp(NavField::KeyLength));
  if (now == txtIcon_) ShowHelp(NavFieldHelp(NavField::Icon));
  if (now == txtRole_) ShowHelp(NavFieldHelp(NavField::Role));
}

void fNav::ShowHelp(std::string_view text) {
  lblDesc_->setText(ToQt(text));
}

}  // namespace kivwz
