#pragma once
// NumberIndex: a map from whole numbers (IDs) to positions, kept in one flat table (open
// addressing with linear probing), so that a lookup touches one place in memory instead of
// chasing a node per entry. The model's collections and walks use it for every lookup by ID.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "wizard/model/numbers.h"

namespace kivwz {

class NumberIndex {
 public:
  static constexpr std::int64_t kAbsent = -1;

  void Reserve(std::size_t count);
  void Clear();
  std::size_t Size() const { return size_; }

  // The value filed under key, or kAbsent.
  std::int64_t Find(Long key) const;
  // Files value under key unless the key is taken; true when it was filed.
  bool Insert(Long key, std::int64_t value);
  // Files value under key, replacing any value already there.
  void Assign(Long key, std::int64_t value);
  // Removes the key if present.
  void Erase(Long key);

 private:
  struct Entry {
    Long key = 0;
    bool used = false;
    std::int64_t value = 0;
  };
  std::size_t SlotOf(Long key) const;
  void Grow();

  std::vector<Entry> entries_;  // capacity is a power of two, at most half full
  std::size_t size_ = 0;
};

}  // namespace kivwz
