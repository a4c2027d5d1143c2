#include <kivdb/ini_property_bag.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string_view>
#include <utility>
#include <vector>

#include <kivdb/error.h>
#include "base/text.h"

namespace kivdb {
namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
    text.remove_suffix(1);
  }
  return text;
}

bool NeedsQuotes(std::string_view value) {
  if (value.empty()) return false;
  if (value.front() == ' ' || value.front() == '\t' || value.front() == '"') return true;
  if (value.back() == ' ' || value.back() == '\t') return true;
  return value.find_first_of("\r\n") != std::string_view::npos;
}

std::string Encode(std::string_view value) {
  if (!NeedsQuotes(value)) return std::string(value);
  std::string out = "\"";
  for (char c : value) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        out += c;
    }
  }
  return out + "\"";
}

// `raw` is the text after "=", already trimmed. Returns nothing for an unterminated quote.
std::optional<std::string> Decode(std::string_view raw) {
  if (raw.empty() || raw.front() != '"') return std::string(raw);
  std::string out;
  for (size_t i = 1; i < raw.size(); ++i) {
    const char c = raw[i];
    if (c == '"') return i + 1 == raw.size() ? std::optional<std::string>(out) : std::nullopt;
    if (c != '\\' || i + 1 == raw.size()) {
      out += c;
      continue;
    }
    const char next = raw[++i];
    out += next == 'r' ? '\r' : next == 'n' ? '\n' : next;
  }
  return std::nullopt;
}

}  // namespace

struct IniPropertyBag::Impl {
  struct Section {
    std::string name;
    std::vector<std::pair<std::string, std::string>> entries;
  };
  std::string path;
  std::string section;
  std::vector<Section> sections;

  Section& Own() {
    for (Section& s : sections) {
      if (text::EqualsNoCase(s.name, section)) return s;
    }
    sections.push_back({section, {}});
    return sections.back();
  }

  void Load() {
    std::error_code error;
    if (!std::filesystem::exists(path, error) && !error) return;  // a new bag
    std::ifstream in(path, std::ios::binary);
    if (error || !in || std::filesystem::is_directory(path, error)) {
      throw Error(err::kFileAccess, "Path/File access error: " + path);
    }
    std::string line;
    Section* current = nullptr;
    int number = 0;
    while (std::getline(in, line)) {
      ++number;
      const std::string_view text = Trim(line);
      if (text.empty() || text.front() == ';' || text.front() == '#') continue;
      if (text.front() == '[' && text.back() == ']') {
        sections.push_back({std::string(Trim(text.substr(1, text.size() - 2))), {}});
        current = &sections.back();
        continue;
      }
      const size_t eq = text.find('=');
      // A key of blanks and line ends alone counts as none: it could not be read back once saved.
      const std::string_view key = eq == std::string_view::npos ? "" : Trim(text.substr(0, eq));
      std::optional<std::string> value;
      if (!key.empty()) value = Decode(Trim(text.substr(eq + 1)));
      if (!value) {
        throw Error(err::kInvalidCall, "Bad line " + std::to_string(number) + " in " + path + ": " +
                                           std::string(text));
      }
      if (!current) {
        sections.push_back({"", {}});
        current = &sections.back();
      }
      current->entries.emplace_back(std::string(key), std::move(*value));
    }
  }
};

IniPropertyBag::IniPropertyBag(std::string path, std::string section)
    : impl_(std::make_unique<Impl>()) {
  impl_->path = std::move(path);
  impl_->section = std::move(section);
  impl_->Load();
}

IniPropertyBag::~IniPropertyBag() = default;

Variant IniPropertyBag::ReadProperty(const std::string& name, const Variant& defaultValue) {
  for (const auto& [key, value] : impl_->Own().entries) {
    if (text::EqualsNoCase(key, name)) return Variant(value);
  }
  return defaultValue;
}

void IniPropertyBag::WriteProperty(const std::string& name, const Variant& value,
                                   const Variant& defaultValue) {
  auto& entries = impl_->Own().entries;
  std::erase_if(entries, [&](const auto& entry) { return text::EqualsNoCase(entry.first, name); });
  if (value == defaultValue) return;
  entries.emplace_back(name, value.ToText());
}

void IniPropertyBag::Save() {
  std::ostringstream text;
  bool first = true;
  for (const auto& s : impl_->sections) {
    if (s.entries.empty() && !text::EqualsNoCase(s.name, impl_->section)) continue;
    if (!first) text << "\r\n";
    // Only the keys before the first section go without a header; a later "[]" keeps its own,
    // or its keys would join the section above when read back.
    if (!s.name.empty() || !first) text << '[' << s.name << "]\r\n";
    first = false;
    for (const auto& [key, value] : s.entries) text << key << '=' << Encode(value) << "\r\n";
  }
  const std::string temp = impl_->path + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out << text.str();
    out.flush();
    if (!out) {
      std::remove(temp.c_str());
      throw Error(err::kFileAccess, "Path/File access error: " + impl_->path);
    }
  }
  if (std::rename(temp.c_str(), impl_->path.c_str()) != 0) {
    std::remove(temp.c_str());
    throw Error(err::kFileAccess, "Path/File access error: " + impl_->path);
  }
}

}  // namespace kivdb
