#pragma once
// The parameter part both editors share: the kind list (lstParm), the key length (txtnn) and the
// parameter text that will be stored (txtParm), with the reaction to a chosen kind, the
// composing of "CKeynn" and the check of the key length.

#include <QObject>
#include <functional>
#include <string>
#include <string_view>

class QLineEdit;
class QListWidget;
class QWidget;

namespace kivwz {

class ParameterFields : public QObject {
  Q_OBJECT

 public:
  // The widgets are children of parent; help texts go to showHelp.
  ParameterFields(QWidget* parent, std::function<void(std::string_view)> showHelp);

  QListWidget* List() const { return list_; }
  QLineEdit* KeyLengthField() const { return keyLength_; }
  QLineEdit* ParmField() const { return parm_; }

  // Chooses the kind the stored text stands for (nothing for an unknown text, keeping the shown
  // parameter) and, for CKeynn, puts its last two characters into the key length.
  void Show(std::string_view parmIs);
  // The parameter text that will be stored.
  std::string Parm() const;
  // Enables or disables the list (and, when disabling, the key length), keeping their content.
  void SetListEnabled(bool enabled);
  void DisableKeyLength();
  // The key length shown before any kind is chosen; composes nothing.
  void SetInitialKeyLength(const QString& text);
  // Five rows of the list in view; the key length and parameter fields as wide as "000" and
  // "CKey00__".
  void FitSizes();
  // Leaving the key length: a key length composes "CKeynn"; anything else is refused (false).
  bool CheckKeyLength();

 private:
  void React(int row);
  void ComposeCKey();

  QListWidget* list_;
  QLineEdit* keyLength_;
  QLineEdit* parm_;
  std::function<void(std::string_view)> showHelp_;
};

}  // namespace kivwz
