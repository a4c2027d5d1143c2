#include "control/data/sqlite_connection.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <optional>
#include <set>

#include <unistd.h>

#include "base/text.h"
#include "control/data/recordset_access.h"
#include "control/data/sqlite_batch.h"
#include "control/data/sqlite_values.h"

namespace kivdb {
namespace {

constexpr int kDefaultBusyTimeoutMs = 2000;
// Virtual-machine steps between two looks at the clock while a time limit is set: often enough to
// stop within a few milliseconds of the limit, rarely enough to cost nothing measurable.
constexpr int kStepsPerClockCheck = 10000;

std::string Setting(const std::map<std::string, std::string>& settings, const std::string& key) {
  const auto it = settings.find(key);
  return it == settings.end() ? std::string() : it->second;
}

bool OnlyBlanksOrComments(const char* text) {
  while (*text) {
    if (std::isspace(static_cast<unsigned char>(*text)) || *text == ';') {
      ++text;
    } else if (text[0] == '-' && text[1] == '-') {
      while (*text && *text != '\n') ++text;
    } else if (text[0] == '/' && text[1] == '*') {
      const char* close = std::strstr(text + 2, "*/");
      if (!close) return true;
      text = close + 2;
    } else {
      return false;
    }
  }
  return true;
}

// The table the records of `statement` come from, the table column behind each field and the
// fields that hold the table's key; nothing when the columns come from more than one table.
std::optional<Recordset::BaseTable> FindBaseTable(sqlite3* db, sqlite3_stmt* statement) {
  Recordset::BaseTable base;
  const int count = sqlite3_column_count(statement);
  std::set<std::string> seen;
  for (int c = 0; c < count; ++c) {
    const char* table = sqlite3_column_table_name(statement, c);
    const char* origin = sqlite3_column_origin_name(statement, c);
    const char* database = sqlite3_column_database_name(statement, c);
    if (!table || !origin) {
      base.columns.emplace_back();  // an expression
      continue;
    }
    if (!database || std::strcmp(database, "main") != 0) return std::nullopt;
    if (base.table.empty()) {
      base.table = table;
    } else if (text::Lower(base.table) != text::Lower(table)) {
      return std::nullopt;
    }
    // A column selected twice is written back through its first field only.
    base.columns.emplace_back(seen.insert(text::Lower(origin)).second ? origin : "");
  }
  if (base.table.empty()) return std::nullopt;

  std::string error;
  Statement keys =
      Prepare(db, "SELECT name FROM pragma_table_info(?1) WHERE pk > 0 ORDER BY pk", error);
  if (!keys) return base;
  sqlite3_bind_text(keys.get(), 1, base.table.c_str(), -1, SQLITE_TRANSIENT);
  bool complete = true;
  while (sqlite3_step(keys.get()) == SQLITE_ROW) {
    const std::string key =
        text::Lower(reinterpret_cast<const char*>(sqlite3_column_text(keys.get(), 0)));
    const auto it =
        std::find_if(base.columns.begin(), base.columns.end(),
                     [&](const std::string& column) { return text::Lower(column) == key; });
    if (it == base.columns.end()) {
      complete = false;
      break;
    }
    base.keyFields.push_back(static_cast<int>(it - base.columns.begin()));
  }
  if (!complete || base.keyFields.empty()) {
    base.keyFields.clear();
    const auto it =
        std::find_if(base.columns.begin(), base.columns.end(),
                     [](const std::string& column) { return text::Lower(column) == "rowid"; });
    if (it != base.columns.end())
      base.keyFields.push_back(static_cast<int>(it - base.columns.begin()));
  }
  return base;
}

// The name of an existing table or view spelled as the database has it, or nothing.
std::optional<std::string> FindTableOrView(sqlite3* db, const std::string& name,
                                           std::string& error) {
  Statement find = Prepare(
      db,
      "SELECT name FROM sqlite_master WHERE type IN ('table','view') AND name = ?1 COLLATE NOCASE",
      error);
  if (!find) return std::nullopt;
  sqlite3_bind_text(find.get(), 1, name.c_str(), -1, SQLITE_TRANSIENT);
  if (sqlite3_step(find.get()) != SQLITE_ROW) return std::nullopt;
  return std::string(reinterpret_cast<const char*>(sqlite3_column_text(find.get(), 0)));
}

}  // namespace

std::unique_ptr<Connection> SqliteConnection::Open(
    const std::map<std::string, std::string>& settings, std::string& error) {
  const std::string path = Setting(settings, "data source");
  if (path.empty()) {
    error = "The connection string names no Data Source";
    return nullptr;
  }
  const std::string mode = text::Lower(Setting(settings, "mode"));
  int flags = 0;
  if (mode.empty() || mode == "readwrite") {
    flags = SQLITE_OPEN_READWRITE;
  } else if (mode == "readwritecreate") {
    flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
  } else if (mode == "readonly" || mode == "read") {
    flags = SQLITE_OPEN_READONLY;
  } else {
    error = "Unknown Mode in the connection string: " + Setting(settings, "mode");
    return nullptr;
  }
  int busyTimeout = kDefaultBusyTimeoutMs;
  if (const std::string timeout = Setting(settings, "busy timeout"); !timeout.empty()) {
    auto [end, ec] = std::from_chars(timeout.data(), timeout.data() + timeout.size(), busyTimeout);
    if (ec != std::errc() || end != timeout.data() + timeout.size() || busyTimeout < 0) {
      error = "Busy Timeout must be a number of milliseconds: " + timeout;
      return nullptr;
    }
  }
  std::error_code ignored;
  if (!(flags & SQLITE_OPEN_CREATE) && path != ":memory:" &&
      !std::filesystem::exists(path, ignored)) {
    error = "Database file not found: " + path;
    return nullptr;
  }
  // The library names both of these "unable to open database file"; say which it is.
  if (path != ":memory:" && std::filesystem::is_directory(path, ignored)) {
    error = "Cannot open database " + path + ": it is a folder, not a database file";
    return nullptr;
  }
  // A file it may not write the library opens read-only, so only reading is asked for.
  if (path != ":memory:" && std::filesystem::exists(path, ignored) &&
      ::access(path.c_str(), R_OK) != 0) {
    error = "Cannot open database " + path + ": " + std::strerror(errno);
    return nullptr;
  }

  sqlite3* db = nullptr;
  // A connection is used by one thread at a time, so it needs no locking of its own.
  const int rc = sqlite3_open_v2(path.c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    error = "Cannot open database " + path + ": " + (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
    sqlite3_close(db);
    return nullptr;
  }
  sqlite3_busy_timeout(db, busyTimeout);
  // Opening is lazy: read the schema now, so that a file that is no database fails here.
  char* message = nullptr;
  if (sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, &message) !=
      SQLITE_OK) {
    error = "Cannot open database " + path + ": " + (message ? message : sqlite3_errmsg(db));
    sqlite3_free(message);
    sqlite3_close(db);
    return nullptr;
  }
  auto* connection = new SqliteConnection(db);
  connection->busyTimeoutMs_ = busyTimeout;
  return std::unique_ptr<Connection>(connection);
}

SqliteConnection::~SqliteConnection() {
  sqlite3_close_v2(db_);
}

bool SqliteConnection::Simple(const char* sql, std::string& error) {
  char* message = nullptr;
  if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) != SQLITE_OK) {
    error = message ? message : sqlite3_errmsg(db_);
    sqlite3_free(message);
    return false;
  }
  return true;
}

