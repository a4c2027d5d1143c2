#pragma once
// Recordsets built by hand, field by field and row by row, the way a host answers
// ProvideRecordset.

#include <string>
#include <vector>

#include <kivdb/recordset.h>

namespace kivdb::testing_support {

struct FieldSpec {
  std::string name;
  int type;
};

inline Recordset BuildRecordset(const std::vector<FieldSpec>& fields,
                                const std::vector<std::vector<Variant>>& rows) {
  Recordset records;
  for (const FieldSpec& field : fields) records.AppendField(field.name, field.type);
  for (const auto& row : rows) records.AddRow(row);
  return records;
}

}  // namespace kivdb::testing_support
