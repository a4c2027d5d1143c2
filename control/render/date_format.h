#pragma once
// The DateFormat picture language of date cells and page heads, with English month and day names.
//
// Tokens (letters in any case): d day 1-31, dd day 01-31, ddd "Mon", dddd "Monday", m month 1-12,
// mm month 01-12, mmm "Jan", mmmm "January", yy two-digit year, yyyy four-digit year, h hour,
// hh hour 00-23, n/nn minute, s/ss second, AM/PM ("AM"/"PM") or am/pm ("am"/"pm"; written with
// a small first letter gives small letters). m and mm right after h or hh mean minutes. With an
// AM/PM token anywhere the hours run 12, 1, ... 11. Text between double quotes is copied as it
// is, "\" copies the next character, and every other character is copied.
//
// Named forms (the whole picture, any case):
//   General Date  Short Date, then " " and Long Time when there is a time of day; a time alone
//                 (date 1899-12-30) shows as Long Time
//   Long Date     "dddd, d mmmm yyyy"   Friday, 5 March 2021
//   Medium Date   "dd-mmm-yy"           05-Mar-21
//   Short Date    "dd/mm/yyyy"          05/03/2021
//   Long Time     "hh:nn:ss"            14:07:09
//   Short Time    "hh:nn"               14:07
// An empty picture gives the ordinary ISO text (DateTimeToText), as does a date that is not on
// the calendar (a host-built month 13), so that no picture can read outside its name tables.

#include <string>
#include <string_view>

#include <kivdb/variant.h>

namespace kivdb {

std::string FormatDate(const DateTime& value, std::string_view picture);
// Appends the ordinary ISO text of a date of the years 0 to 9999 on the calendar, as FormatDate
// with an empty picture gives it, without formatting through printf; false (nothing appended)
// for any other date.
bool AppendIsoDate(std::string& out, const DateTime& value);

// The date as a serial number: days since 1899-12-30, the time of day as the fraction.
double DateSerial(const DateTime& value);

}  // namespace kivdb
