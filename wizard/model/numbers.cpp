#include "wizard/model/numbers.h"

#include <limits>

namespace kivwz {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Reads sign and digits from the front of text; returns the value and how many characters it
// took, or nothing when no digit follows the sign or the value does not fit.
std::optional<std::pair<Long, std::size_t>> LeadingSignedDigits(std::string_view text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  const std::size_t firstDigit = i;
  std::int64_t value = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > std::int64_t{std::numeric_limits<Long>::max()} + 1) return std::nullopt;
  }
  if (i == firstDigit) return std::nullopt;
  if (negative) value = -value;
  if (value < std::numeric_limits<Long>::min() || value > std::numeric_limits<Long>::max()) {
    return std::nullopt;
  }
  return std::make_pair(static_cast<Long>(value), i);
}

}  // namespace

std::optional<Long> WholeNumber(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  const auto read = LeadingSignedDigits(text);
  if (!read || read->second != text.size()) return std::nullopt;
  return read->first;
}

std::optional<Long> KeyNumber(std::string_view key) {
  const std::optional<Long> value = WholeNumber(key);
  if (!value || KeyOf(*value) != key) return std::nullopt;
  return value;
}

Long NumberValue(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  const auto read = LeadingSignedDigits(text);
  return read ? read->first : 0;
}

}  // namespace kivwz
