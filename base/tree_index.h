#pragma once
// TreeIndex: the structure both tree views keep behind the TreeView contract: the sibling links,
// 1-based indexes in order of addition that close up after removals, unique keys, removal with
// descendants and the case-insensitive ordering of a Sorted top level, with the contract's
// failures (35601 element not found, 35602 key not unique). It knows nothing of captions beyond
// the node's Text() nor of any widget: a view owns what a node shows and mirrors into its widget
// what the index reports (the top-level nodes that moved, the nodes a removal takes).
//
// Header-only, on the ground floor, so that the widget adapters outside the control's library
// build it from source.
//
// A view's node derives from IndexedNode<Node> (which answers the contract's links, key, tag,
// index and path) and the view holds one TreeIndex<Node> over a hidden top node of its own, the
// parent of the top-level nodes. The index owns the nodes; a node stays valid until removed or
// cleared.

#include <algorithm>
#include <cctype>
#include <memory>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include <kivdb/error.h>
#include <kivdb/tree_view.h>
#include "base/live_slots.h"

namespace kivdb {

template <class Node>
class TreeIndex;

namespace tree_index {

// Caption order of a Sorted top level: byte order with ASCII letters folded to small letters.
inline bool LessNoCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) <
           std::tolower(static_cast<unsigned char>(y));
  });
}

[[noreturn]] inline void ThrowNotFound() {
  throw Error(err::kElementNotFound, "Element not found");
}

}  // namespace tree_index

// The part of a node the index keeps. The views read the links; only the index writes them.
template <class Node>
class IndexedNode : public TreeNode {
 public:
  std::string Key() const override { return key_; }
  std::string Tag() const override { return tag_; }
  void SetTag(const std::string& tag) override { tag_ = tag; }
  int Children() const override { return childCount_; }
  TreeNode* Child() const override { return firstChild_; }
  TreeNode* Next() const override { return next_; }
  TreeNode* FirstSibling() const override { return parent_->firstChild_; }
  TreeNode* LastSibling() const override { return parent_->lastChild_; }
  int Index() const override { return index_->live_.Prefix(slot_); }
  std::string FullPath() const override;

  // The parent node, or null for a top-level node (and the hidden top node).
  Node* Parent() const { return parent_ && parent_->slot_ != 0 ? parent_ : nullptr; }
  Node* FirstChild() const { return firstChild_; }
  Node* LastChild() const { return lastChild_; }
  Node* Previous() const { return prev_; }
  Node* NextSibling() const { return next_; }

 private:
  friend class TreeIndex<Node>;

  const TreeIndex<Node>* index_ = nullptr;
  Node* parent_ = nullptr;  // the hidden top node for top-level nodes
  Node* firstChild_ = nullptr;
  Node* lastChild_ = nullptr;
  Node* prev_ = nullptr;
  Node* next_ = nullptr;
  int childCount_ = 0;
  size_t slot_ = 0;  // 0 for the hidden top node
  std::string key_, tag_;
};

template <class Node>
class TreeIndex {
 public:
  explicit TreeIndex(Node& top) : top_(top) {}
  TreeIndex(const TreeIndex&) = delete;
  TreeIndex& operator=(const TreeIndex&) = delete;

  int Count() const { return live_.Prefix(live_.Size()); }
  Node& Top() const { return top_; }
  bool Sorted() const { return sorted_; }
  const std::string& Separator() const { return separator_; }
  void SetSeparator(std::string separator) { separator_ = std::move(separator); }

  // The node at a 1-based index; 35601 outside 1..Count().
  Node& At(int index) const {
    if (index < 1 || index > Count()) tree_index::ThrowNotFound();
    return *slots_[live_.Find(index)];
  }

  // `relative` as a node of this index; 35601 for any other node (or the hidden top).
  Node& Member(TreeNode& relative) const {
    auto* node = dynamic_cast<Node*>(&relative);
    if (!node || node->index_ != this || node->slot_ == 0 || node->slot_ >= slots_.size() ||
        slots_[node->slot_].get() != node) {
      tree_index::ThrowNotFound();
    }
    return *node;
  }

  // 35602 when a node holds `key` already; an empty key is never taken.
  void CheckKeyFree(const std::string& key) const {
    if (!key.empty() && keys_.count(key)) {
      throw Error(err::kKeyNotUnique, "Key is not unique in collection");
    }
  }

  // Takes `node` in as the last child of `parent` (the hidden top node for a top-level node),
  // under `key`, which the caller has checked with CheckKeyFree.
  Node& Append(std::unique_ptr<Node> node, Node& parent, std::string key) {
    if (slots_.size() > 64 && static_cast<size_t>(Count()) * 2 < slots_.size()) Compact();
    Node& added = *node;
    added.index_ = this;
    added.slot_ = live_.Append(1);
    added.key_ = std::move(key);
    if (!added.key_.empty()) keys_.insert(added.key_);
    slots_.push_back(std::move(node));
    Link(added, parent, nullptr);
    return added;
  }

