#include "control/data/shape_key.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace kivdb {
namespace {

// Every part starts with a tag byte; texts and bytes carry their length, so that the parts of a
// key of several columns cannot run into each other.
constexpr char kIntegerTag = 'I';
constexpr char kRealTag = 'R';
constexpr char kTextTag = 'T';
constexpr char kBinaryTag = 'B';
constexpr char kDateTag = 'D';

template <typename T>
void AppendRaw(std::string& key, T value) {
  char bytes[sizeof value];
  std::memcpy(bytes, &value, sizeof value);
  key.append(bytes, sizeof value);
}

void AppendInteger(std::string& key, int64_t value) {
  key += kIntegerTag;
  AppendRaw(key, value);
}

void AppendSized(std::string& key, char tag, const void* data, size_t size) {
  key += tag;
  AppendRaw(key, static_cast<uint64_t>(size));
  key.append(static_cast<const char*>(data), size);
}

// A whole number goes in as an integer, so that it meets the integers of other columns; any other
// number as the bits of its double.
bool AppendReal(std::string& key, double value) {
  if (std::isnan(value)) return false;
  // 2^63 is exact as a double; the range check keeps the conversion defined.
  constexpr double kLimit = 9223372036854775808.0;
  if (value == std::trunc(value) && value >= -kLimit && value < kLimit) {
    AppendInteger(key, static_cast<int64_t>(value));
    return true;
  }
  key += kRealTag;
  AppendRaw(key, value);
  return true;
}

// A decimal such as "-17.000" that holds a whole number fitting 64 bits is read exactly, so that
// large keys keep all their digits; other decimals go through a double.
bool AppendDecimal(std::string& key, const Variant& value) {
  const std::string text = value.ToText();
  std::string_view digits(text);
  const size_t point = digits.find('.');
  if (point != std::string_view::npos &&
      digits.find_first_not_of('0', point + 1) == std::string_view::npos) {
    digits = digits.substr(0, point);
  }
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  int64_t whole = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), whole);
  if (ec == std::errc() && end == digits.data() + digits.size() && !digits.empty()) {
    AppendInteger(key, whole);
    return true;
  }
  const auto real = value.ToDouble();
  return real && AppendReal(key, *real);
}

}  // namespace

bool AppendShapeKey(const Variant& value, std::string& key) {
  switch (value.GetKind()) {
    case Variant::Kind::Empty:
    case Variant::Kind::Null:
    case Variant::Kind::Chapter:
      return false;
    case Variant::Kind::Boolean:
      AppendInteger(key, *value.AsBoolean() ? -1 : 0);
      return true;
    case Variant::Kind::Int16:
    case Variant::Kind::Int32:
    case Variant::Kind::Int64:
      AppendInteger(key, *value.AsInteger());
      return true;
    case Variant::Kind::Single:
    case Variant::Kind::Double:
      return AppendReal(key, *value.ToDouble());
    case Variant::Kind::Currency: {
      const int64_t amount = value.AsCurrency()->tenThousandths;
      if (amount % 10000 == 0) {
        AppendInteger(key, amount / 10000);
        return true;
      }
      return AppendReal(key, static_cast<double>(amount) / 10000.0);
    }
    case Variant::Kind::Decimal:
      return AppendDecimal(key, value);
    case Variant::Kind::Date: {
      const DateTime date = *value.AsDate();
      key += kDateTag;
      for (int part : {date.year, date.month, date.day, date.hour, date.minute, date.second}) {
        AppendRaw(key, static_cast<int32_t>(part));
      }
      return true;
    }
    case Variant::Kind::Text: {
      const std::string& text = *value.AsText();
      AppendSized(key, kTextTag, text.data(), text.size());
      return true;
    }
    case Variant::Kind::Binary: {
      const auto& bytes = *value.AsBinary();
      AppendSized(key, kBinaryTag, bytes.data(), bytes.size());
      return true;
    }
  }
  return false;
}

}  // namespace kivdb
