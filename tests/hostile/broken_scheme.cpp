#include "tests/hostile/broken_scheme.h"

namespace kivdb::testing {

std::vector<SchemeNode> BrokenScheme(long depth) {
  std::vector<SchemeNode> nodes;
  nodes.reserve(static_cast<size_t>(depth + 1 + kBrokenNodes));
  nodes.push_back({1, "Data Browser", "F", 0});
  for (long id = 2; id <= depth + 1; ++id) {
    nodes.push_back({id, "Level " + std::to_string(id - 1), id == depth + 1 ? "N" : "F", id - 1});
  }
  nodes.push_back({kCycleA, "Cycle A", "F", kCycleB});
  nodes.push_back({kCycleB, "Cycle B", "F", kCycleA});
  nodes.push_back({kOwnParent, "Own parent", "N", kOwnParent});
  nodes.push_back({kSecondRoot, "Second root", "F", 0});
  nodes.push_back({kBelowSecondRoot, "Below the second root", "N", kSecondRoot});
  return nodes;
}

std::string NavFileText(const std::vector<SchemeNode>& nodes) {
  std::string text = "ID,descriptionIs,typeIs,parentIs,queryIs,parmIs,iconIs,roleIs\r\n";
  for (const SchemeNode& node : nodes) {
    text += std::to_string(node.id) + ",\"" + node.description + "\",\"" + node.type + "\"," +
            std::to_string(node.parent) + ",\"\",\"\",\"leaf\",\"\"\r\n";
  }
  return text;
}

std::string WebFileText(long deepest) {
  std::string text = "ID,XST1,seqNo,titleIs,queryIs,parmIs,typeIs,formIs,colsAre,extra\r\n";
  long id = 0;
  for (const long node : {deepest, kCycleA, kCycleB, kOwnParent, kSecondRoot}) {
    text += std::to_string(++id) + "," + std::to_string(node) +
            ",1,\"Page\",\"spW_Page\",\"LKey\",\"S\",0,\"\",\"\"\r\n";
  }
  return text;
}

}  // namespace kivdb::testing
