#include <kivdb/memory_browser.h>

#include <fstream>
#include <sstream>
#include <utility>

#include <kivdb/error.h>
#include "control/core/replace_file.h"

namespace kivdb {

struct MemoryBrowser::Impl {
  BeforeNavigateHandler beforeNavigate;
  std::function<void(const std::string&)> observer;
  std::vector<std::string> history;
  std::string current;
  std::string saveTarget;
  std::string printTarget;
};

MemoryBrowser::MemoryBrowser() : impl_(std::make_unique<Impl>()) {}
MemoryBrowser::~MemoryBrowser() = default;

bool MemoryBrowser::RaiseBeforeNavigate2(const std::string& url) {
  bool cancel = false;
  // A copy, so a handler that unbinds itself does not pull the function from under its own call.
  BeforeNavigateHandler handler = impl_->beforeNavigate;
  if (handler) handler(url, cancel);
  return cancel;
}

void MemoryBrowser::Navigate(const std::string& address) {
  ClickLink(address);
}

bool MemoryBrowser::ClickLink(const std::string& url) {
  if (RaiseBeforeNavigate2(url)) return false;
  impl_->history.push_back(url);
  impl_->current = url;
  if (impl_->observer) impl_->observer(url);
  return true;
}

void MemoryBrowser::ExecWB(int command, int /*option*/) {
  const std::string* target = nullptr;
  if (command == browser_command::kSaveAs) {
    target = &impl_->saveTarget;
  } else if (command == browser_command::kPrint) {
    target = &impl_->printTarget;
  } else {
    throw Error(err::kInvalidCall, "Invalid procedure call or argument");
  }
  if (impl_->current.empty() || impl_->current == "about:blank") {
    throw Error(err::kInvalidCall, "No page is loaded");
  }
  if (target->empty()) throw Error(err::kInvalidCall, "The command was cancelled");
  // Read whole, then replace the target, so a copy that fails leaves an earlier save intact.
  std::ifstream page(impl_->current, std::ios::binary);
  if (!page.is_open()) throw Error(err::kFileAccess, "Path/File access error: " + impl_->current);
  std::ostringstream content;
  content << page.rdbuf();
  ReplaceFileWith(*target, content.str());
}

void MemoryBrowser::SetBeforeNavigateHandler(BeforeNavigateHandler handler) {
  impl_->beforeNavigate = std::move(handler);
}

void MemoryBrowser::SetSaveTarget(std::string path) {
  impl_->saveTarget = std::move(path);
}
void MemoryBrowser::SetPrintTarget(std::string path) {
  impl_->printTarget = std::move(path);
}

void MemoryBrowser::SetNavigateObserver(std::function<void(const std::string&)> observer) {
  impl_->observer = std::move(observer);
}

const std::vector<std::string>& MemoryBrowser::History() const {
  return impl_->history;
}
const std::string& MemoryBrowser::Current() const {
  return impl_->current;
}

}  // namespace kivdb
