#pragma once
// The navigation tree as the parent references define it, walked without a scan of the whole
// collection per node: the nodes numbered by their position in the collection (their ordinal),
// each parent's children chained in collection order, and an iterative depth-first walk that
// visits every node at most once, so cycles and very deep chains are safe.

#include <vector>

#include "wizard/model/nav_scheme.h"
#include "wizard/model/nav_schemes.h"
#include "wizard/model/number_index.h"

namespace kivwz {

class ChildIndex {
 public:
  static constexpr int kNone = -1;

  explicit ChildIndex(const clsNavSchemes::NodeList& nodes);

  int Size() const { return static_cast<int>(nodes_.size()); }
  clsNavScheme& NodeAt(int ordinal) const { return *nodes_[static_cast<std::size_t>(ordinal)]; }
  // The first node in collection order whose parentIs is 0, or kNone.
  int Root() const { return root_; }
  // The first node whose parentIs is id, or kNone; then the next one after a given child.
  int FirstChildOf(Long id) const;
  int NextSibling(int ordinal) const { return next_[static_cast<std::size_t>(ordinal)]; }

 private:
  std::vector<clsNavScheme*> nodes_;
  std::vector<int> next_;
  NumberIndex first_;  // parent ID -> first child
  int root_ = kNone;
};

struct TreeStep {
  int ordinal;
  clsNavScheme* node;
  clsNavScheme* parent;  // nullptr for the root
};

// The root, then each node below it before its next sibling, siblings in collection order. A node
// reached a second time (the root numbered 0 is its own child) is not visited again. Empty when
// the scheme has no root.
std::vector<TreeStep> PreOrder(const ChildIndex& index);

}  // namespace kivwz
