#include "tools/kivdb/click_command.h"

#include <filesystem>
#include <system_error>

#include <kivdb/kivdb.h>
#include <kivdb/memory_browser.h>
#include <kivdb/memory_tree_view.h>
#include "tools/kivdb/control_setup.h"

namespace kivdb::tool {
namespace {

namespace fs = std::filesystem;

void PrintTree(const MemoryTreeView& tree, std::ostream& out) {
  tree.Walk([&](TreeNode& node, int depth) {
    out << std::string(static_cast<size_t>(depth) * 2, ' ') << node.Text() << " [" << node.Key()
        << "] {" << node.Tag() << "}\n";
  });
}

}  // namespace

int RunClick(const ClickOptions& options, std::ostream& out, std::ostream& err) {
  std::string folder = options.folder;
  if (folder.empty()) {
    std::error_code error;
    folder = fs::current_path(error).string();
    if (error) {
      err << "error: cannot read the current folder: " << error.message() << "\n";
      return kExitUsage;
    }
  } else {
    // The pages go there: a folder that cannot be made would leave the run writing nothing.
    std::error_code error;
    fs::create_directories(folder, error);
    if (error || !fs::is_directory(folder)) {
      err << "error: cannot create the folder " << folder
          << (error ? ": " + error.message() : std::string(": a file of that name is there"))
          << "\n";
      return kExitFailed;
    }
  }

  KivDB control;
  if (!SetUpControl(control,
                    {folder, options.connect, options.heading, options.dateFormat, options.role,
                     options.displayPath, options.talking, options.queryTimeout, options.maxRows},
                    err)) {
    return kExitUsage;
  }

  SchemeReadWatch schemes;
  bool refreshing = true;
  control.OnKivDBMessage([&](const std::string& text) {
    if (refreshing) schemes.See(text);
    out << "KivDBMessage: " << text << "\n";
  });
  control.OnLogIt([&](const std::string& type, const std::string& narration) {
    out << "LogIt: " << type << ": " << narration << "\n";
  });
  control.OnOpenForm([&](const std::string& form, const std::string& id) {
    out << "OpenForm: " << form << " " << id << "\n";
  });

  MemoryTreeView tree;
  MemoryBrowser browser;
  const std::string reportFile =
      folder + std::string(1, fs::path::preferred_separator) + KivDB::kReportFile;
  int kept = 0;
  browser.SetNavigateObserver([&](const std::string& address) {
    out << "Navigate: " << address << "\n";
    if (!options.keep || address != reportFile) return;
    const fs::path copy = fs::path(folder) / ("page-" + std::to_string(++kept) + ".htm");
    std::error_code error;
    fs::copy_file(reportFile, copy, fs::copy_options::overwrite_existing, error);
    if (error) err << "warning: cannot keep " << copy.string() << ": " << error.message() << "\n";
  });

  control.SetControls(tree, browser);
  control.RefreshBrowser();
  refreshing = false;
  if (const std::string failure = schemes.Failure(control); !failure.empty()) {
    out.flush();
    err << "error: " << failure << "\n";
    return kExitFailed;
  }

  for (const std::string& path : options.paths) {
    TreeNode* node = tree.FindByPath(path);
    if (!node) {
      out.flush();
      err << "error: no node " << path << "\n";
      return kExitUsage;
    }
    tree.Click(*node);
  }
  for (const std::string& url : options.follow) {
    const bool cancel = browser.RaiseBeforeNavigate2(url);
    out << "Cancel: " << (cancel ? "True" : "False") << "\n";
  }
  if (options.tree) PrintTree(tree, out);
  out.flush();
  return kExitOk;
}

}  // namespace kivdb::tool
