#pragma once
// The form link as the browser reports it: "^" + the form number in 5 digits + the record ID.
// Anything before the first "^" is ignored (a host's browser may report the link resolved
// against the page's folder).

#include <optional>
#include <string>
#include <string_view>

namespace kivdb {

struct FormLinkParts {
  std::string form;  // the first 5 characters after the mark (fewer when the URL ends sooner)
  std::string id;    // every character after those 5
};

// Nothing when the URL holds no "^".
std::optional<FormLinkParts> ParseFormLink(std::string_view url);

}  // namespace kivdb
