#include "control/data/batch_writer.h"
#include "control/data/recordset_access.h"

#include <utility>

namespace kivdb {

BatchWriter::BatchWriter(Recordset& records, const Recordset::BaseTable& base)
    : records_(records), base_(base) {
  for (int f = 0; f < static_cast<int>(base.columns.size()); ++f) {
    if (!base.columns[f].empty()) mapped_.push_back(f);
  }
}

bool BatchWriter::Write(size_t row, std::string& error) {
  switch (RecordsetAccess::Status(records_, row)) {
    case Recordset::RecordStatus::Modified:
      return OnlyColumnsSet(row, error) && CheckUnchanged(row, error) && Update(row, error);
    case Recordset::RecordStatus::Deleted:
      return CheckUnchanged(row, error) && Delete(row, error);
    case Recordset::RecordStatus::New:
      return OnlyColumnsSet(row, error) && Insert(row, error);
    case Recordset::RecordStatus::Unchanged:
      return true;
  }
  return true;
}

bool KeyedBatchWriter::Resync(BatchResync& resync, std::string& error) {
  for (const size_t row : records_.LiveRows()) {
    Recordset current;
    const auto inserted = insertedRows_.find(row);
    if (inserted != insertedRows_.end()) {
      current = std::move(inserted->second);
    } else if (HasKey(row, false)) {
      if (!ReadByKey(row, false, current, error)) return false;
      if (current.RecordCount() == 0) {
        resync.vanished.push_back(row);
        continue;
      }
    } else {
      continue;  // no way to find the row again: it keeps its values
    }
    if (current.RecordCount() <= 0) continue;
    current.MoveFirst();
    for (size_t i = 0; i < mapped_.size(); ++i) {
      const int field = mapped_[i];
      const Variant& value = current.Value(static_cast<int>(i));
      if (!(value == RecordsetAccess::CellValue(records_, row, field))) {
        resync.refreshed.emplace_back(row, field, value);
      }
    }
  }
  return true;
}

bool KeyedBatchWriter::CheckUnchanged(size_t row, std::string& error) {
  if (!HasKey(row, true)) {
    error = "The records hold no key of " + base_.table +
            ": select its primary key to change or delete records";
    return false;
  }
  Recordset current;
  if (!ReadByKey(row, true, current, error)) return false;
  if (current.RecordCount() <= 0) {
    error = Conflict(row, "was deleted");
    return false;
  }
  current.MoveFirst();
  for (size_t i = 0; i < mapped_.size(); ++i) {
    if (!(current.Value(static_cast<int>(i)) == records_.OriginalValue(row, mapped_[i]))) {
      error = Conflict(row, "was changed");
      return false;
    }
  }
  return true;
}

bool BatchWriter::HasColumns(std::string& error) const {
  if (!mapped_.empty()) return true;
  error = "No field of the records is a column of " + base_.table;
  return false;
}

const Variant& BatchWriter::KeyValue(size_t row, int field, bool original) const {
  return original ? records_.OriginalValue(row, field)
                  : RecordsetAccess::CellValue(records_, row, field);
}

bool BatchWriter::HasKey(size_t row, bool original) const {
  if (base_.keyFields.empty()) return false;
  for (const int field : base_.keyFields) {
    const Variant& value = KeyValue(row, field, original);
    if (value.IsNull() || value.IsEmpty()) return false;
  }
  return true;
}

bool BatchWriter::OnlyColumnsSet(size_t row, std::string& error) const {
  const bool added = RecordsetAccess::Status(records_, row) == Recordset::RecordStatus::New;
  for (int field = 0; field < records_.FieldCount(); ++field) {
    if (!base_.columns[field].empty()) continue;
    const Variant& value = RecordsetAccess::CellValue(records_, row, field);
    if (added ? !value.IsEmpty() : !(value == records_.OriginalValue(row, field))) {
      error = "Field " + records_.Fields(field).Name() + " is no column of " + base_.table +
              " and cannot be written";
      return false;
    }
  }
  return true;
}

std::string BatchWriter::Conflict(size_t row, const std::string& what) const {
  std::string key;
  for (const int field : base_.keyFields) {
    key += (key.empty() ? "" : ", ") + records_.OriginalValue(row, field).ToText();
  }
  return "Conflict: the record of " + base_.table + " with key " + key + " " + what +
         " since it was read";
}

const Recordset::BaseTable* WritableBaseTable(const Recordset& records, std::string& error) {
  const Recordset::BaseTable* base = RecordsetAccess::GetBaseTable(records);
  if (!base) {
    error = "These records were not read from one table and cannot be written back";
    return nullptr;
  }
  if (static_cast<int>(base->columns.size()) != records.FieldCount()) {
    error = "The records' fields do not match their base table";
    return nullptr;
  }
  return base;
}

bool WritePending(BatchWriter& writer, const Recordset& records, BatchResync& resync,
                  std::string& error) {
  for (const size_t row : RecordsetAccess::PendingRows(records)) {
    if (!writer.Write(row, error)) return false;
  }
  return writer.Resync(resync, error);
}

void AcceptBatch(Recordset& records, BatchResync& resync) {
  for (auto& [row, field, value] : resync.refreshed) {
    RecordsetAccess::RefreshCell(records, row, field, std::move(value));
  }
  RecordsetAccess::AcceptChanges(records, resync.vanished);
}

}  // namespace kivdb
