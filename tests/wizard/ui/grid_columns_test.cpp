// How a grid's width is shared among its columns.

#include "wizard/ui/grid_columns.h"

#include <gtest/gtest.h>

namespace kivwz {
namespace {

TEST(GridColumns, ShareTheWidthSoThatEveryColumnStaysInView) {
  // Three columns {header, content, designed}; the middle one stretches unless told otherwise.
  const std::vector<ColumnNeed> needs = {{20, 30, 40}, {60, 900, 400}, {30, 10, 50}};
  struct Case {
    const char* name;
    std::vector<ColumnNeed> needs;
    int stretch;
    int available;
    std::vector<int> widths;
  };
  const Case cases[] = {
      // Content between header and designed width is what a column takes.
      {"room to spare", needs, 1, 500, {30, 440, 30}},
      // Content wider than the designed width stops there; narrower than the header, at it ...
      {"content capped", {{20, 300, 40}, {60, 0, 500}, {30, 10, 50}}, 1, 500, {40, 430, 30}},
      // ... unless the stretched column has more than its own designed width to give.
      {"room for wide cells", {{20, 300, 40}, {60, 0, 400}, {30, 90, 50}}, 1, 600, {150, 400, 50}},
      // The stretched column first gives up width down to its least (100 here) ...
      {"stretch at its least", needs, 1, 160, {30, 100, 30}},
      // ... then the others shrink toward their headers, each by its share.
      {"others shrink", needs, 1, 155, {25, 100, 30}},
      {"headers only", needs, 1, 150, {20, 100, 30}},
      // Narrower still: the grid scrolls, nothing goes below its header or least.
      {"too narrow", needs, 1, 80, {20, 100, 30}},
      {"no stretched column", needs, -1, 500, {40, 400, 50}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ShareColumnWidths(c.needs, c.stretch, c.available, 100), c.widths) << c.name;
  }
}

}  // namespace
}  // namespace kivwz
