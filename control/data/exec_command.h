#pragma once
// EXEC commands: "EXEC name arg1, arg2, ..." names a saved query (or a table or view) and the
// values for its parameters. This is the pure parsing step; each provider decides how to run it.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <kivdb/variant.h>

namespace kivdb {

struct ExecCommand {
  std::string name;
  // Int64 or Double for numbers, Text for quoted text and bare words, Null for NULL.
  std::vector<Variant> arguments;
};

// True when the text (after leading blanks) starts with the word EXEC, in any case.
bool IsExecCommand(std::string_view text);

// Parses an EXEC command. The name may be written in brackets. Arguments are split at commas
// outside single quotes; each is a number, a 'quoted text' (two quotes stand for one), NULL, or a
// bare word taken as text; a trailing empty argument is ignored. Returns nothing, with the reason
// in `error`, for a command without a name, an unclosed quote, text after a closing quote or an
// empty argument before the last.
std::optional<ExecCommand> ParseExecCommand(std::string_view text, std::string& error);

}  // namespace kivdb
