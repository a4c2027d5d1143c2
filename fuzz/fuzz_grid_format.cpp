// Grid format strings of any bytes: one column per "|"-separated cell, each with the alignment
// its first character names, its width the cell's length after that character, and its header
// the rest without trailing blanks.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "wizard/model/views.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::vector<kivwz::GridColumn> columns = kivwz::ParseGridFormat(input);
  if (input.empty()) {
    FUZZ_CHECK(columns.empty(), input);
    return 0;
  }
  size_t start = 0;
  for (const kivwz::GridColumn& column : columns) {
    FUZZ_CHECK(start <= input.size(), input);
    size_t bar = input.find('|', start);
    if (bar == std::string_view::npos) bar = input.size();
    std::string_view cell = input.substr(start, bar - start);
    kivwz::Alignment alignment = kivwz::Alignment::Left;
    if (!cell.empty() && (cell[0] == '<' || cell[0] == '^' || cell[0] == '>')) {
      alignment = cell[0] == '^'   ? kivwz::Alignment::Centre
                  : cell[0] == '>' ? kivwz::Alignment::Right
                                   : kivwz::Alignment::Left;
      cell.remove_prefix(1);
    }
    FUZZ_CHECK(column.alignment == alignment, input);
    FUZZ_CHECK(column.width == static_cast<int>(cell.size()), input);
    while (!cell.empty() && cell.back() == ' ') cell.remove_suffix(1);
    FUZZ_CHECK(column.header == cell, input);
    start = bar + 1;
  }
  // Every cell became a column.
  FUZZ_CHECK(start == input.size() + 1, input);
  return 0;
}
