#include "editor_test_support.h"

namespace kivwz::test {

QApplication& App() {
  static int argc = 1;
  static char name[] = "kivwz_editor_tests";
  static char* argv[] = {name, nullptr};
  static auto* app = new QApplication(argc, argv);  // lives until the process ends
  return *app;
}

}  // namespace kivwz::test
