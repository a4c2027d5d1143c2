#pragma once
// FormatValue and the Null conversions that the page assembly and every renderer share (the
// 16-bit one, IntegerOrZero, sits beside Variant).
//
// FormatValue turns one field value into the text of a report cell, and that text is always
// HTML-safe: database text never reaches a page unescaped.
//   - Null and Empty give "."; other values are taken as their text with surrounding blanks
//     removed (so a value of blanks gives "").
//   - "Dbl": two decimals, "#,##0.00"; "Int": whole number, "#,##0"; halves away from zero.
//   - "Dte": the date in the `dateFormat` picture (date_format.h); text that reads as a date is
//     formatted too.
//   - "Htm": "text#address#..." (three or more parts) becomes <a href='address'>text</a>, built
//     from escaped parts; an address with a scheme other than http, https, mailto or file (or a
//     drive letter) is not linked, and the text alone is returned. Fewer parts: the text.
//   - Any other token (the renderers pass one blank): the text.
// For "Dbl", "Int" and "Dte", a value that does not read as a number (or date) comes back as its
// text. FormatValue never throws.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <kivdb/variant.h>

namespace kivdb {

std::string FormatValue(const Variant& value, std::string_view kind,
                        std::string_view dateFormat = {});
// Appends what FormatValue returns; the path of large tables, which reuse one buffer.
void AppendFormattedValue(std::string& out, const Variant& value, std::string_view kind,
                          std::string_view dateFormat);

// The integer 0 for Null; any other value (Empty too) unchanged.
Variant ZeroIfNull(const Variant& value);

// A value as a number to plot or add up: Null and Empty count as 0; numbers, and text that reads
// as one, as themselves; dates as their serial number. Anything else throws Error 13 "Type
// mismatch".
double NumericOperand(const Variant& value);

// True for a picture address a page may name: a relative path, a drive letter, or an address
// of http, https or file; and data:image/ pictures. A script address (javascript:, vbscript:,
// data: of any other kind) is not.
bool IsSafePictureAddress(std::string_view address);

// The decimal text of a value that is a number, or text that reads as one ("-1" for True);
// nothing for any other value. Shared by the number pictures.
std::optional<std::string> NumberTextOf(const Variant& value);

}  // namespace kivdb
