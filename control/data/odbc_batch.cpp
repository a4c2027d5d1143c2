#include "control/data/odbc_batch.h"

#include <optional>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "control/data/batch_writer.h"
#include "control/data/odbc_connection.h"
#include "control/data/odbc_parameters.h"
#include "control/data/odbc_reader.h"
#include "control/data/recordset_access.h"

namespace kivdb {
namespace {

// One statement run with bound values; its rows, when it returns some, land in `rows`.
class BoundStatement {
 public:
  explicit BoundStatement(OdbcConnection& connection) : connection_(connection) {}

  bool Run(const std::string& sql, const std::vector<std::pair<Variant, OdbcParameterType>>& values,
           Recordset* rows, std::string& error) {
    OdbcHandle statement = connection_.NewStatement(error);
    if (!statement.Valid()) return false;
    ParameterSet parameters;
    for (size_t i = 0; i < values.size(); ++i) {
      if (!parameters.Bind(statement, static_cast<SQLUSMALLINT>(i + 1), values[i].first,
                           values[i].second, error)) {
        return false;
      }
    }
    std::string text = sql;
    const SQLRETURN rc = SQLExecDirect(statement.Get(), reinterpret_cast<SQLCHAR*>(text.data()),
                                       static_cast<SQLINTEGER>(text.size()));
    affected_ = 0;
    if (rc == SQL_NO_DATA) return true;
    if (!Succeeded(rc)) {
      error = DiagnosticText(statement, "The statement failed: " + sql);
      return false;
    }
    SQLRowCount(statement.Get(), &affected_);
    if (!rows) return true;
    std::vector<OdbcColumn> columns;
    return DescribeColumns(statement, false, columns, error) &&
           ReadRows(statement, columns, *rows, error, 1);
  }

  SQLLEN Affected() const { return affected_; }

 private:
  OdbcConnection& connection_;
  SQLLEN affected_ = 0;
};

class TableWriter final : public KeyedBatchWriter {
 public:
  TableWriter(OdbcConnection& connection, Recordset& records, const Recordset::BaseTable& base)
      : KeyedBatchWriter(records, base), connection_(connection) {}

  bool Prepare(std::string& error) {
    if (!HasColumns(error)) return false;
    table_ = (base_.schema.empty() ? "" : Quoted(base_.schema) + ".") + Quoted(base_.table);
    selectList_.clear();
    for (size_t i = 0; i < mapped_.size(); ++i) {
      selectList_ += (i ? ", " : "") + Quoted(base_.columns[mapped_[i]]);
    }
    // The columns' own types, so that values are bound as the table holds them.
    Recordset probe;
    OdbcHandle statement = connection_.NewStatement(error);
    if (!statement.Valid()) return false;
    std::string sql = "SELECT " + selectList_ + " FROM " + table_ + " WHERE 1 = 0";
    if (!Succeeded(SQLExecDirect(statement.Get(), reinterpret_cast<SQLCHAR*>(sql.data()),
                                 static_cast<SQLINTEGER>(sql.size())))) {
      error = DiagnosticText(statement, "Cannot read the columns of " + base_.table);
      return false;
    }
    std::vector<OdbcColumn> columns;
    if (!DescribeColumns(statement, false, columns, error)) return false;
    for (size_t i = 0; i < mapped_.size() && i < columns.size(); ++i) {
      types_[mapped_[i]] = {columns[i].sqlType, columns[i].size, columns[i].decimals};
    }
    return true;
  }

 private:
  std::string Quoted(const std::string& name) const {
    const std::string& q = connection_.Quote();
    if (q == " ") return name;
    std::string out = q;
    for (const char c : name) {
      out += c;
      if (std::string(1, c) == q) out += c;
    }
    return out + q;
  }

  std::string KeyCondition() const {
    std::string condition;
    for (size_t k = 0; k < base_.keyFields.size(); ++k) {
      condition += (k ? " AND " : "") + Quoted(base_.columns[base_.keyFields[k]]) + " = ?";
    }
    return condition;
  }

  OdbcParameterType TypeOf(int field) const {
    const auto it = types_.find(field);
    return it == types_.end() ? OdbcParameterType{} : it->second;
  }

  void AddKeyValues(size_t row, bool original,
                    std::vector<std::pair<Variant, OdbcParameterType>>& values) const {
    for (const int field : base_.keyFields) {
      values.emplace_back(KeyValue(row, field, original), TypeOf(field));
    }
  }

