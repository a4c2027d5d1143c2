#pragma once
// fWeb: the modal window in which one paragraph of the web display scheme is added or changed.
// The caller sets the record (WebObject: a new paragraph or a CloneWeb copy) and shows the
// window; F3 and confirmed closing ("Do you want to Update the Paragraph?") file it through
// FuseWeb, whose refusals appear in the scheme's own message boxes. A sequence or form number that
// is no whole number is refused with "Please enter Numeric Value" and the window stays open.
//
//   fWeb editor(oNavs, this);
//   editor.WebObject(paragraph);
//   editor.exec();

#include <memory>

#include "wizard/model/nav_schemes.h"
#include "wizard/model/web_editor_rules.h"
#include "wizard/ui/editors/record_editor.h"

class QLabel;
class QLineEdit;
class QListWidget;

namespace kivwz {

class ParameterFields;

class fWeb : public RecordEditor {
  Q_OBJECT

 public:
  explicit fWeb(clsNavSchemes& oNavs, QWidget* parent = nullptr);

  // Setting the record fills the fields at once.
  void WebObject(std::shared_ptr<clsWebScheme> record);
  const std::shared_ptr<clsWebScheme>& WebObject() const { return record_; }

 protected:
  bool IsChanged() const override;
  // Stores nothing when a number field is no whole number (the message is shown).
  bool FileRecord() override;
  bool MayLeave(QWidget* field) override;

 private:
  void BuildForm();
  void ShowParagraph();
  void ReactToType(int row);
  WebFields Fields() const;

  clsNavSchemes& oNavs_;
  std::shared_ptr<clsWebScheme> record_;

  QLabel* lblDesc_;
  QLineEdit* txtID_;
  QLineEdit* txtSeqNo_;
  QLineEdit* txtTitle_;
  QLineEdit* txtQuery_;
  ParameterFields* parm_;
  QListWidget* lstType_;
  QLineEdit* txtForm_;
  QLineEdit* txtCol_;
};

}  // namespace kivwz
