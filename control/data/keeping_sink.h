#pragma once
// KeepingSink: the end of a forward-only read that holds the first records of a result in a
// recordset and only counts the rest, whose fields it no longer reads; how a reader keeps what a
// capped page shows while the count stays exact.

#include <cstddef>
#include <vector>

#include <kivdb/recordset.h>
#include "control/data/row_sink.h"

namespace kivdb {

class KeepingSink final : public RowSink {
 public:
  // Holds the first `keep` records in `out`, an empty recordset (0 or less holds every record).
  KeepingSink(Recordset& out, long keep) : out_(out), keep_(keep > 0 ? keep : 0) {}

  bool Begin(const std::vector<FieldInfo>& fields) override;
  bool Row(const Variant* values, size_t count) override;
  const std::vector<size_t>* FieldsNeeded() const override;
  long RecordsNeeded() const override { return keep_; }
  // The records handed over, held or not.
  long Count() const { return count_; }

 private:
  Recordset& out_;
  const long keep_;
  long count_ = 0;
};

}  // namespace kivdb
