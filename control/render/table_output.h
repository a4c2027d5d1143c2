#pragma once
// TableOutput: where the table writer puts a paragraph's table, one row at a time, so that a
// table of any length passes through in constant memory. The writer decides which columns and
// rows a table has (the ones its page shows); an output only decides how cells are written: a CSV
// file or a workbook sheet. A multi-chapter table arrives as its parent rows with each record's
// chapters below it, every level with its own heading row and shifted right by `indent` cells.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include <kivdb/variant.h>
#include "control/render/field_class.h"

namespace kivdb {

struct OutColumn {
  std::string heading;  // the field name, as the page writes it
  FieldClass fieldClass = FieldClass::Other;
  size_t field = 0;  // the value's position in the record handed to Row
};

struct OutTable {
  long id = 0;          // the paragraph ID
  std::string title;    // the paragraph title after the title rule; may be empty
  bool shaped = false;  // a multi-chapter table: rows come with levels
};

class TableOutput {
 public:
  virtual ~TableOutput() = default;
  virtual void BeginTable(const OutTable& table) = 0;
  // `level` counts from 0 for the top; each deeper level is indented one cell further.
  virtual void Heading(int level, const std::vector<OutColumn>& columns) = 0;
  // One record: the value of each column is values[column.field].
  virtual void Row(int level, const std::vector<OutColumn>& columns, const Variant* values) = 0;
  // The total row of an S table, under the top heading: "Total:" in column `labelColumn` (none
  // when it is outside the table), and under each column with a sum its total of every row.
  virtual void Totals(std::optional<size_t> labelColumn,
                      const std::vector<std::optional<double>>& sums) = 0;
  virtual void EndTable() = 0;
};

}  // namespace kivdb
