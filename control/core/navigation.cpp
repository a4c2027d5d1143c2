// The navigation tree: RefreshBrowser builds the root, ExpandNode answers every click by adding
// the node's children from the scheme and its queries, and CollapseSiblings keeps one open branch
// per level.

#include <cmath>
#include <optional>

#include <kivdb/error.h>
#include "control/core/control_impl.h"
#include "control/core/navigation_rules.h"
#include "control/core/query_parameters.h"
#include "control/core/text_util.h"
#include "scheme/scheme_codes.h"

namespace kivdb {
namespace {

namespace nav = scheme::nav;
using scheme::NodeType;
constexpr const char* kReadFailed = "Error Reading Data From Database";

// Runs one step of `control` whose failure is reported (while Talking) and passed over, so that
// the next step still runs.
template <class Control, class Step>
void Try(const Control& control, Step step) {
  try {
    step();
  } catch (...) {
    control.ReportCurrentFailure();
  }
}

// The XST1 row a node stands for. A scheme ID without a row gives a row of that ID with nothing
// else: no query, no roles, no children of its own.
struct NavRow {
  std::optional<size_t> index;
  long id = 0;
  Variant idValue;
  std::string type, query, parm, icon, roles;
};

NavRow RowOf(const SchemeTables& schemes, long schemeId) {
  NavRow row;
  row.index = schemes.NavRowById(schemeId);
  row.id = schemeId;
  row.idValue = Variant(static_cast<int32_t>(schemeId));
  if (!row.index) return row;
  const size_t r = *row.index;
  row.idValue = schemes.Nav(nav::ID, r);
  row.type = schemes.Nav(nav::typeIs, r).ToText();
  row.query = schemes.Nav(nav::queryIs, r).ToText();
  row.parm = schemes.Nav(nav::parmIs, r).ToText();
  row.icon = schemes.Nav(nav::iconIs, r).ToText();
  row.roles = schemes.Nav(nav::roleIs, r).ToText();
  return row;
}

// A type code as a node's Tag ends in it.
std::string CodeText(NodeType type) {
  return std::string(1, scheme::CodeOf(type));
}

std::string ImageOf(const std::string& icon) {
  return icon.empty() ? "group" : icon;
}

}  // namespace

void KivDB::Impl::RefreshBrowser() {
  if (buildingPage) return;
  LoadSchemes();
  TreeNode* root = nullptr;
  Try(*this, [&] { Tree().Clear(); });
  Try(*this, [&] { Tree().SetSorted(true); });
  Try(*this, [&] { root = &Tree().Add(); });
  if (root) {
    Try(*this, [&] {
      root->SetTag(NodeTag(Variant(int32_t{scheme::kRootId}), CodeText(NodeType::Fixed)));
    });
    Try(*this, [&] { root->SetText(std::string(scheme::kRootCaption)); });
    Try(*this, [&] { root->SetForeColor(kBlue); });
    Try(*this, [&] { root->SetImage("Net"); });
    Try(*this, [&] { root->SetExpanded(true); });
    Try(*this, [&] { root->SetSelected(true); });
  }
  Try(*this, [&] { ExpandNode(Selected()); });
  Try(*this, [&] { Web().Navigate(FolderPath(kFrontPageFile)); });
}

// One click on a node: the node, its XST1 row and the selected node's parameters, taken once, and
// the phases that add the node's children, one per node type. Children are added only to a node
// that had none.
struct KivDB::Impl::Expansion {
  Impl& control;
  TreeNode& node;
  TagParts tag;
  NavRow row;
  std::optional<SelectedNode> selected;
  bool mayAddChildren = false;

  void Fixed();
  void Generating();
  void Recurring();
  void NonGenerating();

