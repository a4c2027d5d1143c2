// ShowTable: every record of a paragraph's query as a table row, with an optional total row.

#include <utility>
#include <vector>

#include <kivdb/error.h>
#include "control/data/text.h"
#include "control/render/column_list.h"
#include "control/render/date_format.h"
#include "control/render/field_class.h"
#include "control/render/format_value.h"
#include "control/render/html_escape.h"
#include "control/render/paragraph_frame.h"
#include "control/render/render_context.h"
#include "control/render/row_cap.h"

namespace kivdb {
namespace {

struct Column {
  bool isId = false;
  FieldClass fieldClass = FieldClass::Other;
  std::vector<size_t> sums;  // the accumulators of the list entries naming this column
};

// One S table as it is written: the head row, a row per record, the total row. The sums of the
// listed columns accumulate as the rows are written.
class TableWriter {
 public:
  TableWriter(RenderContext& context, Recordset& records, ColumnList list)
      : context_(context),
        records_(records),
        fieldCount_(records.FieldCount()),
        list_(std::move(list)),
        sums_(list_.entries.size(), 0.0),
        columns_(static_cast<size_t>(fieldCount_)) {}

  void WriteHead(const std::string& title, long id);
  // Rows past the control's MaxRows are not written, but their values still go into the sums.
  void WriteRows();
  void WriteFoot();
  // The line under a table cut short by MaxRows, or "".
  std::string CapNote() const { return RowCap(context_.maxRows).Note(rowsRead_); }

 private:
  // The list entries are read as numbers when first compared with a column, which happens at
  // the first cell of the first record (or, with no cells at all, at the total row).
  void ReadEntries();

  RenderContext& context_;
  Recordset& records_;
  const int fieldCount_;
  const ColumnList list_;
  std::vector<double> sums_;
  std::vector<Column> columns_;
  bool entriesRead_ = false;
  long rowsRead_ = 0;
};

void TableWriter::WriteHead(const std::string& title, long id) {
  std::string html;
  if (!title.empty()) html += TitleLine(ApplyTitleRule(title, context_.selectedCaption), id);
  records_.MoveFirst();
  html += "<table id='TBL" + IdPicture(id) + "' border=1 width=100%><tr>";
  bool anyCell = false;
  for (int i = 0; i < fieldCount_; ++i) {
    const Field field = records_.Fields(i);
    Column& column = columns_[static_cast<size_t>(i)];
    column.isId = IsIdFieldName(field.Name());
    column.fieldClass = ClassOfType(field.Type());
    if (column.isId) continue;
    anyCell = true;
    html += "<td class=thc>";
    AppendHtmlEscaped(html, field.Name());
    html += "</td>";
  }
  context_.page.WriteLine(html);
  if (list_.totals && anyCell) ReadEntries();
}

void TableWriter::ReadEntries() {
  if (entriesRead_) return;
  entriesRead_ = true;
  for (size_t e = 0; e < list_.entries.size(); ++e) {
    const int16_t position = IntegerOrZero(Variant(list_.entries[e]));
    if (position >= 0 && position < fieldCount_)
      columns_[static_cast<size_t>(position)].sums.push_back(e);
  }
}

void TableWriter::WriteRows() {
  const RowCap cap(context_.maxRows);
  std::string row;
  for (; !records_.Eof(); records_.MoveNext(), ++rowsRead_) {
    if (!cap.Shows(rowsRead_)) {
      for (int i = 0; i < fieldCount_; ++i) {
        const Column& column = columns_[static_cast<size_t>(i)];
        if (column.isId) continue;
        for (const size_t sum : column.sums) sums_[sum] += NumericOperand(records_.Value(i));
      }
      continue;
    }
    row.assign("<tr>");
    for (int i = 0; i < fieldCount_; ++i) {
      const Column& column = columns_[static_cast<size_t>(i)];
      if (column.isId) continue;
      const Variant& value = records_.Value(i);
      switch (column.fieldClass) {
        case FieldClass::Integer:
        case FieldClass::Decimal:
        case FieldClass::Date:
          row += "<td class=tdr>";
          AppendFormattedValue(row, value, KindToken(column.fieldClass), context_.dateFormat);
          break;
        default:  // long text too: table cells make no links
          row += "<td class=tdl>";
          AppendFormattedValue(row, value, kKindBlank, context_.dateFormat);
      }
      row += "</td>";
      for (const size_t sum : column.sums) sums_[sum] += NumericOperand(value);
    }
    context_.page.WriteLine(row);
  }
}

void TableWriter::WriteFoot() {
  std::string html;
  if (list_.totals) {
    ReadEntries();
    html += "<tr><td class=tfl>Total:</td>";
    for (int i = 2; i < fieldCount_; ++i) {
      const Column& column = columns_[static_cast<size_t>(i)];
      if (column.sums.empty()) {
        html += "<td class=tfr>.</td>";
        continue;
      }
      for (const size_t sum : column.sums) {
        if (column.fieldClass != FieldClass::Decimal && column.fieldClass != FieldClass::Integer) {
          continue;  // a date or text column gets no total cell
        }
        html += "<td class=tfr>";
        AppendFormattedValue(html, Variant(sums_[sum]), KindToken(column.fieldClass), {});
        html += "</td>";
      }
    }
  }
  html += "</table><br><br>";
  context_.page.WriteLine(html);
}

}  // namespace

void ShowTable(RenderContext& context, Recordset* records, const std::string& title, long id,
               const std::string& cols) {
  RunParagraph(context, records, title, [&](const long count) {
    ColumnList list = ReadColumnList(cols, records->FieldCount());
    if (count < 0) return;
    TableWriter table(context, *records, std::move(list));
    table.WriteHead(title, id);
    table.WriteRows();
    table.WriteFoot();
    if (const std::string note = table.CapNote(); !note.empty()) context.page.WriteLine(note);
  });
}

}  // namespace kivdb
