// The web display scheme's text file (XST2.txt).

#include "scheme/scheme_codes.h"
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
  static_assert(col::ID == 0 && col::XST1 == 1 && col::seqNo == 2 && col::titleIs == 3 &&
                col::queryIs == 4 && col::parmIs == 5 && col::typeIs == 6 && col::formIs == 7 &&
                col::colsAre == 8 && col::extra == 9);
  content.clear();
  content.reserve(128 + 96 * paragraphs_.Count());
  AppendHeaderLine(content, {col::kColumnNames.begin(), col::kColumnNames.end()});
  for (const Paragraph& paragraph : paragraphs_) {
    RecordLine(content)
        .Number(paragraph->ID())
        .Number(paragraph->XST1)
        .Number(paragraph->seqNo)
        .Text(paragraph->titleIs)
        .Text(paragraph->queryIs)
        .Text(paragraph->parmIs)
        .Text(paragraph->typeIs)
        .Number(paragraph->formIs)
        .Text(paragraph->colsAre)
        .Text(paragraph->extra)
        .End();
  }
  return true;
}

namespace {

void AddRecord(clsWebSchemes& webs, const RecordFields& fields) {
  auto paragraph = std::make_shared<clsWebScheme>();
  paragraph->ID(fields.Number(col::ID));
  paragraph->XST1 = fields.Number(col::XST1);
  paragraph->seqNo = fields.Number(col::seqNo);
  paragraph->titleIs = fields.Text(col::titleIs);
  paragraph->queryIs = fields.Text(col::queryIs);
  paragraph->parmIs = fields.Text(col::parmIs);
  paragraph->typeIs = fields.Text(col::typeIs);
  paragraph->formIs = fields.Number(col::formIs);
  paragraph->colsAre = fields.Text(col::colsAre);
  paragraph->extra = fields.Text(col::extra);
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
