#pragma once
// TreeView and TreeNode: what the report control needs of the host's tree widget. The host owns
// the widget and hands it to the control with KivDB::SetControls; the control fills it with the
// navigation tree and listens to its NodeClick.
//
// Contract for implementations: a node object stays valid until it (or an ancestor) is removed or
// the tree is cleared, and one widget item is always represented by the same TreeNode object, so
// the control compares nodes by address. Indexes are 1-based positions in the tree's node
// collection (in the order the nodes were added; removals close the gaps). Failures are thrown as
// kivdb::Error with the classic numbers: 35601 for an index or image key that does not exist,
// 35602 for a duplicate key.

#include <cstdint>
#include <functional>
#include <string>

#include <kivdb/export.h>

namespace kivdb {

// A colour as 0xRRGGBB.
using Color = uint32_t;
inline constexpr Color kBlue = 0x0000FF;

class KIVDB_EXPORT TreeNode {
 public:
  virtual ~TreeNode() = default;

  virtual std::string Tag() const = 0;
  virtual void SetTag(const std::string& tag) = 0;
  // Set when the node is added; empty for a node added without a key.
  virtual std::string Key() const = 0;
  virtual std::string Text() const = 0;
  virtual void SetText(const std::string& text) = 0;
  // A key of the host's image list.
  virtual std::string Image() const = 0;
  virtual void SetImage(const std::string& image) = 0;
  virtual Color ForeColor() const = 0;
  virtual void SetForeColor(Color color) = 0;
  virtual bool Expanded() const = 0;
  virtual void SetExpanded(bool expanded) = 0;
  virtual bool Selected() const = 0;
  virtual void SetSelected(bool selected) = 0;
  // Expands the node's ancestors and scrolls the node into view.
  virtual void EnsureVisible() = 0;

  // Number of direct children.
  virtual int Children() const = 0;
  // First child, or null.
  virtual TreeNode* Child() const = 0;
  // The next sibling, or null.
  virtual TreeNode* Next() const = 0;
  virtual TreeNode* FirstSibling() const = 0;
  virtual TreeNode* LastSibling() const = 0;
  virtual int Index() const = 0;
  // The captions from the top-level ancestor down to this node, joined by the tree's
  // PathSeparator.
  virtual std::string FullPath() const = 0;
};

enum class LabelEditMode { Automatic = 0, Manual = 1 };

class KIVDB_EXPORT TreeView {
 public:
  using NodeClickHandler = std::function<void(TreeNode& node)>;

  virtual ~TreeView() = default;

  virtual void Clear() = 0;
  virtual int Count() const = 0;
  // Adds a top-level node without key, text or image.
  virtual TreeNode& Add() = 0;
  // Adds the last child of `relative`. An empty key adds the node without a key; a key already in
  // the tree fails with 35602.
  virtual TreeNode& AddChild(TreeNode& relative, const std::string& key, const std::string& text,
                             const std::string& image) = 0;
  // The node at a 1-based index (35601 outside 1..Count()).
  virtual TreeNode& Item(int index) = 0;
  // Removes the node at a 1-based index together with all its descendants.
  virtual void Remove(int index) = 0;
  // The selected node (the one last clicked or selected), or null.
  virtual TreeNode* SelectedItem() const = 0;
  // When true, the top-level nodes are kept in the order of their captions.
  virtual void SetSorted(bool sorted) = 0;
  virtual void SetLabelEdit(LabelEditMode mode) = 0;
  // Joins the captions of FullPath; "\" unless the host chose another.
  virtual std::string PathSeparator() const = 0;
  // Lets the host handle its pending events once (a long page build stays responsive).
  virtual void ProcessEvents() = 0;

  // The handler for NodeClick; an empty function unbinds. The tree raises it for every click on
  // a node, after the node has become the selected one.
  virtual void SetNodeClickHandler(NodeClickHandler handler) = 0;
};

}  // namespace kivdb
