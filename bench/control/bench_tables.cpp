// Tables out of the page, measured beside their anchors on 1,000,000 rows of five columns (text,
// integer, currency, double, date): `kivdb table --format csv` beside `sqlite3 -csv` on the same
// query, and `kivdb table --format xlsx` beside a bare constant-memory workbook loop that reads
// the same rows and writes the same values. Each run is a process of its own, so its peak memory
// is its own. Goals: CSV at most 1.2 x sqlite3, XLSX at most 1.5 x the bare loop, 50 MB peak.

#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
constexpr int kRows = 1000000;

struct Measure {
  double seconds = 0;
  double peakMb = 0;
  int status = -1;
};

// Runs `body` in a child process and measures its wall time and peak resident memory.
Measure InChild(const std::function<int()>& body) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) _exit(body());
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  Measure m;
  m.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  m.peakMb = static_cast<double>(usage.ru_maxrss) / 1024.0;
  m.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return m;
}

int Shell(const std::string& command) {
  return std::system(command.c_str()) == 0 ? 0 : 1;
}

void Exec(sqlite3* db, const char* sql) {
  char* error = nullptr;
  if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
    std::fprintf(stderr, "%s: %s\n", sql, error);
    std::exit(1);
  }
}

void MakeDatabase(const fs::path& file) {
  sqlite3* db = nullptr;
  sqlite3_open(file.c_str(), &db);
  Exec(db,
       "CREATE TABLE XST1 (ID INTEGER PRIMARY KEY, descriptionIs TEXT, typeIs TEXT, parentIs "
       "INTEGER, queryIs TEXT, parmIs TEXT, iconIs TEXT, roleIs TEXT);"
       "CREATE TABLE XST2 (ID INTEGER PRIMARY KEY, XST1 INTEGER, seqNo INTEGER, titleIs TEXT, "
       "queryIs TEXT, parmIs TEXT, typeIs TEXT, formIs INTEGER, colsAre TEXT, extra TEXT);"
       "CREATE TABLE XST3 (ID INTEGER PRIMARY KEY, nameIs TEXT, contentIs TEXT);"
       "INSERT INTO XST1 VALUES (1, 'Data Browser', 'F', 0, NULL, NULL, NULL, NULL);"
       "INSERT INTO XST1 VALUES (2, 'Big', 'N', 1, NULL, NULL, NULL, NULL);"
       "INSERT INTO XST2 VALUES (10, 2, 1, 'Big', 'qBig', 'None', 'S', NULL, NULL, NULL);"
       "INSERT INTO XST3 VALUES (1, 'front', '<html>'), (2, 'head', '<html><body><div>');"
       "CREATE TABLE Big (ID INTEGER PRIMARY KEY, Name TEXT, Qty INTEGER, Price CURRENCY, "
       "Ratio DOUBLE, Day DATE);"
       "INSERT INTO Big WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE "
       "i < 1000000) SELECT i, 'customer ' || i, i % 1000, (i % 100000) / 100.0, i / 7.0, "
       "date('2000-01-01', '+' || (i % 9000) || ' days') FROM c;"
       "CREATE VIEW qBig AS SELECT * FROM Big ORDER BY ID;");
  sqlite3_close(db);
}

// The anchor of the workbook: the same rows read with SQLite's C API and written with the
// library's constant-memory mode, numbers and dates formatted, nothing else.
int BareWorkbook(const fs::path& database, const fs::path& out) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* stmt = nullptr;
  sqlite3_prepare_v2(db, "SELECT * FROM qBig", -1, &stmt, nullptr);
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  lxw_workbook* book = workbook_new_opt(out.c_str(), &options);
  lxw_worksheet* sheet = workbook_add_worksheet(book, "Big");
  lxw_format* money = workbook_add_format(book);
  format_set_num_format(money, "#,##0.00");
  lxw_format* whole = workbook_add_format(book);
  format_set_num_format(whole, "#,##0");
  lxw_format* day = workbook_add_format(book);
  format_set_num_format(day, "yyyy-mm-dd");
  const char* headings[] = {"Name", "Qty", "Price", "Ratio", "Day"};
  for (int c = 0; c < 5; ++c)
    worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c), headings[c], nullptr);
  lxw_row_t row = 1;
  while (sqlite3_step(stmt) == SQLITE_ROW) {
    worksheet_write_string(sheet, row, 0,
                           reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1)), nullptr);
    worksheet_write_number(sheet, row, 1, sqlite3_column_double(stmt, 2), whole);
    worksheet_write_number(sheet, row, 2, sqlite3_column_double(stmt, 3), money);
    worksheet_write_number(sheet, row, 3, sqlite3_column_double(stmt, 4), money);
    lxw_datetime date{};
    std::sscanf(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 5)), "%d-%d-%d", &date.year,
                &date.month, &date.day);
    worksheet_write_datetime(sheet, row, 4, &date, day);
    ++row;
  }
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  return workbook_close(book) == LXW_NO_ERROR ? 0 : 1;
}

void Report(const char* name, const Measure& ours, const Measure& anchor, double goal) {
  std::printf(
      "%-5s kivdb %6.2f s %6.1f MB | anchor %6.2f s %6.1f MB | ratio %.2f (goal <= %.1f)%s\n", name,
      ours.seconds, ours.peakMb, anchor.seconds, anchor.peakMb, ours.seconds / anchor.seconds, goal,
      ours.status != 0 || anchor.status != 0 ? "  FAILED RUN" : "");
}

}  // namespace

int main() {
  const fs::path folder =
      fs::temp_directory_path() / ("kivdb-bench-tables-" + std::to_string(getpid()));
  fs::create_directories(folder);
  const fs::path database = folder / "big.db";
  MakeDatabase(database);
  const std::string connect = "Provider=SQLite;Data Source=" + database.string();
  const std::string table = std::string(KIVDB_PROGRAM) + " table --connect '" + connect +
                            "' --node 'Data Browser\\Big' --paragraph 10 2>/dev/null >/dev/null";
  std::printf("tables: %d rows x 5 columns (text, integer, currency, double, date)\n", kRows);

  const Measure sqliteCsv = InChild([&] {
    return Shell(std::string(SQLITE3_PROGRAM) + " -csv -header " + database.string() +
                 " 'SELECT * FROM qBig' > " + (folder / "anchor.csv").string());
  });
  const Measure kivdbCsv = InChild(
      [&] { return Shell(table + " --format csv --out " + (folder / "kivdb.csv").string()); });
  Report("CSV", kivdbCsv, sqliteCsv, 1.2);

  const Measure bare = InChild([&] { return BareWorkbook(database, folder / "anchor.xlsx"); });
  const Measure kivdbXlsx = InChild(
      [&] { return Shell(table + " --format xlsx --out " + (folder / "kivdb.xlsx").string()); });
  Report("XLSX", kivdbXlsx, bare, 1.5);

  std::error_code error;
  fs::remove_all(folder, error);
  return 0;
}
