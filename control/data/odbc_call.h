#pragma once
// The ODBC form of an EXEC command: the call escape "{CALL name(?, ?)}", which each driver turns
// into what its database runs (a function returning a table, a stored procedure). The arguments
// travel as bound parameters, never inside the command text.

#include <string>

#include "control/data/exec_command.h"

namespace kivdb {

// The call escape for `command`, with one parameter marker per argument. A name made of letters,
// digits, "_", "$" and "." (a schema before the name) stays as written, so that the database
// folds its case as it does for any name; any other name goes between `quote` characters (the
// driver's identifier quote, doubled inside), or as written when the driver has none (" ").
std::string CallEscape(const ExecCommand& command, const std::string& quote);

}  // namespace kivdb
