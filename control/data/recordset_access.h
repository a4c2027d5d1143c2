#pragma once
// RecordsetAccess: the members of Recordset that only the providers, the shape executor and the
// batch writer use (filling rows in place, the base table, per-row status and stored values, the
// write-back), kept off the surface hosts see. Each forwards to the member of the same name.

#include <cstddef>
#include <vector>

#include <kivdb/recordset.h>

#include "control/data/recordset_access.h"

namespace kivdb {

struct RecordsetAccess {
  static Recordset Clone(const Recordset& records) { return records.Clone(); }
  static Variant* AppendEmptyRow(Recordset& records) { return records.AppendEmptyRow(); }
  static void SetBaseTable(Recordset& records, Recordset::BaseTable source) {
    records.SetBaseTable(std::move(source));
  }
  static const Recordset::BaseTable* GetBaseTable(const Recordset& records) {
    return records.GetBaseTable();
  }
  static void SetFieldType(Recordset& records, int position, int type) {
    records.SetFieldType(position, type);
  }
  static std::vector<size_t> PendingRows(const Recordset& records) { return records.PendingRows(); }
  static Recordset::RecordStatus Status(const Recordset& records, size_t row) {
    return records.Status(row);
  }
  static const Variant& CellValue(const Recordset& records, size_t row, int position) {
    return records.CellValue(row, position);
  }
  static void RefreshCell(Recordset& records, size_t row, int position, Variant value) {
    records.RefreshCell(row, position, std::move(value));
  }
  static void AcceptChanges(Recordset& records, const std::vector<size_t>& vanished = {}) {
    records.AcceptChanges(vanished);
  }
};

}  // namespace kivdb
