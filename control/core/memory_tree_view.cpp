#include <kivdb/memory_tree_view.h>

#include <algorithm>
#include <cctype>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include <kivdb/error.h>
#include "control/core/live_slots.h"

namespace kivdb {
namespace {

bool LessNoCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) <
           std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

class MemoryTreeView::Node : public TreeNode {
 public:
  explicit Node(MemoryTreeView::Impl* owner) : owner_(owner) {}

  std::string Tag() const override { return tag_; }
  void SetTag(const std::string& tag) override { tag_ = tag; }
  std::string Key() const override { return key_; }
  std::string Text() const override { return text_; }
  void SetText(const std::string& text) override;
  std::string Image() const override { return image_; }
  void SetImage(const std::string& image) override;
  Color ForeColor() const override { return color_; }
  void SetForeColor(Color color) override { color_ = color; }
  bool Expanded() const override { return expanded_; }
  void SetExpanded(bool expanded) override { expanded_ = expanded; }
  bool Selected() const override;
  void SetSelected(bool selected) override;
  void EnsureVisible() override;
  int Children() const override { return childCount_; }
  TreeNode* Child() const override { return firstChild_; }
  TreeNode* Next() const override { return next_; }
  TreeNode* FirstSibling() const override { return parent_->firstChild_; }
  TreeNode* LastSibling() const override { return parent_->lastChild_; }
  int Index() const override;
  std::string FullPath() const override;

  MemoryTreeView::Impl* owner_;
  Node* parent_ = nullptr;  // the hidden top node for top-level nodes
  Node* firstChild_ = nullptr;
  Node* lastChild_ = nullptr;
  Node* prev_ = nullptr;
  Node* next_ = nullptr;
  int childCount_ = 0;
  size_t slot_ = 0;
  std::string tag_, key_, text_, image_;
  Color color_ = 0;
  bool expanded_ = false;

  // Links this node as a child of `parent`, before `before` (at the end when null).
  void LinkInto(Node* parent, Node* before) {
    parent_ = parent;
    next_ = before;
    prev_ = before ? before->prev_ : parent->lastChild_;
    (prev_ ? prev_->next_ : parent->firstChild_) = this;
    (before ? before->prev_ : parent->lastChild_) = this;
    ++parent->childCount_;
  }
  void Unlink() {
    (prev_ ? prev_->next_ : parent_->firstChild_) = next_;
    (next_ ? next_->prev_ : parent_->lastChild_) = prev_;
    --parent_->childCount_;
    prev_ = next_ = nullptr;
  }
};

struct MemoryTreeView::Impl {
  Node top{this};  // parent of the top-level nodes; not a node of the tree itself
  std::vector<std::unique_ptr<Node>> slots = std::vector<std::unique_ptr<Node>>(1);
  LiveSlots live;
  std::unordered_map<std::string, Node*> keys;
  std::unordered_set<std::string> imageList;
  Node* selected = nullptr;
  Node* madeVisible = nullptr;
  bool sorted = false;
  LabelEditMode labelEdit = LabelEditMode::Automatic;
  std::string separator = "\\";
  NodeClickHandler clickHandler;
  std::function<void()> processEventsHook;
  int processEventsCount = 0;

  int Count() const { return live.Prefix(live.Size()); }

  void CheckImage(const std::string& image) const {
    if (!image.empty() && !imageList.empty() && !imageList.count(image)) {
      throw Error(err::kElementNotFound, "Element not found");
    }
  }

  Node& NewNode() {
    if (slots.size() > 64 && static_cast<size_t>(Count()) * 2 < slots.size()) Compact();
    slots.push_back(std::make_unique<Node>(this));
    Node& node = *slots.back();
    node.slot_ = live.Append(1);
    return node;
  }

