#include "wizard/ui/f_main.h"

#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QShortcut>
#include <QVBoxLayout>

#include "wizard/model/view_style.h"
#include "wizard/ui/connection_dialog.h"
#include "wizard/ui/database_commands.h"
#include "wizard/ui/database_menu.h"
#include "wizard/ui/desktop_windows.h"
#include "wizard/ui/qt_file_dialogs.h"
#include "wizard/ui/qt_message_boxes.h"
#include "wizard/ui/rules_panel.h"
#include "wizard/ui/scheme_grid.h"
#include "wizard/ui/scheme_tree_view.h"

namespace kivwz {
namespace {

// A framed grid: the frame's caption names the scheme table.
QGroupBox* GridFrame(const QString& caption, const char* name, SchemeGrid* grid, QWidget* parent) {
  auto* frame = new QGroupBox(caption, parent);
  frame->setObjectName(QLatin1String(name));
  frame->setFont(QFont(QStringLiteral("Arial"), 9));
  auto* layout = new QVBoxLayout(frame);
  layout->addWidget(grid);
  return frame;
}

QAction* AddItem(QMenu* menu, const QString& caption, const char* name) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(QLatin1String(name));
  return action;
}

}  // namespace

fMain::fMain(Services services, QWidget* parent) : QMainWindow(parent), services_(services) {
  setWindowTitle(tr(kMainCaption));
  setFont(QFont(QStringLiteral("Arial"), 9));
  if (services_.messages == nullptr) {
    ownMessages_ = std::make_unique<QtMessageBoxes>(this);
    services_.messages = ownMessages_.get();
  }
  if (services_.dialogs == nullptr) {
    ownDialogs_ = std::make_unique<QtFileDialogs>(this);
    services_.dialogs = ownDialogs_.get();
  }
  if (services_.windows == nullptr) {
    ownWindows_ = std::make_unique<DesktopWindows>(*this, oNavs);
    services_.windows = ownWindows_.get();
  }
  BuildViews();
  commands_ = std::make_unique<WizardCommands>(oNavs, *myTree_, *flexNav_, *services_.messages,
                                               *services_.dialogs, *services_.windows,
                                               static_cast<PopupMenus&>(*this));
  BuildMenus();
  myTree_->SetEvents(commands_.get());
  flexWeb_->SetEvents(commands_.get());
}

fMain::~fMain() = default;

void fMain::BuildViews() {
  auto* central = new QWidget(this);
  auto* layout = new QHBoxLayout(central);
  layout->setContentsMargins(4, 4, 4, 4);
  myTree_ = new SchemeTreeView(central);
  flexNav_ = new SchemeGrid(central);
  flexNav_->setObjectName(QStringLiteral("flexNav"));
  flexWeb_ = new SchemeGrid(central);
  flexWeb_->setObjectName(QStringLiteral("flexWeb"));
  // Every column stays in view; the long texts take what the others leave.
  flexNav_->SetStretchColumn(kNavGridStretchColumn);
  flexWeb_->SetStretchColumn(kWebGridStretchColumn);
  frN_ = GridFrame(tr("Navigational Table - XST1"), "frN", flexNav_, central);
  frW_ = GridFrame(tr("Web Page Display Table- XST2"), "frW", flexWeb_, central);
  frRule_ = new RulesPanel(central);

  // The tree takes 30 % of the width; on the right the two grids share the height left above
  // the rules panel, which keeps its own height. The layouts follow every resize.
  auto* right = new QVBoxLayout;
  right->addWidget(frN_, 1);
  right->addWidget(frW_, 1);
  right->addWidget(frRule_, 0);
  layout->addWidget(myTree_, 3);
  layout->addLayout(right, 7);
  setCentralWidget(central);

  oNavs.SetGrid(flexNav_);
  oNavs.SetTreeview(myTree_);
  oNavs.oWebs.SetGrid(flexWeb_, 40, 300, 0, 0);
  oNavs.SetMessageBoxes(services_.messages);
}

