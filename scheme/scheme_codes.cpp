#include "scheme/scheme_codes.h"

#include <cctype>

#include "base/text.h"

namespace kivdb::scheme {
namespace {

std::optional<char> SingleCode(std::string_view code) {
  code = text::Trim(code);
  if (code.size() != 1) return std::nullopt;
  return static_cast<char>(std::toupper(static_cast<unsigned char>(code[0])));
}

// Leading blanks, then digits, as a number; no digits read as 0.
int LeadingNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  int value = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

}  // namespace

std::optional<NodeType> NodeTypeOf(std::string_view code) {
  auto c = SingleCode(code);
  if (!c) return std::nullopt;
  switch (*c) {
    case 'F':
    case 'G':
    case 'R':
    case 'N':
      return static_cast<NodeType>(*c);
    default:
      return std::nullopt;
  }
}

std::optional<ParagraphType> ParagraphTypeOf(std::string_view code) {
  auto c = SingleCode(code);
  if (!c) return std::nullopt;
  switch (*c) {
    case 'C':
    case 'H':
    case 'E':
    case 'M':
    case 'I':
    case 'S':
    case 'T':
      return static_cast<ParagraphType>(*c);
    default:
      return std::nullopt;
  }
}

char CodeOf(NodeType type) {
  return static_cast<char>(type);
}
char CodeOf(ParagraphType type) {
  return static_cast<char>(type);
}

std::string_view NameOf(NodeType type) {
  switch (type) {
    case NodeType::Fixed:
      return "Fixed";
    case NodeType::Generating:
      return "Generating";
    case NodeType::Recurring:
      return "Recurring";
    case NodeType::NonGenerating:
      return "Non-Generating";
  }
  return "";
}

std::string_view NameOf(ParagraphType type) {
  switch (type) {
    case ParagraphType::Chart:
      return "Chart (Bar)";
    case ParagraphType::Header:
      return "Header";
    case ParagraphType::ExecuteOnly:
      return "Execute Only";
    case ParagraphType::MultiChapter:
      return "Multi-Chapter (Shaped)";
    case ParagraphType::ImageHeader:
      return "Image Header";
    case ParagraphType::ShowTable:
      return "Show Table";
    case ParagraphType::Thumbnails:
      return "Thumbnail Images";
  }
  return "";
}

ParamSpec ParseParamKind(std::string_view parmIs) {
  const std::string kind = text::Upper(parmIs);
  if (kind == "TEXT") return {ParamKind::Text, 0};
  if (kind == "TODAY") return {ParamKind::Today, 0};
  const std::string_view head = std::string_view(kind).substr(0, 4);
  if (head == "LKEY") return {ParamKind::LKey, 0};
  if (head == "CKEY") {
    const std::string_view tail =
        kind.size() >= 2 ? std::string_view(kind).substr(kind.size() - 2) : std::string_view(kind);
    return {ParamKind::CKey, LeadingNumber(tail)};
  }
  return {ParamKind::None, 0};
}

}  // namespace kivdb::scheme
