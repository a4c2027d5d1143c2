#include "wizard/ui/desktop_windows.h"

#include "wizard/ui/editors/help_window.h"
#include "wizard/ui/editors/intro_window.h"
#include "wizard/ui/editors/node_editor.h"
#include "wizard/ui/editors/output_window.h"
#include "wizard/ui/editors/paragraph_editor.h"

namespace kivwz {

void DesktopWindows::ShowIntroduction() {
  fIntro intro(owner_);
  intro.exec();
}

void DesktopWindows::ShowOutput(const std::string& text) {
  fOutput output(owner_);
  output.OutText = text;
  output.exec();
}

void DesktopWindows::EditNode(const clsNavSchemes::Node& parent,
                              const clsNavSchemes::Node& record) {
  fNav editor(navs_, owner_);
  editor.PObject(parent);
  editor.NavObject(record);
  editor.exec();
}

void DesktopWindows::EditParagraph(const clsWebSchemes::Paragraph& record) {
  fWeb editor(navs_, owner_);
  editor.WebObject(record);
  editor.exec();
}

void DesktopWindows::ShowHelp() {
  if (help_ == nullptr) {
    help_ = new fHelp(owner_);
    help_->setAttribute(Qt::WA_DeleteOnClose);
  }
  help_->show();
  help_->raise();
  help_->activateWindow();
}

}  // namespace kivwz
