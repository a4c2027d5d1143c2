#include "control/core/text_util.h"

#include <cctype>

namespace kivdb::text {
namespace {

char Fold(char c) {
  return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

bool MatchesAt(std::string_view text, size_t at, std::string_view marker, bool ignoreCase) {
  if (text.size() - at < marker.size()) return false;
  for (size_t i = 0; i < marker.size(); ++i) {
    const char a = text[at + i];
    const char b = marker[i];
    if (ignoreCase ? Fold(a) != Fold(b) : a != b) return false;
  }
  return true;
}

}  // namespace

std::string_view Prefix(std::string_view text, size_t count) {
  size_t at = 0;
  for (size_t n = 0; n < count && at < text.size(); ++n) {
    ++at;
    // Continuation bytes 10xxxxxx belong to the character just started.
    while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) ++at;
  }
  return text.substr(0, at);
}

std::string DoubleQuotes(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out;
}

std::string ReplaceAll(std::string_view text, std::string_view marker, std::string_view replacement,
                       bool ignoreCase) {
  if (marker.empty()) return std::string(text);
  std::string out;
  out.reserve(text.size());
  size_t at = 0;
  while (at < text.size()) {
    if (MatchesAt(text, at, marker, ignoreCase)) {
      out += replacement;
      at += marker.size();
    } else {
      out += text[at++];
    }
  }
  return out;
}

}  // namespace kivdb::text
