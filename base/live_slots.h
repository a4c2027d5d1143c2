#pragma once
// LiveSlots: numbers the entries of a collection in order of addition while some are removed,
// so that an entry's 1-based position among the live ones, and the entry at a position, are found
// in logarithmic time however many entries were removed before it (a Fenwick tree over 0/1).
// The tree views use it for their node indexes.

#include <cstddef>
#include <vector>

namespace kivdb {

class LiveSlots {
 public:
  void Clear() { tree_.assign(1, 0); }
  size_t Size() const { return tree_.size() - 1; }
  // Appends a slot holding `value` (0 or 1) and returns its 1-based number.
  size_t Append(int value) {
    const size_t i = tree_.size();
    const size_t low = i & (~i + 1);
    tree_.push_back(value + Prefix(i - 1) - Prefix(i - low));
    return i;
  }
  void Add(size_t slot, int delta) {
    for (size_t i = slot; i < tree_.size(); i += i & (~i + 1)) tree_[i] += delta;
  }
  // The number of live entries in slots 1..slot.
  int Prefix(size_t slot) const {
    int sum = 0;
    for (size_t i = slot; i > 0; i -= i & (~i + 1)) sum += tree_[i];
    return sum;
  }
  // The slot of the k-th live entry (k from 1); assumes 1 <= k <= number of live entries.
  size_t Find(int k) const {
    size_t step = 1;
    while (step * 2 < tree_.size()) step *= 2;
    size_t pos = 0;
    for (; step > 0; step /= 2) {
      if (pos + step < tree_.size() && tree_[pos + step] < k) {
        pos += step;
        k -= tree_[pos];
      }
    }
    return pos + 1;
  }

 private:
  std::vector<int> tree_ = std::vector<int>(1, 0);
};

}  // namespace kivdb
