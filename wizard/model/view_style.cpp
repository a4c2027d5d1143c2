#include "wizard/model/view_style.h"

#include "wizard/model/type_codes.h"

namespace kivwz {

std::string_view TreeImageOf(std::string_view typeIs) {
  if (IsNodeType(typeIs, NodeType::Fixed)) return kImageFixed;
  if (IsNodeType(typeIs, NodeType::Generating)) return kImageGenerating;
  if (IsNodeType(typeIs, NodeType::Recurring)) return kImageRecurring;
  if (IsNodeType(typeIs, NodeType::NonGenerating)) return kImageNonGenerating;
  return {};
}

Color TreeColorOf(std::string_view typeIs) {
  if (IsNodeType(typeIs, NodeType::Fixed)) return kRed;
  if (IsNodeType(typeIs, NodeType::Generating)) return kBlue;
  if (IsNodeType(typeIs, NodeType::Recurring)) return kDarkGreen;
  if (IsNodeType(typeIs, NodeType::NonGenerating)) return kMaroon;
  return kBlack;
}

std::optional<Color> GridColorOf(std::string_view typeIs) {
  if (IsNodeType(typeIs, NodeType::Fixed)) return kRed;
  if (IsNodeType(typeIs, NodeType::Generating)) return kBlue;
  if (IsNodeType(typeIs, NodeType::Recurring)) return kGreen;
  if (IsNodeType(typeIs, NodeType::NonGenerating)) return kMaroon;
  return std::nullopt;
}

}  // namespace kivwz
