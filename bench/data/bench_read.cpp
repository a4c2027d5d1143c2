// Reading 1,000,000 rows of five columns (integer, text, integer, real, date) through
// DAL::ReadRecordset, against a bare sqlite3_step loop into plain vectors. Prints the ratio of the
// two times (goal: at most 1.5) and the peak memory per cell of a ReadRecordset. The same read
// with a QueryTimeout set measures what its progress handler costs (goal: under 3 % slower).
//
// KIVDB_BENCH_ROWS overrides the number of rows (for a quick run).

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <kivdb/dal.h>

namespace {

constexpr const char* kQuery = "SELECT id, name, qty, price, day FROM sales";
constexpr int kColumns = 5;

std::string g_path;
long g_rows = 1000000;

void Check(int rc, sqlite3* db) {
  if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
    std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db));
    std::exit(1);
  }
}

void CreateDatabase() {
  std::filesystem::remove(g_path);
  sqlite3* db = nullptr;
  Check(sqlite3_open(g_path.c_str(), &db), db);
  Check(sqlite3_exec(db,
                     "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN;"
                     "CREATE TABLE sales(id INTEGER PRIMARY KEY, name TEXT, qty INTEGER, "
                     "price REAL, day DATE);",
                     nullptr, nullptr, nullptr),
        db);
  sqlite3_stmt* insert = nullptr;
  Check(
      sqlite3_prepare_v2(db, "INSERT INTO sales VALUES (?1, ?2, ?3, ?4, ?5)", -1, &insert, nullptr),
      db);
  char name[32];
  char day[16];
  for (long i = 1; i <= g_rows; ++i) {
    const int length = std::snprintf(name, sizeof name, "customer %ld", i % 5000);
    std::snprintf(day, sizeof day, "20%02ld-%02ld-%02ld", 10 + i % 15, 1 + i % 12, 1 + i % 28);
    sqlite3_bind_int64(insert, 1, i);
    sqlite3_bind_text(insert, 2, name, length, SQLITE_STATIC);
    sqlite3_bind_int64(insert, 3, i % 97);
    sqlite3_bind_double(insert, 4, static_cast<double>(i % 10000) / 100.0);
    sqlite3_bind_text(insert, 5, day, 10, SQLITE_STATIC);
    Check(sqlite3_step(insert), db);
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  Check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
  sqlite3_close(db);
}

std::string ConnectionString() {
  return "Provider=SQLite;Data Source=" + g_path;
}

// The baseline: what a hand-written reader does, with no per-value typing at all.
struct PlainColumns {
  std::vector<int64_t> id;
  std::vector<std::string> name;
  std::vector<int64_t> qty;
  std::vector<double> price;
  std::vector<std::string> day;
};

void ReadBare(PlainColumns& out) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(g_path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
  sqlite3_stmt* select = nullptr;
  Check(sqlite3_prepare_v2(db, kQuery, -1, &select, nullptr), db);
  while (sqlite3_step(select) == SQLITE_ROW) {
    out.id.push_back(sqlite3_column_int64(select, 0));
    out.name.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(select, 1)),
                          sqlite3_column_bytes(select, 1));
    out.qty.push_back(sqlite3_column_int64(select, 2));
    out.price.push_back(sqlite3_column_double(select, 3));
    out.day.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(select, 4)),
                         sqlite3_column_bytes(select, 4));
  }
  sqlite3_finalize(select);
  sqlite3_close(db);
}

void BM_BareStep(benchmark::State& state) {
  for (auto _ : state) {
    PlainColumns columns;
    ReadBare(columns);
    if (static_cast<long>(columns.id.size()) != g_rows) state.SkipWithError("short read");
    benchmark::DoNotOptimize(columns);
  }
  state.SetItemsProcessed(state.iterations() * g_rows);
}

void BM_ReadRecordset(benchmark::State& state) {
  kivdb::DAL dal;
  dal.ConnectionString(ConnectionString());
  for (auto _ : state) {
    std::shared_ptr<kivdb::Recordset> rs;
    if (!dal.ReadRecordset(kQuery, rs) || rs->RecordCount() != g_rows) {
      state.SkipWithError(dal.LastError().c_str());
      break;
    }
    benchmark::DoNotOptimize(rs);
  }
  state.SetItemsProcessed(state.iterations() * g_rows);
}

