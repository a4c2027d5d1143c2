#include "wizard/model/parameter_kinds.h"

#include <cctype>

#include "wizard/model/numbers.h"

namespace kivwz {
namespace {

constexpr std::string_view kNoneHelp =
    "Specify this, when there are NO parameter required to execute the specified Query/Stored "
    "Procedure.";
constexpr std::string_view kLKeyHelp =
    "Specify this, when the parameter required to execute the specified Query/Stored Procedure "
    "is a Long Integer Type. The parameter value will be sourced from the 'Key' of Treeview "
    "Node, which is clicked.";
constexpr std::string_view kTextHelp =
    "Specify this, when the parameter required to execute the specified Query/Stored Procedure "
    "is a String Type (Text). The parameter value will be sourced from the 'Displayed Text' of "
    "Treeview Node, which is clicked.";
constexpr std::string_view kTodayHelp =
    "Specify this, when the parameter required to execute the specified Query/Stored Procedure "
    "is a Date Type [as String (Text)]. The parameter value will be Today's Date as String "
    "(dd-Mmm-yyyy)";
constexpr std::string_view kCKeyHelp =
    "Specify this, when the parameter required to execute the specified Query/Stored Procedure "
    "is a Fixed-Length String (Text) Type. The parameter value will be sourced from the 'Key' of "
    "Treeview Node, which is clicked. The Length of the String (Text/Character) MUST be "
    "specified. For example, if the Customer-ID is a 5-Character Text, then 'CKey05' (NOT "
    "'Ckey5') must be specified. When 'Alfreds Futterkiste' is clicked on treeview, the value "
    "'ALFKI' (ID for 'Alfreds Futterkiste') will be passed to this query. Please also refer 'How "
    "to Segment Time-Line' section of the Tutorial to better understand the concept.";

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

const std::vector<std::string>& ParmEntries() {
  static const std::vector<std::string> entries = {
      "None: No parameter",
      "LKey: Long Integer Key",
      "CKeynn: Character Key of length nn",
      "Text: Supply Displayed Text of Treeview as parameter",
      "Today: supply today's date as parameter",
  };
  return entries;
}

ParmSelection SelectParm(std::string_view parmIs) {
  const std::string padded = std::string(parmIs) + "**";
  std::string head(TrimBlanks(padded).substr(0, 2));
  for (char& c : head) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  ParmSelection selection;
  if (head == "**") {
    selection.kind = ParmKind::None;
  } else if (head == "LK") {
    selection.kind = ParmKind::LKey;
  } else if (head == "CK") {
    selection.kind = ParmKind::CKeynn;
    selection.keyLength = std::string(parmIs.substr(parmIs.size() >= 2 ? parmIs.size() - 2 : 0));
  } else if (head == "TE") {
    selection.kind = ParmKind::Text;
  } else if (head == "TO") {
    selection.kind = ParmKind::Today;
  }
  return selection;
}

ParmReaction ReactToParm(ParmKind kind) {
  switch (kind) {
    case ParmKind::None:
      return {std::string(), false, kNoneHelp};
    case ParmKind::LKey:
      return {std::string("Lkey"), false, kLKeyHelp};
    case ParmKind::CKeynn:
      return {std::nullopt, true, kCKeyHelp};
    case ParmKind::Text:
      return {std::string("Text"), false, kTextHelp};
    case ParmKind::Today:
      return {std::string("Today"), false, kTodayHelp};
  }
  return {};
}

std::optional<int> KeyLength(std::string_view text) {
  const std::optional<Long> value = WholeNumber(text);
  if (!value || *value < 0) return std::nullopt;
  return static_cast<int>(*value);
}

std::optional<std::string> ComposeCKey(std::string_view keyLengthText) {
  const std::optional<int> length = KeyLength(keyLengthText);
  if (!length) return std::nullopt;
  std::string digits = std::to_string(*length);
  if (digits.size() < 2) digits.insert(0, 2 - digits.size(), '0');
  return "CKey" + digits;
}

}  // namespace kivwz
