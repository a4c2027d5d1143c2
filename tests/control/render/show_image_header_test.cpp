// ShowImageHeader: the card with its picture cells, the picture files (bytes unchanged, one name
// per picture of the page), the form link and the failures that write nothing.

#include "control/render/show_image_header.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/control/render/render_test_support.h"
#include "tests/support/file_size_limit.h"

namespace kivdb {
namespace {

using testing::MakeRecords;
using testing::RenderHarness;

// A harness whose application folder is a new empty folder of the running test.
struct PictureHarness : RenderHarness {
  PictureHarness() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder = std::filesystem::path(::testing::TempDir()) / "kivdb-render" / info->name();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    context.applicationFolder = folder.string();
  }
  std::vector<uint8_t> File(const std::string& name) const {
    std::ifstream in(folder / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  std::filesystem::path folder;
};

// Every byte value, a zero byte and CR LF included: the file must hold them unchanged.
std::vector<uint8_t> AllBytes() {
  std::vector<uint8_t> bytes;
  for (int b = 0; b < 256; ++b) bytes.push_back(static_cast<uint8_t>(255 - b));
  bytes.push_back('\r');
  bytes.push_back('\n');
  return bytes;
}

TEST(ShowImageHeaderTest, EmployeeExample) {
  PictureHarness harness;
  auto records = MakeRecords(
      {{"ID", type::kInteger}, {"IMGEmployee", type::kLongVarBinary}, {"Name", type::kVarWChar}},
      {{Variant(int32_t{9}), Variant::Binary(AllBytes()), Variant("Lee")}});
  ShowImageHeader(harness.context, records.get(), "Employee", 3, 0);
  EXPECT_EQ(harness.Lines(),
            std::vector<std::string>{
                "<p id='TTL003' class=ph><img src='circle.gif'>  Employee<table id='TBL003' "
                "border=1 width=100%><TR><TD VALIGN=TOP WIDTH=40% ROWSPAN=2><IMG SRC='pic1' "
                "WIDTH=100%></TD><td class=hn>ID: </td><td class=hvr>9</td><tr><td "
                "class=hn>Name: </td><td class=hvl>Lee</td><tr></table><br>"});
  EXPECT_EQ(harness.File("pic1"), AllBytes());
  EXPECT_EQ(harness.context.pictureCount, 1);
  EXPECT_TRUE(harness.messages.empty());
}

TEST(ShowImageHeaderTest, EachPictureOfThePageHasItsOwnFile) {
  PictureHarness harness;
  const std::vector<uint8_t> first = {'G', 'I', 'F', 1};
  const std::vector<uint8_t> second = {0x89, 'P', 'N', 'G'};
  const std::vector<uint8_t> third = {};
  auto records =
      MakeRecords({{"img", type::kBinary}, {"Name", type::kVarWChar}, {"Img_x", type::kVarBinary}},
                  {{Variant::Binary(first), Variant("Ann"), Variant::Binary(second)}});
  ShowImageHeader(harness.context, records.get(), "", 1, 0);
  auto more = MakeRecords({{"IMGEmployee", type::kLongVarBinary}}, {{Variant::Binary(third)}});
  ShowImageHeader(harness.context, more.get(), "", 2, 0);

  EXPECT_EQ(harness.Lines(),
            (std::vector<std::string>{
                "<table id='TBL001' border=1 width=100%><TR><TD VALIGN=TOP WIDTH=40% "
                "ROWSPAN=2><IMG SRC='pic1' WIDTH=100%></TD><TR><TD VALIGN=TOP WIDTH=40% "
                "ROWSPAN=2><IMG SRC='pic2' WIDTH=100%></TD><td class=hn>Name: </td><td "
                "class=hvl>Ann</td><tr></table><br>",
                "<table id='TBL002' border=1 width=100%><TR><TD VALIGN=TOP WIDTH=40% "
                "ROWSPAN=0><IMG SRC='pic3' WIDTH=100%></TD></table><br>"}));
  EXPECT_EQ(harness.File("pic1"), first);
  EXPECT_EQ(harness.File("pic2"), second);
  EXPECT_TRUE(std::filesystem::exists(harness.folder / "pic3"));
  EXPECT_EQ(harness.File("pic3"), third);
}

TEST(ShowImageHeaderTest, PictureFieldNames) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"img", true}, {"Img_x", true}, {"IMGEmployee", true}, {"Image", false},
      {"IM", false}, {"", false},     {"xIMG", false},       {"iMg", true},
  };
  for (const auto& [name, picture] : cases) EXPECT_EQ(IsPictureFieldName(name), picture) << name;
}

