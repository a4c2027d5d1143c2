#pragma once
// Query parameters: node and paragraph queries run as "EXEC " + queryIs + a parameter taken from
// the tree node the user selected, chosen by the scheme's parameter kind (parmIs):
//   Text    " '" + the node's caption + "'"
//   Today   " '" + today as "dd Mmm yyyy" + "'"
//   LKey    " " + the key's first 10 characters read as a long integer (leading zeros drop)
//   CKeynn  " '" + the key's first nn characters + "'"
//   other   " " (None, empty, or any kind not recognised)
// Single quotes inside a caption or key are doubled, so the text stays one quoted argument.
// When the parameter cannot be built (no selected node; a key that is no number for LKey) the
// result is empty, and the command ends right after queryIs.

#include <optional>
#include <string>
#include <string_view>

#include <kivdb/tree_view.h>
#include <kivdb/variant.h>

namespace kivdb {

// What a parameter reads of the selected node, taken once so that a page keeps to the node it is
// built for.
struct SelectedNode {
  std::string caption;
  std::string key;
};
// Nothing for a null node.
std::optional<SelectedNode> SelectedNodeOf(const TreeNode* node);

// `selected` is the tree's selected node, nothing (or null) when there is none.
std::string BuildParameter(std::string_view kind, const std::optional<SelectedNode>& selected,
                           const DateTime& today);
std::string BuildParameter(std::string_view kind, const TreeNode* selected, const DateTime& today);

// "EXEC " + queryIs + BuildParameter(parmIs), with nothing between them.
std::string BuildCommand(std::string_view queryIs, std::string_view parmIs,
                         const std::optional<SelectedNode>& selected, const DateTime& today);
std::string BuildCommand(std::string_view queryIs, std::string_view parmIs,
                         const TreeNode* selected, const DateTime& today);

}  // namespace kivdb
