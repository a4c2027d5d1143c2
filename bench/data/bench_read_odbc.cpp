// Reading 1,000,000 rows of five columns (integer, text, integer, double, date) from PostgreSQL
// through DAL::ReadRecordset and the ODBC provider, against psql copying the same rows out as text
// (`psql -c "COPY (SELECT ...) TO STDOUT" > /dev/null`), and the same rows read forward-only
// (ReadForward, the way pages read them) into a sink that keeps none. Prints the ratios to COPY
// (goals: at most 3 for the whole read, at most 1.5 for the forward-only one).
//
// Where the time goes (measured with a bare ODBC client beside this one): the PostgreSQL driver
// first takes the whole result into its own cache (about as long as COPY on its own), then converts
// every bound value on each fetch (dates the most: it parses and re-prints them); KivDB's own share
// is about a tenth. Driver options tried, none of which changes a value: UseDeclareFetch=1 with
// Fetch=1000..50000 keeps the driver's memory flat (about 14 MB instead of 250 MB for a million
// rows) at the same time; UseServerSidePrepare=0/1 and the block size (32..2048 rows) make no
// difference beyond the noise. Append such options to KIVDB_PG_CONNECTION to try them.
//
// The server: KIVDB_PG_CONNECTION (an ODBC connection string of a PostgreSQL server on which the
// user may create a table), or else a throwaway cluster started with scripts/pg-cluster for the
// run. KIVDB_BENCH_ROWS overrides the number of rows (for a quick run).

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include <kivdb/dal.h>
#include "control/data/connection_string.h"
#include "control/data/odbc_connection.h"
#include "control/data/row_sink.h"

namespace {

constexpr const char* kSelect = "SELECT id, name, qty, price, day FROM kivdb_bench_sales";

std::string g_connection;
std::string g_psql;  // the psql command line, without the command
long g_rows = 1000000;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "bench_read_odbc: %s\n", what.c_str());
  std::exit(1);
}

