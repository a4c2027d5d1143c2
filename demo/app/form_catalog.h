#pragma once
// FormCatalog: which record form opens for a form number of the demo schemes (the formIs column
// of their header paragraphs), and the statement that reads one record of it. Form links carry
// the number as five digits and the record ID as the page wrote it: ten digits for a number,
// the key itself for a text key (customers are known by five letters).

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kivdb::demo {

struct FormSpec {
  int number = 0;
  std::string title;                 // the window's caption: "Customer", "Order", ...
  std::string table;                 // the table the form edits
  std::string keyColumn;             // its primary key, shown but not editable
  bool textKey = false;              // the key is text (quoted), not a number
  std::vector<std::string> columns;  // the fields shown, key first
  // Fields only a user of at least this role may change (the role of the page that shows them);
  // below it they are shown only.
  std::vector<std::pair<std::string, int>> fieldRoles;
};

// The form of a form number given as the OpenForm event gives it ("00001"); nothing for a number
// the demo does not know.
std::optional<FormSpec> FindForm(const std::string& nFrm);

// The SELECT that reads record `nID` of the form, or nothing when `nID` is no valid key for it
// (empty, or not a number for a numeric key). A text key is quoted with its quotes doubled.
std::optional<std::string> RecordQuery(const FormSpec& form, const std::string& nID);

}  // namespace kivdb::demo
