#pragma once
// The provider-neutral part of writing a recordset's pending changes back to its base table: which
// fields are columns, the order of checks for each record status, key values, conflict texts, and
// the batch's run over the pending rows. Each provider adds its own statements.

#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include <kivdb/recordset.h>

namespace kivdb {

// The values a batch re-read after writing, applied to the records once the batch is committed.
struct BatchResync {
  std::vector<std::tuple<size_t, int, Variant>> refreshed;  // row, field, value read back
  std::vector<size_t> vanished;                             // rows no longer in the table
};

class BatchWriter {
 public:
  BatchWriter(Recordset& records, const Recordset::BaseTable& base);
  virtual ~BatchWriter() = default;
  BatchWriter(const BatchWriter&) = delete;
  BatchWriter& operator=(const BatchWriter&) = delete;

  // Writes one pending record by its status; a change or deletion first checks that the row still
  // holds the values it was read with.
  bool Write(size_t row, std::string& error);
  // Re-reads the live records into `resync`.
  virtual bool Resync(BatchResync& resync, std::string& error) = 0;

 protected:
  // False, with the reason, when no field of the records is a column of the table.
  bool HasColumns(std::string& error) const;
  const Variant& KeyValue(size_t row, int field, bool original) const;
  // Every key field holds a value (the original ones, or the current ones).
  bool HasKey(size_t row, bool original) const;
  // A value given to a field that is no column of the table (an expression, or a column selected
  // twice) cannot be written; it is refused rather than dropped.
  bool OnlyColumnsSet(size_t row, std::string& error) const;
  // "Conflict: the record of <table> with key <original key values> <what> since it was read".
  std::string Conflict(size_t row, const std::string& what) const;

  virtual bool CheckUnchanged(size_t row, std::string& error) = 0;
  virtual bool Update(size_t row, std::string& error) = 0;
  virtual bool Delete(size_t row, std::string& error) = 0;
  virtual bool Insert(size_t row, std::string& error) = 0;

  Recordset& records_;
  const Recordset::BaseTable& base_;
  std::vector<int> mapped_;  // fields that are columns of the table
};

// A writer whose provider reads a row back into a recordset by its key (the servers): the check
// before a change and the re-read after the batch are the same for all of them.
class KeyedBatchWriter : public BatchWriter {
 public:
  using BatchWriter::BatchWriter;
  // The live records by their current keys, or as an insert returned them; differing values and
  // rows that are gone are collected, to be applied once the batch is committed.
  bool Resync(BatchResync& resync, std::string& error) override;

 protected:
  // The row must still hold the values the record was read with (read again by its original key).
  bool CheckUnchanged(size_t row, std::string& error) override;
  // Reads the mapped columns of the table's row with the record's key (the original or the
  // current one) into `current`, in the order of mapped_.
  virtual bool ReadByKey(size_t row, bool original, Recordset& current, std::string& error) = 0;

  // Rows an insert returned, as the table holds them, by record row: Resync takes them instead of
  // reading the row again.
  std::unordered_map<size_t, Recordset> insertedRows_;
};

// The base table of `records` when they can be written back; otherwise nullptr and the reason.
const Recordset::BaseTable* WritableBaseTable(const Recordset& records, std::string& error);

// Writes every pending record and re-reads the live ones; stops at the first failure.
bool WritePending(BatchWriter& writer, const Recordset& records, BatchResync& resync,
                  std::string& error);

// After the batch is committed: the values read back replace the records', and the written
// changes become the records' own.
void AcceptBatch(Recordset& records, BatchResync& resync);

}  // namespace kivdb
