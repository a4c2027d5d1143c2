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
constexpr const char* kReadFailed = "Error Reading Data From Database";

// Runs one step whose failure is passed over, so that the next step still runs.
template <class Step>
void Try(Step step) {
  try {
    step();
  } catch (...) {
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

std::string ImageOf(const std::string& icon) {
  return icon.empty() ? "group" : icon;
}

}  // namespace

void KivDB::Impl::RefreshBrowser() {
  if (buildingPage) return;
  LoadSchemes();
  TreeNode* root = nullptr;
  Try([&] { Tree().Clear(); });
  Try([&] { Tree().SetSorted(true); });
  Try([&] { root = &Tree().Add(); });
  if (root) {
    Try([&] { root->SetTag(NodeTag(Variant(int32_t{scheme::kRootId}), "F")); });
    Try([&] { root->SetText("Data Browser"); });
    Try([&] { root->SetForeColor(kBlue); });
    Try([&] { root->SetImage("Net"); });
    Try([&] { root->SetExpanded(true); });
    Try([&] { root->SetSelected(true); });
  }
  Try([&] { ExpandNode(Selected()); });
  Try([&] { Web().Navigate(FolderPath("fp.htm")); });
}

void KivDB::Impl::ExpandNode(TreeNode& node) {
  if (buildingPage) return;
  try {
    Web().Navigate("about:blank");
    mayAddChildren = node.Children() == 0;
    const TagParts tag = ParseTag(node.Tag());
    CollapseSiblings();
    // Parameters come from the node selected now, the clicked one, even if the host's event
    // processing during the page build selects another.
    const std::optional<SelectedNode> selected = SelectedNodeOf(Tree().SelectedItem());
    const NavRow row = RowOf(schemes, tag.schemeId);
    const bool allowed = IsRoleAllowed(row.roles, userRole);

    // A child made from the current record of a query, under `node`.
    auto addGenerated = [&](Recordset& records, const std::string& icon,
                            const std::string& childTag) {
      const int count = Tree().Count();
      TreeNode& child = Tree().AddChild(node, GeneratedKey(records.Fields(0).Value(), count),
                                        records.Fields(1).Value().ToText(), ImageOf(icon));
      child.SetTag(childTag);
      child.SetForeColor(kBlue);
    };
    // Reads a query and adds a child per record; false (after the message) when the read failed.
    auto addRecords = [&](const std::string& query, const std::string& parm,
                          const std::string& icon, const std::string& childTag) {
      const std::string command = BuildCommand(query, parm, selected, Today());
      if (!ReadData(command, workRecordset)) {
        Message(kReadFailed);
        return false;
      }
      Recordset& records = Need(workRecordset);
      records.MoveFirst();
      while (!records.Eof() && mayAddChildren) {
        addGenerated(records, icon, childTag);
        records.MoveNext();
      }
      return true;
    };
    auto finish = [&] {
      node.SetExpanded(true);
      ShowPage(row.id);
      node.EnsureVisible();
    };

    if (tag.type == "F") {
      if (!allowed) return;
      for (const size_t r : schemes.NavChildren(tag.schemeId)) {
        if (!mayAddChildren) break;
        const Variant& id = schemes.Nav(nav::ID, r);
        TreeNode& child =
            Tree().AddChild(node, FixedKey(id), schemes.Nav(nav::descriptionIs, r).ToText(),
                            ImageOf(schemes.Nav(nav::iconIs, r).ToText()));
        child.SetTag(NodeTag(id, schemes.Nav(nav::typeIs, r).ToText()));
        child.SetForeColor(kBlue);
      }
      finish();
    } else if (tag.type == "G") {
      if (!allowed) return;
      // The children take the scheme ID and type of the first row below this one; without such
      // a row they are leaves of scheme ID 0 that open nothing.
      std::string childIcon;
      std::string childTag = NodeTag(Variant(int32_t{0}), "");
      const std::vector<size_t>& below = schemes.NavChildren(tag.schemeId);
      if (!below.empty()) {
        childIcon = schemes.Nav(nav::iconIs, below.front()).ToText();
        childTag = NodeTag(schemes.Nav(nav::ID, below.front()),
                           schemes.Nav(nav::typeIs, below.front()).ToText());
      }
      if (!addRecords(row.query, row.parm, childIcon, childTag)) return;
      finish();
    } else if (tag.type == "R") {
      if (!allowed) return;
      if (!addRecords(row.query, row.parm, row.icon, NodeTag(row.idValue, row.type))) return;
      workRecordset.reset();
      node.SetExpanded(true);
      ShowPage(row.id);
      // N rows below a recurring row add the records of their own queries at every level.
      for (const size_t r : schemes.NavChildren(tag.schemeId)) {
        if (text::Upper(schemes.Nav(nav::typeIs, r).ToText()) != "N") continue;
        const std::string query = schemes.Nav(nav::queryIs, r).ToText();
        if (query.empty()) continue;
        if (!addRecords(query, schemes.Nav(nav::parmIs, r).ToText(),
                        schemes.Nav(nav::iconIs, r).ToText(),
                        NodeTag(schemes.Nav(nav::ID, r), "N"))) {
          return;
        }
        node.SetExpanded(true);
      }
      node.EnsureVisible();
    } else if (tag.type == "N") {
      if (!allowed) return;
      ShowPage(row.id);
      node.EnsureVisible();
    } else {
      node.EnsureVisible();
    }
  } catch (...) {
    ReportCurrentFailure();
  }
}

void KivDB::Impl::CollapseSiblings() {
  TreeNode* selected = nullptr;
  Try([&] { selected = Tree().SelectedItem(); });
  if (!selected) return;
  TreeNode* i = selected->FirstSibling();
  if (!i) return;
  if (i != selected) {
    Try([&] {
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
      Try([&] {
        while (next->Children() > 0) Tree().Remove(next->Child()->Index());
      });
    }
    i = next;
  }
}

}  // namespace kivdb
