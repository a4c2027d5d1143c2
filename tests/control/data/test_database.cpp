#include "tests/control/data/test_database.h"

#include <unistd.h>

#include <atomic>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <kivdb/dal.h>
#include "control/data/connection_string.h"

namespace kivdb::testing_support {
namespace {

std::string Lowered(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string Trimmed(const std::string& text) {
  const size_t begin = text.find_first_not_of(" \t\r\n");
  if (begin == std::string::npos) return std::string();
  return text.substr(begin, text.find_last_not_of(" \t\r\n") - begin + 1);
}

std::string UniqueName(const char* prefix) {
  static std::atomic<int> counter{0};
  return std::string(prefix) + std::to_string(getpid()) + "_" + std::to_string(++counter);
}

const char* NameOf(Engine engine) {
  switch (engine) {
    case Engine::Sqlite:
      return "SQLite";
    case Engine::Postgres:
      return "PostgreSQL";
    case Engine::PostgresNative:
      return "NativePostgreSQL";
  }
  return "?";
}

}  // namespace

void PrintTo(Engine engine, std::ostream* out) {
  *out << NameOf(engine);
}

std::string EngineName(const ::testing::TestParamInfo<Engine>& info) {
  return NameOf(info.param);
}

std::string NativePostgresConnection(const std::string& odbc, const std::string& schema,
                                     std::string& error) {
  const auto settings = ParseConnectionString(odbc, error);
  if (!settings) return std::string();
  auto get = [&](const char* key) {
    const auto it = settings->find(key);
    return it == settings->end() ? std::string() : it->second;
  };
  if (get("server").empty()) {
    error = "The PostgreSQL test server's connection string names no server: " + odbc;
    return std::string();
  }
  std::string out = "Provider=PostgreSQL;Host=" + get("server") + ";Port=" + get("port") +
                    ";Database=" + get("database") + ";User=" + get("uid") +
                    ";Password=" + get("pwd");
  if (!schema.empty()) out += ";Options='-c search_path=" + schema + "'";
  return out;
}

std::string PostgresServerConnection(std::string& error) {
  if (const char* direct = std::getenv("KIVDB_PG_CONNECTION"); direct && *direct) return direct;
  const char* file = std::getenv("KIVDB_PG_CONNECTION_FILE");
  if (!file || !*file) {
    error =
        "No PostgreSQL test server: run the tests through ctest (its fixture starts one with "
        "scripts/pg-cluster), or set KIVDB_PG_CONNECTION to an ODBC connection string";
    return std::string();
  }
  std::ifstream in(file);
  std::string line;
  if (!in || !std::getline(in, line) || Trimmed(line).empty()) {
    error = std::string("The PostgreSQL test server is not running: no connection string in ") +
            file + " (see the output of the pg_cluster_start test)";
    return std::string();
  }
  return Trimmed(line);
}

std::string WithSetting(const std::string& connection, const std::string& key,
                        const std::string& value) {
  std::string out;
  bool replaced = false;
  size_t start = 0;
  while (start <= connection.size()) {
    size_t end = connection.find(';', start);
    if (end == std::string::npos) end = connection.size();
    std::string part = connection.substr(start, end - start);
    const size_t equals = part.find('=');
    if (equals != std::string::npos && Lowered(Trimmed(part.substr(0, equals))) == Lowered(key)) {
      part = key + "=" + value;
      replaced = true;
    }
    if (!Trimmed(part).empty()) out += (out.empty() ? "" : ";") + part;
    start = end + 1;
  }
  if (!replaced) out += (out.empty() ? "" : ";") + key + "=" + value;
  return out;
}

TestDatabase::TestDatabase(Engine engine) : engine_(engine) {
  if (engine == Engine::Sqlite) {
    folder_ = (std::filesystem::temp_directory_path() / UniqueName("kivdb_db_")).string();
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    connection_ = "Provider=SQLite;Data Source=" + folder_ + "/test.db";
    DAL dal;
    dal.ConnectionString(connection_ + ";Mode=ReadWriteCreate");
    if (!dal.IsConnected()) {
      problem_ = "Cannot create an SQLite file: " + dal.LastError();
      connection_.clear();
    }
    return;
  }
  server_ = PostgresServerConnection(problem_);
  if (server_.empty()) return;
  // A schema of its own per test: far quicker to make than a database, and as separate.
  schemaName_ = UniqueName("kivdb_t");
  DAL admin;
  admin.ConnectionString(server_);
  if (!admin.ExecSQL("CREATE SCHEMA " + schemaName_)) {
    problem_ = "Cannot create a schema on the PostgreSQL test server: " + admin.LastError();
    schemaName_.clear();
    return;
  }
  if (engine == Engine::PostgresNative) {
    connection_ = NativePostgresConnection(server_, schemaName_, problem_);
    return;
  }
  connection_ = WithSetting(server_, "ConnSettings", "{SET search_path TO " + schemaName_ + "}");
}

TestDatabase::~TestDatabase() {
  if (!folder_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  if (!schemaName_.empty()) {
    DAL admin;
    admin.ConnectionString(server_);
    if (!admin.ExecSQL("SET lock_timeout = '10s'; DROP SCHEMA IF EXISTS " + schemaName_ +
                       " CASCADE")) {
      ADD_FAILURE() << "Cannot drop test schema " << schemaName_ << ": " << admin.LastError();
    }
  }
}

std::string TestDatabase::Run(const std::vector<std::string>& statements) const {
  DAL dal;
  dal.ConnectionString(connection_);
  for (const std::string& statement : statements) {
    if (!dal.ExecSQL(statement)) return statement + ": " + dal.LastError();
  }
  return std::string();
}

void DatabaseTest::SetUp() {
  db_ = std::make_unique<TestDatabase>(GetParam());
  ASSERT_TRUE(db_->Ready()) << db_->Problem();
}

void DatabaseTest::Create(const std::vector<std::string>& statements) {
  const std::string failure = db_->Run(statements);
  ASSERT_EQ(failure, "");
}

}  // namespace kivdb::testing_support
