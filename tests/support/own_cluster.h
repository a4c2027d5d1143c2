#pragma once
// A throwaway PostgreSQL cluster of the caller's own, started with scripts/pg-cluster in a fresh
// folder: for tests and benchmarks that freeze its postmaster (and so must disturb no one) or that
// want a server of their own. Stopped, thawed first, when it goes; the folder is removed.

#include <signal.h>
#include <sys/types.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <utility>

namespace kivdb::testing_support {

// The text between single quotes for a shell, every inner quote closed, escaped and reopened.
inline std::string ShellQuoted(const std::string& text) {
  std::string out = "'";
  for (const char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

class OwnCluster {
 public:
  // `script` is scripts/pg-cluster; `folder` is emptied and holds the cluster's state files.
  OwnCluster(std::string script, std::filesystem::path folder)
      : script_(std::move(script)), folder_(std::move(folder)) {
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    const std::string start = Command("start") + " > /dev/null";
    if (std::system(start.c_str()) != 0) return;
    connection_ = FirstLine(StateFile());
    const std::filesystem::path cluster = FirstLine(StateFile() + ".cluster");
    postmaster_ = std::atoi(FirstLine(cluster / "data" / "postmaster.pid").c_str());
  }
  ~OwnCluster() {
    if (!Stop()) std::fprintf(stderr, "the cluster in %s did not stop\n", folder_.c_str());
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  OwnCluster(const OwnCluster&) = delete;
  OwnCluster& operator=(const OwnCluster&) = delete;

  // Thaws the postmaster and stops the cluster (also what a failed start may have left); true
  // when it stopped. Once: later calls return true.
  bool Stop() {
    if (stopped_) return true;
    stopped_ = true;
    if (postmaster_ > 0) ::kill(postmaster_, SIGCONT);
    return std::system(Command("stop").c_str()) == 0;
  }

  // Started, with a connection string and a postmaster to freeze.
  bool Ready() const { return !stopped_ && !connection_.empty() && postmaster_ > 0; }
  const std::string& Connection() const { return connection_; }
  pid_t Postmaster() const { return postmaster_; }
  const std::filesystem::path& Folder() const { return folder_; }

 private:
  std::string StateFile() const { return (folder_ / "cluster.conn").string(); }
  std::string Command(const char* verb) const {
    return "bash " + ShellQuoted(script_) + " " + verb + " " + ShellQuoted(StateFile());
  }
  static std::string FirstLine(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
  }

  std::string script_;
  std::filesystem::path folder_;
  bool stopped_ = false;
  std::string connection_;
  pid_t postmaster_ = 0;
};

}  // namespace kivdb::testing_support
