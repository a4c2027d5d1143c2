#include "control/data/shape_executor.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "base/text.h"
#include "control/data/keeping_sink.h"
#include "control/data/recordset_access.h"
#include "control/data/shape_key.h"
#include "control/data/shape_key_index.h"

namespace kivdb {
namespace {

struct FieldDefinition {
  std::string name;
  int type;
};

std::vector<FieldDefinition> FieldsOf(Recordset& records) {
  std::vector<FieldDefinition> fields;
  fields.reserve(static_cast<size_t>(records.FieldCount()));
  for (int i = 0; i < records.FieldCount(); ++i) {
    Field field = records.Fields(i);
    fields.push_back({field.Name(), field.Type()});
  }
  return fields;
}

std::shared_ptr<Recordset> EmptyLike(const std::vector<FieldDefinition>& fields) {
  auto records = std::make_shared<Recordset>();
  for (const FieldDefinition& field : fields) records->AppendField(field.name, field.type);
  return records;
}

void CopyRow(const Recordset& from, size_t row, Recordset& to) {
  const int width = from.FieldCount();
  Variant* cells = RecordsetAccess::AppendEmptyRow(to);
  for (int c = 0; c < width; ++c) cells[c] = RecordsetAccess::CellValue(from, row, c);
}

std::shared_ptr<Recordset> CopyOf(Recordset& records, const std::vector<FieldDefinition>& fields) {
  auto copy = EmptyLike(fields);
  const std::vector<size_t> rows = records.LiveRows();
  copy->ReserveRows(rows.size());
  for (size_t row : rows) CopyRow(records, row, *copy);
  return copy;
}

// The key of one record over the related columns; false when any of them matches nothing.
bool KeyOf(const Recordset& records, size_t row, const std::vector<int>& columns,
           std::string& key) {
  key.clear();
  for (int column : columns) {
    if (!AppendShapeKey(RecordsetAccess::CellValue(records, row, column), key)) return false;
  }
  return true;
}

std::string Excerpt(std::string_view command) {
  constexpr size_t kLength = 60;
  return command.size() <= kLength ? std::string(command)
                                   : std::string(command.substr(0, kLength)) + "...";
}

bool RunSource(const ShapeSource& source, const ShapeRunner& run, Recordset& out,
               std::string& error) {
  if (source.shape) return ExecuteShape(*source.shape, run, out, error);
  Recordset records;
  if (!run(source.command, records, error)) {
    error = "SHAPE: the command {" + Excerpt(source.command) + "} failed: " + error;
    return false;
  }
  out = std::move(records);
  return true;
}

// The positions of the related columns in parent and child, or false with the reason.
bool ResolveRelations(const ShapeChild& child, const Recordset& parent, const Recordset& records,
                      std::vector<int>& parentColumns, std::vector<int>& childColumns,
                      std::string& error) {
  for (const ShapeRelation& relation : child.relations) {
    const int p = parent.FieldIndex(relation.parentColumn);
    if (p < 0) {
      error = "SHAPE: RELATE " + relation.parentColumn + " TO " + relation.childColumn +
              ": the parent command returns no column named '" + relation.parentColumn + "'";
      return false;
    }
    const int c = records.FieldIndex(relation.childColumn);
    if (c < 0) {
      error = "SHAPE: RELATE " + relation.parentColumn + " TO " + relation.childColumn +
              ": the child command returns no column named '" + relation.childColumn + "'";
      return false;
    }
    parentColumns.push_back(p);
    childColumns.push_back(c);
  }
  return true;
}

// One chapter per parent row (in `parentRows` order): the records of `child` whose key equals the
// parent's. The parents' keys are hashed once and each child key is looked up once.
std::vector<std::shared_ptr<Recordset>> MatchChildren(const Recordset& parent,
                                                      const std::vector<size_t>& parentRows,
                                                      const std::vector<int>& parentColumns,
                                                      Recordset& child,
                                                      const std::vector<int>& childColumns) {
  const std::vector<FieldDefinition> fields = FieldsOf(child);
  ShapeKeyIndex groupOfKey(parentRows.size());
  std::vector<std::shared_ptr<Recordset>> groups;
  constexpr int64_t kNoGroup = ShapeKeyIndex::kMissing;
  std::vector<int64_t> groupOfParent(parentRows.size(), kNoGroup);
  std::string key;
  for (size_t i = 0; i < parentRows.size(); ++i) {
    if (!KeyOf(parent, parentRows[i], parentColumns, key)) continue;
    bool added = false;
    groupOfParent[i] = groupOfKey.Insert(key, added);
    if (added) groups.push_back(EmptyLike(fields));
  }

  // One pass finds each child's group; the chapters are then sized once and filled in child order.
  const std::vector<size_t> childRows = child.LiveRows();
  std::vector<int64_t> groupOfChild(childRows.size(), kNoGroup);
  std::vector<size_t> groupSize(groups.size(), 0);
  for (size_t j = 0; j < childRows.size(); ++j) {
    if (!KeyOf(child, childRows[j], childColumns, key)) continue;
    const int64_t group = groupOfKey.Find(key);
    if (group == kNoGroup) continue;
    groupOfChild[j] = group;
    ++groupSize[group];
  }
  for (size_t g = 0; g < groups.size(); ++g) groups[g]->ReserveRows(groupSize[g]);
  for (size_t j = 0; j < childRows.size(); ++j) {
    if (groupOfChild[j] != kNoGroup) CopyRow(child, childRows[j], *groups[groupOfChild[j]]);
  }

  std::vector<std::shared_ptr<Recordset>> chapters(parentRows.size());
  std::vector<bool> handedOut(groups.size(), false);
  for (size_t i = 0; i < parentRows.size(); ++i) {
    const int64_t group = groupOfParent[i];
    if (group == kNoGroup) {
      chapters[i] = EmptyLike(fields);
    } else if (!handedOut[group]) {
      handedOut[group] = true;
      chapters[i] = groups[group];
    } else {
      // Parents that share a key must not share a cursor.
      chapters[i] = CopyOf(*groups[group], fields);
    }
  }
  return chapters;
}

// The chapters of one child command, one per parent row, added to `chapters`; false, with the
// reason in `error`, when its relation names a field that is not there.
bool AddChapters(const ShapeChild& child, const Recordset& parent,
                 const std::vector<size_t>& parentRows, Recordset& records,
                 std::vector<std::vector<std::shared_ptr<Recordset>>>& chapters,
                 std::string& error) {
  std::vector<int> parentColumns;
  std::vector<int> childColumns;
  if (!ResolveRelations(child, parent, records, parentColumns, childColumns, error)) return false;
  chapters.push_back(MatchChildren(parent, parentRows, parentColumns, records, childColumns));
  return true;
}

// Holds the records of a child command whose key over the related columns is one of `keys`; with
// a related column it lacks it holds every record, for ResolveRelations to refuse.
class MatchingSink final : public RowSink {
 public:
  MatchingSink(Recordset& out, const ShapeChild& child, const ShapeKeyIndex& keys)
      : out_(out), child_(child), keys_(keys) {}
  bool Begin(const std::vector<FieldInfo>& fields) override {
    for (const FieldInfo& field : fields) out_.AppendField(field.name, field.type);
    for (const ShapeRelation& relation : child_.relations) {
      const int c = out_.FieldIndex(relation.childColumn);
      if (c < 0) {
        columns_.clear();
        return true;
      }
      columns_.push_back(static_cast<size_t>(c));
    }
    return true;
  }
  bool Row(const Variant* values, size_t count) override {
    if (!columns_.empty()) {
      key_.clear();
      for (const size_t c : columns_) {
        if (c >= count || !AppendShapeKey(values[c], key_)) return true;
      }
      if (keys_.Find(key_) == ShapeKeyIndex::kMissing) return true;
    }
    Variant* cells = RecordsetAccess::AppendEmptyRow(out_);
    const size_t width = std::min(count, static_cast<size_t>(out_.FieldCount()));
    for (size_t i = 0; i < width; ++i) cells[i] = values[i];
    return true;
  }

