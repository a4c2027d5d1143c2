// ShowThumbnails and ReadSpecTag: the grid lines, how the settings are read (whole numbers with
// halves to even, tags in exact case, the setting-text error), and the picture addresses.

#include "control/render/show_thumbnails.h"

#include <gtest/gtest.h>

#include <kivdb/error.h>
#include "control/render/whole_number.h"
#include "tests/control/render/render_test_support.h"

namespace kivdb {
namespace {

using testing::MakeRecords;
using testing::RenderHarness;

constexpr const char* kSettingTextError = "Error is Specification XML String";

std::unique_ptr<Recordset> Products(int count) {
  std::vector<std::vector<Variant>> rows;
  const char* names[] = {"Pen", "Ink", "Pad", "Nib", "Cap", "Box", "Tag"};
  for (int i = 0; i < count; ++i) {
    rows.push_back({Variant(int32_t{i + 1}), Variant(std::string(1, 'a' + i) + ".jpg"),
                    Variant(names[i % 7]), Variant(Currency{15000 * (i + 1)})});
  }
  return MakeRecords({{"ID", type::kInteger},
                      {"FILE_Products", type::kVarWChar},
                      {"Name", type::kVarWChar},
                      {"Price", type::kCurrency}},
                     rows);
}

TEST(ShowThumbnailsTest, ProductsExample) {
  RenderHarness harness;
  auto records = Products(3);
  ShowThumbnails(harness.context, records.get(), "Products", 4,
                 "<width>80</width><columns>2</columns>");
  EXPECT_EQ(
      harness.Lines(),
      (std::vector<std::string>{
          "<p id='TTL004' class=ph><img src='circle.gif'>  Products<table id='TBL004' "
          "border=1 width=100%>",
          "<tr><td valign=top width='50%' ><table width=100% border=0><tr><td valign=top "
          "align=center ><IMG SRC='a.jpg'  width='80' ></td><tr><td class=tdl>Pen</td><tr><td "
          "class=tdr>1.50</td><tr></table>",
          "<td valign=top width='50%' ><table width=100% border=0><tr><td valign=top "
          "align=center ><IMG SRC='b.jpg'  width='80' ></td><tr><td class=tdl>Ink</td><tr><td "
          "class=tdr>3.00</td><tr></table>",
          "<tr><td valign=top width='50%' ><table width=100% border=0><tr><td valign=top "
          "align=center ><IMG SRC='c.jpg'  width='80' ></td><tr><td class=tdl>Pad</td><tr><td "
          "class=tdr>4.50</td><tr></table>",
          "</table>"}));
  EXPECT_TRUE(harness.messages.empty());
}

// The first record's line under each setting text (fields ID, FILE_Products, Name, Price).
TEST(ShowThumbnailsTest, Settings) {
  struct Case {
    const char* name;
    std::string settingText;
    std::string line;
    std::vector<std::string> messages;
  };
  const std::string values = "<tr><td class=tdl>Pen</td><tr><td class=tdr>1.50</td><tr></table>";
  const std::vector<Case> cases = {
      {"empty: no size, one column",
       "",
       "<tr><td valign=top width='100%' ><table width=100% border=0><tr><td valign=top "
       "align=center ><IMG SRC='a.jpg' ></td>" +
           values,
       {}},
      {"width and height",
       "<height>60</height> <width>80px</width>",
       "<tr><td valign=top width='100%' ><table width=100% border=0><tr><td valign=top "
       "align=center ><IMG SRC='a.jpg'  width='80'  height='60' ></td>" +
           values,
       {}},
      {"values to the right, any case",
       "<textposition>Right</textposition><columns>6</columns>",
       "<tr><td valign=top width='17%' ><table width=100% border=0><tr><td valign=top "
       "align=center % rowspan=3><IMG SRC='a.jpg' ></td>" +
           values,
       {}},
      {"leading blank is not right",
       "<textposition> right</textposition><columns>8</columns>",
       "<tr><td valign=top width='12%' ><table width=100% border=0><tr><td valign=top "
       "align=center ><IMG SRC='a.jpg' ></td>" +
           values,
       {}},
      {"tags are case-sensitive",
       "<Width>80</Width><columns>3</columns>",
       "<tr><td valign=top width='33%' ><table width=100% border=0><tr><td valign=top "
       "align=center ><IMG SRC='a.jpg' ></td>" +
           values,
       {}},
      {"no closing tag",
       "<width>80<height>5</height>",
       "<tr><td valign=top width='100%' ><table width=100% border=0><tr><td valign=top "
       "align=center ><IMG SRC='a.jpg'  height='5' ></td>" +
           values,
       {kSettingTextError}},
      {"zero and negative sizes",
       "<width>0</width><height>-4</height><columns>abc</columns>",
       "<tr><td valign=top width='100%' ><table width=100% border=0><tr><td valign=top "
       "align=center ><IMG SRC='a.jpg' ></td>" +
           values,
       {}},
      {"halves to even",
       "<width>80.5</width><height>81.5</height><columns>2.5</columns>",
       "<tr><td valign=top width='50%' ><table width=100% border=0><tr><td valign=top "
       "align=center ><IMG SRC='a.jpg'  width='80'  height='82' ></td>" +
           values,
       {}},
  };
  for (const Case& c : cases) {
    for (const bool talking : {true, false}) {
      RenderHarness harness;
      harness.context.talking = talking;
      auto records = Products(1);
      ShowThumbnails(harness.context, records.get(), "", 4, c.settingText);
      const std::vector<std::string> lines = harness.Lines();
      ASSERT_EQ(lines.size(), 3u) << c.name;
      EXPECT_EQ(lines[1], c.line) << c.name;
      // The setting-text error is told whatever Talking is.
      EXPECT_EQ(harness.messages, c.messages) << c.name;
    }
  }
}

TEST(ShowThumbnailsTest, GridRowsStartEveryColumnsRecords) {
  RenderHarness harness;
  auto records = Products(7);
  ShowThumbnails(harness.context, records.get(), "", 1, "<columns>3</columns>");
  const std::vector<std::string> lines = harness.Lines();
  ASSERT_EQ(lines.size(), 9u);
  std::vector<size_t> rowStarts;
  for (size_t i = 1; i + 1 < lines.size(); ++i) {
    if (lines[i].rfind("<tr><td valign=top width='33%'", 0) == 0) rowStarts.push_back(i - 1);
  }
  EXPECT_EQ(rowStarts, (std::vector<size_t>{0, 3, 6}));
  EXPECT_EQ(lines.back(), "</table>");
}

TEST(ShowThumbnailsTest, PictureAddressesAndRecordsWithoutPictures) {
  struct Case {
    const char* name;
    std::vector<testing::FieldSpec> fields;
    std::vector<Variant> row;
    std::string line;
  };
  const std::vector<Case> cases = {
      {"null address",
       {{"FILEStudents", type::kVarWChar}},
       {Variant::Null()},
       "<tr><td valign=top width='100%' ><table width=100% border=0><tr><td valign=top "
       "align=center ><IMG SRC='' ></td></table>"},
      {"address escaped",
       {{"file_x", type::kVarWChar}},
       {Variant("x.jpg' onerror='a()")},
       "<tr><td valign=top width='100%' ><table width=100% border=0><tr><td valign=top "
       "align=center ><IMG SRC='x.jpg&#39; onerror=&#39;a()' ></td></table>"},
      {"script address named no picture",
       {{"FILE1", type::kVarWChar}, {"FILE2", type::kVarWChar}, {"FILE3", type::kVarWChar}},
       {Variant(" JavaScript:a()"), Variant("data:text/html,<p>"), Variant("vbscript:a")},
       "<tr><td valign=top width='100%' ><table width=100% border=0><tr><td valign=top "
       "align=center ><IMG SRC='' ></td><tr><td valign=top align=center ><IMG SRC='' ></td><tr>"
       "<td valign=top align=center ><IMG SRC='' ></td></table>"},
      {"web, file, drive and picture data addresses kept",
       {{"FILE1", type::kVarWChar}, {"FILE2", type::kVarWChar}, {"FILE3", type::kVarWChar}},
       {Variant("https://a.example/p.png"), Variant("C:\\p\\q.gif"),
        Variant("DATA:image/png;base64,AA")},
       "<tr><td valign=top width='100%' ><table width=100% border=0><tr><td valign=top "
       "align=center ><IMG SRC='https://a.example/p.png' ></td><tr><td valign=top align=center "
       "><IMG SRC='C:\\p\\q.gif' ></td><tr><td valign=top align=center ><IMG "
       "SRC='DATA:image/png;base64,AA' ></td></table>"},
      {"no picture field, every class",
       {{"Id", type::kInteger},
        {"When", type::kDBDate},
        {"Note", type::kLongVarWChar},
        {"Qty", type::kSingle},
        {"Ok", type::kBoolean}},
       {Variant(int32_t{3}), Variant(DateTime{2021, 3, 5, 0, 0, 0}), Variant("Web#w.htm#"),
        Variant(2.5f), Variant::Null()},
       "<tr><td valign=top width='100%' ><table width=100% border=0><tr><td "
       "class=tdr>05/03/2021</td><tr><td class=tdr><a href='w.htm'>Web</a></td><tr><td "
       "class=tdr>3</td><tr><td class=tdl>.</td><tr></table>"},
  };
  for (const Case& c : cases) {
    RenderHarness harness;
    harness.context.dateFormat = "dd/mm/yyyy";
    auto records = MakeRecords(c.fields, {c.row});
    ShowThumbnails(harness.context, records.get(), "", 1, "");
    const std::vector<std::string> lines = harness.Lines();
    ASSERT_EQ(lines.size(), 3u) << c.name;
    EXPECT_EQ(lines[1], c.line) << c.name;
  }
}

TEST(ShowThumbnailsTest, NothingWrittenWithoutRecords) {
  RenderHarness harness;
  auto blank = MakeRecords({{"FILE", type::kVarWChar}}, {});
  ShowThumbnails(harness.context, blank.get(), "Pictures:", 1, "");
  auto unknown = Products(2);
  unknown->SetRecordCountUnknown(true);
  ShowThumbnails(harness.context, unknown.get(), "Pictures:", 1, "<width>1");
  ShowThumbnails(harness.context, nullptr, "Pictures:", 1, "");
  EXPECT_EQ(harness.page.Text(), "");
  // The settings are read before the count is looked at.
  EXPECT_EQ(harness.messages, (std::vector<std::string>{
                                  "Blank Recordset: Pictures:", kSettingTextError,
                                  "Error: 91, Object variable or With block variable not set"}));
}

TEST(ReadSpecTagTest, Tags) {
  struct Case {
    const char* name;
    std::string settingText;
    std::string tag;
    Variant result;
    bool reported;
  };
  const std::vector<Case> cases = {
      {"found, blanks kept", "<a> <width> 80 </width>", "<width>", Variant(" 80 "), false},
      {"first of two", "<width>1</width><width>2</width>", "<width>", Variant("1"), false},
      {"missing", "<height>1</height>", "<width>", Variant(""), false},
      {"case matters", "<Width>1</Width>", "<width>", Variant(""), false},
      {"no closing tag", "<width>80", "<width>", Variant(), true},
      {"closing tag first", "</width><width>80", "<width>", Variant(), true},
      {"empty between", "<columns></columns>", "<columns>", Variant(""), false},
  };
  for (const Case& c : cases) {
    RenderHarness harness;
    harness.context.talking = false;
    EXPECT_EQ(ReadSpecTag(harness.context, c.settingText, c.tag), c.result) << c.name;
    EXPECT_EQ(harness.messages.size(), c.reported ? 1u : 0u) << c.name;
  }
}

TEST(WholeNumberTest, LeadingNumbersRoundHalvesToEven) {
  const std::vector<std::pair<std::string, long>> cases = {
      {"150", 150}, {"150px", 150}, {"", 0},       {"abc", 0},   {" 12.5", 12},
      {"13.5", 14}, {"-2.5", -2},   {"1 50", 150}, {"1e2", 100}, {"2em", 2},
      {"+7", 7},    {"-", 0},       {".5", 0},     {"1.5.2", 2}, {"1e-999", 0},
  };
  for (const auto& [text, number] : cases) EXPECT_EQ(LeadingWholeNumber(text), number) << text;
  EXPECT_THROW(LeadingWholeNumber("1e999"), Error);
  EXPECT_THROW(LeadingWholeNumber("99999999999"), Error);
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(1.5), 2);
  EXPECT_EQ(RoundHalfEven(-1.5), -2);
  EXPECT_EQ(RoundHalfEven(2.4999), 2);
}

}  // namespace
}  // namespace kivdb
