#pragma once
// How KivDBDemo was asked to start: its command line, whether a display can be reached, and where
// the demo database built by `make demo` (or installed with the program) lies.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kivdb::demo {

struct LaunchRequest {
  enum class Kind { Default, File, Connect, Help, Version };
  Kind kind = Kind::Default;
  std::string value;  // the database file or the connection string
  std::string open;   // --open: the full path of a node to open once the tree is there
  std::string error;  // not empty: the command line is wrong and this says why
};

// `KivDBDemo [DBFILE | --connect CS] [--open NODE-PATH]`, `-h`/`--help`, `--version`; `args`
// without the program name.
LaunchRequest ParseCommandLine(const std::vector<std::string>& args);
extern const char* const kUsage;

// The connection string that opens an SQLite file (a path holding ";" or braces goes between
// braces, "}" doubled).
std::string SqliteConnectionString(const std::filesystem::path& file);

// True when a windowing system can be asked for: QT_QPA_PLATFORM names one, or DISPLAY or
// WAYLAND_DISPLAY is set. `getenv` reads an environment variable (null when unset).
bool DisplayConfigured(const std::function<const char*(const char*)>& getenv);
extern const char* const kNoDisplayMessage;

// The demo database and its pictures: beside the program in the build tree
// (build/demo/app/KivDBDemo -> build/demo/kestrel.db, build/demo/site) or where `make install`
// puts them (PREFIX/bin -> PREFIX/share/kivdb/demo/kestrel.db and .../site).
struct DemoFiles {
  std::filesystem::path database;
  std::filesystem::path pictures;
};
std::optional<DemoFiles> FindDemoFiles(const std::filesystem::path& programFolder);

// Copies the pictures of `from` (with its subfolders) into `to`, leaving files already there as
// they are; false when a picture could not be copied.
bool CopyMissingPictures(const std::filesystem::path& from, const std::filesystem::path& to);

// Connection strings holding a password are not kept in the settings file.
bool HoldsPassword(const std::string& connectionString);

}  // namespace kivdb::demo
