#pragma once
// pPage1: the control's property page as a dialog, caption "KivDB Properties". It edits DAMode
// and ActivePort of the first of the controls selected in the host's designer: SelectionChanged
// fills the two text boxes, typing in either marks the page as changed, and ApplyChanges writes
// DAMode and then ActivePort. An error the control raises (382 in user mode, 13 for text that is
// no number) is shown to the user through the error reporter (a message box unless replaced).

#include <QDialog>
#include <QString>
#include <functional>
#include <vector>

#include <kivdb/qt/export.h>

class QDialogButtonBox;
class QLineEdit;

namespace kivdb {
class KivDB;
}

namespace kivdb::qt {

class KIVDB_QT_EXPORT pPage1 : public QDialog {
  Q_OBJECT

 public:
  using ErrorReporter = std::function<void(const QString& message)>;

  explicit pPage1(QWidget* parent = nullptr);

  // The controls selected in the designer (not owned; they must outlive their selection here).
  // Calls SelectionChanged.
  void SetSelectedControls(std::vector<KivDB*> controls);
  // Fills the text boxes from the first selected control and clears the changed mark.
  void SelectionChanged();
  // Writes the two texts to the first selected control. False, after the error was shown, when
  // the control refused a value; the changed mark is then kept.
  bool ApplyChanges();
  bool Changed() const { return changed_; }
  void SetErrorReporter(ErrorReporter reporter);

  QLineEdit* txtDAMode() const { return txtDAMode_; }
  QLineEdit* txtActivePort() const { return txtActivePort_; }

 private:
  void SetChanged(bool changed);
  void ShowError(long number, const QString& description);

  std::vector<KivDB*> selected_;
  QLineEdit* txtDAMode_;
  QLineEdit* txtActivePort_;
  QDialogButtonBox* buttons_;
  ErrorReporter reporter_;
  bool changed_ = false;
  bool filling_ = false;
};

}  // namespace kivdb::qt