  bool ReadByKey(size_t row, bool original, Recordset& current, std::string& error) override {
    std::vector<std::pair<Variant, OdbcParameterType>> values;
    AddKeyValues(row, original, values);
    BoundStatement select(connection_);
    return select.Run("SELECT " + selectList_ + " FROM " + table_ + " WHERE " + KeyCondition(),
                      values, &current, error);
  }

  bool ExpectOneRow(const BoundStatement& statement, size_t row, const char* what,
                    std::string& error) const {
    if (statement.Affected() != 1) {
      error = Conflict(row, what);
      return false;
    }
    return true;
  }

  bool Update(size_t row, std::string& error) override {
    std::vector<std::pair<Variant, OdbcParameterType>> values;
    std::string assignments;
    for (const int field : mapped_) {
      const Variant& value = RecordsetAccess::CellValue(records_, row, field);
      if (value == records_.OriginalValue(row, field)) continue;
      assignments += (assignments.empty() ? "" : ", ") + Quoted(base_.columns[field]) + " = ?";
      values.emplace_back(value.IsEmpty() ? Variant::Null() : value, TypeOf(field));
    }
    if (values.empty()) return true;
    AddKeyValues(row, true, values);
    BoundStatement update(connection_);
    return update.Run("UPDATE " + table_ + " SET " + assignments + " WHERE " + KeyCondition(),
                      values, nullptr, error) &&
           ExpectOneRow(update, row, "was changed", error);
  }

  bool Delete(size_t row, std::string& error) override {
    std::vector<std::pair<Variant, OdbcParameterType>> values;
    AddKeyValues(row, true, values);
    BoundStatement remove(connection_);
    return remove.Run("DELETE FROM " + table_ + " WHERE " + KeyCondition(), values, nullptr,
                      error) &&
           ExpectOneRow(remove, row, "was deleted", error);
  }

  // Fields left Empty are not written, so that the table's defaults (and generated keys) fill
  // them; where the database returns the inserted row, its values are the record's new values.
  bool Insert(size_t row, std::string& error) override {
    std::vector<std::pair<Variant, OdbcParameterType>> values;
    std::string names;
    std::string markers;
    for (const int field : mapped_) {
      const Variant& value = RecordsetAccess::CellValue(records_, row, field);
      if (value.IsEmpty()) continue;
      names += (names.empty() ? "" : ", ") + Quoted(base_.columns[field]);
      markers += markers.empty() ? "?" : ", ?";
      values.emplace_back(value, TypeOf(field));
    }
    std::string sql =
        "INSERT INTO " + table_ +
        (values.empty() ? " DEFAULT VALUES" : " (" + names + ") VALUES (" + markers + ")");
    BoundStatement insert(connection_);
    if (!connection_.ReturnsInsertedRows()) return insert.Run(sql, values, nullptr, error);
    Recordset inserted;
    if (!insert.Run(sql + " RETURNING " + selectList_, values, &inserted, error)) return false;
    insertedRows_.emplace(row, std::move(inserted));
    return true;
  }

  OdbcConnection& connection_;
  std::unordered_map<int, OdbcParameterType> types_;
  std::string table_;       // quoted, with its schema
  std::string selectList_;  // the mapped columns, quoted
};

}  // namespace

bool WriteOdbcBatch(OdbcConnection& connection, Recordset& records, std::string& error) {
  connection.ClearCancel();
  const Recordset::BaseTable* base = WritableBaseTable(records, error);
  if (!base) return false;
  TableWriter writer(connection, records, *base);
  if (!writer.Prepare(error)) return false;

  // Outside a transaction the batch is one; inside the caller's it nests under a savepoint.
  const bool outermost = !connection.InTransaction();
  if (outermost ? !connection.SetAutocommit(false, error)
                : !connection.Execute("SAVEPOINT kivdb_batch", error)) {
    return false;
  }
  BatchResync resync;
  bool ok = WritePending(writer, records, resync, error);
  if (ok && connection.CancelRequested()) {
    error = "The write was cancelled";
    ok = false;
  }
  if (outermost) {
    ok = ok && connection.EndTransaction(true, error);
    std::string ignored;
    if (!ok) connection.EndTransaction(false, ignored);
    if (!connection.SetAutocommit(true, ok ? error : ignored)) ok = false;
  } else {
    ok = ok && connection.Execute("RELEASE SAVEPOINT kivdb_batch", error);
    std::string ignored;
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
