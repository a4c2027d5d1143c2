#pragma once
// MemoryBrowser: a browser without a screen, for tests and the command-line host. It keeps the
// contract of browser.h: every navigation, the control's own and a link the host "clicks", first
// passes BeforeNavigate2 and happens only when not cancelled. It records the navigations, and
// answers save and print by copying the shown page to the file the host named beforehand (the
// answer a user would give to the prompt).

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <kivdb/browser.h>
#include <kivdb/export.h>

namespace kivdb {

class KIVDB_EXPORT MemoryBrowser : public Browser {
 public:
  MemoryBrowser();
  ~MemoryBrowser() override;
  MemoryBrowser(const MemoryBrowser&) = delete;
  MemoryBrowser& operator=(const MemoryBrowser&) = delete;

  void Navigate(const std::string& address) override;
  // Save (4) copies the shown page to the save target, print (6) to the print target. Fails with
  // Error 5 for another command, when no page file is shown (nothing yet, or "about:blank") or
  // when the host named no target (the user cancelled the prompt); with 75 when the copy fails.
  void ExecWB(int command, int option) override;
  void SetBeforeNavigateHandler(BeforeNavigateHandler handler) override;

  // --- The host's side -------------------------------------------------------------------------
  // Raises BeforeNavigate2 for `url` and returns the cancel flag, without navigating.
  bool RaiseBeforeNavigate2(const std::string& url);
  // A link clicked in the page: BeforeNavigate2, then the navigation unless cancelled. Returns
  // whether it navigated.
  bool ClickLink(const std::string& url);

  // Where the answers to the save and print prompts go; empty means the user cancels.
  void SetSaveTarget(std::string path);
  void SetPrintTarget(std::string path);
  // Called after every navigation that happened, with its address.
  void SetNavigateObserver(std::function<void(const std::string&)> observer);

  // Every navigation that happened, in order.
  const std::vector<std::string>& History() const;
  // The address shown now; empty before the first navigation.
  const std::string& Current() const;

 private:
  struct KIVDB_NO_EXPORT Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace kivdb
