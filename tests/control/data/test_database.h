#pragma once
// TestDatabase: a fresh, empty database of one engine for one test, removed afterwards: a new
// SQLite file, or a new schema on the PostgreSQL test server, which the test's connection string
// makes the only one it sees. CTest starts that server with
// scripts/pg-cluster and hands its connection string over in the file named by
// KIVDB_PG_CONNECTION_FILE (KIVDB_PG_CONNECTION may hold one directly, for a run by hand). Without
// a server the PostgreSQL cases fail with the reason; they are never skipped.
//
// The PostgreSQL server is reached two ways, each an engine of its own: through ODBC (Postgres)
// and through the native provider (PostgresNative), in a schema of their own all the same.
//
// DatabaseTest is the base of suites that run on every engine:
//   class MyTest : public testing_support::DatabaseTest {};
//   TEST_P(MyTest, Case) { ... db().ConnectionString() ... }
//   KIVDB_ON_BOTH_ENGINES(MyTest);

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace kivdb::testing_support {

enum class Engine { Sqlite, Postgres, PostgresNative };
void PrintTo(Engine engine, std::ostream* out);

// True for the engines on the PostgreSQL server.
inline bool IsPostgresEngine(Engine engine) {
  return engine != Engine::Sqlite;
}

// "SQLite", "PostgreSQL" (through ODBC) or "NativePostgreSQL", for the names of parameterised
// cases.
std::string EngineName(const ::testing::TestParamInfo<Engine>& info);

// The PostgreSQL test server's connection string, or "" with the reason in `error`.
std::string PostgresServerConnection(std::string& error);

// The native provider's connection string to the server of the ODBC string `odbc`, seeing only
// `schema` when one is given; "" with the reason in `error` when `odbc` names no server.
std::string NativePostgresConnection(const std::string& odbc, const std::string& schema,
                                     std::string& error);

// `connection` with the value of `key` (any case) replaced, or the pair appended.
std::string WithSetting(const std::string& connection, const std::string& key,
                        const std::string& value);

class TestDatabase {
 public:
  explicit TestDatabase(Engine engine);
  ~TestDatabase();
  TestDatabase(const TestDatabase&) = delete;
  TestDatabase& operator=(const TestDatabase&) = delete;

  Engine GetEngine() const { return engine_; }
  bool IsPostgres() const { return IsPostgresEngine(engine_); }
  // False when the database could not be made; Problem() says why.
  bool Ready() const { return !connection_.empty(); }
  const std::string& Problem() const { return problem_; }
  const std::string& ConnectionString() const { return connection_; }

  // Runs each statement through a DAL; returns "" or the first failure with its statement.
  std::string Run(const std::vector<std::string>& statements) const;

 private:
  Engine engine_;
  std::string connection_;
  std::string problem_;
  std::string folder_;      // SQLite: the folder of the file
  std::string schemaName_;  // PostgreSQL: the schema made for the test
  std::string server_;      // PostgreSQL: the server's own connection string
};

class DatabaseTest : public ::testing::TestWithParam<Engine> {
 protected:
  void SetUp() override;
  TestDatabase& db() { return *db_; }
  bool IsPostgres() const { return IsPostgresEngine(GetParam()); }
  // The text for the engine under test.
  const char* Sql(const char* sqlite, const char* postgres) const {
    return IsPostgres() ? postgres : sqlite;
  }
  // Runs statements and fails the test when one fails.
  void Create(const std::vector<std::string>& statements);

 private:
  std::unique_ptr<TestDatabase> db_;
};

}  // namespace kivdb::testing_support

// Every engine a suite runs on: the one list.
#define KIVDB_ENGINES                                           \
  ::testing::Values(::kivdb::testing_support::Engine::Sqlite,   \
                    ::kivdb::testing_support::Engine::Postgres, \
                    ::kivdb::testing_support::Engine::PostgresNative)

#define KIVDB_ON_BOTH_ENGINES(suite) \
  INSTANTIATE_TEST_SUITE_P(Engines, suite, KIVDB_ENGINES, ::kivdb::testing_support::EngineName)
