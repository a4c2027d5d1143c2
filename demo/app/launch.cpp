#include "demo/app/launch.h"

#include <algorithm>
#include <cctype>
#include <system_error>

namespace kivdb::demo {
namespace {

namespace fs = std::filesystem;

bool Set(const char* value) {
  return value && *value;
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

}  // namespace

const char* const kUsage =
    "Usage: KivDBDemo [DBFILE | --connect CONNECTION-STRING] [--open NODE-PATH]\n"
    "  DBFILE      an SQLite database holding the schemes XST1, XST2 and XST3\n"
    "  --connect   any connection string (\"Provider=SQLite;Data Source=...\" or ODBC)\n"
    "  --open      a node to open at start, by its path (\"Data Browser\\Sales Overview\")\n"
    "  --version   print the version of the KivDB library it runs with\n"
    "Without a database it opens the one used last, the first time the demo database built by\n"
    "`make demo`.\n";

const char* const kNoDisplayMessage =
    "KivDBDemo: no display to show its window on (set DISPLAY or WAYLAND_DISPLAY, or run it "
    "under xvfb-run)";

LaunchRequest ParseCommandLine(const std::vector<std::string>& args) {
  LaunchRequest request;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "-h" || arg == "--help") {
      request.kind = LaunchRequest::Kind::Help;
      return request;
    }
    if (arg == "--version") {
      request.kind = LaunchRequest::Kind::Version;
      return request;
    }
    if (arg == "--open") {
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        request.error = "--open needs the path of a node";
        return request;
      }
      request.open = args[++i];
      continue;
    }
    if (request.kind != LaunchRequest::Kind::Default) {
      request.error = "give one database only (extra argument \"" + arg + "\")";
      return request;
    }
    if (arg == "--connect" || arg.starts_with("--connect=")) {
      if (arg == "--connect") {
        if (i + 1 >= args.size()) {
          request.error = "--connect needs a connection string";
          return request;
        }
        request.value = args[++i];
      } else {
        request.value = arg.substr(10);
      }
      if (request.value.empty()) {
        request.error = "--connect needs a connection string";
        return request;
      }
      request.kind = LaunchRequest::Kind::Connect;
    } else if (arg.starts_with("-") && arg != "-") {
      request.error = "unknown option " + arg;
      return request;
    } else {
      request.kind = LaunchRequest::Kind::File;
      request.value = arg;
    }
  }
  return request;
}

std::string SqliteConnectionString(const fs::path& file) {
  const std::string path = fs::absolute(file).lexically_normal().string();
  if (path.find_first_of(";{}'\"") == std::string::npos) {
    return "Provider=SQLite;Data Source=" + path;
  }
  std::string braced = "{";
  for (const char c : path) {
    braced += c;
    if (c == '}') braced += '}';
  }
  return "Provider=SQLite;Data Source=" + braced + "}";
}

bool DisplayConfigured(const std::function<const char*(const char*)>& getenv) {
  return Set(getenv("QT_QPA_PLATFORM")) || Set(getenv("DISPLAY")) || Set(getenv("WAYLAND_DISPLAY"));
}

std::optional<DemoFiles> FindDemoFiles(const fs::path& programFolder) {
  const fs::path candidates[] = {programFolder.parent_path(),
                                 programFolder.parent_path() / "share" / "kivdb" / "demo"};
  std::error_code error;
  for (const fs::path& folder : candidates) {
    if (fs::is_regular_file(folder / "kestrel.db", error)) {
      return DemoFiles{folder / "kestrel.db", folder / "site"};
    }
  }
  return std::nullopt;
}

bool CopyMissingPictures(const fs::path& from, const fs::path& to) {
  std::error_code error;
  fs::create_directories(to, error);
  fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::skip_existing, error);
  return !error;
}

bool HoldsPassword(const std::string& connectionString) {
  const std::string text = Lower(connectionString);
  for (const char* key : {"pwd", "password"}) {
    for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + 1)) {
      size_t before = at;
      while (before > 0 && text[before - 1] == ' ') --before;
      size_t after = at + std::char_traits<char>::length(key);
      while (after < text.size() && text[after] == ' ') ++after;
      if ((before == 0 || text[before - 1] == ';') && after < text.size() && text[after] == '=')
        return true;
    }
  }
  return false;
}

}  // namespace kivdb::demo