std::string ShellQuoted(const std::string& text) {
  std::string out = "'";
  for (const char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// The psql command that reaches the same server and database as the connection string.
std::string PsqlCommand(const std::string& connection) {
  std::string error;
  const auto settings = kivdb::ParseConnectionString(connection, error);
  if (!settings) Fail("bad connection string: " + error);
  auto get = [&](const char* key, const char* fallback) {
    const auto it = settings->find(key);
    return it == settings->end() ? std::string(fallback) : it->second;
  };
  std::string user = get("uid", "");
  if (user.empty()) user = get("username", "");
  return "PGPASSWORD=" + ShellQuoted(get("pwd", get("password", "").c_str())) + " psql -X -q -h " +
         ShellQuoted(get("server", "127.0.0.1")) + " -p " + ShellQuoted(get("port", "5432")) +
         (user.empty() ? "" : " -U " + ShellQuoted(user)) + " -d " +
         ShellQuoted(get("database", "postgres"));
}

void Exec(kivdb::DAL& dal, const std::string& sql) {
  if (!dal.ExecSQL(sql)) Fail(sql + ": " + dal.LastError());
}

void CreateTable() {
  kivdb::DAL dal;
  dal.ConnectionString(g_connection);
  Exec(dal, "DROP TABLE IF EXISTS kivdb_bench_sales");
  Exec(dal,
       "CREATE TABLE kivdb_bench_sales(id integer PRIMARY KEY, name text, qty integer, "
       "price double precision, day date)");
  Exec(dal,
       "INSERT INTO kivdb_bench_sales SELECT i, 'customer ' || (i % 5000), i % 97, "
       "(i % 10000) / 100.0, make_date(2010 + i % 15, 1 + i % 12, 1 + i % 28) "
       "FROM generate_series(1, " +
           std::to_string(g_rows) + ") i");
  Exec(dal, "VACUUM ANALYZE kivdb_bench_sales");
}

void BM_PsqlCopy(benchmark::State& state) {
  const std::string command = g_psql + " -c " +
                              ShellQuoted(std::string("COPY (") + kSelect + ") TO STDOUT") +
                              " > /dev/null";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) {
      state.SkipWithError("psql failed");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * g_rows);
}

void BM_ReadRecordset(benchmark::State& state) {
  kivdb::DAL dal;
  dal.ConnectionString(g_connection);
  for (auto _ : state) {
    std::shared_ptr<kivdb::Recordset> rs;
    if (!dal.ReadRecordset(kSelect, rs) || rs->RecordCount() != g_rows) {
      state.SkipWithError(dal.LastError().c_str());
      break;
    }
    benchmark::DoNotOptimize(rs);
  }
  state.SetItemsProcessed(state.iterations() * g_rows);
}

// Counts the records and keeps none, as a page capped by MaxRows does.
class CountingSink final : public kivdb::RowSink {
 public:
  bool Begin(const std::vector<kivdb::FieldInfo>&) override { return true; }
  bool Row(const kivdb::Variant* values, size_t) override {
    benchmark::DoNotOptimize(values);
    ++rows;
    return true;
  }
  long rows = 0;
};

void BM_ReadForward(benchmark::State& state) {
  kivdb::DAL dal;
  dal.ConnectionString(g_connection);
  for (auto _ : state) {
    CountingSink sink;
    if (!kivdb::ReadForward(dal, kSelect, sink) || sink.rows != g_rows) {
      state.SkipWithError(dal.LastError().c_str());
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * g_rows);
}

// The driver alone: the same rows fetched in blocks bound row-wise, with the C types and buffer
// sizes the reader uses, and no values built from them. What KivDB adds is the rest of
// BM_ReadForward.
void BM_DriverOnly(benchmark::State& state) {
  std::string error;
  const auto connection = kivdb::OdbcConnection::Open(g_connection, error);
  if (!connection) {
    state.SkipWithError(error.c_str());
    return;
  }
  auto& odbc = static_cast<kivdb::OdbcConnection&>(*connection);
  struct Row {
    SQLINTEGER id;
    SQLLEN idLength;
    char name[1025];
    SQLLEN nameLength;
    SQLINTEGER qty;
    SQLLEN qtyLength;
    SQLDOUBLE price;
    SQLLEN priceLength;
    char day[41];
    SQLLEN dayLength;
  };
  constexpr SQLULEN kRows = kivdb::kOdbcBlockRows;
  std::vector<Row> rows(kRows);
  std::vector<SQLUSMALLINT> status(kRows);
  for (auto _ : state) {
    kivdb::OdbcHandle statement = odbc.NewStatement(error);
    SQLHSTMT stmt = statement.Get();
    SQLULEN fetched = 0;
    SQLSetStmtAttr(stmt, SQL_ATTR_ROW_BIND_TYPE, reinterpret_cast<SQLPOINTER>(sizeof(Row)), 0);
    SQLSetStmtAttr(stmt, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(kRows), 0);
    SQLSetStmtAttr(stmt, SQL_ATTR_ROWS_FETCHED_PTR, &fetched, 0);
    SQLSetStmtAttr(stmt, SQL_ATTR_ROW_STATUS_PTR, status.data(), 0);
    std::string text = kSelect;
    if (!kivdb::Succeeded(SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS))) {
      state.SkipWithError("the select failed");
      break;
    }
    Row& r = rows[0];
    SQLBindCol(stmt, 1, SQL_C_SLONG, &r.id, 0, &r.idLength);
    SQLBindCol(stmt, 2, SQL_C_CHAR, r.name, sizeof r.name, &r.nameLength);
    SQLBindCol(stmt, 3, SQL_C_SLONG, &r.qty, 0, &r.qtyLength);
    SQLBindCol(stmt, 4, SQL_C_DOUBLE, &r.price, 0, &r.priceLength);
    SQLBindCol(stmt, 5, SQL_C_CHAR, r.day, sizeof r.day, &r.dayLength);
    long count = 0;
    while (kivdb::Succeeded(SQLFetch(stmt))) {
      count += static_cast<long>(fetched);
      benchmark::DoNotOptimize(rows.data());
    }
    if (count != g_rows) {
      state.SkipWithError("the driver returned too few rows");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * g_rows);
}

BENCHMARK(BM_PsqlCopy)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();
BENCHMARK(BM_ReadRecordset)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();
BENCHMARK(BM_ReadForward)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();
BENCHMARK(BM_DriverOnly)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      // With repetitions the median stands for the case; the other aggregates are no times.
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
      const std::string name = run.benchmark_name();
      times_[name.substr(0, name.find('/'))] = run.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  double Time(const std::string& name) const {
    const auto it = times_.find(name);
    return it == times_.end() ? 0 : it->second;
  }

 private:
  std::map<std::string, double> times_;
};

// A cluster of our own for the run, when no server was named.
class Cluster {
 public:
  Cluster() {
    file_ = (std::filesystem::temp_directory_path() /
             ("kivdb_bench_pg_" + std::to_string(getpid()) + ".conn"))
                .string();
    const std::string start =
        "bash " + ShellQuoted(KIVDB_PG_CLUSTER) + " start " + ShellQuoted(file_) + " > /dev/null";
    if (std::system(start.c_str()) != 0) Fail("scripts/pg-cluster could not start a server");
    std::ifstream in(file_);
    std::getline(in, connection_);
  }
  ~Cluster() {
    const std::string stop =
        "bash " + ShellQuoted(KIVDB_PG_CLUSTER) + " stop " + ShellQuoted(file_);
    if (std::system(stop.c_str()) != 0) std::fprintf(stderr, "pg-cluster stop failed\n");
  }
  const std::string& Connection() const { return connection_; }

 private:
  std::string file_;
  std::string connection_;
};

}  // namespace

int main(int argc, char** argv) {
  if (const char* rows = std::getenv("KIVDB_BENCH_ROWS")) g_rows = std::max(1L, std::atol(rows));
  benchmark::Initialize(&argc, argv);
  std::unique_ptr<Cluster> cluster;
  if (const char* given = std::getenv("KIVDB_PG_CONNECTION"); given && *given) {
    g_connection = given;
  } else {
    cluster = std::make_unique<Cluster>();
    g_connection = cluster->Connection();
  }
  g_psql = PsqlCommand(g_connection);
  CreateTable();
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double psql = reporter.Time("BM_PsqlCopy");
  const double dal = reporter.Time("BM_ReadRecordset");
  if (psql > 0 && dal > 0) {
    std::printf("ReadRecordset over ODBC / psql COPY: %.2f real time (goal <= 3)\n", dal / psql);
  }
  const double forward = reporter.Time("BM_ReadForward");
  if (psql > 0 && forward > 0) {
    std::printf("ReadForward over ODBC / psql COPY: %.2f real time (goal <= 1.5)\n",
                forward / psql);
  }
  const double driver = reporter.Time("BM_DriverOnly");
  if (psql > 0 && driver > 0) {
    std::printf("the ODBC driver alone / psql COPY: %.2f real time\n", driver / psql);
  }
  kivdb::DAL cleanup;
  cleanup.ConnectionString(g_connection);
  cleanup.ExecSQL("DROP TABLE IF EXISTS kivdb_bench_sales");
  benchmark::Shutdown();
  return 0;
}
