#include "control/render/sheet_format.h"

#include <cctype>

#include "base/text.h"
#include "control/render/date_format.h"

namespace kivdb {
namespace {

constexpr size_t kSheetNameLength = 31;

std::string_view NamedPicture(std::string_view picture, bool hasTime) {
  if (text::EqualsNoCase(picture, "General Date"))
    return hasTime ? "dd/mm/yyyy hh:nn:ss" : "dd/mm/yyyy";
  if (text::EqualsNoCase(picture, "Long Date")) return "dddd, d mmmm yyyy";
  if (text::EqualsNoCase(picture, "Medium Date")) return "dd-mmm-yy";
  if (text::EqualsNoCase(picture, "Short Date")) return "dd/mm/yyyy";
  if (text::EqualsNoCase(picture, "Long Time")) return "hh:nn:ss";
  if (text::EqualsNoCase(picture, "Short Time")) return "hh:nn";
  return picture;
}

bool StartsNoCase(std::string_view text, size_t at, std::string_view word) {
  return text.size() - at >= word.size() && text::EqualsNoCase(text.substr(at, word.size()), word);
}

size_t CodePoints(std::string_view text) {
  size_t count = 0;
  for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

// The first `count` code points of `text`, so that a cut never splits a character.
std::string Utf8Prefix(std::string_view text, size_t count) {
  size_t at = 0;
  for (size_t seen = 0; at < text.size(); ++at) {
    if ((static_cast<unsigned char>(text[at]) & 0xC0) != 0x80 && seen++ == count) break;
  }
  return std::string(text.substr(0, at));
}

}  // namespace

std::string_view SheetNumberFormat(FieldClass fieldClass) {
  switch (fieldClass) {
    case FieldClass::Integer:
      return "#,##0";
    case FieldClass::Decimal:
      return "#,##0.00";
    default:
      return "";
  }
}

std::string SheetDateFormat(std::string_view picture, bool hasTime) {
  if (picture.empty()) return hasTime ? "yyyy-mm-dd hh:mm:ss" : "yyyy-mm-dd";
  picture = NamedPicture(picture, hasTime);
  std::string out;
  for (size_t i = 0; i < picture.size(); ++i) {
    const char c = picture[i];
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (c == '"') {
      const size_t end = picture.find('"', i + 1);
      const size_t stop = end == std::string_view::npos ? picture.size() : end;
      out += '"';
      out.append(picture.substr(i + 1, stop - i - 1));
      out += '"';
      i = stop;
    } else if (c == '\\') {
      if (i + 1 < picture.size()) {
        out += '\\';
        out += picture[++i];
      }
    } else if (StartsNoCase(picture, i, "AM/PM")) {
      out.append(picture.substr(i, 5));
      i += 4;
    } else if (lower == 'n') {
      out += 'm';
    } else if (lower == 'd' || lower == 'm' || lower == 'y' || lower == 'h' || lower == 's') {
      out += lower;
    } else if (c == ' ' || c == '/' || c == '-' || c == ':' || c == '.' || c == ',') {
      out += c;
    } else {
      out += '\\';
      out += c;
    }
  }
  return out;
}

std::optional<double> SheetSerial(const DateTime& value) {
  const double serial = DateSerial(value);
  const bool timeAlone = value.year == 1899 && value.month == 12 && value.day == 30;
  if (timeAlone) return serial;
  if (value.year < 1900 || value.year > 9999) return std::nullopt;
  // The sheet counts a 29th of February 1900 that never was: days before it are one less.
  return serial < 61 ? serial - 1 : serial;
}

std::string SheetName(std::string_view title, long id, std::set<std::string>& used) {
  std::string name;
  for (const char c : title) {
    const bool invalid = c == '[' || c == ']' || c == ':' || c == '*' || c == '?' || c == '/' ||
                         c == '\\' || static_cast<unsigned char>(c) < 0x20;
    const char put = invalid ? ' ' : c;
    if (put == ' ' && (name.empty() || name.back() == ' ')) continue;
    name += put;
  }
  while (!name.empty() && (name.back() == ' ' || name.back() == '\'')) name.pop_back();
  size_t lead = 0;
  while (lead < name.size() && (name[lead] == '\'' || name[lead] == ' ')) ++lead;
  name.erase(0, lead);
  if (name.empty()) name = "Table " + std::to_string(id);
  name = Utf8Prefix(name, kSheetNameLength);
  while (!name.empty() && (name.back() == ' ' || name.back() == '\'')) name.pop_back();

  std::string candidate = name;
  for (int n = 2; used.count(text::Lower(candidate)) || text::EqualsNoCase(candidate, "History");
       ++n) {
    const std::string suffix = " (" + std::to_string(n) + ")";
    candidate = Utf8Prefix(name, kSheetNameLength - CodePoints(suffix)) + suffix;
  }
  used.insert(text::Lower(candidate));
  return candidate;
}

}  // namespace kivdb
