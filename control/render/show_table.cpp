// ShowTable: every record of a paragraph's query as a table row, with an optional total row.

#include <vector>

#include <kivdb/error.h>
#include "control/data/text.h"
#include "control/render/date_format.h"
#include "control/render/field_class.h"
#include "control/render/format_value.h"
#include "control/render/html_escape.h"
#include "control/render/paragraph_frame.h"
#include "control/render/render_context.h"

namespace kivdb {
namespace {

// "All" stands for the positions 2 to n - 1: column 1 holds the "Total:" label.
std::string AllColumns(int fieldCount) {
  std::string columnText;
  for (int position = 2; position <= fieldCount - 2; ++position) {
    columnText += std::to_string(position) + ":";
  }
  return columnText + std::to_string(fieldCount - 1);
}

std::vector<std::string> SplitColumns(const std::string& columnText) {
  std::vector<std::string> entries;
  if (columnText.empty()) return entries;
  size_t start = 0;
  while (true) {
    const size_t colon = columnText.find(':', start);
    entries.push_back(columnText.substr(start, colon - start));
    if (colon == std::string::npos) return entries;
    start = colon + 1;
  }
}

struct Column {
  bool isId = false;
  FieldClass fieldClass = FieldClass::Other;
  std::vector<size_t> sums;  // the accumulators of the list entries naming this column
};

}  // namespace

void ShowTable(RenderContext& context, Recordset* records, const std::string& title, long id,
               const std::string& cols) {
  RunParagraph(context, records, title, [&](const long count) {
    const int fieldCount = records->FieldCount();
    std::string columnText(text::TrimSpaces(cols));
    const bool hasColumns = columnText != ".";
    std::vector<std::string> entries;
    if (hasColumns) {
      if (text::EqualsNoCase(columnText, "All")) columnText = AllColumns(fieldCount);
      entries = SplitColumns(columnText);
    }
    std::vector<double> sums(entries.size(), 0.0);
    const bool totals = hasColumns && !entries.empty();
    if (count < 0) return;

    std::string html;
    if (!title.empty()) html += TitleLine(ApplyTitleRule(title, context.selectedCaption), id);
    records->MoveFirst();
    html += "<table id='TBL" + IdPicture(id) + "' border=1 width=100%><tr>";
    std::vector<Column> columns(static_cast<size_t>(fieldCount));
    bool anyCell = false;
    for (int i = 0; i < fieldCount; ++i) {
      const Field field = records->Fields(i);
      Column& column = columns[static_cast<size_t>(i)];
      column.isId = IsIdFieldName(field.Name());
      column.fieldClass = ClassOfType(field.Type());
      if (column.isId) continue;
      anyCell = true;
      html += "<td class=thc>";
      AppendHtmlEscaped(html, field.Name());
      html += "</td>";
    }
    context.page.WriteLine(html);

    // The list entries are read as numbers when first compared with a column, which happens at
    // the first cell of the first record (or, with no cells at all, at the total row).
    bool entriesRead = false;
    auto readEntries = [&] {
      if (entriesRead) return;
      entriesRead = true;
      for (size_t e = 0; e < entries.size(); ++e) {
        const int16_t position = IntegerOrZero(Variant(entries[e]));
        if (position >= 0 && position < fieldCount)
          columns[static_cast<size_t>(position)].sums.push_back(e);
      }
    };
    if (totals && anyCell) readEntries();

    std::string row;
    for (; !records->Eof(); records->MoveNext()) {
      row.assign("<tr>");
      for (int i = 0; i < fieldCount; ++i) {
        const Column& column = columns[static_cast<size_t>(i)];
        if (column.isId) continue;
        const Variant& value = records->Value(i);
        switch (column.fieldClass) {
          case FieldClass::Integer:
          case FieldClass::Decimal:
          case FieldClass::Date:
            row += "<td class=tdr>";
            AppendFormattedValue(row, value, KindToken(column.fieldClass), context.dateFormat);
            break;
          default:  // long text too: table cells make no links
            row += "<td class=tdl>";
            AppendFormattedValue(row, value, kKindBlank, context.dateFormat);
        }
        row += "</td>";
        for (const size_t sum : column.sums) sums[sum] += NumericOperand(value);
      }
      context.page.WriteLine(row);
    }

    html.clear();
    if (totals) {
      readEntries();
      html += "<tr><td class=tfl>Total:</td>";
      for (int i = 2; i < fieldCount; ++i) {
        const Column& column = columns[static_cast<size_t>(i)];
        if (column.sums.empty()) {
          html += "<td class=tfr>.</td>";
          continue;
        }
        for (const size_t sum : column.sums) {
          if (column.fieldClass != FieldClass::Decimal &&
              column.fieldClass != FieldClass::Integer) {
            continue;  // a date or text column gets no total cell
          }
          html += "<td class=tfr>";
          AppendFormattedValue(html, Variant(sums[sum]), KindToken(column.fieldClass), {});
          html += "</td>";
        }
      }
    }
    html += "</table><br><br>";
    context.page.WriteLine(html);
  });
}

}  // namespace kivdb
