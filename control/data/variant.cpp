#include <kivdb/variant.h>

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

#include <kivdb/error.h>
#include "base/text.h"

namespace kivdb {
namespace {

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Reads exactly `width` digits at `pos`, advancing it.
bool ReadDigits(std::string_view text, size_t& pos, size_t width, int& out) {
  if (pos + width > text.size()) return false;
  int value = 0;
  for (size_t i = 0; i < width; ++i) {
    const char c = text[pos + i];
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  pos += width;
  out = value;
  return true;
}

bool ReadTime(std::string_view text, size_t& pos, DateTime& out) {
  if (!ReadDigits(text, pos, 2, out.hour)) return false;
  if (pos >= text.size() || text[pos] != ':') return false;
  ++pos;
  if (!ReadDigits(text, pos, 2, out.minute)) return false;
  if (pos < text.size() && text[pos] == ':') {
    ++pos;
    if (!ReadDigits(text, pos, 2, out.second)) return false;
    if (pos < text.size() && text[pos] == '.') {
      ++pos;
      const size_t start = pos;
      while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) ++pos;
      if (pos == start) return false;
    }
  }
  return out.hour < 24 && out.minute < 60 && out.second < 60;
}

// A number in plain or scientific notation, with an optional sign, and nothing else.
std::optional<double> ReadNumber(std::string_view text) {
  text = text::Trim(text);
  if (text.empty()) return std::nullopt;
  if (text.front() == '+') text.remove_prefix(1);
  if (text.empty() || text.front() == '+') return std::nullopt;
  // from_chars does not accept "inf"/"nan" spelled out only when the format excludes them; refuse
  // anything that does not start like a number.
  const char first = text.front() == '-' && text.size() > 1 ? text[1] : text.front();
  if (!std::isdigit(static_cast<unsigned char>(first)) && first != '.') return std::nullopt;
  double value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string FormatFloat(double value, int digits) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value < 0 ? "-Infinity" : "Infinity";
  if (value == 0) return "0";  // also -0, which printf would write as "-0"
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*g", digits, value);
  return buffer;
}

std::string CurrencyText(Currency value) {
  const bool negative = value.tenThousandths < 0;
  // Work in unsigned so the most negative amount has a magnitude too.
  const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(value.tenThousandths)
                                      : static_cast<uint64_t>(value.tenThousandths);
  std::string text = negative ? "-" : "";
  text += std::to_string(magnitude / 10000);
  uint64_t fraction = magnitude % 10000;
  if (fraction != 0) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04llu", static_cast<unsigned long long>(fraction));
    std::string tail(digits);
    while (!tail.empty() && tail.back() == '0') tail.pop_back();
    text += "." + tail;
  }
  return text;
}

}  // namespace

std::optional<DateTime> ParseDateTime(std::string_view text) {
  text = text::Trim(text);
  DateTime out;
  size_t pos = 0;
  if (text.size() >= 5 && text[2] == ':') {
    if (!ReadTime(text, pos, out) || pos != text.size()) return std::nullopt;
    return out;
  }
  if (!ReadDigits(text, pos, 4, out.year)) return std::nullopt;
  if (pos >= text.size() || text[pos++] != '-') return std::nullopt;
  if (!ReadDigits(text, pos, 2, out.month)) return std::nullopt;
  if (pos >= text.size() || text[pos++] != '-') return std::nullopt;
  if (!ReadDigits(text, pos, 2, out.day)) return std::nullopt;
  if (out.month < 1 || out.month > 12 || out.day < 1 ||
      out.day > DaysInMonth(out.year, out.month)) {
    return std::nullopt;
  }
  if (pos == text.size()) return out;
  if (text[pos] != ' ' && text[pos] != 'T') return std::nullopt;
  ++pos;
  if (!ReadTime(text, pos, out) || pos != text.size()) return std::nullopt;
  return out;
}

std::string DateTimeToText(const DateTime& value) {
  char buffer[40];
  if (value.HasTime()) {
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", value.year, value.month,
                  value.day, value.hour, value.minute, value.second);
  } else {
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", value.year, value.month, value.day);
  }
  return buffer;
}

Variant Variant::Null() {
  Variant v;
  v.value_ = NullTag{};
  return v;
}

Variant Variant::Decimal(std::string digits) {
  Variant v;
  v.value_ = DecimalText{std::move(digits)};
  return v;
}

Variant Variant::Binary(std::vector<uint8_t> bytes) {
  Variant v;
  v.value_ = Bytes{std::move(bytes)};
  return v;
}

