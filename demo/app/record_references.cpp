#include "demo/app/record_references.h"

#include <algorithm>
#include <cctype>
#include <map>

#include <kivdb/recordset.h>

namespace kivdb::demo {
namespace {

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

bool IsTextType(int type) {
  return type == type::kChar || type == type::kWChar || type == type::kVarChar ||
         type == type::kLongVarChar || type == type::kVarWChar;
}

// A name from the database's catalog, quoted for SQL (it may hold anything).
std::string Identifier(const std::string& name) {
  std::string out = "\"";
  for (const char c : name) {
    out += c;
    if (c == '"') out += '"';
  }
  return out + "\"";
}

std::vector<ColumnInfo> ColumnsOf(DAL& dal, const std::string& table) {
  std::shared_ptr<Recordset> records;
  std::vector<ColumnInfo> columns;
  if (!dal.ReadRecordset("SELECT * FROM " + Identifier(table) + " WHERE 1 = 0", records) ||
      !records)
    return columns;
  for (int f = 0; f < records->FieldCount(); ++f)
    columns.push_back({records->Fields(f).Name(), records->Fields(f).Type()});
  return columns;
}

// The one column of a table's primary key; empty when it has none or several.
std::string PrimaryKey(DAL& dal, const std::string& table) {
  std::shared_ptr<Recordset> info;
  if (!dal.ReadRecordset("PRAGMA table_info(" + Identifier(table) + ")", info) || !info) return {};
  const int name = info->FieldIndex("name");
  const int pk = info->FieldIndex("pk");
  if (name < 0 || pk < 0) return {};
  std::string key;
  for (info->MoveFirst(); !info->Eof(); info->MoveNext()) {
    if (info->Value(pk).ToText() == "0") continue;
    if (!key.empty()) return {};
    key = info->Value(name).ToText();
  }
  return key;
}

}  // namespace

std::vector<std::string> NameColumns(const std::vector<ColumnInfo>& columns,
                                     const std::string& keyColumn,
                                     const std::vector<Reference>& keys) {
  const auto find = [&](const char* name) {
    return std::find_if(columns.begin(), columns.end(),
                        [&](const ColumnInfo& c) { return SameName(c.name, name); });
  };
  if (const auto name = find("Name"); name != columns.end()) return {name->name};
  const auto first = find("FirstName");
  const auto last = find("LastName");
  if (first != columns.end() && last != columns.end()) return {first->name, last->name};
  for (const ColumnInfo& c : columns) {
    const bool isKey = std::any_of(keys.begin(), keys.end(),
                                   [&](const Reference& r) { return SameName(r.column, c.name); });
    if (IsTextType(c.type) && !isKey && !SameName(c.name, keyColumn)) return {c.name};
  }
  return {};
}

std::vector<Reference> FindReferences(DAL& dal, const std::string& table) {
  std::vector<Reference> references;
  std::shared_ptr<Recordset> keys;
  if (!dal.ReadRecordset("PRAGMA foreign_key_list(" + Identifier(table) + ")", keys) || !keys)
    return references;
  const int id = keys->FieldIndex("id");
  const int from = keys->FieldIndex("from");
  const int into = keys->FieldIndex("table");
  const int to = keys->FieldIndex("to");
  if (id < 0 || from < 0 || into < 0 || to < 0) return references;
  std::map<std::string, int> width;  // columns per key
  for (keys->MoveFirst(); !keys->Eof(); keys->MoveNext()) ++width[keys->Value(id).ToText()];
  for (keys->MoveFirst(); !keys->Eof(); keys->MoveNext()) {
    // A key of several columns names no record by one field.
    if (width[keys->Value(id).ToText()] != 1) continue;
    Reference reference{keys->Value(from).ToText(), keys->Value(into).ToText(),
                        keys->Value(to).ToText()};
    if (reference.keyColumn.empty()) reference.keyColumn = PrimaryKey(dal, reference.table);
    if (!reference.keyColumn.empty()) references.push_back(std::move(reference));
  }
  return references;
}

std::optional<std::vector<KeyChoice>> ReadChoices(DAL& dal, const Reference& reference) {
  const std::vector<std::string> names = NameColumns(
      ColumnsOf(dal, reference.table), reference.keyColumn, FindReferences(dal, reference.table));
  if (names.empty()) return std::nullopt;
  std::string caption;
  for (const std::string& name : names)
    caption += (caption.empty() ? "" : " || ' ' || ") + Identifier(name);
  std::shared_ptr<Recordset> records;
  const std::string query = "SELECT " + Identifier(reference.keyColumn) + ", " + caption +
                            " FROM " + Identifier(reference.table) + " ORDER BY 2, 1 LIMIT " +
                            std::to_string(kMaxChoices + 1);
  if (!dal.ReadRecordset(query, records) || !records) return std::nullopt;
  std::vector<KeyChoice> choices;
  std::map<std::string, int> uses;
  for (records->MoveFirst(); !records->Eof(); records->MoveNext()) {
    if (records->Value(0).IsNull()) continue;
    choices.push_back({records->Value(0).ToText(), records->Value(1).ToText()});
    ++uses[choices.back().caption];
  }
  if (static_cast<int>(choices.size()) > kMaxChoices) return std::nullopt;
  for (KeyChoice& choice : choices) {
    if (choice.caption.empty()) {
      choice.caption = choice.key;
    } else if (uses[choice.caption] > 1) {
      choice.caption += " (" + choice.key + ")";
    }
  }
  return choices;
}

}  // namespace kivdb::demo
