#include "wizard/model/tree_walk.h"

namespace kivwz {

ChildIndex::ChildIndex(const clsNavSchemes::NodeList& nodes) {
  nodes_.reserve(nodes.Count());
  for (const auto& node : nodes) nodes_.push_back(node.get());
  next_.assign(nodes_.size(), kNone);
  first_.Reserve(nodes_.size());
  // Chained from the back, so that each chain runs in collection order.
  for (int i = Size() - 1; i >= 0; --i) {
    const Long parent = nodes_[static_cast<std::size_t>(i)]->parentIs;
    if (parent == 0) root_ = i;
    const std::int32_t head = first_.Find(parent);
    if (head != NumberIndex::kAbsent) next_[static_cast<std::size_t>(i)] = static_cast<int>(head);
    first_.Assign(parent, i);
  }
}

int ChildIndex::FirstChildOf(Long id) const {
  const std::int32_t first = first_.Find(id);
  return first == NumberIndex::kAbsent ? kNone : static_cast<int>(first);
}

std::vector<TreeStep> PreOrder(const ChildIndex& index) {
  std::vector<TreeStep> steps;
  if (index.Root() == ChildIndex::kNone) return steps;
  steps.reserve(static_cast<std::size_t>(index.Size()));
  std::vector<char> visited(static_cast<std::size_t>(index.Size()), 0);
  struct Frame {
    clsNavScheme* node;
    int nextChild;
  };
  clsNavScheme* root = &index.NodeAt(index.Root());
  steps.push_back({index.Root(), root, nullptr});
  visited[static_cast<std::size_t>(index.Root())] = 1;
  std::vector<Frame> stack{{root, index.FirstChildOf(root->ID())}};
  while (!stack.empty()) {
    Frame& top = stack.back();
    const int child = top.nextChild;
    if (child == ChildIndex::kNone) {
      stack.pop_back();
      continue;
    }
    top.nextChild = index.NextSibling(child);
    if (visited[static_cast<std::size_t>(child)]) continue;
    visited[static_cast<std::size_t>(child)] = 1;
    clsNavScheme* node = &index.NodeAt(child);
    steps.push_back({child, node, top.node});
    stack.push_back({node, index.FirstChildOf(node->ID())});
  }
  return steps;
}

}  // namespace kivwz
