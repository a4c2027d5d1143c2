#include "demo/app/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>
#include <QWebEngineView>
#include <exception>

#include <kivdb/error.h>
#include <kivdb/qt/property_page.h>
#include <kivdb/qt/qt_browser.h>
#include <kivdb/qt/qt_tree_view.h>
#include "demo/app/message_panel.h"
#include "demo/app/observed_tree_view.h"
#include "demo/app/page_browser.h"
#include "demo/app/record_form_dialog.h"
#include "demo/app/table_export_actions.h"
#include "demo/app/window_geometry.h"

namespace kivdb::demo {
namespace {

QString FromStd(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

MainWindow::MainWindow(MainWindowSetup setup, QWidget* parent)
    : QMainWindow(parent), setup_(std::move(setup)), settings_(setup_.settingsFile) {
  setObjectName("kivdbDemo");
  setWindowTitle(tr("KivDB Demo"));

  auto* splitter = splitter_ = new QSplitter(Qt::Horizontal, this);
  splitter->setObjectName("splitter");
  treeWidget_ = new QTreeWidget(splitter);
  treeWidget_->setObjectName("tree");
  treeWidget_->setHeaderHidden(true);
  view_ = new QWebEngineView(splitter);
  view_->setObjectName("report");
  splitter->addWidget(treeWidget_);
  splitter->addWidget(view_);
  splitter->setStretchFactor(0, 0);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({300, 900});
  setCentralWidget(splitter);

  messages_ = new MessagePanel(this);
  addDockWidget(Qt::BottomDockWidgetArea, messages_);
  messages_->hide();
  statusBar()->showMessage(tr("Ready"));

  qtTree_ = std::make_unique<qt::QtTreeView>(*treeWidget_);
  tree_ = std::make_unique<ObservedTreeView>(*qtTree_);
  browser_ = std::make_unique<qt::QtBrowser>(*view_);
  pages_ = std::make_unique<PageBrowser>(*browser_, *view_);
  pages_->OnProgress([this](int percent) {
    const QString loading = tr("Loading the page: ");
    if (percent >= 0) {
      statusBar()->showMessage(loading + QString::number(percent) + "%");
    } else if (statusBar()->currentMessage().startsWith(loading)) {
      statusBar()->showMessage(tr("Ready"));
    }
  });
  pages_->OnEveryRow([this] { ShowEveryRow(); });
  tree_->SetObserver([this](TreeNode& node) {
    if (replaying_) return;
    history_.Visit(TrailOf(*tree_, node));
    UpdateHistoryActions();
  });

  BuildMenus();
  SetUpControl();
  RestoreWindow(*this, *splitter_, setup_.settingsFile, QSize(1280, 820));
}

MainWindow::~MainWindow() {
  // The control lets go of the adapters before they go.
  control_.OnKivDBMessage({});
  control_.OnLogIt({});
  control_.OnOpenForm({});
}

void MainWindow::SetUpControl() {
  try {
    settings_.LoadControl(control_);
  } catch (const Error& e) {
    control_.InitProperties();
    ShowMessage("The settings in " + settings_.File().string() +
                " could not be read: " + e.Description());
  }
  std::string folder;
  try {
    folder = settings_.ApplicationFolder();
  } catch (const Error&) {
    // reported above
  }
  if (folder.empty() || !QFileInfo(FromStd(folder)).isDir()) {
    folder = setup_.pagesFolder.string();
    QDir().mkpath(FromStd(folder));
  }
  if (setup_.demo) CopyMissingPictures(setup_.demo->pictures, folder);
  control_.ApplicationFolder(Variant(folder));
  try {
    pageOptions_ = PageOptions::Load(setup_.settingsFile);
  } catch (const Error&) {
    // reported above; the defaults stand
  }
  pageOptions_.ApplyTo(control_);
  control_.SetUserMode(true);
  control_.OnKivDBMessage([this](const std::string& text) { ShowMessage(text); });
  control_.OnLogIt([this](const std::string& type, const std::string& narration) {
    statusBar()->showMessage(FromStd(type) + ": " + FromStd(narration));
  });
  control_.OnOpenForm([this](const std::string& nFrm, const std::string& nID) {
    // Raised while the browser asks whether to navigate: the form opens once that is answered.
    QTimer::singleShot(0, this, [this, nFrm, nID] { OpenForm(nFrm, nID); });
  });
  control_.OnProvideRecordset([this](const std::string& sSQL, std::shared_ptr<Recordset>& sRS) {
    if (!hostDal_.ReadRecordset(sSQL, sRS)) sRS.reset();
  });
  control_.SetControls(*tree_, *pages_);
}

void MainWindow::BuildMenus() {
  QMenu* file = menuBar()->addMenu(tr("&File"));
  QAction* open = file->addAction(tr("&Open Database..."), this, [this] {
    if (auto path = setup_.prompts.openDatabase(this))
      OpenDatabase(SqliteConnectionString(path->toStdString()));
  });
  open->setObjectName("actionOpen");
  open->setShortcut(QKeySequence::Open);
  QAction* connectTo = file->addAction(tr("&Connect..."), this, [this] {
    if (auto text = setup_.prompts.connectionString(this, FromStd(database_)))
      OpenDatabase(text->toStdString());
  });
  connectTo->setObjectName("actionConnect");
  file->addSeparator();
  QAction* save = file->addAction(tr("&Save Page As..."), this, [this] { control_.SavePage(); });
  save->setObjectName("actionSavePage");
  save->setShortcut(QKeySequence::Save);
  QAction* print = file->addAction(tr("&Print..."), this, [this] { control_.PrintPage(); });
  print->setObjectName("actionPrint");
  print->setShortcut(QKeySequence::Print);
  QAction* pdf = file->addAction(tr("&Export PDF..."), this, &MainWindow::ExportPdf);
  pdf->setObjectName("actionExportPdf");
  tables_ = new TableExportActions(this, control_, *view_);
  QAction* tables = file->addAction(tr("Export &Tables..."), this, [this] { tables_->Export({}); });
  tables->setObjectName("actionExportTables");
  file->addSeparator();
  QAction* exit = file->addAction(tr("E&xit"), this, &QWidget::close);
  exit->setObjectName("actionExit");
  exit->setShortcut(QKeySequence::Quit);

  QMenu* view = menuBar()->addMenu(tr("&View"));
  back_ = view->addAction(tr("&Back"), this, &MainWindow::GoBack);
  back_->setObjectName("actionBack");
  back_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
  forward_ = view->addAction(tr("&Forward"), this, &MainWindow::GoForward);
  forward_->setObjectName("actionForward");
  forward_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));
  view->addSeparator();
  QAction* refresh = view->addAction(tr("&Refresh"), this, [this] {
    history_.Clear();
    UpdateHistoryActions();
    control_.RefreshBrowser();
  });
  refresh->setObjectName("actionRefresh");
  refresh->setShortcut(QKeySequence::Refresh);
  QAction* options = view->addAction(tr("Page &Options..."), this, [this] {
    if (auto chosen = setup_.prompts.pageOptions(this, pageOptions_)) SetPageOptions(*chosen);
  });
  options->setObjectName("actionPageOptions");
  QAction* role = view->addAction(tr("R&ole..."), this, &MainWindow::ChangeRole);
  role->setObjectName("actionRole");
  QAction* talking = view->addAction(tr("&Talking"));
  talking->setObjectName("actionTalking");
  talking->setCheckable(true);
  connect(talking, &QAction::toggled, this, [this](bool on) { control_.Talking(on); });
  QAction* path = view->addAction(tr("Show &Path"));
  path->setObjectName("actionShowPath");
  path->setCheckable(true);
  connect(path, &QAction::toggled, this, [this](bool on) {
    control_.DisplayPath(on);
    RebuildPage();
  });
  view->addSeparator();
  view->addAction(messages_->toggleViewAction());

