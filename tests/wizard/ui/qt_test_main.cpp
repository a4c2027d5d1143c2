// GoogleTest main for the wizard's Qt suites: one QApplication, offscreen unless told otherwise.

#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  // Named as the program names itself: message boxes carry this title.
  QApplication::setApplicationName(QStringLiteral("KivWZ"));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
