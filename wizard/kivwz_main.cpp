// KivWZ, the scheme wizard.

#include <iostream>

#include "wizard/kivwz_commands.h"

int main(int argc, char** argv) {
  return kivwz::RunKivWZ(argc, argv, std::cout, std::cerr);
}
