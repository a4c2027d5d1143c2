// FormatValue as one table: every kind token, every date-picture token and named form, the
// number roundings, the long-text anchors and the escaping of every result.

#include "control/render/format_value.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include <kivdb/error.h>
#include "base/html_escape.h"
#include "control/render/date_format.h"
#include "control/render/number_format.h"

namespace kivdb {
namespace {

const DateTime kFriday{2021, 3, 5, 14, 7, 9};  // Friday 5 March 2021, 14:07:09
const DateTime kMorning{2021, 3, 5, 9, 4, 2};  // 09:04:02
const DateTime kMidnight{2021, 3, 5, 0, 30, 0};
const DateTime kNoon{2021, 3, 5, 12, 0, 0};
const DateTime kDateOnly{2021, 3, 5, 0, 0, 0};
const DateTime kTimeOnly{1899, 12, 30, 14, 7, 9};
const DateTime kLeapDay{2000, 2, 29, 0, 0, 0};  // a Tuesday

struct Case {
  const char* name;
  Variant value;
  std::string kind;
  std::string dateFormat;
  std::string expected;
};

std::vector<Case> Cases() {
  return {
      // Null, Empty and blanks, under every token.
      {"null dbl", Variant::Null(), "Dbl", "", "."},
      {"null int", Variant::Null(), "Int", "", "."},
      {"null dte", Variant::Null(), "Dte", "", "."},
      {"null htm", Variant::Null(), "Htm", "", "."},
      {"null blank", Variant::Null(), " ", "", "."},
      {"empty", Variant(), " ", "", "."},
      {"blanks are not null", Variant("   "), " ", "", ""},
      {"blanks under int", Variant("   "), "Int", "", ""},
      {"trimmed", Variant("  Smith "), " ", "", "Smith"},

      // "Dbl": grouping and two decimals.
      {"dbl example", Variant(1234567.891), "Dbl", "", "1,234,567.89"},
      {"dbl zero", Variant(0.0), "Dbl", "", "0.00"},
      {"dbl negative", Variant(int32_t{-5}), "Dbl", "", "-5.00"},
      {"dbl of integer", Variant(int32_t{1234}), "Dbl", "", "1,234.00"},
      {"dbl currency", Variant(Currency{105000}), "Dbl", "", "10.50"},
      {"dbl half away from zero", Variant(2.675), "Dbl", "", "2.68"},
      {"dbl negative half", Variant(-0.125), "Dbl", "", "-0.13"},
      {"dbl carry into thousands", Variant(999.995), "Dbl", "", "1,000.00"},
      {"dbl tiny rounds to unsigned zero", Variant(-0.001), "Dbl", "", "0.00"},
      {"dbl exact decimal", Variant::Decimal("12345678901234567890.125"), "Dbl", "",
       "12,345,678,901,234,567,890.13"},
      {"dbl scientific text", Variant(" 1e3 "), "Dbl", "", "1,000.00"},
      {"dbl huge double", Variant(1e20), "Dbl", "", "100,000,000,000,000,000,000.00"},
      {"dbl text not a number", Variant("n/a"), "Dbl", "", "n/a"},
      {"dbl of a date stays text", Variant(kDateOnly), "Dbl", "", "2021-03-05"},

      // "Int": rounded whole numbers.
      {"int example", Variant(1234567.6), "Int", "", "1,234,568"},
      {"int small", Variant(int16_t{2}), "Int", "", "2"},
      {"int single rounds", Variant(2.75f), "Int", "", "3"},
      {"int half up", Variant(2.5), "Int", "", "3"},
      {"int half down", Variant(-2.5), "Int", "", "-3"},
      {"int carry", Variant(999999.5), "Int", "", "1,000,000"},
      {"int negative grouping", Variant(int32_t{-1234}), "Int", "", "-1,234"},
      {"int beyond doubles", Variant(int64_t{9007199254740993}), "Int", "",
       "9,007,199,254,740,993"},
      {"int boolean", Variant(true), "Int", "", "-1"},
      {"int numeric text", Variant("1234.4"), "Int", "", "1,234"},
      {"int text not a number", Variant("n/a"), "Int", "", "n/a"},
      {"int text escaped", Variant("<1>"), "Int", "", "&lt;1&gt;"},

      // "Dte": each token of the picture language.
      {"dte empty picture, time", Variant(kFriday), "Dte", "", "2021-03-05 14:07:09"},
      {"dte empty picture, date", Variant(kDateOnly), "Dte", "", "2021-03-05"},
      // The ordinary text for every year, one before 1 too (found by fuzzing).
      {"dte empty picture, year before 1", Variant(DateTime{-1, 4, 30, 5, 3, 0}), "Dte", "",
       "-001-04-30 05:03:00"},
      {"dte d", Variant(kFriday), "Dte", "d", "5"},
      {"dte dd", Variant(kFriday), "Dte", "dd", "05"},
      {"dte ddd", Variant(kFriday), "Dte", "ddd", "Fri"},
      {"dte dddd", Variant(kFriday), "Dte", "dddd", "Friday"},
      {"dte dddd leap day", Variant(kLeapDay), "Dte", "dddd", "Tuesday"},
      {"dte m", Variant(kFriday), "Dte", "m", "3"},
      {"dte mm", Variant(kFriday), "Dte", "mm", "03"},
      {"dte mmm", Variant(kFriday), "Dte", "mmm", "Mar"},
      {"dte mmmm", Variant(kFriday), "Dte", "mmmm", "March"},
      {"dte yy", Variant(kFriday), "Dte", "yy", "21"},
      {"dte yyyy", Variant(kFriday), "Dte", "yyyy", "2021"},
      {"dte h", Variant(kMorning), "Dte", "h", "9"},
      {"dte hh", Variant(kMorning), "Dte", "hh", "09"},
      {"dte n", Variant(kMorning), "Dte", "n", "4"},
      {"dte nn", Variant(kMorning), "Dte", "nn", "04"},
      {"dte s", Variant(kMorning), "Dte", "s", "2"},
      {"dte ss", Variant(kMorning), "Dte", "ss", "02"},
      {"dte m after h is minutes", Variant(kMorning), "Dte", "h:m", "9:4"},
      {"dte mm after hh is minutes", Variant(kFriday), "Dte", "hh:mm:ss", "14:07:09"},
      {"dte mm before hh is month", Variant(kFriday), "Dte", "mm hh", "03 14"},
      {"dte AM/PM afternoon", Variant(kFriday), "Dte", "h:nn AM/PM", "2:07 PM"},
      {"dte am/pm morning", Variant(kMorning), "Dte", "hh:nn am/pm", "09:04 am"},
      {"dte midnight is 12 AM", Variant(kMidnight), "Dte", "h:nn AM/PM", "12:30 AM"},
      {"dte noon is 12 PM", Variant(kNoon), "Dte", "h AM/PM", "12 PM"},
      {"dte quoted literal", Variant(kFriday), "Dte", "d \"of\" mmmm", "5 of March"},
      {"dte backslash literal", Variant(kFriday), "Dte", "\\d d", "d 5"},
      {"dte letters in any case", Variant(kFriday), "Dte", "DD MMM YYYY", "05 Mar 2021"},
      {"dte parameter picture", Variant(kFriday), "Dte", "dd Mmm yyyy", "05 Mar 2021"},
      {"dte separators copied", Variant(kFriday), "Dte", "yyyy-mm-dd", "2021-03-05"},
      {"dte lone y copied", Variant(kFriday), "Dte", "y", "y"},
      {"dte General Date", Variant(kFriday), "Dte", "General Date", "05/03/2021 14:07:09"},
      {"dte General Date, date", Variant(kDateOnly), "Dte", "General Date", "05/03/2021"},
      {"dte General Date, time", Variant(kTimeOnly), "Dte", "General Date", "14:07:09"},
      {"dte Long Date", Variant(kFriday), "Dte", "Long Date", "Friday, 5 March 2021"},
      {"dte Medium Date", Variant(kFriday), "Dte", "Medium Date", "05-Mar-21"},
      {"dte Short Date", Variant(kFriday), "Dte", "Short Date", "05/03/2021"},
      {"dte Long Time", Variant(kFriday), "Dte", "Long Time", "14:07:09"},
      {"dte Short Time", Variant(kFriday), "Dte", "Short Time", "14:07"},
      {"dte named form in any case", Variant(kFriday), "Dte", "short date", "05/03/2021"},
      {"dte date text", Variant("2021-03-05"), "Dte", "d mmm yyyy", "5 Mar 2021"},
      {"dte text not a date", Variant("n/a"), "Dte", "dd", "n/a"},
      {"dte off the calendar", Variant(DateTime{2021, 13, 40, 0, 0, 0}), "Dte", "mmmm",
       "2021-13-40"},
      {"dte literal escaped", Variant(kFriday), "Dte", "\"<\"d", "&lt;5"},

      // "Htm": "text#address#" anchors, built from escaped parts, for safe schemes only.
      {"htm example", Variant("Price list#prices.htm#"), "Htm", "",
       "<a href='prices.htm'>Price list</a>"},
      {"htm two parts", Variant("Home#x.htm"), "Htm", "", "Home#x.htm"},
      {"htm three parts", Variant("Home#x.htm#"), "Htm", "", "<a href='x.htm'>Home</a>"},
      {"htm four parts", Variant("Web#page.htm#a#b"), "Htm", "", "<a href='page.htm'>Web</a>"},
      {"htm empty", Variant(""), "Htm", "", ""},
      {"htm plain text", Variant("just text"), "Htm", "", "just text"},
      {"htm https", Variant("Site#https://x.org/?a=1&b=2#"), "Htm", "",
       "<a href='https://x.org/?a=1&amp;b=2'>Site</a>"},
      {"htm mailto", Variant("Mail#mailto:a@b.org#"), "Htm", "",
       "<a href='mailto:a@b.org'>Mail</a>"},
      {"htm drive path", Variant("Doc#C:\\docs\\a.htm#"), "Htm", "",
       "<a href='C:\\docs\\a.htm'>Doc</a>"},
      {"htm script scheme not linked", Variant("Click#javascript:alert(1)#"), "Htm", "", "Click"},
      {"htm disguised scheme not linked", Variant("Click# Java\tScript:alert(1)#"), "Htm", "",
       "Click"},
      {"htm data scheme not linked", Variant("<b>#data:text/html,x#"), "Htm", "", "&lt;b&gt;"},
      {"htm quote cannot leave href", Variant("x#' onmouseover='y#"), "Htm", "",
       "<a href='&#39; onmouseover=&#39;y'>x</a>"},
      {"htm text escaped", Variant("<i>A&B</i>#a.htm#"), "Htm", "",
       "<a href='a.htm'>&lt;i&gt;A&amp;B&lt;/i&gt;</a>"},

      // Any other token: the text, escaped.
      {"blank text", Variant("Smith"), " ", "", "Smith"},
      {"blank escapes", Variant("O'Brien & \"Co\" <x>"), " ", "",
       "O&#39;Brien &amp; &quot;Co&quot; &lt;x&gt;"},
      {"blank number", Variant(int32_t{1234}), " ", "", "1234"},
      {"blank boolean", Variant(true), " ", "", "True"},
      {"blank long text makes no link", Variant("Web#page.htm#"), " ", "", "Web#page.htm#"},
      {"tokens are case sensitive", Variant(3.14159), "dbl", "", "3.14159"},
  };
}

TEST(FormatValueTest, Table) {
  for (const Case& c : Cases()) {
    EXPECT_EQ(FormatValue(c.value, c.kind, c.dateFormat), c.expected)
        << c.name << " (kind '" << c.kind << "', picture '" << c.dateFormat << "')";
  }
}

TEST(FormatValueTest, AppendKeepsWhatIsThere) {
  std::string out = "<td>";
  AppendFormattedValue(out, Variant(int32_t{1234}), "Int", "");
  EXPECT_EQ(out, "<td>1,234");
}

TEST(DateSerialTest, DaysSinceTheBaseDate) {
  EXPECT_EQ(DateSerial(DateTime{1899, 12, 30, 0, 0, 0}), 0.0);
  EXPECT_EQ(DateSerial(DateTime{1900, 1, 1, 0, 0, 0}), 2.0);
  EXPECT_EQ(DateSerial(DateTime{2021, 3, 5, 12, 0, 0}), 44260.5);
}

TEST(ZeroIfNullTest, OnlyNullBecomesZero) {
  EXPECT_EQ(ZeroIfNull(Variant::Null()).ToDouble(), 0.0);
  EXPECT_TRUE(ZeroIfNull(Variant()).IsEmpty());
  EXPECT_EQ(ZeroIfNull(Variant("x")), Variant("x"));
}

TEST(IntegerOrZeroTest, Table) {
  struct IntCase {
    const char* name;
    Variant value;
    int expected;  // when errorNumber is 0
    long errorNumber;
  };
  const std::vector<IntCase> cases = {
      {"null", Variant::Null(), 0, 0},
      {"empty", Variant(), 0, 0},
      {"number", Variant(int32_t{12}), 12, 0},
      {"numeric text", Variant(" 12 "), 12, 0},
      {"half up", Variant(2.5), 3, 0},
      {"half down", Variant(-2.5), -3, 0},
      {"boolean", Variant(true), -1, 0},
      {"largest", Variant(int32_t{32767}), 32767, 0},
      {"smallest", Variant(int32_t{-32768}), -32768, 0},
      {"too large", Variant(int32_t{32768}), 0, 6},
      {"too large after rounding", Variant(32767.5), 0, 6},
      {"too small", Variant(-40000.0), 0, 6},
      {"text", Variant("x"), 0, 13},
      {"empty text", Variant(""), 0, 13},
      {"date", Variant(kFriday), 0, 13},
      {"binary", Variant::Binary({1, 2}), 0, 13},
  };
  for (const IntCase& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.errorNumber == 0) {
      EXPECT_EQ(IntegerOrZero(c.value), c.expected);
      continue;
    }
    try {
      IntegerOrZero(c.value);
      ADD_FAILURE() << "no error";
    } catch (const Error& e) {
      EXPECT_EQ(e.Number(), c.errorNumber);
      EXPECT_EQ(e.Description(), c.errorNumber == 6 ? "Overflow" : "Type mismatch");
    }
  }
}

// The short layout of number texts against the general one, on the texts where rounding
// carries, signs vanish, exponents move the point and lengths pass the short form's bounds.
TEST(NumberTextTest, ShortLayoutMatchesTheGeneralOne) {
  const char* texts[] = {"0",
                         "-0",
                         "0.005",
                         "-0.004",
                         "-0.005",
                         "999.995",
                         "9999999.996",
                         "99.5",
                         "0.5",
                         "1234567.891",
                         "+3",
                         " 7 ",
                         "5.",
                         ".5",
                         "1e21",
                         "1.5e3",
                         "2.5E-3",
                         "-9.995e2",
                         "123456789012345678901234567890123456",
                         "0.000000000000000000000000000000000000000012345",
                         "1e40",
                         "1e41",
                         "1e-401",
                         "1e401",
                         "abc",
                         "",
                         "1e",
                         "1.2.3",
                         "--1",
                         "12345678901234567"};
  for (const char* text : texts) {
    for (const int decimals : {0, 2, 5}) {
      SCOPED_TRACE(std::string(text) + " with " + std::to_string(decimals) + " decimals");
      std::string out = "x";
      const std::optional<std::string> general = FormatNumberText(text, decimals);
      EXPECT_EQ(AppendNumberText(out, text, decimals), general.has_value());
      EXPECT_EQ(out, "x" + general.value_or(""));
    }
  }
}

// A double's cell is the picture of its fifteen-digit text, whichever way it is reached: every
// value of a sweep that mixes short texts with ones of sixteen and seventeen digits.
TEST(NumberTextTest, DoublesFormatAsTheirFifteenDigitText) {
  std::vector<double> values = {0.1 + 0.2,     2.675,
                                1.005,         -1.005,
                                1e15,          1e16 + 2,
                                123456789.125, -0.0049999999999999,
                                5e-324,        1.7976931348623157e308};
  for (int i = 0; i < 20000; ++i) values.push_back(i * 0.37 - 3000.0);
  for (const double value : values) {
    for (const char* kind : {"Dbl", "Int"}) {
      const std::optional<std::string> text = NumberTextOf(Variant(value));
      ASSERT_TRUE(text.has_value());
      const std::optional<std::string> expected =
          FormatNumberText(*text, std::string_view(kind) == "Dbl" ? 2 : 0);
      ASSERT_EQ(FormatValue(Variant(value), kind), expected.value_or("?"))
          << value << " " << kind << " from " << *text;
    }
  }
}

TEST(DateTextTest, IsoDatesAreTheOrdinaryText) {
  struct DateCase {
    DateTime date;
    bool short_;
  };
  const DateCase cases[] = {{{2024, 4, 20, 0, 0, 0}, true},   {{2024, 4, 20, 23, 59, 58}, true},
                            {{0, 1, 1, 0, 0, 0}, true},       {{999, 12, 31, 0, 0, 1}, true},
                            {{9999, 12, 31, 12, 0, 0}, true}, {{10000, 1, 1, 0, 0, 0}, false},
                            {{-1, 1, 1, 0, 0, 0}, false},     {{2021, 13, 1, 0, 0, 0}, false},
                            {{2021, 2, 29, 0, 0, 0}, false},  {{2021, 2, 28, 24, 0, 0}, false}};
  for (const DateCase& c : cases) {
    const std::string ordinary = DateTimeToText(c.date);
    SCOPED_TRACE(ordinary);
    std::string out = "x";
    EXPECT_EQ(AppendIsoDate(out, c.date), c.short_);
    EXPECT_EQ(out, c.short_ ? "x" + ordinary : "x");
    EXPECT_EQ(FormatValue(Variant(c.date), "Dte"), HtmlEscape(FormatDate(c.date, "")));
  }
}

}  // namespace
}  // namespace kivdb
