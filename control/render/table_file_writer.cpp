#include "control/render/table_file_writer.h"

#include <kivdb/error.h>
#include "control/render/column_list.h"
#include "control/render/field_class.h"

namespace kivdb {
namespace {

constexpr long kProgressEvery = 4096;
constexpr long kOutOfStackSpace = 28;
constexpr int kDeepestLevel = 1000;

bool IsNumberClass(FieldClass fieldClass) {
  return fieldClass == FieldClass::Decimal || fieldClass == FieldClass::Integer;
}

// A list entry as a field position; nothing for an entry that is no whole number (the page
// fails its paragraph there; a file simply leaves the column untotalled).
std::optional<long> EntryPosition(const std::string& entry) {
  const std::optional<double> number = Variant(entry).ToDouble();
  if (!number || *number < 0 || *number > 32767) return std::nullopt;
  return static_cast<long>(*number + 0.5);
}

bool Report(const TableProgress& progress, long rows) {
  return !progress || rows % kProgressEvery != 0 || progress(rows);
}

}  // namespace

TableSink::TableSink(TableOutput& output, OutTable table, std::string cols, TableProgress progress)
    : output_(output),
      table_(std::move(table)),
      cols_(std::move(cols)),
      progress_(std::move(progress)) {}

bool TableSink::Begin(const std::vector<FieldInfo>& fields) {
  begun_ = true;
  const int fieldCount = static_cast<int>(fields.size());
  std::vector<std::optional<size_t>> columnOf(fields.size());
  for (size_t f = 0; f < fields.size(); ++f) {
    const FieldClass fieldClass = ClassOfType(fields[f].type);
    if (IsIdFieldName(fields[f].name) || fieldClass == FieldClass::Chapter) continue;
    columnOf[f] = columns_.size();
    columns_.push_back({fields[f].name, fieldClass, f});
  }
  if (fields.size() > 1) labelColumn_ = columnOf[1];

  const ColumnList list = ReadColumnList(cols_, fieldCount);
  totals_ = list.totals && !columns_.empty();
  sums_.assign(columns_.size(), std::nullopt);
  for (const std::string& entry : list.entries) {
    const std::optional<long> position = EntryPosition(entry);
    // The page totals the columns 2 to n - 1 that are numbers; column 1 holds "Total:".
    if (!position || *position < 2 || *position >= fieldCount) continue;
    const std::optional<size_t> column = columnOf[static_cast<size_t>(*position)];
    if (column && IsNumberClass(columns_[*column].fieldClass)) sums_[*column] = 0.0;
  }
  output_.BeginTable(table_);
  output_.Heading(0, columns_);
  return true;
}

bool TableSink::Row(const Variant* values, size_t) {
  output_.Row(0, columns_, values);
  if (totals_) {
    for (size_t c = 0; c < columns_.size(); ++c) {
      if (!sums_[c]) continue;
      if (const std::optional<double> number = values[columns_[c].field].ToDouble()) {
        *sums_[c] += *number;
      }
    }
  }
  ++rows_;
  if (!Report(progress_, rows_)) {
    cancelled_ = true;
    return false;
  }
  return true;
}

void TableSink::Finish() {
  if (!begun_) {
    output_.BeginTable(table_);
    output_.Heading(0, columns_);
  }
  if (totals_ && !cancelled_) output_.Totals(labelColumn_, sums_);
  output_.EndTable();
}

namespace {

struct ShapedWriter {
  TableOutput& output;
  const TableProgress& progress;
  long& rows;
  std::vector<Variant> values;

  bool Level(Recordset& records, int level) {
    if (level >= kDeepestLevel) throw Error(kOutOfStackSpace, "Out of stack space");
    if (records.RecordCount() == 0) return true;
    std::vector<OutColumn> columns;
    std::vector<int> chapters;
    const int fieldCount = records.FieldCount();
    for (int i = 0; i < fieldCount; ++i) {
      const Field field = records.Fields(i);
      const FieldClass fieldClass = ClassOfType(field.Type());
      if (fieldClass == FieldClass::Chapter) {
        chapters.push_back(i);
      } else if (!IsIdFieldName(field.Name())) {
        columns.push_back({field.Name(), fieldClass, static_cast<size_t>(i)});
      }
    }
    output.Heading(level, columns);
    for (records.MoveFirst(); !records.Eof(); records.MoveNext()) {
      values.resize(static_cast<size_t>(fieldCount));
      for (const OutColumn& column : columns) {
        values[column.field] = records.Value(static_cast<int>(column.field));
      }
      output.Row(level, columns, values.data());
      if (!Report(progress, ++rows)) return false;
      for (const int chapter : chapters) {
        const std::shared_ptr<Recordset> child = records.Value(chapter).AsChapter();
        if (child && !Level(*child, level + 1)) return false;
      }
    }
    return true;
  }
};

}  // namespace

bool WriteShaped(TableOutput& output, const OutTable& table, Recordset& shaped,
                 const TableProgress& progress, long& rows) {
  output.BeginTable(table);
  ShapedWriter writer{output, progress, rows, {}};
  const bool done = writer.Level(shaped, 0);
  output.EndTable();
  return done;
}

}  // namespace kivdb
