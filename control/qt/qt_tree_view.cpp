#include <kivdb/qt/qt_tree_view.h>

#include <QCoreApplication>
#include <QEvent>
#include <QHeaderView>
#include <QPointer>
#include <QTreeWidget>
#include <algorithm>
#include <cctype>
#include <unordered_map>
#include <utility>
#include <vector>

#include <kivdb/error.h>
#include "control/core/live_slots.h"

namespace kivdb::qt {
namespace {

bool LessNoCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) <
           std::tolower(static_cast<unsigned char>(y));
  });
}

QString ToQ(const std::string& text) {
  return QString::fromStdString(text);
}

// Tells a change of the current item made by a key from one made by the mouse or by code: a key
// press arms it, mouse input disarms it, and the first change of the current item after the
// press takes the arming (so one key raises NodeClick at most once).
class KeyWatch : public QObject {
 public:
  using QObject::QObject;
  bool armed = false;

  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::KeyPress:
        armed = true;
        break;
      case QEvent::KeyRelease:
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::FocusOut:
        armed = false;
        break;
      default:
        break;
    }
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

class QtTreeView::Node : public TreeNode {
 public:
  Node(QtTreeView::Impl* owner, QTreeWidgetItem* item) : owner_(owner), item_(item) {}

  std::string Tag() const override { return tag_; }
  void SetTag(const std::string& tag) override { tag_ = tag; }
  std::string Key() const override { return key_; }
  std::string Text() const override { return item_->text(0).toStdString(); }
  void SetText(const std::string& text) override;
  std::string Image() const override { return image_; }
  void SetImage(const std::string& image) override;
  Color ForeColor() const override { return color_; }
  void SetForeColor(Color color) override {
    color_ = color;
    item_->setForeground(0, QColor::fromRgb(static_cast<QRgb>(color)));
  }
  bool Expanded() const override { return item_->isExpanded(); }
  void SetExpanded(bool expanded) override { item_->setExpanded(expanded); }
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

  QtTreeView::Impl* owner_;
  QTreeWidgetItem* item_;  // null for the hidden top node
  // Sibling links kept beside the widget's items, so walking children costs one step each.
  Node* parent_ = nullptr;
  Node* firstChild_ = nullptr;
  Node* lastChild_ = nullptr;
  Node* prev_ = nullptr;
  Node* next_ = nullptr;
  int childCount_ = 0;
  size_t slot_ = 0;
  std::string tag_, key_, image_;
  Color color_ = 0;

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

struct QtTreeView::Impl {
  explicit Impl(QTreeWidget& w) : widget(&w) {}

  QPointer<QTreeWidget> widget;
  Node top{this, nullptr};
  std::vector<std::unique_ptr<Node>> byIndex = std::vector<std::unique_ptr<Node>>(1);
  LiveSlots live;
  std::unordered_map<std::string, Node*> keys;
  std::unordered_map<const QTreeWidgetItem*, Node*> byItem;
  ImageList images;
  std::string separator = "\\";
  bool sorted = false;
  NodeClickHandler clickHandler;
  KeyWatch* keyWatch = nullptr;
  std::vector<QMetaObject::Connection> connections;
  // Set while the adapter itself moves the current item, so that raises nothing.
  int quiet = 0;

  int Count() const { return live.Prefix(live.Size()); }

  void CheckImage(const std::string& image) const {
    if (!image.empty() && !images.Contains(image)) {
      throw Error(err::kElementNotFound, "Element not found");
    }
  }

  Node& NewNode(QTreeWidgetItem* item) {
    if (byIndex.size() > 64 && static_cast<size_t>(Count()) * 2 < byIndex.size()) Compact();
    byIndex.push_back(std::make_unique<Node>(this, item));
    Node& node = *byIndex.back();
    node.slot_ = live.Append(1);
    byItem.emplace(item, &node);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    return node;
  }

  // Renumbers the live nodes once most byIndex belong to removed nodes, keeping their order.
  void Compact() {
    std::vector<std::unique_ptr<Node>> kept(1);
    live.Clear();
    for (auto& node : byIndex) {
      if (!node) continue;
      node->slot_ = live.Append(1);
      kept.push_back(std::move(node));
    }
    byIndex = std::move(kept);
  }

  Node& At(int index) {
    if (index < 1 || index > Count()) throw Error(err::kElementNotFound, "Element not found");
    return *byIndex[live.Find(index)];
  }

  // Places a top-level node among its siblings by caption when the tree is sorted.
  void PlaceTopLevel(Node& node) {
    if (!sorted || node.parent_ != &top) return;
    Node* before = top.firstChild_;
    while (before && (before == &node || !LessNoCase(node.Text(), before->Text()))) {
      before = before->next_;
    }
    if (before == node.next_) return;  // already in place
    node.Unlink();
    node.LinkInto(&top, before);
    MoveTopLevelItems({&node});
  }