 private:
  Recordset& out_;
  const ShapeChild& child_;
  const ShapeKeyIndex& keys_;
  std::vector<size_t> columns_;
  std::string key_;
};

// Builds the shaped recordset of `parent`'s `parentRows` and their chapters.
void Assemble(const ShapeCommand& shape, Recordset& parent, const std::vector<size_t>& parentRows,
              std::vector<std::vector<std::shared_ptr<Recordset>>>& chapters, Recordset& out) {
  Recordset shaped;
  const std::vector<FieldDefinition> parentFields = FieldsOf(parent);
  for (const FieldDefinition& field : parentFields) shaped.AppendField(field.name, field.type);
  for (const ShapeChild& child : shape.children)
    shaped.AppendField(child.chapterName, type::kChapter);
  shaped.ReserveRows(parentRows.size());
  const int width = parent.FieldCount();
  for (size_t i = 0; i < parentRows.size(); ++i) {
    Variant* cells = RecordsetAccess::AppendEmptyRow(shaped);
    for (int c = 0; c < width; ++c) cells[c] = RecordsetAccess::CellValue(parent, parentRows[i], c);
    for (size_t k = 0; k < chapters.size(); ++k) {
      cells[width + static_cast<int>(k)] = Variant::Chapter(std::move(chapters[k][i]));
    }
  }
  out = std::move(shaped);
}

bool ChapterNameTaken(const ShapeCommand& shape, size_t k, const Recordset& parent,
                      std::string& error) {
  const ShapeChild& child = shape.children[k];
  bool taken = parent.FieldIndex(child.chapterName) >= 0;
  for (size_t earlier = 0; earlier < k; ++earlier) {
    taken = taken || text::EqualsNoCase(shape.children[earlier].chapterName, child.chapterName);
  }
  if (taken) error = "SHAPE: the chapter name '" + child.chapterName + "' is already a field name";
  return taken;
}

}  // namespace

bool ExecuteShapeKeeping(const ShapeCommand& shape, const ShapeRunner& run,
                         const ShapeStreamer& stream, long keepParents, Recordset& out,
                         long& parentCount, std::string& error) {
  if (keepParents <= 0) {
    // Every parent is kept: the whole read is the cheaper one, as nothing can be left out.
    Recordset whole;
    if (!ExecuteShape(shape, run, whole, error)) return false;
    parentCount = whole.RecordCount();
    out = std::move(whole);
    return true;
  }
  Recordset parent;
  std::vector<size_t> parentRows;
  if (shape.parent.shape) {
    if (!ExecuteShape(*shape.parent.shape, run, parent, error)) return false;
    parentRows = parent.LiveRows();
    parentCount = static_cast<long>(parentRows.size());
    if (parentRows.size() > static_cast<size_t>(keepParents))
      parentRows.resize(static_cast<size_t>(keepParents));
  } else {
    KeepingSink keeping(parent, keepParents);
    if (!stream(shape.parent.command, keeping, error)) {
      error = "SHAPE: the command {" + Excerpt(shape.parent.command) + "} failed: " + error;
      return false;
    }
    parentRows = parent.LiveRows();
    parentCount = keeping.Count();
  }

  std::vector<std::vector<std::shared_ptr<Recordset>>> chapters;
  chapters.reserve(shape.children.size());
  std::string key;
  for (size_t k = 0; k < shape.children.size(); ++k) {
    const ShapeChild& child = shape.children[k];
    if (ChapterNameTaken(shape, k, parent, error)) return false;
    Recordset records;
    if (child.source.shape) {
      if (!RunSource(child.source, run, records, error)) return false;
    } else {
      // The kept parents' keys; a related column the parent lacks leaves the child unfiltered.
      ShapeKeyIndex keys(parentRows.size());
      bool filtered = true;
      std::vector<int> columns;
      for (const ShapeRelation& relation : child.relations) {
        const int p = parent.FieldIndex(relation.parentColumn);
        filtered = filtered && p >= 0;
        columns.push_back(p);
      }
      if (filtered) {
        bool added = false;
        for (const size_t row : parentRows) {
          if (KeyOf(parent, row, columns, key)) keys.Insert(key, added);
        }
      }
      static const ShapeChild kUnrelated;
      MatchingSink matching(records, filtered ? child : kUnrelated, keys);
      if (!stream(child.source.command, matching, error)) {
        error = "SHAPE: the command {" + Excerpt(child.source.command) + "} failed: " + error;
        return false;
      }
    }
    if (!AddChapters(child, parent, parentRows, records, chapters, error)) return false;
  }
  Assemble(shape, parent, parentRows, chapters, out);
  return true;
}

bool ExecuteShape(const ShapeCommand& shape, const ShapeRunner& run, Recordset& out,
                  std::string& error) {
  Recordset parent;
  if (!RunSource(shape.parent, run, parent, error)) return false;
  const std::vector<size_t> parentRows = parent.LiveRows();

  std::vector<std::vector<std::shared_ptr<Recordset>>> chapters;
  chapters.reserve(shape.children.size());
  for (size_t k = 0; k < shape.children.size(); ++k) {
    const ShapeChild& child = shape.children[k];
    if (ChapterNameTaken(shape, k, parent, error)) return false;
    Recordset records;
    if (!RunSource(child.source, run, records, error)) return false;
    if (!AddChapters(child, parent, parentRows, records, chapters, error)) return false;
  }
  Assemble(shape, parent, parentRows, chapters, out);
  return true;
}

bool RunShapeCommand(std::string_view text, const ShapeRunner& run, Recordset& out,
                     std::string& error) {
  const std::optional<ShapeCommand> shape = ParseShapeCommand(text, error);
  return shape && ExecuteShape(*shape, run, out, error);
}

bool RunShapeCommandKeeping(std::string_view text, const ShapeRunner& run,
                            const ShapeStreamer& stream, long keepParents, Recordset& out,
                            long& parentCount, std::string& error) {
  const std::optional<ShapeCommand> shape = ParseShapeCommand(text, error);
  return shape && ExecuteShapeKeeping(*shape, run, stream, keepParents, out, parentCount, error);
}

}  // namespace kivdb
