// KivDBDemo: the desktop host of the report control, on the demo database or any other.

#include <kivdb/version.h>
#include <unistd.h>
#include <QApplication>
#include <QCoreApplication>
#include <QStandardPaths>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "demo/app/launch.h"
#include "demo/app/main_window.h"

namespace {

namespace demo = kivdb::demo;

QStringList startupWarnings;

// Qt ends the process when it cannot reach the display it was told to use, after a few warnings;
// say so in one line instead and end with the same status as when no display is set at all.
void StartupMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type != QtFatalMsg) {
    if (type != QtDebugMsg && type != QtInfoMsg) startupWarnings << text;
    return;
  }
  const QString reason =
      (startupWarnings.isEmpty() ? text : startupWarnings.first()).section('\n', 0, 0);
  std::fprintf(stderr, "%s: %s\n", demo::kNoDisplayMessage, qPrintable(reason));
  std::fflush(stderr);
  std::_Exit(2);
}

std::filesystem::path Folder(QStandardPaths::StandardLocation location) {
  return QStandardPaths::writableLocation(location).toStdString();
}

}  // namespace

int main(int argc, char** argv) {
  const demo::LaunchRequest request =
      demo::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  if (request.kind == demo::LaunchRequest::Kind::Help) {
    std::cout << demo::kUsage;
    return 0;
  }
  if (request.kind == demo::LaunchRequest::Kind::Version) {
    std::cout << "KivDBDemo " << kivdb::LibraryVersion() << "\n";
    return 0;
  }
  if (!request.error.empty()) {
    std::cerr << "KivDBDemo: " << request.error << "\n" << demo::kUsage;
    return 2;
  }
  if (!demo::DisplayConfigured(std::getenv)) {
    std::cerr << demo::kNoDisplayMessage << "\n";
    return 2;
  }
  std::string connection;
  if (request.kind == demo::LaunchRequest::Kind::File) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(request.value, error)) {
      std::cerr << "KivDBDemo: no database file " << request.value << "\n";
      return 1;
    }
    connection = demo::SqliteConnectionString(request.value);
  } else if (request.kind == demo::LaunchRequest::Kind::Connect) {
    connection = request.value;
  }

  // The browser engine's sandbox cannot run as root.
  if (geteuid() == 0) setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
  // The engine's account of its graphics set-up is for those debugging it, not for every start.
  setenv("QT_LOGGING_RULES", "qt.webenginecontext=false", 0);
  qInstallMessageHandler(StartupMessages);
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  qInstallMessageHandler(nullptr);
  for (const QString& warning : startupWarnings) std::fprintf(stderr, "%s\n", qPrintable(warning));
  QCoreApplication::setOrganizationName("KivDB");
  QCoreApplication::setApplicationName("KivDBDemo");

  demo::MainWindowSetup setup;
  setup.settingsFile = Folder(QStandardPaths::AppConfigLocation) / "KivDBDemo.ini";
  setup.pagesFolder = Folder(QStandardPaths::AppLocalDataLocation) / "pages";
  setup.demo = demo::FindDemoFiles(QCoreApplication::applicationDirPath().toStdString());
  demo::MainWindow window(std::move(setup));
  window.show();
  if (connection.empty()) {
    window.OpenDefaultDatabase();
  } else {
    window.OpenDatabase(connection);
  }
  if (!request.open.empty()) window.OpenNode(request.open);
  return app.exec();
}
