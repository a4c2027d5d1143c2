#pragma once
// The workbook forms of what a report page shows: the number format of each field class, the
// DateFormat picture as a spreadsheet date format, dates as serial day numbers, and paragraph
// titles made into valid, unique sheet names. Pure text work, shared by the workbook writer.

#include <optional>
#include <set>
#include <string>
#include <string_view>

#include <kivdb/variant.h>
#include "control/render/field_class.h"

namespace kivdb {

// "#,##0" for the integer class, "#,##0.00" for the decimal class (the pictures of the page's
// cells); "" (General) for every other class.
std::string_view SheetNumberFormat(FieldClass fieldClass);

// The control's DateFormat picture in the spreadsheet's format language: the named forms as
// their pictures, minutes "n" as "m", quoted text kept, any other character that the spreadsheet
// would read as a code escaped. An empty picture gives ISO dates, with the time when `hasTime`.
std::string SheetDateFormat(std::string_view picture, bool hasTime);

// The spreadsheet's serial number of a date (1 is 1900-01-01, with the spreadsheet's leap day of
// 1900 counted); a time alone (1899-12-30) is the fraction of a day. Nothing for dates before
// 1900 (other than a time alone) and after 9999, which a sheet cannot hold as dates.
std::optional<double> SheetSerial(const DateTime& value);

// A valid sheet name for `title`: the characters []:*?/\ become blanks, runs of blanks one, no
// apostrophe at either end, at most 31 characters (code points); empty gives "Table " + id.
// Unique among `used` (compared without case), with " (2)", " (3)", ... when taken; the name
// is added to `used` in lower case.
std::string SheetName(std::string_view title, long id, std::set<std::string>& used);

}  // namespace kivdb
