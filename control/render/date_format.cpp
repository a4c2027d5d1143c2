#include "control/render/date_format.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "base/text.h"

namespace kivdb {
namespace {

constexpr std::array<const char*, 12> kMonths = {"January",   "February", "March",    "April",
                                                 "May",       "June",     "July",     "August",
                                                 "September", "October",  "November", "December"};
constexpr std::array<const char*, 7> kDays = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                              "Thursday", "Friday", "Saturday"};

constexpr std::string_view kLongDate = "dddd, d mmmm yyyy";
constexpr std::string_view kMediumDate = "dd-mmm-yy";
constexpr std::string_view kShortDate = "dd/mm/yyyy";
constexpr std::string_view kLongTime = "hh:nn:ss";
constexpr std::string_view kShortTime = "hh:nn";

// ASCII only: pictures are ASCII, and the locale's tolower costs a call per character.
char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

bool IsOnCalendar(const DateTime& v) {
  static constexpr int kMonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (v.month < 1 || v.month > 12 || v.day < 1) return false;
  const int days = v.month == 2 && IsLeapYear(v.year) ? 29 : kMonthDays[v.month - 1];
  return v.day <= days && v.hour >= 0 && v.hour < 24 && v.minute >= 0 && v.minute < 60 &&
         v.second >= 0 && v.second < 60;
}

// Days since 1970-01-01 in the proleptic Gregorian calendar, any year.
long DaysSinceEpoch(const DateTime& v) {
  const long y = v.month <= 2 ? v.year - 1L : v.year;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const long yearOfEra = y - era * 400;
  const long dayOfYear = (153L * (v.month + (v.month > 2 ? -3 : 9)) + 2) / 5 + v.day - 1;
  const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

// 0 for Sunday.
int DayOfWeek(const DateTime& v) {
  const long weekday = (DaysSinceEpoch(v) + 4) % 7;  // 1970-01-01 was a Thursday
  return static_cast<int>(weekday < 0 ? weekday + 7 : weekday);
}

// The number with at least `width` digits (zeros in front), the sign before them.
void AppendNumber(std::string& out, long value, int width) {
  char digits[24];
  const bool negative = value < 0;
  const unsigned long magnitude =
      negative ? 0 - static_cast<unsigned long>(value) : static_cast<unsigned long>(value);
  const auto result = std::to_chars(digits, digits + sizeof digits, magnitude);
  const int count = static_cast<int>(result.ptr - digits);
  if (negative) out += '-';
  if (count < width) out.append(static_cast<size_t>(width - count), '0');
  out.append(digits, result.ptr);
}

// Length of the run of `letter` (any case) starting at `pos`.
size_t RunLength(std::string_view picture, size_t pos, char letter) {
  size_t end = pos;
  while (end < picture.size() && Lower(picture[end]) == letter) ++end;
  return end - pos;
}

bool HasAmPm(std::string_view picture) {
  for (size_t i = 0; i + 5 <= picture.size(); ++i) {
    if (text::EqualsNoCase(picture.substr(i, 5), "am/pm")) return true;
  }
  return false;
}

std::string Render(const DateTime& v, std::string_view picture) {
  const bool twelveHour = HasAmPm(picture);
  const int hour12 = v.hour % 12 == 0 ? 12 : v.hour % 12;
  const int hour = twelveHour ? hour12 : v.hour;
  std::string out;
  bool afterHour = false;  // the last token was h or hh, so m/mm mean minutes
  size_t i = 0;
  while (i < picture.size()) {
    const char c = picture[i];
    const char lower = Lower(c);
    if (c == '"') {
      const size_t close = picture.find('"', i + 1);
      const size_t end = close == std::string_view::npos ? picture.size() : close;
      out.append(picture.substr(i + 1, end - i - 1));
      i = end == picture.size() ? end : end + 1;
      continue;
    }
    if (c == '\\') {
      if (i + 1 < picture.size()) out += picture[i + 1];
      i += 2;
      continue;
    }
    if (lower == 'a' && text::EqualsNoCase(picture.substr(i, 5), "am/pm")) {
      const bool small = c == 'a';
      out += v.hour < 12 ? (small ? "am" : "AM") : (small ? "pm" : "PM");
      afterHour = false;
      i += 5;
      continue;
    }
    const size_t run = RunLength(picture, i, lower);
    switch (lower) {
      case 'd': {
        const size_t used = std::min<size_t>(run, 4);
        if (used == 1) AppendNumber(out, v.day, 1);
        if (used == 2) AppendNumber(out, v.day, 2);
        if (used == 3) out.append(kDays[DayOfWeek(v)], 3);
        if (used == 4) out += kDays[DayOfWeek(v)];
        afterHour = false;
        i += used;
        continue;
      }
      case 'm': {
        const size_t used = std::min<size_t>(run, 4);
        if (used <= 2 && afterHour) {
          AppendNumber(out, v.minute, static_cast<int>(used));
        } else if (used <= 2) {
          AppendNumber(out, v.month, static_cast<int>(used));
        } else if (used == 3) {
          out.append(kMonths[v.month - 1], 3);
        } else {
          out += kMonths[v.month - 1];
        }
        afterHour = false;
        i += used;
        continue;
      }
      case 'y':
        if (run >= 4) {
          AppendNumber(out, v.year, 4);
          i += 4;
        } else if (run >= 2) {
          AppendNumber(out, ((v.year % 100) + 100) % 100, 2);
          i += 2;
        } else {
          out += c;  // a lone y is no token
          i += 1;
          continue;
        }
        afterHour = false;
        continue;
      case 'h':
      case 'n':
      case 's': {
        const size_t used = std::min<size_t>(run, 2);
        const int value = lower == 'h' ? hour : lower == 'n' ? v.minute : v.second;
        AppendNumber(out, value, static_cast<int>(used));
        afterHour = lower == 'h';
        i += used;
        continue;
      }
      default:
        out += c;
        ++i;
    }
  }
  return out;
}

}  // namespace

std::string FormatDate(const DateTime& value, std::string_view picture) {
  if (!IsOnCalendar(value)) return DateTimeToText(value);
  // The ordinary text itself, so that both agree on every year (a year before 1 included).
  if (picture.empty()) return DateTimeToText(value);
  const std::string_view name = text::TrimSpaces(picture);
  if (text::EqualsNoCase(name, "General Date")) {
    const bool timeOnly = value.year == 1899 && value.month == 12 && value.day == 30;
    if (timeOnly) return Render(value, kLongTime);
    if (!value.HasTime()) return Render(value, kShortDate);
    return Render(value, kShortDate) + " " + Render(value, kLongTime);
  }
  if (text::EqualsNoCase(name, "Long Date")) return Render(value, kLongDate);
  if (text::EqualsNoCase(name, "Medium Date")) return Render(value, kMediumDate);
  if (text::EqualsNoCase(name, "Short Date")) return Render(value, kShortDate);
  if (text::EqualsNoCase(name, "Long Time")) return Render(value, kLongTime);
  if (text::EqualsNoCase(name, "Short Time")) return Render(value, kShortTime);
  return Render(value, picture);
}

bool AppendIsoDate(std::string& out, const DateTime& value) {
  if (value.year < 0 || value.year > 9999 || !IsOnCalendar(value)) return false;
  char text[19];
  const auto put = [&text](size_t at, int number, int width) {
    for (int i = width - 1; i >= 0; --i, number /= 10)
      text[at + i] = static_cast<char>('0' + number % 10);
  };
  put(0, value.year, 4);
  text[4] = '-';
  put(5, value.month, 2);
  text[7] = '-';
  put(8, value.day, 2);
  if (!value.HasTime()) {
    out.append(text, 10);
    return true;
  }
  text[10] = ' ';
  put(11, value.hour, 2);
  text[13] = ':';
  put(14, value.minute, 2);
  text[16] = ':';
  put(17, value.second, 2);
  out.append(text, 19);
  return true;
}

double DateSerial(const DateTime& value) {
  constexpr long kEpochSerial = 25569;  // 1970-01-01 counted from 1899-12-30
  const double time = (value.hour * 3600.0 + value.minute * 60.0 + value.second) / 86400.0;
  return static_cast<double>(DaysSinceEpoch(value) + kEpochSerial) + time;
}

}  // namespace kivdb
