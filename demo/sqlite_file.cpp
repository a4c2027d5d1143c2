#include "demo/sqlite_file.h"

#include <stdexcept>

namespace kivdb::demo {
namespace {

// Finalizes a statement however the scope ends.
struct StatementGuard {
  sqlite3_stmt* statement = nullptr;
  ~StatementGuard() { sqlite3_finalize(statement); }
};

}  // namespace

SqliteFile::SqliteFile(const std::filesystem::path& path, Mode mode) : path_(path.string()) {
  const int flags =
      mode == Mode::Create ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE : SQLITE_OPEN_READONLY;
  if (sqlite3_open_v2(path_.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
    const std::string reason = db_ ? sqlite3_errmsg(db_) : "out of memory";
    sqlite3_close(db_);
    db_ = nullptr;
    throw std::runtime_error("cannot open " + path_ + ": " + reason);
  }
}

SqliteFile::~SqliteFile() {
  sqlite3_close(db_);
}

std::string SqliteFile::Fail(const std::string& what) const {
  return path_ + ": " + what + ": " + sqlite3_errmsg(db_);
}

void SqliteFile::Exec(const std::string& sql) {
  char* message = nullptr;
  if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
    const std::string reason = message ? message : sqlite3_errmsg(db_);
    sqlite3_free(message);
    throw std::runtime_error(path_ + ": " + reason);
  }
}

void SqliteFile::Run(const std::string& sql, const std::vector<std::string>& texts,
                     const std::vector<uint8_t>* blob) {
  StatementGuard guard;
  if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &guard.statement, nullptr) != SQLITE_OK) {
    throw std::runtime_error(Fail(sql));
  }
  int index = 1;
  for (const std::string& text : texts) {
    sqlite3_bind_text(guard.statement, index++, text.c_str(), static_cast<int>(text.size()),
                      SQLITE_TRANSIENT);
  }
  if (blob) {
    sqlite3_bind_blob(guard.statement, index, blob->data(), static_cast<int>(blob->size()),
                      SQLITE_TRANSIENT);
  }
  if (sqlite3_step(guard.statement) != SQLITE_DONE) throw std::runtime_error(Fail(sql));
}

void SqliteFile::Query(const std::string& sql,
                       const std::function<void(const std::vector<std::string>&)>& row) {
  StatementGuard guard;
  if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &guard.statement, nullptr) != SQLITE_OK) {
    throw std::runtime_error(Fail(sql));
  }
  const int count = sqlite3_column_count(guard.statement);
  int step;
  while ((step = sqlite3_step(guard.statement)) == SQLITE_ROW) {
    std::vector<std::string> columns;
    for (int i = 0; i < count; ++i) {
      const auto* text = sqlite3_column_text(guard.statement, i);
      columns.emplace_back(text ? reinterpret_cast<const char*>(text) : "");
    }
    row(columns);
  }
  if (step != SQLITE_DONE) throw std::runtime_error(Fail(sql));
}

}  // namespace kivdb::demo
