#pragma once
// KeyedCollection: the ordered collection both schemes keep their records in. Records stay in
// insertion order; each is filed under a key, the decimal text of its ID. The collection shares
// ownership of its records, so a record handed to Add is stored itself, not copied.
//
// Keys are held as numbers: only canonical decimal text ("5", not "05" or " 5") can name a record,
// exactly as a text key would. Records sit in a vector of slots; a removed record leaves an empty
// slot until more than half are empty, so removal and lookup take constant time and iteration
// runs through memory in order. Removing records invalidates iterators.

#include <cstddef>
#include <iterator>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "wizard/model/number_index.h"
#include "wizard/model/numbers.h"

namespace kivwz {

template <class T>
class KeyedCollection {
 public:
  using Slots = std::vector<std::shared_ptr<T>>;

  // Walks the records in insertion order, skipping empty slots.
  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = std::shared_ptr<T>;
    using difference_type = std::ptrdiff_t;
    using pointer = const std::shared_ptr<T>*;
    using reference = const std::shared_ptr<T>&;

    const_iterator() = default;
    const_iterator(typename Slots::const_iterator at, typename Slots::const_iterator end)
        : at_(at), end_(end) {
      Skip();
    }
    reference operator*() const { return *at_; }
    pointer operator->() const { return &*at_; }
    const_iterator& operator++() {
      ++at_;
      Skip();
      return *this;
    }
    const_iterator operator++(int) {
      const_iterator before = *this;
      ++*this;
      return before;
    }
    bool operator==(const const_iterator& other) const { return at_ == other.at_; }

   private:
    void Skip() {
      while (at_ != end_ && !*at_) ++at_;
    }
    typename Slots::const_iterator at_{};
    typename Slots::const_iterator end_{};
  };

  const_iterator begin() const { return {slots_.begin(), slots_.end()}; }
  const_iterator end() const { return {slots_.end(), slots_.end()}; }

  // Files item under key after all others; a taken key or no item adds nothing.
  bool Add(Long key, std::shared_ptr<T> item) {
    if (!item) return false;
    if (!index_.Insert(key, static_cast<std::int32_t>(slots_.size()))) return false;
    slots_.push_back(std::move(item));
    keys_.push_back(key);
    ++count_;
    return true;
  }

  std::shared_ptr<T> Item(Long key) const {
    const std::int32_t slot = index_.Find(key);
    return slot == NumberIndex::kAbsent ? nullptr : slots_[static_cast<std::size_t>(slot)];
  }
  std::shared_ptr<T> Item(std::string_view key) const {
    const std::optional<Long> number = KeyNumber(key);
    return number ? Item(*number) : nullptr;
  }

  // An absent key is ignored.
  void Remove(Long key) {
    const std::int32_t slot = index_.Find(key);
    if (slot == NumberIndex::kAbsent) return;
    slots_[static_cast<std::size_t>(slot)].reset();
    index_.Erase(key);
    --count_;
    if (count_ < slots_.size() / 2) Compact();
  }
  void Remove(std::string_view key) {
    if (const std::optional<Long> number = KeyNumber(key)) Remove(*number);
  }

  void Clear() {
    index_.Clear();
    slots_.clear();
    keys_.clear();
    count_ = 0;
  }

  std::size_t Count() const { return count_; }
  bool Empty() const { return count_ == 0; }

  // Files every record anew under keyOf(record), keeping the order. The caller guarantees that
  // the new keys are unique.
  template <class KeyOfItem>
  void Rekey(KeyOfItem keyOf) {
    Compact();
    index_.Clear();
    index_.Reserve(slots_.size());
    for (std::size_t i = 0; i < slots_.size(); ++i) {
      keys_[i] = keyOf(*slots_[i]);
      index_.Insert(keys_[i], static_cast<std::int32_t>(i));
    }
  }

 private:
  // Closes the gaps left by removed records and refiles the keys at their new slots.
  void Compact() {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < slots_.size(); ++i) {
      if (!slots_[i]) continue;
      if (kept != i) {
        slots_[kept] = std::move(slots_[i]);
        keys_[kept] = keys_[i];
        index_.Assign(keys_[kept], static_cast<std::int32_t>(kept));
      }
      ++kept;
    }
    slots_.resize(kept);
    keys_.resize(kept);
  }

  Slots slots_;
  std::vector<Long> keys_;  // the key of each slot
  NumberIndex index_;       // key -> slot
  std::size_t count_ = 0;
};

}  // namespace kivwz
