// A report page whose one show-table paragraph (with a total row) lists 1,000,000 rows of five
// columns (integer, text, integer, double, date), clicked through `kivdb click`, against its
// anchors run as separate programs in the same run: the sqlite3 shell writing the same SELECT as
// HTML (all rows; goals: <= 0.8 x its time, <= 50 MB peak), and the count and totals in SQL (the
// page capped by MaxRows 1,000 and 100; goals: <= 2 x its time, <= 30 MB peak). The same cap of
// 10 over 3,000,000 rows shows that the peak stays flat. Peak memory is the child's maximum
// resident set, from wait4.
//
// An M page over 200,000 customers and their 1,000,000 orders, capped at 100 and whole, shows
// what a capped multi-chapter page keeps.
//
// The database is built once per run in the folder named by KIVDB_BENCH_DIR (default: a folder
// under the system's temporary folder).

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr const char* kSelect = "SELECT n, name, qty, amount, day FROM Big";
constexpr const char* kCountAndTotals = "SELECT count(*), sum(qty), sum(amount) FROM Big";

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

// The scheme tables of a shop of one node: the root and one N node "Big", whose paragraph the
// caller adds, and a bare page template.
void SchemeTables(sqlite3* db) {
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
  Exec(db, "INSERT INTO XST3 VALUES (1, 'front', '<html><body></body></html>')");
  Exec(db, "INSERT INTO XST3 VALUES (2, 'head', '<HTML><BODY><DIV>')");
}

// The database `name` in the benchmark's folder, built once: the scheme tables and what `fill`
// adds, in one transaction, renamed into place only when complete.
template <class Fill>
fs::path BuildOnce(const std::string& name, Fill fill) {
  const fs::path folder = Folder();
  const fs::path file = folder / name;
  fs::create_directories(folder);
  if (fs::exists(file)) return file;
  const fs::path partial = folder / (name + ".partial");
  fs::remove(partial);
  sqlite3* db = nullptr;
  if (sqlite3_open(partial.c_str(), &db) != SQLITE_OK) throw std::runtime_error("cannot create db");
  Exec(db, "BEGIN");
  SchemeTables(db);
  fill(db);
  Exec(db, "COMMIT");
  sqlite3_close(db);
  fs::rename(partial, file);
  return file;
}

