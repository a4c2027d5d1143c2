// The navigation scheme's text file (XST1.txt) and the pass-through to the web display scheme's.

#include "scheme/scheme_codes.h"
#include "wizard/model/nav_schemes.h"
#include "wizard/model/scheme_fields.h"
#include "wizard/model/scheme_file.h"
#include "wizard/model/tree_walk.h"

namespace kivwz {
namespace {

namespace col = kivdb::scheme::nav;

void AppendNode(std::string& out, const clsNavScheme& node) {
  RecordLine line(out);
  WriteFields(node, line);
  line.End();
}

}  // namespace

bool clsNavSchemes::FileText(std::string& content) const {
  const ChildIndex index(nodes_);
  // Without a root nothing would be written but the header: refuse rather than replace a file
  // with an empty scheme.
  if (index.Root() == ChildIndex::kNone) return false;
  content.clear();
  content.reserve(128 + 96 * nodes_.Count());
  AppendHeaderLine(content, {col::kColumnNames.begin(), col::kColumnNames.end()});
  // Only the root and the nodes below it, in tree order.
  for (const TreeStep& step : PreOrder(index)) AppendNode(content, *step.node);
  return true;
}

bool clsNavSchemes::SaveData(const std::string& vFile) const {
  std::string content;
  return FileText(content) && ReplaceFile(vFile, content);
}

Long clsNavSchemes::NodesOutsideTree() const {
  return Count() - static_cast<Long>(PreOrder(ChildIndex(nodes_)).size());
}

namespace {

void AddRecord(clsNavSchemes& navs, const RecordFields& fields) {
  auto node = std::make_shared<clsNavScheme>();
  ReadFields(*node, fields);
  navs.Add(std::move(node));  // a repeated ID is dropped: the first line wins
}

}  // namespace

bool clsNavSchemes::LoadData(const std::string& vFile) {
  const bool read = ReadRecords(
      vFile, [this] { nodes_.Clear(); },
      [this](const RecordFields& fields) { AddRecord(*this, fields); });
  if (!read) return false;
  DispInTV();
  return true;
}

void clsNavSchemes::LoadText(std::string_view content) {
  nodes_.Clear();
  ForEachRecord(content, [this](const RecordFields& fields) { AddRecord(*this, fields); });
  DispInTV();
}

bool clsNavSchemes::LoadWeb(const std::string& oFile) {
  const bool loaded = oWebs.LoadData(oFile);
  oWebs.DispInGrid(0);
  return loaded;
}

}  // namespace kivwz
