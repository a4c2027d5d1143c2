// KivDBDemo from a click on a tree node to the report view's loadFinished, for a page whose one
// show-table paragraph lists 10,000 rows (goal: at most 1 s) and 100,000 rows (reported only).
// The window runs offscreen on a copy of the demo database with one node added per size, with
// fresh settings: the page options' default row cap (1,000 rows a table) is in force.

#include <benchmark/benchmark.h>

#include <unistd.h>
#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QTest>
#include <QTreeWidget>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>

#include <kivdb/dal.h>
#include <kivdb/qt/qt_browser.h>
#include <kivdb/qt/qt_tree_view.h>
#include "demo/app/main_window.h"
#include "demo/app/page_options.h"

namespace {

namespace fs = std::filesystem;
using kivdb::demo::MainWindow;

struct Bench {
  fs::path folder;
  std::string connection;
  std::unique_ptr<MainWindow> window;
  bool bareHead = false;  // the page head's style sheet taken out
};

void Exec(kivdb::DAL& dal, const std::string& sql) {
  if (!dal.ExecSQL(sql)) throw std::runtime_error(sql + ": " + dal.LastError());
}

// The demo database with a table of 100,000 rows and two nodes, "Rows 10000" and "Rows 100000",
// each showing one S paragraph over the first N of them.
Bench& Shared() {
  static Bench bench = [] {
    Bench b;
    b.folder = fs::temp_directory_path() / ("kivdb-bench-qt-" + std::to_string(getpid()));
    fs::remove_all(b.folder);
    fs::create_directories(b.folder / "pages");
    fs::copy_file(KIVDB_DEMO_DATABASE, b.folder / "kestrel.db");
    kivdb::DAL dal;
    const std::string connection =
        "Provider=SQLite;Data Source=" + (b.folder / "kestrel.db").string();
    dal.ConnectionString(connection);
    dal.TransBegin();
    Exec(dal,
         "CREATE TABLE Big (ID INTEGER PRIMARY KEY, Name VARCHAR(30), Qty INTEGER, "
         "Amount CURRENCY, Day DATE)");
    Exec(dal,
         "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000) "
         "INSERT INTO Big SELECT i, 'Item ' || i, i % 97, round(i * 1.25, 2), "
         "date('2024-01-01', '+' || (i % 365) || ' days') FROM n");
    for (const int rows : {10000, 100000}) {
      const std::string id = rows == 10000 ? "16" : "17";
      Exec(dal, "INSERT INTO XSP VALUES ('spW_Big" + id +
                    "', 'SELECT ID, Name, Qty, Amount, Day "
                    "FROM Big WHERE ID <= " +
                    std::to_string(rows) + " ORDER BY ID')");
      Exec(dal, "INSERT INTO XST1 VALUES (" + id + ", 'Rows " + std::to_string(rows) +
                    "', 'N', 1, '', '', 'book', '')");
      Exec(dal, "INSERT INTO XST2 VALUES (" + std::to_string(100 + rows / 10000) + ", " + id +
                    ", 1, 'Rows', 'spW_Big" + id + "', 'None', 'S', 0, 'All', '')");
    }
    dal.TransCommit();

    kivdb::demo::MainWindowSetup setup;
    setup.settingsFile = b.folder / "KivDBDemo.ini";
    setup.pagesFolder = b.folder / "pages";
    setup.demo = kivdb::demo::DemoFiles{b.folder / "kestrel.db", KIVDB_DEMO_SITE};
    b.window = std::make_unique<MainWindow>(std::move(setup));
    b.window->show();
    b.connection = connection;
    b.window->OpenDatabase(connection);
    b.window->BrowserAdapter().WaitForLoad();
    return b;
  }();
  return bench;
}

void ClickToLoadFinished(benchmark::State& state) {
  Bench& bench = Shared();
  MainWindow& window = *bench.window;
  const std::string path = "Data Browser\\Rows " + std::to_string(state.range(0));
  kivdb::TreeNode* node = nullptr;
  kivdb::qt::QtTreeView& tree = window.TreeAdapter();
  for (int i = 1; i <= tree.Count() && !node; ++i) {
    if (tree.Item(i).FullPath() == path) node = &tree.Item(i);
  }
  if (!node) {
    state.SkipWithError(("no node " + path).c_str());
    return;
  }
  QTreeWidgetItem* item = tree.ItemOf(*node);
  QTreeWidget* widget = window.Tree();
  // The control writes the page inside the click; the browser loads it afterwards.
  double clickMs = 0;
  QElapsedTimer clock;
  for (auto _ : state) {
    widget->scrollToItem(item);
    clock.start();
    QTest::mouseClick(widget->viewport(), Qt::LeftButton, {},
                      widget->visualItemRect(item).center());
    clickMs += static_cast<double>(clock.nsecsElapsed()) / 1e6;
    if (!window.BrowserAdapter().WaitForLoad(600000)) {
      state.SkipWithError("the page did not load");
      return;
    }
  }
  state.counters["click_ms"] = benchmark::Counter(clickMs, benchmark::Counter::kAvgIterations);
  state.counters["rows"] = static_cast<double>(state.range(0));
}
BENCHMARK(ClickToLoadFinished)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();
BENCHMARK(ClickToLoadFinished)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

QTreeWidgetItem* ItemAt(MainWindow& window, const std::string& path) {
  kivdb::qt::QtTreeView& tree = window.TreeAdapter();
  for (int i = 1; i <= tree.Count(); ++i) {
    if (tree.Item(i).FullPath() == path) return tree.ItemOf(tree.Item(i));
  }
  return nullptr;
}

// Takes the style sheet out of the page head (XST3's "page head") once; the window opens the
// database again so the control reads the head anew.
void UseBareHead(Bench& bench) {
  if (bench.bareHead) return;
  kivdb::DAL dal;
  dal.ConnectionString(bench.connection);
  Exec(dal,
       "UPDATE XST3 SET contentIs = substr(contentIs, 1, instr(contentIs, '<STYLE>') - 1) || "
       "substr(contentIs, instr(contentIs, '</STYLE>') + 8) WHERE nameIs = 'page head' "
       "AND instr(contentIs, '<STYLE>') > 0");
  bench.bareHead = true;
  bench.window->OpenDatabase(bench.connection);
  bench.window->BrowserAdapter().WaitForLoad();
}

// The first contentful paint of the shown page as milliseconds since the Unix epoch; 0 when the
// engine reports none. The engine may record the entry a little after loadFinished.
double FirstPaintEpochMs(QWebEngineView& view) {
  QElapsedTimer waited;
  waited.start();
  while (waited.elapsed() < 3000) {
    double result = -1;
    view.page()->runJavaScript(
        "(function () { var p = performance.getEntriesByName('first-contentful-paint');"
        " return p.length ? performance.timeOrigin + p[0].startTime : 0; })()",
        [&](const QVariant& value) { result = value.toDouble(); });
    if (!QTest::qWaitFor([&] { return result >= 0; }, 3000)) return 0;
    if (result > 0) return result;
    QTest::qWait(20);
  }
  return 0;
}

// Arguments: 0 the demo's page head, 1 the same without its style sheet; the row cap (0: all).
void ClickToFirstPaint(benchmark::State& state) {
  Bench& bench = Shared();
  if (state.range(0) == 1) UseBareHead(bench);
  MainWindow& window = *bench.window;
  kivdb::demo::PageOptions options = window.Options();
  options.maxRows = static_cast<long>(state.range(1));
  window.SetPageOptions(options);
  window.BrowserAdapter().WaitForLoad();
  QTreeWidgetItem* item = ItemAt(window, "Data Browser\\Rows 10000");
  if (!item) {
    state.SkipWithError("no node Rows 10000");
    return;
  }
  QTreeWidget* widget = window.Tree();
  double paintMs = 0;
  for (auto _ : state) {
    widget->scrollToItem(item);
    const double clickedAt = static_cast<double>(QDateTime::currentMSecsSinceEpoch());
    QTest::mouseClick(widget->viewport(), Qt::LeftButton, {},
                      widget->visualItemRect(item).center());
    if (!window.BrowserAdapter().WaitForLoad(600000)) {
      state.SkipWithError("the page did not load");
      return;
    }
    state.PauseTiming();
    const double painted = FirstPaintEpochMs(*window.View());
    if (painted <= 0) {
      state.SkipWithError("the engine reported no first paint");
      return;
    }
    paintMs += painted - clickedAt;
    state.ResumeTiming();
  }
  state.counters["first_paint_ms"] =
      benchmark::Counter(paintMs, benchmark::Counter::kAvgIterations);
  state.counters["max_rows"] = static_cast<double>(state.range(1));
}
// Bare heads last: the style sheet does not come back within a run.
BENCHMARK(ClickToFirstPaint)
    ->ArgNames({"bare_head", "max_rows"})
    ->Args({0, 0})
    ->Args({0, 1000})
    ->Args({1, 0})
    ->Args({1, 1000})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
  setenv("QT_LOGGING_RULES", "qt.webenginecontext.info=false", 0);
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  Bench& bench = Shared();
  bench.window.reset();
  std::error_code ignored;
  fs::remove_all(bench.folder, ignored);
  return 0;
}
