#pragma once
// fIntro: the modal introduction window shown at start and from the File menu: what the wizard
// is for, beside a picture of the two schemes. Esc closes it.

#include <QDialog>
#include <string>

class QPlainTextEdit;

namespace kivwz {

class clsEventHandler;

class fIntro : public QDialog {
  Q_OBJECT

 public:
  explicit fIntro(QWidget* parent = nullptr);

  // The introduction, each line ending in CR LF.
  static const std::string& IntroText();
  QPlainTextEdit* TextArea() const { return text_; }

 private:
  QPlainTextEdit* text_;
  clsEventHandler* oEH_;
};

}  // namespace kivwz
