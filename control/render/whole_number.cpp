#include "control/render/whole_number.h"

#include <charconv>
#include <cmath>
#include <string>

#include <kivdb/error.h>

namespace kivdb {
namespace {

bool IsSkipped(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Reads the number at the start of `text` into plain digits for from_chars, skipping blanks.
class NumberScanner {
 public:
  explicit NumberScanner(std::string_view text) : text_(text) {}

  std::string Scan() {
    std::string number;
    if (Peek() == '+' || Peek() == '-') number += Take();
    bool digits = false;
    while (IsDigit(Peek())) {
      number += Take();
      digits = true;
    }
    if (Peek() == '.') {
      number += Take();
      while (IsDigit(Peek())) {
        number += Take();
        digits = true;
      }
    }
    if (!digits) return "";
    // An exponent counts only when digits follow it: "2em" is 2.
    if (Peek() == 'e' || Peek() == 'E') {
      const size_t mark = pos_;
      std::string exponent(1, 'e');
      Take();
      if (Peek() == '+' || Peek() == '-') exponent += Take();
      if (IsDigit(Peek())) {
        while (IsDigit(Peek())) exponent += Take();
        number += exponent;
      } else {
        pos_ = mark;
      }
    }
    return number;
  }

 private:
  char Peek() {
    while (pos_ < text_.size() && IsSkipped(text_[pos_])) ++pos_;
    return pos_ < text_.size() ? text_[pos_] : '\0';
  }
  char Take() { return text_[pos_++]; }

  std::string_view text_;
  size_t pos_ = 0;
};

}  // namespace

long RoundHalfEven(double value) {
  if (!std::isfinite(value)) throw Error(err::kOverflow, "Overflow");
  double whole = std::floor(value);
  const double fraction = value - whole;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) whole += 1.0;
  if (!(whole >= -2147483648.0 && whole <= 2147483647.0)) throw Error(err::kOverflow, "Overflow");
  return static_cast<long>(whole);
}

long LeadingWholeNumber(std::string_view text) {
  std::string number = NumberScanner(text).Scan();
  if (number.empty()) return 0;
  if (number.front() == '+') number.erase(0, 1);
  double value = 0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // A tiny magnitude reads as 0; a huge one overflows.
    const size_t e = number.find('e');
    if (e != std::string::npos && number[e + 1] == '-') return 0;
    throw Error(err::kOverflow, "Overflow");
  }
  if (result.ec != std::errc()) return 0;
  return RoundHalfEven(value);
}

}  // namespace kivdb
