// Command texts: "EXEC " + queryIs + the parameter the kind takes from the selected node.

#include "control/core/query_parameters.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <kivdb/memory_tree_view.h>

namespace kivdb {
namespace {

TEST(BuildParameter, EveryKindOnEveryKindOfNode) {
  MemoryTreeView tree;
  TreeNode& root = tree.Add();
  root.SetText("Data Browser");
  TreeNode& numbered = tree.AddChild(root, "0000000042G17", "North", "");
  TreeNode& lettered = tree.AddChild(root, "ALFKIG18", "O'Brien", "");
  TreeNode& quoted = tree.AddChild(root, "O'B'CG19", "x", "");
  TreeNode& huge = tree.AddChild(root, "9999999999G20", "x", "");
  const DateTime today{2004, 3, 5, 14, 7, 9};

  struct Case {
    const char* kind;
    const TreeNode* node;
    const char* expected;
  };
  const Case cases[] = {
      {"Text", &numbered, " 'North'"},
      {"tExT", &numbered, " 'North'"},
      {"Text", &lettered, " 'O''Brien'"},  // quotes doubled, so the command stays whole
      {"Text ", &numbered, " "},           // not the word Text: an unrecognised kind
      {"Today", &numbered, " '05 Mar 2004'"},
      {"TODAY", nullptr, " '05 Mar 2004'"},
      {"LKey", &numbered, " 42"},
      {"lkey_anything", &numbered, " 42"},
      {"LKey", &lettered, ""},  // no number: the command ends right after the query
      {"LKey", &root, ""},
      {"LKey", &huge, ""},  // beyond a long integer
      {"LKey", nullptr, ""},
      {"CKey05", &lettered, " 'ALFKI'"},
      {"ckey05", &lettered, " 'ALFKI'"},
      {"CKey12", &numbered, " '0000000042G1'"},
      {"CKey5", &lettered, " ''"},  // "y5" reads as no length
      {"CKey05", &root, " ''"},
      {"CKey04", &quoted, " 'O''B'''"},
      {"CKey99", &lettered, " 'ALFKIG18'"},
      {"CKey05", nullptr, ""},
      {"None", &numbered, " "},
      {"", &numbered, " "},
      {"Key", &numbered, " "},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BuildParameter(c.kind, c.node, today), c.expected)
        << "kind '" << c.kind << "' on " << (c.node ? c.node->Key() : "no node");
  }
}

TEST(BuildCommand, ConstantsInTheQueryComeBeforeTheNodeParameter) {
  MemoryTreeView tree;
  TreeNode& node = tree.AddChild(tree.Add(), "0000000007G3", "Seven", "");
  const DateTime today{2004, 3, 5};
  EXPECT_EQ(BuildCommand("spW_Orders 0,", "LKey", &node, today), "EXEC spW_Orders 0, 7");
  EXPECT_EQ(BuildCommand("spG_All", "", &node, today), "EXEC spG_All ");
  EXPECT_EQ(BuildCommand("spW_Odd", "LKey", nullptr, today), "EXEC spW_Odd");
}

TEST(BuildParameter, KeysAreCutByCharactersNotBytes) {
  MemoryTreeView tree;
  TreeNode& node = tree.AddChild(tree.Add(), "Ünïcø", "x", "");
  EXPECT_EQ(BuildParameter("CKey03", &node, DateTime{}), " 'Ünï'");
}

}  // namespace
}  // namespace kivdb
