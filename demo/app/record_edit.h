#pragma once
// RecordEdit: one record of a record form, read through DAL::GetRecordset, edited as texts and
// written back through PutRecordset. The write is optimistic: it goes through only while the row
// still holds the values the form read, so a change saved by another program meanwhile is never
// overwritten; the form then keeps the user's texts and says which fields the other program
// changed.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <kivdb/dal.h>
#include <kivdb/recordset.h>
#include "demo/app/form_catalog.h"
#include "demo/app/record_references.h"

namespace kivdb::demo {

enum class SaveOutcome {
  Saved,           // written and read back
  NothingChanged,  // no text differs from what was read
  Invalid,         // a text is no value of its field's type; nothing was written
  Conflict,        // the row changed or vanished since it was read; nothing was written
  Failed,          // the database refused the write (the reason in the message)
};

struct SaveResult {
  SaveOutcome outcome = SaveOutcome::Failed;
  std::string message;  // for the user; empty after a save
  // Conflict: the fields another program changed; empty when the row was deleted.
  std::vector<std::string> changedElsewhere;
  int invalidField = -1;  // Invalid: the first field whose text is wrong
};

class RecordEdit {
 public:
  // `dal` must outlive this object; `role` is the user's role, which decides the fields of the
  // form's fieldRoles that may be changed.
  RecordEdit(DAL& dal, FormSpec form, std::string nID, int role = 0);

  // Reads the record; false with the reason in `error` when it cannot be read or is not there.
  bool Load(std::string& error);

  const FormSpec& Form() const { return form_; }
  const std::string& RecordId() const { return id_; }
  int FieldCount() const { return static_cast<int>(texts_.size()); }
  const std::string& FieldName(int field) const;
  // The key, binary fields and fields above the user's role are shown only.
  bool Editable(int field) const;
  int FieldType(int field) const;
  // The text the form shows: what the user typed, or the value read.
  const std::string& Text(int field) const { return texts_.at(field); }
  void SetText(int field, std::string text);
  // Some text differs from the value read.
  bool Modified() const;
  // The records a foreign key field may point at, by name (the key is what is stored); null for
  // a field that is no such key, or whose records are too many to list.
  const std::vector<KeyChoice>* Choices(int field) const;
  // What the record is called, as the form's window title: "Customer: Harbour Lights Interiors"
  // by its name, or "Order 11: Harbour Lights Interiors" by the first record it points at when it
  // has no name of its own, or plainly "Order 11".
  std::string Caption() const;

  SaveResult Save();

 private:
  std::string ReadText(int field) const;
  void TakeRecord();
  SaveResult Explain(const std::string& writeError);

  DAL& dal_;
  FormSpec form_;
  std::string id_;
  int role_;
  std::string query_;
  std::shared_ptr<Recordset> records_;
  std::vector<std::string> names_;
  std::vector<std::string> readTexts_;                          // the values read, as text
  std::vector<std::string> texts_;                              // what the form shows
  std::vector<std::optional<std::vector<KeyChoice>>> choices_;  // per field
  std::vector<int> nameFields_;                                 // the fields naming the record
};

}  // namespace kivdb::demo
