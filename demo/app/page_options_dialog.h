#pragma once
// PageOptionsDialog: View > Page Options, where the user sets the heading, the date picture and
// the most rows of a table for the pages KivDBDemo shows.

#include <QDialog>
#include <optional>

#include "demo/app/page_options.h"

class QLineEdit;
class QSpinBox;

namespace kivdb::demo {

class PageOptionsDialog : public QDialog {
  Q_OBJECT

 public:
  PageOptionsDialog(const PageOptions& current, QWidget* parent);

  PageOptions Options() const;
  // Shows the dialog modally: the options accepted, or nothing when cancelled.
  static std::optional<PageOptions> Ask(QWidget* parent, const PageOptions& current);

 private:
  QLineEdit* heading_;
  QLineEdit* dateFormat_;
  QSpinBox* maxRows_;
};

}  // namespace kivdb::demo
