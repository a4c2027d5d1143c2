#include "control/render/row_cap.h"

namespace kivdb {
std::string GroupedNumber(long number) {
  std::string digits = std::to_string(number < 0 ? -number : number);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(at, ",");
  return number < 0 ? "-" + digits : digits;
}

std::string RowCapText(long shown, long total) {
  return "Showing " + GroupedNumber(shown) + " of " + GroupedNumber(total) +
         (total == 1 ? " row." : " rows.");
}

std::string RowCap::Note(long total) const {
  if (maxRows_ == 0 || total <= maxRows_) return std::string();
  return "<p class=pgl>" + RowCapText(maxRows_, total) + "</p>";
}

}  // namespace kivdb
