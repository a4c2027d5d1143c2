#pragma once
// How a scheme grid shares its width among its columns so that all of them stay in view. Every
// column but one takes what its cells need, at least its header and at most its width in the
// grid's format; the remaining column (the grid's long text) takes the rest and elides what
// does not fit. Room beyond the remaining column's own format width goes to columns whose cells
// need more than their format width. When the width is too small, the remaining column gives
// up width down to its least, then the others down to their headers; only then does it scroll.

#include <vector>

namespace kivwz {

// What one column needs, in pixels.
struct ColumnNeed {
  int header = 0;    // the header text with its margins
  int content = 0;   // the widest cell with its margins; 0 without rows
  int designed = 0;  // the width the grid's format gives the column
};

// The widths of the columns in pixels. stretch is the column that takes the rest; with none (out
// of range) every column keeps its designed width. stretchLeast is the least the stretched
// column keeps before the others give up width (never less than its header).
std::vector<int> ShareColumnWidths(const std::vector<ColumnNeed>& needs, int stretch, int available,
                                   int stretchLeast);

}  // namespace kivwz
