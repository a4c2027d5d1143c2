#pragma once
// The table file writer: a paragraph's rows as the page shows them, handed to a TableOutput (CSV or
// workbook). An S table passes as a forward-only read (TableSink is the RowSink of that read), so
// every row is written as it arrives and none is kept; its columns are the page's (every field
// but ID, in field order, headed by the field names) and so is its total row (the colsAre list).
// An M table is a shaped recordset, read whole by nature, written level by level with each
// record's chapters below it. Neither applies MaxRows: a table goes out with every row.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <kivdb/recordset.h>
#include "control/data/row_sink.h"
#include "control/render/table_output.h"

namespace kivdb {

// Told the number of rows written so far, every few thousand rows; false stops the export.
using TableProgress = std::function<bool(long rows)>;

class TableSink : public RowSink {
 public:
  // `cols` is colsAre as the page passes it to its table (trimmed, "." for Null).
  TableSink(TableOutput& output, OutTable table, std::string cols, TableProgress progress);

  bool Begin(const std::vector<FieldInfo>& fields) override;
  bool Row(const Variant* values, size_t count) override;
  // After the read: the total row (when the list asks for one) and the end of the table. A read
  // that never began (no fields) still makes an empty table.
  void Finish();
  bool Cancelled() const { return cancelled_; }
  long Rows() const { return rows_; }

 private:
  TableOutput& output_;
  OutTable table_;
  std::string cols_;
  TableProgress progress_;
  bool begun_ = false;
  bool cancelled_ = false;
  long rows_ = 0;
  std::vector<OutColumn> columns_;
  std::optional<size_t> labelColumn_;
  bool totals_ = false;
  // Per output column: the running sum when the column is totalled.
  std::vector<std::optional<double>> sums_;
};

// Writes a shaped recordset as one table: false when `progress` stopped it. Error 28 "Out of
// stack space" for chapters nested deeper than any shaping command goes.
bool WriteShaped(TableOutput& output, const OutTable& table, Recordset& shaped,
                 const TableProgress& progress, long& rows);

}  // namespace kivdb
