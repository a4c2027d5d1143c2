#include "tools/kivdb/export_command.h"

#include <exception>
#include <filesystem>
#include <fstream>
#include <system_error>

#include <kivdb/kivdb.h>
#include <kivdb/memory_browser.h>
#include <kivdb/memory_tree_view.h>
#include "tools/kivdb/click_command.h"
#include "tools/kivdb/control_setup.h"
#include "tools/kivdb/site_index.h"
#include "tools/kivdb/site_walk.h"
#include "tools/kivdb/table_command.h"

namespace kivdb::tool {
namespace {

namespace fs = std::filesystem;

constexpr int kExitFailed = 1;

// The folder as the control wants its ApplicationFolder: absolute, without a trailing separator.
fs::path SiteFolder(const std::string& out) {
  fs::path folder = fs::absolute(fs::path(out)).lexically_normal();
  if (folder.filename().empty() && folder.has_parent_path() && folder != folder.root_path()) {
    folder = folder.parent_path();
  }
  return folder;
}

void WriteIndex(const fs::path& file, const std::string& html) {
  fs::path temporary = file;
  temporary += ".writing";
  std::ofstream stream(temporary, std::ios::binary | std::ios::trunc);
  stream << html;
  stream.close();
  std::error_code error;
  if (stream) fs::rename(temporary, file, error);
  if (!stream || error) {
    fs::remove(temporary, error);
    throw std::runtime_error("cannot write " + file.string());
  }
}

std::string Plural(long count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

int RunExport(const ExportOptions& options, std::ostream& out, std::ostream& err) {
  if (options.out.empty()) {
    err << "error: --out names no folder\n";
    return kExitUsage;
  }
  if (options.maxNodes < 1) {
    err << "error: --max-nodes must be 1 or more\n";
    return kExitUsage;
  }
  const fs::path folder = SiteFolder(options.out);
  std::error_code error;
  fs::create_directories(folder, error);
  if (error || !fs::is_directory(folder)) {
    err << "error: cannot create the folder " << folder.string()
        << (error ? ": " + error.message() : std::string()) << "\n";
    return kExitFailed;
  }

  KivDB control;
  if (!SetUpControl(control,
                    {folder.string(), options.connect, options.heading, options.dateFormat,
                     options.role, false, true, options.queryTimeout, options.maxRows},
                    err)) {
    return kExitUsage;
  }

  MemoryTreeView tree;
  MemoryBrowser browser;
  SiteWalk walk(tree, browser, folder, err);
  control.OnKivDBMessage([&](const std::string& text) { walk.Message(text); });
  if (!options.tables.empty()) {
    const TableFormat format = options.tables == "csv" ? TableFormat::Csv : TableFormat::Xlsx;
    walk.OnPageKept([&, format](SiteNode& site) {
      for (const TableFile& file : WritePageTables(control, folder, site.page, format, err))
        site.tables.push_back({file.name, file.label});
    });
  }
  control.SetControls(tree, browser);
  control.RefreshBrowser();
  // Without its schemes the control still shows a root, with nothing below it.
  const TreeNode* root = tree.Count() > 0 ? &tree.Item(1) : nullptr;
  if (walk.Messages() > 0 && (!root || root->Children() == 0)) {
    err << "error: the schemes could not be read from the database; nothing was exported\n";
    return kExitFailed;
  }

  WalkReport report;
  try {
    report = walk.Run(options.maxNodes);
    for (const std::string& source : report.sources) {
      if (!fs::exists(folder / source, error)) {
        err << "kivdb export: warning: the pages refer to " << source << ", which is not in "
            << folder.string() << "\n";
      }
    }
    IndexOptions index;
    index.title = options.heading.empty() ? "KivDB reports" : options.heading;
    index.startPage = report.tree.nodes.front().page;
    if (report.cutOff) {
      index.footnote = "This export stopped at its limit of " +
                       Plural(options.maxNodes, "node", "nodes") + "; the tree goes on.";
    }
    WriteIndex(folder / "index.html", IndexHtml(report.tree, index));
  } catch (const std::exception& e) {
    err << "error: " << e.what() << "\n";
    return kExitFailed;
  }
  fs::remove(folder / KivDB::kReportFile, error);

  if (report.cutOff) {
    err << "kivdb export: stopped at the limit of " << Plural(options.maxNodes, "node", "nodes")
        << " (--max-nodes); the rest of the tree is not exported\n";
  }
  err << "kivdb export: " << Plural(report.nodes, "node", "nodes") << ", "
      << Plural(report.pages, "page", "pages") << ", "
      << Plural(report.pictures, "picture", "pictures") << ", "
      << Plural(report.messages, "message", "messages") << "\n";
  out << (folder / "index.html").string() << "\n";
  out.flush();
  return kExitOk;
}

}  // namespace kivdb::tool
