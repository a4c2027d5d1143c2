#pragma once
// The column list of a table paragraph (colsAre): the columns whose totals close the table.
// "All" stands for the positions 2 to n - 1 (column 1 holds the "Total:" label), otherwise
// positions joined by ":"; "." (a Null colsAre) means no total row at all.

#include <string>
#include <vector>

namespace kivdb {

struct ColumnList {
  // The entries as written; each is read as a number when first compared with a column.
  std::vector<std::string> entries;
  // A total row is written for any list but ".", even one naming no column.
  bool totals = false;
};

// `cols` is colsAre as the page assembly passes it (trimmed, "." for Null).
ColumnList ReadColumnList(const std::string& cols, int fieldCount);

}  // namespace kivdb
