#include "control/data/shape_key_index.h"

#include <cstring>
#include <functional>
#include <stdexcept>

namespace kivdb {
namespace {

uint64_t HashOf(std::string_view key) {
  return std::hash<std::string_view>()(key);
}

}  // namespace

ShapeKeyIndex::ShapeKeyIndex(size_t expected) {
  size_t capacity = 16;
  while (capacity < expected * 2) capacity *= 2;  // at most half full: short probe runs
  slots_.resize(capacity);
  mask_ = capacity - 1;
}

bool ShapeKeyIndex::Holds(const Slot& slot, std::string_view key, uint64_t hash) const {
  if (slot.hash != hash || slot.length != key.size()) return false;
  if (key.size() <= kInlineBytes) return std::memcmp(slot.bytes, key.data(), key.size()) == 0;
  uint64_t offset = 0;
  std::memcpy(&offset, slot.bytes, sizeof offset);
  return std::string_view(longKeys_).substr(offset, key.size()) == key;
}

// The slot that holds `key`, or the empty slot where it would go.
size_t ShapeKeyIndex::Locate(std::string_view key, uint64_t hash) const {
  size_t at = hash & mask_;
  while (slots_[at].number != kEmpty && !Holds(slots_[at], key, hash)) at = (at + 1) & mask_;
  return at;
}

uint32_t ShapeKeyIndex::Insert(std::string_view key, bool& added) {
  if (key.size() > UINT32_MAX) throw std::length_error("A SHAPE key is too long");
  if ((size_ + 1) * 2 > slots_.size()) Grow();
  const uint64_t hash = HashOf(key);
  Slot& slot = slots_[Locate(key, hash)];
  added = slot.number == kEmpty;
  if (!added) return slot.number;
  if (size_ >= kEmpty) throw std::length_error("Too many SHAPE keys");
  slot.hash = hash;
  slot.number = static_cast<uint32_t>(size_++);
  slot.length = static_cast<uint32_t>(key.size());
  if (key.size() <= kInlineBytes) {
    std::memcpy(slot.bytes, key.data(), key.size());
  } else {
    const uint64_t offset = longKeys_.size();
    longKeys_.append(key);
    std::memcpy(slot.bytes, &offset, sizeof offset);
  }
  return slot.number;
}

int64_t ShapeKeyIndex::Find(std::string_view key) const {
  const Slot& slot = slots_[Locate(key, HashOf(key))];
  return slot.number == kEmpty ? kMissing : slot.number;
}

void ShapeKeyIndex::Grow() {
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(old.size() * 2, Slot());
  mask_ = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (slot.number == kEmpty) continue;
    size_t at = slot.hash & mask_;
    while (slots_[at].number != kEmpty) at = (at + 1) & mask_;
    slots_[at] = slot;
  }
}

}  // namespace kivdb
