#include "wizard/model/web_schemes.h"

#include <utility>

#include "wizard/model/nav_schemes.h"
#include "wizard/model/number_index.h"

namespace kivwz {

void clsWebSchemes::Add(Paragraph oWebScheme) {
  if (!oWebScheme) return;
  const Long key = oWebScheme->ID();
  paragraphs_.Add(key, std::move(oWebScheme));
}

std::string clsWebSchemes::MaxID() const {
  Long highest = 0;
  for (const Paragraph& paragraph : paragraphs_) {
    if (paragraph->ID() > highest) highest = paragraph->ID();
  }
  return KeyOf(highest);
}

std::string clsWebSchemes::MaxSeqNo(std::string_view pKey) const {
  Long highest = 0;
  const std::optional<Long> node = KeyNumber(pKey);  // "04" names no node
  for (const Paragraph& paragraph : paragraphs_) {
    if (node && paragraph->XST1 == *node && paragraph->seqNo > highest) highest = paragraph->seqNo;
  }
  return KeyOf(highest);
}

void clsWebSchemes::Renumber(clsNavSchemes& oNC) {
  // Previous node number -> new one. Where two nodes share a previous number the later one in
  // collection order wins, as it would if each node were matched against every paragraph in turn.
  NumberIndex nodeWithPrevious;  // -> position in newNumbers
  std::vector<Long> newNumbers;
  nodeWithPrevious.Reserve(static_cast<std::size_t>(oNC.Count()));
  newNumbers.reserve(static_cast<std::size_t>(oNC.Count()));
  for (const auto& node : oNC) {
    const Long previous = node->tID != 0 ? node->tID : node->ID();
    node->tID = node->ID();
    nodeWithPrevious.Assign(previous, static_cast<std::int32_t>(newNumbers.size()));
    newNumbers.push_back(node->ID());
  }
  // XST1 is compared with previous numbers only and rewritten last, so no paragraph moves twice.
  for (const Paragraph& paragraph : paragraphs_) {
    const std::int32_t found = nodeWithPrevious.Find(paragraph->XST1);
    if (found == NumberIndex::kAbsent) {
      paragraph->status = "O";
    } else {
      paragraph->tXST1 = newNumbers[static_cast<std::size_t>(found)];
      paragraph->status = "C";
    }
    paragraph->XST1 = paragraph->tXST1;
  }
}

void clsWebSchemes::RemoveParagraphsOf(const std::unordered_set<Long>& nodes) {
  std::vector<Long> doomed;
  for (const Paragraph& paragraph : paragraphs_) {
    if (nodes.count(paragraph->XST1) != 0) doomed.push_back(paragraph->ID());
  }
  for (Long id : doomed) paragraphs_.Remove(id);
}

void clsWebSchemes::DelTreeNode(std::string_view dKey) {
  // XST1 in decimal equals dKey only when dKey is a key ("3" matches, "03" does not).
  if (const std::optional<Long> node = KeyNumber(dKey)) RemoveParagraphsOf({*node});
  DispInGrid(NumberValue(dKey));
}

clsWebSchemes::Paragraph clsWebSchemes::CloneWeb(std::string_view skey) const {
  auto copy = std::make_shared<clsWebScheme>();
  if (const Paragraph source = Item(skey)) {
    copy->ID(source->ID());
    copy->XST1 = source->XST1;
    copy->seqNo = source->seqNo;
    copy->titleIs = source->titleIs;
    copy->queryIs = source->queryIs;
    copy->parmIs = source->parmIs;
    copy->typeIs = source->typeIs;
    copy->formIs = source->formIs;
    copy->colsAre = source->colsAre;
    copy->extra = source->extra;
  }
  return copy;
}

}  // namespace kivwz
