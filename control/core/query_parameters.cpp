#include "control/core/query_parameters.h"

#include <cmath>
#include <cstdint>
#include <optional>

#include "control/core/text_util.h"
#include "control/render/date_format.h"
#include "scheme/scheme_codes.h"

namespace kivdb {
namespace {

// Reads text as a long integer the way the original conversion does: any number text, rounded
// half to even, within 32 bits; nothing otherwise.
std::optional<int32_t> ReadLong(std::string_view digits) {
  const std::optional<double> number = Variant(digits).ToDouble();
  if (!number) return std::nullopt;
  const double rounded = std::nearbyint(*number);
  if (rounded < INT32_MIN || rounded > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(rounded);
}

std::string Quoted(std::string_view text) {
  return " '" + text::DoubleQuotes(text) + "'";
}

}  // namespace

std::optional<SelectedNode> SelectedNodeOf(const TreeNode* node) {
  if (!node) return std::nullopt;
  return SelectedNode{node->Text(), node->Key()};
}

std::string BuildParameter(std::string_view kind, const std::optional<SelectedNode>& selected,
                           const DateTime& today) {
  const scheme::ParamSpec spec = scheme::ParseParamKind(kind);
  switch (spec.kind) {
    case scheme::ParamKind::Text:
      return selected ? Quoted(selected->caption) : std::string();
    case scheme::ParamKind::Today:
      return Quoted(FormatDate(DateTime{today.year, today.month, today.day}, "dd mmm yyyy"));
    case scheme::ParamKind::LKey: {
      if (!selected) return "";
      const std::optional<int32_t> number = ReadLong(text::Prefix(selected->key, 10));
      return number ? " " + std::to_string(*number) : std::string();
    }
    case scheme::ParamKind::CKey: {
      if (!selected) return "";
      return Quoted(text::Prefix(selected->key, static_cast<size_t>(spec.keyLength)));
    }
    case scheme::ParamKind::None:
      break;
  }
  return " ";
}

std::string BuildParameter(std::string_view kind, const TreeNode* selected, const DateTime& today) {
  return BuildParameter(kind, SelectedNodeOf(selected), today);
}

std::string BuildCommand(std::string_view queryIs, std::string_view parmIs,
                         const TreeNode* selected, const DateTime& today) {
  return BuildCommand(queryIs, parmIs, SelectedNodeOf(selected), today);
}

std::string BuildCommand(std::string_view queryIs, std::string_view parmIs,
                         const std::optional<SelectedNode>& selected, const DateTime& today) {
  std::string command = "EXEC ";
  command += queryIs;
  command += BuildParameter(parmIs, selected, today);
  return command;
}

}  // namespace kivdb
