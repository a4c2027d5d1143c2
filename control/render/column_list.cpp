#include "control/render/column_list.h"

#include "base/text.h"

namespace kivdb {
namespace {

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

}  // namespace

ColumnList ReadColumnList(const std::string& cols, int fieldCount) {
  ColumnList list;
  std::string columnText(text::TrimSpaces(cols));
  const bool hasColumns = columnText != ".";
  if (hasColumns) {
    if (text::EqualsNoCase(columnText, "All")) columnText = AllColumns(fieldCount);
    list.entries = SplitColumns(columnText);
  }
  list.totals = hasColumns && !list.entries.empty();
  return list;
}

}  // namespace kivdb
