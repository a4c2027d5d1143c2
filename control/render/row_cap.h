#pragma once
// RowCap: MaxRows applied to one table of a page. A renderer asks Shows(index) for each record
// and, after the table's last line, writes Note(total) when the cap cut the table short: the one
// line that says how many of how many rows the page shows.

#include <string>

namespace kivdb {

class RowCap {
 public:
  // `maxRows` 0 (or less) shows every row.
  explicit RowCap(long maxRows) : maxRows_(maxRows > 0 ? maxRows : 0) {}

  // Whether the record at `index` (0 for the first) is written.
  bool Shows(long index) const { return maxRows_ == 0 || index < maxRows_; }
  // "<p class=pgl>Showing 100 of 250,000 rows.</p>" when `total` records were more than the cap
  // let through, else "".
  std::string Note(long total) const;

 private:
  long maxRows_;
};

// "Showing 100 of 250,000 rows.": the words of the note, numbers grouped by thousands.
std::string RowCapText(long shown, long total);
// 250000 as "250,000".
std::string GroupedNumber(long number);

}  // namespace kivdb
