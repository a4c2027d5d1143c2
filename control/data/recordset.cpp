#include <kivdb/recordset.h>

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <unordered_map>

#include <kivdb/error.h>
#include "base/text.h"
#include "control/data/recordset_access.h"
#include "control/data/row_sink.h"
#include "control/data/sort_order.h"

namespace kivdb {
namespace {

// Records live in blocks of a fixed number of rows (a power of two, about 4 MiB of cells or more),
// so that a large read never moves what it has already stored and the peak memory stays close to
// the data itself.
constexpr size_t kMinRowsShift = 12;
constexpr size_t kBlockBytes = size_t{4} << 20;
constexpr size_t kHugePage = size_t{2} << 20;

// Blocks of a large read ask for huge pages: filling them then takes a few hundred page faults
// instead of tens of thousands.
template <typename T>
struct BlockAllocator {
  using value_type = T;
  BlockAllocator() = default;
  template <typename U>
  BlockAllocator(const BlockAllocator<U>&) {}

  T* allocate(size_t n) {
    const size_t bytes = n * sizeof(T);
    if (bytes < kHugePage) return std::allocator<T>().allocate(n);
    void* memory = nullptr;
    if (posix_memalign(&memory, kHugePage, bytes) != 0) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    madvise(memory, bytes, MADV_HUGEPAGE);
#endif
    return static_cast<T*>(memory);
  }
  void deallocate(T* p, size_t n) {
    if (n * sizeof(T) < kHugePage) {
      std::allocator<T>().deallocate(p, n);
    } else {
      std::free(p);
    }
  }
  template <typename U>
  bool operator==(const BlockAllocator<U>&) const {
    return true;
  }
};

// Gone: a record dropped for good (an added record deleted before any write, or one purged after
// a write); it is kept in storage but never seen again.
enum class State : uint8_t { Unchanged, Modified, New, Deleted, Gone };

[[noreturn]] void NoCurrentRecord() {
  throw Error(err::kNoCurrentRecord, "There is no current record");
}

}  // namespace

struct Recordset::Impl {
  struct FieldInfo {
    std::string name;
    int type;
  };
  std::vector<FieldInfo> fields;
  std::unordered_map<std::string, int> positionByName;  // lower-cased names, first one wins
  std::vector<std::vector<Variant, BlockAllocator<Variant>>> blocks;
  size_t rowsShift = kMinRowsShift;  // log2 of the rows per block, fixed with the first record
  size_t rowCount = 0;
  size_t reservedRows = 0;
  // The visible order of the stored rows (Sort permutes it); deleted rows stay in it until the
  // changes are accepted, and moves skip them.
  std::vector<uint32_t> order;
  std::vector<State> states;  // empty while no record was edited: all unchanged
  std::unordered_map<size_t, std::vector<Variant>> originals;
  size_t hiddenInOrder = 0;  // rows in `order` that are deleted or gone
  std::ptrdiff_t pos = 0;    // index into `order`
  bool countUnknown = false;
  std::optional<BaseTable> base;

  size_t Width() const { return fields.size(); }

  size_t RowsPerBlock() const { return size_t{1} << rowsShift; }
  Variant* Row(size_t row) {
    return blocks[row >> rowsShift].data() + (row & (RowsPerBlock() - 1)) * Width();
  }
  const Variant* Row(size_t row) const {
    return blocks[row >> rowsShift].data() + (row & (RowsPerBlock() - 1)) * Width();
  }

  State StateOf(size_t row) const { return states.empty() ? State::Unchanged : states[row]; }
  static bool IsVisible(State s) {
    return s == State::Unchanged || s == State::Modified || s == State::New;
  }
  bool VisibleAt(std::ptrdiff_t index) const { return IsVisible(StateOf(order[index])); }

  size_t LiveCount() const { return order.size() - hiddenInOrder; }
  bool AtEof() const {
    return LiveCount() == 0 || pos >= static_cast<std::ptrdiff_t>(order.size());
  }
  bool AtBof() const { return LiveCount() == 0 || pos < 0; }

  // The storage row of the current record; throws when there is none.
  size_t CurrentRow() const {
    if (AtEof() || AtBof() || !VisibleAt(pos)) NoCurrentRecord();
    return order[pos];
  }

