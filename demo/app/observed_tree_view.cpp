#include "demo/app/observed_tree_view.h"

#include <utility>

namespace kivdb::demo {

ObservedTreeView::ObservedTreeView(TreeView& inner) : inner_(inner) {}

ObservedTreeView::~ObservedTreeView() {
  inner_.SetNodeClickHandler({});
}

void ObservedTreeView::SetNodeClickHandler(NodeClickHandler handler) {
  handler_ = std::move(handler);
  if (handler_) {
    inner_.SetNodeClickHandler([this](TreeNode& node) { Raise(node); });
  } else {
    inner_.SetNodeClickHandler({});
  }
}

void ObservedTreeView::Click(TreeNode& node) {
  node.SetSelected(true);
  Raise(node);
}

void ObservedTreeView::Raise(TreeNode& node) {
  // Copies: a handler may rebind the tree while it runs.
  const NodeClickHandler handler = handler_;
  const Observer observer = observer_;
  if (handler) handler(node);
  if (observer) observer(node);
}

}  // namespace kivdb::demo
