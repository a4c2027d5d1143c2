#pragma once
// ConnectionDialog: asks which database the wizard's File menu works on, an SQLite file or a
// connection string (ODBC), with a password that goes into the connection string for this use
// only. The last connection is remembered without its password.

#include <QDialog>
#include <optional>
#include <string>

class QLineEdit;
class QRadioButton;

namespace kivwz {

class ConnectionDialog : public QDialog {
  Q_OBJECT

 public:
  explicit ConnectionDialog(const QString& title, QWidget* parent = nullptr);

  // The connection string to use, password included; "" when nothing usable is filled in.
  std::string Connection() const;

  // Shows the dialog; the connection string, or nothing when the user cancels.
  static std::optional<std::string> Ask(const std::string& title, QWidget* parent);

 private:
  void Remember() const;
  void Recall();

  QRadioButton* sqlite_ = nullptr;
  QRadioButton* odbc_ = nullptr;
  QLineEdit* file_ = nullptr;
  QLineEdit* connection_ = nullptr;
  QLineEdit* password_ = nullptr;
};

}  // namespace kivwz
