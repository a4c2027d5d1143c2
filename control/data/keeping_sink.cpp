#include "control/data/keeping_sink.h"
#include "control/data/recordset_access.h"

#include <algorithm>

namespace kivdb {

bool KeepingSink::Begin(const std::vector<FieldInfo>& fields) {
  for (const FieldInfo& field : fields) out_.AppendField(field.name, field.type);
  return true;
}

bool KeepingSink::Row(const Variant* values, size_t count) {
  if (keep_ == 0 || count_ < keep_) {
    Variant* cells = RecordsetAccess::AppendEmptyRow(out_);
    const size_t width = std::min(count, static_cast<size_t>(out_.FieldCount()));
    for (size_t i = 0; i < width; ++i) cells[i] = values[i];
  }
  ++count_;
  return true;
}

const std::vector<size_t>* KeepingSink::FieldsNeeded() const {
  static const std::vector<size_t> kNone;
  return keep_ != 0 && count_ >= keep_ ? &kNone : nullptr;
}

}  // namespace kivdb
