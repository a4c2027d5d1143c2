// `kivdb export --query-timeout 2` of a tree of many nodes while the server stops answering: the
// postmaster of a throwaway cluster is frozen (SIGSTOP) once the export has written its first
// page, so that every later connection attempt waits on a server that never replies. Prints the
// time the export took beside its bound, 3 s per node (goal: within it), and how it ended.
//
// KIVDB_BENCH_NODES sets the number of page nodes (default 20; each waits out its limit, so 400
// take about twenty minutes).

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "tests/control/core/scheme_fixture.h"
#include "tests/control/data/postgres_edition.h"
#include "tests/support/own_cluster.h"

namespace {

namespace fs = std::filesystem;
using kivdb::testing_support::OwnCluster;
using kivdb::testing_support::ShellQuoted;
using Clock = std::chrono::steady_clock;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "bench_frozen_export: %s\n", what.c_str());
  std::exit(1);
}

// The shop's page styles under a root of `nodes` page nodes, each showing one table: one read per
// node.
kivdb::fixture::SchemeFixture ManyNodes(int nodes) {
  using kivdb::fixture::kNull;
  auto scheme = kivdb::fixture::SchemeFixture::Standard();
  for (const long web : {5, 12, 13, 20, 30, 40, 41, 42, 50}) scheme.RemoveWeb(web);
  // The shop's own nodes (2 to 11) are replaced by the first of these.
  for (int i = 0; i < std::max(nodes, 10); ++i) {
    const long id = 2 + i;
    const bool page = i < nodes;
    scheme.Nav({id, "Node " + std::to_string(i), "N", page ? 1 : -1});
    if (page) scheme.Web({id, id, 1, "Salaries", "spW_Salaries", kNull, "S", kNull, kNull});
  }
  return scheme;
}

bool AnyPageUnder(const fs::path& folder) {
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(folder, error);
       !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    if (it->path().extension() == ".htm") return true;
  }
  return false;
}

}  // namespace

int main() {
  const char* setting = std::getenv("KIVDB_BENCH_NODES");
  const int nodes = setting ? std::atoi(setting) : 20;
  if (nodes < 1) Fail("KIVDB_BENCH_NODES must be 1 or more");

  int status = -1;
  double seconds = 0;
  std::string messages;
  {
    // A cluster of the run's own: it is the one whose postmaster gets frozen.
    OwnCluster cluster(KIVDB_PG_CLUSTER, fs::temp_directory_path() /
                                             ("kivdb_bench_frozen_" + std::to_string(::getpid())));
    // Fail ends the program without unwinding: the cluster is stopped first.
    if (!cluster.Ready()) {
      cluster.Stop();
      Fail("scripts/pg-cluster could not start a server");
    }
    const fs::path base = cluster.Folder();
    fs::create_directories(base / "site");
    const auto scheme = ManyNodes(nodes);
    std::vector<std::pair<std::string, std::string>> queries;
    for (const auto& q : scheme.Queries()) queries.emplace_back(q.name, q.sql);
    const std::string loaded = kivdb::testing_support::LoadPostgresEdition(
        cluster.Connection(), scheme.Statements(), queries);
    if (!loaded.empty()) {
      cluster.Stop();
      Fail("the scheme did not load: " + loaded);
    }

    const std::string command = ShellQuoted(KIVDB_PROGRAM) +
                                " export --query-timeout 2 --connect " +
                                ShellQuoted(cluster.Connection()) + " --out " +
                                ShellQuoted((base / "site" / "out").string()) + " > " +
                                ShellQuoted((base / "export.log").string()) + " 2>&1";
    const auto start = Clock::now();
    std::thread run([&] { status = std::system(command.c_str()); });
    while (!AnyPageUnder(base / "site") && Clock::now() - start < std::chrono::seconds(30))
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ::kill(cluster.Postmaster(), SIGSTOP);
    const auto frozen = Clock::now();
    run.join();
    seconds = std::chrono::duration<double>(Clock::now() - frozen).count();
    ::kill(cluster.Postmaster(), SIGCONT);
    std::ifstream log(base / "export.log");
    std::ostringstream text;
    text << log.rdbuf();
    messages = text.str();
  }

  const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  const bool named = messages.find("timed out") != std::string::npos;
  std::printf("export of %d page nodes against a frozen server, --query-timeout 2\n", nodes);
  std::printf("  KivDB: %.1f s after the freeze, exit %d, the timeout %s in its messages\n",
              seconds, code, named ? "named" : "not named");
  std::printf("  bound: %d nodes x 3 s = %d s (%s)\n", nodes, nodes * 3,
              seconds <= nodes * 3.0 ? "within" : "EXCEEDED");
  std::printf("  last lines of the export:\n");
  std::istringstream lines(messages);
  std::vector<std::string> all;
  for (std::string line; std::getline(lines, line);) all.push_back(line);
  for (size_t i = all.size() > 4 ? all.size() - 4 : 0; i < all.size(); ++i)
    std::printf("    %s\n", all[i].c_str());
  return 0;
}
