#include "demo/app/record_edit.h"

#include <algorithm>
#include <utility>

#include <kivdb/error.h>
#include "demo/app/field_text.h"

namespace kivdb::demo {

RecordEdit::RecordEdit(DAL& dal, FormSpec form, std::string nID, int role)
    : dal_(dal), form_(std::move(form)), id_(std::move(nID)), role_(role) {}

bool RecordEdit::Load(std::string& error) {
  const std::optional<std::string> query = RecordQuery(form_, id_);
  if (!query) {
    error = "\"" + id_ + "\" is no record key of the " + form_.title + " form";
    return false;
  }
  query_ = *query;
  std::shared_ptr<Recordset> records;
  if (!dal_.GetRecordset(query_, records) || !records) {
    error = "The record could not be read: " + dal_.LastError();
    return false;
  }
  if (records->RecordCount() < 1) {
    error = "There is no " + form_.title + " record " + id_ + " (it may have been deleted)";
    return false;
  }
  records_ = std::move(records);
  names_.clear();
  std::vector<ColumnInfo> columns;
  for (int f = 0; f < records_->FieldCount(); ++f) {
    names_.push_back(records_->Fields(f).Name());
    columns.push_back({names_.back(), records_->Fields(f).Type()});
  }
  const std::vector<Reference> references = FindReferences(dal_, form_.table);
  choices_.assign(names_.size(), std::nullopt);
  for (const Reference& reference : references) {
    const int field = records_->FieldIndex(reference.column);
    if (field >= 0 && field != records_->FieldIndex(form_.keyColumn))
      choices_[field] = ReadChoices(dal_, reference);
  }
  nameFields_.clear();
  for (const std::string& name : NameColumns(columns, form_.keyColumn, references))
    nameFields_.push_back(records_->FieldIndex(name));
  TakeRecord();
  return true;
}

const std::vector<KeyChoice>* RecordEdit::Choices(int field) const {
  if (field < 0 || field >= static_cast<int>(choices_.size()) || !choices_[field]) return nullptr;
  return &*choices_[field];
}

std::string RecordEdit::Caption() const {
  std::string name;
  for (const int field : nameFields_) {
    const std::string& part = readTexts_.at(field);
    if (!part.empty()) name += (name.empty() ? "" : " ") + part;
  }
  if (!name.empty()) return form_.title + ": " + name;
  // A numeric key as people write it: the form link pads it to ten digits.
  std::string id = id_;
  const bool digits = !id.empty() && id.find_first_not_of("0123456789") == std::string::npos;
  if (digits) id.erase(0, std::min(id.find_first_not_of('0'), id.size() - 1));
  std::string caption = form_.title + " " + id;
  for (int f = 0; f < FieldCount(); ++f) {
    const std::vector<KeyChoice>* choices = Choices(f);
    if (!choices || readTexts_[f].empty()) continue;
    for (const KeyChoice& choice : *choices) {
      if (choice.key == readTexts_[f]) return caption + ": " + choice.caption;
    }
  }
  return caption;
}

void RecordEdit::TakeRecord() {
  records_->MoveFirst();
  readTexts_.clear();
  for (int f = 0; f < records_->FieldCount(); ++f) readTexts_.push_back(ReadText(f));
  texts_ = readTexts_;
}

std::string RecordEdit::ReadText(int field) const {
  const Variant& value = records_->Value(field);
  if (const auto* bytes = value.AsBinary()) return "(" + std::to_string(bytes->size()) + " bytes)";
  return value.ToText();
}

const std::string& RecordEdit::FieldName(int field) const {
  return names_.at(field);
}

bool RecordEdit::Editable(int field) const {
  if (field < 0 || field >= FieldCount()) return false;
  for (const auto& [name, role] : form_.fieldRoles) {
    if (role_ < role && field == records_->FieldIndex(name)) return false;
  }
  return field != records_->FieldIndex(form_.keyColumn) &&
         IsEditableType(records_->Fields(field).Type());
}

int RecordEdit::FieldType(int field) const {
  return records_->Fields(field).Type();
}

void RecordEdit::SetText(int field, std::string text) {
  if (!Editable(field)) return;
  texts_.at(field) = std::move(text);
}

bool RecordEdit::Modified() const {
  return texts_ != readTexts_;
}

SaveResult RecordEdit::Save() {
  SaveResult result;
  if (!records_) {
    result.message = "The record was not read";
    return result;
  }
  if (!Modified()) {
    result.outcome = SaveOutcome::NothingChanged;
    return result;
  }
  // Every field is set again from its text, so a text put back as it was leaves the field as read.
  const size_t row = records_->LiveRows().at(0);
  records_->MoveFirst();
  for (int f = 0; f < FieldCount(); ++f) {
    if (!Editable(f)) continue;
    if (texts_[f] == readTexts_[f]) {
      records_->Fields(f).SetValue(records_->OriginalValue(row, f));
      continue;
    }
    std::string error;
    std::optional<Variant> value = ValueFromText(records_->Fields(f).Type(), texts_[f], error);
    if (!value) {
      result.outcome = SaveOutcome::Invalid;
      result.invalidField = f;
      result.message = names_[f] + " needs " + error + ".";
      return result;
    }
    records_->Fields(f).SetValue(std::move(*value));
  }
  if (!dal_.PutRecordset(records_)) return Explain(dal_.LastError());
  TakeRecord();
  result.outcome = SaveOutcome::Saved;
  return result;
}

// A refused write: a conflict when the row no longer holds the values read, else the database's
// own reason.
SaveResult RecordEdit::Explain(const std::string& writeError) {
  SaveResult result;
  std::shared_ptr<Recordset> now;
  if (!dal_.ReadRecordset(query_, now) || !now) {
    result.message = "Your changes were not saved: " + writeError;
    return result;
  }
  const size_t row = records_->LiveRows().at(0);
  if (now->RecordCount() < 1) {
    result.outcome = SaveOutcome::Conflict;
    result.message = "Another program deleted this " + form_.title +
                     " record after this form read it. Your changes were not saved; they are "
                     "still in the form.";
    return result;
  }
  now->MoveFirst();
  for (int f = 0; f < FieldCount() && f < now->FieldCount(); ++f) {
    if (!(now->Value(f) == records_->OriginalValue(row, f))) {
      result.changedElsewhere.push_back(names_[f]);
    }
  }
  if (result.changedElsewhere.empty()) {
    result.message = "Your changes were not saved: " + writeError;
    return result;
  }
  std::string fields;
  for (const std::string& name : result.changedElsewhere) {
    fields += (fields.empty() ? "" : ", ") + name;
  }
  result.outcome = SaveOutcome::Conflict;
  result.message = "Another program changed this " + form_.title +
                   " record after this form read it (" + fields +
                   "). Your changes were not saved, so nothing it saved was overwritten; they "
                   "are still in the form. Close the form and open the record again to see it "
                   "as it is now.";
  return result;
}

}  // namespace kivdb::demo