bool SqliteConnection::RunStatements(const std::string& sql, const std::vector<Variant>* arguments,
                                     Recordset* out, bool forUpdate, std::string& error,
                                     RowSink* sink) {
  const char* next = sql.c_str();
  int parametersUsed = 0;
  // With a sink, the records of a statement that returns columns but is not the last one are held
  // until it is known whether a later one returns columns too.
  Recordset held;
  bool streamed = false;
  while (!OnlyBlanksOrComments(next)) {
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db_, next, -1, &raw, &tail) != SQLITE_OK) {
      error = sqlite3_errmsg(db_);
      sqlite3_finalize(raw);
      return false;
    }
    Statement statement(raw);
    next = tail;
    if (!statement) continue;
    if (arguments) {
      const int count = sqlite3_bind_parameter_count(raw);
      parametersUsed = std::max(parametersUsed, count);
      if (count > static_cast<int>(arguments->size())) {
        error = "The query needs " + std::to_string(count) + " argument(s); " +
                std::to_string(arguments->size()) + " given";
        return false;
      }
      for (int i = 1; i <= count; ++i) {
        if (!BindValue(raw, i, (*arguments)[i - 1], 0, error)) return false;
      }
    }
    if (sink && sqlite3_column_count(raw) > 0) {
      if (OnlyBlanksOrComments(next)) {
        if (!StreamStatement(db_, raw, *sink, error)) return false;
        streamed = true;
      } else {
        held = Recordset();
        if (!ReadStatement(db_, raw, held, error)) return false;
      }
      continue;
    }
    if (out && sqlite3_column_count(raw) > 0) {
      Recordset records;
      if (!ReadStatement(db_, raw, records, error)) return false;
      if (forUpdate) {
        if (auto base = FindBaseTable(db_, raw))
          RecordsetAccess::SetBaseTable(records, std::move(*base));
      }
      *out = std::move(records);
      continue;
    }
    int rc;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) {
      error = sqlite3_errmsg(db_);
      return false;
    }
  }
  if (arguments && static_cast<int>(arguments->size()) > parametersUsed) {
    error = "Too many arguments: the query takes " + std::to_string(parametersUsed) + ", " +
            std::to_string(arguments->size()) + " given";
    return false;
  }
  if (sink && !streamed && held.FieldCount() > 0) FeedRecordset(held, *sink);
  return true;
}