  // Re-inserts the items of top-level `nodes` at the places their links now give, keeping the
  // expanded state of their subtrees and the current item (taking an item out forgets both).
  void MoveTopLevelItems(const std::vector<Node*>& nodes) {
    ++quiet;
    QTreeWidgetItem* current = widget->currentItem();
    std::vector<QTreeWidgetItem*> expanded;
    for (Node* n : nodes) {
      std::vector<Node*> pending{n};
      while (!pending.empty()) {
        Node* x = pending.back();
        pending.pop_back();
        if (x->item_->isExpanded()) expanded.push_back(x->item_);
        for (Node* c = x->firstChild_; c; c = c->next_) pending.push_back(c);
      }
      widget->takeTopLevelItem(widget->indexOfTopLevelItem(n->item_));
    }
    // Insert in link order, so each item's successor is already placed or absent.
    std::vector<Node*> ordered = nodes;
    std::unordered_map<const Node*, int> position;
    int i = 0;
    for (Node* n = top.firstChild_; n; n = n->next_) position[n] = i++;
    std::sort(ordered.begin(), ordered.end(),
              [&](Node* a, Node* b) { return position[a] > position[b]; });
    for (Node* n : ordered) {
      const int at =
          n->next_ ? widget->indexOfTopLevelItem(n->next_->item_) : widget->topLevelItemCount();
      widget->insertTopLevelItem(at, n->item_);
    }
    for (QTreeWidgetItem* item : expanded) item->setExpanded(true);
    if (current) widget->setCurrentItem(current);
    --quiet;
  }

  void RemoveSubtree(Node& node) {
    std::vector<Node*> doomed{&node};
    for (size_t i = 0; i < doomed.size(); ++i) {
      for (Node* c = doomed[i]->firstChild_; c; c = c->next_) doomed.push_back(c);
    }
    node.Unlink();
    for (Node* n : doomed) {
      if (!n->key_.empty()) keys.erase(n->key_);
      byItem.erase(n->item_);
      live.Add(n->slot_, -1);
    }
    ++quiet;
    const bool hadCurrent = std::any_of(doomed.begin(), doomed.end(), [this](const Node* n) {
      return n->item_ == widget->currentItem();
    });
    delete node.item_;  // takes the child items with it
    // The widget would make a neighbour current; the contract has no selected node then.
    if (hadCurrent) {
      widget->setCurrentItem(nullptr);
      widget->clearSelection();
    }
    --quiet;
    for (Node* n : doomed) byIndex[n->slot_].reset();
  }

  void RaiseClick(QTreeWidgetItem* item) {
    const auto found = byItem.find(item);
    if (found == byItem.end()) return;
    // A copy, so a handler that unbinds itself does not pull the function from under its own call.
    NodeClickHandler handler = clickHandler;
    if (handler) handler(*found->second);
  }
};

void QtTreeView::Node::SetText(const std::string& text) {
  item_->setText(0, ToQ(text));
  owner_->PlaceTopLevel(*this);
}

void QtTreeView::Node::SetImage(const std::string& image) {
  owner_->CheckImage(image);
  image_ = image;
  item_->setIcon(0, image.empty() ? QIcon() : owner_->images.Icon(image));
}

bool QtTreeView::Node::Selected() const {
  return owner_->widget->currentItem() == item_;
}

void QtTreeView::Node::SetSelected(bool selected) {
  ++owner_->quiet;
  if (selected) {
    owner_->widget->setCurrentItem(item_);
  } else if (owner_->widget->currentItem() == item_) {
    owner_->widget->setCurrentItem(nullptr);
    item_->setSelected(false);
  }
  --owner_->quiet;
}

void QtTreeView::Node::EnsureVisible() {
  for (Node* p = parent_; p != &owner_->top; p = p->parent_) p->item_->setExpanded(true);
  owner_->widget->scrollToItem(item_);
}

int QtTreeView::Node::Index() const {
  return owner_->live.Prefix(slot_);
}

std::string QtTreeView::Node::FullPath() const {
  std::vector<const Node*> chain;
  for (const Node* n = this; n != &owner_->top; n = n->parent_) chain.push_back(n);
  std::string path;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    if (it != chain.rbegin()) path += owner_->separator;
    path += (*it)->Text();
  }
  return path;
}

QtTreeView::QtTreeView(QTreeWidget& widget, ImageList images)
    : impl_(std::make_unique<Impl>(widget)) {
  impl_->images = std::move(images);
  widget.clear();
  widget.setColumnCount(1);
  widget.setHeaderHidden(true);
  widget.setSelectionMode(QAbstractItemView::SingleSelection);
  // The control opens nodes itself when they are clicked; a double click must not close them.
  widget.setExpandsOnDoubleClick(false);
  widget.setEditTriggers(QAbstractItemView::NoEditTriggers);

  impl_->keyWatch = new KeyWatch(&widget);
  widget.installEventFilter(impl_->keyWatch);
  widget.viewport()->installEventFilter(impl_->keyWatch);

  Impl* impl = impl_.get();
  impl_->connections.push_back(
      QObject::connect(&widget, &QTreeWidget::itemClicked, [impl](QTreeWidgetItem* item, int) {
        impl->keyWatch->armed = false;
        impl->RaiseClick(item);
      }));
  impl_->connections.push_back(QObject::connect(&widget, &QTreeWidget::currentItemChanged,
                                                [impl](QTreeWidgetItem* current, QTreeWidgetItem*) {
                                                  if (impl->quiet > 0 || !impl->keyWatch->armed ||
                                                      !current)
                                                    return;
                                                  impl->keyWatch->armed = false;
                                                  impl->RaiseClick(current);
                                                }));
}

