#pragma once
// Connection strings: "Key=Value;Key2=Value2", keys in any case, values optionally in double or
// single quotes (a doubled quote inside stands for one) or, as ODBC writes them, in braces ("}}"
// inside stands for "}"), blanks around keys and values ignored.

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace kivdb {

// Keys lower-cased; a later key of the same name wins. Returns nothing, with the reason in
// `error`, for a part without "=", an empty key or an unclosed quote.
std::optional<std::map<std::string, std::string>> ParseConnectionString(std::string_view text,
                                                                        std::string& error);

}  // namespace kivdb
