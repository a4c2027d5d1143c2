#pragma once
// The two command forms the DAL reads itself, EXEC and SHAPE, checked without running them: for
// tools that look over a design's queries before a database ever sees them.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <kivdb/export.h>
#include <kivdb/variant.h>

namespace kivdb {

// "EXEC name arg1, arg2, ...": a saved query (or a table or view) and the values for its
// parameters.
struct ExecCommand {
  std::string name;
  // Int64 or Double for numbers, Text for quoted text and bare words, Null for NULL.
  std::vector<Variant> arguments;
};

// Parses an EXEC command. The name may be written in brackets. Arguments are split at commas
// outside single quotes; each is a number, a 'quoted text' (two quotes stand for one), NULL, or a
// bare word taken as text; a trailing empty argument is ignored. Returns nothing, with the reason
// in `error`, for a command without a name, an unclosed quote, text after a closing quote or an
// empty argument before the last.
KIVDB_EXPORT std::optional<ExecCommand> ParseExecCommand(std::string_view text, std::string& error);

// Whether a whole SHAPE command reads; false, with a message naming the fault and the text near
// it in `error`, when it does not (unbalanced braces, a missing APPEND, RELATE or TO, a malformed
// name, text after the end, nesting too deep).
KIVDB_EXPORT bool CheckShapeCommand(std::string_view text, std::string& error);

}  // namespace kivdb
