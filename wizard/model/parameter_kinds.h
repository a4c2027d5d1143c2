#pragma once
// The five parameter kinds both editors offer for a query: their list entries, which entry a
// stored parameter text selects, what choosing an entry shows, and how "CKeynn" is composed.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kivwz {

enum class ParmKind { None, LKey, CKeynn, Text, Today };

// The parameter list's entries, in list order (ParmKind order).
const std::vector<std::string>& ParmEntries();

struct ParmSelection {
  std::optional<ParmKind> kind;  // nothing for a text no entry stands for
  std::string keyLength;         // for CKeynn: the last two characters of the stored text
};

// Reads the first two characters, in capitals, of the stored text followed by "**", leading and
// trailing blanks trimmed: "**" (empty) is None, "LK", "CK", "TE", "TO" the others.
ParmSelection SelectParm(std::string_view parmIs);

struct ParmReaction {
  std::optional<std::string> parmText;  // the text to store; nothing for CKeynn (composed)
  bool keyLengthEnabled = false;        // only CKeynn asks for the key length
  std::string_view help;
};
ParmReaction ReactToParm(ParmKind kind);

// A key length the user typed: a whole number, 0 or more; nothing otherwise.
std::optional<int> KeyLength(std::string_view text);
// "CKey" and the key length with at least two digits (5 gives "CKey05"); nothing when the text
// is no key length, in which case the shown parameter stays as it is.
std::optional<std::string> ComposeCKey(std::string_view keyLengthText);

// Help shown while the parameter list or the key length field has the focus.
inline constexpr std::string_view kParmListHelp =
    "The Parameters Can be one of the Following : 'None', 'LKey', 'CKeynn', 'Text', or 'Today'.";
inline constexpr std::string_view kNumericValueMessage = "Please enter Numeric Value";

}  // namespace kivwz