  QMenu* tools = menuBar()->addMenu(tr("&Tools"));
  QAction* properties = tools->addAction(tr("&Properties..."), this, &MainWindow::ShowProperties);
  properties->setObjectName("actionProperties");
  UpdateHistoryActions();
}

bool MainWindow::OpenDatabase(const std::string& connectionString) {
  // Tried first: a database that cannot be reached must not take the place of the open one.
  DAL probe;
  probe.ConnectionString(connectionString);
  if (!probe.IsConnected()) {
    ShowMessage(
        tr("The database could not be opened: %1 %2")
            .arg(FromStd(probe.LastError()),
                 database_.empty() ? QString() : tr("The database open before is still open."))
            .trimmed()
            .toStdString());
    return false;
  }
  for (RecordFormDialog* form : findChildren<RecordFormDialog*>()) form->deleteLater();
  database_ = connectionString;
  hostDal_.ConnectionString(connectionString);
  control_.DAL()->ConnectionString(connectionString);
  history_.Clear();
  UpdateHistoryActions();
  setWindowTitle(tr("KivDB Demo - %1").arg(FromStd(connectionString)));
  SaveSettings();  // kept at once: a session ended without closing the window still has it
  control_.RefreshBrowser();
  return true;
}

bool MainWindow::OpenDefaultDatabase() {
  std::string last;
  try {
    last = settings_.LastDatabase();
  } catch (const Error&) {
  }
  // An SQLite file kept from last time that has gone since is passed over for the demo.
  const std::string sqlite = "Provider=SQLite;Data Source=";
  const bool gone = last.starts_with(sqlite) &&
                    last.find_first_of(";{", sqlite.size()) == std::string::npos &&
                    !QFileInfo::exists(FromStd(last.substr(sqlite.size())));
  if (!last.empty() && !gone && OpenDatabase(last)) return true;
  if (setup_.demo) return OpenDatabase(SqliteConnectionString(setup_.demo->database));
  ShowMessage(tr("The demo database was not found: build it with `make demo`, or open a "
                 "database with File > Open Database.")
                  .toStdString());
  return false;
}

bool MainWindow::OpenNode(const std::string& path) {
  auto click = [this](TreeNode& n) { ClickNode(n); };
  TreeNode* node = OpenPath(*tree_, path, tree_->PathSeparator(), click);
  if (node) {
    click(*node);
    return true;
  }
  ShowMessage(tr("There is no node %1 in the tree.").arg(FromStd(path)).toStdString());
  return false;
}

void MainWindow::ClickNode(TreeNode& node) {
  tree_->Click(node);
}

void MainWindow::RebuildPage() {
  if (TreeNode* node = tree_->SelectedItem()) {
    const bool replaying = replaying_;
    replaying_ = true;  // the same node again: not a step of the history
    ClickNode(*node);
    replaying_ = replaying;
  }
}

void MainWindow::GoBack() {
  ShowHistory(history_.Back());
}

void MainWindow::GoForward() {
  ShowHistory(history_.Forward());
}

void MainWindow::ShowHistory(const std::optional<NodeTrail>& trail) {
  UpdateHistoryActions();
  if (!trail) return;
  replaying_ = true;
  TreeNode* node = OpenTrail(*tree_, *trail, [this](TreeNode& n) { ClickNode(n); });
  if (node) ClickNode(*node);
  replaying_ = false;
  if (!node) {
    ShowMessage(
        tr("That page is no longer in the tree: the record may have been deleted.").toStdString());
  }
}

void MainWindow::UpdateHistoryActions() {
  if (back_) back_->setEnabled(history_.CanGoBack());
  if (forward_) forward_->setEnabled(history_.CanGoForward());
}

void MainWindow::OpenForm(const std::string& nFrm, const std::string& nID) {
  const std::optional<FormSpec> form = FindForm(nFrm);
  if (!form) {
    ShowMessage(tr("There is no form number %1 in this application (record %2).")
                    .arg(FromStd(nFrm), FromStd(nID))
                    .toStdString());
    return;
  }
  for (RecordFormDialog* open : findChildren<RecordFormDialog*>()) {
    if (open->Edit().Form().number == form->number && open->Edit().RecordId() == nID) {
      open->raise();
      open->activateWindow();
      return;
    }
  }
  auto edit = std::make_unique<RecordEdit>(hostDal_, *form, nID, role_);
  std::string error;
  if (!edit->Load(error)) {
    ShowMessage(error);
    return;
  }
  auto* dialog = new RecordFormDialog(std::move(edit), this);
  connect(dialog, &RecordFormDialog::Saved, this, [this] { RebuildPage(); });
  dialog->show();
}

void MainWindow::ExportPdf() {
  QString suggested = QDir::home().filePath("report.pdf");
  if (TreeNode* node = tree_->SelectedItem()) {
    QString name = FromStd(node->Text()).simplified();
    name.replace(QRegularExpression("[^A-Za-z0-9 _-]"), "_");
    if (!name.isEmpty()) suggested = QDir::home().filePath(name + ".pdf");
  }
  const std::optional<QString> path = setup_.prompts.pdfPath(this, suggested);
  if (!path) return;
  if (browser_->PrintToPdf(*path)) {
    statusBar()->showMessage(tr("Exported to %1").arg(*path));
  } else {
    ShowMessage(tr("Export PDF failed: no page is shown, or %1 could not be written.")
                    .arg(*path)
                    .toStdString());
  }
}

void MainWindow::ChangeRole() {
  const std::optional<int> role = setup_.prompts.role(this, role_);
  if (!role) return;
  try {
    control_.UserRole(Variant(int32_t{*role}));
  } catch (const Error& e) {
    ShowMessage("Role " + std::to_string(*role) + ": " + e.Description());
    return;
  }
  role_ = *role;
  statusBar()->showMessage(tr("Role %1").arg(role_));
  // The role decides which branches open: the tree starts again.
  history_.Clear();
  UpdateHistoryActions();
  control_.RefreshBrowser();
}

void MainWindow::ShowProperties() {
  // The page edits design-time settings: the control is in design mode while it is open.
  control_.SetUserMode(false);
  auto* page = new qt::pPage1(this);
  page->setObjectName("propertyPage");
  page->setAttribute(Qt::WA_DeleteOnClose);
  page->SetSelectedControls({&control_});
  // Apply keeps what it applies, so a Cancel after it leaves nothing in force unsaved.
  if (auto* buttons = page->findChild<QDialogButtonBox*>()) {
    if (QPushButton* apply = buttons->button(QDialogButtonBox::Apply))
      connect(apply, &QPushButton::clicked, this, [this] { SaveSettings(); });
  }
  connect(page, &QDialog::finished, this, [this](int result) {
    control_.SetUserMode(true);
    if (result == QDialog::Accepted) {
      SaveSettings();
      statusBar()->showMessage(tr("Properties saved; they apply from the next read."));
    }
  });
  page->open();
}

void MainWindow::SetPageOptions(const PageOptions& options) {
  const bool newHeading = options.heading != pageOptions_.heading;
  pageOptions_ = options;
  pageOptions_.ApplyTo(control_);
  try {
    pageOptions_.Save(setup_.settingsFile);
  } catch (const Error& e) {
    ShowMessage("The page options could not be saved to " + settings_.File().string() + ": " +
                e.Description());
  }
  if (!newHeading) {
    RebuildPage();
    return;
  }
  // The control writes the heading into its page head once per reading of the schemes: they
  // are read again, and the node shown is opened again.
  std::optional<NodeTrail> trail;
  if (TreeNode* node = tree_->SelectedItem()) trail = TrailOf(*tree_, *node);
  control_.RefreshBrowser();
  if (!trail) return;
  replaying_ = true;
  if (TreeNode* node = OpenTrail(*tree_, *trail, [this](TreeNode& n) { ClickNode(n); }))
    ClickNode(*node);
  replaying_ = false;
}

void MainWindow::ShowEveryRow() {
  // This page only: the next node shows its tables cut short again.
  control_.MaxRows(0);
  RebuildPage();
  control_.MaxRows(pageOptions_.maxRows);
}

void MainWindow::ShowMessage(const std::string& text) {
  const bool opening = messages_->isHidden();
  messages_->Add(FromStd(text));
  if (opening) resizeDocks({messages_}, {160}, Qt::Vertical);  // the report keeps the room
  statusBar()->showMessage(FromStd(text));
}

void MainWindow::SaveSettings() {
  try {
    settings_.Save(control_, database_);
  } catch (const Error& e) {
    ShowMessage("The settings could not be saved to " + settings_.File().string() + ": " +
                e.Description());
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  SaveSettings();
  try {
    KeepWindow(*this, *splitter_, setup_.settingsFile);
  } catch (const Error& e) {
    ShowMessage("The window's size could not be saved to " + settings_.File().string() + ": " +
                e.Description());
  }
  QMainWindow::closeEvent(event);
}

}  // namespace kivdb::demo
