#pragma once
// fIntro: the modal introduction window shown at start and from the File menu: what the wizard
// is for, beside a picture of the two schemes. It opens tall enough to show the whole text where
// the screen has room; the text scrolls only on a smaller screen. Esc closes it.

#include <QDialog>
#include <string>

class QTextEdit;

namespace kivwz {

class clsEventHandler;

class fIntro : public QDialog {
  Q_OBJECT

 public:
  explicit fIntro(QWidget* parent = nullptr);

  // The introduction, each line ending in CR LF.
  static const std::string& IntroText();
  QTextEdit* TextArea() const { return text_; }

 private:
  QTextEdit* text_;
  clsEventHandler* oEH_;
};

}  // namespace kivwz
