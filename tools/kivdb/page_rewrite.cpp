#include "tools/kivdb/page_rewrite.h"

#include <cctype>
#include <optional>
#include <unordered_set>
#include <utility>

namespace kivdb::tool {
namespace {

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// The first place at or after `from` where `needle` occurs, in any case; npos when none.
size_t FindNoCase(std::string_view text, std::string_view needle, size_t from) {
  for (size_t i = from; i + needle.size() <= text.size(); ++i) {
    if (EqualNoCase(text.substr(i, needle.size()), needle)) return i;
  }
  return std::string_view::npos;
}

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

struct Attribute {
  std::string_view name;
  size_t valueBegin = 0;  // the value without its quotes
  size_t valueEnd = 0;
  bool hasValue = false;
};

struct Tag {
  std::string_view name;
  size_t begin = 0;  // the "<"
  size_t end = 0;    // one past the ">"
  std::vector<Attribute> attributes;
};

// Reads the start tag at `lt` (html[lt] is "<" followed by a letter). Without a closing ">" the
// tag runs to the end of the text.
Tag ReadTag(std::string_view html, size_t lt) {
  Tag tag;
  tag.begin = lt;
  size_t i = lt + 1;
  const size_t nameBegin = i;
  while (i < html.size() && !IsSpace(html[i]) && html[i] != '>' && html[i] != '/') ++i;
  tag.name = html.substr(nameBegin, i - nameBegin);
  while (i < html.size()) {
    while (i < html.size() && (IsSpace(html[i]) || html[i] == '/')) ++i;
    if (i >= html.size() || html[i] == '>') break;
    Attribute attribute;
    const size_t attributeBegin = i;
    while (i < html.size() && !IsSpace(html[i]) && html[i] != '>' && html[i] != '=') ++i;
    attribute.name = html.substr(attributeBegin, i - attributeBegin);
    while (i < html.size() && IsSpace(html[i])) ++i;
    if (i < html.size() && html[i] == '=') {
      ++i;
      while (i < html.size() && IsSpace(html[i])) ++i;
      attribute.hasValue = true;
      if (i < html.size() && (html[i] == '\'' || html[i] == '"')) {
        const char quote = html[i++];
        attribute.valueBegin = i;
        while (i < html.size() && html[i] != quote) ++i;
        attribute.valueEnd = i;
        if (i < html.size()) ++i;
      } else {
        attribute.valueBegin = i;
        while (i < html.size() && !IsSpace(html[i]) && html[i] != '>') ++i;
        attribute.valueEnd = i;
      }
    }
    tag.attributes.push_back(attribute);
  }
  tag.end = i < html.size() ? i + 1 : html.size();
  return tag;
}

// Calls `visit` for every start tag in order, skipping comments and the content of scripts and
// style sheets. `visit` returns where the scan goes on (at least the tag's end).
template <class Visit>
void ForEachTag(std::string_view html, Visit visit) {
  size_t i = 0;
  while ((i = html.find('<', i)) != std::string_view::npos) {
    if (html.compare(i, 4, "<!--") == 0) {
      const size_t close = html.find("-->", i + 4);
      i = close == std::string_view::npos ? html.size() : close + 3;
      continue;
    }
    if (i + 1 >= html.size() || !std::isalpha(static_cast<unsigned char>(html[i + 1]))) {
      ++i;
      continue;
    }
    const Tag tag = ReadTag(html, i);
    i = visit(tag);
    for (const std::string_view raw : {"script", "style"}) {
      if (!EqualNoCase(tag.name, raw)) continue;
      const size_t close = FindNoCase(html, std::string("</") + std::string(raw), tag.end);
      i = close == std::string_view::npos ? html.size() : close;
    }
  }
}

std::string_view ValueOf(std::string_view html, const Attribute& attribute) {
  return html.substr(attribute.valueBegin, attribute.valueEnd - attribute.valueBegin);
}

std::optional<Attribute> Find(const Tag& tag, std::string_view name) {
  for (const Attribute& attribute : tag.attributes) {
    if (attribute.hasValue && EqualNoCase(attribute.name, name)) return attribute;
  }
  return std::nullopt;
}

bool IsPictureName(std::string_view value) {
  if (value.size() < 4 || value.substr(0, 3) != "pic") return false;
  for (const char c : value.substr(3)) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

bool IsRelativeAddress(std::string_view value) {
  if (value.empty() || value[0] == '/' || value[0] == '#' || value[0] == '\\') return false;
  // A scheme is letters, digits, "+", "-" or "." up to the first ":".
  for (const char c : value) {
    if (c == ':') return false;
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.') break;
  }
  return true;
}

// An attribute value as the browser reads it: the references the pages' escaping writes
// ("&amp;", "&lt;", "&gt;", "&quot;", "&#39;") back to their characters.
std::string Unescaped(std::string_view value) {
  static constexpr std::pair<std::string_view, char> kReferences[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&#39;", '\''}};
  std::string out;
  out.reserve(value.size());
  for (size_t i = 0; i < value.size(); ++i) {
    bool replaced = false;
    if (value[i] == '&') {
      for (const auto& [reference, character] : kReferences) {
        if (value.substr(i, reference.size()) != reference) continue;
        out += character;
        i += reference.size() - 1;
        replaced = true;
        break;
      }
    }
    if (!replaced) out += value[i];
  }
  return out;
}

}  // namespace

std::string StripFormLinks(std::string_view html) {
  std::string out;
  out.reserve(html.size());
  size_t copied = 0;
  ForEachTag(html, [&](const Tag& tag) {
    if (!EqualNoCase(tag.name, "a")) return tag.end;
    const std::optional<Attribute> href = Find(tag, "href");
    if (!href || ValueOf(html, *href).find('^') == std::string_view::npos) return tag.end;
    out.append(html.substr(copied, tag.begin - copied));
    const size_t close = FindNoCase(html, "</a", tag.end);
    if (close == std::string_view::npos) {
      copied = tag.end;
      return tag.end;
    }
    out.append(html.substr(tag.end, close - tag.end));
    const size_t closeEnd = html.find('>', close);
    copied = closeEnd == std::string_view::npos ? html.size() : closeEnd + 1;
    return copied;
  });
  out.append(html.substr(std::min(copied, html.size())));
  return out;
}

PictureRewrite RenamePictures(std::string_view html, const std::string& prefix,
                              const std::function<bool(const std::string&)>& isPagePicture) {
  PictureRewrite result;
  result.html.reserve(html.size());
  std::unordered_set<std::string> seen;
  size_t copied = 0;
  ForEachTag(html, [&](const Tag& tag) {
    const std::optional<Attribute> src = Find(tag, "src");
    if (!src) return tag.end;
    const std::string value(ValueOf(html, *src));
    if (!IsPictureName(value) || !isPagePicture(value)) return tag.end;
    result.html.append(html.substr(copied, src->valueBegin - copied));
    result.html.append(prefix + value);
    copied = src->valueEnd;
    if (seen.insert(value).second) result.pictures.push_back(value);
    return tag.end;
  });
  result.html.append(html.substr(copied));
  return result;
}

std::vector<std::string> RelativeSources(std::string_view html) {
  std::vector<std::string> sources;
  std::unordered_set<std::string> seen;
  ForEachTag(html, [&](const Tag& tag) {
    const std::optional<Attribute> src = Find(tag, "src");
    if (src) {
      std::string value = Unescaped(ValueOf(html, *src));
      if (IsRelativeAddress(value) && seen.insert(value).second)
        sources.push_back(std::move(value));
    }
    return tag.end;
  });
  return sources;
}

}  // namespace kivdb::tool
