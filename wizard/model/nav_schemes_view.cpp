// Drawing of the navigation tree and the XST1 grid, and what a click on a node shows.

#include <string>
#include <vector>

#include "scheme/scheme_codes.h"
#include "wizard/model/nav_schemes.h"
#include "wizard/model/tree_walk.h"
#include "wizard/model/view_style.h"

namespace kivwz {
namespace {

std::string TreeKeyOf(Long id) {
  return "N" + KeyOf(id);
}

}  // namespace

void clsNavSchemes::DispInTV() {
  if (treeView_ != nullptr) treeView_->Clear();
  if (nodes_.Empty()) return;
  if (treeView_ != nullptr) {
    for (const TreeStep& step : PreOrder(ChildIndex(nodes_))) {
      const std::string key = TreeKeyOf(step.node->ID());
      if (step.parent == nullptr) {
        // The root always reads "Data Browser", whatever its description.
        treeView_->AddNode("", key, std::string(kivdb::scheme::kRootCaption), kImageRoot);
        treeView_->SetForeColor(key, kBlack);
        treeView_->SetExpanded(key, true);
      } else {
        treeView_->AddNode(TreeKeyOf(step.parent->ID()), key, step.node->descriptionIs,
                           TreeImageOf(step.node->typeIs()));
        treeView_->SetForeColor(key, TreeColorOf(step.node->typeIs()));
      }
    }
    if (!currentKey_.empty() && treeView_->Select(currentKey_)) {
      treeView_->EnsureVisible(currentKey_);
    }
  }
  DispInGrid();
}

void clsNavSchemes::DispInGrid() {
  if (grid_ == nullptr) return;
  grid_->Reset(kNavGridFormat);
  constexpr int kColumns = 8;
  Color color = kBlack;  // held from row to row
  int row = 0;
  for (const Node& node : nodes_) {
    grid_->AddRow({KeyOf(node->ID()), node->descriptionIs, node->typeIs(), KeyOf(node->parentIs),
                   node->queryIs(), node->parmIs(), node->iconIs, node->roleIs});
    ++row;
    if (const std::optional<Color> typeColor = GridColorOf(grid_->Cell(row, kNavGridTypeColumn))) {
      color = *typeColor;
    }
    for (int column = 0; column < kColumns; ++column) grid_->SetCellForeColor(row, column, color);
  }
}

void clsNavSchemes::OnTreeNodeClick(const std::string& treeKey) {
  if (treeKey.empty()) return;
  const std::string key = treeKey.substr(1);
  oWebs.DispInGrid(NumberValue(key));
  // A click opens a node but never closes one.
  if (treeView_ != nullptr && !treeView_->IsExpanded(treeKey)) {
    treeView_->SetExpanded(treeKey, true);
  }
  currentKey_ = treeKey;
}

}  // namespace kivwz
