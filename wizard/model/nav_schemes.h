#pragma once
// clsNavSchemes: the whole design the wizard works on. Holds the navigation scheme's nodes in
// insertion order, each filed under its ID as decimal text, and owns the web display scheme
// (oWebs). Saves and loads the schemes, deletes subtrees, renumbers, merges edited copies back
// after checking the rules a single edit can break, analyses the scheme, and draws the tree and
// the node grid. What the user does in the views goes to the wizard's commands, not here.

#include <memory>
#include <string>
#include <string_view>

#include "wizard/model/keyed_collection.h"
#include "wizard/model/nav_scheme.h"
#include "wizard/model/numbers.h"
#include "wizard/model/views.h"
#include "wizard/model/web_schemes.h"

namespace kivwz {

class clsNavSchemes {
 public:
  using Node = std::shared_ptr<clsNavScheme>;
  using NodeList = KeyedCollection<clsNavScheme>;

  clsNavSchemes() = default;
  clsNavSchemes(const clsNavSchemes&) = delete;
  clsNavSchemes& operator=(const clsNavSchemes&) = delete;

  // The web display scheme.
  clsWebSchemes oWebs;

  // Files the node itself under its ID after all others; a taken ID adds nothing.
  void Add(Node oNavScheme);
  Long Count() const { return static_cast<Long>(nodes_.Count()); }
  void Remove(std::string_view vIndex) { nodes_.Remove(vIndex); }
  void Remove(Long vIndex) { nodes_.Remove(vIndex); }
  // The node filed under the key; a number means its decimal text, not a position.
  Node Item(std::string_view vIndex) const { return nodes_.Item(vIndex); }
  Node Item(Long vIndex) const { return nodes_.Item(vIndex); }
  const NodeList& NewEnum() const { return nodes_; }
  NodeList::const_iterator begin() const { return nodes_.begin(); }
  NodeList::const_iterator end() const { return nodes_.end(); }

  // Numbers the tree 1, 2, 3, ... in depth-first pre-order from the root (the first node whose
  // parentIs is 0), siblings in collection order; nodes the walk cannot reach follow in
  // collection order. Parent references and paragraphs follow. Afterwards each node's tID holds
  // its previous ID until the paragraphs have been renumbered. False only for an empty scheme.
  bool Renumber();
  // The default scheme: the root "Data Browser" alone, no paragraphs.
  void NewScheme();
  // Deletes the node filed under dKey, its whole subtree and the paragraphs of every deleted node.
  // The root is not protected here.
  void DelNode(std::string_view dKey);

  // The views and message boxes are the window's; they must outlive their binding (nullptr
  // unbinds). Unbound, drawing is skipped and messages are dropped.
  void SetGrid(Grid* oGrid) { grid_ = oGrid; }
  void SetTreeview(TreeView* oTV) { treeView_ = oTV; }
  void SetMessageBoxes(MessageBoxes* oMessages) { messages_ = oMessages; }
  // Redraws the tree, selects the node last clicked again, then redraws the node grid.
  void DispInTV();
  void DispInGrid();
  void DisplayFullWeb() { oWebs.DispInGrid(0); }
  void DispOrphans() { oWebs.DispOrphans(*this); }

  // The root and the nodes below it, in tree order. False, writing nothing, for a scheme without
  // a root or when the file cannot be written; the previous file survives a failed save.
  bool SaveData(const std::string& vFile) const;
  // What SaveData writes; false, leaving `content` alone, for a scheme without a root.
  bool FileText(std::string& content) const;
  // The nodes SaveData leaves out: those no parent chain leads to from the root (a second root,
  // a cycle, a node that is its own parent, a missing parent). All of them without a root.
  Long NodesOutsideTree() const;
  // Replaces every node with those of the file, then redraws the tree; false, changing nothing,
  // when the file cannot be read. Paragraphs are kept.
  bool LoadData(const std::string& vFile);
  // LoadData on a file's content already read.
  void LoadText(std::string_view content);
  bool SaveWeb(const std::string& vFile) const { return oWebs.SaveData(vFile); }
  // Loads the paragraphs, then shows all of them.
  bool LoadWeb(const std::string& oFile);

  // The highest ID as text, "0" when there is none above 0.
  std::string MaxID() const;
  // A detached copy of the node filed under skey (blank when absent); the working fields are not
  // copied.
  Node CloneNav(std::string_view skey) const;
  // Merges an edited node back, or adds it when no node has its ID, after the rule checks; a
  // refusal is shown in a message box and leaves the scheme as it was.
  bool FuseNav(const Node& oFuse);
  // The same for a paragraph of oWebs; refuses an empty query.
  bool FuseWeb(const std::shared_ptr<clsWebScheme>& oFuse);

  // The number of nodes whose parentIs is oNode's ID.
  int GetChildren(const clsNavScheme& oNode) const;
  // True for a "G" node with a child of type "F".
  bool IsFType(const clsNavScheme& oNode) const;

  std::string CheckNav() const;
  std::string NavToDo() const;

  // What a click on the node with that tree key ("N5") shows: its paragraphs in the grid, the
  // node opened, and the node remembered as the current one.
  void OnTreeNodeClick(const std::string& treeKey);

  // The tree key of the node last clicked ("N5"); the next redraw selects it again. A key that
  // names no node selects nothing, which leaves only the root expanded.
  const std::string& CurrentKey() const { return currentKey_; }
  void SetCurrentKey(std::string treeKey) { currentKey_ = std::move(treeKey); }

 private:
  void Inform(const std::string& text);

  NodeList nodes_;
  Long counter_ = 0;  // the last number Renumber gave out
  TreeView* treeView_ = nullptr;
  Grid* grid_ = nullptr;
  MessageBoxes* messages_ = nullptr;
  std::string currentKey_;
};

}  // namespace kivwz
