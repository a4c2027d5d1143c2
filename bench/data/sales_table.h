#pragma once
// What the PostgreSQL read benchmarks share: the server of the run (KIVDB_PG_CONNECTION, an ODBC
// connection string of a server on which the user may create a table, or else a throwaway cluster
// of the run's own), a table of KIVDB_BENCH_ROWS rows (1,000,000 by default) of five columns on it,
// psql copying those rows out as the yardstick, and a reporter that keeps each case's time for the
// ratios printed after the run.

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/own_cluster.h"

namespace kivdb::bench {

inline constexpr const char* kSelect = "SELECT id, name, qty, price, day FROM kivdb_bench_sales";

// Prints the reason after the program's name and ends the program.
[[noreturn]] void Fail(const std::string& what);

// The settings of an ODBC connection string (keys in lower case); a bad string fails the run.
class ConnectionSettings {
 public:
  explicit ConnectionSettings(const std::string& connection);
  std::string Get(const char* key, const std::string& fallback) const;

 private:
  std::map<std::string, std::string> settings_;
};

// The server and the table of a run: made by the constructor, the table dropped and the cluster
// stopped by the destructor. The benchmarks run while it lives.
class SalesTable {
 public:
  SalesTable();
  ~SalesTable();
  SalesTable(const SalesTable&) = delete;
  SalesTable& operator=(const SalesTable&) = delete;

  const std::string& Connection() const { return connection_; }  // ODBC
  // The psql command line that reaches the same server and database, without the command.
  const std::string& Psql() const { return psql_; }
  long Rows() const { return rows_; }

 private:
  std::unique_ptr<testing_support::OwnCluster> cluster_;
  std::string connection_;
  std::string psql_;
  long rows_ = 1000000;
};

// `psql -c "COPY (kSelect) TO STDOUT" > /dev/null`, the yardstick of the reads.
void CopyWithPsql(benchmark::State& state, const SalesTable& table);

// DAL::ReadRecordset of every row of the table through the connection.
void ReadWhole(benchmark::State& state, const SalesTable& table, const std::string& connection);

// The console's report, keeping each case's real time (the median's, with repetitions).
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override;
  // The case's time; 0 when it did not run.
  double Time(const std::string& name) const;

 private:
  std::map<std::string, double> times_;
};

}  // namespace kivdb::bench