  Variant* NewRow() {
    if (rowCount > std::numeric_limits<uint32_t>::max()) {
      throw Error(err::kOverflow, "Too many records");
    }
    if (rowCount == 0) {
      const size_t rowBytes = std::max<size_t>(Width(), 1) * sizeof(Variant);
      while ((size_t{1} << rowsShift) * rowBytes < kBlockBytes) ++rowsShift;
    }
    const size_t inBlock = rowCount & (RowsPerBlock() - 1);
    if (inBlock == 0 && (rowCount >> rowsShift) == blocks.size()) {
      blocks.emplace_back();
      // The first block grows as needed (most recordsets are small); later ones are taken whole.
      const size_t rows = blocks.size() == 1
                              ? std::min(RowsPerBlock(), std::max<size_t>(reservedRows, 1))
                              : RowsPerBlock();
      blocks.back().reserve(rows * Width());
    }
    auto& block = blocks[rowCount >> rowsShift];
    block.resize(block.size() + Width());
    order.push_back(static_cast<uint32_t>(rowCount));
    if (!states.empty()) states.push_back(State::Unchanged);
    ++rowCount;
    return block.data() + inBlock * Width();
  }

  void EnsureStates() {
    if (states.empty()) states.assign(rowCount, State::Unchanged);
  }

  void SkipForward() {
    const auto size = static_cast<std::ptrdiff_t>(order.size());
    while (pos < size && !VisibleAt(pos)) ++pos;
  }
  void SkipBackward() {
    while (pos >= 0 && !VisibleAt(pos)) --pos;
  }

