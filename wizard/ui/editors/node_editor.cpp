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
#include "wizard/ui/editors/parameter_fields.h"

namespace kivwz {
namespace {

constexpr int kWindowWidth = 620;

// Every help text the window may show in its help area.
std::vector<std::string_view> HelpTexts() {
  std::vector<std::string_view> texts = ParameterHelpTexts();
  for (const NavField field :
       {NavField::Description, NavField::Type, NavField::Query, NavField::Parm, NavField::KeyLength,
        NavField::Icon, NavField::Role}) {
    texts.push_back(NavFieldHelp(field));
  }
  for (const char letter : {'F', 'G', 'R', 'N'}) texts.push_back(ReactToNavType(letter).help);
  return texts;
}

}  // namespace

fNav::fNav(clsNavSchemes& oNavs, QWidget* parent)
    : RecordEditor(tr("Form to Add / Update a Navigational Node."),
                   "Do you want to Update the Node?", parent),
      oNavs_(oNavs) {
  BuildForm();
  FillLists();
  BindKeysAndFocus({{txtDescription_, NavFieldHelp(NavField::Description)},
                    {lstType_, NavFieldHelp(NavField::Type)},
                    {txtQuery_, NavFieldHelp(NavField::Query)},
                    {parm_->List(), NavFieldHelp(NavField::Parm)},
                    {parm_->KeyLengthField(), NavFieldHelp(NavField::KeyLength)},
                    {txtIcon_, NavFieldHelp(NavField::Icon)},
                    {txtRole_, NavFieldHelp(NavField::Role)}});
}

void fNav::BuildForm() {
  lblParent_ = new QLabel(this);
  lblParent_->setObjectName(QStringLiteral("lblParent"));
  txtID_ = IdField();
  txtDescription_ = NamedLineEdit(this, "txtDescription");
  lstType_ = new QListWidget(this);
  lstType_->setObjectName(QStringLiteral("lstType"));
  lstType_->setSelectionMode(QAbstractItemView::SingleSelection);
  txtQuery_ = NamedLineEdit(this, "txtQuery");
  parm_ = new ParameterFields(this, [this](std::string_view text) { ShowHelp(text); });
  txtIcon_ = NamedLineEdit(this, "txtIcon");
  txtRole_ = NamedLineEdit(this, "txtRole");
  lblDesc_ = MakeHelpArea(120);

  parm_->FitSizes();
  lstType_->setFixedHeight(lstType_->fontMetrics().height() * 4 + 12);

  auto* grid = new QGridLayout(this);
  grid->addWidget(lblParent_, 0, 0, 1, 4);
  grid->addWidget(new QLabel(tr("ID:"), this), 1, 0);
  txtID_->setFixedWidth(txtID_->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")));
  grid->addWidget(txtID_, 1, 1, Qt::AlignLeft);
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
  grid->addWidget(KeysLine(), 9, 0, 1, 4);
  grid->addWidget(
      new QLabel(tr("Please Refer the Tutorials for Detailed Explanations of each field !!"), this),
      10, 0, 1, 4);
  grid->setColumnStretch(1, 1);
  // Only the help area takes the height the window gains, so the fields stay together.
  grid->setRowStretch(8, 1);
  const QMargins margins = grid->contentsMargins();
  FitHelpArea(lblDesc_, kWindowWidth - margins.left() - margins.right(), HelpTexts());
  ResizeToWidth(this, kWindowWidth);

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

bool fNav::FileRecord() {
  if (!record_) return false;
  kivwz::StoreFields(Fields(), *record_);
  return oNavs_.FuseNav(record_);
}

bool fNav::MayLeave(QWidget* field) {
  if (field != parm_->KeyLengthField() || parm_->CheckKeyLength()) return true;
  Prompts().Information(std::string(kNumericValueMessage));
  return false;
}

}  // namespace kivwz
