// The wizard's whole-scheme work at two sizes: a navigation scheme of N nodes and 2N paragraphs
// loaded from its files, renumbered, analysed, listed and drawn into in-memory views. The work
// should grow linearly: the run with 100,000 nodes should take at most 12 times the run with
// 10,000. BM_WholeScheme reads a file in the order the wizard writes it; BM_WholeSchemeShuffled
// one whose lines come in random order.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "wizard/model/memory_views.h"
#include "wizard/model/nav_schemes.h"

namespace {

namespace fs = std::filesystem;

struct SchemeFiles {
  std::string nav;
  std::string web;
};

enum class LineOrder {
  Tree,      // as the wizard writes the file: each node before its subtree, then its siblings
  Shuffled,  // any order at all, so every walk jumps around in memory
};

// A scheme shaped like a real one: fixed sections eight wide, each holding a generating node with
// a non-generating child, a recurring node and a leaf, and two paragraphs per node (one in a
// hundred naming no node). IDs are shuffled so that renumbering moves every node.
SchemeFiles WriteScheme(int nodes, LineOrder order) {
  std::mt19937 random(20240607);
  std::vector<int> ids(static_cast<std::size_t>(nodes) - 1);
  std::iota(ids.begin(), ids.end(), 2);
  std::shuffle(ids.begin(), ids.end(), random);

  struct Row {
    int id, parent;
    char type;
  };
  std::vector<Row> rows{{1, 0, 'F'}};
  std::vector<int> fixed{1};
  int generating = 1;
  for (int i = 1; i < nodes; ++i) {
    const int id = ids[static_cast<std::size_t>(i) - 1];
    switch (i % 5) {
      case 0:  // a new fixed section below an earlier one
        rows.push_back({id, fixed[(fixed.size() - 1) / 8], 'F'});
        fixed.push_back(id);
        break;
      case 1:
        rows.push_back({id, fixed.back(), 'G'});
        generating = id;
        break;
      case 2:
        rows.push_back({id, generating, 'N'});
        break;
      case 3:
        rows.push_back({id, fixed.back(), 'R'});
        break;
      default:
        rows.push_back({id, fixed.back(), 'N'});
    }
  }
  std::shuffle(rows.begin() + 1, rows.end(), random);

  const std::string base =
      (fs::temp_directory_path() /
       ("bench-wizard-" + std::to_string(::getpid()) + "-" + std::to_string(nodes)))
          .string();
  SchemeFiles files{base + "-XST1.txt", base + "-XST2.txt"};
  {
    std::ofstream nav(files.nav, std::ios::binary);
    nav << "\"ID\",\"descriptionIs\",\"typeIs\",\"parentIs\",\"queryIs\",\"parmIs\",\"iconIs\","
           "\"roleIs\"\r\n";
    for (const Row& row : rows) {
      const bool query = row.type == 'G' || row.type == 'R';
      nav << row.id << ",\"Node " << row.id << "\",\"" << row.type << "\"," << row.parent << ",\""
          << (query ? "spG_Node" + std::to_string(row.id) + " 'x'," : "") << "\",\""
          << (query ? "LKey" : "") << "\",\"leaf\",\"\"\r\n";
    }
  }
  std::vector<int> nodeOrder;
  kivwz::clsNavSchemes written;
  written.LoadData(files.nav);
  if (order == LineOrder::Tree) {
    written.SaveData(files.nav);
    written.LoadData(files.nav);
  }
  for (const auto& node : written) nodeOrder.push_back(node->ID());

  std::ofstream web(files.web, std::ios::binary);
  web << "\"ID\",\"XST1\",\"seqNo\",\"titleIs\",\"queryIs\",\"parmIs\",\"typeIs\",\"formIs\","
         "\"colsAre\",\"extra\"\r\n";
  const char types[] = "CHEMIST";
  for (int p = 0; p < 2 * nodes; ++p) {
    const int node = p % 100 == 99 ? nodes + 10 + p : nodeOrder[static_cast<std::size_t>(p / 2)];
    web << p + 1 << ',' << node << ',' << (p % 2) + 1 << ",\"Paragraph " << p + 1 << "\",\"spW_P"
        << p + 1 << "\",\"LKey\",\"" << types[p % 7] << "\"," << p % 3 << ",\""
        << (p % 4 ? "All" : "") << "\",\"\"\r\n";
  }
  return files;
}

void WholeScheme(benchmark::State& state, LineOrder order) {
  const int nodes = static_cast<int>(state.range(0));
  const SchemeFiles files = WriteScheme(nodes, order);
  std::size_t textBytes = 0;
  for (auto _ : state) {
    kivwz::clsNavSchemes navs;
    kivwz::MemoryTreeView tree;
    kivwz::MemoryGrid navGrid;
    kivwz::MemoryGrid webGrid;
    navs.SetTreeview(&tree);
    navs.SetGrid(&navGrid);
    navs.oWebs.SetGrid(&webGrid, 40, 300, 9000, 3000);
    if (!navs.LoadData(files.nav) || !navs.LoadWeb(files.web)) {
      state.SkipWithError("cannot load the scheme files");
      break;
    }
    navs.Renumber();  // draws the tree and both grids
    textBytes = navs.CheckNav().size() + navs.NavToDo().size() +
                navs.oWebs.CheckScheme(navs).size() + navs.oWebs.WebToDo().size();
    navs.OnTreeNodeClick("N2");
    navs.DispInTV();
    navs.DispOrphans();
    benchmark::DoNotOptimize(textBytes);
    benchmark::DoNotOptimize(tree.NodeCount());
  }
  state.counters["nodes"] = nodes;
  state.counters["report_bytes"] = static_cast<double>(textBytes);
  fs::remove(files.nav);
  fs::remove(files.web);
}
void BM_WholeScheme(benchmark::State& state) {
  WholeScheme(state, LineOrder::Tree);
}
void BM_WholeSchemeShuffled(benchmark::State& state) {
  WholeScheme(state, LineOrder::Shuffled);
}
BENCHMARK(BM_WholeScheme)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WholeSchemeShuffled)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Keeps each run's time so the ratio of the two sizes can be reported at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
        times_[run.benchmark_name()] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  // Real time is the measure; CPU time is printed beside it because on a machine shared with
  // other work the real time of the long run also counts the time it waited.
  void Finalize() override {
    ConsoleReporter::Finalize();
    for (const char* name : {"BM_WholeScheme", "BM_WholeSchemeShuffled"}) {
      const auto small = times_.find(std::string(name) + "/10000/real_time");
      const auto large = times_.find(std::string(name) + "/100000/real_time");
      if (small == times_.end() || large == times_.end() || small->second.real <= 0 ||
          small->second.cpu <= 0) {
        continue;
      }
      std::printf(
          "%s: 10,000 nodes %.1f ms, 100,000 nodes %.1f ms, ratio %.2f (goal <= 12); "
          "CPU time ratio %.2f\n",
          name, small->second.real, large->second.real, large->second.real / small->second.real,
          large->second.cpu / small->second.cpu);
    }
  }

 private:
  struct Times {
    double real;
    double cpu;
  };
  std::map<std::string, Times> times_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
