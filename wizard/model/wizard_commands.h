#pragma once
// WizardCommands: what the main window's menus, popups and view events do to the design, free of
// widgets. The menus call it, the views hand it their events (ViewEvents); dialogs, message boxes,
// popup menus and the modal windows come in through narrow interfaces so that tests can answer
// them.

#include <string>

#include "wizard/model/nav_schemes.h"
#include "wizard/model/scheme_fingerprint.h"
#include "wizard/model/views.h"

namespace kivwz {

// The open and save dialogs; each returns the chosen path, or "" when the user cancels.
class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  virtual std::string GetOpenName(const std::string& startFolder) = 0;
  virtual std::string GetSaveAsName(const std::string& defaultName,
                                    const std::string& startFolder) = 0;
};

// The windows the commands open modally; each call returns when the window has closed.
class WizardWindows {
 public:
  virtual ~WizardWindows() = default;
  virtual void ShowIntroduction() = 0;
  virtual void ShowOutput(const std::string& text) = 0;
  // The node editor on record, below parent; it files the record itself if the user confirms.
  virtual void EditNode(const clsNavSchemes::Node& parent, const clsNavSchemes::Node& record) = 0;
  // The paragraph editor on record; it files the record itself if the user confirms.
  virtual void EditParagraph(const clsWebSchemes::Paragraph& record) = 0;
  virtual void ShowHelp() = 0;
};

// The popup menus of the tree and of the paragraph grid, opened at the mouse; their items call the
// ...Popup... and ...Paragraph commands.
class PopupMenus {
 public:
  virtual ~PopupMenus() = default;
  virtual void ShowNodeMenu() = 0;
  virtual void ShowParagraphMenu() = 0;
};

inline constexpr std::string_view kStartMessage =
    "If you need to be familiarized with the working of this Wizard, \nPlease open the Files "
    "XST1.txt and XST2.txt for getting started...";
inline constexpr std::string_view kDiscardQuestion =
    "The schemes hold changes that have not been saved. Discard them and exit?";

class WizardCommands : public ViewEvents {
 public:
  // Every reference must outlive the commands. navGrid is the XST1 grid a node click scrolls.
  WizardCommands(clsNavSchemes& navs, TreeView& tree, Grid& navGrid, MessageBoxes& messages,
                 FileDialogs& dialogs, WizardWindows& windows, PopupMenus& menus);

  // The start-up sequence: the default scheme, the introduction, then the two-line message.
  void Start();
  // Loads the files named on the command line; an unreadable file is reported, not fatal.
  void LoadFiles(const std::string& navFile, const std::string& webFile);

  void OpenNavFile();
  void OpenWebFile();
  void SaveNavFile();
  void SaveWebFile();
  void NewScheme();
  void CollapseNodes();
  void Renumber();
  void ShowIntroduction() { windows_.ShowIntroduction(); }
  void ShowHelp() { windows_.ShowHelp(); }
  void CheckNav();
  void NavToDo();
  void CheckWeb();
  void WebToDo();

  // The node commands; nodeKey is a node ID in decimal.
  void InsertNode(const std::string& nodeKey);
  void EditNode(const std::string& nodeKey);
  void DeleteNode(const std::string& nodeKey);
  // Makes the node the first visible row of the XST1 grid.
  void NodeClick(const std::string& nodeKey);

  // The views' events: a click shows the node's paragraphs and scrolls the XST1 grid to it; keys
  // run the node commands; right clicks open the popups on what they refer to.
  void NodeClicked(const std::string& nodeKey) override;
  void NodeAsked(NodeIntent intent, const std::string& nodeKey) override;
  void ParagraphMenuAsked(const std::string& paragraphKey, const std::string& nodeKey) override;

  // Remembers what the popup that is about to open refers to.
  void NodePopupOpened(const std::string& nodeKey) { popupKey_ = nodeKey; }
  void ParagraphPopupOpened(const std::string& paragraphKey, const std::string& nodeKey);
  void InsertPopupNode() { InsertNode(popupKey_); }
  void EditPopupNode() { EditNode(popupKey_); }
  void DeletePopupNode() { DeleteNode(popupKey_); }
  void AddParagraph();
  void EditParagraph();
  void DeleteParagraph();
  void DisplayFullTable() { navs_.DisplayFullWeb(); }
  void DisplayOrphans() { navs_.DispOrphans(); }

  // True when the program may end: nothing unsaved, or the user agreed to discard it.
  bool MayClose();
  bool NavChanged() const { return navSaved_ != NavFingerprint(navs_); }
  bool WebChanged() const { return webSaved_ != WebFingerprint(navs_.oWebs); }

  // Where the next file dialog starts: the folder of the last file opened or saved, else the
  // current folder.
  std::string StartFolder() const;
  const std::string& PopupKey() const { return popupKey_; }
  const std::string& PopupNode() const { return popupNode_; }

 private:
  void Remember(const std::string& path);
  // Selects the node and shows its paragraphs, as a click on it does; the tree keeps a current
  // node for the keys that act on it.
  void MakeCurrent(const std::string& nodeKey);
  void MarkNavSaved() { navSaved_ = NavFingerprint(navs_); }
  void MarkWebSaved() { webSaved_ = WebFingerprint(navs_.oWebs); }
  // The node the tree shows above nodeKey, else the one the record names.
  clsNavSchemes::Node TreeParentOf(const std::string& nodeKey) const;

  clsNavSchemes& navs_;
  TreeView& tree_;
  Grid& navGrid_;
  MessageBoxes& messages_;
  FileDialogs& dialogs_;
  WizardWindows& windows_;
  PopupMenus& menus_;
  std::string lastFolder_;
  std::string popupKey_;
  std::string popupNode_;
  Fingerprint navSaved_;
  Fingerprint webSaved_;
};

}  // namespace kivwz
