#pragma once
// ShowChart, the renderer of bar-chart paragraphs (C): one column of the paragraph's records
// drawn as bars against the labels of another, in plain HTML. The chart is written hidden; the
// caption row with its chart icon shows, and the page template reveals the chart by its id.

#include <string>
#include <vector>

#include <kivdb/recordset.h>
#include "control/render/render_context.h"

namespace kivdb {

// `cols` is "X:Y" (field positions from 0: Y is plotted against the labels of X; parts after the
// second are ignored) or "All" in any case, which draws one chart per pair "1:2", "1:3", ...
// "1:" + (fields - 1) with the paragraph IDs id * 10 + 1, id * 10 + 2, ... . Each chart is one
// line; with a record count the provider does not know, the line is "<hr width=100%>" alone.
// Bars are value / largest value * 200 pixels high and 100 / (records + 1) per cent wide, both
// rounded with halves to even. A column text that is not two numbers, a position outside the
// fields, a largest value of 0 and "All" over fewer than three fields take the error path.
void ShowChart(RenderContext& context, Recordset* records, const std::string& title, long id,
               const std::string& cols);

// Which of `fieldCount` fields a chart of `cols` reads the values of (every one when the text
// does not say), so that a reader can leave the others out.
std::vector<bool> ChartColumnsRead(const std::string& cols, int fieldCount);

}  // namespace kivdb
