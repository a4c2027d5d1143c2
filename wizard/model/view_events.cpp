#include "wizard/model/views.h"

namespace kivwz {
namespace {

// The node a tree key names: the key without its "N"; "" for no node.
std::string NodeKeyOf(const std::string& treeKey) {
  return treeKey.empty() ? std::string() : treeKey.substr(1);
}

}  // namespace

void RaiseNodeClick(ViewEvents* events, const std::string& treeKey) {
  if (events != nullptr && !treeKey.empty()) events->NodeClicked(NodeKeyOf(treeKey));
}

void RaiseTreeKey(ViewEvents* events, const TreeView& tree, int keyCode) {
  if (events == nullptr) return;
  NodeIntent intent;
  switch (keyCode) {
    case kKeyInsert:
      intent = NodeIntent::Insert;
      break;
    case kKeyF2:
      intent = NodeIntent::Edit;
      break;
    case kKeyDelete:
      intent = NodeIntent::Delete;
      break;
    default:
      return;
  }
  const std::string selected = tree.SelectedKey();
  // With nothing selected there is no node for the command to act on.
  if (!selected.empty()) events->NodeAsked(intent, NodeKeyOf(selected));
}

void RaiseTreeButton(ViewEvents* events, const TreeView& tree, MouseButton button) {
  if (events == nullptr || button != MouseButton::Right) return;
  const std::string selected = tree.SelectedKey();
  if (!selected.empty()) events->NodeAsked(NodeIntent::Menu, NodeKeyOf(selected));
}

void RaiseGridButton(ViewEvents* events, const Grid& grid, MouseButton button) {
  if (events == nullptr || button != MouseButton::Right) return;
  // Right after a redraw the current row is the header, whose cells read "ID" and "XST1".
  const int row = grid.CurrentRow();
  events->ParagraphMenuAsked(grid.Cell(row, 0), grid.Cell(row, 1));
}

}  // namespace kivwz
