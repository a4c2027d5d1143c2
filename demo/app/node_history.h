#pragma once
// NodeHistory: the Back and Forward lists of the nodes a user opened. A node is remembered by its
// trail (the steps from the top of the tree down to it), not by its object, because the control
// removes and regenerates nodes as the user moves around; OpenTrail finds the node again, opening
// the ancestors whose children are gone on the way.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <kivdb/tree_view.h>

namespace kivdb::demo {

// One node on the way down: its caption, its Tag (scheme ID and type) and the record key held in
// the first ten characters of its Key (generated keys end in a node count that changes when the
// node is made again, so the count is left out).
struct NodeStep {
  std::string text;
  std::string tag;
  std::string recordKey;
  bool operator==(const NodeStep&) const = default;
};
using NodeTrail = std::vector<NodeStep>;

// The trail of `node`, found by walking the tree from its top-level nodes (a TreeNode knows no
// parent). Empty when the node is not in `tree`.
NodeTrail TrailOf(TreeView& tree, const TreeNode& node);

// Finds the node of `trail`, clicking each ancestor on the way whose children are missing so that
// the control adds them again. Returns null when a step no longer exists (the record is gone).
// `click` selects a node and raises its NodeClick, as the user's click does.
TreeNode* OpenTrail(TreeView& tree, const NodeTrail& trail,
                    const std::function<void(TreeNode&)>& click);

// Finds the node whose captions from the top are `path` joined by `separator`, opening the
// nodes on the way as OpenTrail does. Null when a caption is not there.
TreeNode* OpenPath(TreeView& tree, const std::string& path, const std::string& separator,
                   const std::function<void(TreeNode&)>& click);

class NodeHistory {
 public:
  // A node was opened by the user: it becomes the current entry and the Forward list is dropped.
  // Opening the current node again changes nothing.
  void Visit(NodeTrail trail);
  bool CanGoBack() const;
  bool CanGoForward() const;
  // Moves the current entry one step and returns it (nothing at either end).
  std::optional<NodeTrail> Back();
  std::optional<NodeTrail> Forward();
  // Drops every entry (another database).
  void Clear();
  size_t Size() const { return entries_.size(); }

 private:
  std::vector<NodeTrail> entries_;
  size_t current_ = 0;  // index of the current entry when entries_ is not empty
};

}  // namespace kivdb::demo