QtTreeView::~QtTreeView() {
  for (const auto& c : impl_->connections) QObject::disconnect(c);
  if (impl_->widget) delete impl_->keyWatch;  // removes itself as a filter
}

void QtTreeView::Clear() {
  ++impl_->quiet;
  impl_->widget->clear();
  --impl_->quiet;
  impl_->top.firstChild_ = impl_->top.lastChild_ = nullptr;
  impl_->top.childCount_ = 0;
  impl_->keys.clear();
  impl_->byItem.clear();
  impl_->byIndex.clear();
  impl_->byIndex.resize(1);
  impl_->live.Clear();
}

int QtTreeView::Count() const {
  return impl_->Count();
}

TreeNode& QtTreeView::Add() {
  auto* item = new QTreeWidgetItem();
  impl_->widget->addTopLevelItem(item);
  Node& node = impl_->NewNode(item);
  node.LinkInto(&impl_->top, nullptr);
  impl_->PlaceTopLevel(node);
  return node;
}

TreeNode& QtTreeView::AddChild(TreeNode& relative, const std::string& key, const std::string& text,
                               const std::string& image) {
  auto* parent = dynamic_cast<Node*>(&relative);
  if (!parent || parent->owner_ != impl_.get() || !parent->item_ ||
      !impl_->byItem.count(parent->item_)) {
    throw Error(err::kElementNotFound, "Element not found");
  }
  if (!key.empty() && impl_->keys.count(key)) {
    throw Error(err::kKeyNotUnique, "Key is not unique in collection");
  }
  impl_->CheckImage(image);
  auto* item = new QTreeWidgetItem(parent->item_, QStringList{ToQ(text)});
  Node& node = impl_->NewNode(item);
  node.key_ = key;
  node.LinkInto(parent, nullptr);
  if (!image.empty()) node.SetImage(image);
  if (!key.empty()) impl_->keys.emplace(key, &node);
  return node;
}

TreeNode& QtTreeView::Item(int index) {
  return impl_->At(index);
}

void QtTreeView::Remove(int index) {
  impl_->RemoveSubtree(impl_->At(index));
}

TreeNode* QtTreeView::SelectedItem() const {
  return NodeOf(impl_->widget->currentItem());
}

void QtTreeView::SetSorted(bool sorted) {
  impl_->sorted = sorted;
  if (!sorted) return;
  std::vector<Node*> nodes;
  for (Node* n = impl_->top.firstChild_; n; n = n->next_) nodes.push_back(n);
  std::stable_sort(nodes.begin(), nodes.end(),
                   [](const Node* a, const Node* b) { return LessNoCase(a->Text(), b->Text()); });
  for (Node* n : nodes) n->Unlink();
  for (Node* n : nodes) n->LinkInto(&impl_->top, nullptr);
  impl_->MoveTopLevelItems(nodes);
}

void QtTreeView::SetLabelEdit(LabelEditMode mode) {
  impl_->widget->setEditTriggers(mode == LabelEditMode::Manual
                                     ? QAbstractItemView::NoEditTriggers
                                     : QAbstractItemView::DoubleClicked |
                                           QAbstractItemView::EditKeyPressed);
}

std::string QtTreeView::PathSeparator() const {
  return impl_->separator;
}

void QtTreeView::ProcessEvents() {
  QCoreApplication::processEvents();
}

void QtTreeView::SetNodeClickHandler(NodeClickHandler handler) {
  impl_->clickHandler = std::move(handler);
}

QTreeWidget& QtTreeView::Widget() const {
  return *impl_->widget;
}

void QtTreeView::SetPathSeparator(std::string separator) {
  impl_->separator = std::move(separator);
}

void QtTreeView::SetImageList(ImageList images) {
  impl_->images = std::move(images);
  for (const auto& [item, node] : impl_->byItem) {
    if (!node->image_.empty()) node->item_->setIcon(0, impl_->images.Icon(node->image_));
  }
}

const ImageList& QtTreeView::Images() const {
  return impl_->images;
}

TreeNode* QtTreeView::NodeOf(const QTreeWidgetItem* item) const {
  const auto found = impl_->byItem.find(item);
  return found == impl_->byItem.end() ? nullptr : found->second;
}

QTreeWidgetItem* QtTreeView::ItemOf(const TreeNode& node) const {
  const auto* own = dynamic_cast<const Node*>(&node);
  return own && own->owner_ == impl_.get() ? own->item_ : nullptr;
}

bool QtTreeView::Sorted() const {
  return impl_->sorted;
}

}  // namespace kivdb::qt
