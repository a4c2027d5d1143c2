#pragma once
// SiteTree and IndexHtml: the navigation tree as `kivdb export` saw it, and the index page that
// shows it as nested lists that fold and unfold, each node linking to its page, which opens in a
// frame beside the tree.

#include <string>
#include <vector>

namespace kivdb::tool {

struct SiteNode {
  std::string caption;           // as the tree shows it; escaped when written
  std::string page;              // file name of the node's page in the site folder; empty for none
  std::string note;              // why the node has no page or no children; shown as a tooltip
  std::vector<size_t> children;  // indexes into SiteTree::nodes, in tree order
  bool failed = false;           // a read of its page failed: marked, and the note shown
  struct Link {
    std::string file, label;
  };
  std::vector<Link> tables = {};  // the page's tables as files, linked after the page
};

// The nodes in one flat list, so that a tree of any depth is built, walked and freed without
// recursion. Node 0 is the root.
struct SiteTree {
  std::vector<SiteNode> nodes;
  // Appends a child of `parent` and returns its index.
  size_t AddChild(size_t parent, SiteNode node);
};

struct IndexOptions {
  std::string title;      // heading of the tree and title of the page
  std::string startPage;  // what the frame shows first; empty for a blank frame
  std::string footnote;   // a remark under the tree (a cut-off walk, for example); may be empty
  int openLevels = 2;     // levels of the tree shown unfolded at first
};

// The whole index page, every line ended by CR LF.
std::string IndexHtml(const SiteTree& tree, const IndexOptions& options);

}  // namespace kivdb::tool
