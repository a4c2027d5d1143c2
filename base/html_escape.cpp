#include "base/html_escape.h"

namespace kivdb {

namespace {

// The characters that are written as references, looked up in one step per byte (a search for
// any of several characters costs one scan of the set per byte of the text).
struct SpecialBytes {
  bool is[256] = {};
  constexpr SpecialBytes() {
    for (const unsigned char c : {'&', '<', '>', '"', '\''}) is[c] = true;
  }
};
constexpr SpecialBytes kSpecial;

size_t FindSpecial(std::string_view text, size_t from) {
  for (size_t i = from; i < text.size(); ++i) {
    if (kSpecial.is[static_cast<unsigned char>(text[i])]) return i;
  }
  return std::string_view::npos;
}

}  // namespace

void AppendHtmlEscaped(std::string& out, std::string_view text) {
  size_t start = 0;
  while (true) {
    const size_t special = FindSpecial(text, start);
    if (special == std::string_view::npos) {
      out.append(text.substr(start));
      return;
    }
    out.append(text.substr(start, special - start));
    switch (text[special]) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += "&#39;";
        break;
    }
    start = special + 1;
  }
}

std::string HtmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  AppendHtmlEscaped(out, text);
  return out;
}

}  // namespace kivdb
