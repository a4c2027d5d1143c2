#pragma once
// HTML escaping of database text on its way into a report page: &, <, >, " and ' become entities,
// so a value can sit in element content and in a quoted attribute alike.

#include <string>
#include <string_view>

namespace kivdb {

std::string HtmlEscape(std::string_view text);
// Appends the escaped text to `out` (the allocation-free path for large tables).
void AppendHtmlEscaped(std::string& out, std::string_view text);

}  // namespace kivdb
