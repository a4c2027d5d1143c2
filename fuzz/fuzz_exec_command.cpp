// EXEC commands of any bytes: the parser never crashes or throws, refuses with a message, and a
// command it accepts reads back the same when written out again with every argument quoted or
// spelled out.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "control/data/exec_command.h"
#include "fuzz/fuzz_support.h"

namespace {

using kivdb::Variant;

std::string Quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out + "'";
}

// The argument as EXEC text that reads back as the same value.
std::string Spelled(const Variant& value) {
  switch (value.GetKind()) {
    case Variant::Kind::Null:
      return "NULL";
    case Variant::Kind::Int64:
      return value.ToText();
    case Variant::Kind::Double: {
      char digits[64];
      std::snprintf(digits, sizeof digits, "%.17g", *value.ToDouble());
      std::string text = digits;
      // "5" would read back as a whole number.
      if (text.find_first_of(".e") == std::string::npos) text += ".0";
      return text;
    }
    default:
      return Quoted(value.ToText());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  (void)kivdb::IsExecCommand(input);
  std::string error;
  const std::optional<kivdb::ExecCommand> command = kivdb::ParseExecCommand(input, error);
  if (!command) {
    FUZZ_CHECK(!error.empty(), input);
    return 0;
  }
  FUZZ_CHECK(!command->name.empty(), input);
  for (const Variant& argument : command->arguments) {
    const Variant::Kind kind = argument.GetKind();
    FUZZ_CHECK(kind == Variant::Kind::Int64 || kind == Variant::Kind::Double ||
                   kind == Variant::Kind::Text || kind == Variant::Kind::Null,
               input);
  }

  // The name in brackets when it holds no "]" (the form that carries blanks and commas).
  if (command->name.find(']') != std::string::npos) return 0;
  std::string written = "EXEC [" + command->name + "] ";
  for (size_t i = 0; i < command->arguments.size(); ++i) {
    if (i > 0) written += ", ";
    written += Spelled(command->arguments[i]);
  }
  std::string again;
  const std::optional<kivdb::ExecCommand> reread = kivdb::ParseExecCommand(written, again);
  FUZZ_CHECK(reread.has_value(), written + "\n" + again);
  FUZZ_CHECK(reread->name == command->name, written);
  FUZZ_CHECK(reread->arguments.size() == command->arguments.size(), written);
  for (size_t i = 0; i < command->arguments.size(); ++i) {
    const Variant& a = command->arguments[i];
    const Variant& b = reread->arguments[i];
    FUZZ_CHECK(a.GetKind() == b.GetKind(), written);
    if (a.GetKind() == Variant::Kind::Double) {
      FUZZ_CHECK(*a.ToDouble() == *b.ToDouble() || (*a.ToDouble() != *a.ToDouble()), written);
    } else {
      FUZZ_CHECK(a.ToText() == b.ToText(), written);
    }
  }
  return 0;
}
