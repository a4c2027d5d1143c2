#include "tools/kivdb/export_command.h"

#include <exception>
#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>

#include <kivdb/kivdb.h>
#include <kivdb/memory_browser.h>
#include <kivdb/memory_tree_view.h>
#include "tools/kivdb/click_command.h"
#include "tools/kivdb/control_setup.h"
#include "tools/kivdb/site_index.h"
#include "tools/kivdb/site_swap.h"
#include "tools/kivdb/site_walk.h"
#include "tools/kivdb/table_command.h"

namespace kivdb::tool {
namespace {

namespace fs = std::filesystem;

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
  const fs::path site = SiteFolder(options.out);
  std::optional<SiteSwap> swap;
  try {
    swap.emplace(site);
  } catch (const std::exception& e) {
    err << "error: " << e.what() << "\n";
    return kExitFailed;
  }
  // The control writes into the new folder; the site takes its place when the walk is done.
  const fs::path& folder = swap->Building();

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
  SchemeReadWatch schemes;
  bool refreshing = true;
  control.OnKivDBMessage([&](const std::string& text) {
    if (refreshing) schemes.See(text);
    walk.Message(text);
  });
  if (!options.tables.empty()) {
    const TableFormat format = options.tables == "csv" ? TableFormat::Csv : TableFormat::Xlsx;
    walk.OnPageKept([&, format](SiteNode& node) {
      for (const TableFile& file : WritePageTables(control, folder, node.page, format, err))
        node.tables.push_back({file.name, file.label});
    });
  }
  control.SetControls(tree, browser);
  control.RefreshBrowser();
  refreshing = false;
  if (const std::string failure = schemes.Failure(control); !failure.empty()) {
    err << "error: " << failure << "; nothing was exported\n";
    return kExitFailed;
  }

  WalkReport report;
  std::error_code error;
  try {
    report = walk.Run(options.maxNodes, options.keepGoing);
    if (report.stoppedAtFailure) {
      err << "error: " << report.firstFailure << "\n"
          << "error: a page could not be read from the database; nothing was exported, "
          << site.string() << " is as it was (--keep-going exports the rest and marks it)\n";
      return kExitFailed;
    }
    for (const std::string& source : report.sources) {
      if (!fs::exists(folder / source, error)) {
        err << "kivdb export: warning: the pages refer to " << source << ", which is not in "
            << site.string() << "\n";
      }
    }
    IndexOptions index;
    index.title = options.heading.empty() ? "KivDB reports" : options.heading;
    index.startPage = report.tree.nodes.front().page;
    if (report.cutOff) {
      index.footnote = "This export stopped at its limit of " +
                       Plural(options.maxNodes, "node", "nodes") + "; the tree goes on.";
    }
    if (report.failed > 0) {
      index.footnote += std::string(index.footnote.empty() ? "" : " ") +
                        Plural(report.failed, "page lacks", "pages lack") +
                        " data: a read failed (marked in the tree).";
    }
    WriteIndex(folder / "index.html", IndexHtml(report.tree, index));
    fs::remove(folder / KivDB::kReportFile, error);
    swap->Commit();
  } catch (const std::exception& e) {
    err << "error: " << e.what() << "\n";
    err << "error: nothing was exported; " << site.string() << " is as it was\n";
    return kExitFailed;
  }

  if (report.cutOff) {
    err << "kivdb export: stopped at the limit of " << Plural(options.maxNodes, "node", "nodes")
        << " (--max-nodes); the rest of the tree is not exported\n";
  }
  err << "kivdb export: " << Plural(report.nodes, "node", "nodes") << ", "
      << Plural(report.pages, "page", "pages") << ", "
      << Plural(report.pictures, "picture", "pictures") << ", "
      << Plural(report.messages, "message", "messages");
  if (report.failed > 0) err << ", " << Plural(report.failed, "failed page", "failed pages");
  err << "\n";
  out << (site / "index.html").string() << "\n";
  out.flush();
  return report.failed > 0 ? kExitFailed : kExitOk;
}

}  // namespace kivdb::tool
