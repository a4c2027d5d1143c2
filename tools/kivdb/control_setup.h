#pragma once
// The set-up the kivdb commands share: a user-mode control with the properties the command line
// gave, before the command binds its tree and browser.

#include <ostream>
#include <string>

#include <kivdb/kivdb.h>
#include <kivdb/memory_tree_view.h>

namespace kivdb::tool {

struct ControlSettings {
  std::string folder;   // ApplicationFolder
  std::string connect;  // DAL connection string
  std::string heading;
  std::string dateFormat;
  std::string role;  // UserRole as given; empty leaves the default 0
  bool displayPath = false;
  bool talking = false;
  int queryTimeout = 0;  // QueryTimeout, seconds; 0: none
  long maxRows = 0;      // MaxRows; 0: none
};

// False, after an "error: --role ROLE: DESCRIPTION" line on `err`, when the role is no number.
bool SetUpControl(KivDB& control, const ControlSettings& settings, std::ostream& err);

// After RefreshBrowser, given whether a read failed meanwhile: "" when the schemes were read,
// else the line that says why not ("the schemes could not be read from the database: REASON").
// Without its schemes the control still shows a root, with nothing below it.
std::string SchemesFailure(KivDB& control, MemoryTreeView& tree, bool readFailed);

}  // namespace kivdb::tool
