#pragma once
// MainWindow: KivDBDemo's window. The navigation tree on the left and the report view on the
// right, a status bar that narrates what the control logs, and a message panel for its messages.
// The window owns the report control and binds it to the two widgets through the Qt adapters;
// its menu commands forward to the control, to NodeHistory and to the record forms.

#include <QMainWindow>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include <kivdb/dal.h>
#include <kivdb/kivdb.h>
#include "demo/app/demo_settings.h"
#include "demo/app/host_prompts.h"
#include "demo/app/launch.h"
#include "demo/app/node_history.h"
#include "demo/app/page_options.h"

class QAction;
class QSplitter;
class QTreeWidget;
class QWebEngineView;

namespace kivdb::qt {
class QtBrowser;
class QtTreeView;
}  // namespace kivdb::qt

namespace kivdb::demo {

class MessagePanel;
class ObservedTreeView;
class PageBrowser;
class RecordFormDialog;
class TableExportActions;

struct MainWindowSetup {
  std::filesystem::path settingsFile;  // the INI file of DemoSettings
  std::filesystem::path pagesFolder;   // ApplicationFolder when the settings keep none
  std::optional<DemoFiles> demo;       // the demo database and its pictures, when found
  HostPrompts prompts = HostPrompts::Defaults();
};

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(MainWindowSetup setup, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Opens a database by its connection string: the control reloads its schemes and shows the
  // front page. The string is kept as the last database. A database that cannot be reached
  // changes nothing: the one open before stays, and the message panel says why (false).
  bool OpenDatabase(const std::string& connectionString);
  // The database named by the settings or, without one, the demo database; false when neither
  // is known (the message panel says so).
  bool OpenDefaultDatabase();
  const std::string& Database() const { return database_; }

  // Opens the node of a full path ("Data Browser\\Sales Overview"), its ancestors on the way;
  // false (with a message) when there is no such node.
  bool OpenNode(const std::string& path);
  // Selects `node` and raises its NodeClick, as a click of the user does.
  void ClickNode(TreeNode& node);
  // Builds the page of the selected node again (after a record form saved).
  void RebuildPage();
  void GoBack();
  void GoForward();
  // Opens the record form of a form link; the form of an unknown number, or a record that cannot
  // be read, gives a message in the panel instead.
  void OpenForm(const std::string& nFrm, const std::string& nID);
  // Writes the settings file (also done when the window closes).
  void SaveSettings();

  KivDB& Control() { return control_; }
  qt::QtTreeView& TreeAdapter() { return *qtTree_; }
  qt::QtBrowser& BrowserAdapter() { return *browser_; }
  QTreeWidget* Tree() const { return treeWidget_; }
  QWebEngineView* View() const { return view_; }
  MessagePanel* Messages() const { return messages_; }
  const NodeHistory& History() const { return history_; }
  const PageOptions& Options() const { return pageOptions_; }
  // Sets the page options, keeps them and shows the selected node's page with them.
  void SetPageOptions(const PageOptions& options);
  int Role() const { return role_; }
  TableExportActions& Tables() { return *tables_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  void SetUpControl();
  void ShowMessage(const std::string& text);
  void ShowHistory(const std::optional<NodeTrail>& trail);
  void UpdateHistoryActions();
  void ExportPdf();
  void ChangeRole();
  void ShowProperties();
  void ShowEveryRow();

  MainWindowSetup setup_;
  DemoSettings settings_;
  KivDB control_;
  DAL hostDal_;  // the host's own DAL: record forms, and ProvideRecordset in DAMode 2
  std::string database_;
  int role_ = 0;
  NodeHistory history_;
  bool replaying_ = false;  // Back/Forward clicks nodes that must not enter the history
  PageOptions pageOptions_;

  QSplitter* splitter_;
  QTreeWidget* treeWidget_;
  QWebEngineView* view_;
  MessagePanel* messages_;
  QAction* back_ = nullptr;
  QAction* forward_ = nullptr;
  std::unique_ptr<qt::QtTreeView> qtTree_;
  std::unique_ptr<ObservedTreeView> tree_;
  std::unique_ptr<qt::QtBrowser> browser_;
  TableExportActions* tables_ = nullptr;  // owned by the window
  std::unique_ptr<PageBrowser> pages_;  // the control's Browser, over browser_
};

}  // namespace kivdb::demo
