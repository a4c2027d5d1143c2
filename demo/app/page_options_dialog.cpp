#include "demo/app/page_options_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

namespace kivdb::demo {

PageOptionsDialog::PageOptionsDialog(const PageOptions& current, QWidget* parent)
    : QDialog(parent) {
  setObjectName("pageOptions");
  setWindowTitle(tr("Page Options"));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  heading_ = new QLineEdit(QString::fromStdString(current.heading), this);
  heading_->setObjectName("heading");
  dateFormat_ = new QLineEdit(QString::fromStdString(current.dateFormat), this);
  dateFormat_->setObjectName("dateFormat");
  dateFormat_->setToolTip(
      tr("A picture such as d mmmm yyyy or dd/mm/yyyy; empty gives "
         "yyyy-mm-dd."));
  maxRows_ = new QSpinBox(this);
  maxRows_->setObjectName("maxRows");
  maxRows_->setRange(0, 100000000);
  maxRows_->setSingleStep(100);
  maxRows_->setGroupSeparatorShown(true);
  maxRows_->setSpecialValueText(tr("Every row"));
  maxRows_->setValue(static_cast<int>(std::min<long>(current.maxRows, maxRows_->maximum())));
  form->addRow(tr("&Heading:"), heading_);
  form->addRow(tr("&Date format:"), dateFormat_);
  form->addRow(tr("Rows per &table at most:"), maxRows_);
  layout->addLayout(form);
  auto* note = new QLabel(tr("A table cut short says how many rows it shows and offers the page "
                             "again with every row."),
                          this);
  note->setWordWrap(true);
  layout->addWidget(note);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  resize(420, sizeHint().height());
}

PageOptions PageOptionsDialog::Options() const {
  PageOptions options;
  options.heading = heading_->text().toStdString();
  options.dateFormat = dateFormat_->text().trimmed().toStdString();
  options.maxRows = maxRows_->value();
  return options;
}

std::optional<PageOptions> PageOptionsDialog::Ask(QWidget* parent, const PageOptions& current) {
  PageOptionsDialog dialog(current, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Options();
}

}  // namespace kivdb::demo
