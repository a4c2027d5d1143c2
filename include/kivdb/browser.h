#pragma once
// Browser: what the report control needs of the host's embedded web browser. The host owns the
// widget and hands it to the control with KivDB::SetControls. The control shows pages with
// Navigate, hands save and print to ExecWB, and watches every navigation through
// BeforeNavigate2, which may cancel it (record links in a page open the host's forms instead).
//
// Contract for implementations: BeforeNavigate2 is raised before every navigation, those the
// control asks for as well as links the user clicks in a page, with the address as the page
// wrote it (a host whose engine encodes links decodes them first). ExecWB throws kivdb::Error when
// the browser refuses the command. A command may finish after ExecWB returns.

#include <functional>
#include <string>

#include <kivdb/export.h>

namespace kivdb {

// Command numbers and options of ExecWB.
namespace browser_command {
inline constexpr int kSaveAs = 4;
inline constexpr int kPrint = 6;
inline constexpr int kPromptUser = 1;
}  // namespace browser_command

class KIVDB_EXPORT Browser {
 public:
  // `cancel` starts false; a handler that sets it stops the navigation.
  using BeforeNavigateHandler = std::function<void(const std::string& url, bool& cancel)>;

  virtual ~Browser() = default;

  // Shows a local file path or "about:blank".
  virtual void Navigate(const std::string& address) = 0;
  // Runs a browser command: browser_command::kSaveAs or kPrint, with kPromptUser.
  virtual void ExecWB(int command, int option) = 0;

  // The handler for BeforeNavigate2; an empty function unbinds.
  virtual void SetBeforeNavigateHandler(BeforeNavigateHandler handler) = 0;
};

}  // namespace kivdb
