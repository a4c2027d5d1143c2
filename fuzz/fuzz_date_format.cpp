// Date pictures with any text and any date, calendar or not: FormatDate never crashes or reads
// outside its name tables, gives the ISO text for an empty picture or a date off the calendar,
// and a "Dte" cell adds no markup whatever the picture holds.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include <kivdb/variant.h>
#include "control/render/date_format.h"
#include "control/render/format_value.h"
#include "fuzz/html_oracle.h"

namespace {

bool OnCalendar(const kivdb::DateTime& v) {
  static constexpr int kMonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (v.month < 1 || v.month > 12 || v.day < 1) return false;
  const bool leap = (v.year % 4 == 0 && v.year % 100 != 0) || v.year % 400 == 0;
  const int days = v.month == 2 && leap ? 29 : kMonthDays[v.month - 1];
  return v.day <= days && v.hour >= 0 && v.hour < 24 && v.minute >= 0 && v.minute < 60 &&
         v.second >= 0 && v.second < 60;
}

// Mostly plausible parts, sometimes any int at all.
int Part(FuzzedDataProvider& provider, int low, int high) {
  return provider.ConsumeBool() ? provider.ConsumeIntegralInRange(low, high)
                                : provider.ConsumeIntegral<int>();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider provider(data, size);
  kivdb::DateTime date;
  date.year = Part(provider, 1, 9999);
  date.month = Part(provider, 1, 12);
  date.day = Part(provider, 1, 31);
  date.hour = Part(provider, 0, 23);
  date.minute = Part(provider, 0, 59);
  date.second = Part(provider, 0, 59);
  const std::string picture = provider.ConsumeRemainingBytesAsString();

  const std::string iso = kivdb::DateTimeToText(date);
  const std::string formatted = kivdb::FormatDate(date, picture);
  if (picture.empty() || !OnCalendar(date)) FUZZ_CHECK(formatted == iso, picture);
  FUZZ_CHECK(kivdb::FormatDate(date, "") == iso, iso);

  // The picture is the host's, the date the data's: the cell is escaped all the same.
  kivfuzz::CheckPlainCell(kivdb::FormatValue(kivdb::Variant(date), "Dte", picture), picture);
  // The picture as a date value read from text.
  kivfuzz::CheckPlainCell(kivdb::FormatValue(kivdb::Variant(picture), "Dte", "dddd d mmmm yyyy"),
                          picture);
  return 0;
}
