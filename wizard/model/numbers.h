#pragma once
// Whole numbers as the scheme tables hold them, and the two ways the wizard reads them from text:
// strictly (a number field of a scheme file) and leniently (a key typed or taken from a view).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kivwz {

// The scheme tables' "long integer": IDs, parent references, sequence and form numbers.
using Long = std::int32_t;

// The key a record is filed under: its ID in decimal, without leading zeros or spaces.
inline std::string KeyOf(Long id) {
  return std::to_string(id);
}

// The number a key text stands for, when it is exactly the key of that number ("5", not "05").
std::optional<Long> KeyNumber(std::string_view key);

// Surrounding spaces, an optional sign and digits, nothing else; a number out of range is no
// number either.
std::optional<Long> WholeNumber(std::string_view text);

// Leading spaces, an optional sign, then digits up to the first other character ("12ab" is 12);
// no digits, or a value out of range, read as 0.
Long NumberValue(std::string_view text);

}  // namespace kivwz
