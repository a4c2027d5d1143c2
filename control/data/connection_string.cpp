#include "control/data/connection_string.h"

#include "base/text.h"

namespace kivdb {
namespace {

void SkipBlanks(std::string_view text, size_t& pos) {
  while (pos < text.size() && text::IsBlank(text[pos])) ++pos;
}

}  // namespace

std::optional<std::map<std::string, std::string>> ParseConnectionString(std::string_view text,
                                                                        std::string& error) {
  std::map<std::string, std::string> pairs;
  size_t pos = 0;
  while (pos < text.size()) {
    SkipBlanks(text, pos);
    if (pos < text.size() && text[pos] == ';') {  // empty part, as in a trailing ";"
      ++pos;
      continue;
    }
    if (pos >= text.size()) break;
    const size_t equals = text.find('=', pos);
    const size_t semicolon = text.find(';', pos);
    if (equals == std::string_view::npos ||
        (semicolon != std::string_view::npos && semicolon < equals)) {
      error = "Connection string part without '=': " +
              std::string(text::Trim(text.substr(
                  pos, semicolon == std::string_view::npos ? semicolon : semicolon - pos)));
      return std::nullopt;
    }
    std::string key = text::Lower(text::Trim(text.substr(pos, equals - pos)));
    if (key.empty()) {
      error = "Connection string part without a key";
      return std::nullopt;
    }
    pos = equals + 1;
    SkipBlanks(text, pos);
    std::string value;
    if (pos < text.size() && (text[pos] == '"' || text[pos] == '\'' || text[pos] == '{')) {
      // ODBC writes values that hold ";" between braces, with "}}" standing for one "}".
      const char quote = text[pos] == '{' ? '}' : text[pos];
      ++pos;
      bool closed = false;
      while (pos < text.size()) {
        if (text[pos] == quote) {
          if (pos + 1 < text.size() && text[pos + 1] == quote) {
            value += quote;
            pos += 2;
            continue;
          }
          ++pos;
          closed = true;
          break;
        }
        value += text[pos++];
      }
      if (!closed) {
        error =
            "Unclosed " + std::string(quote == '}' ? "brace" : "quote") + " in the value of " + key;
        return std::nullopt;
      }
      SkipBlanks(text, pos);
      if (pos < text.size() && text[pos] != ';') {
        error = "Text after the quoted value of " + key;
        return std::nullopt;
      }
    } else {
      const size_t end = text.find(';', pos);
      value = std::string(
          text::Trim(text.substr(pos, end == std::string_view::npos ? end : end - pos)));
      pos = end == std::string_view::npos ? text.size() : end;
    }
    if (pos < text.size()) ++pos;  // the ';'
    pairs[std::move(key)] = std::move(value);
  }
  return pairs;
}

}  // namespace kivdb
