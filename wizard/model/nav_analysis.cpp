// The navigation scheme's rule analysis and to-do list.

#include "wizard/model/analysis.h"
#include "wizard/model/nav_schemes.h"
#include "wizard/model/report_text.h"
#include "wizard/model/tree_walk.h"
#include "wizard/model/type_codes.h"

namespace kivwz {
namespace {

constexpr std::string_view kRule2 =
    "RULE #2 Says that there should be fixed number (1 or more) of Child Nodes for Fixed-Type "
    "Node.";
constexpr std::string_view kRule3 =
    "RULE #3 Says that there should be ONE AND ONLY ONE Child Node (of type-G, R or N) for "
    "Generating-Type Node.";
constexpr std::string_view kRule4Recurring =
    "RULE #4 Says that there should be any Child Node for Recurring-Type Node.";
constexpr std::string_view kRule4NonGenerating =
    "RULE #4 Says that there should be any Child Node for Non-Generating-Type Node.";
constexpr std::string_view kRule5Fixed =
    "RULE #5 Says that there should be NOT be any query specified for Fixed-Type Node.";
constexpr std::string_view kRule5Generating =
    "RULE #5 Says that there should be query specified for Generating-Type Node. Or else, how will "
    "they generate the child branches !";
constexpr std::string_view kRule5Recurring =
    "RULE #5 Says that there should be NOT be any query specified for Generating-Type Node.";
constexpr std::string_view kRule5NonGenerating =
    "RULE #5 Says that there should be NOT be any query specified for Non-Generating-Type Node.";

// The openings of a node type's observations, each with the rule it breaks; empty where the type's
// rule cannot be broken that way.
struct Observations {
  std::string_view tooMany, tooManyRule;
  std::string_view none, noneRule;
  std::string_view noQuery, queryGiven, queryRule;
};

Observations ObservationsOf(NodeType type) {
  switch (type) {
    case NodeType::Fixed:
      return {{},         {}, "=> There are no Child Nodes for Fixed-Type: [ID=",
              kRule2,     {}, "=> There is a Query Specifed for Fixed-Type: [ID=",
              kRule5Fixed};
    case NodeType::Generating:
      return {"=> There are more than one Child Nodes for Generating-Type: [ID=",
              kRule3,
              "=> There are no Child Nodes for Generating-Type: [ID=",
              kRule3,
              "=> There is no Query Specifed for Generating-Type: [ID=",
              {},
              kRule5Generating};
    case NodeType::Recurring:
      return {"=> There are Child Nodes for Recurring-Type: [ID=",
              kRule4Recurring,
              {},
              {},
              "=> There is no Query Specifed for Recurring-Type: [ID=",
              {},
              kRule5Recurring};
    case NodeType::NonGenerating:
      break;
  }
  return {
      "=> There are Child Nodes for Non-Generating-Type: [ID=",     kRule4NonGenerating, {}, {}, {},
      "=> There is a Query Specifed for Non-Generating-Type: [ID=", kRule5NonGenerating};
}

// The number of children of a node, and whether one of them is of type F, read from the index
// instead of a scan of the whole scheme per node.
struct Children {
  int count = 0;
  bool anyFixed = false;
};

Children ChildrenOf(const ChildIndex& index, Long id) {
  Children children;
  for (int child = index.FirstChildOf(id); child != ChildIndex::kNone;
       child = index.NextSibling(child)) {
    ++children.count;
    if (IsNodeType(index.NodeAt(child).typeIs(), NodeType::Fixed)) children.anyFixed = true;
  }
  return children;
}

}  // namespace

Analysis AnalyseNav(const clsNavSchemes& navs) {
  ReportText report(static_cast<std::size_t>(navs.Count()));
  report.Line({"THE RULES FOR FORMULATING NAVIGATIONAL SCHEME:"})
      .Line()
      .Line({"1. The Root Node should be of Type (F) Only."})
      .Line({"2. The (F) Type Node can have any number (one or more) of (F), (G), (R) or (N)-Type "
             "Nodes. Or their combinations."})
      .Line({"3. The (G)-Type SHOULD have One and Only One Node, which can be of Types (G), (R) or "
             "(N)."})
      .Line({"4. The (R) and (N) Nodes SHOULD NOT have any Child Nodes."})
      .Line({"5. The Query or Stored Procedure Name should be specified for (G) and (R) types "
             "Only."})
      .Line()
      .Line({"OBSERVATIONS WHILE CHECKING THE NAVIGATIONAL SCHEME:"})
      .Line();

  const ChildIndex index(navs.NewEnum());
  std::size_t observations = 0;
  for (const auto& node : navs) {
    const std::string id = KeyOf(node->ID());
    const auto observe = [&](std::string_view opening, std::string_view rule) {
      report.Line({opening, id, "] ", node->descriptionIs}).Line({rule}).Line();
      ++observations;
    };
    const NodeTypeRule* rule = NodeTypeRuleOf(node->typeIs());
    if (!rule) continue;
    const Observations texts = ObservationsOf(rule->type);
    const Children children = ChildrenOf(index, node->ID());
    if (HasTooManyChildren(*rule, children.count)) observe(texts.tooMany, texts.tooManyRule);
    if (children.count < rule->minChildren) observe(texts.none, texts.noneRule);
    const bool noQuery = node->queryIs().empty();
    if (rule->runsQuery && noQuery) observe(texts.noQuery, texts.queryRule);
    if (!rule->runsQuery && !noQuery) observe(texts.queryGiven, texts.queryRule);
    // Below a G node comes the one node it repeats per record: a fixed node cannot be repeated.
    if (rule->type == NodeType::Generating && children.anyFixed) {
      observe("=> There is a Fixed-Type Node below the Generating-Type: [ID=", kRule3);
    }
  }
  return {report.Take(), observations, 0};
}

std::string clsNavSchemes::CheckNav() const {
  return AnalyseNav(*this).text;
}

std::string clsNavSchemes::NavToDo() const {
  ReportText report(static_cast<std::size_t>(Count()));
  report.Line({"THE TO-DO LIST FOR NAVIGATIONAL SCHEME:"})
      .Line()
      .Line({"1. Select 'Analysis of Nav. Scheme'. Correct anomalies, if any."})
      .Line({"2. Select 'Re-Number' from Navigational Scheme Menu."})
      .Line({"3. Save Navigation Scheme to Text File."})
      .Line(
          {"4. Upload that Text File to your Database as Table XST1, with Identity Column as 'ID'"})
      .Line(
          {"5. Code the following Queries / Stored Procedures. These are two-field Queries, First"})
      .Line({"   field is (ID), second is Name or description, that will be displayed in Treeview "
             "Control."})
      .Line({"   For Example: spG_Customers: SELECT ID, NAME FROM CUSTOMERS ORDER BY NAME "})
      .Line()
      .Line({"  ID: Query/Stored Procedure & Parameters"})
      .Line();
  for (const auto& node : *this) {
    if (!IsNodeType(node->typeIs(), NodeType::Generating) &&
        !IsNodeType(node->typeIs(), NodeType::Recurring)) {
      continue;
    }
    report.Line({IdText000(node->ID()), ": ", node->queryIs(), ParameterNote(node->parmIs()),
                 ConstantParameterNote(node->queryIs())});
  }
  return report.Take();
}

}  // namespace kivwz
