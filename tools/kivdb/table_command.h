#pragma once
// `kivdb table`: the tables of one page as a file. It opens the node's ancestors by clicks, as a
// user would, selects the node and writes its table paragraphs with every row: the ones named
// (--paragraph ID, repeatable) or all of them, into one workbook (--format xlsx) or into one CSV
// file each
// (--format csv; with several tables FILE-ID.csv beside FILE's name, one per paragraph). The
// control's own page files go to a scratch folder that is removed afterwards.
//
// Standard output gets the full path of every file written, one a line; messages and a summary
// go to standard error. Exit status: 0 after the files are written, 1 when a table could not be
// read or written (no file is left half-written), 2 for a usage error or a path that matches no
// node.
//
// WritePageTables is the same writing for `kivdb export --tables`: the tables of the page just
// kept, beside it in the site.

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <kivdb/kivdb.h>

namespace kivdb::tool {

struct TableOptions {
  std::string connect;
  std::string node;              // the full path, "Data Browser\..."
  std::vector<long> paragraphs;  // the tables to write; none: every table of the page
  std::string format = "xlsx";   // "csv" or "xlsx"
  std::string out;
  std::string role;
  std::string dateFormat;
  int queryTimeout = 0;
  bool byteOrderMark = false;
};

int RunTable(const TableOptions& options, std::ostream& out, std::ostream& err);

// A file written for a page, and the link text the site's index shows for it.
struct TableFile {
  std::string name;  // in the site folder
  std::string label;
};

// Writes the tables of the selected node's page beside `pageName` in `folder`: PAGE.xlsx, or
// PAGE-ID.csv for each table. Failures are told on `err` and leave that file out.
std::vector<TableFile> WritePageTables(KivDB& control, const std::filesystem::path& folder,
                                       const std::string& pageName, TableFormat format,
                                       std::ostream& err);

}  // namespace kivdb::tool
