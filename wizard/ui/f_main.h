#pragma once
// fMain: the wizard's main window. Holds the design (oNavs), shows it in the tree and the two
// grids beside the rules panel; its menus and popups call WizardCommands, and the views hand their
// events to it directly. Dialogs, message boxes and the modal windows can be handed in for tests.

#include <QMainWindow>
#include <QRect>
#include <memory>
#include <string>

#include "wizard/model/nav_schemes.h"
#include "wizard/model/wizard_commands.h"

class QGroupBox;
class QMenu;

namespace kivwz {

class DatabaseCommands;
class QtMessageBoxes;
class RulesPanel;
class SchemeGrid;
class SchemeTreeView;

inline constexpr const char* kMainCaption = "Reporting Scheme Wizard for KivDB 1.02";

class fMain : public QMainWindow, private PopupMenus {
  Q_OBJECT

 public:
  // What the window talks to; each left empty is the desktop's own.
  struct Services {
    MessageBoxes* messages = nullptr;
    FileDialogs* dialogs = nullptr;
    WizardWindows* windows = nullptr;
  };

  fMain() : fMain(Services()) {}
  explicit fMain(Services services, QWidget* parent = nullptr);
  ~fMain() override;

  // Where the window opens when no earlier size is kept: the screen's free area less a small
  // margin, so that a window manager that does not maximise still shows every part.
  static QRect DefaultGeometry(const QRect& screenArea);

  // The start-up sequence, then the files named on the command line, if any.
  void Start(const std::string& navFile = {}, const std::string& webFile = {});

  clsNavSchemes oNavs;

  SchemeTreeView& Tree() const { return *myTree_; }
  SchemeGrid& NavGrid() const { return *flexNav_; }
  SchemeGrid& WebGrid() const { return *flexWeb_; }
  QMenu& NodePopup() const { return *mnuPopUp_; }
  QMenu& ParagraphPopup() const { return *mnuWPopUp_; }
  WizardCommands& Commands() const { return *commands_; }
  DatabaseCommands& Database() const { return *database_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildViews();
  void BuildMenus();
  void ShowNodeMenu() override;
  void ShowParagraphMenu() override;

  std::unique_ptr<QtMessageBoxes> ownMessages_;
  std::unique_ptr<FileDialogs> ownDialogs_;
  std::unique_ptr<WizardWindows> ownWindows_;
  Services services_;

  SchemeTreeView* myTree_ = nullptr;
  SchemeGrid* flexNav_ = nullptr;
  SchemeGrid* flexWeb_ = nullptr;
  QGroupBox* frN_ = nullptr;
  QGroupBox* frW_ = nullptr;
  RulesPanel* frRule_ = nullptr;
  QMenu* mnuPopUp_ = nullptr;
  QMenu* mnuWPopUp_ = nullptr;
  std::unique_ptr<WizardCommands> commands_;
  std::unique_ptr<DatabaseCommands> database_;
};

}  // namespace kivwz
