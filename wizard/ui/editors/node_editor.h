#pragma once
// fNav: the modal window in which one node of the navigation scheme is added or changed. The
// caller sets the parent (PObject), then the record (NavObject: a new record or a CloneNav copy),
// and shows the window; F3 and confirmed closing ("Do you want to Update the Node?") file the
// record through FuseNav, whose refusals appear in the scheme's own message boxes.
//
//   fNav editor(oNavs, this);
//   editor.PObject(parent);
//   editor.NavObject(record);
//   editor.exec();

#include <memory>

#include "wizard/model/nav_editor_rules.h"
#include "wizard/model/nav_schemes.h"
#include "wizard/ui/editors/record_editor.h"

class QLabel;
class QLineEdit;
class QListWidget;

namespace kivwz {

class ParameterFields;

class fNav : public RecordEditor {
  Q_OBJECT

 public:
  explicit fNav(clsNavSchemes& oNavs, QWidget* parent = nullptr);

  void PObject(std::shared_ptr<clsNavScheme> parentNode) { parent_ = std::move(parentNode); }
  const std::shared_ptr<clsNavScheme>& PObject() const { return parent_; }
  // Setting the record fills the fields at once.
  void NavObject(std::shared_ptr<clsNavScheme> record);
  const std::shared_ptr<clsNavScheme>& NavObject() const { return record_; }

 protected:
  bool IsChanged() const override;
  bool FileRecord() override;
  bool MayLeave(QWidget* field) override;

 private:
  void BuildForm();
  void FillLists();
  void ShowNode();
  void ReactToType(int row);
  NavFields Fields() const;

  clsNavSchemes& oNavs_;
  std::shared_ptr<clsNavScheme> parent_;
  std::shared_ptr<clsNavScheme> record_;

  QLabel* lblParent_;
  QLabel* lblDesc_;
  QLineEdit* txtID_;
  QLineEdit* txtDescription_;
  QListWidget* lstType_;
  QLineEdit* txtQuery_;
  ParameterFields* parm_;
  QLineEdit* txtIcon_;
  QLineEdit* txtRole_;
};

}  // namespace kivwz
