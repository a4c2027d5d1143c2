#pragma once
// ShapeKeyIndex: numbers the distinct packed keys of a SHAPE relation (0, 1, 2, ... in order of
// first insertion) and finds a key's number again. An open-addressing table in one array: a key of
// up to 16 bytes (any single number, short texts) lives in its slot, so that a lookup mostly
// touches one cache line; longer keys live in a side buffer.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kivdb {

class ShapeKeyIndex {
 public:
  static constexpr int64_t kMissing = -1;

  // Sized for `expected` keys without growing.
  explicit ShapeKeyIndex(size_t expected);

  // The number of `key`; a new key gets the next number and sets `added`.
  uint32_t Insert(std::string_view key, bool& added);
  // The number of `key`, or kMissing.
  int64_t Find(std::string_view key) const;
  size_t Size() const { return size_; }

 private:
  static constexpr size_t kInlineBytes = 16;
  static constexpr uint32_t kEmpty = UINT32_MAX;
  struct Slot {
    uint64_t hash = 0;
    uint32_t number = kEmpty;
    uint32_t length = 0;
    char bytes[kInlineBytes] = {};  // the key, or the offset of a long key in longKeys_
  };

  size_t Locate(std::string_view key, uint64_t hash) const;
  bool Holds(const Slot& slot, std::string_view key, uint64_t hash) const;
  void Grow();

  std::vector<Slot> slots_;
  size_t mask_ = 0;
  size_t size_ = 0;
  std::string longKeys_;
};

}  // namespace kivdb
