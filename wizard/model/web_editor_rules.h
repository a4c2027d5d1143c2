#pragma once
// The paragraph editor's rules without its widgets: the seven paragraph types, which of the form
// number and the columns a type uses, the field help, and how the fields compare with and go
// into a paragraph.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "wizard/model/parameter_kinds.h"
#include "wizard/model/web_scheme.h"

namespace kivwz {

// "C - Chart (Bar)", "H - Header", ... "T - Thumbnail Images", in list order.
const std::vector<std::string>& WebTypeEntries();
// The entry for typeIs compared exactly ("h" is none); nothing for "" or another value.
std::optional<std::size_t> WebTypeEntryOf(std::string_view typeIs);

struct WebTypeReaction {
  bool colsEnabled = false;
  bool formEnabled = false;
  std::string_view help;
};
WebTypeReaction ReactToWebType(char letter);

enum class WebField { SeqNo, Title, Query, Parm, KeyLength, Type, Form, Cols };
std::string_view WebFieldHelp(WebField field);

// What the editor's fields hold, as text; typeLetter is "" when no type is chosen.
struct WebFields {
  std::string id;
  std::string seqNo;
  std::string title;
  std::string query;
  std::string parm;
  std::string typeLetter;
  std::string form;
  std::string cols;
};

// True when any field differs from the paragraph; the sequence and form numbers compare as
// numbers. A number field that is no whole number differs from any paragraph, so closing asks
// and storing refuses instead of silently dropping what the user typed.
bool IsChanged(const WebFields& fields, const clsWebScheme& paragraph);
// Writes the fields into the paragraph (XST1 and extra untouched). False, changing nothing, when
// the sequence or form number is no whole number.
bool StoreFields(const WebFields& fields, clsWebScheme& paragraph);

}  // namespace kivwz
