#include "tests/tools/program_run.h"

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <regex>

#include "tests/control/core/control_harness.h"

namespace kivdb::testing {

namespace fs = std::filesystem;

std::string ShellQuote(const std::string& text) {
  std::string out = "'";
  for (const char c : text) {
    if (c == '\'') {
      out += "'\\''";
    } else {
      out += c;
    }
  }
  return out + "'";
}

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const fs::path& folder) {
  std::string command = "cd " + ShellQuote(folder.string()) + " && " + ShellQuote(program);
  for (const std::string& arg : args) command += " " + ShellQuote(arg);
  command += " > out.txt 2> err.txt";
  const int raw = std::system(command.c_str());
  ProgramRun run;
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.out = ReadFile(folder / "out.txt");
  run.err = ReadFile(folder / "err.txt");
  return run;
}

DemoExport ExportDemo(const std::vector<std::string>& extraArgs) {
  DemoExport demo;
  demo.folder = FreshFolder();
  demo.site = demo.folder / "site";
  demo.database = demo.folder / "kestrel.db";
  fs::copy_file(KIVDB_DEMO_DATABASE, demo.database);
  fs::copy(KIVDB_DEMO_SITE, demo.site, fs::copy_options::recursive);
  demo.connect = "Provider=SQLite;Data Source=" + demo.database.string();
  std::vector<std::string> args = {"export", "--connect", demo.connect, "--out",
                                   demo.site.string()};
  args.insert(args.end(), extraArgs.begin(), extraArgs.end());
  demo.run = RunProgram(KIVDB_PROGRAM, args, demo.folder);
  return demo;
}

std::vector<std::pair<int, fs::path>> PageFiles(const fs::path& site) {
  static const std::regex kPage(R"(page-(\d+)\.htm)");
  std::vector<std::pair<int, fs::path>> pages;
  for (const auto& entry : fs::directory_iterator(site)) {
    std::smatch match;
    const std::string name = entry.path().filename().string();
    if (std::regex_match(name, match, kPage)) pages.emplace_back(std::stoi(match[1]), entry.path());
  }
  std::sort(pages.begin(), pages.end());
  return pages;
}

}  // namespace kivdb::testing
