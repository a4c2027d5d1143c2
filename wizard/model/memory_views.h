#pragma once
// In-memory views and message boxes: what the scheme collections draw, kept as plain data, for
// tests, benchmarks and runs without a display. Every operation is constant time per node, row
// or cell (ensuring a node is visible walks its ancestors). What a user does is played on them
// (Click, ReleaseKey, ReleaseButton) and reaches ViewEvents as it does from the widgets.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "wizard/model/views.h"

namespace kivwz {

struct MemoryTreeNode {
  std::string key;
  std::string text;
  std::string imageKey;
  std::optional<Color> foreColor;
  bool expanded = false;
  std::string parentKey;
  std::vector<std::uint32_t> children;  // positions in the view, in insertion order
};

class MemoryTreeView : public TreeView {
 public:
  void Clear() override;
  bool AddNode(const std::string& parentKey, const std::string& key, const std::string& text,
               std::string_view imageKey) override;
  void SetForeColor(const std::string& key, Color color) override;
  void SetExpanded(const std::string& key, bool expanded) override;
  bool IsExpanded(const std::string& key) const override;
  bool Select(const std::string& key) override;
  void EnsureVisible(const std::string& key) override;
  std::string SelectedKey() const override { return selectedKey_; }
  int ChildCount(const std::string& key) const override;
  std::string ParentKey(const std::string& key) const override;

  // nullptr for an unknown key.
  const MemoryTreeNode* Node(const std::string& key) const;
  const std::vector<std::string>& TopLevelKeys() const { return topLevelKeys_; }
  std::size_t NodeCount() const { return nodes_.size(); }
  // Every key in display order (depth-first, children in insertion order).
  std::vector<std::string> KeysInOrder() const;

  // Where the user's clicks, keys and buttons go; nullptr drops them.
  void SetEvents(ViewEvents* events) { events_ = events; }
  // A left click on the node: selects it and raises the click; an unknown key does nothing.
  void Click(const std::string& key);
  // A key (views.h codes) or a mouse button released over the tree.
  void ReleaseKey(int keyCode) { RaiseTreeKey(events_, *this, keyCode); }
  void ReleaseButton(MouseButton button) { RaiseTreeButton(events_, *this, button); }

 private:
  // The position of the node with that key, or -1.
  std::int64_t PositionOf(std::string_view key) const;
  MemoryTreeNode* Find(const std::string& key);
  void FileKey(std::size_t position);

  std::vector<MemoryTreeNode> nodes_;
  // Positions by key: a flat open-addressing table of (hash, position + 1), 0 marking a free
  // entry; capacity a power of two, at most half full.
  std::vector<std::pair<std::uint32_t, std::uint32_t>> keyTable_;
  std::vector<std::uint32_t> topLevel_;
  std::vector<std::string> topLevelKeys_;
  std::string selectedKey_;
  ViewEvents* events_ = nullptr;
};

class MemoryGrid : public Grid {
 public:
  void Reset(std::string_view formatString) override;
  void AddRow(std::vector<std::string> cells) override;
  int RowCount() const override;
  std::string Cell(int row, int column) const override;
  void SetCellForeColor(int row, int column, Color color) override;
  void SetCurrentRow(int row) override;
  int CurrentRow() const override { return currentRow_; }
  void SetTopRow(int row) override;
  void Place(long left, long top, long width, long height) override;

  const std::vector<GridColumn>& Columns() const { return columns_; }
  // The colour set on a cell, if any.
  std::optional<Color> CellForeColor(int row, int column) const;
  int TopRow() const { return topRow_; }
  struct Placement {
    long left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Placement&) const = default;
  };
  const Placement& Where() const { return placement_; }

  // Where the right button goes when this is the paragraph grid; nullptr drops it.
  void SetEvents(ViewEvents* events) { events_ = events; }
  void ReleaseButton(MouseButton button) { RaiseGridButton(events_, *this, button); }

 private:
  bool Inside(int row, int column) const;

  std::size_t Position(int row, int column) const;

  std::vector<GridColumn> columns_;
  // Cells and their colours row after row, one flat array each.
  std::vector<std::string> cells_;
  std::vector<std::optional<Color>> colors_;
  int currentRow_ = 0;
  int topRow_ = 0;
  Placement placement_;
  ViewEvents* events_ = nullptr;
};

// Keeps what it shows and what it asks, in order, and answers every question with `answer`, or
// with the preselected answer (as Enter would) while `answer` is unset.
class MemoryMessageBoxes : public MessageBoxes {
 public:
  void Information(const std::string& text) override { shown_.push_back(text); }
  bool AskYesNo(const std::string& question, Answer preselected) override;
  const std::vector<std::string>& Shown() const { return shown_; }
  struct Question {
    std::string text;
    Answer preselected;
    bool operator==(const Question&) const = default;
  };
  const std::vector<Question>& Asked() const { return asked_; }
  void Forget() {
    shown_.clear();
    asked_.clear();
  }

  std::optional<bool> answer;

 private:
  std::vector<std::string> shown_;
  std::vector<Question> asked_;
};

}  // namespace kivwz
