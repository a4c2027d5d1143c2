#include "demo/app/table_files.h"

#include <filesystem>
#include <set>

namespace kivdb::demo {

std::string SafeFileName(const std::string& title) {
  std::string name;
  for (const char c : title) {
    const bool refused = std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos ||
                         static_cast<unsigned char>(c) < 0x20;
    name += refused ? '_' : c;
  }
  const size_t first = name.find_first_not_of(" .");
  if (first == std::string::npos) return "";
  const size_t last = name.find_last_not_of(" .");
  return name.substr(first, last - first + 1);
}

std::vector<TableFile> PlanTableFiles(const std::vector<PageTable>& tables, TableFormat format,
                                      const std::string& target) {
  std::vector<TableFile> files;
  if (tables.empty()) return files;
  if (format == TableFormat::Xlsx) {
    TableFile workbook{target, {}};
    for (const PageTable& table : tables) workbook.paragraphs.push_back(table.id);
    files.push_back(std::move(workbook));
    return files;
  }
  std::set<std::string> used;
  for (const PageTable& table : tables) {
    std::string stem = SafeFileName(table.title);
    if (stem.empty()) stem = "table-" + std::to_string(table.id);
    std::string name = stem;
    for (int n = 2; used.count(name); ++n) name = stem + " (" + std::to_string(n) + ")";
    used.insert(name);
    files.push_back({(std::filesystem::path(target) / (name + ".csv")).string(), {table.id}});
  }
  return files;
}

}  // namespace kivdb::demo
