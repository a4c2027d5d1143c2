// The web display scheme's text file (XST2.txt).

#include "scheme/scheme_codes.h"
#include "wizard/model/scheme_fields.h"
#include "wizard/model/scheme_file.h"
#include "wizard/model/web_schemes.h"

namespace kivwz {
namespace col = kivdb::scheme::web;

bool clsWebSchemes::SaveData(const std::string& vFile) const {
  std::string content;
  return FileText(content) && ReplaceFile(vFile, content);
}

bool clsWebSchemes::FileText(std::string& content) const {
  if (paragraphs_.Empty()) return false;
  content.clear();
  content.reserve(128 + 96 * paragraphs_.Count());
  AppendHeaderLine(content, {col::kColumnNames.begin(), col::kColumnNames.end()});
  for (const Paragraph& paragraph : paragraphs_) {
    RecordLine line(content);
    WriteFields(*paragraph, line);
    line.End();
  }
  return true;
}

namespace {

void AddRecord(clsWebSchemes& webs, const RecordFields& fields) {
  auto paragraph = std::make_shared<clsWebScheme>();
  ReadFields(*paragraph, fields);
  webs.Add(std::move(paragraph));
}

}  // namespace

bool clsWebSchemes::LoadData(const std::string& vFile) {
  return ReadRecords(
      vFile, [this] { ClearAll(); },
      [this](const RecordFields& fields) { AddRecord(*this, fields); });
}

void clsWebSchemes::LoadText(std::string_view content) {
  ClearAll();
  ForEachRecord(content, [this](const RecordFields& fields) { AddRecord(*this, fields); });
}

}  // namespace kivwz
