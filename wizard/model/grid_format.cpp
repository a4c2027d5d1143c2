#include "wizard/model/views.h"

namespace kivwz {

std::vector<GridColumn> ParseGridFormat(std::string_view formatString) {
  std::vector<GridColumn> columns;
  if (formatString.empty()) return columns;
  std::size_t start = 0;
  while (true) {
    const std::size_t bar = formatString.find('|', start);
    std::string_view cell = formatString.substr(
        start, bar == std::string_view::npos ? std::string_view::npos : bar - start);
    GridColumn column;
    if (!cell.empty() && (cell[0] == '<' || cell[0] == '^' || cell[0] == '>')) {
      column.alignment = cell[0] == '<'   ? Alignment::Left
                         : cell[0] == '^' ? Alignment::Centre
                                          : Alignment::Right;
      cell.remove_prefix(1);
    }
    column.width = static_cast<int>(cell.size());
    while (!cell.empty() && cell.back() == ' ') cell.remove_suffix(1);
    column.header = std::string(cell);
    columns.push_back(std::move(column));
    if (bar == std::string_view::npos) break;
    start = bar + 1;
  }
  return columns;
}

}  // namespace kivwz
