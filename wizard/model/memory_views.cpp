#include "wizard/model/memory_views.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace kivwz {

namespace {

std::uint32_t HashOf(std::string_view key) {
  return static_cast<std::uint32_t>(std::hash<std::string_view>{}(key));
}

}  // namespace

void MemoryTreeView::Clear() {
  nodes_.clear();
  std::fill(keyTable_.begin(), keyTable_.end(), std::make_pair(0u, 0u));
  topLevel_.clear();
  topLevelKeys_.clear();
  selectedKey_.clear();
}

std::int64_t MemoryTreeView::PositionOf(std::string_view key) const {
  if (keyTable_.empty()) return -1;
  const std::uint32_t hash = HashOf(key);
  const std::size_t mask = keyTable_.size() - 1;
  for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
    const auto [entryHash, positionPlusOne] = keyTable_[slot];
    if (positionPlusOne == 0) return -1;
    if (entryHash == hash && nodes_[positionPlusOne - 1].key == key) return positionPlusOne - 1;
  }
}

void MemoryTreeView::FileKey(std::size_t position) {
  if (2 * (nodes_.size() + 1) > keyTable_.size()) {
    // Twice the room, and every key filed anew.
    keyTable_.assign(std::max<std::size_t>(64, 4 * nodes_.size()), {0u, 0u});
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
      if (i != position) FileKey(i);
    }
  }
  const std::uint32_t hash = HashOf(nodes_[position].key);
  const std::size_t mask = keyTable_.size() - 1;
  std::size_t slot = hash & mask;
  while (keyTable_[slot].second != 0) slot = (slot + 1) & mask;
  keyTable_[slot] = {hash, static_cast<std::uint32_t>(position + 1)};
}

MemoryTreeNode* MemoryTreeView::Find(const std::string& key) {
  const std::int64_t position = PositionOf(key);
  return position < 0 ? nullptr : &nodes_[static_cast<std::size_t>(position)];
}

const MemoryTreeNode* MemoryTreeView::Node(const std::string& key) const {
  const std::int64_t position = PositionOf(key);
  return position < 0 ? nullptr : &nodes_[static_cast<std::size_t>(position)];
}

bool MemoryTreeView::AddNode(const std::string& parentKey, const std::string& key,
                             const std::string& text, std::string_view imageKey) {
  MemoryTreeNode* parent = nullptr;
  if (!parentKey.empty()) {
    parent = Find(parentKey);
    if (parent == nullptr) return false;
  }
  if (PositionOf(key) >= 0) return false;
  const auto position = static_cast<std::uint32_t>(nodes_.size());
  if (parent != nullptr) {
    parent->children.push_back(position);
  } else {
    topLevel_.push_back(position);
    topLevelKeys_.push_back(key);
  }
  MemoryTreeNode node;
  node.key = key;
  node.text = text;
  node.imageKey = std::string(imageKey);
  node.parentKey = parentKey;
  nodes_.push_back(std::move(node));
  FileKey(position);
  return true;
}

void MemoryTreeView::SetForeColor(const std::string& key, Color color) {
  if (MemoryTreeNode* node = Find(key)) node->foreColor = color;
}

void MemoryTreeView::SetExpanded(const std::string& key, bool expanded) {
  if (MemoryTreeNode* node = Find(key)) node->expanded = expanded;
}

bool MemoryTreeView::IsExpanded(const std::string& key) const {
  const MemoryTreeNode* node = Node(key);
  return node != nullptr && node->expanded;
}

bool MemoryTreeView::Select(const std::string& key) {
  if (Find(key) == nullptr) return false;
  selectedKey_ = key;
  return true;
}

void MemoryTreeView::EnsureVisible(const std::string& key) {
  const MemoryTreeNode* node = Node(key);
  while (node != nullptr && !node->parentKey.empty()) {
    MemoryTreeNode* parent = Find(node->parentKey);
    if (parent == nullptr) break;
    parent->expanded = true;
    node = parent;
  }
}

int MemoryTreeView::ChildCount(const std::string& key) const {
  const MemoryTreeNode* node = Node(key);
  return node == nullptr ? 0 : static_cast<int>(node->children.size());
}

std::string MemoryTreeView::ParentKey(const std::string& key) const {
  const MemoryTreeNode* node = Node(key);
  return node == nullptr ? std::string() : node->parentKey;
}

std::vector<std::string> MemoryTreeView::KeysInOrder() const {
  std::vector<std::string> keys;
  keys.reserve(nodes_.size());
  // Explicit stack: a scheme can be a chain far deeper than the call stack allows.
  std::vector<std::pair<const std::vector<std::uint32_t>*, std::size_t>> stack{{&topLevel_, 0}};
  while (!stack.empty()) {
    auto& [siblings, next] = stack.back();
    if (next == siblings->size()) {
      stack.pop_back();
      continue;
    }
    const MemoryTreeNode& node = nodes_[(*siblings)[next++]];
    keys.push_back(node.key);
    stack.emplace_back(&node.children, 0);
  }
  return keys;
}

void MemoryTreeView::Click(const std::string& key) {
  if (Select(key)) RaiseNodeClick(events_, key);
}

int MemoryGrid::RowCount() const {
  return columns_.empty() ? 0 : static_cast<int>(cells_.size() / columns_.size());
}

std::size_t MemoryGrid::Position(int row, int column) const {
  return static_cast<std::size_t>(row) * columns_.size() + static_cast<std::size_t>(column);
}

void MemoryGrid::Reset(std::string_view formatString) {
  columns_ = ParseGridFormat(formatString);
  cells_.clear();
  colors_.clear();
  for (const GridColumn& column : columns_) cells_.push_back(column.header);
  colors_.resize(columns_.size());
  currentRow_ = 0;
  topRow_ = 0;
}

void MemoryGrid::AddRow(std::vector<std::string> cells) {
  cells.resize(columns_.size());
  for (std::string& cell : cells) cells_.push_back(std::move(cell));
  colors_.resize(cells_.size());
}

bool MemoryGrid::Inside(int row, int column) const {
  return row >= 0 && row < RowCount() && column >= 0 && column < static_cast<int>(columns_.size());
}

std::string MemoryGrid::Cell(int row, int column) const {
  return Inside(row, column) ? cells_[Position(row, column)] : std::string();
}

void MemoryGrid::SetCellForeColor(int row, int column, Color color) {
  if (Inside(row, column)) colors_[Position(row, column)] = color;
}

std::optional<Color> MemoryGrid::CellForeColor(int row, int column) const {
  return Inside(row, column) ? colors_[Position(row, column)] : std::nullopt;
}

void MemoryGrid::SetCurrentRow(int row) {
  if (row >= 0 && row < RowCount()) currentRow_ = row;
}

void MemoryGrid::SetTopRow(int row) {
  if (row >= 0 && row < RowCount()) topRow_ = row;
}

void MemoryGrid::Place(long left, long top, long width, long height) {
  placement_ = {left, top, width, height};
}

bool MemoryMessageBoxes::AskYesNo(const std::string& question, Answer preselected) {
  asked_.push_back({question, preselected});
  return answer.value_or(preselected == Answer::Yes);
}

}  // namespace kivwz
