#pragma once
// Tables out of a report page: the S and M paragraphs of the page of the selected node, written
// as CSV (one table per file) or as an Excel workbook (one sheet per table), with every row,
// whatever MaxRows shows. KivDB::PageTables lists them; KivDB::ExportTables writes them.

#include <functional>
#include <string>
#include <vector>

namespace kivdb {

enum class TableFormat { Csv, Xlsx };

// One table of a page.
struct PageTable {
  long id = 0;        // the paragraph's ID
  std::string title;  // titleIs after the title rule (a title ending in ":" gets the caption)
  char type = 'S';    // 'S' a table with totals, 'M' a multi-chapter table
};

struct TableExport {
  TableFormat format = TableFormat::Xlsx;
  // The file to write; an existing one is replaced only once the new one is complete.
  std::string file;
  // The paragraph IDs to write, in the page's order; empty: every table of the page. A CSV file
  // holds exactly one table.
  std::vector<long> paragraphs;
  // CSV: start with a UTF-8 byte-order mark, by which Excel knows the encoding.
  bool byteOrderMark = false;
  // Told the rows written so far, every few thousand rows; returning false cancels the export,
  // which then leaves no file behind.
  std::function<bool(long rows)> progress;
};

struct TableExportResult {
  bool ok = false;
  bool cancelled = false;
  std::string error;  // why it failed, for the user
  long tables = 0;
  long rows = 0;
};

}  // namespace kivdb
