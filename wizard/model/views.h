#pragma once
// The views the scheme collections draw into, the events the views raise and the message boxes
// the wizard shows, as narrow interfaces. The desktop wizard implements them with widgets;
// memory_views.h holds in-memory implementations for tests, benchmarks and headless runs. A
// collection only draws: what the user does in a view goes straight to ViewEvents.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kivwz {

struct Color {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  bool operator==(const Color&) const = default;
};

enum class MouseButton { Left, Right, Middle };

// Key codes the tree reacts to.
inline constexpr int kKeyInsert = 45;
inline constexpr int kKeyDelete = 46;
inline constexpr int kKeyF2 = 113;

// Keys of the tree's images, in the image list's order (index 1 to 5).
inline constexpr std::string_view kImageRoot = "root";
inline constexpr std::string_view kImageFixed = "fixed";
inline constexpr std::string_view kImageGenerating = "gen";
inline constexpr std::string_view kImageRecurring = "recur";
inline constexpr std::string_view kImageNonGenerating = "nongen";

// A tree of nodes with unique keys. Steps that name an unknown key do nothing.
class TreeView {
 public:
  virtual ~TreeView() = default;
  virtual void Clear() = 0;
  // Adds a node below parentKey, or at top level when parentKey is empty; collapsed, no colour
  // set. imageKey is one of the image keys above or empty for none. False when the key is taken
  // or the parent is unknown.
  virtual bool AddNode(const std::string& parentKey, const std::string& key,
                       const std::string& text, std::string_view imageKey) = 0;
  virtual void SetForeColor(const std::string& key, Color color) = 0;
  virtual void SetExpanded(const std::string& key, bool expanded) = 0;
  virtual bool IsExpanded(const std::string& key) const = 0;
  // Makes the node the selected one; false when there is no such node.
  virtual bool Select(const std::string& key) = 0;
  // Scrolls the node into view, expanding its ancestors.
  virtual void EnsureVisible(const std::string& key) = 0;
  // "" when nothing is selected.
  virtual std::string SelectedKey() const = 0;
  virtual int ChildCount(const std::string& key) const = 0;
  // "" for a top-level or unknown node.
  virtual std::string ParentKey(const std::string& key) const = 0;
};

// A grid whose row 0 is a fixed header row. The format string names the columns: cells separated
// by "|", each starting with its alignment ("<" left, "^" centred, ">" right) followed by the
// header text, whose length with trailing spaces is the column's width in characters.
class Grid {
 public:
  virtual ~Grid() = default;
  // Empties the grid and gives it the format's columns and only the header row.
  virtual void Reset(std::string_view formatString) = 0;
  virtual void AddRow(std::vector<std::string> cells) = 0;
  virtual int RowCount() const = 0;
  // "" outside the grid.
  virtual std::string Cell(int row, int column) const = 0;
  virtual void SetCellForeColor(int row, int column, Color color) = 0;
  // The current row is also the selection; right-clicks refer to it.
  virtual void SetCurrentRow(int row) = 0;
  virtual int CurrentRow() const = 0;
  virtual void SetTopRow(int row) = 0;
  // Position and size in layout units of 1/1440 inch.
  virtual void Place(long left, long top, long width, long height) = 0;
};

enum class Answer { Yes, No };

// Information boxes with one OK button, titled with the program's title, and Yes/No questions,
// titled "Update Confirmation" as every question of the wizard is.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual void Information(const std::string& text) = 0;
  // True for Yes. `preselected` is the answer Enter gives: No where Yes would discard work.
  virtual bool AskYesNo(const std::string& question, Answer preselected) = 0;
};

// What the user asks of a node in the tree.
enum class NodeIntent { Insert, Edit, Delete, Menu };

// Where the views hand what the user does, as the intent and the key it refers to: node keys are
// node IDs in decimal ("5" for the tree key "N5"). The wizard's commands implement it.
class ViewEvents {
 public:
  virtual ~ViewEvents() = default;
  // A left click on a node; a move to it with the keys counts as one.
  virtual void NodeClicked(const std::string& nodeKey) = 0;
  // Always the selected node, whatever lies under the mouse.
  virtual void NodeAsked(NodeIntent intent, const std::string& nodeKey) = 0;
  // The right button over the paragraph grid, with the ID and XST1 cells of its current row
  // ("ID" and "XST1" on the header row).
  virtual void ParagraphMenuAsked(const std::string& paragraphKey, const std::string& nodeKey) = 0;
};

// The translations every view makes before it calls `events`; a null `events` drops the event.
// A tree key ("N5") clicked.
void RaiseNodeClick(ViewEvents* events, const std::string& treeKey);
// A key released in the tree: Ins, F2 and Del act on the selected node, other keys on nothing.
void RaiseTreeKey(ViewEvents* events, const TreeView& tree, int keyCode);
// A mouse button released over the tree: the right one opens the selected node's menu.
void RaiseTreeButton(ViewEvents* events, const TreeView& tree, MouseButton button);
// A mouse button released over the paragraph grid: the right one opens the paragraph menu.
void RaiseGridButton(ViewEvents* events, const Grid& grid, MouseButton button);

enum class Alignment { Left, Centre, Right };

struct GridColumn {
  std::string header;
  Alignment alignment = Alignment::Left;
  int width = 0;
  bool operator==(const GridColumn&) const = default;
};

// Splits a grid format string into its columns.
std::vector<GridColumn> ParseGridFormat(std::string_view formatString);

}  // namespace kivwz
