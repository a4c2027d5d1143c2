#include <kivdb/qt/property_page.h>

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include <kivdb/error.h>
#include <kivdb/kivdb.h>
#include "control/qt/design_settings.h"

namespace kivdb::qt {

pPage1::pPage1(QWidget* parent)
    : QDialog(parent),
      txtDAMode_(new QLineEdit(this)),
      txtActivePort_(new QLineEdit(this)),
      buttons_(new QDialogButtonBox(
          QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this)) {
  setObjectName("pPage1");
  setWindowTitle(tr("KivDB Properties"));
  txtDAMode_->setObjectName("txtDAMode");
  txtActivePort_->setObjectName("txtActivePort");

  auto* form = new QFormLayout;
  form->addRow(tr("DAMode:"), txtDAMode_);
  form->addRow(tr("ActivePort:"), txtActivePort_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons_);

  for (QLineEdit* box : {txtDAMode_, txtActivePort_}) {
    connect(box, &QLineEdit::textChanged, this, [this] {
      if (!filling_) SetChanged(true);
    });
  }
  connect(buttons_->button(QDialogButtonBox::Apply), &QPushButton::clicked, this,
          [this] { ApplyChanges(); });
  connect(buttons_, &QDialogButtonBox::accepted, this, [this] {
    if (!changed_ || ApplyChanges()) accept();
  });
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
  SetChanged(false);
}

void pPage1::SetSelectedControls(std::vector<KivDB*> controls) {
  selected_ = std::move(controls);
  SelectionChanged();
}

void pPage1::SelectionChanged() {
  filling_ = true;
  txtDAMode_->clear();
  txtActivePort_->clear();
  filling_ = false;
  SetChanged(false);
  if (selected_.empty() || !selected_.front()) return;
  try {
    const DesignSettings settings = ReadDesignSettings(*selected_.front());
    filling_ = true;
    txtDAMode_->setText(QString::fromStdString(settings.daMode));
    txtActivePort_->setText(QString::fromStdString(settings.activePort));
    filling_ = false;
  } catch (const Error& e) {
    ShowError(e.Number(), QString::fromStdString(e.Description()));
  }
}

bool pPage1::ApplyChanges() {
  if (selected_.empty() || !selected_.front()) return false;
  try {
    ApplyDesignSettings(*selected_.front(),
                        {txtDAMode_->text().toStdString(), txtActivePort_->text().toStdString()});
  } catch (const Error& e) {
    ShowError(e.Number(), QString::fromStdString(e.Description()));
    return false;
  }
  SetChanged(false);
  return true;
}

void pPage1::SetErrorReporter(ErrorReporter reporter) {
  reporter_ = std::move(reporter);
}

void pPage1::SetChanged(bool changed) {
  changed_ = changed;
  buttons_->button(QDialogButtonBox::Apply)->setEnabled(changed);
}

void pPage1::ShowError(long number, const QString& description) {
  const QString message = tr("Run-time error '%1': %2").arg(number).arg(description);
  if (reporter_) {
    reporter_(message);
  } else {
    QMessageBox::warning(this, windowTitle(), message);
  }
}

}  // namespace kivdb::qt
