#pragma once
// TableFiles: which files an export of a page's tables writes. A workbook holds every chosen
// table; CSV gets one file per table in the chosen folder, named after the table's title (made
// safe as a file name), or "table-ID" for a table without one, and made unique.

#include <string>
#include <vector>

#include <kivdb/table_export.h>

namespace kivdb::demo {

struct TableFile {
  std::string path;
  std::vector<long> paragraphs;
};

// `target` is the workbook's path (xlsx) or the folder of the CSV files (csv).
std::vector<TableFile> PlanTableFiles(const std::vector<PageTable>& tables, TableFormat format,
                                      const std::string& target);

// A title as a file name: the characters no desktop allows ( / \ : * ? " < > | and control
// characters) become "_", surrounding blanks and dots are dropped; "" when nothing is left.
std::string SafeFileName(const std::string& title);

}  // namespace kivdb::demo
