// Reading a SHAPE command through DAL::ReadRecordset, and reading and rendering it as a
// multi-chapter paragraph (ShowShaped into a page file), at 10,000/100,000, 10,000/1,000,000 and
// 100,000/1,000,000 (parents/children). Beside each shaped read, the two plain reads of the same
// commands, so the cost of the shaping itself shows. Prints the time per child and the growth
// from 100,000 to 1,000,000 children (linear: about 10).

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <kivdb/dal.h>
#include "control/render/render_context.h"
#include "control/render/show_shaped.h"

namespace {

constexpr const char* kParentQuery = "SELECT ID, Name, Total FROM Orders ORDER BY ID";
constexpr const char* kChildQuery = "SELECT ID, OrderID, Item, Qty, Price FROM Lines ORDER BY ID";

void Check(int rc, sqlite3* db) {
  if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
    std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db));
    std::exit(1);
  }
}

std::string PathFor(long parents, long children) {
  return (std::filesystem::temp_directory_path() /
          ("kivdb_bench_shape_" + std::to_string(parents) + "_" + std::to_string(children) + ".db"))
      .string();
}

// Children are spread over the parents in turn, so every chapter gathers rows from all over the
// child recordset.
void CreateDatabase(const std::string& path, long parents, long children) {
  std::filesystem::remove(path);
  sqlite3* db = nullptr;
  Check(sqlite3_open(path.c_str(), &db), db);
  Check(sqlite3_exec(db,
                     "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN;"
                     "CREATE TABLE Orders(ID INTEGER PRIMARY KEY, Name TEXT, Total REAL);"
                     "CREATE TABLE Lines(ID INTEGER PRIMARY KEY, OrderID INTEGER, Item TEXT, "
                     "Qty INTEGER, Price REAL);",
                     nullptr, nullptr, nullptr),
        db);
  sqlite3_stmt* insert = nullptr;
  Check(sqlite3_prepare_v2(db, "INSERT INTO Orders VALUES (?1, ?2, ?3)", -1, &insert, nullptr), db);
  char text[32];
  for (long i = 1; i <= parents; ++i) {
    const int length = std::snprintf(text, sizeof text, "order %ld", i);
    sqlite3_bind_int64(insert, 1, i);
    sqlite3_bind_text(insert, 2, text, length, SQLITE_STATIC);
    sqlite3_bind_double(insert, 3, static_cast<double>(i % 10000) / 4.0);
    Check(sqlite3_step(insert), db);
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  Check(
      sqlite3_prepare_v2(db, "INSERT INTO Lines VALUES (?1, ?2, ?3, ?4, ?5)", -1, &insert, nullptr),
      db);
  for (long i = 1; i <= children; ++i) {
    const int length = std::snprintf(text, sizeof text, "item %ld", i % 777);
    sqlite3_bind_int64(insert, 1, i);
    sqlite3_bind_int64(insert, 2, 1 + i % parents);
    sqlite3_bind_text(insert, 3, text, length, SQLITE_STATIC);
    sqlite3_bind_int64(insert, 4, i % 13);
    sqlite3_bind_double(insert, 5, static_cast<double>(i % 1000) / 8.0);
    Check(sqlite3_step(insert), db);
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  Check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
  sqlite3_close(db);
}

std::map<std::string, std::string> g_created;  // path by "parents/children"

const std::string& Database(long parents, long children) {
  const std::string key = std::to_string(parents) + "/" + std::to_string(children);
  auto it = g_created.find(key);
  if (it == g_created.end()) {
    const std::string path = PathFor(parents, children);
    CreateDatabase(path, parents, children);
    it = g_created.emplace(key, path).first;
  }
  return it->second;
}

std::string ShapeCommand() {
  return std::string("SHAPE {") + kParentQuery + "} APPEND ({" + kChildQuery +
         "} RELATE ID TO OrderID) AS Lines";
}

void BM_ShapedRead(benchmark::State& state) {
  const long parents = state.range(0);
  const long children = state.range(1);
  kivdb::DAL dal;
  dal.ConnectionString("Provider=SQLite;Data Source=" + Database(parents, children));
  const std::string command = ShapeCommand();
  for (auto _ : state) {
    std::shared_ptr<kivdb::Recordset> rs;
    if (!dal.ReadRecordset(command, rs) || rs->RecordCount() != parents) {
      state.SkipWithError(dal.LastError().c_str());
      break;
    }
    benchmark::DoNotOptimize(rs);
  }
  state.SetItemsProcessed(state.iterations() * children);
}

// The same two commands read plainly: what the data costs before any shaping.
void BM_PlainReads(benchmark::State& state) {
  const long parents = state.range(0);
  const long children = state.range(1);
  kivdb::DAL dal;
  dal.ConnectionString("Provider=SQLite;Data Source=" + Database(parents, children));
  for (auto _ : state) {
    std::shared_ptr<kivdb::Recordset> top;
    std::shared_ptr<kivdb::Recordset> lines;
    if (!dal.ReadRecordset(kParentQuery, top) || !dal.ReadRecordset(kChildQuery, lines) ||
        lines->RecordCount() != children) {
      state.SkipWithError(dal.LastError().c_str());
      break;
    }
    benchmark::DoNotOptimize(top);
    benchmark::DoNotOptimize(lines);
  }
  state.SetItemsProcessed(state.iterations() * children);
}

// The whole paragraph: its query's one record holds the SHAPE command, which ShowShaped reads
// through the DAL and writes, every level, into a page file.
void BM_ShapedRender(benchmark::State& state) {
  const long parents = state.range(0);
  const long children = state.range(1);
  kivdb::DAL dal;
  dal.ConnectionString("Provider=SQLite;Data Source=" + Database(parents, children));
  kivdb::Recordset paragraph;
  paragraph.AppendField("cmd", kivdb::type::kVarChar);
  paragraph.AddRow({kivdb::Variant(ShapeCommand())});
  const std::string pagePath =
      (std::filesystem::temp_directory_path() / "kivdb_bench_shape_page.htm").string();
  std::string failure;
  for (auto _ : state) {
    kivdb::FilePageWriter page(pagePath);
    kivdb::RenderContext context(page);
    context.talking = true;
    context.message = [&](const std::string& text) { failure = text; };
    context.readData = [&](const std::string& command, std::shared_ptr<kivdb::Recordset>& rs) {
      return dal.ReadRecordset(command, rs);
    };
    kivdb::ShowShaped(context, &paragraph, "Orders", 6);
    page.Close();
    if (!failure.empty()) {
      state.SkipWithError((failure + " " + dal.LastError()).c_str());
      break;
    }
  }
  state.counters["page_MB"] =
      static_cast<double>(std::filesystem::file_size(pagePath)) / (1024.0 * 1024.0);
  std::filesystem::remove(pagePath);
  state.SetItemsProcessed(state.iterations() * children);
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->Args({10000, 100000})->Args({10000, 1000000})->Args({100000, 1000000});
  b->ArgNames({"parents", "children"});
  b->Unit(benchmark::kMillisecond);
  b->MinTime(2.0);
}

BENCHMARK(BM_PlainReads)->Apply(Sizes);
BENCHMARK(BM_ShapedRead)->Apply(Sizes);
BENCHMARK(BM_ShapedRender)->Apply(Sizes);

class GrowthReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      const std::string name = run.benchmark_name();
      times_[name.substr(0, name.find("/min_time"))] = run.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  double Time(const std::string& name, long parents, long children) const {
    const auto it = times_.find(name + "/parents:" + std::to_string(parents) +
                                "/children:" + std::to_string(children));
    return it == times_.end() ? 0 : it->second;
  }

 private:
  std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  GrowthReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const struct {
    long parents;
    long children;
  } sizes[] = {{10000, 100000}, {10000, 1000000}, {100000, 1000000}};
  for (const auto& size : sizes) {
    const double plain = reporter.Time("BM_PlainReads", size.parents, size.children);
    const double shaped = reporter.Time("BM_ShapedRead", size.parents, size.children);
    const double rendered = reporter.Time("BM_ShapedRender", size.parents, size.children);
    const double perChild = 1e6 / static_cast<double>(size.children);
    std::printf("%ld parents / %ld children:", size.parents, size.children);
    if (shaped > 0) {
      std::printf(" shaped read %.1f ms (%.0f ns per child", shaped, shaped * perChild);
      if (plain > 0) std::printf(", %.2f x the plain reads", shaped / plain);
      std::printf(")");
    }
    if (rendered > 0) {
      std::printf(" read and rendered %.1f ms (%.0f ns per child)", rendered, rendered * perChild);
    }
    std::printf("\n");
  }
  for (const char* name : {"BM_ShapedRead", "BM_ShapedRender"}) {
    const double small = reporter.Time(name, 10000, 100000);
    const double large = reporter.Time(name, 100000, 1000000);
    const double moreChildren = reporter.Time(name, 10000, 1000000);
    if (small > 0 && large > 0) {
      std::printf("%s growth 10k/100k -> 100k/1M: %.1f x for 10 x the data (linear: 10)\n", name,
                  large / small);
    }
    if (small > 0 && moreChildren > 0) {
      std::printf("%s growth 10k/100k -> 10k/1M: %.1f x for 10 x the children (linear: 10)\n", name,
                  moreChildren / small);
    }
  }
  benchmark::Shutdown();
  for (const auto& [key, path] : g_created) std::filesystem::remove(path);
  return 0;
}
