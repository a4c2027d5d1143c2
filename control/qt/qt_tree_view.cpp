#include <kivdb/qt/qt_tree_view.h>

#include <QCoreApplication>
#include <QEvent>
#include <QHeaderView>
#include <QPointer>
#include <QTreeWidget>
#include <algorithm>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/tree_index.h"

namespace kivdb::qt {
namespace {

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

class QtTreeView::Node : public IndexedNode<QtTreeView::Node> {
 public:
  Node(QtTreeView::Impl* owner, QTreeWidgetItem* item) : owner_(owner), item_(item) {}

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

  QtTreeView::Impl* owner_;
  QTreeWidgetItem* item_;  // null for the hidden top node
  std::string image_;
  Color color_ = 0;
};

struct QtTreeView::Impl {
  explicit Impl(QTreeWidget& w) : widget(&w) {}

  QPointer<QTreeWidget> widget;
  Node top{this, nullptr};
  TreeIndex<Node> index{top};
  std::unordered_map<const QTreeWidgetItem*, Node*> byItem;
  ImageList images;
  NodeClickHandler clickHandler;
  KeyWatch* keyWatch = nullptr;
  std::vector<QMetaObject::Connection> connections;
  // Set while the adapter itself moves the current item, so that raises nothing.
  int quiet = 0;

  void CheckImage(const std::string& image) const {
    if (!image.empty() && !images.Contains(image)) tree_index::ThrowNotFound();
  }

  // Takes in a node showing `item` as the last child of `parent`.
  Node& Append(QTreeWidgetItem* item, Node& parent, const std::string& key) {
    Node& node = index.Append(std::make_unique<Node>(this, item), parent, key);
    byItem.emplace(item, &node);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    return node;
  }

  // Places a top-level node among its siblings by caption when the tree is sorted.
  void PlaceTopLevel(Node& node) {
    if (index.Place(node)) MoveTopLevelItems({&node});
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
        for (Node* c = x->FirstChild(); c; c = c->NextSibling()) pending.push_back(c);
      }
      widget->takeTopLevelItem(widget->indexOfTopLevelItem(n->item_));
    }
    // Insert in link order, so each item's successor is already placed or absent.
    std::vector<Node*> ordered = nodes;
    std::unordered_map<const Node*, int> position;
    int i = 0;
    for (Node* n = top.FirstChild(); n; n = n->NextSibling()) position[n] = i++;
    std::sort(ordered.begin(), ordered.end(),
              [&](Node* a, Node* b) { return position[a] > position[b]; });
    for (Node* n : ordered) {
      Node* next = n->NextSibling();
      const int at = next ? widget->indexOfTopLevelItem(next->item_) : widget->topLevelItemCount();
      widget->insertTopLevelItem(at, n->item_);
    }
    for (QTreeWidgetItem* item : expanded) item->setExpanded(true);
    if (current) widget->setCurrentItem(current);
    --quiet;
  }

  void RemoveSubtree(Node& node) {
    const std::vector<std::unique_ptr<Node>> doomed = index.Remove(node);
    for (const auto& n : doomed) byItem.erase(n->item_);
    ++quiet;
    const bool hadCurrent = std::any_of(doomed.begin(), doomed.end(), [this](const auto& n) {
      return n->item_ == widget->currentItem();
    });
    delete node.item_;  // takes the child items with it
    // The widget would make a neighbour current; the contract has no selected node then.
    if (hadCurrent) {
      widget->setCurrentItem(nullptr);
      widget->clearSelection();
    }
    --quiet;
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
  for (Node* p = Parent(); p; p = p->Parent()) p->item_->setExpanded(true);
  owner_->widget->scrollToItem(item_);
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
  impl_->byItem.clear();
  impl_->index.Clear();
}

int QtTreeView::Count() const {
  return impl_->index.Count();
}

TreeNode& QtTreeView::Add() {
  auto* item = new QTreeWidgetItem();
  impl_->widget->addTopLevelItem(item);
  Node& node = impl_->Append(item, impl_->top, "");
  impl_->PlaceTopLevel(node);
  return node;
}

TreeNode& QtTreeView::AddChild(TreeNode& relative, const std::string& key, const std::string& text,
                               const std::string& image) {
  Node& parent = impl_->index.Member(relative);
  impl_->index.CheckKeyFree(key);
  impl_->CheckImage(image);
  auto* item = new QTreeWidgetItem(parent.item_, QStringList{ToQ(text)});
  Node& node = impl_->Append(item, parent, key);
  if (!image.empty()) node.SetImage(image);
  return node;
}

TreeNode& QtTreeView::Item(int index) {
  return impl_->index.At(index);
}

void QtTreeView::Remove(int index) {
  impl_->RemoveSubtree(impl_->index.At(index));
}

TreeNode* QtTreeView::SelectedItem() const {
  return NodeOf(impl_->widget->currentItem());
}

void QtTreeView::SetSorted(bool sorted) {
  const std::vector<Node*> moved = impl_->index.SetSorted(sorted);
  if (sorted) impl_->MoveTopLevelItems(moved);
}

void QtTreeView::SetLabelEdit(LabelEditMode mode) {
  impl_->widget->setEditTriggers(mode == LabelEditMode::Manual
                                     ? QAbstractItemView::NoEditTriggers
                                     : QAbstractItemView::DoubleClicked |
                                           QAbstractItemView::EditKeyPressed);
}

std::string QtTreeView::PathSeparator() const {
  return impl_->index.Separator();
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
  impl_->index.SetSeparator(std::move(separator));
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
  return impl_->index.Sorted();
}

}  // namespace kivdb::qt
