#include "demo/app/node_history.h"

#include <utility>

namespace kivdb::demo {
namespace {

NodeStep StepOf(const TreeNode& node) {
  return {node.Text(), node.Tag(), node.Key().substr(0, 10)};
}

bool Matches(const TreeNode& node, const NodeStep& step) {
  return node.Tag() == step.tag && node.Text() == step.text &&
         node.Key().substr(0, 10) == step.recordKey;
}

// Depth-first search among `first` and its siblings for `target`, filling `trail` on the way.
bool FindPath(TreeNode* first, const TreeNode& target, NodeTrail& trail) {
  for (TreeNode* node = first; node; node = node->Next()) {
    trail.push_back(StepOf(*node));
    if (node == &target || FindPath(node->Child(), target, trail)) return true;
    trail.pop_back();
  }
  return false;
}

TreeNode* FindSibling(TreeNode* first, const NodeStep& step) {
  for (TreeNode* node = first; node; node = node->Next()) {
    if (Matches(*node, step)) return node;
  }
  return nullptr;
}

}  // namespace

NodeTrail TrailOf(TreeView& tree, const TreeNode& node) {
  NodeTrail trail;
  if (tree.Count() == 0) return trail;
  FindPath(tree.Item(1).FirstSibling(), node, trail);
  return trail;
}

TreeNode* OpenTrail(TreeView& tree, const NodeTrail& trail,
                    const std::function<void(TreeNode&)>& click) {
  if (trail.empty() || tree.Count() == 0) return nullptr;
  TreeNode* node = FindSibling(tree.Item(1).FirstSibling(), trail.front());
  for (size_t i = 1; node && i < trail.size(); ++i) {
    TreeNode* child = FindSibling(node->Child(), trail[i]);
    if (!child && node->Children() == 0) {
      // The control pruned this branch when another one was opened: open it again.
      click(*node);
      child = FindSibling(node->Child(), trail[i]);
    }
    node = child;
  }
  return node;
}

TreeNode* OpenPath(TreeView& tree, const std::string& path, const std::string& separator,
                   const std::function<void(TreeNode&)>& click) {
  if (tree.Count() == 0 || separator.empty()) return nullptr;
  std::vector<std::string> captions;
  for (size_t start = 0;;) {
    const size_t end = path.find(separator, start);
    captions.push_back(path.substr(start, end - start));
    if (end == std::string::npos) break;
    start = end + separator.size();
  }
  auto byText = [](TreeNode* first, const std::string& text) -> TreeNode* {
    for (TreeNode* node = first; node; node = node->Next()) {
      if (node->Text() == text) return node;
    }
    return nullptr;
  };
  TreeNode* node = byText(tree.Item(1).FirstSibling(), captions.front());
  for (size_t i = 1; node && i < captions.size(); ++i) {
    if (node->Children() == 0) click(*node);
    node = byText(node->Child(), captions[i]);
  }
  return node;
}

void NodeHistory::Visit(NodeTrail trail) {
  if (trail.empty()) return;
  if (!entries_.empty() && entries_[current_] == trail) return;
  if (!entries_.empty()) entries_.resize(current_ + 1);
  entries_.push_back(std::move(trail));
  current_ = entries_.size() - 1;
}

bool NodeHistory::CanGoBack() const {
  return !entries_.empty() && current_ > 0;
}

bool NodeHistory::CanGoForward() const {
  return !entries_.empty() && current_ + 1 < entries_.size();
}

std::optional<NodeTrail> NodeHistory::Back() {
  if (!CanGoBack()) return std::nullopt;
  return entries_[--current_];
}

std::optional<NodeTrail> NodeHistory::Forward() {
  if (!CanGoForward()) return std::nullopt;
  return entries_[++current_];
}

void NodeHistory::Clear() {
  entries_.clear();
  current_ = 0;
}

}  // namespace kivdb::demo
