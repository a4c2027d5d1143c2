#include "control/core/navigation_rules.h"

#include <cmath>
#include <optional>

#include <kivdb/error.h>
#include "control/core/text_util.h"
#include "control/render/format_value.h"
#include "control/render/number_format.h"

namespace kivdb {
namespace {

// Reads text or a number as a whole number, rounding half to even; nothing when it is no number
// or beyond a long integer.
std::optional<long> WholeNumber(const Variant& value) {
  const std::optional<double> number = value.ToDouble();
  if (!number) return std::nullopt;
  const double rounded = std::nearbyint(*number);
  if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) return std::nullopt;
  return static_cast<long>(rounded);
}

}  // namespace

bool IsRoleAllowed(std::string_view roleList, int16_t userRole) {
  if (roleList.empty()) return true;
  size_t start = 0;
  while (true) {
    const size_t end = roleList.find(':', start);
    const std::string_view piece = roleList.substr(start, end - start);
    const std::optional<double> number = Variant(piece).ToDouble();
    if (number && *number == userRole) return true;
    if (end == std::string_view::npos) return false;
    start = end + 1;
  }
}

std::string ZeroPadded(const Variant& value, size_t width) {
  if (const std::optional<std::string> number = NumberTextOf(value)) {
    if (const std::optional<std::string> whole = FormatNumberText(*number, 0)) {
      std::string digits;
      for (const char c : *whole) {
        if (c >= '0' && c <= '9') digits += c;
      }
      std::string out = whole->front() == '-' ? "-" : "";
      if (digits.size() < width) out.append(width - digits.size(), '0');
      return out + digits;
    }
  }
  return value.ToText();
}

std::string NodeTag(const Variant& schemeId, std::string_view typeIs) {
  return ZeroPadded(schemeId, 5) + std::string(typeIs);
}

TagParts ParseTag(std::string_view tag) {
  const std::string_view head = text::Prefix(tag, 5);
  const std::optional<long> id = WholeNumber(Variant(head));
  if (!id) throw Error(err::kTypeMismatch, "Type mismatch");
  TagParts parts;
  parts.schemeId = *id;
  parts.type = text::Upper(text::Prefix(tag.substr(head.size()), 1));
  return parts;
}

std::string FixedKey(const Variant& rowId) {
  return ZeroPadded(rowId, 10) + "F";
}

std::string GeneratedKey(const Variant& recordKey, int nodeCount) {
  return ZeroPadded(recordKey, 10) + "G" + std::to_string(nodeCount);
}

}  // namespace kivdb
