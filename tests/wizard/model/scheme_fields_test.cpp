// The field tables are the one list of a record's stored fields: every field they list must reach
// the unsaved-changes fingerprint and survive a line of the scheme file, and every member of a
// record must be either in its table or a working field.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "wizard/model/nav_schemes.h"
#include "wizard/model/scheme_fields.h"
#include "wizard/model/scheme_file.h"
#include "wizard/model/scheme_fingerprint.h"
#include "wizard/model/web_schemes.h"

namespace kivwz {
namespace {

// The members of the records, stored and working, in declaration order. A member added to a record
// and not here changes the record's size (unless it fills padding) and stops this file building:
// give a stored member its column in scheme_codes.h and its entry in the field table, then list it
// here.
struct NavMembers {
  std::string descriptionIs;
  Long parentIs;
  std::string iconIs, roleIs;
  Long tID, tParentIs;  // working
  Long id;
  std::string typeIs, queryIs, parmIs;
};
static_assert(sizeof(NavMembers) == sizeof(clsNavScheme));
struct WebMembers {
  Long XST1, seqNo;
  std::string titleIs, queryIs, parmIs, typeIs;
  Long formIs;
  std::string colsAre, extra;
  Long tXST1;          // working
  std::string status;  // working
  Long id;
};
static_assert(sizeof(WebMembers) == sizeof(clsWebScheme));

Fingerprint FingerprintOf(const clsNavScheme& node) {
  clsNavSchemes navs;
  navs.Add(std::make_shared<clsNavScheme>(node));
  return NavFingerprint(navs);
}

Fingerprint FingerprintOf(const clsWebScheme& paragraph) {
  clsWebSchemes webs;
  webs.Add(std::make_shared<clsWebScheme>(paragraph));
  return WebFingerprint(webs);
}

// Through one line of a scheme file and back.
template <class Record>
Record ThroughFileLine(const Record& record) {
  std::string line;
  RecordLine out(line);
  WriteFields(record, out);
  RecordFields fields;
  fields.Parse(line);
  Record read;
  ReadFields(read, fields);
  return read;
}

template <class Record>
void ExpectSameFields(const Record& expected, const Record& actual) {
  for (const SchemeField<Record>& field : FieldsOf(&expected)) {
    SCOPED_TRACE(ColumnNamesOf(&expected)[static_cast<std::size_t>(field.column)]);
    if (field.IsNumber()) {
      EXPECT_EQ(field.number(actual), field.number(expected));
    } else {
      EXPECT_EQ(field.text(actual), field.text(expected));
    }
  }
}

// A record whose every listed field holds a value of its own, with a comma and a quote in every
// text (none of them "F" or "N", so a node keeps its query).
template <class Record>
Record Filled() {
  Record record;
  for (const SchemeField<Record>& field : FieldsOf(&record)) {
    if (field.IsNumber()) {
      field.setNumber(record, 10 + field.column);
    } else {
      field.setText(record, "t\"," + std::to_string(field.column));
    }
  }
  return record;
}

template <class Record>
void EveryFieldCounts() {
  for (const SchemeField<Record>& field : FieldsOf(static_cast<const Record*>(nullptr))) {
    const bool numberPair = field.number && field.setNumber && !field.text && !field.setText;
    const bool textPair = !field.number && !field.setNumber && field.text && field.setText;
    ASSERT_TRUE(field.IsNumber() ? numberPair : textPair) << "column " << field.column;
  }
  const Record base = Filled<Record>();
  ExpectSameFields(base, ThroughFileLine(base));
  for (const SchemeField<Record>& field : FieldsOf(&base)) {
    SCOPED_TRACE(ColumnNamesOf(&base)[static_cast<std::size_t>(field.column)]);
    Record changed = base;
    if (field.IsNumber()) {
      field.setNumber(changed, field.number(base) + 100);
      ASSERT_NE(field.number(changed), field.number(base)) << "the setter and getter disagree";
    } else {
      field.setText(changed, field.text(base) + "x");
      ASSERT_NE(field.text(changed), field.text(base)) << "the setter and getter disagree";
    }
    EXPECT_NE(FingerprintOf(changed), FingerprintOf(base));
    ExpectSameFields(changed, ThroughFileLine(changed));
  }
}

TEST(SchemeFields, EveryListedFieldReachesTheFingerprintAndTheFile) {
  EveryFieldCounts<clsNavScheme>();
  EveryFieldCounts<clsWebScheme>();
}

}  // namespace
}  // namespace kivwz
