// FollowLink turns a click on a record link into OpenForm; SavePage and PrintPage hand the shown
// page to the browser's own commands.

#include "control/core/browser_events.h"

#include <kivdb/error.h>
#include "control/core/control_impl.h"
#include "control/core/text_util.h"

namespace kivdb {

std::optional<FormLinkParts> ParseFormLink(std::string_view url) {
  const size_t mark = url.find('^');
  if (mark == std::string_view::npos) return std::nullopt;
  const std::string_view rest = url.substr(mark + 1);
  const std::string_view form = text::Prefix(rest, 5);
  return FormLinkParts{std::string(form), std::string(rest.substr(form.size()))};
}

bool KivDB::Impl::FollowLink(const std::string& url) {
  bool cancel = false;
  try {
    const std::optional<FormLinkParts> link = ParseFormLink(url);
    if (!link) return false;
    Log("Form", "Form #:" + link->form + ",  ID=" + link->id);
    if (openForm) openForm(link->form, link->id);
    cancel = true;
  } catch (...) {
    // Passed over: the navigation is cancelled only when every step ran.
  }
  return cancel;
}

void KivDB::Impl::PageCommand(int command, const std::string& logType,
                              const std::string& failureText) {
  try {
    Web().ExecWB(command, browser_command::kPromptUser);
    Log(logType, Selected().FullPath());
  } catch (const Error& e) {
    Message(failureText + e.Description());
  } catch (const std::exception& e) {
    Message(failureText + e.what());
  }
}

}  // namespace kivdb
