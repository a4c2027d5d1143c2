#include "control/render/format_value.h"

#include <cctype>
#include <charconv>
#include <cmath>

#include <kivdb/error.h>
#include "base/html_escape.h"
#include "base/text.h"
#include "control/render/date_format.h"
#include "control/render/field_class.h"
#include "control/render/number_format.h"

namespace kivdb {
namespace {

std::optional<int64_t> IntegerOf(const Variant& value) {
  switch (value.GetKind()) {
    case Variant::Kind::Int16:
    case Variant::Kind::Int32:
    case Variant::Kind::Int64:
    case Variant::Kind::Boolean:
      // Whole numbers of these kinds convert to double exactly up to 2^53; beyond that take the
      // text, which is exact.
      if (value.GetKind() == Variant::Kind::Int64) {
        int64_t number = 0;
        const std::string text = value.ToText();
        std::from_chars(text.data(), text.data() + text.size(), number);
        return number;
      }
      return static_cast<int64_t>(*value.ToDouble());
    default:
      return std::nullopt;
  }
}

// "#,##0" of a whole number, with the decimals the picture asks for.
void AppendGroupedInteger(std::string& out, int64_t number, int decimals) {
  char digits[24];
  const bool negative = number < 0;
  const uint64_t magnitude =
      negative ? 0 - static_cast<uint64_t>(number) : static_cast<uint64_t>(number);
  const auto result = std::to_chars(digits, digits + sizeof digits, magnitude);
  const size_t count = static_cast<size_t>(result.ptr - digits);
  if (negative) out += '-';
  for (size_t i = 0; i < count; ++i) {
    if (i > 0 && (count - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  if (decimals > 0) {
    out += '.';
    out.append(static_cast<size_t>(decimals), '0');
  }
}

// The part of an address before its first ":" (when that comes before any "/", "?" or "#"),
// read as a browser would: leading control characters and blanks skipped, tabs and line breaks
// dropped. Empty when the address is relative.
std::string SchemeOf(std::string_view address) {
  std::string scheme;
  bool started = false;
  for (const char c : address) {
    const auto byte = static_cast<unsigned char>(c);
    if (!started && byte <= 0x20) continue;
    if (c == '\t' || c == '\r' || c == '\n') continue;
    started = true;
    if (c == ':') return scheme.empty() ? std::string(":") : scheme;
    if (c == '/' || c == '?' || c == '#' || c == '\\') return "";
    scheme += static_cast<char>(std::tolower(byte));
  }
  return "";
}

bool IsLinkableAddress(std::string_view address) {
  const std::string scheme = SchemeOf(address);
  if (scheme.empty()) return true;
  if (scheme == "http" || scheme == "https" || scheme == "mailto" || scheme == "file") return true;
  // "C:\docs\list.htm": a drive letter, not a scheme.
  return scheme.size() == 1 && std::isalpha(static_cast<unsigned char>(scheme[0]));
}

void AppendLinkText(std::string& out, std::string_view text) {
  if (text.empty()) return;
  const size_t first = text.find('#');
  const size_t second = first == std::string_view::npos ? first : text.find('#', first + 1);
  if (second == std::string_view::npos) {
    AppendHtmlEscaped(out, text);
    return;
  }
  const std::string_view display = text.substr(0, first);
  const std::string_view address = text.substr(first + 1, second - first - 1);
  if (!IsLinkableAddress(address)) {
    AppendHtmlEscaped(out, display);
    return;
  }
  out += "<a href='";
  AppendHtmlEscaped(out, address);
  out += "'>";
  AppendHtmlEscaped(out, display);
  out += "</a>";
}

// The value's text with surrounding blanks removed; text values are read in place.
std::string_view TrimmedTextOf(const Variant& value, std::string& storage) {
  if (const std::string* direct = value.AsText()) return text::TrimSpaces(*direct);
  storage = value.ToText();
  return text::TrimSpaces(storage);
}

// Significant digits of a number's plain or scientific text, trailing zeros of an integer
// included (an overcount only sends a number down the general path).
size_t SignificantDigits(std::string_view text) {
  size_t count = 0;
  bool leading = true;
  for (const char c : text) {
    if (c == 'e' || c == 'E') break;
    if (c < '0' || c > '9') continue;
    if (leading && c == '0') continue;
    leading = false;
    ++count;
  }
  return count;
}

// The shortest text that reads back as `number` is within half a unit of its last place, far
// less than half a unit of the fifteenth digit; so when it has at most fifteen significant
// digits it is exactly the fifteen-digit text of the ordinary form, found without the much
// slower fixed-precision conversion.
bool AppendShortDouble(std::string& out, double number, int decimals) {
  if (!std::isfinite(number)) return false;
  char digits[64];
  const auto result = std::to_chars(digits, digits + sizeof digits, number);
  const std::string_view text(digits, static_cast<size_t>(result.ptr - digits));
  return SignificantDigits(text) <= 15 && AppendNumberText(out, text, decimals);
}

void AppendNumber(std::string& out, const Variant& value, int decimals) {
  if (const std::optional<int64_t> whole = IntegerOf(value)) {
    AppendGroupedInteger(out, *whole, decimals);
    return;
  }
  if (value.GetKind() == Variant::Kind::Double &&
      AppendShortDouble(out, *value.ToDouble(), decimals))
    return;
  if (const std::optional<std::string> number = NumberTextOf(value)) {
    if (AppendNumberText(out, *number, decimals)) return;
  }
  std::string storage;
  AppendHtmlEscaped(out, TrimmedTextOf(value, storage));
}

void AppendDate(std::string& out, const Variant& value, std::string_view dateFormat) {
  std::string storage;
  std::optional<DateTime> date = value.AsDate();
  if (!date && value.GetKind() == Variant::Kind::Text) date = ParseDateTime(*value.AsText());
  if (date) {
    if (dateFormat.empty() && AppendIsoDate(out, *date)) return;
    AppendHtmlEscaped(out, FormatDate(*date, dateFormat));
  } else {
    AppendHtmlEscaped(out, TrimmedTextOf(value, storage));
  }
}

}  // namespace

bool IsSafePictureAddress(std::string_view address) {
  const std::string scheme = SchemeOf(address);
  if (scheme == "data") {
    const size_t colon = address.find(':');
    std::string kind;
    for (const char c : address.substr(colon + 1, 6)) {
      kind += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return kind == "image/";
  }
  return scheme != "mailto" && IsLinkableAddress(address);
}

std::optional<std::string> NumberTextOf(const Variant& value) {
  switch (value.GetKind()) {
    case Variant::Kind::Boolean:
      return std::string(*value.ToDouble() != 0 ? "-1" : "0");
    case Variant::Kind::Text:
      if (!value.ToDouble()) return std::nullopt;
      return std::string(text::TrimSpaces(*value.AsText()));
    case Variant::Kind::Double:
    case Variant::Kind::Single: {
      // Same digits as the ordinary text form (15 significant, 7 for singles), without printf.
      const double number = *value.ToDouble();
      if (!std::isfinite(number)) return std::nullopt;
      char digits[64];
      const int precision = value.GetKind() == Variant::Kind::Double ? 15 : 7;
      const auto result = std::to_chars(digits, digits + sizeof digits, number,
                                        std::chars_format::general, precision);
      return std::string(digits, result.ptr);
    }
    default:
      if (!value.IsNumber()) return std::nullopt;
      return value.ToText();
  }
}

void AppendFormattedValue(std::string& out, const Variant& value, std::string_view kind,
                          std::string_view dateFormat) {
  if (value.IsNull() || value.IsEmpty()) {
    out += '.';
    return;
  }
  if (kind == kKindDbl || kind == kKindInt) {
    AppendNumber(out, value, kind == kKindDbl ? 2 : 0);
    return;
  }
  if (kind == kKindDte) {
    AppendDate(out, value, dateFormat);
    return;
  }
  std::string storage;
  const std::string_view text = TrimmedTextOf(value, storage);
  if (kind == kKindHtm) {
    AppendLinkText(out, text);
  } else {
    AppendHtmlEscaped(out, text);
  }
}

std::string FormatValue(const Variant& value, std::string_view kind, std::string_view dateFormat) {
  std::string out;
  AppendFormattedValue(out, value, kind, dateFormat);
  return out;
}

Variant ZeroIfNull(const Variant& value) {
  if (value.IsNull()) return Variant(int16_t{0});
  return value;
}

double NumericOperand(const Variant& value) {
  const Variant operand = ZeroIfNull(value);
  if (operand.IsEmpty()) return 0;
  if (const std::optional<DateTime> date = operand.AsDate()) return DateSerial(*date);
  const bool convertible = operand.IsNumber() || operand.GetKind() == Variant::Kind::Text;
  const std::optional<double> number = convertible ? operand.ToDouble() : std::nullopt;
  if (!number) throw Error(err::kTypeMismatch, "Type mismatch");
  return *number;
}

}  // namespace kivdb