void fMain::BuildMenus() {
  WizardCommands* commands = commands_.get();
  QMenu* file = menuBar()->addMenu(tr("&File"));
  file->setObjectName(QStringLiteral("mnuFile"));
  connect(AddItem(file, tr("&Introduction"), "mnuIntro"), &QAction::triggered, this,
          [commands] { commands->ShowIntroduction(); });
  QMenu* open = file->addMenu(tr("&Open"));
  open->setObjectName(QStringLiteral("mnuOpen"));
  connect(AddItem(open, tr("Open &Nav. File"), "mnuNavOpen"), &QAction::triggered, this,
          [commands] { commands->OpenNavFile(); });
  connect(AddItem(open, tr("Open &Web File"), "mnuDisOpen"), &QAction::triggered, this,
          [commands] { commands->OpenWebFile(); });
  database_ = std::make_unique<DatabaseCommands>(
      oNavs, *services_.messages, *services_.windows,
      [this](const std::string& title) { return ConnectionDialog::Ask(title, this); });
  AddDatabaseItems(*file, *database_);
  connect(AddItem(file, tr("&Help"), "mnuHelp"), &QAction::triggered, this,
          [commands] { commands->ShowHelp(); });
  file->addSeparator();
  QAction* exit = AddItem(file, tr("E&xit"), "mnuExit");
  exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
  connect(exit, &QAction::triggered, this, &QWidget::close);

  QMenu* navigation = menuBar()->addMenu(tr("&Navigation"));
  navigation->setObjectName(QStringLiteral("mnuNavigation"));
  connect(AddItem(navigation, tr("&New"), "mnuNavNew"), &QAction::triggered, this,
          [commands] { commands->NewScheme(); });
  connect(AddItem(navigation, tr("&Save to Text File"), "mnuNavSave"), &QAction::triggered, this,
          [commands] { commands->SaveNavFile(); });
  connect(AddItem(navigation, tr("&Collapse Nodes"), "mnuCollapse"), &QAction::triggered, this,
          [commands] { commands->CollapseNodes(); });
  connect(AddItem(navigation, tr("&Re-Number"), "mnuNavRenum"), &QAction::triggered, this,
          [commands] { commands->Renumber(); });
  connect(AddItem(navigation, tr("&Analysis of Nav Scheme"), "mnuCheckNav"), &QAction::triggered,
          this, [commands] { commands->CheckNav(); });
  connect(AddItem(navigation, tr("Action &To Do"), "mnuNavToDo"), &QAction::triggered, this,
          [commands] { commands->NavToDo(); });

  QMenu* web = menuBar()->addMenu(tr("&Web"));
  web->setObjectName(QStringLiteral("mnuDisplay"));
  connect(AddItem(web, tr("&Save to Text File"), "mnuDisSave"), &QAction::triggered, this,
          [commands] { commands->SaveWebFile(); });
  connect(AddItem(web, tr("&Analysis of Web Scheme"), "mnuCheckWeb"), &QAction::triggered, this,
          [commands] { commands->CheckWeb(); });
  connect(AddItem(web, tr("Action &To Do"), "mnuWebToDo"), &QAction::triggered, this,
          [commands] { commands->WebToDo(); });

  // The two popups never show in the menu bar.
  mnuPopUp_ = new QMenu(tr("Popup"), this);
  mnuPopUp_->setObjectName(QStringLiteral("mnuPopUp"));
  connect(AddItem(mnuPopUp_, tr("&Add Child   (Ins)"), "mnuChild"), &QAction::triggered, this,
          [commands] { commands->InsertPopupNode(); });
  connect(AddItem(mnuPopUp_, tr("&Edit Node   (F2)"), "mnuEdit"), &QAction::triggered, this,
          [commands] { commands->EditPopupNode(); });
  connect(AddItem(mnuPopUp_, tr("&Delete       (Del)"), "mnuDelete"), &QAction::triggered, this,
          [commands] { commands->DeletePopupNode(); });

  mnuWPopUp_ = new QMenu(tr("&WPopUp"), this);
  mnuWPopUp_->setObjectName(QStringLiteral("mnuWPopUp"));
  connect(AddItem(mnuWPopUp_, tr("&Add Paragraph"), "mnuAddP"), &QAction::triggered, this,
          [commands] { commands->AddParagraph(); });
  connect(AddItem(mnuWPopUp_, tr("&Edit Paragraph"), "mnuEditP"), &QAction::triggered, this,
          [commands] { commands->EditParagraph(); });
  connect(AddItem(mnuWPopUp_, tr("&Delete Paragraph"), "mnuDeleteP"), &QAction::triggered, this,
          [commands] { commands->DeleteParagraph(); });
  connect(AddItem(mnuWPopUp_, tr("Display &Full Table XST2"), "mnuDisplayAll"), &QAction::triggered,
          this, [commands] { commands->DisplayFullTable(); });
  connect(AddItem(mnuWPopUp_, tr("Display &Orphans"), "mnuOrphans"), &QAction::triggered, this,
          [commands] { commands->DisplayOrphans(); });

  auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(help, &QShortcut::activated, this, [commands] { commands->ShowHelp(); });
}

void fMain::ShowNodeMenu() {
  mnuPopUp_->popup(QCursor::pos());
}

void fMain::ShowParagraphMenu() {
  mnuWPopUp_->popup(QCursor::pos());
}

QRect fMain::DefaultGeometry(const QRect& screenArea) {
  return screenArea.adjusted(8, 32, -8, -8);
}

void fMain::Start(const std::string& navFile, const std::string& webFile) {
  commands_->Start();
  if (!navFile.empty() || !webFile.empty()) commands_->LoadFiles(navFile, webFile);
}

void fMain::closeEvent(QCloseEvent* event) {
  if (commands_->MayClose()) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace kivwz