// With a time limit far beyond the read: the progress handler runs, the limit never strikes.
void BM_ReadRecordsetTimed(benchmark::State& state) {
  kivdb::DAL dal;
  dal.ConnectionString(ConnectionString());
  dal.QueryTimeout(3600);
  for (auto _ : state) {
    std::shared_ptr<kivdb::Recordset> rs;
    if (!dal.ReadRecordset(kQuery, rs) || rs->RecordCount() != g_rows) {
      state.SkipWithError(dal.LastError().c_str());
      break;
    }
    benchmark::DoNotOptimize(rs);
  }
  state.SetItemsProcessed(state.iterations() * g_rows);
}

double Fastest(const std::vector<double>& times) {
  return times.empty() ? 0 : *std::min_element(times.begin(), times.end());
}

BENCHMARK(BM_BareStep)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3.0)
    ->ComputeStatistics("min", Fastest);
BENCHMARK(BM_ReadRecordset)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3.0)
    ->ComputeStatistics("min", Fastest);
BENCHMARK(BM_ReadRecordsetTimed)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3.0)
    ->ComputeStatistics("min", Fastest);

// Resident-set figures of this process from /proc, in kilobytes.
long StatusKb(const std::string& key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(key + ":", 0) == 0) return std::atol(line.c_str() + key.size() + 1);
  }
  return -1;
}

// Peak memory of one ReadRecordset, measured before the timed runs so that nothing else has
// raised the high-water mark.
void ReportMemory() {
  std::ofstream("/proc/self/clear_refs") << "5";  // resets the peak to the current size
  const long before = StatusKb("VmRSS");
  {
    kivdb::DAL dal;
    dal.ConnectionString(ConnectionString());
    std::shared_ptr<kivdb::Recordset> rs;
    if (!dal.ReadRecordset(kQuery, rs)) {
      std::fprintf(stderr, "read failed: %s\n", dal.LastError().c_str());
      std::exit(1);
    }
    const long held = StatusKb("VmRSS") - before;
    const long peak = StatusKb("VmHWM") - before;
    const double cells = static_cast<double>(g_rows) * kColumns;
    std::printf(
        "ReadRecordset memory: peak %.1f bytes per cell, held %.1f bytes per cell (%ld cells)\n",
        peak * 1024.0 / cells, held * 1024.0 / cells, static_cast<long>(cells));
  }
}

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      // With --benchmark_repetitions the fastest run stands for the benchmark: on a shared
      // machine the other runs measure the neighbours as well.
      if (!run.aggregate_name.empty() && run.aggregate_name != "min") continue;
      const std::string name = run.benchmark_name();
      times_[name.substr(0, name.find('/'))] = {run.GetAdjustedRealTime(),
                                                run.GetAdjustedCPUTime()};
    }
    ConsoleReporter::ReportRuns(runs);
  }
  // Real and CPU time of a benchmark, or zeros when it did not run.
  std::pair<double, double> Times(const std::string& name) const {
    const auto it = times_.find(name);
    return it == times_.end() ? std::pair<double, double>() : it->second;
  }

 private:
  std::map<std::string, std::pair<double, double>> times_;
};

}  // namespace

int main(int argc, char** argv) {
  if (const char* rows = std::getenv("KIVDB_BENCH_ROWS")) g_rows = std::max(1L, std::atol(rows));
  g_path = (std::filesystem::temp_directory_path() / "kivdb_bench_read.db").string();
  benchmark::Initialize(&argc, argv);
  CreateDatabase();
  ReportMemory();
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const auto bare = reporter.Times("BM_BareStep");
  const auto dal = reporter.Times("BM_ReadRecordset");
  if (bare.first > 0 && dal.first > 0) {
    std::printf("ReadRecordset / bare sqlite3_step: %.2f real time, %.2f CPU time (goal <= 1.5)\n",
                dal.first / bare.first, dal.second / bare.second);
  }
  const auto timed = reporter.Times("BM_ReadRecordsetTimed");
  if (dal.first > 0 && timed.first > 0) {
    std::printf(
        "ReadRecordset with / without QueryTimeout: %+.1f %% real time, %+.1f %% CPU time "
        "(goal < +3 %%)\n",
        (timed.first / dal.first - 1) * 100, (timed.second / dal.second - 1) * 100);
  }
  benchmark::Shutdown();
  std::filesystem::remove(g_path);
  return 0;
}
