#include "wizard/model/nav_schemes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>
#include <vector>

#include "builders.h"
#include "wizard/model/memory_views.h"

namespace kivwz {
namespace {

using test::IdsInOrder;
using test::Node;
using test::Paragraph;

TEST(clsNavScheme, QueryAndParameterFollowTheType) {
  using Step = std::function<void(clsNavScheme&)>;
  const auto type = [](std::string v) { return Step([v](clsNavScheme& n) { n.typeIs(v); }); };
  const auto query = [](std::string v) { return Step([v](clsNavScheme& n) { n.queryIs(v); }); };
  const auto parm = [](std::string v) { return Step([v](clsNavScheme& n) { n.parmIs(v); }); };
  struct Case {
    const char* name;
    std::vector<Step> steps;
    const char* query;
    const char* parm;
  } cases[] = {
      {"fresh record keeps a query", {query("q"), parm("LKey")}, "q", "LKey"},
      {"query before type F is emptied by the type", {query("q"), parm("p"), type("F")}, "", ""},
      {"type N first drops the query", {type("N"), query("q"), parm("p")}, "", ""},
      {"G keeps both", {type("G"), query("q"), parm("Text")}, "q", "Text"},
      {"N empties, G later does not bring it back",
       {type("G"), query("q"), parm("LKey"), type("N"), query("x"), type("G")},
       "",
       ""},
      {"lower-case f and n clear nothing", {type("f"), query("q"), type("n"), parm("p")}, "q", "p"},
      {"R keeps both", {type("R"), query("q"), parm("CKey05")}, "q", "CKey05"},
  };
  for (const Case& c : cases) {
    clsNavScheme node;
    for (const Step& step : c.steps) step(node);
    EXPECT_EQ(node.queryIs(), c.query) << c.name;
    EXPECT_EQ(node.parmIs(), c.parm) << c.name;
  }
}

clsNavSchemes& DefaultScheme(clsNavSchemes& navs) {
  navs.NewScheme();
  return navs;
}

TEST(clsNavSchemes, FilesNodesUnderTheirIdText) {
  clsNavSchemes navs;
  EXPECT_EQ(navs.MaxID(), "0");
  DefaultScheme(navs);
  EXPECT_EQ(navs.MaxID(), "1");
  navs.Add(Node(5, 1, "N"));
  EXPECT_EQ(navs.Item("5"), navs.Item(5));
  EXPECT_EQ(navs.Item("05"), nullptr);
  EXPECT_EQ(navs.Item(2), nullptr);  // a number is a key, not a position

  auto second = Node(5, 1, "F", "", "Second");
  navs.Add(second);
  EXPECT_EQ(navs.Count(), 2);
  EXPECT_EQ(navs.Item(5)->descriptionIs, "Node 5");

  navs.Remove("77");  // absent: ignored
  EXPECT_EQ(navs.Count(), 2);
  navs.Remove(5);
  EXPECT_EQ(navs.Count(), 1);

  clsNavSchemes negatives;
  negatives.Add(Node(-4, 0, "F"));
  EXPECT_EQ(negatives.MaxID(), "0");
}

TEST(clsNavSchemes, NewSchemeIsTheRootAloneWithoutParagraphs) {
  clsNavSchemes navs;
  navs.Add(Node(9, 0, "G", "q"));
  navs.oWebs.Add(Paragraph(1, 9, 1));
  navs.NewScheme();
  ASSERT_EQ(navs.Count(), 1);
  const auto root = navs.Item(1);
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->descriptionIs, "Data Browser");
  EXPECT_EQ(root->parentIs, 0);
  EXPECT_EQ(root->typeIs(), "F");
  EXPECT_EQ(root->iconIs, "leaf");
  EXPECT_EQ(root->queryIs() + root->parmIs() + root->roleIs, "");
  EXPECT_EQ(navs.oWebs.Count(), 0);
}

TEST(clsNavSchemes, ChildrenAndFixedChildren) {
  clsNavSchemes navs;
  navs.Add(Node(1, 0, "F"));
  navs.Add(Node(2, 1, "G", "q"));
  navs.Add(Node(3, 2, "N"));
  navs.Add(Node(4, 2, "F"));
  navs.Add(Node(5, 1, "F"));
  navs.Add(Node(6, 5, "F"));
  EXPECT_EQ(navs.GetChildren(*navs.Item(1)), 2);
  EXPECT_EQ(navs.GetChildren(*navs.Item(2)), 2);
  EXPECT_EQ(navs.GetChildren(*navs.Item(3)), 0);
  EXPECT_TRUE(navs.IsFType(*navs.Item(2)));
  EXPECT_FALSE(navs.IsFType(*navs.Item(5)));  // not of type G
  navs.Remove(4);
  EXPECT_FALSE(navs.IsFType(*navs.Item(2)));
}

TEST(clsNavSchemes, CloneNavIsADetachedCopy) {
  clsNavSchemes navs;
  auto stored = Node(4, 1, "G", "spG_X", "Customers", "LKey");
  stored->roleIs = "1:3";
  stored->tID = 9;
  navs.Add(stored);
  const auto copy = navs.CloneNav("4");
  ASSERT_NE(copy, stored);
  EXPECT_EQ(copy->ID(), 4);
  EXPECT_EQ(copy->queryIs(), "spG_X");
  EXPECT_EQ(copy->parmIs(), "LKey");
  EXPECT_EQ(copy->roleIs, "1:3");
  EXPECT_EQ(copy->tID, 0);
  copy->descriptionIs = "Changed";
  EXPECT_EQ(stored->descriptionIs, "Customers");

  const auto blank = navs.CloneNav("40");
  EXPECT_EQ(blank->ID(), 0);
  EXPECT_EQ(blank->typeIs(), "");
  EXPECT_EQ(blank->descriptionIs, "");
}

// Every field of every node in order, to see that a refused merge changed nothing.
std::string Snapshot(const clsNavSchemes& navs) {
  std::ostringstream out;
  for (const auto& n : navs) {
    out << n->ID() << '|' << n->descriptionIs << '|' << n->typeIs() << '|' << n->parentIs << '|'
        << n->queryIs() << '|' << n->parmIs() << '|' << n->iconIs << '|' << n->roleIs << '\n';
  }
  return out.str();
}

// 1 F: 2 R, 3 N, 4 G (child 5 N), 6 F (children 7, 8, 9 N).
void BuildRuleScheme(clsNavSchemes& navs) {
  navs.Add(Node(1, 0, "F"));
  navs.Add(Node(2, 1, "R", "spG_R"));
  navs.Add(Node(3, 1, "N"));
  navs.Add(Node(4, 1, "G", "spG_G"));
  navs.Add(Node(5, 4, "N"));
  navs.Add(Node(6, 1, "F"));
  for (Long id : {7, 8, 9}) navs.Add(Node(id, 6, "N"));
}

TEST(clsNavSchemes, FuseNavRefusesWhatBreaksARule) {
  const std::string parentMessage =
      "The Parent of this Node is of Recurring or Non-Generating type. Changes cannot be saved";
  struct Case {
    const char* name;
    std::function<std::shared_ptr<clsNavScheme>(const clsNavSchemes&)> edit;
    std::string message;
  } cases[] = {
      {"valid child of an R node", [](auto&) { return Node(20, 2, "N"); }, parentMessage},
      {"valid child of an N node", [](auto&) { return Node(20, 3, "G", "q"); }, parentMessage},
      {"F with three children made R",
       [](auto& navs) {
         auto edit = navs.CloneNav("6");
         edit->typeIs("R");
         edit->queryIs("q");
         return edit;
       },
       "This Node is having Child Nodes. No child Nodes Allowed for Recurring Node. Changes not "
       "saved"},
      {"F with three children made N",
       [](auto& navs) {
         auto edit = navs.CloneNav("6");
         edit->typeIs("N");
         return edit;
       },
       "This Node is having Child Nodes. No child Nodes Allowed for Non-Generating Node. Changes "
       "not saved"},
      {"F with three children made G",
       [](auto& navs) {
         auto edit = navs.CloneNav("6");
         edit->typeIs("G");
         edit->queryIs("q");
         return edit;
       },
       "This Node is having more than one Child Nodes. Only One Child Node Allowed for Generating "
       "Node. Changes not saved"},
      {"new G without query", [](auto&) { return Node(20, 1, "G"); },
       "No Generating Query or Stored procedure specified. Changes not saved"},
      {"R emptied of its query",
       [](auto& navs) {
         auto edit = navs.CloneNav("2");
         edit->queryIs("");
         return edit;
       },
       "No Generating Query or Stored procedure specified. Changes not saved"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    clsNavSchemes navs;
    MemoryMessageBoxes messages;
    navs.SetMessageBoxes(&messages);
    BuildRuleScheme(navs);
    const std::string before = Snapshot(navs);
    EXPECT_FALSE(navs.FuseNav(c.edit(navs)));
    EXPECT_EQ(messages.Shown(), std::vector<std::string>{c.message});
    EXPECT_EQ(Snapshot(navs), before);
  }
}

TEST(clsNavSchemes, FuseNavAddsNewNodesAndMergesEdits) {
  clsNavSchemes navs;
  MemoryMessageBoxes messages;
  navs.SetMessageBoxes(&messages);
  BuildRuleScheme(navs);

  // A G node with exactly one child and a query is accepted.
  auto generating = navs.CloneNav("4");
  generating->descriptionIs = "Customers";
  EXPECT_TRUE(navs.FuseNav(generating));
  EXPECT_EQ(navs.Item(4)->descriptionIs, "Customers");
  EXPECT_NE(navs.Item(4), generating);  // merged into the stored node, not replaced

  // A new node is stored itself.
  auto added = Node(20, 1, "G", "spG_New");
  EXPECT_TRUE(navs.FuseNav(added));
  EXPECT_EQ(navs.Item(20), added);
  EXPECT_EQ(IdsInOrder(navs), "1 2 3 4 5 6 7 8 9 20");

  // Merging copies the type before the query, so an edit to F loses the query.
  auto toFixed = navs.CloneNav("20");
  toFixed->typeIs("F");
  toFixed->roleIs = "2:5";
  EXPECT_TRUE(navs.FuseNav(toFixed));
  EXPECT_EQ(navs.Item(20)->typeIs(), "F");
  EXPECT_EQ(navs.Item(20)->queryIs(), "");
  EXPECT_EQ(navs.Item(20)->roleIs, "2:5");
  EXPECT_TRUE(messages.Shown().empty());
}

// 1: 2 (3 (4)), 5; paragraphs 10..14 on nodes 2, 3, 4, 5 and 13.
TEST(clsNavSchemes, DelNodeRemovesTheSubtreeAndItsParagraphs) {
  clsNavSchemes navs;
  navs.Add(Node(1, 0, "F"));
  navs.Add(Node(2, 1, "F"));
  navs.Add(Node(3, 2, "F"));
  navs.Add(Node(4, 3, "N"));
  navs.Add(Node(5, 1, "N"));
  navs.Add(Node(13, 5, "N"));
  Long id = 10;
  for (Long node : {2, 3, 4, 5, 13}) navs.oWebs.Add(Paragraph(id++, node, 1));
  MemoryGrid webGrid;
  navs.oWebs.SetGrid(&webGrid, 0, 0, 0, 0);

  navs.DelNode("2");
  EXPECT_EQ(IdsInOrder(navs), "1 5 13");
  std::vector<Long> left;
  for (const auto& p : navs.oWebs) left.push_back(p->XST1);
  EXPECT_EQ(left, (std::vector<Long>{5, 13}));
  EXPECT_EQ(webGrid.RowCount(), 1);  // shows the deleted node's paragraphs: none

  navs.DelNode("05");  // not a key of any node
  EXPECT_EQ(IdsInOrder(navs), "1 5 13");
}

TEST(clsNavSchemes, RenumberNumbersTheTreeInPreOrder) {
  struct Case {
    const char* name;
    std::vector<std::pair<Long, Long>> nodes;  // ID, parent, in collection order
    std::string before;
    std::string after;
  } cases[] = {
      {"7 added before 3", {{1, 0}, {7, 1}, {3, 1}, {12, 3}}, "1 7 3 12", "1 2 3 4"},
      {"3 added before 7", {{1, 0}, {3, 1}, {7, 1}, {12, 3}}, "1 3 7 12", "1 2 4 3"},
      {"already consecutive", {{1, 0}, {2, 1}, {3, 2}, {4, 1}}, "1 2 3 4", "1 2 3 4"},
      {"children before parents in the collection",
       {{30, 20}, {20, 10}, {10, 0}},
       "30 20 10",
       "3 2 1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    clsNavSchemes navs;
    for (auto [id, parent] : c.nodes) navs.Add(Node(id, parent, "F"));
    ASSERT_EQ(IdsInOrder(navs), c.before);
    ASSERT_TRUE(navs.Renumber());
    EXPECT_EQ(IdsInOrder(navs), c.after);  // order kept, numbers new
    for (const auto& node : navs) {
      EXPECT_EQ(navs.Item(node->ID()), node);
      EXPECT_EQ(node->tID, node->ID());  // left equal by the paragraph renumbering
    }
  }
}

TEST(clsNavSchemes, RenumberCarriesParentsAndParagraphsAlong) {
  clsNavSchemes navs;
  navs.Add(Node(1, 0, "F"));
  navs.Add(Node(7, 1, "G", "q"));
  navs.Add(Node(3, 1, "F"));
  navs.Add(Node(12, 3, "N"));
  navs.Add(Node(9, 7, "N"));
  navs.oWebs.Add(Paragraph(1, 7, 1));
  navs.oWebs.Add(Paragraph(2, 12, 1));
  navs.oWebs.Add(Paragraph(3, 99, 1));  // no node 99
  ASSERT_TRUE(navs.Renumber());
  // Pre-order: 1, 7 -> 2, 9 -> 3, 3 -> 4, 12 -> 5.
  EXPECT_EQ(IdsInOrder(navs), "1 2 4 5 3");
  EXPECT_EQ(navs.Item(3)->parentIs, 2);
  EXPECT_EQ(navs.Item(5)->parentIs, 4);
  EXPECT_EQ(navs.Item(7), nullptr);
  EXPECT_EQ(navs.Item(12), nullptr);
  const auto& p1 = *navs.oWebs.Item(1);
  const auto& p2 = *navs.oWebs.Item(2);
  const auto& p3 = *navs.oWebs.Item(3);
  EXPECT_EQ(p1.XST1, 2);
  EXPECT_EQ(p1.status, "C");
  EXPECT_EQ(p2.XST1, 5);
  EXPECT_EQ(p3.XST1, 0);
  EXPECT_EQ(p3.status, "O");

  clsNavSchemes empty;
  EXPECT_FALSE(empty.Renumber());
}

TEST(clsNavSchemes, RenumberGivesUnreachableNodesTheFollowingNumbers) {
  clsNavSchemes navs;
  navs.Add(Node(40, 99, "N"));  // dangling parent, before the root in the collection
  navs.Add(Node(1, 0, "F"));
  navs.Add(Node(7, 8, "F"));  // 7 and 8 form a cycle
  navs.Add(Node(8, 7, "F"));
  navs.Add(Node(2, 1, "N"));
  navs.Add(Node(9, 0, "F"));  // a second root
  navs.Add(Node(10, 9, "N"));
  navs.Add(Node(11, 3, "N"));  // dangling parent that would name a renumbered node
  ASSERT_TRUE(navs.Renumber());
  // Tree: 1 -> 1, 2 -> 2; then 40, 7, 8, 9, 10, 11 in collection order: 3 .. 8.
  EXPECT_EQ(IdsInOrder(navs), "3 1 4 5 2 6 7 8");
  EXPECT_EQ(navs.Item(3)->parentIs, 99);  // still names no node
  EXPECT_EQ(navs.Item(4)->parentIs, 5);   // the cycle stays a cycle
  EXPECT_EQ(navs.Item(5)->parentIs, 4);
  EXPECT_EQ(navs.Item(6)->parentIs, 0);
  EXPECT_EQ(navs.Item(7)->parentIs, 6);
  EXPECT_EQ(navs.Item(8)->parentIs, -3);  // 3 is now a node; the reference must stay dangling

  clsNavSchemes rootless;
  rootless.Add(Node(5, 6, "F"));
  rootless.Add(Node(6, 5, "F"));
  ASSERT_TRUE(rootless.Renumber());
  EXPECT_EQ(IdsInOrder(rootless), "1 2");
  EXPECT_EQ(rootless.Item(1)->parentIs, 2);
}

TEST(clsNavSchemes, DeepChainsAndCyclesAreWalkedWithoutRecursion) {
  constexpr Long kDepth = 200000;
  clsNavSchemes navs;
  navs.Add(Node(1, 0, "F"));
  for (Long id = 2; id <= kDepth; ++id) navs.Add(Node(id, id - 1, "F"));
  navs.Add(Node(kDepth + 1, kDepth + 2, "F"));
  navs.Add(Node(kDepth + 2, kDepth + 1, "F"));
  MemoryTreeView tree;
  navs.SetTreeview(&tree);
  ASSERT_TRUE(navs.Renumber());
  EXPECT_EQ(tree.NodeCount(), static_cast<std::size_t>(kDepth));
  test::ScratchDir dir;
  EXPECT_TRUE(navs.SaveData(dir.File("deep.txt")));
  navs.DelNode("1");
  EXPECT_EQ(IdsInOrder(navs), std::to_string(kDepth + 1) + " " + std::to_string(kDepth + 2));
  navs.DelNode(std::to_string(kDepth + 1));
  EXPECT_EQ(navs.Count(), 0);
}

TEST(clsNavSchemes, RootNumberedZeroIsItsOwnParentButVisitedOnce) {
  clsNavSchemes navs;
  navs.Add(Node(0, 0, "F"));
  navs.Add(Node(5, 0, "N"));
  MemoryTreeView tree;
  navs.SetTreeview(&tree);
  navs.DispInTV();
  EXPECT_EQ(tree.KeysInOrder(), (std::vector<std::string>{"N0", "N5"}));
  test::ScratchDir dir;
  ASSERT_TRUE(navs.SaveData(dir.File("XST1.txt")));
  const std::string saved = test::ReadFile(dir.File("XST1.txt"));
  EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 3);  // header, 0 and 5
  ASSERT_TRUE(navs.Renumber());
  EXPECT_EQ(IdsInOrder(navs), "1 2");
  EXPECT_EQ(navs.Item(2)->parentIs, 1);
}

}  // namespace
}  // namespace kivwz
