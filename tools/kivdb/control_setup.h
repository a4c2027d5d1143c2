#pragma once
// The set-up the kivdb commands share: a user-mode control with the properties the command line
// gave, before the command binds its tree and browser.

#include <ostream>
#include <string>

#include <kivdb/kivdb.h>

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

// Watches the control's messages while RefreshBrowser reads the schemes: any failed read there
// leaves the tree without its schemes or its pages without their paragraphs.
class SchemeReadWatch {
 public:
  // For every KivDBMessage raised meanwhile.
  void See(const std::string& text);
  // "" when every read succeeded, else the line that says why not ("the schemes could not be
  // read from the database: REASON"), the reason as the control gave it or else the DAL's.
  std::string Failure(KivDB& control) const;

 private:
  bool failed_ = false;
  std::string reason_;
};

}  // namespace kivdb::tool
