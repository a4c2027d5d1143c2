#include "wizard/model/scheme_fingerprint.h"

#include <string_view>

#include "wizard/model/scheme_fields.h"

namespace kivwz {
namespace {

// FNV-1a over the fields, each followed by a separator byte so that moving text from one field
// to the next changes the digest.
class Digest {
 public:
  Digest& Text(std::string_view text) {
    for (const char c : text) Byte(static_cast<unsigned char>(c));
    Byte(0x1f);
    return *this;
  }
  Digest& Number(Long value) {
    auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i, bits >>= 8) Byte(bits & 0xffu);
    Byte(0x1e);
    return *this;
  }
  std::uint64_t Value() const { return hash_; }

 private:
  void Byte(std::uint32_t byte) {
    hash_ ^= byte;
    hash_ *= 0x100000001b3ull;
  }
  std::uint64_t hash_ = 0xcbf29ce484222325ull;
};

// The digest of every record of a collection, in collection order.
template <class Collection>
Fingerprint RecordsFingerprint(const Collection& records) {
  Digest digest;
  std::uint64_t count = 0;
  for (const auto& record : records) {
    WriteFields(*record, digest);
    ++count;
  }
  return {digest.Value(), count};
}

}  // namespace

Fingerprint NavFingerprint(const clsNavSchemes& navs) {
  return RecordsFingerprint(navs);
}

Fingerprint WebFingerprint(const clsWebSchemes& webs) {
  return RecordsFingerprint(webs);
}

}  // namespace kivwz
