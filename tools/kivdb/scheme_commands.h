#pragma once
// `kivdb schemes push|pull|undo` and `kivdb check`: the schemes between the wizard's text files
// and the application's database, and the check of a database's schemes against its queries.
// main() adds them to its command line and asks them to run after parsing.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace kivdb::tool {

// Exit statuses of check (and of the scheme commands): 0 clean, 1 findings or a refused or failed
// command, 2 the database could not be reached.
inline constexpr int kExitFindings = 1;
inline constexpr int kExitNoConnection = 2;

struct SchemeOptions {
  std::string connect;
  std::string nav;  // XST1.txt
  std::string web;  // XST2.txt
  std::string pageTemplate = "starter";
  bool force = false;
  std::string out;
  std::optional<int> role;
  std::string format = "text";
  int queryTimeout = 30;
};

class SchemeCommands {
 public:
  // Adds `schemes` (push, pull, undo) and `check` to `app`.
  explicit SchemeCommands(CLI::App& app);
  // The exit status of the command the line chose, or nothing when it chose none of these.
  std::optional<int> Run(std::ostream& out, std::ostream& err) const;

 private:
  SchemeOptions options_;
  CLI::App* push_ = nullptr;
  CLI::App* pull_ = nullptr;
  CLI::App* undo_ = nullptr;
  CLI::App* check_ = nullptr;
};

int RunPush(const SchemeOptions& options, std::ostream& out, std::ostream& err);
int RunPull(const SchemeOptions& options, std::ostream& out, std::ostream& err);
int RunUndo(const SchemeOptions& options, std::ostream& out, std::ostream& err);
int RunCheck(const SchemeOptions& options, std::ostream& out, std::ostream& err);

}  // namespace kivdb::tool
