#pragma once
// RecordReferences: what a record form needs to show keys as names. The foreign keys of a table
// (read from the database's own catalog), the columns that name a record of a table, and the
// records a key field may point at, each with its name.

#include <optional>
#include <string>
#include <vector>

#include <kivdb/dal.h>

namespace kivdb::demo {

struct ColumnInfo {
  std::string name;
  int type = 0;  // the field type code
};

struct Reference {
  std::string column;     // the key field of the form's table
  std::string table;      // the table it points into
  std::string keyColumn;  // the referenced column
};

struct KeyChoice {
  std::string key;      // the stored value, as text
  std::string caption;  // what the user picks it by
};

// More records than this are no list to pick from; the key stays typed.
inline constexpr int kMaxChoices = 2000;

// The columns that name a record: "Name", else FirstName and LastName, else the first text
// column that is neither the key nor one of `keys` (its foreign keys); empty when there is none.
std::vector<std::string> NameColumns(const std::vector<ColumnInfo>& columns,
                                     const std::string& keyColumn,
                                     const std::vector<Reference>& keys = {});

// The foreign keys of `table`, one column each; empty when it has none or the database keeps no
// catalog of them that can be read.
std::vector<Reference> FindReferences(DAL& dal, const std::string& table);

// The records `reference` may point at, ordered by name, a name shared by several records
// followed by its key; nothing when the referenced table has no name column, cannot be read or
// holds more than kMaxChoices records.
std::optional<std::vector<KeyChoice>> ReadChoices(DAL& dal, const Reference& reference);

}  // namespace kivdb::demo
