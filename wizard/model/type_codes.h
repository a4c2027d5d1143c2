#pragma once
// The wizard compares type codes exactly, in capitals: "F" is a Fixed node, "f" is no type at all.
// These helpers do that comparison against the shared codes.

#include <string>
#include <string_view>

#include "scheme/scheme_codes.h"

namespace kivwz {

using kivdb::scheme::NodeType;
using kivdb::scheme::ParagraphType;

inline bool IsNodeType(std::string_view typeIs, NodeType type) {
  return typeIs.size() == 1 && typeIs[0] == kivdb::scheme::CodeOf(type);
}

inline bool IsParagraphType(std::string_view typeIs, ParagraphType type) {
  return typeIs.size() == 1 && typeIs[0] == kivdb::scheme::CodeOf(type);
}

// What a node type allows in the navigation scheme: how many children it may have, and whether it
// runs a query (G and R must name one, F and N must not). FuseNav refuses a node that breaks these
// and the navigation analysis reports every break, both from this one table.
inline constexpr int kAnyNumber = -1;
struct NodeTypeRule {
  NodeType type;
  int minChildren;
  int maxChildren;  // kAnyNumber: no limit
  bool runsQuery;
};
inline constexpr NodeTypeRule kNodeTypeRules[] = {
    {NodeType::Fixed, 1, kAnyNumber, false},
    {NodeType::Generating, 1, 1, true},
    {NodeType::Recurring, 0, 0, true},
    {NodeType::NonGenerating, 0, 0, false},
};

// The rule of a type code compared exactly (IsNodeType); null for a code that is no type.
inline const NodeTypeRule* NodeTypeRuleOf(std::string_view typeIs) {
  for (const NodeTypeRule& rule : kNodeTypeRules) {
    if (IsNodeType(typeIs, rule.type)) return &rule;
  }
  return nullptr;
}

inline bool HasTooManyChildren(const NodeTypeRule& rule, int children) {
  return rule.maxChildren != kAnyNumber && children > rule.maxChildren;
}

inline std::string CodeText(NodeType type) {
  return std::string(1, kivdb::scheme::CodeOf(type));
}
inline std::string CodeText(ParagraphType type) {
  return std::string(1, kivdb::scheme::CodeOf(type));
}

}  // namespace kivwz
