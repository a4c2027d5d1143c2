#pragma once
// MemoryTreeView: a complete tree view held in memory, for tests and the command-line host. It
// keeps the contract of tree_view.h (1-based indexes, removal with descendants, unique keys,
// Sorted ordering the top level only) and adds what a host needs to drive it without a screen:
// Click, lookup by full path and a walk in tree order.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <kivdb/export.h>
#include <kivdb/tree_view.h>

namespace kivdb {

class KIVDB_EXPORT MemoryTreeView : public TreeView {
 public:
  MemoryTreeView();
  ~MemoryTreeView() override;
  MemoryTreeView(const MemoryTreeView&) = delete;
  MemoryTreeView& operator=(const MemoryTreeView&) = delete;

  void Clear() override;
  int Count() const override;
  TreeNode& Add() override;
  TreeNode& AddChild(TreeNode& relative, const std::string& key, const std::string& text,
                     const std::string& image) override;
  TreeNode& Item(int index) override;
  void Remove(int index) override;
  TreeNode* SelectedItem() const override;
  void SetSorted(bool sorted) override;
  void SetLabelEdit(LabelEditMode mode) override;
  std::string PathSeparator() const override;
  void ProcessEvents() override;
  void SetNodeClickHandler(NodeClickHandler handler) override;

  // --- The host's side -------------------------------------------------------------------------
  // Selects the node and raises NodeClick with it, as a user's click does.
  void Click(TreeNode& node);
  // The first node in tree order whose FullPath equals `path`, or null.
  TreeNode* FindByPath(std::string_view path) const;
  // Visits every node in tree order (a parent before its children, siblings in order) with its
  // depth, 0 for top-level nodes. The visitor must not add or remove nodes.
  void Walk(const std::function<void(TreeNode& node, int depth)>& visit) const;
  // A host's image list: when not empty, every image given to a node must be one of these keys
  // (35601 otherwise). An empty image is always allowed.
  void SetImageList(std::vector<std::string> keys);
  void SetPathSeparator(std::string separator);
  // Called by ProcessEvents, so a host can run its own work there; counts the calls as well.
  void SetProcessEventsHook(std::function<void()> hook);

  bool Sorted() const;
  LabelEditMode LabelEdit() const;
  int ProcessEventsCount() const;
  // The node EnsureVisible was last called on (null when none or since removed).
  TreeNode* LastMadeVisible() const;

 private:
  struct KIVDB_NO_EXPORT Impl;
  class KIVDB_NO_EXPORT Node;
  std::unique_ptr<Impl> impl_;
};

}  // namespace kivdb