bool SqliteConnection::RunExec(const ExecCommand& command, Recordset* out, bool forUpdate,
                               std::string& error, RowSink* sink) {
  std::optional<std::string> savedSql;
  if (FindTableOrView(db_, "XSP", error)) {
    Statement find = Prepare(db_, "SELECT sqlIs FROM XSP WHERE nameIs = ?1 COLLATE NOCASE", error);
    if (!find) return false;
    sqlite3_bind_text(find.get(), 1, command.name.c_str(), -1, SQLITE_TRANSIENT);
    const int rc = sqlite3_step(find.get());
    if (rc == SQLITE_ROW) {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(find.get(), 0));
      savedSql = text ? text : "";
    } else if (rc != SQLITE_DONE) {
      error = sqlite3_errmsg(db_);
      return false;
    }
  }
  if (!savedSql) {
    if (!command.arguments.empty()) {
      error = "No saved query named " + command.name;
      return false;
    }
    const auto table = FindTableOrView(db_, command.name, error);
    if (!table) {
      error = "No saved query, table or view named " + command.name;
      return false;
    }
    return RunStatements("SELECT * FROM " + QuoteIdentifier(*table), nullptr, out, forUpdate, error,
                         sink);
  }
  if (OnlyBlanksOrComments(savedSql->c_str())) {
    error = "The saved query " + command.name + " is empty";
    return false;
  }
  // A saved query of several statements succeeds or fails as a whole.
  if (!Simple("SAVEPOINT kivdb_exec", error)) return false;
  if (!RunStatements(*savedSql, &command.arguments, out, forUpdate, error, sink)) {
    std::string ignored;
    Simple("ROLLBACK TO kivdb_exec; RELEASE kivdb_exec", ignored);
    error = command.name + ": " + error;
    return false;
  }
  return Simple("RELEASE kivdb_exec", error);
}

void SqliteConnection::SetQueryTimeout(int seconds) {
  timeoutSeconds_ = seconds > 0 ? seconds : 0;
  // The progress handler does not run while a command waits for another process's lock, so that
  // wait is cut to the limit too.
  sqlite3_busy_timeout(db_, timeoutSeconds_ > 0 ? static_cast<int>(std::min<long long>(
                                                      busyTimeoutMs_, timeoutSeconds_ * 1000LL))
                                                : busyTimeoutMs_);
  if (timeoutSeconds_ > 0) {
    sqlite3_progress_handler(db_, kStepsPerClockCheck, &SqliteConnection::OnProgress, this);
  } else {
    sqlite3_progress_handler(db_, 0, nullptr, nullptr);
  }
}

int SqliteConnection::OnProgress(void* self) {
  auto* connection = static_cast<SqliteConnection*>(self);
  // Once the command has been stopped, its clean-up (rolling back a saved query) must run.
  if (connection->timedOut_) return 0;
  if (std::chrono::steady_clock::now() < connection->deadline_) return 0;
  connection->timedOut_ = true;
  return 1;  // interrupts the statement running now
}

void SqliteConnection::StartCommand() {
  timedOut_ = false;
  if (timeoutSeconds_ > 0)
    deadline_ = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds_);
}

bool SqliteConnection::Finish(bool ok, std::string& error) const {
  // A lock wait cut short at the limit fails as "database is locked": it is the limit all the same.
  const bool late = timeoutSeconds_ > 0 && std::chrono::steady_clock::now() >= deadline_;
  if (!ok && (timedOut_ || late)) error = QueryTimedOutMessage(timeoutSeconds_);
  return ok;
}

void SqliteConnection::Cancel() {
  sqlite3_interrupt(db_);
}

bool SqliteConnection::Execute(const std::string& command, std::string& error) {
  StartCommand();
  if (IsExecCommand(command)) {
    const auto exec = ParseExecCommand(command, error);
    return Finish(exec && RunExec(*exec, nullptr, false, error), error);
  }
  return Finish(RunStatements(command, nullptr, nullptr, false, error), error);
}

bool SqliteConnection::Query(const std::string& command, bool forUpdate, Recordset& out,
                             std::string& error) {
  StartCommand();
  if (IsExecCommand(command)) {
    const auto exec = ParseExecCommand(command, error);
    return Finish(exec && RunExec(*exec, &out, forUpdate, error), error);
  }
  return Finish(RunStatements(command, nullptr, &out, forUpdate, error), error);
}

bool SqliteConnection::Stream(const std::string& command, RowSink& sink, std::string& error) {
  StartCommand();
  if (IsExecCommand(command)) {
    const auto exec = ParseExecCommand(command, error);
    return Finish(exec && RunExec(*exec, nullptr, false, error, &sink), error);
  }
  return Finish(RunStatements(command, nullptr, nullptr, false, error, &sink), error);
}

bool SqliteConnection::BeginTransaction(std::string& error) {
  StartCommand();
  return Finish(Simple("BEGIN", error), error);
}
bool SqliteConnection::Commit(std::string& error) {
  StartCommand();
  return Finish(Simple("COMMIT", error), error);
}
bool SqliteConnection::Rollback(std::string& error) {
  StartCommand();
  return Finish(Simple("ROLLBACK", error), error);
}

bool SqliteConnection::ApplyBatch(Recordset& records, std::string& error) {
  StartCommand();
  return Finish(WriteBatch(db_, records, error), error);
}

}  // namespace kivdb
