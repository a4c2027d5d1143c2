#include <kivdb/memory_tree_view.h>

#include <unordered_set>
#include <utility>

#include "base/tree_index.h"

namespace kivdb {

class MemoryTreeView::Node : public IndexedNode<MemoryTreeView::Node> {
 public:
  explicit Node(MemoryTreeView::Impl* owner) : owner_(owner) {}

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

  MemoryTreeView::Impl* owner_;
  std::string text_, image_;
  Color color_ = 0;
  bool expanded_ = false;
};

struct MemoryTreeView::Impl {
  Node top{this};  // parent of the top-level nodes; not a node of the tree itself
  TreeIndex<Node> index{top};
  std::unordered_set<std::string> imageList;
  Node* selected = nullptr;
  Node* madeVisible = nullptr;
  LabelEditMode labelEdit = LabelEditMode::Automatic;
  NodeClickHandler clickHandler;
  std::function<void()> processEventsHook;
  int processEventsCount = 0;

  void CheckImage(const std::string& image) const {
    if (!image.empty() && !imageList.empty() && !imageList.count(image)) {
      tree_index::ThrowNotFound();
    }
  }
};

void MemoryTreeView::Node::SetText(const std::string& text) {
  text_ = text;
  owner_->index.Place(*this);
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
  for (Node* p = Parent(); p; p = p->Parent()) p->expanded_ = true;
  owner_->madeVisible = this;
}

MemoryTreeView::MemoryTreeView() : impl_(std::make_unique<Impl>()) {}
MemoryTreeView::~MemoryTreeView() = default;

void MemoryTreeView::Clear() {
  impl_->selected = nullptr;
  impl_->madeVisible = nullptr;
  impl_->index.Clear();
}

int MemoryTreeView::Count() const {
  return impl_->index.Count();
}

TreeNode& MemoryTreeView::Add() {
  Node& node = impl_->index.Append(std::make_unique<Node>(impl_.get()), impl_->top, "");
  impl_->index.Place(node);
  return node;
}

TreeNode& MemoryTreeView::AddChild(TreeNode& relative, const std::string& key,
                                   const std::string& text, const std::string& image) {
  Node& parent = impl_->index.Member(relative);
  impl_->index.CheckKeyFree(key);
  impl_->CheckImage(image);
  auto node = std::make_unique<Node>(impl_.get());
  node->text_ = text;
  node->image_ = image;
  return impl_->index.Append(std::move(node), parent, key);
}

TreeNode& MemoryTreeView::Item(int index) {
  return impl_->index.At(index);
}

void MemoryTreeView::Remove(int index) {
  for (const auto& n : impl_->index.Remove(impl_->index.At(index))) {
    if (impl_->selected == n.get()) impl_->selected = nullptr;
    if (impl_->madeVisible == n.get()) impl_->madeVisible = nullptr;
  }
}

TreeNode* MemoryTreeView::SelectedItem() const {
  return impl_->selected;
}

void MemoryTreeView::SetSorted(bool sorted) {
  impl_->index.SetSorted(sorted);
}

void MemoryTreeView::SetLabelEdit(LabelEditMode mode) {
  impl_->labelEdit = mode;
}

std::string MemoryTreeView::PathSeparator() const {
  return impl_->index.Separator();
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
  const std::string& separator = impl_->index.Separator();
  std::vector<Node*> pending;
  for (Node* n = impl_->top.LastChild(); n; n = n->Previous()) pending.push_back(n);
  while (!pending.empty()) {
    Node* node = pending.back();
    pending.pop_back();
    const std::string own = node->FullPath();
    if (own == path) return node;
    const std::string prefix = own + separator;
    if (path.substr(0, prefix.size()) != prefix) continue;
    for (Node* c = node->LastChild(); c; c = c->Previous()) pending.push_back(c);
  }
  return nullptr;
}

void MemoryTreeView::Walk(const std::function<void(TreeNode&, int)>& visit) const {
  std::vector<std::pair<Node*, int>> pending;
  for (Node* n = impl_->top.LastChild(); n; n = n->Previous()) pending.emplace_back(n, 0);
  while (!pending.empty()) {
    auto [node, depth] = pending.back();
    pending.pop_back();
    visit(*node, depth);
    for (Node* c = node->LastChild(); c; c = c->Previous()) pending.emplace_back(c, depth + 1);
  }
}

void MemoryTreeView::SetImageList(std::vector<std::string> keys) {
  impl_->imageList = std::unordered_set<std::string>(keys.begin(), keys.end());
}

void MemoryTreeView::SetPathSeparator(std::string separator) {
  impl_->index.SetSeparator(std::move(separator));
}

void MemoryTreeView::SetProcessEventsHook(std::function<void()> hook) {
  impl_->processEventsHook = std::move(hook);
}

bool MemoryTreeView::Sorted() const {
  return impl_->index.Sorted();
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
