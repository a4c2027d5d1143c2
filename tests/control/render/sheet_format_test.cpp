#include "control/render/sheet_format.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "control/render/table_csv.h"

namespace kivdb {
namespace {

TEST(SheetFormat, SheetNamesAreValidAndUnique) {
  struct Case {
    const char* title;
    const char* want;
  } cases[] = {
      {"Orders for : North", "Orders for North"},
      {"[a/b]?*\\:x", "a b x"},
      {"'quoted'", "quoted"},
      {"", "Table 7"},
      {"   ", "Table 7 (2)"},
      {"orders FOR north", "orders FOR north (2)"},
      {"History", "History (2)"},
      // 31 characters at most, counted in characters: the cut never splits one.
      {"ÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄ", "ÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄ"},
      {"ÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄ", "ÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄ (2)"},
  };
  std::set<std::string> used;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    EXPECT_EQ(SheetName(c.title, 7, used), c.want);
  }
}

TEST(SheetFormat, DatePicturesAndSerials) {
  EXPECT_EQ(SheetDateFormat("", false), "yyyy-mm-dd");
  EXPECT_EQ(SheetDateFormat("", true), "yyyy-mm-dd hh:mm:ss");
  EXPECT_EQ(SheetDateFormat("Long Date", false), "dddd, d mmmm yyyy");
  EXPECT_EQ(SheetDateFormat("dd.mm.yy hh:nn AM/PM \"at\" #", false),
            "dd.mm.yy hh:mm AM/PM \"at\" \\#");
  struct Case {
    DateTime date;
    std::optional<double> serial;
  } cases[] = {
      {{1900, 1, 1, 0, 0, 0}, 1},      {{1900, 2, 28, 12, 0, 0}, 59.5},
      {{1900, 3, 1, 0, 0, 0}, 61},     {{2024, 3, 5, 0, 0, 0}, 45356},
      {{1899, 12, 30, 6, 0, 0}, 0.25}, {{1899, 12, 29, 0, 0, 0}, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(DateTimeToText(c.date));
    EXPECT_EQ(SheetSerial(c.date), c.serial);
  }
}

TEST(SheetFormat, CsvFieldsAreQuotedAndNeverFormulas) {
  struct Case {
    Variant value;
    const char* want;
  } cases[] = {
      {Variant("plain"), "plain"},
      {Variant("a,b"), "\"a,b\""},
      {Variant("say \"hi\""), "\"say \"\"hi\"\"\""},
      {Variant("=1+2"), "\"'=1+2\""},
      {Variant("-5"), "\"'-5\""},
      {Variant("\tx"), "\"'\tx\""},
      {Variant("00123"), "00123"},
      {Variant(int64_t{-9007199254740993}), "-9007199254740993"},
      {Variant(0.1), "0.1"},
      {Variant(Currency{105000}), "10.5"},
      {Variant(DateTime{2024, 3, 5, 14, 7, 9}), "2024-03-05T14:07:09"},
      {Variant(DateTime{1899, 12, 30, 14, 7, 9}), "14:07:09"},
      {Variant::Null(), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.want);
    EXPECT_EQ(CsvField(c.value), c.want);
  }
}

}  // namespace
}  // namespace kivdb
