#pragma once
// Small text operations of the control on UTF-8 text: characters are counted as code points, so
// a cut never splits a character; case is folded for ASCII letters only.

#include <string>
#include <string_view>

#include "base/text.h"  // Upper, Lower, Trim, EqualsNoCase

namespace kivdb::text {

// The first `count` characters of `text` (all of it when shorter).
std::string_view Prefix(std::string_view text, size_t count);
// Every single quote doubled, for text placed between single quotes in a command.
std::string DoubleQuotes(std::string_view text);
// Every occurrence of `marker` replaced by `replacement`, scanning left to right without looking
// into the replacements; with `ignoreCase` the marker matches in any case of ASCII letters.
std::string ReplaceAll(std::string_view text, std::string_view marker, std::string_view replacement,
                       bool ignoreCase);

}  // namespace kivdb::text
