#include "wizard/model/number_index.h"

#include <algorithm>
#include <utility>

namespace kivwz {
namespace {

// A dense array may span this many slots per key (plus some slack for small indexes).
constexpr std::int64_t kDenseSpread = 4;
constexpr std::int64_t kDenseSlack = 1024;

}  // namespace

void NumberIndex::Reserve(std::size_t count) {
  reserved_ = std::max(reserved_, count);
  if (!dense_) GrowHash(count);
}

void NumberIndex::Clear() {
  dense_ = true;
  base_ = 0;
  array_.clear();
  entries_.clear();
  size_ = 0;
}

bool NumberIndex::FitsDense(std::int64_t low, std::int64_t high) const {
  const std::int64_t keys = static_cast<std::int64_t>(std::max(size_ + 1, reserved_));
  return high - low + 1 <= kDenseSpread * keys + kDenseSlack;
}

void NumberIndex::WidenDense(Long key) {
  if (array_.empty()) {
    base_ = key;
    array_.assign(1, kAbsent);
    return;
  }
  const std::int64_t top = base_ + static_cast<std::int64_t>(array_.size()) - 1;
  // Grow by at least the present span, so that widening one key at a time stays linear.
  const std::int64_t span = static_cast<std::int64_t>(array_.size());
  if (key > top) {
    const std::int64_t high = std::max<std::int64_t>(key, top + span);
    const std::int64_t fitted = FitsDense(base_, high) ? high : key;
    array_.resize(static_cast<std::size_t>(fitted - base_ + 1), kAbsent);
  } else {
    const std::int64_t low = std::min<std::int64_t>(key, base_ - span);
    const std::int64_t fitted = FitsDense(low, top) ? low : key;
    std::vector<std::int32_t> widened(static_cast<std::size_t>(top - fitted + 1), kAbsent);
    std::copy(array_.begin(), array_.end(), widened.begin() + (base_ - fitted));
    array_ = std::move(widened);
    base_ = fitted;
  }
}

void NumberIndex::SwitchToHash() {
  std::vector<std::int32_t> old = std::move(array_);
  const std::int64_t oldBase = base_;
  array_.clear();
  dense_ = false;
  GrowHash(std::max(size_ + 1, reserved_));
  for (std::size_t i = 0; i < old.size(); ++i) {
    if (old[i] != kAbsent)
      Probe(static_cast<Long>(oldBase + static_cast<std::int64_t>(i))) = {
          static_cast<Long>(oldBase + static_cast<std::int64_t>(i)), old[i]};
  }
}

std::int32_t& NumberIndex::Place(Long key) {
  if (dense_) {
    const std::int64_t top = base_ + static_cast<std::int64_t>(array_.size()) - 1;
    const bool inside = !array_.empty() && key >= base_ && key <= top;
    if (inside) return array_[static_cast<std::size_t>(key - base_)];
    const std::int64_t low = array_.empty() ? key : std::min<std::int64_t>(key, base_);
    const std::int64_t high = array_.empty() ? key : std::max<std::int64_t>(key, top);
    if (FitsDense(low, high)) {
      WidenDense(key);
      return array_[static_cast<std::size_t>(key - base_)];
    }
    SwitchToHash();
  }
  if (2 * (size_ + 1) > entries_.size()) GrowHash(size_ + 1);
  Entry& entry = Probe(key);
  entry.key = key;
  return entry.position;
}

std::int32_t NumberIndex::Find(Long key) const {
  if (dense_) {
    const std::int64_t offset = static_cast<std::int64_t>(key) - base_;
    if (offset < 0 || offset >= static_cast<std::int64_t>(array_.size())) return kAbsent;
    return array_[static_cast<std::size_t>(offset)];
  }
  if (entries_.empty()) return kAbsent;
  for (std::size_t slot = SlotOf(key);; slot = (slot + 1) & (entries_.size() - 1)) {
    const Entry& entry = entries_[slot];
    if (entry.position == kAbsent || entry.key == key) return entry.position;
  }
}

bool NumberIndex::Insert(Long key, std::int32_t position) {
  std::int32_t& place = Place(key);
  if (place != kAbsent) return false;
  place = position;
  ++size_;
  return true;
}

void NumberIndex::Assign(Long key, std::int32_t position) {
  std::int32_t& place = Place(key);
  if (place == kAbsent) ++size_;
  place = position;
}

std::size_t NumberIndex::SlotOf(Long key) const {
  // Fibonacci hashing spreads consecutive IDs over the table.
  const std::uint64_t mixed =
      static_cast<std::uint64_t>(static_cast<std::uint32_t>(key)) * 0x9E3779B97F4A7C15ull;
  return static_cast<std::size_t>(mixed >> 32) & (entries_.size() - 1);
}

void NumberIndex::GrowHash(std::size_t count) {
  std::size_t capacity = 16;
  while (capacity < 2 * count) capacity *= 2;
  if (capacity <= entries_.size()) return;
  std::vector<Entry> old = std::move(entries_);
  entries_.assign(capacity, Entry{});
  for (const Entry& entry : old) {
    if (entry.position != kAbsent) Probe(entry.key) = entry;
  }
}

NumberIndex::Entry& NumberIndex::Probe(Long key) {
  for (std::size_t slot = SlotOf(key);; slot = (slot + 1) & (entries_.size() - 1)) {
    Entry& entry = entries_[slot];
    if (entry.position == kAbsent || entry.key == key) return entry;
  }
}

void NumberIndex::Erase(Long key) {
  if (dense_) {
    const std::int64_t offset = static_cast<std::int64_t>(key) - base_;
    if (offset < 0 || offset >= static_cast<std::int64_t>(array_.size())) return;
    std::int32_t& place = array_[static_cast<std::size_t>(offset)];
    if (place != kAbsent) --size_;
    place = kAbsent;
    return;
  }
  if (entries_.empty()) return;
  const std::size_t mask = entries_.size() - 1;
  std::size_t hole = SlotOf(key);
  while (true) {
    if (entries_[hole].position == kAbsent) return;
    if (entries_[hole].key == key) break;
    hole = (hole + 1) & mask;
  }
  // Backward-shift deletion: pull later entries of the probe run into the hole, so lookups never
  // stop early at it.
  for (std::size_t next = (hole + 1) & mask; entries_[next].position != kAbsent;
       next = (next + 1) & mask) {
    const std::size_t home = SlotOf(entries_[next].key);
    const bool movable =
        hole <= next ? (home <= hole || home > next) : (home <= hole && home > next);
    if (movable) {
      entries_[hole] = entries_[next];
      hole = next;
    }
  }
  entries_[hole] = Entry{};
  --size_;
}

}  // namespace kivwz