  // Shows the node open, with its page.
  void Finish();
  // Reads a query and adds a child per record; false (after the message) when the read failed.
  bool AddRecords(const std::string& query, const std::string& parm, const std::string& icon,
                  const std::string& childTag);
  // A child made from the current record of a query.
  void AddGenerated(Recordset& records, const std::string& icon, const std::string& childTag);
};

void KivDB::Impl::Expansion::Finish() {
  node.SetExpanded(true);
  control.ShowPage(row.id);
  node.EnsureVisible();
}

bool KivDB::Impl::Expansion::AddRecords(const std::string& query, const std::string& parm,
                                        const std::string& icon, const std::string& childTag) {
  const std::string command = BuildCommand(query, parm, selected, control.Today());
  std::shared_ptr<Recordset> read;
  if (!control.ReadData(command, read)) {
    control.Message(kReadFailed);
    return false;
  }
  Recordset& records = Need(read);
  records.MoveFirst();
  while (!records.Eof() && mayAddChildren) {
    AddGenerated(records, icon, childTag);
    records.MoveNext();
  }
  return true;
}

void KivDB::Impl::Expansion::AddGenerated(Recordset& records, const std::string& icon,
                                          const std::string& childTag) {
  TreeView& tree = control.Tree();
  const int count = tree.Count();
  TreeNode& child = tree.AddChild(node, GeneratedKey(records.Fields(0).Value(), count),
                                  records.Fields(1).Value().ToText(), ImageOf(icon));
  child.SetTag(childTag);
  child.SetForeColor(kBlue);
}

// A fixed node's children are the XST1 rows below it.
void KivDB::Impl::Expansion::Fixed() {
  const SchemeTables& schemes = control.schemes;
  for (const size_t r : schemes.NavChildren(tag.schemeId)) {
    if (!mayAddChildren) break;
    const Variant& id = schemes.Nav(nav::ID, r);
    TreeNode& child =
        control.Tree().AddChild(node, FixedKey(id), schemes.Nav(nav::descriptionIs, r).ToText(),
                                ImageOf(schemes.Nav(nav::iconIs, r).ToText()));
    child.SetTag(NodeTag(id, schemes.Nav(nav::typeIs, r).ToText()));
    child.SetForeColor(kBlue);
  }
  Finish();
}

// A generating node's children are the records of its query. They take the scheme ID and type of
// the first row below this one; without such a row they are leaves of scheme ID 0 that open
// nothing.
void KivDB::Impl::Expansion::Generating() {
  const SchemeTables& schemes = control.schemes;
  std::string childIcon;
  std::string childTag = NodeTag(Variant(int32_t{0}), "");
  const std::vector<size_t>& below = schemes.NavChildren(tag.schemeId);
  if (!below.empty()) {
    childIcon = schemes.Nav(nav::iconIs, below.front()).ToText();
    childTag = NodeTag(schemes.Nav(nav::ID, below.front()),
                       schemes.Nav(nav::typeIs, below.front()).ToText());
  }
  if (!AddRecords(row.query, row.parm, childIcon, childTag)) return;
  Finish();
}

// A recurring node's children are the records of its own query, recurring again; N rows below it
// add the records of their own queries at every level.
void KivDB::Impl::Expansion::Recurring() {
  const SchemeTables& schemes = control.schemes;
  if (!AddRecords(row.query, row.parm, row.icon, NodeTag(row.idValue, row.type))) return;
  node.SetExpanded(true);
  control.ShowPage(row.id);
  for (const size_t r : schemes.NavChildren(tag.schemeId)) {
    if (text::Upper(schemes.Nav(nav::typeIs, r).ToText()) != CodeText(NodeType::NonGenerating)) {
      continue;
    }
    const std::string query = schemes.Nav(nav::queryIs, r).ToText();
    if (query.empty()) continue;
    if (!AddRecords(query, schemes.Nav(nav::parmIs, r).ToText(),
                    schemes.Nav(nav::iconIs, r).ToText(),
                    NodeTag(schemes.Nav(nav::ID, r), CodeText(NodeType::NonGenerating)))) {
      return;
    }
    node.SetExpanded(true);
  }
  node.EnsureVisible();
}

// A non-generating node opens its page only.
void KivDB::Impl::Expansion::NonGenerating() {
  control.ShowPage(row.id);
  node.EnsureVisible();
}

void KivDB::Impl::ExpandNode(TreeNode& node) {
  if (buildingPage) return;
  try {
    Web().Navigate("about:blank");
    Expansion expansion{*this, node, {}, {}, {}, node.Children() == 0};
    expansion.tag = ParseTag(node.Tag());
    CollapseSiblings();
    // Parameters come from the node selected now, the clicked one, even if the host's event
    // processing during the page build selects another.
    expansion.selected = SelectedNodeOf(Tree().SelectedItem());
    expansion.row = RowOf(schemes, expansion.tag.schemeId);
    const bool allowed = IsRoleAllowed(expansion.row.roles, userRole);

    // The tag's type is one capital letter or nothing.
    const std::optional<NodeType> type = scheme::NodeTypeOf(expansion.tag.type);
    if (!type) {
      node.EnsureVisible();
      return;
    }
    if (!allowed) return;
    switch (*type) {
      case NodeType::Fixed:
        expansion.Fixed();
        break;
      case NodeType::Generating:
        expansion.Generating();
        break;
      case NodeType::Recurring:
        expansion.Recurring();
        break;
      case NodeType::NonGenerating:
        expansion.NonGenerating();
        break;
    }
  } catch (...) {
    ReportCurrentFailure();
  }
}

void KivDB::Impl::CollapseSiblings() {
  TreeNode* selected = nullptr;
  Try(*this, [&] { selected = Tree().SelectedItem(); });
  if (!selected) return;
  TreeNode* i = selected->FirstSibling();
  if (!i) return;
  if (i != selected) {
    Try(*this, [&] {
      while (i->Children() > 0) {
        i->SetExpanded(false);
        Tree().Remove(i->Child()->Index());
      }
    });
  }
  while (i && i != selected->LastSibling()) {
    TreeNode* next = i->Next();
    if (!next) break;
    if (next != selected) {
      Try(*this, [&] {
        while (next->Children() > 0) Tree().Remove(next->Child()->Index());
      });
    }
    i = next;
  }
}

}  // namespace kivdb
