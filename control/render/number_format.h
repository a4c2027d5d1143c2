#pragma once
// Number pictures of report cells: "#,##0" and "#,##0.00". Works on the decimal text of a number,
// so currency and decimal values round exactly and a double rounds as its shortest text reads
// (2.675 gives "2.68"): halves go away from zero, thousands are grouped with ",", "." precedes
// the decimals, and a result that rounds to zero carries no minus sign.

#include <optional>
#include <string>
#include <string_view>

namespace kivdb {

// `text` is a number in plain or scientific notation ("-1234.5", "1.5e3", " 7 "), surrounding
// blanks allowed. Returns nothing when the text is not such a number (or its exponent is beyond
// any value a database returns, |e| > 400).
std::optional<std::string> FormatNumberText(std::string_view text, int decimals);
// The same text appended to `out`; false, with nothing appended, where FormatNumberText gives
// nothing. Short numbers (the cells of large tables) are laid out without building strings.
bool AppendNumberText(std::string& out, std::string_view text, int decimals);

}  // namespace kivdb
