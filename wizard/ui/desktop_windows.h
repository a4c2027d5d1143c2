#pragma once
// DesktopWindows: the modal windows the main window's commands open, as the real windows: the
// introduction, the output window, the node and paragraph editors and the help window.

#include <QPointer>
#include <QWidget>

#include "wizard/model/wizard_commands.h"

namespace kivwz {

class fHelp;

class DesktopWindows : public WizardWindows {
 public:
  // owner is the main window, navs the design the editors file their records into.
  DesktopWindows(QWidget& owner, clsNavSchemes& navs) : owner_(&owner), navs_(navs) {}

  void ShowIntroduction() override;
  void ShowOutput(const std::string& text) override;
  void EditNode(const clsNavSchemes::Node& parent, const clsNavSchemes::Node& record) override;
  void EditParagraph(const clsWebSchemes::Paragraph& record) override;
  // One help window, shown beside the main window; asked again, it comes to the front.
  void ShowHelp() override;

 private:
  QPointer<QWidget> owner_;
  clsNavSchemes& navs_;
  QPointer<fHelp> help_;
};

}  // namespace kivwz
