#pragma once
// The messages an editor window shows itself: information boxes and the Yes/No question before
// closing. QtEditorPrompts shows real message boxes; tests put a recording implementation in.

#include <QString>
#include <string>

#include "wizard/model/views.h"

class QWidget;

namespace kivwz {

class EditorPrompts : public MessageBoxes {
 public:
  // True for Yes.
  virtual bool AskYesNo(const std::string& title, const std::string& question) = 0;
};

// Message boxes over a window: information boxes titled with the program's name.
class QtEditorPrompts : public EditorPrompts {
 public:
  explicit QtEditorPrompts(QWidget* owner) : owner_(owner) {}
  void Information(const std::string& text) override;
  bool AskYesNo(const std::string& title, const std::string& question) override;

 private:
  QWidget* owner_;
};

// The title of message boxes that name none: the program's display name.
QString ProgramTitle();

}  // namespace kivwz
