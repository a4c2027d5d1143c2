#pragma once
// Checks of report cell texts the fuzz harnesses share: a cell adds no markup of its own, and a
// link ("Htm") leads only to an address a browser would not run as script.

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"

namespace kivfuzz {

// No element, attribute or entity comes from the value: only escaped text.
inline void CheckPlainCell(std::string_view cell, std::string_view input) {
  FUZZ_CHECK(cell.find_first_of("<>\"'") == std::string_view::npos, input);
  for (size_t amp = cell.find('&'); amp != std::string_view::npos; amp = cell.find('&', amp + 1)) {
    const std::string_view rest = cell.substr(amp);
    FUZZ_CHECK(rest.starts_with("&amp;") || rest.starts_with("&lt;") || rest.starts_with("&gt;") ||
                   rest.starts_with("&quot;") || rest.starts_with("&#39;"),
               input);
  }
}

// The text an escaped attribute value stands for.
inline std::string Unescaped(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '&') {
      out += text[i];
      continue;
    }
    const std::string_view rest = text.substr(i);
    for (const auto& [entity, plain] :
         {std::pair{"&amp;", '&'}, std::pair{"&lt;", '<'}, std::pair{"&gt;", '>'},
          std::pair{"&quot;", '"'}, std::pair{"&#39;", '\''}}) {
      if (rest.starts_with(entity)) {
        out += plain;
        i += std::string_view(entity).size() - 1;
        break;
      }
    }
  }
  return out;
}

// The scheme of an address as a browser's URL parser reads it: C0 controls and blanks at either
// end dropped, tabs and line breaks dropped anywhere, then a letter followed by letters, digits,
// "+", "-" or "." up to ":". Empty for a relative address.
inline std::string BrowserScheme(std::string_view address) {
  while (!address.empty() && static_cast<unsigned char>(address.front()) <= 0x20) {
    address.remove_prefix(1);
  }
  std::string scheme;
  for (char c : address) {
    if (c == '\t' || c == '\r' || c == '\n') continue;
    if (c == ':') return scheme;
    const auto u = static_cast<unsigned char>(c);
    const bool letter = std::isalpha(u) && u < 0x80;
    if (scheme.empty() ? !letter
                       : !(letter || std::isdigit(u) || c == '+' || c == '-' || c == '.')) {
      return "";
    }
    scheme += static_cast<char>(std::tolower(u));
  }
  return "";
}

// A cell of kind "Htm": plain text, or one link to an address of a harmless scheme around plain
// text.
inline void CheckLinkCell(std::string_view cell, std::string_view input) {
  constexpr std::string_view kOpen = "<a href='";
  constexpr std::string_view kClose = "</a>";
  if (!cell.starts_with(kOpen)) {
    CheckPlainCell(cell, input);
    return;
  }
  FUZZ_CHECK(cell.ends_with(kClose), input);
  const std::string_view inner =
      cell.substr(kOpen.size(), cell.size() - kOpen.size() - kClose.size());
  const size_t end = inner.find("'>");
  FUZZ_CHECK(end != std::string_view::npos, input);
  const std::string_view address = inner.substr(0, end);
  CheckPlainCell(address, input);
  CheckPlainCell(inner.substr(end + 2), input);
  const std::string scheme = BrowserScheme(Unescaped(address));
  FUZZ_CHECK(scheme.empty() || scheme == "http" || scheme == "https" || scheme == "mailto" ||
                 scheme == "file" || scheme.size() == 1,
             input);
}

}  // namespace kivfuzz
