#pragma once
// RecordFormDialog: the record form KivDBDemo opens for a form link in a report page. It shows
// the fields of a RecordEdit, one editor each, and saves through it; the dialog itself only
// moves texts between the editors and the RecordEdit and shows what the save answered. It is not
// modal, so the user can keep browsing the reports while a form is open.

#include <QDialog>
#include <memory>
#include <vector>

#include "demo/app/record_edit.h"

class QLabel;
class QPushButton;
class QWidget;

namespace kivdb::demo {

class RecordFormDialog : public QDialog {
  Q_OBJECT

 public:
  // `edit` has been loaded.
  RecordFormDialog(std::unique_ptr<RecordEdit> edit, QWidget* parent);
  ~RecordFormDialog() override;

  const RecordEdit& Edit() const { return *edit_; }
  // The editor of a field, by field name (null when there is none); tests type into it.
  QWidget* Editor(const QString& fieldName) const;
  // The text shown above the buttons: empty, the save's confirmation or why it failed.
  QString Notice() const;
  // Saves as the Save button does.
  SaveResult Save();

 signals:
  // The record was written: the page showing it is out of date.
  void Saved(const QString& nFrm, const QString& nID);

 public slots:
  // Escape, the Close button and the window's close box all end here: unsaved edits are asked
  // about first, and a "No" keeps the form open.
  void reject() override;

 private:
  void TakeTexts();
  void ShowTexts();
  void ShowNotice(const QString& text, bool problem);

  std::unique_ptr<RecordEdit> edit_;
  std::vector<QWidget*> editors_;  // one per field, owned by the dialog
  QLabel* notice_;
  QPushButton* save_;
};

}  // namespace kivdb::demo
