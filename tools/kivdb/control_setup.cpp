#include "tools/kivdb/control_setup.h"

#include <kivdb/dal.h>
#include <kivdb/error.h>

namespace kivdb::tool {

bool SetUpControl(KivDB& control, const ControlSettings& settings, std::ostream& err) {
  control.InitProperties();
  control.SetUserMode(true);
  control.ApplicationFolder(Variant(settings.folder));
  control.DAL()->ConnectionString(settings.connect);
  control.Heading(Variant(settings.heading));
  control.DateFormat(settings.dateFormat);
  control.DisplayPath(settings.displayPath);
  control.Talking(settings.talking);
  control.QueryTimeout(settings.queryTimeout);
  control.MaxRows(settings.maxRows);
  if (settings.role.empty()) return true;
  try {
    control.UserRole(Variant(settings.role));
  } catch (const Error& e) {
    err << "error: --role " << settings.role << ": " << e.Description() << "\n";
    return false;
  }
  return true;
}

std::string SchemesFailure(KivDB& control, MemoryTreeView& tree, bool readFailed) {
  if (!readFailed || (tree.Count() > 0 && tree.Item(1).Children() > 0)) return "";
  const std::string& reason = control.DAL()->LastError();
  return "the schemes could not be read from the database" +
         (reason.empty() ? std::string() : ": " + reason);
}

}  // namespace kivdb::tool
