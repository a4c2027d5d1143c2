#include "control/data/pg_batch.h"

#include <unordered_map>
#include <vector>

#include "control/data/batch_writer.h"
#include "control/data/pg_connection.h"
#include "control/data/pg_reader.h"
#include "control/data/recordset_access.h"

namespace kivdb {
namespace {

std::string Quoted(const std::string& name) {
  std::string out = "\"";
  for (const char c : name) {
    out += c;
    if (c == '"') out += c;
  }
  return out + "\"";
}

class TableWriter final : public KeyedBatchWriter {
 public:
  TableWriter(PgConnection& connection, Recordset& records, const Recordset::BaseTable& base)
      : KeyedBatchWriter(records, base), connection_(connection) {}

  bool Prepare(std::string& error) {
    if (!HasColumns(error)) return false;
    table_ = (base_.schema.empty() ? "" : Quoted(base_.schema) + ".") + Quoted(base_.table);
    selectList_.clear();
    for (size_t i = 0; i < mapped_.size(); ++i)
      selectList_ += (i ? ", " : "") + Quoted(base_.columns[mapped_[i]]);
    return true;
  }

 private:
  // "k1" = $n AND "k2" = $n+1 ..., numbered after the `first - 1` values already bound.
  std::string KeyCondition(size_t first) const {
    std::string condition;
    for (size_t k = 0; k < base_.keyFields.size(); ++k) {
      condition += (k ? " AND " : "") + Quoted(base_.columns[base_.keyFields[k]]) + " = $" +
                   std::to_string(first + k);
    }
    return condition;
  }

  void AddKeyValues(size_t row, bool original, std::vector<Variant>& values) const {
    for (const int field : base_.keyFields) values.push_back(KeyValue(row, field, original));
  }

  bool Read(const std::string& sql, const std::vector<Variant>& values, Recordset& rows,
            std::string& error) {
    PgRecordsetReader reader(false);
    if (!connection_.RunParams(sql, values, &reader, nullptr, error)) return false;
    rows = reader.TakeRecords();
    return true;
  }

  bool ReadByKey(size_t row, bool original, Recordset& current, std::string& error) override {
    std::vector<Variant> values;
    AddKeyValues(row, original, values);
    return Read("SELECT " + selectList_ + " FROM " + table_ + " WHERE " + KeyCondition(1), values,
                current, error);
  }

  bool Change(const std::string& sql, const std::vector<Variant>& values, size_t row,
              const char* what, std::string& error) {
    long long affected = 0;
    if (!connection_.RunParams(sql, values, nullptr, &affected, error)) return false;
    if (affected != 1) {
      error = Conflict(row, what);
      return false;
    }
    return true;
  }

  bool Update(size_t row, std::string& error) override {
    std::vector<Variant> values;
    std::string assignments;
    for (const int field : mapped_) {
      const Variant& value = RecordsetAccess::CellValue(records_, row, field);
      if (value == records_.OriginalValue(row, field)) continue;
      values.push_back(value.IsEmpty() ? Variant::Null() : value);
      assignments += (assignments.empty() ? "" : ", ") + Quoted(base_.columns[field]) + " = $" +
                     std::to_string(values.size());
    }
    if (values.empty()) return true;
    const size_t first = values.size() + 1;
    AddKeyValues(row, true, values);
    return Change("UPDATE " + table_ + " SET " + assignments + " WHERE " + KeyCondition(first),
                  values, row, "was changed", error);
  }

  bool Delete(size_t row, std::string& error) override {
    std::vector<Variant> values;
    AddKeyValues(row, true, values);
    return Change("DELETE FROM " + table_ + " WHERE " + KeyCondition(1), values, row, "was deleted",
                  error);
  }

  // Fields left Empty are not written, so that the table's defaults (and generated keys) fill
  // them; the inserted row's values, as the table holds them, become the record's.
  bool Insert(size_t row, std::string& error) override {
    std::vector<Variant> values;
    std::string names;
    std::string markers;
    for (const int field : mapped_) {
      const Variant& value = RecordsetAccess::CellValue(records_, row, field);
      if (value.IsEmpty()) continue;
      values.push_back(value);
      names += (names.empty() ? "" : ", ") + Quoted(base_.columns[field]);
      markers += (markers.empty() ? "$" : ", $") + std::to_string(values.size());
    }
    const std::string sql =
        "INSERT INTO " + table_ +
        (values.empty() ? " DEFAULT VALUES" : " (" + names + ") VALUES (" + markers + ")") +
        " RETURNING " + selectList_;
    Recordset inserted;
    if (!Read(sql, values, inserted, error)) return false;
    insertedRows_.emplace(row, std::move(inserted));
    return true;
  }

  PgConnection& connection_;
  std::string table_;       // quoted, with its schema
  std::string selectList_;  // the mapped columns, quoted
};

}  // namespace

bool WritePgBatch(PgConnection& connection, Recordset& records, std::string& error) {
  const Recordset::BaseTable* base = WritableBaseTable(records, error);
  if (!base) return false;
  TableWriter writer(connection, records, *base);
  if (!writer.Prepare(error)) return false;

  // Outside a transaction the batch is one; inside the caller's it nests under a savepoint.
  const bool outermost = !connection.InTransaction();
  if (!connection.Execute(outermost ? "BEGIN" : "SAVEPOINT kivdb_batch", error)) return false;
  BatchResync resync;
  bool ok = WritePending(writer, records, resync, error);
  std::string ignored;
  if (outermost) {
    ok = ok && connection.Execute("COMMIT", error);
    if (!ok) connection.Execute("ROLLBACK", ignored);
  } else {
    ok = ok && connection.Execute("RELEASE SAVEPOINT kivdb_batch", error);
    if (!ok) {
      connection.Execute("ROLLBACK TO SAVEPOINT kivdb_batch", ignored);
      connection.Execute("RELEASE SAVEPOINT kivdb_batch", ignored);
    }
  }
  if (!ok) return false;
  AcceptBatch(records, resync);
  return true;
}

}  // namespace kivdb