TEST(ShowImageHeaderTest, CardWithoutPicturesAndWithAFormLink) {
  PictureHarness harness;
  auto records =
      MakeRecords({{"ID", type::kInteger}, {"Image", type::kVarWChar}, {"Paid", type::kCurrency}},
                  {{Variant(int32_t{42}), Variant("<none>"), Variant::Null()},
                   {Variant(int32_t{43}), Variant("second"), Variant(Currency{10000})}});
  ShowImageHeader(harness.context, records.get(), "Staff:", 7, 3);
  EXPECT_EQ(harness.Lines(),
            std::vector<std::string>{
                "<p id='TTL007' class=ph><img src='circle.gif'>  Staff: North<table id='TBL007' "
                "border=1 width=100%><td class=hn>ID: </td><td class=hvr><a "
                "href='^000030000000042'>Click here. . .</a></td><tr><td class=hn>Image: "
                "</td><td class=hvl>&lt;none&gt;</td><tr><td class=hn>Paid: </td><td "
                "class=hvr>.</td><tr></table><br>"});
  EXPECT_FALSE(std::filesystem::exists(harness.folder / "pic1"));
}

TEST(ShowImageHeaderTest, FailuresWriteNoLine) {
  struct Case {
    const char* name;
    Variant picture;
    bool folderExists;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"null picture", Variant::Null(), true, "Error: 94, Invalid use of Null"},
      {"text picture", Variant("a.jpg"), true, "Error: 13, Type mismatch"},
      {"number picture", Variant(int32_t{1}), true, "Error: 13, Type mismatch"},
      {"missing folder", Variant::Binary({1, 2}), false, "Error: 76, Path not found"},
  };
  for (const Case& c : cases) {
    PictureHarness harness;
    if (!c.folderExists) harness.context.applicationFolder = (harness.folder / "gone").string();
    auto records = MakeRecords({{"Name", type::kVarWChar}, {"IMG", type::kLongVarBinary}},
                               {{Variant("Lee"), c.picture}});
    ShowImageHeader(harness.context, records.get(), "Employee", 3, 0);
    EXPECT_EQ(harness.page.Text(), "") << c.name;
    EXPECT_EQ(harness.messages, std::vector<std::string>{c.message}) << c.name;
    EXPECT_EQ(harness.context.pictureCount, 0) << c.name;

    harness.messages.clear();
    harness.context.talking = false;
    ShowImageHeader(harness.context, records.get(), "Employee", 3, 0);
    EXPECT_TRUE(harness.messages.empty()) << c.name;
  }
}

TEST(ShowImageHeaderTest, PictureTheDiskRefusesIsNamedAndLeavesNoHalfFile) {
  PictureHarness harness;
  auto records = MakeRecords({{"Name", type::kVarWChar}, {"IMG", type::kLongVarBinary}},
                             {{Variant("Lee"), Variant::Binary(std::vector<uint8_t>(4096, 7))}});
  const std::string picture = (harness.folder / "pic1").string();
  {
    testing_support::FileSizeLimit limit(1000);
    ShowImageHeader(harness.context, records.get(), "Employee", 3, 0);
  }
  testing_support::FullDiskLink(picture);
  ShowImageHeader(harness.context, records.get(), "Employee", 3, 0);
  EXPECT_EQ(harness.page.Text(), "");
  EXPECT_EQ(harness.messages,
            (std::vector<std::string>{"Error: 75, Path/File access error: " + picture,
                                      "Error: 61, Disk full: " + picture}));
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(picture)));
  EXPECT_EQ(harness.context.pictureCount, 0);
}

TEST(ShowImageHeaderTest, NothingWrittenWithoutRecords) {
  PictureHarness harness;
  auto blank = MakeRecords({{"IMG", type::kBinary}}, {});
  ShowImageHeader(harness.context, blank.get(), "Employee:", 3, 0);
  auto unknown = MakeRecords({{"IMG", type::kBinary}}, {{Variant::Binary({1})}});
  unknown->SetRecordCountUnknown(true);
  ShowImageHeader(harness.context, unknown.get(), "Employee:", 3, 0);
  ShowImageHeader(harness.context, nullptr, "Employee:", 3, 0);
  EXPECT_EQ(harness.page.Text(), "");
  EXPECT_EQ(harness.messages, (std::vector<std::string>{
                                  "Blank Recordset: Employee:",
                                  "Error: 91, Object variable or With block variable not set"}));
  EXPECT_FALSE(std::filesystem::exists(harness.folder / "pic1"));
}

}  // namespace
}  // namespace kivdb
