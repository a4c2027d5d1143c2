// Reading 1,000,000 rows of five columns (integer, text, integer, double, date) from PostgreSQL
// through DAL and the native provider (whole with ReadRecordset, and forward-only with
// ReadForward), beside the ODBC provider and psql copying the same rows out as text
// (`psql -c "COPY (SELECT ...) TO STDOUT" > /dev/null`), all in the same run. Prints each
// provider's time over COPY's (goal for the native provider: at most 1.3).
//
// The server: KIVDB_PG_CONNECTION (an ODBC connection string of a PostgreSQL server on which the
// user may create a table), or else a throwaway cluster started with scripts/pg-cluster for the
// run. KIVDB_BENCH_ROWS overrides the number of rows (for a quick run).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include <kivdb/dal.h>
#include "bench/data/sales_table.h"
#include "control/data/row_sink.h"

namespace {

using kivdb::bench::kSelect;

const kivdb::bench::SalesTable* g_sales = nullptr;
std::string g_native;  // the same server through the native provider

void BM_PsqlCopy(benchmark::State& state) {
  kivdb::bench::CopyWithPsql(state, *g_sales);
}

// The native provider's connection string to the server of the ODBC one.
std::string NativeConnection(const std::string& connection) {
  const kivdb::bench::ConnectionSettings settings(connection);
  return "Provider=PostgreSQL;Host=" + settings.Get("server", "127.0.0.1") +
         ";Port=" + settings.Get("port", "5432") +
         ";Database=" + settings.Get("database", "postgres") +
         ";User=" + settings.Get("uid", settings.Get("username", "")) +
         ";Password=" + settings.Get("pwd", settings.Get("password", ""));
}

void BM_NativeReadRecordset(benchmark::State& state) {
  kivdb::bench::ReadWhole(state, *g_sales, g_native);
}

void BM_OdbcReadRecordset(benchmark::State& state) {
  kivdb::bench::ReadWhole(state, *g_sales, g_sales->Connection());
}

// Touches every value, as a page writer would, and keeps none.
struct TouchingSink : kivdb::RowSink {
  long rows = 0;
  size_t bytes = 0;
  bool Begin(const std::vector<kivdb::FieldInfo>&) override { return true; }
  bool Row(const kivdb::Variant* values, size_t count) override {
    ++rows;
    for (size_t i = 0; i < count; ++i)
      if (const std::string* text = values[i].AsText()) bytes += text->size();
    return true;
  }
};

void BM_NativeReadForward(benchmark::State& state) {
  kivdb::DAL dal;
  dal.ConnectionString(g_native);
  for (auto _ : state) {
    TouchingSink sink;
    if (!kivdb::ReadForward(dal, kSelect, sink) || sink.rows != g_sales->Rows()) {
      state.SkipWithError(dal.LastError().c_str());
      break;
    }
    benchmark::DoNotOptimize(sink.bytes);
  }
  state.SetItemsProcessed(state.iterations() * g_sales->Rows());
}

BENCHMARK(BM_PsqlCopy)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();
BENCHMARK(BM_NativeReadRecordset)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();
BENCHMARK(BM_NativeReadForward)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();
BENCHMARK(BM_OdbcReadRecordset)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const kivdb::bench::SalesTable sales;
  g_sales = &sales;
  g_native = NativeConnection(sales.Connection());
  kivdb::bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double psql = reporter.Time("BM_PsqlCopy");
  const std::pair<const char*, const char*> reads[] = {
      {"BM_NativeReadRecordset", "ReadRecordset, native provider"},
      {"BM_NativeReadForward", "ReadForward, native provider"},
      {"BM_OdbcReadRecordset", "ReadRecordset, ODBC provider"},
  };
  for (const auto& [name, what] : reads) {
    const double time = reporter.Time(name);
    if (psql > 0 && time > 0) std::printf("%s / psql COPY: %.2f real time\n", what, time / psql);
  }
  std::printf("(goal for the native provider: <= 1.3)\n");
  benchmark::Shutdown();
  return 0;
}
