// KivWZ, the scheme wizard: the desktop window, or a headless command on scheme files.

#include <iostream>

#include "wizard/kivwz_commands.h"
#ifdef KIVWZ_DESKTOP
#include "wizard/ui/desktop_main.h"
#endif

int main(int argc, char** argv) {
#ifdef KIVWZ_DESKTOP
  if (kivwz::WantsWindow(argc, argv)) return kivwz::RunDesktop(argc, argv, std::cerr);
#endif
  return kivwz::RunKivWZ(argc, argv, std::cout, std::cerr);
}
