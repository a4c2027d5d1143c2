#include "tools/kivdb/control_setup.h"

#include <kivdb/dal.h>
#include <kivdb/error.h>
#include "tools/kivdb/click_command.h"

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

void SchemeReadWatch::See(const std::string& text) {
  static constexpr std::string_view kReason = "Reason: ";
  if (text == kReadFailedMessage) failed_ = true;
  if (reason_.empty() && text.rfind(kReason, 0) == 0) reason_ = text.substr(kReason.size());
}

std::string SchemeReadWatch::Failure(KivDB& control) const {
  if (!failed_) return "";
  const std::string& reason = reason_.empty() ? control.DAL()->LastError() : reason_;
  return "the schemes could not be read from the database" +
         (reason.empty() ? std::string() : ": " + reason);
}

}  // namespace kivdb::tool
