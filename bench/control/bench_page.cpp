// A report page whose one show-table paragraph lists 1,000,000 rows of five columns (integer,
// text, integer, double, date), clicked through `kivdb click`, against the sqlite3 shell writing
// the same SELECT as HTML to a file. Both run as separate programs, as a script would run them;
// the figure that matters is the ratio of their wall times, printed at the end (goal: <= 1.5).
//
// The database is built once per run in the folder named by KIVDB_BENCH_DIR (default: a folder
// under the system's temporary folder).

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr int kRows = 1000000;
constexpr const char* kSelect = "SELECT n, name, qty, amount, day FROM Big";

fs::path Folder() {
  const char* chosen = std::getenv("KIVDB_BENCH_DIR");
  return chosen ? fs::path(chosen) : fs::temp_directory_path() / "kivdb-bench-page";
}

void Exec(sqlite3* db, const std::string& sql) {
  char* error = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string reason = error ? error : "unknown";
    sqlite3_free(error);
    throw std::runtime_error(sql + ": " + reason);
  }
}

// The shop of one node: the root, one N node "Big" whose page is one S paragraph over the table.
fs::path BuildDatabase() {
  const fs::path folder = Folder();
  const fs::path file = folder / "big.db";
  fs::create_directories(folder);
  if (fs::exists(file)) return file;
  const fs::path partial = folder / "big.db.partial";
  fs::remove(partial);
  sqlite3* db = nullptr;
  if (sqlite3_open(partial.c_str(), &db) != SQLITE_OK) throw std::runtime_error("cannot create db");
  Exec(db, "BEGIN");
  Exec(db,
       "CREATE TABLE XST1 (ID INTEGER PRIMARY KEY, descriptionIs TEXT, typeIs TEXT, parentIs "
       "INTEGER, queryIs TEXT, parmIs TEXT, iconIs TEXT, roleIs TEXT)");
  Exec(db,
       "CREATE TABLE XST2 (ID INTEGER PRIMARY KEY, XST1 INTEGER, seqNo INTEGER, titleIs TEXT, "
       "queryIs TEXT, parmIs TEXT, typeIs TEXT, formIs INTEGER, colsAre TEXT, extra TEXT)");
  Exec(db, "CREATE TABLE XST3 (ID INTEGER PRIMARY KEY, nameIs TEXT, contentIs TEXT)");
  Exec(db, "CREATE TABLE XSP (nameIs TEXT PRIMARY KEY COLLATE NOCASE, sqlIs TEXT)");
  Exec(db, "INSERT INTO XST1 VALUES (1, 'Data Browser', 'F', 0, NULL, NULL, NULL, NULL)");
  Exec(db, "INSERT INTO XST1 VALUES (2, 'Big', 'N', 1, NULL, NULL, NULL, NULL)");
  Exec(db, "INSERT INTO XST2 VALUES (1, 2, 1, 'Rows', 'spW_Big', NULL, 'S', NULL, NULL, NULL)");
  Exec(db, "INSERT INTO XST3 VALUES (1, 'front', '<html><body></body></html>')");
  Exec(db, "INSERT INTO XST3 VALUES (2, 'head', '<HTML><BODY><DIV>')");
  Exec(db, std::string("INSERT INTO XSP VALUES ('spW_Big', '") + kSelect + "')");
  Exec(db, "CREATE TABLE Big (n INTEGER, name TEXT, qty INTEGER, amount DOUBLE, day DATE)");
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(db, "INSERT INTO Big VALUES (?1, ?2, ?3, ?4, ?5)", -1, &insert, nullptr);
  char name[32];
  char day[16];
  for (int i = 0; i < kRows; ++i) {
    std::snprintf(name, sizeof name, "Item %d", i);
    std::snprintf(day, sizeof day, "20%02d-%02d-%02d", i % 25, i % 12 + 1, i % 28 + 1);
    sqlite3_bind_int(insert, 1, i);
    sqlite3_bind_text(insert, 2, name, -1, SQLITE_TRANSIENT);
    sqlite3_bind_int(insert, 3, i % 1000);
    sqlite3_bind_double(insert, 4, i * 0.37);
    sqlite3_bind_text(insert, 5, day, -1, SQLITE_TRANSIENT);
    sqlite3_step(insert);
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  Exec(db, "COMMIT");
  sqlite3_close(db);
  fs::rename(partial, file);
  return file;
}

std::string Quote(const std::string& text) {
  return "'" + text + "'";
}

void RunOrFail(benchmark::State& state, const std::string& command) {
  if (std::system(command.c_str()) != 0) state.SkipWithError(("failed: " + command).c_str());
}

void BM_KivdbClick(benchmark::State& state) {
  const fs::path db = BuildDatabase();
  const std::string command = Quote(KIVDB_PROGRAM) + " click --connect " +
                              Quote("Provider=SQLite;Data Source=" + db.string()) + " --folder " +
                              Quote(db.parent_path().string()) + " 'Data Browser\\Big' > /dev/null";
  for (auto _ : state) RunOrFail(state, command);
  state.counters["page_MB"] =
      static_cast<double>(fs::file_size(db.parent_path() / "oReport.htm")) / 1e6;
}

void BM_Sqlite3Html(benchmark::State& state) {
  const fs::path db = BuildDatabase();
  const fs::path out = db.parent_path() / "sqlite3.htm";
  const std::string command = Quote(SQLITE3_PROGRAM) + " -html " + Quote(db.string()) + " " +
                              Quote(kSelect) + " > " + Quote(out.string());
  for (auto _ : state) RunOrFail(state, command);
  state.counters["page_MB"] = static_cast<double>(fs::file_size(out)) / 1e6;
}

BENCHMARK(BM_KivdbClick)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Sqlite3Html)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// Prints as usual and keeps each benchmark's wall time per iteration for the ratio.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) seconds[run.benchmark_name()] = run.GetAdjustedRealTime();
  }
  std::map<std::string, double> seconds;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  double kivdb = 0;
  double shell = 0;
  for (const auto& [name, time] : reporter.seconds) {
    if (name.rfind("BM_KivdbClick", 0) == 0) kivdb = time;
    if (name.rfind("BM_Sqlite3Html", 0) == 0) shell = time;
  }
  if (kivdb > 0 && shell > 0) {
    std::printf("kivdb click / sqlite3 -html: %.2f (goal <= 1.5)\n", kivdb / shell);
  }
  benchmark::Shutdown();
  return 0;
}
