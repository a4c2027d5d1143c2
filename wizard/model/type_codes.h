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

inline std::string CodeText(NodeType type) {
  return std::string(1, kivdb::scheme::CodeOf(type));
}
inline std::string CodeText(ParagraphType type) {
  return std::string(1, kivdb::scheme::CodeOf(type));
}

}  // namespace kivwz