// The shop of one node: the root, one N node "Big" whose page is one S paragraph over the table.
fs::path BuildDatabase(int rows = 1000000) {
  return BuildOnce("big-" + std::to_string(rows) + ".db", [rows](sqlite3* db) {
    Exec(db, "INSERT INTO XST2 VALUES (1, 2, 1, 'Rows', 'spW_Big', NULL, 'S', NULL, '2:3', NULL)");
    Exec(db, std::string("INSERT INTO XSP VALUES ('spW_Big', '") + kSelect + "')");
    Exec(db, "CREATE TABLE Big (n INTEGER, name TEXT, qty INTEGER, amount DOUBLE, day DATE)");
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO Big VALUES (?1, ?2, ?3, ?4, ?5)", -1, &insert, nullptr);
    char name[32];
    char day[16];
    for (int i = 0; i < rows; ++i) {
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
  });
}

// The shop of one node whose page is one M paragraph: `parents` customers, each order (five per
// customer) in the chapter of its customer, the orders read in an order of their own.
fs::path BuildShapedDatabase(int parents = 200000) {
  return BuildOnce("shaped-" + std::to_string(parents) + ".db", [parents](sqlite3* db) {
    Exec(db, "INSERT INTO XST2 VALUES (1, 2, 1, 'Buyers', 'spM_Big', NULL, 'M', NULL, NULL, NULL)");
    Exec(db,
         "INSERT INTO XSP VALUES ('spM_Big', 'SELECT ''SHAPE {SELECT ID, Name FROM C ORDER BY ID} "
         "APPEND ({SELECT CID AS ID, Item, Qty FROM O} RELATE ID TO ID) AS Orders''')");
    Exec(db, "CREATE TABLE C (ID INTEGER PRIMARY KEY, Name TEXT)");
    Exec(db, "CREATE TABLE O (ID INTEGER PRIMARY KEY, CID INTEGER, Item TEXT, Qty INTEGER)");
    const std::string n = std::to_string(parents);
    Exec(db, "WITH RECURSIVE c(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM c WHERE n < " + n +
                 ") INSERT INTO C SELECT n, 'Customer ' || n FROM c");
    Exec(db, "WITH RECURSIVE c(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM c WHERE n < 5 * " + n +
                 ") INSERT INTO O SELECT n, (n * 7919) % " + n +
                 " + 1, 'Item ' || n, n % 50 FROM c");
  });
}

std::string Quote(const std::string& text) {
  return "'" + text + "'";
}

// Runs `command` through the shell (which execs the last program) and returns the child's peak
// resident set in MB, or -1 when it failed.
double RunMeasured(const std::string& command) {
  const pid_t child = fork();
  if (child == 0) {
    execl("/bin/sh", "sh", "-c", ("exec " + command).c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0) {
    return -1;
  }
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void RunChild(benchmark::State& state, const std::string& command) {
  double peak = 0;
  for (auto _ : state) {
    const double mb = RunMeasured(command);
    if (mb < 0) {
      state.SkipWithError(("failed: " + command).c_str());
      return;
    }
    peak = std::max(peak, mb);
  }
  state.counters["peak_MB"] = peak;
}

std::string Click(const fs::path& db, long maxRows) {
  return Quote(KIVDB_PROGRAM) + " click --connect " +
         Quote("Provider=SQLite;Data Source=" + db.string()) + " --folder " +
         Quote(db.parent_path().string()) + " --max-rows " + std::to_string(maxRows) +
         " 'Data Browser\\Big' > /dev/null";
}

// state.range(0): the rows of the table; range(1): MaxRows (0: all).
void BM_KivdbClick(benchmark::State& state) {
  const fs::path db = BuildDatabase(static_cast<int>(state.range(0)));
  RunChild(state, Click(db, state.range(1)));
}

// The M page: state.range(0) customers, MaxRows range(1) (0: all). Capped, only the shown
// customers and their orders are kept, so the peak stays flat in the table's size.
void BM_KivdbShapedClick(benchmark::State& state) {
  const fs::path db = BuildShapedDatabase(static_cast<int>(state.range(0)));
  RunChild(state, Click(db, state.range(1)));
}

void BM_Sqlite3Html(benchmark::State& state) {
  const fs::path db = BuildDatabase();
  const fs::path out = db.parent_path() / "sqlite3.htm";
  RunChild(state, Quote(SQLITE3_PROGRAM) + " -html " + Quote(db.string()) + " " + Quote(kSelect) +
                      " > " + Quote(out.string()));
}

void BM_Sqlite3CountAndTotals(benchmark::State& state) {
  const fs::path db = BuildDatabase();
  RunChild(state, Quote(SQLITE3_PROGRAM) + " " + Quote(db.string()) + " " + Quote(kCountAndTotals) +
                      " > /dev/null");
}

BENCHMARK(BM_KivdbClick)
    ->Args({1000000, 0})
    ->Args({1000000, 1000})
    ->Args({1000000, 100})
    ->Args({3000000, 10})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK(BM_KivdbShapedClick)
    ->Args({200000, 100})
    ->Args({200000, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK(BM_Sqlite3Html)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Sqlite3CountAndTotals)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

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
  const auto time = [&](const std::string& name) {
    const auto it = reporter.seconds.find(name);
    return it == reporter.seconds.end() ? 0.0 : it->second;
  };
  const double html = time("BM_Sqlite3Html/iterations:3/real_time");
  const double totals = time("BM_Sqlite3CountAndTotals/iterations:3/real_time");
  const auto ratio = [&](const char* what, const std::string& name, double anchor,
                         const char* goal) {
    const double kivdb = time(name + "/iterations:3/real_time");
    if (kivdb > 0 && anchor > 0) std::printf("%s: %.2f (goal %s)\n", what, kivdb / anchor, goal);
  };
  ratio("all rows, kivdb click / sqlite3 -html", "BM_KivdbClick/1000000/0", html, "<= 0.8");
  ratio("MaxRows 1000, kivdb click / count and totals", "BM_KivdbClick/1000000/1000", totals,
        "<= 2");
  ratio("MaxRows 100, kivdb click / count and totals", "BM_KivdbClick/1000000/100", totals, "<= 2");
  benchmark::Shutdown();
  return 0;
}
