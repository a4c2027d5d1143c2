#include "control/render/html_escape.h"

namespace kivdb {

void AppendHtmlEscaped(std::string& out, std::string_view text) {
  size_t start = 0;
  while (true) {
    const size_t special = text.find_first_of("&<>\"'", start);
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
