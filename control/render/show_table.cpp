// ShowTable: every record of a paragraph's query as a table row, with an optional total row.

#include <algorithm>
#include <cmath>
#include <string_view>
#include <utility>
#include <vector>

#include <kivdb/error.h>
#include "base/html_escape.h"
#include "base/text.h"
#include "control/render/column_list.h"
#include "control/render/date_format.h"
#include "control/render/field_class.h"
#include "control/render/format_value.h"
#include "control/render/paragraph_frame.h"
#include "control/render/paragraph_stream.h"
#include "control/render/render_context.h"
#include "control/render/row_cap.h"
#include "control/render/table_writer.h"

namespace kivdb {
namespace {

// A value's part in a total: NaN and the infinities, as a number or in the server's words, are
// shown in their cell but left out of the total, which would otherwise be lost with them; so is a
// date the server gave as text (infinity, a BC date), in a date column, which has no total cell.
double Summand(const Variant& value, FieldClass fieldClass) {
  // The common cases, without the copy NumericOperand makes; the same numbers.
  switch (value.GetKind()) {
    case Variant::Kind::Int16:
    case Variant::Kind::Int32:
    case Variant::Kind::Int64:
    case Variant::Kind::Double: {
      const double number = *value.ToDouble();
      return std::isfinite(number) ? number : 0;
    }
    default:
      break;
  }
  if (value.GetKind() == Variant::Kind::Text) {
    if (fieldClass == FieldClass::Date) return 0;
    std::string_view word = text::TrimSpaces(*value.AsText());
    if (!word.empty() && (word.front() == '-' || word.front() == '+')) word.remove_prefix(1);
    if (text::EqualsNoCase(word, "NaN") || text::EqualsNoCase(word, "Infinity") ||
        text::EqualsNoCase(word, "Inf")) {
      return 0;
    }
  }
  const double number = NumericOperand(value);
  return std::isfinite(number) ? number : 0;
}

}  // namespace

void AppendTableCell(std::string& row, const Variant& value, FieldClass fieldClass,
                     const std::string& dateFormat) {
  switch (fieldClass) {
    case FieldClass::Integer:
    case FieldClass::Decimal:
    case FieldClass::Date:
      row += "<td class=tdr>";
      AppendFormattedValue(row, value, KindToken(fieldClass), dateFormat);
      break;
    default:  // long text too: table cells make no links
      row += "<td class=tdl>";
      AppendFormattedValue(row, value, kKindBlank, dateFormat);
  }
  row += "</td>";
}

TableWriter::TableWriter(RenderContext& context, std::string title, long id, std::string cols)
    : context_(context), title_(std::move(title)), id_(id), cols_(std::move(cols)) {}

bool TableWriter::Begin(const std::vector<FieldInfo>& fields) {
  fields_ = fields;
  const int fieldCount = static_cast<int>(fields_.size());
  ColumnList list = ReadColumnList(cols_, fieldCount);
  entries_ = std::move(list.entries);
  totals_ = list.totals;
  sums_.assign(entries_.size(), 0.0);
  columns_.assign(fields_.size(), Column());
  return true;
}

void TableWriter::WriteHead() {
  std::string html;
  if (!title_.empty()) html += TitleLine(ApplyTitleRule(title_, context_.selectedCaption), id_);
  html += "<table id='TBL" + IdPicture(id_) + "' border=1 width=100%><tr>";
  bool anyCell = false;
  for (size_t i = 0; i < fields_.size(); ++i) {
    Column& column = columns_[i];
    column.isId = IsIdFieldName(fields_[i].name);
    column.fieldClass = ClassOfType(fields_[i].type);
    if (column.isId) continue;
    anyCell = true;
    html += "<td class=thc>";
    AppendHtmlEscaped(html, fields_[i].name);
    html += "</td>";
  }
  context_.page.WriteLine(html);
  if (totals_ && anyCell) ReadEntries();
}

void TableWriter::ReadEntries() {
  if (entriesRead_) return;
  entriesRead_ = true;
  const int fieldCount = static_cast<int>(fields_.size());
  for (size_t e = 0; e < entries_.size(); ++e) {
    const int16_t position = IntegerOrZero(Variant(entries_[e]));
    if (position >= 0 && position < fieldCount)
      columns_[static_cast<size_t>(position)].sums.push_back(e);
  }
  for (size_t i = 0; i < columns_.size(); ++i) {
    if (!columns_[i].isId && !columns_[i].sums.empty()) totalled_.push_back(i);
  }
}

const std::vector<size_t>* TableWriter::FieldsNeeded() const {
  // Before the entries are read (no cell yet) every field may still be needed.
  if (rowsRead_ == 0 || RowCap(context_.maxRows).Shows(rowsRead_)) return nullptr;
  return &totalled_;
}

bool TableWriter::Row(const Variant* values, size_t count) {
  if (rowsRead_ == 0) WriteHead();
  const size_t cells = std::min(count, columns_.size());
  // Rows past the control's MaxRows are not written, but their values still go into the sums.
  if (!RowCap(context_.maxRows).Shows(rowsRead_++)) {
    for (const size_t i : totalled_) {
      if (i >= cells) break;
      const Column& column = columns_[i];
      for (const size_t sum : column.sums) sums_[sum] += Summand(values[i], column.fieldClass);
    }
    return true;
  }
  row_.assign("<tr>");
  for (size_t i = 0; i < cells; ++i) {
    const Column& column = columns_[i];
    if (column.isId) continue;
    AppendTableCell(row_, values[i], column.fieldClass, context_.dateFormat);
    for (const size_t sum : column.sums) sums_[sum] += Summand(values[i], column.fieldClass);
  }
  context_.page.WriteLine(row_);
  return true;
}

void TableWriter::Finish() {
  if (rowsRead_ == 0) {
    context_.Tell(BlankRecordsetMessage(title_));
    return;
  }
  std::string html;
  if (totals_) {
    ReadEntries();
    html += "<tr><td class=tfl>Total:</td>";
    for (size_t i = 2; i < columns_.size(); ++i) {
      const Column& column = columns_[i];
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
  const std::string note = RowCap(context_.maxRows).Note(rowsRead_);
  if (!note.empty()) context_.page.WriteLine(note);
}

void TableWriter::Abort() {
  if (rowsRead_ == 0) return;
  context_.page.WriteLine("</table><br><br>");
  context_.page.WriteLine(CutShortLine(rowsRead_));
}

void ShowTable(RenderContext& context, Recordset* records, const std::string& title, long id,
               const std::string& cols) {
  RunParagraph(context, records, title, [&](const long count) {
    if (count < 0) return;
    TableWriter table(context, title, id, cols);
    FeedRecordset(*records, table);
    table.Finish();
  });
}

}  // namespace kivdb
