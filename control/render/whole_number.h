#pragma once
// Whole numbers of the renderers' layouts: rounding with halves to even (bar widths and heights,
// grid cell widths) and reading the number a setting text starts with (thumbnail settings).

#include <string_view>

namespace kivdb {

// The nearest whole number, halves to the even neighbour: 12.5 gives 12, 13.5 gives 14, -2.5
// gives -2. Throws Error 6 "Overflow" for a value that is not finite or beyond a 32-bit long.
long RoundHalfEven(double value);

// The number `text` starts with, rounded with halves to even: blanks, tabs and line breaks are
// skipped, a sign, digits, a decimal point and an exponent ("1e2") are read, and reading stops at
// the first character that cannot continue the number. "150" and "150px" give 150; "", "abc" and
// "-" give 0. Throws Error 6 "Overflow" as RoundHalfEven does.
long LeadingWholeNumber(std::string_view text);

}  // namespace kivdb