  // Renumbers the live nodes once most slots belong to removed nodes, keeping their order.
  void Compact() {
    std::vector<std::unique_ptr<Node>> kept(1);
    live.Clear();
    for (auto& node : slots) {
      if (!node) continue;
      node->slot_ = live.Append(1);
      kept.push_back(std::move(node));
    }
    slots = std::move(kept);
  }

  // Places a top-level node among its siblings by caption when the tree is sorted.
  void PlaceTopLevel(Node& node) {
    if (!sorted || node.parent_ != &top) return;
    node.Unlink();
    Node* before = top.firstChild_;
    while (before && !LessNoCase(node.text_, before->text_)) before = before->next_;
    node.LinkInto(&top, before);
  }

  Node& At(int index) {
    if (index < 1 || index > Count()) throw Error(err::kElementNotFound, "Element not found");
    return *slots[live.Find(index)];
  }

  void RemoveSubtree(Node& node) {
    std::vector<Node*> doomed{&node};
    for (size_t i = 0; i < doomed.size(); ++i) {
      for (Node* c = doomed[i]->firstChild_; c; c = c->next_) doomed.push_back(c);
    }
    node.Unlink();
    for (Node* n : doomed) {
      if (!n->key_.empty()) keys.erase(n->key_);
      if (selected == n) selected = nullptr;
      if (madeVisible == n) madeVisible = nullptr;
      live.Add(n->slot_, -1);
    }
    for (Node* n : doomed) slots[n->slot_].reset();
  }
};

void MemoryTreeView::Node::SetText(const std::string& text) {
  text_ = text;
  owner_->PlaceTopLevel(*this);
}

void MemoryTreeView::Node::SetImage(const std::string& image) {
  owner_->CheckImage(image);
  image_ = image;
}

bool MemoryTreeView::Node::Selected() const {
  return owner_->selected == this;
}

void MemoryTreeView::Node::SetSelected(bool selected) {
  if (selected) {
    owner_->selected = this;
  } else if (owner_->selected == this) {
    owner_->selected = nullptr;
  }
}

void MemoryTreeView::Node::EnsureVisible() {
  for (Node* p = parent_; p != &owner_->top; p = p->parent_) p->expanded_ = true;
  owner_->madeVisible = this;
}

int MemoryTreeView::Node::Index() const {
  return owner_->live.Prefix(slot_);
}

std::string MemoryTreeView::Node::FullPath() const {
  std::vector<const Node*> chain;
  for (const Node* n = this; n != &owner_->top; n = n->parent_) chain.push_back(n);
  std::string path;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    if (it != chain.rbegin()) path += owner_->separator;
    path += (*it)->text_;
  }
  return path;
}

MemoryTreeView::MemoryTreeView() : impl_(std::make_unique<Impl>()) {}
MemoryTreeView::~MemoryTreeView() = default;

void MemoryTreeView::Clear() {
  impl_->top.firstChild_ = impl_->top.lastChild_ = nullptr;
  impl_->top.childCount_ = 0;
  impl_->keys.clear();
  impl_->selected = nullptr;
  impl_->madeVisible = nullptr;
  impl_->slots.clear();
  impl_->slots.resize(1);
  impl_->live.Clear();
}

int MemoryTreeView::Count() const {
  return impl_->Count();
}

TreeNode& MemoryTreeView::Add() {
  Node& node = impl_->NewNode();
  node.LinkInto(&impl_->top, nullptr);
  impl_->PlaceTopLevel(node);
  return node;
}

TreeNode& MemoryTreeView::AddChild(TreeNode& relative, const std::string& key,
                                   const std::string& text, const std::string& image) {
  auto* parent = dynamic_cast<Node*>(&relative);
  if (!parent || parent->owner_ != impl_.get() || !impl_->slots[parent->slot_]) {
    throw Error(err::kElementNotFound, "Element not found");
  }
  if (!key.empty() && impl_->keys.count(key)) {
    throw Error(err::kKeyNotUnique, "Key is not unique in collection");
  }
  impl_->CheckImage(image);
  Node& node = impl_->NewNode();
  node.key_ = key;
  node.text_ = text;
  node.image_ = image;
  node.LinkInto(parent, nullptr);
  if (!key.empty()) impl_->keys.emplace(key, &node);
  return node;
}

