// The wizard's windows with a large design, offscreen: loading 10,000 nodes and 20,000
// paragraphs from their files and drawing them into the real tree and grids (goal: at most 1 s),
// and one node click that filters the XST2 grid and scrolls the XST1 grid (goal: at most 50 ms).

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "wizard/model/nav_schemes.h"
#include "wizard/ui/f_main.h"
#include "wizard/ui/scheme_grid.h"
#include "wizard/ui/scheme_tree_view.h"

namespace {

namespace fs = std::filesystem;

constexpr int kNodes = 10000;

struct Design {
  std::string nav;
  std::string web;
};

std::shared_ptr<kivwz::clsNavScheme> MakeNode(kivwz::Long id, kivwz::Long parent,
                                              const char* type) {
  auto node = std::make_shared<kivwz::clsNavScheme>();
  node->ID(id);
  node->parentIs = parent;
  node->descriptionIs = "Node " + std::to_string(id);
  node->typeIs(type);
  node->queryIs(std::string(type) == "G" || std::string(type) == "R" ? "spG_Q" : "");
  node->iconIs = "leaf";
  return node;
}

// Sections of eight below the root: a fixed node holding a generating node with one child, a
// recurring node and four leaves; leaves below the root up to 10,000 nodes; two paragraphs per
// node.
const Design& Files() {
  static const Design design = [] {
    kivwz::clsNavSchemes navs;
    navs.Add(MakeNode(1, 0, "F"));
    kivwz::Long id = 2;
    while (id + 8 <= kNodes + 1) {
      const kivwz::Long section = id;
      navs.Add(MakeNode(id++, 1, "F"));
      const kivwz::Long generating = id;
      navs.Add(MakeNode(id++, section, "G"));
      navs.Add(MakeNode(id++, generating, "N"));
      navs.Add(MakeNode(id++, section, "R"));
      for (int leaf = 0; leaf < 4; ++leaf) navs.Add(MakeNode(id++, section, "N"));
    }
    while (id <= kNodes) navs.Add(MakeNode(id++, 1, "N"));
    kivwz::Long paragraph = 1;
    for (const auto& node : navs) {
      for (kivwz::Long seq = 1; seq <= 2; ++seq) {
        auto web = std::make_shared<kivwz::clsWebScheme>();
        web->ID(paragraph++);
        web->XST1 = node->ID();
        web->seqNo = seq;
        web->titleIs = "Paragraph of node " + std::to_string(node->ID());
        web->queryIs = "spW_Q";
        web->typeIs = "S";
        navs.oWebs.Add(web);
      }
    }
    const fs::path dir = fs::temp_directory_path() / ("kivwz-bench-ui-" + std::to_string(getpid()));
    fs::create_directories(dir);
    Design files{(dir / "XST1.txt").string(), (dir / "XST2.txt").string()};
    if (!navs.SaveData(files.nav) || !navs.SaveWeb(files.web)) std::abort();
    return files;
  }();
  return design;
}

// What the user waits for: the files read, tree and grids drawn and laid out.
void Settle(kivwz::fMain& main) {
  main.NavGrid().Flush();
  main.WebGrid().Flush();
  QApplication::processEvents();
}

std::unique_ptr<kivwz::fMain> ShownWindow() {
  auto main = std::make_unique<kivwz::fMain>();
  main->resize(1400, 860);
  main->show();
  QApplication::processEvents();
  return main;
}

void BM_LoadAndDrawLargeDesign(benchmark::State& state) {
  const Design& files = Files();
  auto main = ShownWindow();
  for (auto _ : state) {
    main->Commands().LoadFiles(files.nav, files.web);
    Settle(*main);
  }
  state.counters["nodes"] = static_cast<double>(main->oNavs.Count());
  state.counters["paragraphs"] = static_cast<double>(main->oNavs.oWebs.Count());
  state.counters["xst2_rows"] = main->WebGrid().RowCount() - 1;
}
BENCHMARK(BM_LoadAndDrawLargeDesign)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_NodeClickFiltersParagraphs(benchmark::State& state) {
  const Design& files = Files();
  auto main = ShownWindow();
  main->Commands().LoadFiles(files.nav, files.web);
  Settle(*main);
  // Two nodes far apart, clicked in turn, so every click filters and scrolls anew.
  const std::string keys[] = {"N9003", "N4011"};
  for (const std::string& key : keys) main->Tree().EnsureVisible(key);
  int turn = 0;
  for (auto _ : state) {
    const std::string& key = keys[turn++ % 2];
    main->Tree().Select(key);
    main->Commands().NodeClicked(key.substr(1));
    Settle(*main);
  }
  state.counters["xst2_rows"] = main->WebGrid().RowCount() - 1;
  state.counters["xst1_top_row"] = main->NavGrid().TopRow();
}
BENCHMARK(BM_NodeClickFiltersParagraphs)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  fs::remove_all(fs::path(Files().nav).parent_path());
  return 0;
}
