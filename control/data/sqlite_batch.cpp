#include "control/data/sqlite_batch.h"

#include <map>
#include <optional>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "control/data/batch_writer.h"
#include "control/data/recordset_access.h"
#include "control/data/sqlite_values.h"

namespace kivdb {
namespace {

// Everything about the base table that the batch needs, prepared once.
class TableWriter final : public BatchWriter {
 public:
  TableWriter(sqlite3* db, Recordset& records, const Recordset::BaseTable& base)
      : BatchWriter(records, base), db_(db) {}

  bool Prepare(std::string& error) {
    if (!HasColumns(error)) return false;
    table_ = QuoteIdentifier(base_.table);
    std::string select = "SELECT ";
    for (size_t i = 0; i < mapped_.size(); ++i) {
      select += (i ? ", " : "") + QuoteIdentifier(base_.columns[mapped_[i]]);
    }
    select += " FROM " + table_ + " WHERE ";
    if (!base_.keyFields.empty()) {
      byKey_ = kivdb::Prepare(db_, select + KeyCondition(), error);
      if (!byKey_) return false;
    }
    std::string ignored;
    byRowid_ = kivdb::Prepare(db_, select + "rowid = ?1", ignored);  // none in WITHOUT ROWID tables
    // Values are read back and bound the way the columns declare them.
    Statement probe = byKey_ ? Statement() : kivdb::Prepare(db_, select + "0", error);
    sqlite3_stmt* typed = byKey_ ? byKey_.get() : probe.get();
    if (!typed) return false;
    for (size_t i = 0; i < mapped_.size(); ++i)
      codes_[mapped_[i]] = DeclaredTypeCode(typed, static_cast<int>(i));
    return true;
  }

  // Re-reads the live records; differing values and rows that are gone are collected, to be
  // applied once the batch is committed.
  bool Resync(BatchResync& resync, std::string& error) override {
    for (const size_t row : records_.LiveRows()) {
      sqlite3_stmt* statement = nullptr;
      const auto inserted = insertedRowids_.find(row);
      if (inserted != insertedRowids_.end() && byRowid_) {
        statement = byRowid_.get();
        sqlite3_reset(statement);
        sqlite3_bind_int64(statement, 1, inserted->second);
      } else if (byKey_ && HasKey(row, false)) {
        statement = byKey_.get();
        if (!BindKey(statement, row, false, error)) return false;
      } else {
        continue;  // no way to find the row again: it keeps its values
      }
      const int rc = sqlite3_step(statement);
      if (rc == SQLITE_DONE) {
        resync.vanished.push_back(row);
        continue;
      }
      if (rc != SQLITE_ROW) return Failed(error);
      for (size_t i = 0; i < mapped_.size(); ++i) {
        const int field = mapped_[i];
        Variant value = ReadCell(statement, static_cast<int>(i), codes_[field]);
        if (!(value == RecordsetAccess::CellValue(records_, row, field)))
          resync.refreshed.emplace_back(row, field, std::move(value));
      }
      sqlite3_reset(statement);
    }
    return true;
  }

 private:
  std::string KeyCondition() const {
    std::string condition;
    for (size_t k = 0; k < base_.keyFields.size(); ++k) {
      condition += (k ? " AND " : "") + QuoteIdentifier(base_.columns[base_.keyFields[k]]) +
                   " = ?" + std::to_string(k + 1);
    }
    return condition;
  }

  // Binds the key values to ?1..?k of `statement`, after resetting it.
  bool BindKey(sqlite3_stmt* statement, size_t row, bool original, std::string& error,
               int first = 1) {
    sqlite3_reset(statement);
    for (size_t k = 0; k < base_.keyFields.size(); ++k) {
      const int field = base_.keyFields[k];
      if (!BindValue(statement, first + static_cast<int>(k), KeyValue(row, field, original),
                     codes_[field], error)) {
        return false;
      }
    }
    return true;
  }

  bool Failed(std::string& error) const {
    error = sqlite3_errmsg(db_);
    return false;
  }

  // The row must still hold the values the record was read with.
  bool CheckUnchanged(size_t row, std::string& error) override {
    if (!HasKey(row, true)) {
      error = "The records hold no key of " + base_.table +
              ": select its primary key (or rowid) to change or delete records";
      return false;
    }
    sqlite3_stmt* statement = byKey_.get();
    if (!BindKey(statement, row, true, error)) return false;
    const int rc = sqlite3_step(statement);
    if (rc == SQLITE_DONE) {
      error = Conflict(row, "was deleted");
      return false;
    }
    if (rc != SQLITE_ROW) return Failed(error);
    for (size_t i = 0; i < mapped_.size(); ++i) {
      const int field = mapped_[i];
      if (!(ReadCell(statement, static_cast<int>(i), codes_[field]) ==
            records_.OriginalValue(row, field))) {
        error = Conflict(row, "was changed");
        return false;
      }
    }
    sqlite3_reset(statement);
    return true;
  }

