#pragma once
// The rules of the navigation tree that need no tree: who may open a node, and how a node's Tag
// and Key are written and read back.
//
//   Tag  the scheme ID in 5 digits (leading zeros) + the node type letter: "00001F" for the root.
//        Read back as the whole number in its first 5 characters and the letter in its 6th.
//   Key  a fixed child: the XST1 row's ID in 10 digits + "F"; a node made from a query record:
//        the record's first field in 10 digits when it is a number (a text key as it is) + "G" +
//        the number of nodes in the tree before it was added.

#include <cstdint>
#include <string>
#include <string_view>

#include <kivdb/variant.h>

namespace kivdb {

// True for an empty list; otherwise true when one of the ":"-separated pieces equals the role as
// a number (a piece that is no number equals nothing).
bool IsRoleAllowed(std::string_view roleList, int16_t userRole);

// A number rounded to whole and written with at least `width` digits (the sign in front); any
// other value as its text, Null and Empty as nothing.
std::string ZeroPadded(const Variant& value, size_t width);

std::string NodeTag(const Variant& schemeId, std::string_view typeIs);

struct TagParts {
  long schemeId = 0;
  // The 6th character in capitals, empty when the tag is shorter.
  std::string type;
};
// Throws Error 13 when the first 5 characters are no number.
TagParts ParseTag(std::string_view tag);

std::string FixedKey(const Variant& rowId);
std::string GeneratedKey(const Variant& recordKey, int nodeCount);

}  // namespace kivdb
