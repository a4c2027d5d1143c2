#pragma once
// A navigation scheme with every fault a hand-edited XST1 can have: a very deep chain of nodes
// below the root, two nodes that are each other's parent, a node that is its own parent and a
// second root; with a paragraph on the deepest node and one on each broken node.

#include <string>
#include <vector>

#include "tests/control/core/scheme_fixture.h"

namespace kivdb::testing {

struct SchemeNode {
  long id;
  std::string description;
  std::string type;
  long parent;
};

// The IDs of the broken nodes, above every chain ID.
inline constexpr long kCycleA = 900001, kCycleB = 900002, kOwnParent = 900003, kSecondRoot = 900004,
                      kBelowSecondRoot = 900005;
inline constexpr long kBrokenNodes = 5;

// The root (ID 1), the chain 2 .. depth + 1 (each the parent of the next, the last one of type
// N), then the broken nodes.
std::vector<SchemeNode> BrokenScheme(long depth);

// The scheme as the wizard's text file (XST1.txt) and paragraphs (XST2.txt): one on the deepest
// node and one on each broken node.
std::string NavFileText(const std::vector<SchemeNode>& nodes);
std::string WebFileText(long deepest);

}  // namespace kivdb::testing
