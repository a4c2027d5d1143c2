#pragma once
// ObservedTreeView: a TreeView that hands every call to the host's real tree view and lets the
// host watch each NodeClick after the control has answered it (the control owns the tree's one
// NodeClick handler). The host keeps the history of opened nodes this way.

#include <functional>

#include <kivdb/tree_view.h>

namespace kivdb::demo {

class ObservedTreeView : public TreeView {
 public:
  using Observer = std::function<void(TreeNode& node)>;

  // `inner` must outlive this object.
  explicit ObservedTreeView(TreeView& inner);
  ~ObservedTreeView() override;
  ObservedTreeView(const ObservedTreeView&) = delete;
  ObservedTreeView& operator=(const ObservedTreeView&) = delete;

  // Called after the control's handler, with the clicked node.
  void SetObserver(Observer observer) { observer_ = std::move(observer); }
  TreeView& Inner() { return inner_; }
  // Selects `node` and raises NodeClick with it, as the user's click does (the host's own
  // selections through the widget adapter raise nothing).
  void Click(TreeNode& node);

  void Clear() override { inner_.Clear(); }
  int Count() const override { return inner_.Count(); }
  TreeNode& Add() override { return inner_.Add(); }
  TreeNode& AddChild(TreeNode& relative, const std::string& key, const std::string& text,
                     const std::string& image) override {
    return inner_.AddChild(relative, key, text, image);
  }
  TreeNode& Item(int index) override { return inner_.Item(index); }
  void Remove(int index) override { inner_.Remove(index); }
  TreeNode* SelectedItem() const override { return inner_.SelectedItem(); }
  void SetSorted(bool sorted) override { inner_.SetSorted(sorted); }
  void SetLabelEdit(LabelEditMode mode) override { inner_.SetLabelEdit(mode); }
  std::string PathSeparator() const override { return inner_.PathSeparator(); }
  void ProcessEvents() override { inner_.ProcessEvents(); }
  void SetNodeClickHandler(NodeClickHandler handler) override;

 private:
  void Raise(TreeNode& node);

  TreeView& inner_;
  NodeClickHandler handler_;
  Observer observer_;
};

}  // namespace kivdb::demo