  // Moves a top-level node to its place by caption when the top level is sorted (after a node
  // whose caption is equal); true when it moved.
  bool Place(Node& node) {
    if (!sorted_ || node.parent_ != &top_) return false;
    const std::string text = node.Text();
    Node* before = top_.firstChild_;
    while (before && (before == &node || !tree_index::LessNoCase(text, before->Text()))) {
      before = before->next_;
    }
    if (before == node.next_) return false;
    Unlink(node);
    Link(node, top_, before);
    return true;
  }

  // Turning sorting on orders the top level by caption, keeping the order of equal ones; returns
  // the top-level nodes in their new order (none when sorting is turned off).
  std::vector<Node*> SetSorted(bool sorted) {
    sorted_ = sorted;
    std::vector<Node*> nodes;
    if (!sorted) return nodes;
    // Each caption read once: a view may have to convert it from its widget's text.
    std::vector<std::pair<std::string, Node*>> captioned;
    for (Node* n = top_.firstChild_; n; n = n->next_) captioned.emplace_back(n->Text(), n);
    std::stable_sort(captioned.begin(), captioned.end(), [](const auto& a, const auto& b) {
      return tree_index::LessNoCase(a.first, b.first);
    });
    for (auto& [caption, n] : captioned) {
      Unlink(*n);
      nodes.push_back(n);
    }
    for (Node* n : nodes) Link(*n, top_, nullptr);
    return nodes;
  }

  // Takes `node` and its descendants out: their indexes close up and their keys are free again.
  // Returns them, `node` first and every parent before its children, so the view can let go of
  // what they show before they are destroyed.
  std::vector<std::unique_ptr<Node>> Remove(Node& node) {
    std::vector<Node*> doomed{&node};
    for (size_t i = 0; i < doomed.size(); ++i) {
      for (Node* c = doomed[i]->firstChild_; c; c = c->next_) doomed.push_back(c);
    }
    Unlink(node);
    std::vector<std::unique_ptr<Node>> taken;
    taken.reserve(doomed.size());
    for (Node* n : doomed) {
      if (!n->key_.empty()) keys_.erase(n->key_);
      live_.Add(n->slot_, -1);
      taken.push_back(std::move(slots_[n->slot_]));
    }
    return taken;
  }

  // Destroys every node.
  void Clear() {
    top_.firstChild_ = top_.lastChild_ = nullptr;
    top_.childCount_ = 0;
    keys_.clear();
    slots_.clear();
    slots_.resize(1);
    live_.Clear();
  }

 private:
  friend class IndexedNode<Node>;

  // Links `node` as a child of `parent`, before `before` (at the end when null).
  static void Link(Node& node, Node& parent, Node* before) {
    node.parent_ = &parent;
    node.next_ = before;
    node.prev_ = before ? before->prev_ : parent.lastChild_;
    (node.prev_ ? node.prev_->next_ : parent.firstChild_) = &node;
    (before ? before->prev_ : parent.lastChild_) = &node;
    ++parent.childCount_;
  }
  static void Unlink(Node& node) {
    Node& parent = *node.parent_;
    (node.prev_ ? node.prev_->next_ : parent.firstChild_) = node.next_;
    (node.next_ ? node.next_->prev_ : parent.lastChild_) = node.prev_;
    --parent.childCount_;
    node.prev_ = node.next_ = nullptr;
  }

  // Renumbers the live nodes once most slots belong to removed nodes, keeping their order.
  void Compact() {
    std::vector<std::unique_ptr<Node>> kept(1);
    live_.Clear();
    for (auto& node : slots_) {
      if (!node) continue;
      node->slot_ = live_.Append(1);
      kept.push_back(std::move(node));
    }
    slots_ = std::move(kept);
  }

  Node& top_;
  std::vector<std::unique_ptr<Node>> slots_ = std::vector<std::unique_ptr<Node>>(1);
  LiveSlots live_;
  std::unordered_set<std::string> keys_;
  std::string separator_ = "\\";
  bool sorted_ = false;
};

template <class Node>
std::string IndexedNode<Node>::FullPath() const {
  std::vector<const Node*> chain;
  for (const Node* n = static_cast<const Node*>(this); n->slot_ != 0; n = n->parent_) {
    chain.push_back(n);
  }
  std::string path;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    if (it != chain.rbegin()) path += index_->separator_;
    path += (*it)->Text();
  }
  return path;
}

}  // namespace kivdb
