#include "wizard/ui/desktop_main.h"

#include <QApplication>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "wizard/ui/f_main.h"

namespace kivwz {
namespace {

constexpr std::string_view kCommands[] = {"check-nav", "nav-todo", "check-web",
                                          "web-todo",  "renumber", "check"};

// A platform named outright is trusted; otherwise an X11 or Wayland display must be there.
bool HasDisplay() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform != nullptr && *platform != '\0') return true;
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 != nullptr && *x11 != '\0') || (wayland != nullptr && *wayland != '\0');
}

}  // namespace

bool WantsWindow(int argc, char** argv) {
  if (argc > 3) return false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument.empty() || argument.front() == '-') return false;
    for (const std::string_view command : kCommands) {
      if (argument == command) return false;
    }
    // A mistyped command is no file name: it goes to the commands, which say what is wrong.
    std::error_code error;
    const bool looksLikeFile = argument.find_first_of("./") != std::string_view::npos ||
                               std::filesystem::exists(std::filesystem::path(argument), error);
    if (!looksLikeFile) return false;
  }
  return true;
}

int RunDesktop(int argc, char** argv, std::ostream& err) {
  if (!HasDisplay()) {
    err << "KivWZ: no display to open the wizard's window on (set DISPLAY, or run a headless "
           "command: KivWZ --help)\n";
    return 2;
  }
  const std::string navFile = argc > 1 ? argv[1] : "";
  const std::string webFile = argc > 2 ? argv[2] : "";
  QApplication app(argc, argv);
  // No display name: Qt would add it to every window title, which must read as the wizard
  // gives it. Message boxes take the program's name from the application name.
  QApplication::setApplicationName(QStringLiteral("KivWZ"));
  QCoreApplication::setOrganizationName(QStringLiteral("KivDB"));
  fMain main;
  // The size of the last session, or most of the screen: a window manager that maximises does
  // so, one that does not (or none) still leaves room for both grids and the legend.
  QSettings settings;
  if (main.restoreGeometry(settings.value(QStringLiteral("geometry")).toByteArray())) {
    main.show();
  } else {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      main.setGeometry(fMain::DefaultGeometry(screen->availableGeometry()));
    }
    main.showMaximized();
  }
  QObject::connect(&app, &QCoreApplication::aboutToQuit, &main, [&main] {
    QSettings().setValue(QStringLiteral("geometry"), main.saveGeometry());
  });
  // The start-up sequence opens modal windows: it runs once the event loop is going.
  QTimer::singleShot(0, &main, [&main, navFile, webFile] { main.Start(navFile, webFile); });
  return QApplication::exec();
}

}  // namespace kivwz
