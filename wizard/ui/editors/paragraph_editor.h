#pragma once
// fWeb: the modal window in which one paragraph of the web display scheme is added or changed.
// The caller sets the record (WebObject: a new paragraph or a CloneWeb copy) and shows the
// window; F3 and confirmed closing file it through FuseWeb, whose refusals appear in the
// scheme's own message boxes. A sequence or form number that is no whole number is refused
// with "Please enter Numeric Value" and the window stays open.
//
//   fWeb editor(oNavs, this);
//   editor.WebObject(paragraph);
//   editor.exec();

#include <QDialog>
#include <memory>

#include "wizard/model/nav_schemes.h"
#include "wizard/model/web_editor_rules.h"
#include "wizard/ui/editors/editor_prompts.h"

class QLabel;
class QLineEdit;
class QListWidget;

namespace kivwz {

class ParameterFields;
class clsEventHandler;

class fWeb : public QDialog {
  Q_OBJECT

 public:
  explicit fWeb(clsNavSchemes& oNavs, QWidget* parent = nullptr);

  // Setting the record fills the fields at once.
  void WebObject(std::shared_ptr<clsWebScheme> record);
  const std::shared_ptr<clsWebScheme>& WebObject() const { return record_; }

  // Where the window's own messages and its closing question go (the window's message boxes
  // unless set; nullptr restores them).
  void SetPrompts(EditorPrompts* prompts) { prompts_ = prompts ? prompts : &ownPrompts_; }
  clsEventHandler* oEH() const { return oEH_; }

  // Closing: asks "Do you want to Update the Paragraph?" when the fields differ from the record,
  // and stays open when the update is refused.
  void reject() override;

 private:
  void BuildForm();
  void ShowParagraph();
  void ReactToType(int row);
  WebFields Fields() const;
  bool IsChanged() const;
  // False, storing nothing, when a number field is no whole number (the message is shown).
  bool StoreFields();
  void Save();
  void OnEnter(QWidget* control);
  void OnFocusChanged(QWidget* old, QWidget* now);
  // Leaving a checked field; false (message shown) when it may not be left.
  bool MayLeave(QWidget* field);
  void ShowHelp(std::string_view text);

  clsNavSchemes& oNavs_;
  std::shared_ptr<clsWebScheme> record_;
  QtEditorPrompts ownPrompts_;
  EditorPrompts* prompts_;
  clsEventHandler* oEH_;

  QLabel* lblDesc_;
  QLineEdit* txtID_;
  QLineEdit* txtSeqNo_;
  QLineEdit* txtTitle_;
  QLineEdit* txtQuery_;
  ParameterFields* parm_;
  QListWidget* lstType_;
  QLineEdit* txtForm_;
  QLineEdit* txtCol_;
  bool checkingField_ = false;
};

}  // namespace kivwz
