#pragma once
// QtTreeView: the control's TreeView over a QTreeWidget the host owns. It keeps the contract of
// <kivdb/tree_view.h> as MemoryTreeView does (1-based indexes in order of addition, removal with
// descendants, unique keys, Sorted ordering the top level only) and shows each node's Image from
// the host's ImageList (an image key missing from the list fails with 35601).
//
// NodeClick is raised once for every mouse click on a node and once for every change of the
// current node made with the keyboard; selections the control or the host make through this
// adapter raise nothing. The adapter must not outlive the widget; the widget may outlive the
// adapter (its items are then left as they are, and no event is raised any more).

#include <memory>
#include <string>

#include <kivdb/qt/export.h>
#include <kivdb/qt/image_list.h>
#include <kivdb/tree_view.h>

class QTreeWidget;
class QTreeWidgetItem;

namespace kivdb::qt {

class KIVDB_QT_EXPORT QtTreeView : public TreeView {
 public:
  // Takes over `widget`'s items (it is cleared) and shows pictures from `images`.
  explicit QtTreeView(QTreeWidget& widget, ImageList images = ImageList::WithDefaults());
  ~QtTreeView() override;
  QtTreeView(const QtTreeView&) = delete;
  QtTreeView& operator=(const QtTreeView&) = delete;

  void Clear() override;
  int Count() const override;
  TreeNode& Add() override;
  TreeNode& AddChild(TreeNode& relative, const std::string& key, const std::string& text,
                     const std::string& image) override;
  TreeNode& Item(int index) override;
  void Remove(int index) override;
  TreeNode* SelectedItem() const override;
  void SetSorted(bool sorted) override;
  // Manual turns in-place editing of captions off; Automatic lets a double click or F2 edit.
  void SetLabelEdit(LabelEditMode mode) override;
  std::string PathSeparator() const override;
  // Handles the application's pending events once (QCoreApplication::processEvents).
  void ProcessEvents() override;
  void SetNodeClickHandler(NodeClickHandler handler) override;

  // --- The host's side -------------------------------------------------------------------------
  QTreeWidget& Widget() const;
  void SetPathSeparator(std::string separator);
  void SetImageList(ImageList images);
  const ImageList& Images() const;
  // The node shown by `item`, or null for an item this adapter did not add.
  TreeNode* NodeOf(const QTreeWidgetItem* item) const;
  // The widget item of a node of this tree.
  QTreeWidgetItem* ItemOf(const TreeNode& node) const;
  bool Sorted() const;

 private:
  struct KIVDB_QT_NO_EXPORT Impl;
  class KIVDB_QT_NO_EXPORT Node;
  std::unique_ptr<Impl> impl_;
};

}  // namespace kivdb::qt
