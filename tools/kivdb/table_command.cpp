#include "tools/kivdb/table_command.h"

#include <stdlib.h>

#include <system_error>

#include <kivdb/memory_browser.h>
#include <kivdb/memory_tree_view.h>
#include "tools/kivdb/click_command.h"
#include "tools/kivdb/control_setup.h"

namespace kivdb::tool {
namespace {

namespace fs = std::filesystem;

// A scratch folder for the control's page files, removed with its contents when done.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "kivdb-table-XXXXXX").string();
    if (mkdtemp(pattern.data())) path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code error;
    if (!path_.empty()) fs::remove_all(path_, error);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

std::vector<std::string> SplitPath(const std::string& path, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (true) {
    const size_t at = path.find(separator, start);
    parts.push_back(path.substr(start, at - start));
    if (at == std::string::npos) return parts;
    start = at + 1;
  }
}

// Opens the ancestors of `path` by clicks and selects the node itself without opening its page
// (the tables are read once, for the file); null when the path matches no node.
TreeNode* SelectNode(MemoryTreeView& tree, const std::string& path) {
  const char separator = tree.PathSeparator().empty() ? '\\' : tree.PathSeparator()[0];
  const std::vector<std::string> parts = SplitPath(path, separator);
  std::string prefix = parts.front();
  for (size_t i = 1; i + 1 < parts.size(); ++i) {
    prefix += separator + parts[i];
    TreeNode* ancestor = tree.FindByPath(prefix);
    if (!ancestor) return nullptr;
    tree.Click(*ancestor);
  }
  TreeNode* node = tree.FindByPath(path);
  if (node) node->SetSelected(true);
  return node;
}

fs::path CsvFileFor(const fs::path& out, long id, bool several) {
  if (!several) return out;
  fs::path file = out;
  file.replace_filename(out.stem().string() + "-" + std::to_string(id) + ".csv");
  return file;
}

}  // namespace

int RunTable(const TableOptions& options, std::ostream& out, std::ostream& err) {
  if (options.out.empty()) {
    err << "error: --out names no file\n";
    return kExitUsage;
  }
  const TableFormat format = options.format == "csv" ? TableFormat::Csv : TableFormat::Xlsx;
  ScratchFolder scratch;
  if (scratch.Path().empty()) {
    err << "error: cannot make a scratch folder in " << fs::temp_directory_path().string() << "\n";
    return kExitFailed;
  }

  KivDB control;
  if (!SetUpControl(control,
                    {scratch.Path(), options.connect, "", options.dateFormat, options.role, false,
                     false, options.queryTimeout, 0},
                    err)) {
    return kExitUsage;
  }
  control.OnKivDBMessage([&](const std::string& text) { err << "kivdb table: " << text << "\n"; });
  MemoryTreeView tree;
  MemoryBrowser browser;
  control.SetControls(tree, browser);
  control.RefreshBrowser();
  if (!SelectNode(tree, options.node)) {
    err << "error: no node " << options.node << "\n";
    return kExitUsage;
  }
  control.Talking(true);

  std::vector<long> paragraphs = options.paragraphs;
  if (paragraphs.empty() && format == TableFormat::Csv) {
    for (const PageTable& table : control.PageTables()) paragraphs.push_back(table.id);
    if (paragraphs.empty()) {
      err << "error: the page of " << options.node << " has no tables\n";
      return kExitFailed;
    }
  }

  const fs::path target = fs::absolute(options.out);
  std::vector<std::pair<fs::path, std::vector<long>>> files;
  if (format == TableFormat::Xlsx) {
    files.push_back({target, paragraphs});
  } else {
    for (const long id : paragraphs) {
      files.push_back({CsvFileFor(target, id, paragraphs.size() > 1), {id}});
    }
  }
  long tables = 0, rows = 0;
  for (const auto& [file, ids] : files) {
    TableExport request;
    request.format = format;
    request.file = file.string();
    request.paragraphs = ids;
    request.byteOrderMark = options.byteOrderMark;
    const TableExportResult result = control.ExportTables(request);
    if (!result.ok) {
      out.flush();
      err << "error: " << file.string() << ": " << result.error << "\n";
      return kExitFailed;
    }
    tables += result.tables;
    rows += result.rows;
    out << file.string() << "\n";
  }
  out.flush();
  err << "kivdb table: " << tables << (tables == 1 ? " table, " : " tables, ") << rows
      << (rows == 1 ? " row\n" : " rows\n");
  return kExitOk;
}

std::vector<TableFile> WritePageTables(KivDB& control, const fs::path& folder,
                                       const std::string& pageName, TableFormat format,
                                       std::ostream& err) {
  std::vector<TableFile> files;
  const std::vector<PageTable> tables = control.PageTables();
  if (tables.empty()) return files;
  const std::string stem = fs::path(pageName).stem().string();
  auto write = [&](const std::string& name, std::vector<long> ids, const std::string& label) {
    TableExport request;
    request.format = format;
    request.file = (folder / name).string();
    request.paragraphs = std::move(ids);
    const TableExportResult result = control.ExportTables(request);
    if (result.ok) {
      files.push_back({name, label});
    } else {
      err << "kivdb export: " << name << ": " << result.error << "\n";
    }
  };
  if (format == TableFormat::Xlsx) {
    write(stem + ".xlsx", {}, "xlsx");
  } else {
    for (const PageTable& table : tables) {
      write(stem + "-" + std::to_string(table.id) + ".csv", {table.id},
            tables.size() == 1 ? "csv" : "csv " + std::to_string(table.id));
    }
  }
  return files;
}

}  // namespace kivdb::tool