  // A cached statement for each shape of UPDATE or INSERT.
  sqlite3_stmt* Cached(const std::string& sql, std::string& error) {
    auto it = cache_.find(sql);
    if (it == cache_.end()) {
      Statement statement = kivdb::Prepare(db_, sql, error);
      if (!statement) return nullptr;
      it = cache_.emplace(sql, std::move(statement)).first;
    }
    sqlite3_reset(it->second.get());
    sqlite3_clear_bindings(it->second.get());
    return it->second.get();
  }

  bool StepOneChange(sqlite3_stmt* statement, size_t row, const char* what, std::string& error) {
    if (sqlite3_step(statement) != SQLITE_DONE) return Failed(error);
    if (sqlite3_changes(db_) != 1) {
      error = Conflict(row, what);
      return false;
    }
    return true;
  }

  bool Update(size_t row, std::string& error) override {
    std::vector<int> changed;
    for (const int field : mapped_) {
      if (!(RecordsetAccess::CellValue(records_, row, field) == records_.OriginalValue(row, field)))
        changed.push_back(field);
    }
    if (changed.empty()) return true;
    const int keys = static_cast<int>(base_.keyFields.size());
    std::string sql = "UPDATE " + table_ + " SET ";
    for (size_t i = 0; i < changed.size(); ++i) {
      sql += (i ? ", " : "") + QuoteIdentifier(base_.columns[changed[i]]) + " = ?" +
             std::to_string(keys + 1 + static_cast<int>(i));
    }
    sql += " WHERE " + KeyCondition();
    sqlite3_stmt* statement = Cached(sql, error);
    if (!statement || !BindKey(statement, row, true, error)) return false;
    for (size_t i = 0; i < changed.size(); ++i) {
      if (!BindValue(statement, keys + 1 + static_cast<int>(i),
                     RecordsetAccess::CellValue(records_, row, changed[i]), codes_[changed[i]],
                     error)) {
        return false;
      }
    }
    return StepOneChange(statement, row, "was changed", error);
  }

  bool Delete(size_t row, std::string& error) override {
    sqlite3_stmt* statement = Cached("DELETE FROM " + table_ + " WHERE " + KeyCondition(), error);
    if (!statement || !BindKey(statement, row, true, error)) return false;
    return StepOneChange(statement, row, "was deleted", error);
  }

  // Fields left Empty are not written, so that the table's defaults (and its rowid) fill them.
  bool Insert(size_t row, std::string& error) override {
    std::vector<int> given;
    for (const int field : mapped_) {
      if (!RecordsetAccess::CellValue(records_, row, field).IsEmpty()) given.push_back(field);
    }
    std::string sql = "INSERT INTO " + table_;
    if (given.empty()) {
      sql += " DEFAULT VALUES";
    } else {
      std::string names;
      std::string values;
      for (size_t i = 0; i < given.size(); ++i) {
        names += (i ? ", " : "") + QuoteIdentifier(base_.columns[given[i]]);
        values += (i ? ", ?" : "?") + std::to_string(i + 1);
      }
      sql += " (" + names + ") VALUES (" + values + ")";
    }
    sqlite3_stmt* statement = Cached(sql, error);
    if (!statement) return false;
    for (size_t i = 0; i < given.size(); ++i) {
      if (!BindValue(statement, static_cast<int>(i) + 1,
                     RecordsetAccess::CellValue(records_, row, given[i]), codes_[given[i]],
                     error)) {
        return false;
      }
    }
    if (sqlite3_step(statement) != SQLITE_DONE) return Failed(error);
    insertedRowids_[row] = sqlite3_last_insert_rowid(db_);
    return true;
  }

  sqlite3* db_;
  std::unordered_map<int, int> codes_;  // field -> declared type code of its column
  std::string table_;                   // quoted
  Statement byKey_;
  Statement byRowid_;
  std::map<std::string, Statement> cache_;
  std::unordered_map<size_t, sqlite3_int64> insertedRowids_;
};

bool Run(sqlite3* db, const char* sql, std::string& error) {
  char* message = nullptr;
  if (sqlite3_exec(db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
    error = message ? message : sqlite3_errmsg(db);
    sqlite3_free(message);
    return false;
  }
  return true;
}

}  // namespace

bool WriteBatch(sqlite3* db, Recordset& records, std::string& error) {
  const Recordset::BaseTable* base = WritableBaseTable(records, error);
  if (!base) return false;
  TableWriter writer(db, records, *base);
  if (!writer.Prepare(error)) return false;

  // Outside a transaction the batch takes the write lock at once; inside one it nests.
  const bool outermost = sqlite3_get_autocommit(db) != 0;
  if (!Run(db, outermost ? "BEGIN IMMEDIATE" : "SAVEPOINT kivdb_batch", error)) return false;
  BatchResync resync;
  bool ok = WritePending(writer, records, resync, error);
  ok = ok && Run(db, outermost ? "COMMIT" : "RELEASE kivdb_batch", error);
  if (!ok) {
    std::string ignored;
    Run(db, outermost ? "ROLLBACK" : "ROLLBACK TO kivdb_batch; RELEASE kivdb_batch", ignored);
    return false;
  }
  AcceptBatch(records, resync);
  return true;
}

}  // namespace kivdb
