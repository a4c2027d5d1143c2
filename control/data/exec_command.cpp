#include "control/data/exec_command.h"

#include <charconv>
#include <cstdint>

#include "base/text.h"

namespace kivdb {
namespace {

using text::EqualsNoCase;
using text::IsBlank;
using text::Trim;

// A whole argument read as a number: an integer that fits 64 bits, else a decimal or scientific
// number; anything else is no number.
std::optional<Variant> ReadNumber(std::string_view text) {
  std::string_view digits = text;
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  if (digits.empty()) return std::nullopt;
  const char first = digits.front() == '-' && digits.size() > 1 ? digits[1] : digits.front();
  if (!std::isdigit(static_cast<unsigned char>(first)) && first != '.') return std::nullopt;
  const char* begin = digits.data();
  const char* end = begin + digits.size();
  int64_t integer = 0;
  auto [intEnd, intError] = std::from_chars(begin, end, integer);
  if (intError == std::errc() && intEnd == end) return Variant(integer);
  double real = 0;
  auto [realEnd, realError] = std::from_chars(begin, end, real);
  if (realError == std::errc() && realEnd == end) return Variant(real);
  return std::nullopt;
}

// One argument from `pos` up to the next comma outside quotes; `pos` ends on that comma or at the
// end. Sets `present` false for an argument of blanks only.
bool ReadArgument(std::string_view text, size_t& pos, Variant& value, bool& present,
                  std::string& error) {
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  present = pos < text.size() && text[pos] != ',';
  if (!present) return true;
  if (text[pos] == '\'') {
    std::string content;
    ++pos;
    bool closed = false;
    while (pos < text.size()) {
      if (text[pos] == '\'') {
        if (pos + 1 < text.size() && text[pos + 1] == '\'') {
          content += '\'';
          pos += 2;
          continue;
        }
        ++pos;
        closed = true;
        break;
      }
      content += text[pos++];
    }
    if (!closed) {
      error = "Unclosed quote in EXEC arguments";
      return false;
    }
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    if (pos < text.size() && text[pos] != ',') {
      error = "Unexpected text after a quoted EXEC argument: " + std::string(text.substr(pos));
      return false;
    }
    value = Variant(std::move(content));
    return true;
  }
  const size_t comma = text.find(',', pos);
  const size_t end = comma == std::string_view::npos ? text.size() : comma;
  const std::string_view word = Trim(text.substr(pos, end - pos));
  pos = end;
  if (word.find('\'') != std::string_view::npos) {
    error = "A quote inside an unquoted EXEC argument: " + std::string(word);
    return false;
  }
  if (EqualsNoCase(word, "NULL")) {
    value = Variant::Null();
  } else if (auto number = ReadNumber(word)) {
    value = std::move(*number);
  } else {
    value = Variant(word);
  }
  return true;
}

}  // namespace

bool IsExecCommand(std::string_view text) {
  text = Trim(text);
  return text.size() >= 4 && EqualsNoCase(text.substr(0, 4), "EXEC") &&
         (text.size() == 4 || IsBlank(text[4]));
}

std::optional<ExecCommand> ParseExecCommand(std::string_view text, std::string& error) {
  if (!IsExecCommand(text)) {
    error = "Not an EXEC command";
    return std::nullopt;
  }
  text = Trim(text).substr(4);
  size_t pos = 0;
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  ExecCommand command;
  if (pos < text.size() && text[pos] == '[') {
    const size_t close = text.find(']', pos);
    if (close == std::string_view::npos) {
      error = "Unclosed bracket in EXEC name";
      return std::nullopt;
    }
    command.name = std::string(text.substr(pos + 1, close - pos - 1));
    pos = close + 1;
  } else {
    const size_t start = pos;
    while (pos < text.size() && !IsBlank(text[pos]) && text[pos] != ',') ++pos;
    command.name = std::string(text.substr(start, pos - start));
  }
  if (Trim(command.name).empty()) {
    error = "EXEC without a name";
    return std::nullopt;
  }
  if (pos < text.size() && !IsBlank(text[pos])) {
    error = "EXEC name must be followed by a blank: " + std::string(text);
    return std::nullopt;
  }

  const std::string_view args = text.substr(pos);
  if (Trim(args).empty()) return command;
  size_t at = 0;
  while (true) {
    Variant value;
    bool present = false;
    if (!ReadArgument(args, at, value, present, error)) return std::nullopt;
    const bool last = at >= args.size();
    if (!present && !last) {
      error = "Empty EXEC argument " + std::to_string(command.arguments.size() + 1);
      return std::nullopt;
    }
    if (present) command.arguments.push_back(std::move(value));
    if (last) break;
    ++at;  // the comma
  }
  return command;
}

}  // namespace kivdb
