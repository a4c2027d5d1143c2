#pragma once
// EXEC commands: "EXEC name arg1, arg2, ..." names a saved query (or a table or view) and the
// values for its parameters. This is the pure parsing step (ParseExecCommand, public in
// <kivdb/command_syntax.h>); each provider decides how to run it.

#include <string_view>

#include <kivdb/command_syntax.h>

namespace kivdb {

// True when the text (after leading blanks) starts with the word EXEC, in any case.
bool IsExecCommand(std::string_view text);

}  // namespace kivdb
