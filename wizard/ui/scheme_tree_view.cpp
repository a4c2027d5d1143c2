#include "wizard/ui/scheme_tree_view.h"

#include <QKeyEvent>
#include <QStyleFactory>

#include "wizard/ui/mouse_buttons.h"
#include "wizard/ui/tree_icons.h"

namespace kivwz {
namespace {

constexpr std::string_view kImageKeys[5] = {kImageRoot, kImageFixed, kImageGenerating,
                                            kImageRecurring, kImageNonGenerating};
constexpr int kKeyRole = Qt::UserRole;

// The indentation of one level: 600 layout units of 1/1440 inch.
int IndentationFor(const QWidget& widget) {
  return widget.logicalDpiX() * 600 / 1440;
}

}  // namespace

SchemeTreeView::SchemeTreeView(QWidget* parent) : QTreeWidget(parent) {
  setObjectName(QStringLiteral("myTree"));
  setHeaderHidden(true);
  setColumnCount(1);
  QFont treeFont(QStringLiteral("Arial"), 10);
  treeFont.setBold(true);
  setFont(treeFont);
  // Dotted lines between the nodes and plus/minus buttons.
  if (QStyle* lined = QStyleFactory::create(QStringLiteral("Windows"))) {
    lined->setParent(this);
    setStyle(lined);
  }
  setRootIsDecorated(true);
  setIndentation(IndentationFor(*this));
  setIconSize(QSize(16, 16));
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setContextMenuPolicy(Qt::PreventContextMenu);
  setUniformRowHeights(true);
  for (int i = 0; i < 5; ++i) icons_[i] = QIcon(TreeIcon(kImageKeys[i]));
  connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int) {
    if (item != nullptr) RaiseNodeClick(events_, KeyOf(item));
  });
}

std::string SchemeTreeView::KeyOf(const QTreeWidgetItem* item) {
  return item == nullptr ? std::string() : item->data(0, kKeyRole).toString().toStdString();
}

QTreeWidgetItem* SchemeTreeView::ItemOf(const std::string& key) const {
  const auto found = items_.find(key);
  return found == items_.end() ? nullptr : found->second;
}

void SchemeTreeView::Clear() {
  clear();
  items_.clear();
}

bool SchemeTreeView::AddNode(const std::string& parentKey, const std::string& key,
                             const std::string& text, std::string_view imageKey) {
  if (items_.count(key) != 0) return false;
  QTreeWidgetItem* parentItem = nullptr;
  if (!parentKey.empty()) {
    parentItem = ItemOf(parentKey);
    if (parentItem == nullptr) return false;
  }
  auto* item = new QTreeWidgetItem;
  item->setText(0, QString::fromStdString(text));
  item->setData(0, kKeyRole, QString::fromStdString(key));
  for (int i = 0; i < 5; ++i) {
    if (imageKey == kImageKeys[i]) item->setIcon(0, icons_[i]);
  }
  if (parentItem != nullptr) {
    parentItem->addChild(item);
  } else {
    addTopLevelItem(item);
  }
  items_.emplace(key, item);
  return true;
}

void SchemeTreeView::SetForeColor(const std::string& key, Color color) {
  if (QTreeWidgetItem* item = ItemOf(key)) {
    item->setForeground(0, QBrush(QColor(color.red, color.green, color.blue)));
  }
}

void SchemeTreeView::SetExpanded(const std::string& key, bool expanded) {
  if (QTreeWidgetItem* item = ItemOf(key)) item->setExpanded(expanded);
}

bool SchemeTreeView::IsExpanded(const std::string& key) const {
  const QTreeWidgetItem* item = ItemOf(key);
  return item != nullptr && item->isExpanded();
}

bool SchemeTreeView::Select(const std::string& key) {
  QTreeWidgetItem* item = ItemOf(key);
  if (item == nullptr) return false;
  setCurrentItem(item);
  return true;
}

void SchemeTreeView::EnsureVisible(const std::string& key) {
  QTreeWidgetItem* item = ItemOf(key);
  if (item == nullptr) return;
  for (QTreeWidgetItem* above = item->parent(); above != nullptr; above = above->parent()) {
    above->setExpanded(true);
  }
  scrollToItem(item);
}

std::string SchemeTreeView::SelectedKey() const {
  const QTreeWidgetItem* item = currentItem();
  return item != nullptr && item->isSelected() ? KeyOf(item) : std::string();
}

int SchemeTreeView::ChildCount(const std::string& key) const {
  const QTreeWidgetItem* item = ItemOf(key);
  return item == nullptr ? 0 : item->childCount();
}

std::string SchemeTreeView::ParentKey(const std::string& key) const {
  const QTreeWidgetItem* item = ItemOf(key);
  return item == nullptr ? std::string() : KeyOf(item->parent());
}

void SchemeTreeView::keyPressEvent(QKeyEvent* event) {
  const QTreeWidgetItem* before = currentItem();
  const bool wasSelected = before != nullptr && before->isSelected();
  QTreeWidget::keyPressEvent(event);
  QTreeWidgetItem* now = currentItem();
  if (now == nullptr) return;
  if (now != before || (!wasSelected && now->isSelected())) RaiseNodeClick(events_, KeyOf(now));
}

void SchemeTreeView::keyReleaseEvent(QKeyEvent* event) {
  QTreeWidget::keyReleaseEvent(event);
  // A held key repeats its press, not its release: the command runs once.
  if (event->isAutoRepeat()) return;
  switch (event->key()) {
    case Qt::Key_Insert:
      RaiseTreeKey(events_, *this, kKeyInsert);
      break;
    case Qt::Key_F2:
      RaiseTreeKey(events_, *this, kKeyF2);
      break;
    case Qt::Key_Delete:
      RaiseTreeKey(events_, *this, kKeyDelete);
      break;
    default:
      break;
  }
}

void SchemeTreeView::mousePressEvent(QMouseEvent* event) {
  if (LeftButtonOnly(event)) QTreeWidget::mousePressEvent(event);
}

void SchemeTreeView::mouseReleaseEvent(QMouseEvent* event) {
  if (LeftButtonOnly(event)) QTreeWidget::mouseReleaseEvent(event);
  RaiseTreeButton(events_, *this, ButtonOf(event));
}

}  // namespace kivwz
