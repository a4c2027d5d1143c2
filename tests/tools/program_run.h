#pragma once
// Runs a built program the way a script runs it: through the shell, from a given folder, with
// its standard output and error sent to files; and exports the demo database into a folder with
// `kivdb export`, as `make demo` does.

#include <filesystem>
#include <string>
#include <vector>

namespace kivdb::testing {

struct ProgramRun {
  int status = -1;  // the exit status, -1 when the program did not exit normally
  std::string out;
  std::string err;
};

// The text between single quotes, as the shell reads it back.
std::string ShellQuote(const std::string& text);

// Runs `program ARGS...` in `folder`; the outputs go through out.txt and err.txt there.
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::filesystem::path& folder);

// A copy of the demo database and its pictures in a fresh folder, exported with `kivdb export`
// into folder/site. `extraArgs` go after --connect and --out.
struct DemoExport {
  std::filesystem::path folder;
  std::filesystem::path site;
  std::filesystem::path database;
  std::string connect;
  ProgramRun run;
};
DemoExport ExportDemo(const std::vector<std::string>& extraArgs);

// The page files of a site (page-N.htm), keyed by their number N.
std::vector<std::pair<int, std::filesystem::path>> PageFiles(const std::filesystem::path& site);

}  // namespace kivdb::testing
