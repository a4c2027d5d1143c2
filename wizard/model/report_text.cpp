#include "wizard/model/report_text.h"

namespace kivwz {

ReportText& ReportText::Line(std::initializer_list<std::string_view> pieces) {
  for (std::string_view piece : pieces) text_ += piece;
  text_ += "\r\n";
  return *this;
}

std::string IdText000(Long id) {
  const bool negative = id < 0;
  std::string digits = std::to_string(negative ? -static_cast<std::int64_t>(id) : id);
  if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
  return negative ? "-" + digits : digits;
}

std::string ParameterNote(std::string_view parmIs) {
  const std::string withStars = std::string(parmIs) + "**";
  std::string_view marked = withStars;
  while (marked.front() == ' ') marked.remove_prefix(1);  // the stars always stay
  std::string code(marked.substr(0, 2));
  for (char& c : code) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  if (code == "**") return "   (Parameter = None)";
  if (code == "LK") return "   (Parameter = Long Integer)";
  if (code == "CK") {
    const std::string_view length = parmIs.size() >= 2 ? parmIs.substr(parmIs.size() - 2) : parmIs;
    return "   (Parameter = Character of Length=" + std::string(length) + ")";
  }
  if (code == "TE") return "   (Parameter = Text)";
  if (code == "TO") return "   (Parameter = Date (Today))";
  return {};
}

std::string ConstantParameterNote(std::string_view queryIs) {
  const std::size_t firstSpace = queryIs.find(' ');
  if (firstSpace == std::string_view::npos) return {};
  const std::string_view rest = queryIs.substr(firstSpace + 1);
  const std::string_view second = rest.substr(0, rest.find(' '));
  return "   (with Constant Parameter: " + std::string(second) + ")";
}

}  // namespace kivwz
