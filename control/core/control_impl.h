#pragma once
// The state of one KivDB control and its private operations, shared by the files that implement
// them: kivdb.cpp (surface and persistence), data_gate.cpp (ReadData, LoadSchemes),
// navigation.cpp (RefreshBrowser, ExpandNode, CollapseSiblings), page_assembly.cpp (ShowPage) and
// browser_events.cpp (FollowLink, SavePage, PrintPage).

#include <cstdint>
#include <memory>
#include <string>

#include <kivdb/kivdb.h>
#include "control/core/scheme_tables.h"

namespace kivdb {

class RowSink;

struct KivDB::Impl {
  // --- Properties --------------------------------------------------------------------------------
  int16_t activePort = kDataPort;
  int16_t daMode = kReadThroughDAL;
  Variant applicationFolder = Variant(" ");
  std::string dateFormat;
  bool displayPath = false;
  std::string heading;
  bool talking = false;
  int queryTimeout = 0;
  long maxRows = 0;
  int16_t userRole = 0;
  std::shared_ptr<kivdb::DAL> dal;
  bool userMode = false;

  // --- Bound widgets and events ------------------------------------------------------------------
  TreeView* oTV = nullptr;
  Browser* oWB = nullptr;
  ProvideRecordsetHandler provideRecordset;
  OpenFormHandler openForm;
  KivDBMessageHandler kivdbMessage;
  LogItHandler logIt;
  PropertyChangedHandler propertyChanged;
  Clock clock;

  // --- Working state -----------------------------------------------------------------------------
  SchemeTables schemes;
  std::string pageHead;
  std::string reportFile;
  // True while ShowPage runs: calls arriving through the host's event processing then wait.
  bool buildingPage = false;

  // Expires with the control; the widgets' handlers hold a weak reference to it.
  std::shared_ptr<bool> alive = std::make_shared<bool>(true);

  // --- Events ------------------------------------------------------------------------------------
  void Message(const std::string& text) const;
  // The message only while Talking.
  void Tell(const std::string& text) const;
  void Log(const std::string& type, const std::string& narration) const;
  // Call inside a catch block: with Talking, "Error: " + number + ", " + description for the
  // exception in flight (nothing for number 0).
  void ReportCurrentFailure() const noexcept;

  // --- Operations --------------------------------------------------------------------------------
  bool ReadData(const std::string& statement, std::shared_ptr<Recordset>& records);
  // The same gate as a forward-only read: the records go to `sink` as they are read.
  bool ReadDataForward(const std::string& statement, RowSink& sink);
  // The messages of a failed read: the SQL, then the DAL's reason.
  void TellFailedRead(const std::string& statement);
  void LoadSchemes();
  void RefreshBrowser();
  void ExpandNode(TreeNode& node);
  // The phases of one ExpandNode, in navigation.cpp.
  struct Expansion;
  void CollapseSiblings();
  void ShowPage(long schemeId);
  bool FollowLink(const std::string& url);
  // table_export.cpp.
  std::vector<PageTable> PageTables();
  TableExportResult ExportTables(const TableExport& request);
  void PageCommand(int command, const std::string& logType, const std::string& failureText);

  // --- Helpers -----------------------------------------------------------------------------------
  // The DAL in use, created (with the control's QueryTimeout) when the host set none.
  const std::shared_ptr<kivdb::DAL>& OwnDal();
  // ApplicationFolder + the platform's path separator + name.
  std::string FolderPath(const std::string& name) const;
  DateTime Today() const;
  // The bound widgets; Error 91 before SetControls.
  TreeView& Tree() const;
  Browser& Web() const;
  // The tree's selected node; Error 91 when none is selected.
  TreeNode& Selected() const;
};

// A recordset the operations need; Error 91 when the read left none.
Recordset& Need(const std::shared_ptr<Recordset>& records);

}  // namespace kivdb
