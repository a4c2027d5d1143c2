#include "control/render/number_format.h"

#include <algorithm>

#include "base/text.h"

namespace kivdb {
namespace {

constexpr int kMaxExponent = 400;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// A number split into its significant digits and the position of the decimal point within them
// (which may lie before the first digit or after the last).
struct DecimalDigits {
  bool negative = false;
  std::string digits;
  long point = 0;
};

std::optional<DecimalDigits> Parse(std::string_view text) {
  text = text::Trim(text);
  DecimalDigits out;
  size_t pos = 0;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    out.negative = text[pos] == '-';
    ++pos;
  }
  bool seenPoint = false;
  for (; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (IsDigit(c)) {
      out.digits += c;
      if (!seenPoint) ++out.point;
    } else if (c == '.' && !seenPoint) {
      seenPoint = true;
    } else {
      break;
    }
  }
  if (out.digits.empty()) return std::nullopt;
  if (pos < text.size()) {
    if (text[pos] != 'e' && text[pos] != 'E') return std::nullopt;
    ++pos;
    bool negativeExponent = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
      negativeExponent = text[pos] == '-';
      ++pos;
    }
    if (pos == text.size()) return std::nullopt;
    long exponent = 0;
    for (; pos < text.size(); ++pos) {
      if (!IsDigit(text[pos])) return std::nullopt;
      exponent = exponent * 10 + (text[pos] - '0');
      if (exponent > kMaxExponent) return std::nullopt;
    }
    out.point += negativeExponent ? -exponent : exponent;
  }
  return out;
}

// Adds one unit in the last place of a digit string; returns true when it carried out of the top.
bool Increment(std::string& digits) {
  for (size_t i = digits.size(); i-- > 0;) {
    if (digits[i] == '9') {
      digits[i] = '0';
    } else {
      ++digits[i];
      return false;
    }
  }
  return true;
}

}  // namespace

std::optional<std::string> FormatNumberText(std::string_view text, int decimals) {
  std::optional<DecimalDigits> number = Parse(text);
  if (!number) return std::nullopt;
  if (decimals < 0) decimals = 0;

  // Lay the digits out as integer part and exactly `decimals` fraction digits, keeping the first
  // dropped digit to round on.
  std::string integerPart;
  std::string fraction;
  char dropped = '0';
  const long total = static_cast<long>(number->digits.size());
  for (long i = std::min(number->point, 0L); i < std::max(number->point, total); ++i) {
    const char digit = i >= 0 && i < total ? number->digits[static_cast<size_t>(i)] : '0';
    if (i < number->point) {
      integerPart += digit;
    } else if (i - number->point < decimals) {
      fraction += digit;
    } else {
      if (i - number->point == decimals) dropped = digit;
      break;
    }
  }
  while (static_cast<long>(fraction.size()) < decimals) fraction += '0';
  if (integerPart.empty()) integerPart.push_back('0');

  if (dropped >= '5' && Increment(fraction) && Increment(integerPart)) {
    integerPart.insert(integerPart.begin(), '1');
  }

  // Leading zeros go, but one digit always stays.
  const size_t firstSignificant = integerPart.find_first_not_of('0');
  integerPart.erase(0, std::min(firstSignificant, integerPart.size() - 1));
  const bool isZero = integerPart == "0" && fraction.find_first_not_of('0') == std::string::npos;

  std::string out;
  out.reserve(integerPart.size() + integerPart.size() / 3 + fraction.size() + 2);
  if (number->negative && !isZero) out += '-';
  for (size_t i = 0; i < integerPart.size(); ++i) {
    if (i > 0 && (integerPart.size() - i) % 3 == 0) out += ',';
    out += integerPart[i];
  }
  if (decimals > 0) {
    out += '.';
    out += fraction;
  }
  return out;
}

namespace {

// Bounds of the short form: numbers with more digits, or more decimals asked for, take the
// general path.
constexpr size_t kShortDigits = 32;
constexpr long kShortPlaces = 40;

// Plain or scientific notation without surrounding blanks, split as Parse does into a buffer of
// the caller's; false when the text is not such a number or does not fit the short form.
bool ParseShort(std::string_view text, bool& negative, char* digits, size_t& count, long& point) {
  size_t pos = 0;
  negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  count = 0;
  point = 0;
  bool seenPoint = false;
  for (; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (IsDigit(c)) {
      if (count == kShortDigits) return false;
      digits[count++] = c;
      if (!seenPoint) ++point;
    } else if (c == '.' && !seenPoint) {
      seenPoint = true;
    } else {
      break;
    }
  }
  if (count == 0) return false;
  if (pos < text.size()) {
    if (text[pos] != 'e' && text[pos] != 'E') return false;
    ++pos;
    bool negativeExponent = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
      negativeExponent = text[pos] == '-';
      ++pos;
    }
    if (pos == text.size()) return false;
    long exponent = 0;
    for (; pos < text.size(); ++pos) {
      if (!IsDigit(text[pos])) return false;
      exponent = exponent * 10 + (text[pos] - '0');
      if (exponent > kMaxExponent) return false;
    }
    point += negativeExponent ? -exponent : exponent;
  }
  return point <= kShortPlaces;
}

}  // namespace

bool AppendNumberText(std::string& out, std::string_view text, int decimals) {
  if (decimals < 0) decimals = 0;
  const std::string_view trimmed = text::Trim(text);
  bool negative = false;
  char digits[kShortDigits];
  size_t count = 0;
  long point = 0;
  if (decimals > kShortPlaces || !ParseShort(trimmed, negative, digits, count, point)) {
    const std::optional<std::string> formatted = FormatNumberText(text, decimals);
    if (!formatted) return false;
    out += *formatted;
    return true;
  }
  const auto digitAt = [&](long i) {
    return i >= 0 && i < static_cast<long>(count) ? digits[i] : '0';
  };
  // The integer part (one "0" when the point lies before the first digit) and the decimals, then
  // rounded half up on the first digit dropped.
  char whole[kShortPlaces + 2];
  size_t wholeCount = 0;
  for (long i = 0; i < point; ++i) whole[wholeCount++] = digitAt(i);
  if (wholeCount == 0) whole[wholeCount++] = '0';
  char fraction[kShortPlaces];
  for (long k = 0; k < decimals; ++k) fraction[k] = digitAt(point + k);
  const auto increment = [](char* at, size_t size) {
    for (size_t i = size; i-- > 0;) {
      if (at[i] == '9') {
        at[i] = '0';
      } else {
        ++at[i];
        return false;
      }
    }
    return true;
  };
  size_t first = 0;  // the first digit of `whole` written
  char carried = 0;
  if (digitAt(point + decimals) >= '5' && increment(fraction, static_cast<size_t>(decimals)) &&
      increment(whole, wholeCount)) {
    carried = '1';
  }
  if (!carried) {
    while (first + 1 < wholeCount && whole[first] == '0') ++first;
  }
  bool isZero = !carried && whole[first] == '0' && first + 1 == wholeCount;
  for (long k = 0; isZero && k < decimals; ++k) isZero = fraction[k] == '0';

  if (negative && !isZero) out += '-';
  const size_t size = wholeCount - first + (carried ? 1 : 0);
  size_t written = 0;
  const auto put = [&](char c) {
    if (written > 0 && (size - written) % 3 == 0) out += ',';
    out += c;
    ++written;
  };
  if (carried) put(carried);
  for (size_t i = first; i < wholeCount; ++i) put(whole[i]);
  if (decimals > 0) {
    out += '.';
    out.append(fraction, static_cast<size_t>(decimals));
  }
  return true;
}

}  // namespace kivdb
