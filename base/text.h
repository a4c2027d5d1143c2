#pragma once
// Small text operations shared by every library, from the scheme codes up: blank trimming and
// ASCII case folding. Bytes outside ASCII are left as they are, so UTF-8 text passes through
// unchanged.

#include <string>
#include <string_view>

namespace kivdb::text {

// A space, tab, line break, vertical tab or form feed.
bool IsBlank(char c);
// `text` without the blanks (IsBlank) at either end.
std::string_view Trim(std::string_view text);
// `text` without the spaces at either end; tabs and line breaks are kept.
std::string_view TrimSpaces(std::string_view text);
// The same text when ASCII letters are compared without regard to case.
bool EqualsNoCase(std::string_view a, std::string_view b);
// ASCII letters in capitals; other bytes unchanged.
std::string Upper(std::string_view text);
// ASCII letters in small letters; other bytes unchanged.
std::string Lower(std::string_view text);
// Text with every line ended by CR LF, whatever ended it before (LF, CR LF or nothing).
std::string WithCrLf(const std::string& text);

}  // namespace kivdb::text
