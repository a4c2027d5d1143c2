#pragma once
// RowSink: the receiving end of a forward-only read. A provider hands it the fields of a result
// once, then the records one by one as it reads them, so that a reader holds no more rows than it
// needs. The values of a record are valid only during the call that hands them over.

#include <cstddef>
#include <string>
#include <vector>

#include <kivdb/recordset.h>
#include <kivdb/variant.h>

namespace kivdb {

struct FieldInfo {
  std::string name;
  int type = type::kEmpty;
};

class RowSink {
 public:
  virtual ~RowSink() = default;
  // The fields of the result, before any record. False stops the read (it still succeeds).
  virtual bool Begin(const std::vector<FieldInfo>& fields) = 0;
  // One record, `count` values in field order. False stops the read (it still succeeds).
  virtual bool Row(const Variant* values, size_t count) = 0;
  // The positions of the fields the sink still reads in the records after the one just handed
  // over; null (the default) for every field. A provider may then hand the other fields over as
  // Empty and spare itself reading them. Asked after each Row; the list a sink returns stays as it
  // is until a later call returns another.
  virtual const std::vector<size_t>* FieldsNeeded() const { return nullptr; }
  // How many records, from the first, the sink reads at all: past them FieldsNeeded lists no
  // field. 0 (the default) when it may read every record. A provider that has to build each
  // record whole before it hands one over (a shaped result with its chapters) builds only these
  // and hands the rest over as Empty fields, so that they are still counted.
  virtual long RecordsNeeded() const { return 0; }
};

// Hands the fields and live records of `records` (from its first, in its current order) to `sink`;
// the way a recordset read whole, or given by a host, joins a forward-only reader. False when the
// sink stopped the feed.
bool FeedRecordset(Recordset& records, RowSink& sink);

// Reads a forward-only result through `dal` into `sink`: the command is the same one ReadRecordset
// takes; false with DAL::LastError set when the read fails, also half-way through.
class DAL;
bool ReadForward(DAL& dal, const std::string& command, RowSink& sink);

}  // namespace kivdb
