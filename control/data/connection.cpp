#include "control/data/connection.h"

#include "base/text.h"
#include "control/data/connection_string.h"
#include "control/data/odbc_connection.h"
#include "control/data/pg_connection.h"
#include "control/data/sqlite_connection.h"

namespace kivdb {

std::string QueryTimedOutMessage(int seconds) {
  return "The query timed out after " + std::to_string(seconds) + " s";
}

bool Connection::Stream(const std::string& command, RowSink& sink, std::string& error) {
  Recordset records;
  if (!Query(command, false, records, error)) return false;
  FeedRecordset(records, sink);
  return true;
}

std::unique_ptr<Connection> OpenDefaultConnection(const std::string& connectionString,
                                                  std::string& error, int timeoutSeconds) {
  if (connectionString.find_first_not_of(" \t\r\n;") == std::string::npos) {
    error = "No connection string";
    return nullptr;
  }
  const auto settings = ParseConnectionString(connectionString, error);
  if (!settings) return nullptr;
  const auto provider = settings->find("provider");
  // Everything else is the ODBC driver manager's to read, exactly as the host wrote it.
  if (provider == settings->end())
    return OdbcConnection::Open(connectionString, error, timeoutSeconds);
  const std::string name = text::Lower(provider->second);
  if (name == "sqlite" || name == "sqlite3") return SqliteConnection::Open(*settings, error);
  if (name == "postgresql" || name == "postgres")
    return PgConnection::Open(*settings, error, timeoutSeconds);
  error = "Unknown provider: " + provider->second;
  return nullptr;
}

}  // namespace kivdb
