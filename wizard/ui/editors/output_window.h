#pragma once
// fOutput: the modal window that shows a long report text (analyses and to-do lists) read-only,
// scrolling both ways. The caller sets OutText, then shows the window; Esc closes it.
//
//   fOutput output(this);
//   output.OutText = oNavs.CheckNav();
//   output.exec();

#include <QDialog>
#include <string>

class QPlainTextEdit;

namespace kivwz {

class clsEventHandler;

class fOutput : public QDialog {
  Q_OBJECT

 public:
  explicit fOutput(QWidget* parent = nullptr);

  // The text to show, lines ending in CR LF.
  std::string OutText;

  QPlainTextEdit* TextArea() const { return text_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void ShowText();

  QPlainTextEdit* text_;
  clsEventHandler* oEH_;
};

// Report text for a text widget: CR LF line breaks become plain line breaks.
QString PlainLines(const std::string& text);

}  // namespace kivwz
