#include "demo/app/field_text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>

#include <kivdb/recordset.h>

namespace kivdb::demo {
namespace {

std::string Trimmed(const std::string& text) {
  const auto first =
      std::find_if_not(text.begin(), text.end(), [](unsigned char c) { return std::isspace(c); });
  const auto last = std::find_if_not(text.rbegin(), text.rend(), [](unsigned char c) {
                      return std::isspace(c);
                    }).base();
  return first < last ? std::string(first, last) : std::string();
}

std::optional<int64_t> WholeNumber(const std::string& text) {
  int64_t value = 0;
  const char* begin = text.data() + (text.starts_with('+') ? 1 : 0);
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(begin, end, value);
  if (ec != std::errc() || ptr != end || begin == end) return std::nullopt;
  return value;
}

std::optional<double> RealNumber(const std::string& text) {
  double value = 0;
  const char* begin = text.data() + (text.starts_with('+') ? 1 : 0);
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(begin, end, value);
  if (ec != std::errc() || ptr != end || begin == end) return std::nullopt;
  return value;
}

// An amount with at most four decimals, in ten-thousandths.
std::optional<Currency> Amount(const std::string& text) {
  size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) i = 1;
  int64_t whole = 0;
  int64_t fraction = 0;
  int fractionDigits = 0;
  bool digits = false;
  bool point = false;
  constexpr int64_t kLimit = INT64_MAX / 10000 / 10;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '.' && !point) {
      point = true;
    } else if (c >= '0' && c <= '9') {
      digits = true;
      if (point) {
        if (++fractionDigits > 4) return std::nullopt;
        fraction = fraction * 10 + (c - '0');
      } else {
        if (whole > kLimit) return std::nullopt;
        whole = whole * 10 + (c - '0');
      }
    } else {
      return std::nullopt;
    }
  }
  if (!digits) return std::nullopt;
  for (int k = fractionDigits; k < 4; ++k) fraction *= 10;
  const int64_t total = whole * 10000 + fraction;
  return Currency{negative ? -total : total};
}

std::optional<bool> Truth(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (text == "true" || text == "yes" || text == "1" || text == "-1") return true;
  if (text == "false" || text == "no" || text == "0") return false;
  return std::nullopt;
}

}  // namespace

bool IsEditableType(int typeCode) {
  return typeCode != type::kBinary && typeCode != type::kVarBinary &&
         typeCode != type::kLongVarBinary && typeCode != type::kChapter;
}

std::optional<Variant> ValueFromText(int typeCode, const std::string& text, std::string& error) {
  if (!IsEditableType(typeCode)) {
    error = "this field cannot be edited here";
    return std::nullopt;
  }
  const std::string value = Trimmed(text);
  if (value.empty()) return Variant::Null();
  switch (typeCode) {
    case type::kSmallInt:
    case type::kInteger:
    case type::kTinyInt:
    case type::kUnsignedTinyInt:
    case type::kUnsignedSmallInt:
    case type::kUnsignedInt:
    case type::kBigInt:
    case type::kUnsignedBigInt:
      if (const auto n = WholeNumber(value)) return Variant(*n);
      error = "a whole number";
      return std::nullopt;
    case type::kSingle:
    case type::kDouble:
      if (const auto d = RealNumber(value)) return Variant(*d);
      error = "a number";
      return std::nullopt;
    case type::kCurrency:
      if (const auto amount = Amount(value)) return Variant(*amount);
      error = "an amount with at most four decimals, such as 1250.50";
      return std::nullopt;
    case type::kDecimal:
    case type::kNumeric:
    case type::kVarNumeric:
      if (RealNumber(value)) return Variant::Decimal(value);
      error = "a number";
      return std::nullopt;
    case type::kDate:
    case type::kDBDate:
    case type::kDBTime:
    case type::kDBTimeStamp:
      if (const auto date = ParseDateTime(value)) return Variant(*date);
      error = "a date such as 2024-05-31";
      return std::nullopt;
    case type::kBoolean:
      if (const auto truth = Truth(value)) return Variant(*truth);
      error = "True or False";
      return std::nullopt;
    default:
      return Variant(text);  // text keeps the blanks the user typed
  }
}

}  // namespace kivdb::demo
