// ShowChart: a vertical bar chart of one column against the labels of another.

#include "control/render/show_chart.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <vector>

#include <kivdb/error.h>
#include "base/html_escape.h"
#include "base/text.h"
#include "control/render/date_format.h"
#include "control/render/field_class.h"
#include "control/render/format_value.h"
#include "control/render/paragraph_frame.h"
#include "control/render/whole_number.h"

namespace kivdb {
namespace {

constexpr long kSubscriptOutOfRange = 9;

// The X and Y positions of "X:Y[:...]", each read as a 16-bit integer.
std::pair<int, int> ChartColumns(const std::string& columnText) {
  const size_t colon = columnText.find(':');
  if (colon == std::string::npos) {
    throw Error(kSubscriptOutOfRange, "Subscript out of range");
  }
  const size_t next = columnText.find(':', colon + 1);
  const std::string second = columnText.substr(
      colon + 1, next == std::string::npos ? std::string::npos : next - colon - 1);
  return {IntegerOrZero(Variant(columnText.substr(0, colon))), IntegerOrZero(Variant(second))};
}

// "All": one chart per pair "1:2" ... "1:" + (fields - 1), each failing or succeeding alone.
void ShowAllCharts(RenderContext& context, Recordset& records, const std::string& title, long id) {
  const int fieldCount = records.FieldCount();
  // With fewer than three fields there is no pair to draw.
  if (fieldCount < 3) throw Error(err::kInvalidCall, "Invalid procedure call or argument");
  if (id > (LONG_MAX - fieldCount) / 10 || id < LONG_MIN / 10) {
    throw Error(err::kOverflow, "Overflow");
  }
  for (int k = 0; k <= fieldCount - 3; ++k) {
    ShowChart(context, &records, title, id * 10 + k + 1, "1:" + std::to_string(k + 2));
  }
}

}  // namespace

void ShowChart(RenderContext& context, Recordset* records, const std::string& title, long id,
               const std::string& cols) {
  RunParagraph(context, records, title, [&](const long count) {
    const std::string columnText(text::TrimSpaces(cols));
    if (text::EqualsNoCase(columnText, "All")) {
      ShowAllCharts(context, *records, title, id);
      return;
    }
    const auto [xColumn, yColumn] = ChartColumns(columnText);

    std::string html;
    if (count > 0) {
      const Field xField = records->Fields(xColumn);
      const Field yField = records->Fields(yColumn);
      const int16_t n = IntegerOrZero(Variant(static_cast<int64_t>(count)));
      const std::string chartId = IdPicture(id);
      const std::string shownTitle =
          title.empty() ? title : ApplyTitleRule(title, context.selectedCaption);
      if (!shownTitle.empty()) {
        html += "<table><tr><td><img id='CTL" + chartId + "' src='chart.gif'></td><td id='CTLCAP" +
                chartId + "' class=ph>" + shownTitle + "</td></table>";
      }
      records->MoveFirst();
      html += "<table cellspacing=0 cellpadding=1 border=0 style='display:none' id='CGR" + chartId +
              "' width=100%>";
      html += "<TR><TH COLSPAN=" + std::to_string(n + 2) + "> <p class=ctl>" +
              std::string(text::TrimSpaces(shownTitle)) + "</TH></TR>";

      // One pass reads every value; the bars are drawn from it once the largest is known.
      std::vector<double> values;
      values.reserve(static_cast<size_t>(count));
      for (; !records->Eof(); records->MoveNext()) values.push_back(NumericOperand(yField.Value()));
      double largest = values.empty() ? 0 : values.front();
      for (const double v : values) {
        if (v > largest) largest = v;
      }
      html += "<TR><TD VALIGN=TOP ALIGN=RIGHT class=cal>";
      AppendFormattedValue(html, Variant(largest), kKindInt, {});
      html += "</TD>";
      if (largest == 0) throw Error(err::kDivisionByZero, "Division by zero");

      const std::string barWidth = std::to_string(RoundHalfEven(100.0 / (n + 1)));
      for (const double v : values) {
        html += " <TD VALIGN=BOTTOM ROWSPAN=2 WIDTH=" + barWidth + "% ><p class=cdv>";
        if (v > 0) AppendFormattedValue(html, Variant(v), kKindInt, {});
        html += "<IMG SRC='cbg.gif' WIDTH=100% HEIGHT=" +
                std::to_string(RoundHalfEven(v / largest * 200)) + "></TD>";
      }
      html +=
          "</TR><TR><TD VALIGN=BOTTOM ALIGN=RIGHT class=cal>0.00</TD></TR><TR><TD ALIGN=RIGHT "
          "VALIGN=BOTTOM class=ctl>";
      AppendHtmlEscaped(html, yField.Name());
      html += "</TD>";
      for (records->MoveFirst(); !records->Eof(); records->MoveNext()) {
        html += "<td class=cal>";
        AppendHtmlEscaped(html, xField.Value().ToText());
        html += "</TD>";
      }
      html += "</TR></TABLE>";
    }
    html += "<hr width=100%>";
    context.page.WriteLine(html);
  });
}

std::vector<bool> ChartColumnsRead(const std::string& cols, int fieldCount) {
  std::vector<bool> read(static_cast<size_t>(fieldCount > 0 ? fieldCount : 0), true);
  const std::string columnText(text::TrimSpaces(cols));
  if (text::EqualsNoCase(columnText, "All")) {
    if (!read.empty()) read[0] = false;
    return read;
  }
  try {
    const auto [xColumn, yColumn] = ChartColumns(columnText);
    std::fill(read.begin(), read.end(), false);
    for (const int column : {xColumn, yColumn}) {
      if (column >= 0 && column < fieldCount) read[static_cast<size_t>(column)] = true;
    }
  } catch (...) {
    // A column text the chart cannot read fails the chart; what it keeps does not matter.
  }
  return read;
}

}  // namespace kivdb
