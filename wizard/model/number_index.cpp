#include "wizard/model/number_index.h"

#include <utility>

namespace kivwz {

std::size_t NumberIndex::SlotOf(Long key) const {
  // Fibonacci hashing spreads consecutive IDs over the table.
  const std::uint64_t mixed =
      static_cast<std::uint64_t>(static_cast<std::uint32_t>(key)) * 0x9E3779B97F4A7C15ull;
  return static_cast<std::size_t>(mixed >> 32) & (entries_.size() - 1);
}

void NumberIndex::Reserve(std::size_t count) {
  std::size_t capacity = 16;
  while (capacity < 2 * count) capacity *= 2;
  if (capacity <= entries_.size()) return;
  std::vector<Entry> old = std::move(entries_);
  entries_.assign(capacity, Entry{});
  size_ = 0;
  for (const Entry& entry : old) {
    if (entry.used) Insert(entry.key, entry.value);
  }
}

void NumberIndex::Clear() {
  entries_.clear();
  size_ = 0;
}

void NumberIndex::Grow() {
  Reserve(entries_.empty() ? 8 : entries_.size());
}

std::int64_t NumberIndex::Find(Long key) const {
  if (entries_.empty()) return kAbsent;
  for (std::size_t slot = SlotOf(key);; slot = (slot + 1) & (entries_.size() - 1)) {
    const Entry& entry = entries_[slot];
    if (!entry.used) return kAbsent;
    if (entry.key == key) return entry.value;
  }
}

bool NumberIndex::Insert(Long key, std::int64_t value) {
  if (2 * (size_ + 1) > entries_.size()) Grow();
  for (std::size_t slot = SlotOf(key);; slot = (slot + 1) & (entries_.size() - 1)) {
    Entry& entry = entries_[slot];
    if (!entry.used) {
      entry = {key, true, value};
      ++size_;
      return true;
    }
    if (entry.key == key) return false;
  }
}

void NumberIndex::Assign(Long key, std::int64_t value) {
  if (2 * (size_ + 1) > entries_.size()) Grow();
  for (std::size_t slot = SlotOf(key);; slot = (slot + 1) & (entries_.size() - 1)) {
    Entry& entry = entries_[slot];
    if (!entry.used) {
      entry = {key, true, value};
      ++size_;
      return;
    }
    if (entry.key == key) {
      entry.value = value;
      return;
    }
  }
}

void NumberIndex::Erase(Long key) {
  if (entries_.empty()) return;
  const std::size_t mask = entries_.size() - 1;
  std::size_t hole = SlotOf(key);
  while (true) {
    if (!entries_[hole].used) return;
    if (entries_[hole].key == key) break;
    hole = (hole + 1) & mask;
  }
  // Backward-shift deletion: pull later entries of the probe run into the hole, so lookups never
  // stop early at it.
  for (std::size_t next = (hole + 1) & mask; entries_[next].used; next = (next + 1) & mask) {
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
