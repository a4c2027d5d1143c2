#pragma once
// NumberIndex: a map from whole numbers (IDs) to positions, for every lookup by ID in the model.
// Scheme IDs are nearly always dense (new records take the highest ID plus one, renumbering gives
// 1..n), so while the keys span a range at most a few times their count the index is a plain
// array over that range, four bytes a key; otherwise it is one flat hash table (open addressing,
// linear probing). Either way a lookup touches one place in memory. Positions are never negative.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "wizard/model/numbers.h"

namespace kivwz {

class NumberIndex {
 public:
  static constexpr std::int32_t kAbsent = -1;

  // Prepares room for count keys.
  void Reserve(std::size_t count);
  void Clear();
  std::size_t Size() const { return size_; }

  // The position filed under key, or kAbsent.
  std::int32_t Find(Long key) const;
  // Files position under key unless the key is taken; true when it was filed.
  bool Insert(Long key, std::int32_t position);
  // Files position under key, replacing any position already there.
  void Assign(Long key, std::int32_t position);
  // Removes the key if present.
  void Erase(Long key);

 private:
  struct Entry {
    Long key = 0;
    std::int32_t position = kAbsent;  // kAbsent marks a free entry
  };

  // The place for key (whether filed or not), making room for it first.
  std::int32_t& Place(Long key);
  bool FitsDense(std::int64_t low, std::int64_t high) const;
  void WidenDense(Long key);
  void SwitchToHash();
  std::size_t SlotOf(Long key) const;
  void GrowHash(std::size_t count);
  Entry& Probe(Long key);

  bool dense_ = true;
  std::int64_t base_ = 0;            // dense: the key of array_[0]
  std::vector<std::int32_t> array_;  // dense: positions by key - base_
  std::vector<Entry> entries_;       // hash: capacity a power of two, at most half full
  std::size_t reserved_ = 0;
  std::size_t size_ = 0;
};

}  // namespace kivwz
