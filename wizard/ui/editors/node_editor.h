#pragma once
// fNav: the modal window in which one node of the navigation scheme is added or changed. The
// caller sets the parent (PObject), then the record (NavObject: a new record or a CloneNav copy),
// and shows the window; F3 and confirmed closing file the record through FuseNav, whose
// refusals appear in the scheme's own message boxes.
//
//   fNav editor(oNavs, this);
//   editor.PObject(parent);
//   editor.NavObject(record);
//   editor.exec();

#include <QDialog>
#include <memory>

#include "wizard/model/nav_editor_rules.h"
#include "wizard/model/nav_schemes.h"
#include "wizard/ui/editors/editor_prompts.h"

class QLabel;
class QLineEdit;
class QListWidget;

namespace kivwz {

class ParameterFields;
class clsEventHandler;

class fNav : public QDialog {
  Q_OBJECT

 public:
  explicit fNav(clsNavSchemes& oNavs, QWidget* parent = nullptr);

  void PObject(std::shared_ptr<clsNavScheme> parentNode) { parent_ = std::move(parentNode); }
  const std::shared_ptr<clsNavScheme>& PObject() const { return parent_; }
  // Setting the record fills the fields at once.
  void NavObject(std::shared_ptr<clsNavScheme> record);
  const std::shared_ptr<clsNavScheme>& NavObject() const { return record_; }

  // Where the window's own messages and its closing question go (the window's message boxes
  // unless set; nullptr restores them).
  void SetPrompts(EditorPrompts* prompts) { prompts_ = prompts ? prompts : &ownPrompts_; }
  clsEventHandler* oEH() const { return oEH_; }

  // Closing: asks "Do you want to Update the Node?" when the fields differ from the record, and
  // stays open when the update is refused.
  void reject() override;

 private:
  void BuildForm();
  void FillLists();
  void ShowNode();
  void ReactToType(int row);
  NavFields Fields() const;
  bool IsChanged() const;
  void StoreFields();
  void Save();
  void OnEnter(QWidget* control);
  void OnFocusChanged(QWidget* old, QWidget* now);
  // Leaving a checked field; false (message shown) when it may not be left.
  bool MayLeave(QWidget* field);
  void ShowHelp(std::string_view text);

  clsNavSchemes& oNavs_;
  std::shared_ptr<clsNavScheme> parent_;
  std::shared_ptr<clsNavScheme> record_;
  QtEditorPrompts ownPrompts_;
  EditorPrompts* prompts_;
  clsEventHandler* oEH_;

  QLabel* lblParent_;
  QLabel* lblDesc_;
  QLineEdit* txtID_;
  QLineEdit* txtDescription_;
  QListWidget* lstType_;
  QLineEdit* txtQuery_;
  ParameterFields* parm_;
  QLineEdit* txtIcon_;
  QLineEdit* txtRole_;
  bool checkingField_ = false;
};

}  // namespace kivwz
