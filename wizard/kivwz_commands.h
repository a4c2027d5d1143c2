#pragma once
// The headless commands of KivWZ: analyses, to-do lists and renumbering of scheme files, run
// without opening any window so that scripts and builds can use them.
//
// Exit status: 0 done; 1 `check` found an observation or an orphan; 2 a file could not be read or
// written, or the command line was wrong.

#include <ostream>

namespace kivwz {

int RunKivWZ(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace kivwz
