#pragma once
// The desktop side of KivWZ: whether a command line asks for the window, and running it.

#include <ostream>

namespace kivwz {

// True for no arguments or for one or two file names: no headless command, no option, and each
// argument an existing file or a name with a dot or a slash in it.
bool WantsWindow(int argc, char** argv);

// Opens the main window, runs the start-up sequence, then loads the files named on the command
// line (the navigation scheme first, then the web display scheme). Without a display it says so
// in one line on err and returns 2; otherwise returns when the window has closed.
int RunDesktop(int argc, char** argv, std::ostream& err);

}  // namespace kivwz
