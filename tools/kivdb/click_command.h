#pragma once
// `kivdb click`: runs the report control headless on the in-memory tree and browser, clicks
// nodes by their full paths, and prints every event and navigation as it happens, one line each:
//   KivDBMessage: TEXT
//   LogIt: ATYPE: NARRATION
//   OpenForm: NFRM NID
//   Navigate: ADDRESS
// then, for each --follow URL, the events it raised and "Cancel: True" or "Cancel: False", and
// with --tree the tree, one "TEXT [KEY] {TAG}" line per node, two spaces of indent per level.
// Scripts rely on these lines and on the exit status: 0 after a run, 1 when the schemes cannot be
// read or the folder cannot be made (saying why on standard error), 2 for a usage error or a path
// that matches no node.

#include <ostream>
#include <string>
#include <vector>

namespace kivdb::tool {

struct ClickOptions {
  std::string connect;  // DAL connection string
  std::string folder;   // ApplicationFolder; empty means the current folder
  std::string role;     // UserRole as given; empty leaves the default 0
  std::string heading;
  std::string dateFormat;
  bool displayPath = false;
  bool talking = false;
  bool keep = false;  // copy every page shown to FOLDER/page-N.htm
  bool tree = false;
  int queryTimeout = 0;             // QueryTimeout, seconds; 0: none
  long maxRows = 0;                 // MaxRows; 0: none
  std::vector<std::string> follow;  // URLs passed to BeforeNavigate2 after the clicks
  std::vector<std::string> paths;   // nodes to click, "Data Browser\..."
};

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// The message the control raises, talking or not, when a read of its schemes or a page fails.
inline constexpr const char* kReadFailedMessage = "Error Reading Data From Database";

int RunClick(const ClickOptions& options, std::ostream& out, std::ostream& err);

}  // namespace kivdb::tool
