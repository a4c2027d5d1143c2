#include "bench/data/sales_table.h"

#include <errno.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include <kivdb/dal.h>
#include "control/data/connection_string.h"

namespace kivdb::bench {

using testing_support::ShellQuoted;

void Fail(const std::string& what) {
  std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, what.c_str());
  std::exit(1);
}

ConnectionSettings::ConnectionSettings(const std::string& connection) {
  std::string error;
  auto settings = ParseConnectionString(connection, error);
  if (!settings) Fail("bad connection string: " + error);
  settings_ = std::move(*settings);
}

std::string ConnectionSettings::Get(const char* key, const std::string& fallback) const {
  const auto it = settings_.find(key);
  return it == settings_.end() ? fallback : it->second;
}

namespace {

std::string PsqlCommand(const std::string& connection) {
  const ConnectionSettings settings(connection);
  std::string user = settings.Get("uid", "");
  if (user.empty()) user = settings.Get("username", "");
  return "PGPASSWORD=" + ShellQuoted(settings.Get("pwd", settings.Get("password", ""))) +
         " psql -X -q -h " + ShellQuoted(settings.Get("server", "127.0.0.1")) + " -p " +
         ShellQuoted(settings.Get("port", "5432")) +
         (user.empty() ? "" : " -U " + ShellQuoted(user)) + " -d " +
         ShellQuoted(settings.Get("database", "postgres"));
}

void Exec(DAL& dal, const std::string& sql) {
  if (!dal.ExecSQL(sql)) Fail(sql + ": " + dal.LastError());
}

}  // namespace

SalesTable::SalesTable() {
  if (const char* rows = std::getenv("KIVDB_BENCH_ROWS")) rows_ = std::max(1L, std::atol(rows));
  if (const char* given = std::getenv("KIVDB_PG_CONNECTION"); given && *given) {
    connection_ = given;
  } else {
    cluster_ = std::make_unique<testing_support::OwnCluster>(
        KIVDB_PG_CLUSTER,
        std::filesystem::temp_directory_path() / ("kivdb_bench_pg_" + std::to_string(::getpid())));
    if (!cluster_->Ready()) {
      cluster_->Stop();
      Fail("scripts/pg-cluster could not start a server");
    }
    connection_ = cluster_->Connection();
  }
  psql_ = PsqlCommand(connection_);
  DAL dal;
  dal.ConnectionString(connection_);
  Exec(dal, "DROP TABLE IF EXISTS kivdb_bench_sales");
  Exec(dal,
       "CREATE TABLE kivdb_bench_sales(id integer PRIMARY KEY, name text, qty integer, "
       "price double precision, day date)");
  Exec(dal,
       "INSERT INTO kivdb_bench_sales SELECT i, 'customer ' || (i % 5000), i % 97, "
       "(i % 10000) / 100.0, make_date(2010 + i % 15, 1 + i % 12, 1 + i % 28) "
       "FROM generate_series(1, " +
           std::to_string(rows_) + ") i");
  Exec(dal, "VACUUM ANALYZE kivdb_bench_sales");
}

SalesTable::~SalesTable() {
  DAL cleanup;
  cleanup.ConnectionString(connection_);
  cleanup.ExecSQL("DROP TABLE IF EXISTS kivdb_bench_sales");
}

void CopyWithPsql(benchmark::State& state, const SalesTable& table) {
  const std::string command = table.Psql() + " -c " +
                              ShellQuoted(std::string("COPY (") + kSelect + ") TO STDOUT") +
                              " > /dev/null";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) {
      state.SkipWithError("psql failed");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * table.Rows());
}

void ReadWhole(benchmark::State& state, const SalesTable& table, const std::string& connection) {
  DAL dal;
  dal.ConnectionString(connection);
  for (auto _ : state) {
    std::shared_ptr<Recordset> rs;
    if (!dal.ReadRecordset(kSelect, rs) || rs->RecordCount() != table.Rows()) {
      state.SkipWithError(dal.LastError().c_str());
      break;
    }
    benchmark::DoNotOptimize(rs);
  }
  state.SetItemsProcessed(state.iterations() * table.Rows());
}

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
  for (const Run& run : runs) {
    // With repetitions the median stands for the case; the other aggregates are no times.
    if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
    const std::string name = run.benchmark_name();
    times_[name.substr(0, name.find('/'))] = run.GetAdjustedRealTime();
  }
  ConsoleReporter::ReportRuns(runs);
}

double RatioReporter::Time(const std::string& name) const {
  const auto it = times_.find(name);
  return it == times_.end() ? 0 : it->second;
}

}  // namespace kivdb::bench
