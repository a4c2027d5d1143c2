#pragma once
// A digest of every stored field of a scheme, so that the wizard can tell whether the design has
// changed since it was loaded, saved or made new.

#include <cstdint>

#include "wizard/model/nav_schemes.h"
#include "wizard/model/web_schemes.h"

namespace kivwz {

struct Fingerprint {
  std::uint64_t hash = 0;
  std::uint64_t count = 0;
  bool operator==(const Fingerprint&) const = default;
};

// Over the nodes in collection order: the fields of their table (scheme_fields.h).
Fingerprint NavFingerprint(const clsNavSchemes& navs);
// Over the paragraphs in collection order: the fields of their table.
Fingerprint WebFingerprint(const clsWebSchemes& webs);

}  // namespace kivwz