Variant Variant::Chapter(std::shared_ptr<Recordset> child) {
  Variant v;
  v.value_ = std::move(child);
  return v;
}

Variant::Kind Variant::GetKind() const {
  return static_cast<Kind>(value_.index());
}

bool Variant::IsNumber() const {
  switch (GetKind()) {
    case Kind::Boolean:
    case Kind::Int16:
    case Kind::Int32:
    case Kind::Int64:
    case Kind::Single:
    case Kind::Double:
    case Kind::Currency:
    case Kind::Decimal:
      return true;
    default:
      return false;
  }
}

std::optional<double> Variant::ToDouble() const {
  switch (GetKind()) {
    case Kind::Boolean:
      return std::get<bool>(value_) ? -1.0 : 0.0;
    case Kind::Int16:
      return std::get<int16_t>(value_);
    case Kind::Int32:
      return std::get<int32_t>(value_);
    case Kind::Int64:
      return static_cast<double>(std::get<int64_t>(value_));
    case Kind::Single:
      return std::get<float>(value_);
    case Kind::Double:
      return std::get<double>(value_);
    case Kind::Currency:
      return static_cast<double>(std::get<kivdb::Currency>(value_).tenThousandths) / 10000.0;
    case Kind::Decimal:
      return ReadNumber(std::get<DecimalText>(value_).digits);
    case Kind::Text:
      return ReadNumber(std::get<std::string>(value_));
    default:
      return std::nullopt;
  }
}

std::string Variant::ToText() const {
  switch (GetKind()) {
    case Kind::Empty:
    case Kind::Null:
    case Kind::Chapter:
      return "";
    case Kind::Boolean:
      return std::get<bool>(value_) ? "True" : "False";
    case Kind::Int16:
      return std::to_string(std::get<int16_t>(value_));
    case Kind::Int32:
      return std::to_string(std::get<int32_t>(value_));
    case Kind::Int64:
      return std::to_string(std::get<int64_t>(value_));
    case Kind::Single:
      return FormatFloat(std::get<float>(value_), 7);
    case Kind::Double:
      return FormatFloat(std::get<double>(value_), 15);
    case Kind::Currency:
      return CurrencyText(std::get<kivdb::Currency>(value_));
    case Kind::Decimal:
      return std::get<DecimalText>(value_).digits;
    case Kind::Date:
      return DateTimeToText(std::get<DateTime>(value_));
    case Kind::Text:
      return std::get<std::string>(value_);
    case Kind::Binary: {
      const auto& bytes = std::get<Bytes>(value_).data;
      return std::string(bytes.begin(), bytes.end());
    }
  }
  return "";
}

const std::vector<uint8_t>* Variant::AsBinary() const {
  const Bytes* bytes = std::get_if<Bytes>(&value_);
  return bytes ? &bytes->data : nullptr;
}

std::optional<DateTime> Variant::AsDate() const {
  if (const DateTime* date = std::get_if<DateTime>(&value_)) return *date;
  return std::nullopt;
}

std::optional<int64_t> Variant::AsInteger() const {
  switch (GetKind()) {
    case Kind::Int16:
      return std::get<int16_t>(value_);
    case Kind::Int32:
      return std::get<int32_t>(value_);
    case Kind::Int64:
      return std::get<int64_t>(value_);
    default:
      return std::nullopt;
  }
}

std::optional<bool> Variant::AsBoolean() const {
  if (const bool* value = std::get_if<bool>(&value_)) return *value;
  return std::nullopt;
}

std::optional<Currency> Variant::AsCurrency() const {
  if (const Currency* value = std::get_if<Currency>(&value_)) return *value;
  return std::nullopt;
}

std::shared_ptr<Recordset> Variant::AsChapter() const {
  if (const auto* child = std::get_if<std::shared_ptr<Recordset>>(&value_)) return *child;
  return nullptr;
}

int16_t IntegerOrZero(const Variant& value) {
  if (value.IsNull() || value.IsEmpty()) return 0;
  const bool convertible = value.IsNumber() || value.GetKind() == Variant::Kind::Text;
  const std::optional<double> number = convertible ? value.ToDouble() : std::nullopt;
  if (!number) throw Error(err::kTypeMismatch, "Type mismatch");
  const double rounded = std::round(*number);
  if (!(rounded >= -32768.0 && rounded <= 32767.0)) throw Error(err::kOverflow, "Overflow");
  return static_cast<int16_t>(rounded);
}

}  // namespace kivdb
