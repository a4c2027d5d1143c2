#pragma once
// The node editor's rules without its widgets: the types a parent admits, what choosing a type
// enables and explains, the field help, and how the fields compare with and go into a node.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "wizard/model/nav_scheme.h"
#include "wizard/model/parameter_kinds.h"

namespace kivwz {

// The type list's entries below this parent, in list order: "F - Fixed Branch" only below an F
// node, then G, R and N.
std::vector<std::string> NavTypeEntries(const clsNavScheme* parent);
// The entry whose first letter is exactly typeIs; nothing for "" or a type the list lacks.
std::optional<std::size_t> NavTypeEntryOf(const std::vector<std::string>& entries,
                                          std::string_view typeIs);
// The stored type of a list entry: its first letter; "" when no entry is chosen.
std::string TypeOfEntry(std::string_view entry);

struct NavTypeReaction {
  bool queryEnabled = true;
  bool parmEnabled = true;
  bool keyLengthDisabled = false;  // F and N disable the key length; G and R leave it as it is
  std::string_view help;
};
// The reaction to the entry with this first letter.
NavTypeReaction ReactToNavType(char letter);

// "Parent Node: [7]  Customers".
std::string ParentLine(const clsNavScheme& parent);

enum class NavField { Description, Type, Query, Parm, KeyLength, Icon, Role };
std::string_view NavFieldHelp(NavField field);

// What the editor's fields hold, as text; typeLetter is "" when no type is chosen.
struct NavFields {
  std::string id;
  std::string description;
  std::string typeLetter;
  std::string query;
  std::string parm;
  std::string icon;
  std::string role;
};

// True when any field differs from the node (exact text comparison; the ID as decimal text).
bool IsChanged(const NavFields& fields, const clsNavScheme& node);
// Writes the fields into the node, the type before query and parameter so that an F or N node
// ends without them.
void StoreFields(const NavFields& fields, clsNavScheme& node);

}  // namespace kivwz
