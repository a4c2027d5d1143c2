#pragma once
// SchemeTables: the navigation scheme (XST1) and the display scheme (XST2) as the control loaded
// them, tables of values indexed column by row in their sorted order, with the indexes the tree
// and the page assembly look rows up by, so a click costs the rows it touches, not the scheme.

#include <optional>
#include <unordered_map>
#include <vector>

#include <kivdb/variant.h>

namespace kivdb {

class SchemeTables {
 public:
  using Rows = std::vector<std::vector<Variant>>;  // [column][row]

  void SetNavRows(Rows rows);
  void SetWebRows(Rows rows);

  size_t NavCount() const { return RowCount(nav_); }
  // The value at (column, row); Error 9 "Subscript out of range" outside the table.
  const Variant& Nav(int column, size_t row) const { return Cell(nav_, column, row); }
  const Variant& Web(int column, size_t row) const { return Cell(web_, column, row); }

  // The first XST1 row whose ID equals `id`.
  std::optional<size_t> NavRowById(long id) const;
  // The XST1 rows whose parentIs equals `id`, in loaded order.
  const std::vector<size_t>& NavChildren(long id) const;
  // The XST2 rows whose XST1 column equals `id`, in loaded order.
  const std::vector<size_t>& WebParagraphs(long id) const;

 private:
  static size_t RowCount(const Rows& rows) { return rows.empty() ? 0 : rows[0].size(); }
  static const Variant& Cell(const Rows& rows, int column, size_t row);
  // Groups the rows by the whole number in `column` (rows whose value is no whole number join
  // no group; a table without the column gives no groups).
  static std::unordered_map<long, std::vector<size_t>> GroupBy(const Rows& rows, int column);

  Rows nav_;
  Rows web_;
  std::unordered_map<long, std::vector<size_t>> navById_;
  std::unordered_map<long, std::vector<size_t>> navByParent_;
  std::unordered_map<long, std::vector<size_t>> webByNode_;
};

}  // namespace kivdb
