#include "control/data/pg_types.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include <kivdb/recordset.h>

namespace kivdb {
namespace {

// Type oids fixed by the server's catalogue.
enum : unsigned {
  kBoolOid = 16,
  kByteaOid = 17,
  kCharOid = 18,
  kNameOid = 19,
  kInt8Oid = 20,
  kInt2Oid = 21,
  kInt4Oid = 23,
  kTextOid = 25,
  kOidOid = 26,
  kXmlOid = 142,
  kFloat4Oid = 700,
  kFloat8Oid = 701,
  kUnknownOid = 705,
  kMoneyOid = 790,
  kBpcharOid = 1042,
  kVarcharOid = 1043,
  kDateOid = 1082,
  kTimeOid = 1083,
  kTimestampOid = 1114,
  kTimestamptzOid = 1184,
  kNumericOid = 1700,
  kUuidOid = 2950,
};

template <typename Number>
Variant Integer(std::string_view text) {
  Number value{};
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return Variant(text);
  return Variant(value);
}

template <typename Number>
Variant Floating(std::string_view text) {
  Number value{};
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return Variant(text);
  return Variant(value);
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

Variant Numeric(std::string_view text) {
  const size_t start = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
  if (start < text.size() && (IsDigit(text[start]) || text[start] == '.'))
    return Variant::Decimal(std::string(text));
  return Variant(text);  // NaN, Infinity, -Infinity
}

// "$1,234.56", "-$1,234.56" or "($1,234.56)": the sign, digits and one decimal point count;
// currency symbols and group separators do not.
Variant Money(std::string_view text) {
  bool negative = false;
  bool point = false;
  int decimals = 0;
  int64_t units = 0;
  bool any = false;
  constexpr int64_t kLimit = std::numeric_limits<int64_t>::max() / 10;
  for (const char c : text) {
    if (IsDigit(c)) {
      if (point && ++decimals > 4) return Variant(text);
      if (units > kLimit) return Variant(text);
      units = units * 10 + (c - '0');
      any = true;
    } else if (c == '.') {
      if (point) return Variant(text);
      point = true;
    } else if (c == '-' || c == '(') {
      negative = true;
    } else if (c != '$' && c != ',' && c != ' ' && c != ')') {
      return Variant(text);
    }
  }
  if (!any) return Variant(text);
  for (; decimals < 4; ++decimals) {
    if (units > kLimit) return Variant(text);
    units *= 10;
  }
  return Variant(Currency{negative ? -units : units});
}

// The date part "yyyy-mm-dd" (four-digit year, no era) and the rest of the text.
bool PlainDate(std::string_view text) {
  return text.size() >= 10 && IsDigit(text[0]) && text[4] == '-' && text[7] == '-' &&
         (text.size() == 10 || text[10] == ' ') && text.find("BC") == std::string_view::npos;
}

// Drops fractions of a second and a zone offset: "10:30:15.25+02" becomes "10:30:15".
std::string_view WholeSeconds(std::string_view text, size_t timeStart) {
  size_t end = timeStart;
  while (end < text.size() && (IsDigit(text[end]) || text[end] == ':')) ++end;
  return text.substr(0, end);
}

Variant DateValue(std::string_view text, bool withTime) {
  if (!PlainDate(text)) return Variant(text);
  const auto parsed = ParseDateTime(withTime ? WholeSeconds(text, 11) : text.substr(0, 10));
  return parsed ? Variant(*parsed) : Variant(text);
}

Variant TimeValue(std::string_view text) {
  const auto parsed = ParseDateTime(WholeSeconds(text, 0));
  return parsed ? Variant(*parsed) : Variant(text);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

Variant Bytes(std::string_view text) {
  if (text.size() < 2 || text[0] != '\\' || text[1] != 'x' || text.size() % 2 != 0)
    return Variant(text);
  std::vector<uint8_t> bytes;
  bytes.reserve((text.size() - 2) / 2);
  for (size_t i = 2; i < text.size(); i += 2) {
    const int high = HexDigit(text[i]);
    const int low = HexDigit(text[i + 1]);
    if (high < 0 || low < 0) return Variant(text);
    bytes.push_back(static_cast<uint8_t>(high * 16 + low));
  }
  return Variant::Binary(std::move(bytes));
}

}  // namespace

int PgTypeCode(unsigned oid) {
  switch (oid) {
    case kBoolOid:
      return type::kBoolean;
    case kByteaOid:
      return type::kLongVarBinary;
    case kCharOid:
    case kBpcharOid:
      return type::kChar;
    case kInt8Oid:
      return type::kBigInt;
    case kInt2Oid:
      return type::kSmallInt;
    case kInt4Oid:
      return type::kInteger;
    case kTextOid:
    case kXmlOid:
    case kUnknownOid:
      return type::kLongVarChar;
    case kOidOid:
      return type::kUnsignedInt;
    case kFloat4Oid:
      return type::kSingle;
    case kFloat8Oid:
      return type::kDouble;
    case kMoneyOid:
      return type::kCurrency;
    case kDateOid:
      return type::kDBDate;
    case kTimeOid:
      return type::kDBTime;
    case kTimestampOid:
    case kTimestamptzOid:
      return type::kDBTimeStamp;
    case kNumericOid:
      return type::kNumeric;
    case kUuidOid:
      return type::kGuid;
    default:
      return type::kVarChar;
  }
}

PgCell PgCellOf(unsigned oid) {
  switch (oid) {
    case kBoolOid:
      return PgCell::Boolean;
    case kInt2Oid:
      return PgCell::Int16;
    case kInt4Oid:
      return PgCell::Int32;
    case kInt8Oid:
    case kOidOid:
      return PgCell::Int64;
    case kFloat4Oid:
      return PgCell::Single;
    case kFloat8Oid:
      return PgCell::Double;
    case kNumericOid:
      return PgCell::Numeric;
    case kMoneyOid:
      return PgCell::Money;
    case kDateOid:
      return PgCell::Date;
    case kTimeOid:
      return PgCell::Time;
    case kTimestampOid:
    case kTimestamptzOid:
      return PgCell::Timestamp;
    case kByteaOid:
      return PgCell::Bytes;
    default:
      return PgCell::Text;
  }
}

Variant PgValue(PgCell cell, std::string_view text) {
  switch (cell) {
    case PgCell::Boolean:
      return Variant(text == "t");
    case PgCell::Int16:
      return Integer<int16_t>(text);
    case PgCell::Int32:
      return Integer<int32_t>(text);
    case PgCell::Int64:
      return Integer<int64_t>(text);
    case PgCell::Single:
      return Floating<float>(text);
    case PgCell::Double:
      return Floating<double>(text);
    case PgCell::Numeric:
      return Numeric(text);
    case PgCell::Money:
      return Money(text);
    case PgCell::Date:
      return DateValue(text, false);
    case PgCell::Time:
      return TimeValue(text);
    case PgCell::Timestamp:
      return DateValue(text, true);
    case PgCell::Bytes:
      return Bytes(text);
    case PgCell::Text:
      break;
  }
  return Variant(text);
}

}  // namespace kivdb