  int CheckedPosition(int position) const {
    if (position < 0 || position >= static_cast<int>(fields.size())) {
      throw Error(err::kItemNotFound, "No field at position " + std::to_string(position));
    }
    return position;
  }
};

// --- Field ---------------------------------------------------------------------------------------

const std::string& Field::Name() const {
  return owner_->impl_->fields[position_].name;
}
int Field::Type() const {
  return owner_->impl_->fields[position_].type;
}
const Variant& Field::Value() const {
  return owner_->Value(position_);
}

void Field::SetValue(Variant value) {
  Recordset::Impl& rs = *owner_->impl_;
  const size_t row = rs.CurrentRow();
  Variant* cells = rs.Row(row);
  if (rs.StateOf(row) == State::Unchanged) {
    rs.EnsureStates();
    rs.originals.emplace(row, std::vector<Variant>(cells, cells + rs.Width()));
    rs.states[row] = State::Modified;
  }
  cells[position_] = std::move(value);
}

// --- Recordset: building -------------------------------------------------------------------------

Recordset::Recordset() : impl_(std::make_unique<Impl>()) {}
Recordset::~Recordset() = default;
Recordset::Recordset(Recordset&&) noexcept = default;
Recordset& Recordset::operator=(Recordset&&) noexcept = default;

Recordset Recordset::Clone() const {
  Recordset copy;
  copy.impl_ = std::make_unique<Impl>(*impl_);
  return copy;
}

void Recordset::AppendField(std::string name, int type) {
  if (impl_->rowCount != 0) throw Error(err::kInvalidCall, "Fields must be added before records");
  impl_->positionByName.emplace(text::Lower(name), static_cast<int>(impl_->fields.size()));
  impl_->fields.push_back({std::move(name), type});
}

void Recordset::AddRow(std::vector<Variant> values) {
  if (values.size() != impl_->Width()) {
    throw Error(err::kInvalidCall, "A record needs " + std::to_string(impl_->Width()) +
                                       " values, not " + std::to_string(values.size()));
  }
  Variant* cells = impl_->NewRow();
  std::move(values.begin(), values.end(), cells);
}

Variant* Recordset::AppendEmptyRow() {
  return impl_->NewRow();
}

void Recordset::ReserveRows(size_t rows) {
  impl_->reservedRows = rows;
  impl_->order.reserve(rows);
  impl_->blocks.reserve((rows >> kMinRowsShift) + 1);
}

void Recordset::SetRecordCountUnknown(bool unknown) {
  impl_->countUnknown = unknown;
}

// --- Fields --------------------------------------------------------------------------------------

int Recordset::FieldCount() const {
  return static_cast<int>(impl_->fields.size());
}

Field Recordset::Fields(int position) {
  return Field(this, impl_->CheckedPosition(position));
}

Field Recordset::Fields(std::string_view name) {
  const int position = FieldIndex(name);
  if (position < 0) throw Error(err::kItemNotFound, "No field named '" + std::string(name) + "'");
  return Field(this, position);
}

int Recordset::FieldIndex(std::string_view name) const {
  const auto it = impl_->positionByName.find(text::Lower(name));
  return it == impl_->positionByName.end() ? -1 : it->second;
}

// --- Records and cursor --------------------------------------------------------------------------

long Recordset::RecordCount() const {
  return impl_->countUnknown ? -1 : static_cast<long>(impl_->LiveCount());
}

void Recordset::MoveFirst() {
  impl_->pos = 0;
  impl_->SkipForward();
}

void Recordset::MoveNext() {
  if (impl_->AtEof()) NoCurrentRecord();
  ++impl_->pos;
  impl_->SkipForward();
}

void Recordset::MovePrevious() {
  if (impl_->AtBof()) NoCurrentRecord();
  --impl_->pos;
  impl_->SkipBackward();
}

void Recordset::MoveLast() {
  impl_->pos = static_cast<std::ptrdiff_t>(impl_->order.size()) - 1;
  impl_->SkipBackward();
  if (impl_->pos < 0) impl_->pos = 0;  // no visible record: Eof and Bof both hold
}

bool Recordset::Eof() const {
  return impl_->AtEof();
}
bool Recordset::Bof() const {
  return impl_->AtBof();
}

const Variant& Recordset::Value(int position) const {
  impl_->CheckedPosition(position);
  return impl_->Row(impl_->CurrentRow())[position];
}

void Recordset::Sort(std::string_view expression) {
  const std::vector<SortKey> keys = ParseSortExpression(expression);
  std::vector<std::pair<int, bool>> columns;  // position, descending
  columns.reserve(keys.size());
  for (const SortKey& key : keys) {
    const int position = FieldIndex(key.field);
    if (position < 0) throw Error(err::kItemNotFound, "No field named '" + key.field + "'");
    columns.emplace_back(position, key.descending);
  }
  Impl& rs = *impl_;
  if (columns.empty()) {
    std::sort(rs.order.begin(), rs.order.end());  // back to the order of reading
  } else {
    std::stable_sort(rs.order.begin(), rs.order.end(), [&](uint32_t a, uint32_t b) {
      const Variant* ra = rs.Row(a);
      const Variant* rb = rs.Row(b);
      for (const auto& [position, descending] : columns) {
        const int c = CompareValues(ra[position], rb[position]);
        if (c != 0) return descending ? c > 0 : c < 0;
      }
      return false;
    });
  }
  MoveFirst();
}

std::vector<std::vector<Variant>> Recordset::GetRows() const {
  const Impl& rs = *impl_;
  std::vector<std::vector<Variant>> table(rs.Width());
  for (auto& column : table) column.reserve(rs.LiveCount());
  for (size_t i = 0; i < rs.order.size(); ++i) {
    if (!rs.VisibleAt(static_cast<std::ptrdiff_t>(i))) continue;
    const Variant* cells = rs.Row(rs.order[i]);
    for (size_t c = 0; c < rs.Width(); ++c) table[c].push_back(cells[c]);
  }
  return table;
}

// --- Editing -------------------------------------------------------------------------------------

void Recordset::AddNew() {
  Impl& rs = *impl_;
  // States after the row exists: with no record yet, an empty list still means "all unchanged".
  rs.NewRow();
  rs.EnsureStates();
  rs.states.back() = State::New;
  rs.pos = static_cast<std::ptrdiff_t>(rs.order.size()) - 1;
}

void Recordset::Delete() {
  Impl& rs = *impl_;
  const size_t row = rs.CurrentRow();
  rs.EnsureStates();
  rs.states[row] = rs.states[row] == State::New ? State::Gone : State::Deleted;
  ++rs.hiddenInOrder;
}

// --- Batch write-back ----------------------------------------------------------------------------

void Recordset::SetBaseTable(BaseTable source) {
  impl_->base = std::move(source);
}

const Recordset::BaseTable* Recordset::GetBaseTable() const {
  return impl_->base ? &*impl_->base : nullptr;
}

void Recordset::SetFieldType(int position, int type) {
  impl_->fields[impl_->CheckedPosition(position)].type = type;
}

std::vector<size_t> Recordset::LiveRows() const {
  std::vector<size_t> rows;
  rows.reserve(impl_->LiveCount());
  for (size_t i = 0; i < impl_->order.size(); ++i) {
    if (impl_->VisibleAt(static_cast<std::ptrdiff_t>(i))) rows.push_back(impl_->order[i]);
  }
  return rows;
}

std::vector<size_t> Recordset::PendingRows() const {
  std::vector<size_t> rows;
  for (size_t row = 0; row < impl_->states.size(); ++row) {
    const State s = impl_->states[row];
    if (s == State::Modified || s == State::New || s == State::Deleted) rows.push_back(row);
  }
  return rows;
}

bool Recordset::HasPendingChanges() const {
  return std::any_of(impl_->states.begin(), impl_->states.end(), [](State s) {
    return s == State::Modified || s == State::New || s == State::Deleted;
  });
}

Recordset::RecordStatus Recordset::Status(size_t row) const {
  if (row >= impl_->rowCount)
    throw Error(err::kInvalidCall, "No stored row " + std::to_string(row));
  switch (impl_->StateOf(row)) {
    case State::Modified:
      return RecordStatus::Modified;
    case State::New:
      return RecordStatus::New;
    case State::Deleted:
      return RecordStatus::Deleted;
    default:
      return RecordStatus::Unchanged;
  }
}

const Variant& Recordset::CellValue(size_t row, int position) const {
  if (row >= impl_->rowCount)
    throw Error(err::kInvalidCall, "No stored row " + std::to_string(row));
  return impl_->Row(row)[impl_->CheckedPosition(position)];
}

const Variant& Recordset::OriginalValue(size_t row, int position) const {
  const Variant& current = CellValue(row, position);
  const auto it = impl_->originals.find(row);
  return it == impl_->originals.end() ? current : it->second[position];
}

void Recordset::RefreshCell(size_t row, int position, Variant value) {
  if (row >= impl_->rowCount)
    throw Error(err::kInvalidCall, "No stored row " + std::to_string(row));
  impl_->Row(row)[impl_->CheckedPosition(position)] = std::move(value);
}

void Recordset::AcceptChanges(const std::vector<size_t>& vanished) {
  Impl& rs = *impl_;
  if (!vanished.empty()) rs.EnsureStates();
  for (size_t row : vanished) {
    if (row < rs.rowCount) rs.states[row] = State::Gone;
  }
  if (!rs.states.empty()) {
    std::erase_if(rs.order, [&](uint32_t row) {
      const State s = rs.states[row];
      if (s != State::Deleted && s != State::Gone) return false;
      Variant* cells = rs.Row(row);
      std::fill(cells, cells + rs.Width(), Variant());  // free what the dropped row held
      return true;
    });
  }
  rs.states.clear();
  rs.originals.clear();
  rs.hiddenInOrder = 0;
  MoveFirst();
}

bool FeedRecordset(Recordset& records, RowSink& sink) {
  std::vector<FieldInfo> fields;
  for (int i = 0; i < records.FieldCount(); ++i) {
    Field field = records.Fields(i);
    fields.push_back({field.Name(), field.Type()});
  }
  if (!sink.Begin(fields)) return false;
  std::vector<Variant> values(fields.size());
  const std::vector<size_t>* needed = nullptr;  // every field
  for (const size_t row : records.LiveRows()) {
    if (needed) {
      for (const size_t i : *needed) {
        if (i < values.size())
          values[i] = RecordsetAccess::CellValue(records, row, static_cast<int>(i));
      }
    } else {
      for (size_t i = 0; i < values.size(); ++i)
        values[i] = RecordsetAccess::CellValue(records, row, static_cast<int>(i));
    }
    if (!sink.Row(values.data(), values.size())) return false;
    if (const std::vector<size_t>* next = sink.FieldsNeeded(); next != needed) {
      needed = next;
      if (needed) std::fill(values.begin(), values.end(), Variant());
    }
  }
  return true;
}

}  // namespace kivdb
