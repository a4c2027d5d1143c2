#pragma once
// RecordEditor: what the node and paragraph editors share. A modal window in the wizard's font
// whose keys (clsEventHandler) save with F3 and close with Esc, whose fields follow the focus
// rules of FieldFocus and show their help on entry, and which asks before closing on changed
// fields whether to file them, staying open when filing is refused.

#include <QDialog>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "wizard/ui/qt_message_boxes.h"

class QLabel;
class QLineEdit;

namespace kivwz {

class FieldFocus;
class clsEventHandler;

class RecordEditor : public QDialog {
  Q_OBJECT

 public:
  // Where the window's own messages and its closing question go (the window's message boxes
  // unless set; nullptr restores them).
  void SetPrompts(MessageBoxes* prompts) { prompts_ = prompts ? prompts : &ownPrompts_; }
  clsEventHandler* oEH() const { return oEH_; }

  // Closing: asks the closing question when the fields differ from the record, and stays open
  // when the record is not filed.
  void reject() override;

 protected:
  using FieldHelp = std::vector<std::pair<QWidget*, std::string_view>>;

  RecordEditor(const QString& title, std::string closingQuestion, QWidget* parent);

  // Called once the form is built and sized: centres the window and binds its keys and focus
  // rules; a field in `help` shows its text when it receives the focus.
  void BindKeysAndFocus(FieldHelp help);

  // The read-only ID field every record shows first.
  QLineEdit* IdField();
  // The help area (lblDesc) that ShowHelp writes to.
  QLabel* MakeHelpArea(int minimumHeight);
  // The line naming the keys, below the fields.
  QLabel* KeysLine();
  void ShowHelp(std::string_view text);
  MessageBoxes& Prompts() const { return *prompts_; }

  virtual bool IsChanged() const = 0;
  // Stores the fields in the record and files it; false when either is refused (the message
  // shown).
  virtual bool FileRecord() = 0;
  // Leaving a checked field; false (message shown) when it may not be left.
  virtual bool MayLeave(QWidget* field) = 0;

 private:
  std::string closingQuestion_;
  QtMessageBoxes ownPrompts_;
  MessageBoxes* prompts_;
  clsEventHandler* oEH_;
  QLabel* help_ = nullptr;
  FieldFocus* focus_ = nullptr;
};

}  // namespace kivwz
