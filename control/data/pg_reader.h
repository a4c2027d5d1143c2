#pragma once
// The readers of the native PostgreSQL provider's results: into a recordset (a whole read), or
// into a RowSink (a forward-only read), each turning the server's text of every cell into a
// Variant by the column's type.

#include <libpq-fe.h>

#include <vector>

#include "control/data/pg_connection.h"
#include "control/data/pg_types.h"

namespace kivdb {

// Keeps the records of the last result with columns.
class PgRecordsetReader final : public PgConnection::Reader {
 public:
  // With `forUpdate` the table and column number behind each field are kept too.
  explicit PgRecordsetReader(bool forUpdate) : forUpdate_(forUpdate) {}
  bool Begin(const PGresult* result) override;
  bool Row(const PGresult* result, int row) override;

  Recordset TakeRecords() { return std::move(records_); }
  const std::vector<unsigned>& Tables() const { return tables_; }
  const std::vector<int>& TableColumns() const { return tableColumns_; }

 private:
  bool forUpdate_;
  Recordset records_;
  std::vector<PgCell> cells_;
  std::vector<unsigned> tables_;
  std::vector<int> tableColumns_;
};

// Hands each record to a sink through one reused row of values.
class PgSinkReader final : public PgConnection::Reader {
 public:
  explicit PgSinkReader(RowSink& sink) : sink_(sink) {}
  bool Begin(const PGresult* result) override;
  bool Row(const PGresult* result, int row) override;

 private:
  RowSink& sink_;
  std::vector<PgCell> cells_;
  std::vector<Variant> values_;
  const std::vector<size_t>* needed_ = nullptr;  // every field
};

}  // namespace kivdb
