#include "wizard/ui/grid_columns.h"

#include <algorithm>

namespace kivwz {

std::vector<int> ShareColumnWidths(const std::vector<ColumnNeed>& needs, int stretch, int available,
                                   int stretchLeast) {
  const int count = static_cast<int>(needs.size());
  std::vector<int> widths(needs.size());
  if (stretch < 0 || stretch >= count) {
    for (int i = 0; i < count; ++i) widths[i] = needs[i].designed;
    return widths;
  }
  const int least = std::max(needs[stretch].header, stretchLeast);
  int wanted = 0;   // what the other columns want together
  int headers = 0;  // what they need at the least
  for (int i = 0; i < count; ++i) {
    if (i == stretch) continue;
    const ColumnNeed& need = needs[i];
    widths[i] = std::max(need.header, std::min(need.content, need.designed));
    wanted += widths[i];
    headers += need.header;
  }
  if (available - wanted >= least) {
    // Room beyond the stretched column's own width goes to the columns whose cells are wider
    // than the format gives them, in column order.
    int spare = std::max(0, available - wanted - std::max(least, needs[stretch].designed));
    for (int i = 0; i < count && spare > 0; ++i) {
      if (i == stretch) continue;
      const int more = std::min(spare, std::max(0, needs[i].content - widths[i]));
      widths[i] += more;
      wanted += more;
      spare -= more;
    }
    widths[stretch] = available - wanted;
    return widths;
  }
  // Too narrow: the others shrink toward their headers, each by its share of what they give up.
  const int room = available - least - headers;
  const int spare = wanted - headers;
  int others = 0;
  for (int i = 0; i < count; ++i) {
    if (i == stretch) continue;
    const int header = needs[i].header;
    const int extra = widths[i] - header;
    widths[i] = room <= 0 || spare <= 0
                    ? header
                    : header + static_cast<int>(static_cast<long long>(extra) * room / spare);
    others += widths[i];
  }
  widths[stretch] = std::max(least, available - others);
  return widths;
}

}  // namespace kivwz
