#pragma once
// KivDB: the report control. A host hands it a tree view and a browser (SetControls), sets a few
// properties and calls RefreshBrowser. The control then fills the tree lazily from the navigation
// scheme XST1, answers every click on a node with a report page built from the display scheme
// XST2 and the page template XST3, and talks back only through its four events, raised
// synchronously on the caller's thread.
//
// Failures never reach the host as exceptions, except for the design-time properties: writing
// ActivePort or DAMode in user mode throws Error 382, reading them 393; UserRole throws 13 for a
// value that is no number (6 beyond 16 bits). Everything else is reported through KivDBMessage
// (most messages only while Talking is on).
//
// The widgets and the control may end in any order: events from a widget whose control has
// ended, or that SetControls has since replaced, do nothing. A click or a RefreshBrowser that
// arrives while a page is being built (through the host's event processing during the build) is
// ignored, so the page under construction cannot be cut short.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <kivdb/browser.h>
#include <kivdb/dal.h>
#include <kivdb/export.h>
#include <kivdb/property_bag.h>
#include <kivdb/recordset.h>
#include <kivdb/table_export.h>
#include <kivdb/tree_view.h>
#include <kivdb/variant.h>

namespace kivdb {

class KIVDB_EXPORT KivDB {
 public:
  // Event 1: fill `sRS` with the rows of `sSQL` (DAMode 2). `sRS` arrives as an empty recordset;
  // the handler may fill it or replace it.
  using ProvideRecordsetHandler =
      std::function<void(const std::string& sSQL, std::shared_ptr<Recordset>& sRS)>;
  // Event 2: open form `nFrm` (5 digits) on record `nID` (the digits after them).
  using OpenFormHandler = std::function<void(const std::string& nFrm, const std::string& nID)>;
  // Event 3.
  using KivDBMessageHandler = std::function<void(const std::string& sMessage)>;
  // Event 4: AType is "View", "Save", "Print" or "Form".
  using LogItHandler = std::function<void(const std::string& AType, const std::string& ANarration)>;
  // The container's PropertyChanged: the name of a saved property that changed.
  using PropertyChangedHandler = std::function<void(const std::string& name)>;
  // Today's date for page heads and Today parameters.
  using Clock = std::function<DateTime()>;

  // The ActivePort at which the control reads data; at any other port every read is refused.
  static constexpr int16_t kDataPort = 80;
  // The DAMode values: read through DAL, or ask the host through ProvideRecordset.
  static constexpr int16_t kReadThroughDAL = 1;
  static constexpr int16_t kReadFromHost = 2;
  // The pages the control writes in ApplicationFolder: the front page, shown by RefreshBrowser,
  // and the report page, rewritten by every click.
  static constexpr const char* kFrontPageFile = "fp.htm";
  static constexpr const char* kReportFile = "oReport.htm";

  KivDB();
  ~KivDB();
  KivDB(const KivDB&) = delete;
  KivDB& operator=(const KivDB&) = delete;

  // --- Properties, methods and events ------------------------------------------------------------
  // The data-access object; created on first use when the host set none.
  std::shared_ptr<kivdb::DAL> DAL();
  void DAL(std::shared_ptr<kivdb::DAL> dal);
  // Data are read only while ActivePort is 80. Design time only.
  int16_t ActivePort() const;
  void ActivePort(int16_t port);
  // Folder of the page files, without a trailing separator; stored unchanged.
  void ApplicationFolder(const Variant& folder);
  // 1: read through DAL; 2: ask the host through ProvideRecordset. Design time only.
  int16_t DAMode() const;
  void DAMode(int16_t mode);
  // Picture of the date in each page head and in date cells: d, dd, ddd, dddd, m, mm, mmm, mmmm,
  // yy, yyyy, h, hh, n, nn, s, ss, AM/PM, text in double quotes, or a named form ("Long Date",
  // "Short Date", ...); empty gives ISO text.
  void DateFormat(const std::string& picture);
  // Write the node's path at the foot of each page.
  void DisplayPath(bool on);
  // Text for %StoreName% in each page head.
  void Heading(const Variant& text);
  // Report failures through KivDBMessage.
  void Talking(bool on);
  // Seconds one read through the DAL may run before it is stopped and fails like any failed read
  // (the page goes on with its next paragraph); 0, the default, means no limit. Passed on to the
  // DAL in use and to one set or created later. Reads through ProvideRecordset are the host's.
  // Run-time only, not saved.
  void QueryTimeout(int seconds);
  int QueryTimeout() const;
  // Rows one table (S), thumbnail grid (T) or multi-chapter table (M: its parent rows) shows at
  // most; a line under it then says how many of how many rows are shown, and the table's totals
  // still add every row read. 0, the default, means no limit; a negative value counts as 0.
  // Run-time only, not saved.
  void MaxRows(long rows);
  long MaxRows() const;
  // The user's role number, tested against roleIs; text that holds a number is accepted.
  void UserRole(const Variant& role);
  // Binds the host's widgets: NodeClick expands the node, BeforeNavigate2 follows form links.
  void SetControls(TreeView& mTV, Browser& mBM);
  // Loads the schemes, rebuilds the tree from its root and shows the front page.
  void RefreshBrowser();
  // The browser's save-as and print commands on the shown page.
  void SavePage();
  void PrintPage();

  // --- Tables out of the page (table_export.h) -------------------------------------------------
  // The tables (S and M paragraphs) of the selected node's page, in page order; none when no node
  // is selected or the UserRole may not open it.
  std::vector<PageTable> PageTables();
  // Runs the chosen tables' commands as the page does (the node's parameter, the data gate, the
  // role check) and writes every row to `request.file`. Never throws; a failure leaves any
  // earlier file of that name as it was.
  TableExportResult ExportTables(const TableExport& request);

  void OnProvideRecordset(ProvideRecordsetHandler handler);
  void OnOpenForm(OpenFormHandler handler);
  void OnKivDBMessage(KivDBMessageHandler handler);
  void OnLogIt(LogItHandler handler);

  // --- The container ---------------------------------------------------------------------------
  // The container's ambient UserMode: true while the host runs (not being designed).
  void SetUserMode(bool userMode);
  void OnPropertyChanged(PropertyChangedHandler handler);
  // A new control: ApplicationFolder " ", ActivePort 80, DAMode 1 (also the state after
  // construction).
  void InitProperties();
  // A saved control: "ApplicationFolder" (default " "), "ActivePort" and "DAMode" (default 0).
  // Throws Error 13 (or 6) for a stored port or mode that is no 16-bit number.
  void ReadProperties(PropertyBag& bag);
  // Saves the same three keys with the same defaults; a value equal to its default is not stored.
  void WriteProperties(PropertyBag& bag) const;

  // Replaces the system clock (the local date) for page heads and Today parameters.
  void SetClock(Clock clock);

 private:
  struct KIVDB_NO_EXPORT Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace kivdb