TreeNode& MemoryTreeView::Item(int index) {
  return impl_->At(index);
}

void MemoryTreeView::Remove(int index) {
  impl_->RemoveSubtree(impl_->At(index));
}

TreeNode* MemoryTreeView::SelectedItem() const {
  return impl_->selected;
}

void MemoryTreeView::SetSorted(bool sorted) {
  impl_->sorted = sorted;
  if (!sorted) return;
  std::vector<Node*> nodes;
  for (Node* n = impl_->top.firstChild_; n; n = n->next_) nodes.push_back(n);
  std::stable_sort(nodes.begin(), nodes.end(),
                   [](const Node* a, const Node* b) { return LessNoCase(a->text_, b->text_); });
  for (Node* n : nodes) n->Unlink();
  for (Node* n : nodes) n->LinkInto(&impl_->top, nullptr);
}

void MemoryTreeView::SetLabelEdit(LabelEditMode mode) {
  impl_->labelEdit = mode;
}

std::string MemoryTreeView::PathSeparator() const {
  return impl_->separator;
}

void MemoryTreeView::ProcessEvents() {
  ++impl_->processEventsCount;
  if (impl_->processEventsHook) impl_->processEventsHook();
}

void MemoryTreeView::SetNodeClickHandler(NodeClickHandler handler) {
  impl_->clickHandler = std::move(handler);
}

void MemoryTreeView::Click(TreeNode& node) {
  node.SetSelected(true);
  // A copy, so a handler that unbinds itself does not pull the function from under its own call.
  NodeClickHandler handler = impl_->clickHandler;
  if (handler) handler(node);
}

TreeNode* MemoryTreeView::FindByPath(std::string_view path) const {
  // Descends only into nodes whose path is a prefix of the one sought, so a lookup costs about
  // one level's siblings per level rather than the whole tree.
  std::vector<Node*> pending;
  for (Node* n = impl_->top.lastChild_; n; n = n->prev_) pending.push_back(n);
  while (!pending.empty()) {
    Node* node = pending.back();
    pending.pop_back();
    const std::string own = node->FullPath();
    if (own == path) return node;
    const std::string prefix = own + impl_->separator;
    if (path.substr(0, prefix.size()) != prefix) continue;
    for (Node* c = node->lastChild_; c; c = c->prev_) pending.push_back(c);
  }
  return nullptr;
}

void MemoryTreeView::Walk(const std::function<void(TreeNode&, int)>& visit) const {
  std::vector<std::pair<Node*, int>> pending;
  for (Node* n = impl_->top.lastChild_; n; n = n->prev_) pending.emplace_back(n, 0);
  while (!pending.empty()) {
    auto [node, depth] = pending.back();
    pending.pop_back();
    visit(*node, depth);
    for (Node* c = node->lastChild_; c; c = c->prev_) pending.emplace_back(c, depth + 1);
  }
}

void MemoryTreeView::SetImageList(std::vector<std::string> keys) {
  impl_->imageList = std::unordered_set<std::string>(keys.begin(), keys.end());
}

void MemoryTreeView::SetPathSeparator(std::string separator) {
  impl_->separator = std::move(separator);
}

void MemoryTreeView::SetProcessEventsHook(std::function<void()> hook) {
  impl_->processEventsHook = std::move(hook);
}

bool MemoryTreeView::Sorted() const {
  return impl_->sorted;
}
LabelEditMode MemoryTreeView::LabelEdit() const {
  return impl_->labelEdit;
}
int MemoryTreeView::ProcessEventsCount() const {
  return impl_->processEventsCount;
}
TreeNode* MemoryTreeView::LastMadeVisible() const {
  return impl_->madeVisible;
}

}  // namespace kivdb
