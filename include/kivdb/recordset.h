#pragma once
// Recordset: the result of one query, disconnected from its database: an ordered list of named,
// typed fields, a list of records and one current record. Providers fill it; hosts may build one
// by hand (fields first, then rows) to answer ProvideRecordset. Records can be edited, added and
// deleted; the original values are kept so that DAL::PutRecordset can write the changes back.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <kivdb/export.h>
#include <kivdb/variant.h>

namespace kivdb {

class Recordset;

// Field type codes (the classic numeric codes hosts and renderers compare against).
namespace type {
inline constexpr int kEmpty = 0;
inline constexpr int kSmallInt = 2;
inline constexpr int kInteger = 3;
inline constexpr int kSingle = 4;
inline constexpr int kDouble = 5;
inline constexpr int kCurrency = 6;
inline constexpr int kDate = 7;
inline constexpr int kBoolean = 11;
inline constexpr int kVariant = 12;
inline constexpr int kDecimal = 14;
inline constexpr int kTinyInt = 16;
inline constexpr int kUnsignedTinyInt = 17;
inline constexpr int kUnsignedSmallInt = 18;
inline constexpr int kUnsignedInt = 19;
inline constexpr int kBigInt = 20;
inline constexpr int kUnsignedBigInt = 21;
inline constexpr int kFileTime = 64;
inline constexpr int kGuid = 72;
inline constexpr int kBinary = 128;
inline constexpr int kChar = 129;
inline constexpr int kWChar = 130;
inline constexpr int kNumeric = 131;
inline constexpr int kDBDate = 133;
inline constexpr int kDBTime = 134;
inline constexpr int kDBTimeStamp = 135;
inline constexpr int kChapter = 136;
inline constexpr int kVarNumeric = 139;
inline constexpr int kVarChar = 200;
inline constexpr int kLongVarChar = 201;
inline constexpr int kVarWChar = 202;
inline constexpr int kLongVarWChar = 203;
inline constexpr int kVarBinary = 204;
inline constexpr int kLongVarBinary = 205;
}  // namespace type

// A field of a recordset, seen through its current record. A Field is a light handle: it stays
// valid as long as its recordset lives and its value follows the recordset's cursor.
class KIVDB_EXPORT Field {
 public:
  const std::string& Name() const;
  int Type() const;
  // The value in the current record; throws Error 3021 when there is no current record.
  const Variant& Value() const;
  // Changes the value in the current record; the record's original values are kept for the batch.
  void SetValue(Variant value);

 private:
  friend class Recordset;
  Field(Recordset* owner, int position) : owner_(owner), position_(position) {}
  Recordset* owner_;
  int position_;
};

class KIVDB_EXPORT Recordset {
 public:
  Recordset();
  ~Recordset();
  Recordset(Recordset&&) noexcept;
  Recordset& operator=(Recordset&&) noexcept;
  Recordset(const Recordset&) = delete;
  Recordset& operator=(const Recordset&) = delete;

  // --- Building: fields first, then rows -------------------------------------------------------
  // Adds a field; allowed only while the recordset holds no records.
  void AppendField(std::string name, int type);
  // Appends one record read from the source (not a pending addition). It must hold one value per
  // field. The cursor stays on the first record.
  void AddRow(std::vector<Variant> values);
  void ReserveRows(size_t rows);
  // A host may declare the number of records unknown; RecordCount is then negative.
  void SetRecordCountUnknown(bool unknown);

  // --- Fields -----------------------------------------------------------------------------------
  int FieldCount() const;
  // By position from 0 in the query's column order; throws Error 3265 outside the range.
  Field Fields(int position);
  // By name, without regard to case; throws Error 3265 when no field has that name.
  Field Fields(std::string_view name);
  // The position of the field of that name (without regard to case), or -1.
  int FieldIndex(std::string_view name) const;

  // --- Records and cursor -----------------------------------------------------------------------
  // Number of records (deleted ones excluded), or a negative number when declared unknown.
  long RecordCount() const;
  void MoveFirst();
  void MoveNext();  // throws Error 3021 when already past the last record
  void MovePrevious();
  void MoveLast();
  bool Eof() const;  // past the last record (also true when there are none)
  bool Bof() const;  // before the first record (also true when there are none)
  // The value of the field at `position` in the current record (the fast path of
  // Fields(i).Value()).
  const Variant& Value(int position) const;

  // Orders the records by "name [ASC|DESC], name2 [ASC|DESC]"; names without regard to case.
  // Stable; Null and Empty come first in ascending order. Throws Error 3265 for an unknown field.
  // The cursor moves to the first record.
  void Sort(std::string_view expression);
  // All records from the first, as a table indexed column by row: GetRows()[column][row].
  std::vector<std::vector<Variant>> GetRows() const;

  // --- Editing ----------------------------------------------------------------------------------
  // Appends a new record whose fields are all Empty (not set: the database fills them) and makes it
  // the current record.
  void AddNew();
  // Marks the current record deleted; later moves skip it. Throws Error 3021 without a current
  // record. A record added since the last write simply disappears.
  void Delete();

  // --- Batch write-back ------------------------------------------------------------------------
  // Rows are numbered by storage (the order they were read or added), independent of Sort.
  enum class RecordStatus { Unchanged, Modified, New, Deleted };

  // Where the records came from, so that changes can be written back: the table, the table column
  // behind each field ("" for an expression) and the positions of the fields that hold its key.
  struct BaseTable {
    std::string table;
    std::vector<std::string> columns;
    std::vector<int> keyFields;
    std::string schema;  // the table's schema when the database names one ("" otherwise)
  };

  // Rows that are neither deleted nor dropped, in the current order.
  std::vector<size_t> LiveRows() const;
  bool HasPendingChanges() const;
  // The value as it was read (the current value for unchanged and new records).
  const Variant& OriginalValue(size_t row, int position) const;

 private:
  // What only the providers and the batch writer use, reached through RecordsetAccess
  // (control/data/recordset_access.h).
  friend struct RecordsetAccess;
  // An independent copy: fields, records, pending changes, cursor and base table.
  Recordset Clone() const;
  // Appends one record of Empty values and returns its FieldCount() cells for the caller to fill
  // in place: the fast path for providers, which avoids building a vector per record.
  Variant* AppendEmptyRow();
  void SetBaseTable(BaseTable source);
  // The source of the records, or null when they were not read from one table.
  const BaseTable* GetBaseTable() const;
  // Sets a field's type code after the records were read, for providers that learn it from the
  // values themselves.
  void SetFieldType(int position, int type);
  // Rows with pending changes (modified, new or deleted), in storage order.
  std::vector<size_t> PendingRows() const;
  RecordStatus Status(size_t row) const;
  const Variant& CellValue(size_t row, int position) const;
  // Replaces a stored value without recording an edit (re-reading after a write).
  void RefreshCell(size_t row, int position, Variant value);
  // After a successful write: deleted records leave, edits become the read values, and the rows in
  // `vanished` (no longer in the database) are dropped as well. The cursor moves to the first
  // record.
  void AcceptChanges(const std::vector<size_t>& vanished = {});

  friend class Field;
  struct KIVDB_NO_EXPORT Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace kivdb
