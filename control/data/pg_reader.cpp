#include "control/data/pg_reader.h"
#include "control/data/recordset_access.h"

#include <string_view>

namespace kivdb {
namespace {

Variant Cell(const PGresult* result, int row, int column, PgCell cell) {
  if (PQgetisnull(result, row, column)) return Variant::Null();
  return PgValue(cell, std::string_view(PQgetvalue(result, row, column),
                                        static_cast<size_t>(PQgetlength(result, row, column))));
}

void DescribeCells(const PGresult* result, std::vector<PgCell>& cells) {
  cells.clear();
  for (int i = 0, count = PQnfields(result); i < count; ++i)
    cells.push_back(PgCellOf(PQftype(result, i)));
}

}  // namespace

bool PgRecordsetReader::Begin(const PGresult* result) {
  records_ = Recordset();
  tables_.clear();
  tableColumns_.clear();
  DescribeCells(result, cells_);
  for (int i = 0, count = PQnfields(result); i < count; ++i) {
    records_.AppendField(PQfname(result, i), PgTypeCode(PQftype(result, i)));
    if (forUpdate_) {
      tables_.push_back(PQftable(result, i));
      tableColumns_.push_back(PQftablecol(result, i));
    }
  }
  return true;
}

bool PgRecordsetReader::Row(const PGresult* result, int row) {
  Variant* values = RecordsetAccess::AppendEmptyRow(records_);
  for (size_t i = 0; i < cells_.size(); ++i)
    values[i] = Cell(result, row, static_cast<int>(i), cells_[i]);
  return true;
}

bool PgSinkReader::Begin(const PGresult* result) {
  DescribeCells(result, cells_);
  values_.assign(cells_.size(), Variant());
  needed_ = nullptr;
  std::vector<FieldInfo> fields;
  for (int i = 0, count = PQnfields(result); i < count; ++i)
    fields.push_back(FieldInfo{PQfname(result, i), PgTypeCode(PQftype(result, i))});
  return sink_.Begin(fields);
}

bool PgSinkReader::Row(const PGresult* result, int row) {
  if (needed_) {
    for (const size_t i : *needed_) {
      if (i < cells_.size()) values_[i] = Cell(result, row, static_cast<int>(i), cells_[i]);
    }
  } else {
    for (size_t i = 0; i < cells_.size(); ++i)
      values_[i] = Cell(result, row, static_cast<int>(i), cells_[i]);
  }
  const bool more = sink_.Row(values_.data(), values_.size());
  // The fields the sink no longer reads are not converted; they pass as Empty.
  if (const std::vector<size_t>* next = sink_.FieldsNeeded(); next != needed_) {
    needed_ = next;
    if (needed_) values_.assign(cells_.size(), Variant());
  }
  return more;
}

}  // namespace kivdb
