#pragma once
// TableWriter: the S paragraph written as its records pass, one at a time: the head row at the
// first record, a row per record while MaxRows lets it through, the total row and the MaxRows note
// at the end. Only the sums and the count grow with the table. The recordset renderer (ShowTable)
// and the page's forward-only read both drive it; its methods throw on failure as renderers do.
// AppendTableCell is the one place an S table cell is formatted, for any writer of such cells.

#include <string>
#include <vector>

#include "control/data/row_sink.h"
#include "control/render/field_class.h"
#include "control/render/render_context.h"

namespace kivdb {

// Appends the cell of `value` in a column of class `fieldClass`: numbers and dates on the right in
// their kind's format, everything else as text on the left.
void AppendTableCell(std::string& row, const Variant& value, FieldClass fieldClass,
                     const std::string& dateFormat);

class TableWriter final : public RowSink {
 public:
  // `cols` is the paragraph's column list ("All", positions joined by ":", or "." for none).
  TableWriter(RenderContext& context, std::string title, long id, std::string cols);

  bool Begin(const std::vector<FieldInfo>& fields) override;
  bool Row(const Variant* values, size_t count) override;
  // Once MaxRows rows are on the page, only the totalled columns are read.
  const std::vector<size_t>* FieldsNeeded() const override;
  bool Started() const { return rowsRead_ > 0; }
  // After the last record: the total row and the MaxRows note, or "Blank Recordset: " for none.
  void Finish();
  // The read failed after `Started`: the table is closed and marked as cut short.
  void Abort();

 private:
  struct Column {
    bool isId = false;
    FieldClass fieldClass = FieldClass::Other;
    std::vector<size_t> sums;  // the accumulators of the list entries naming this column
  };
  void WriteHead();
  // The list entries are read as numbers when first compared with a column, which happens at
  // the first cell of the first record (or, with no cells at all, at the total row).
  void ReadEntries();

  RenderContext& context_;
  const std::string title_;
  const long id_;
  const std::string cols_;
  std::vector<FieldInfo> fields_;
  std::vector<std::string> entries_;
  bool totals_ = false;  // a total row is written for any list but ".", even one naming no column
  std::vector<double> sums_;
  std::vector<Column> columns_;
  bool entriesRead_ = false;
  std::vector<size_t> totalled_;  // the columns with a sum, once the entries are read
  long rowsRead_ = 0;
  std::string row_;
};

}  // namespace kivdb
