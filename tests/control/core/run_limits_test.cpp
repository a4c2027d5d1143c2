// The control's run-time limits and its files: a read stopped by QueryTimeout fails like any failed
// read while the page goes on, and a page, front page or saved page the disk refuses is reported,
// never shown half written, and leaves an earlier save as it was.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "tests/control/core/control_harness.h"
#include "tests/support/file_size_limit.h"

namespace kivdb::testing {
namespace {

namespace fs = std::filesystem;
using fixture::SchemeFixture;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing_support::FileSizeLimit;
using testing_support::FullDiskLink;

constexpr const char* kEndless =
    "WITH RECURSIVE c(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM c WHERE n < 100000000000) "
    "SELECT count(*) AS Visits FROM c";

bool Gone(const fs::path& path) {
  return !fs::exists(fs::symlink_status(path));
}

TEST(RunLimits, ReadPastTheQueryTimeoutFailsAndThePageGoesOn) {
  ControlHarness h(SchemeFixture::Standard().Query("spW_Visits", kEndless));
  h.control.QueryTimeout(1);
  h.control.Talking(true);
  h.control.RefreshBrowser();
  h.TakeEvents();
  h.Click("Data Browser\\Diary");
  const std::vector<std::string> events = h.TakeEvents();
  EXPECT_THAT(events, ::testing::Contains("KivDBMessage: Error Reading Data From Database"));
  EXPECT_THAT(events, ::testing::Contains(HasSubstr("Unable to Access Data for the SQL : EXEC "
                                                    "spW_Visits")));
  ASSERT_GE(events.size(), 2u);
  EXPECT_EQ(events[events.size() - 2], "Navigate: " + h.ReportFile().string());
  EXPECT_EQ(events.back(), "LogIt: View: Data Browser\\Diary");
  // The paragraph after the stopped one is on the page.
  EXPECT_THAT(ReadFile(h.ReportFile()), HasSubstr("TTL042"));
}

TEST(RunLimits, QueryTimeoutReachesTheDalInUse) {
  struct Case {
    const char* name;
    int hostLimit;     // the host's own DAL limit; -1: the control makes its DAL
    int controlLimit;  // set before the DAL is handed over
    int expected;
  };
  const Case cases[] = {
      {"control's own DAL", -1, 4, 4},
      {"no control limit keeps the host's", 9, 0, 9},
      {"control limit wins over the host's", 9, 4, 4},
      {"negative counts as none", -1, -3, 0},
  };
  for (const Case& c : cases) {
    KivDB control;
    control.QueryTimeout(c.controlLimit);
    if (c.hostLimit >= 0) {
      auto dal = std::make_shared<DAL>();
      dal->QueryTimeout(c.hostLimit);
      control.DAL(dal);
    }
    EXPECT_EQ(control.DAL()->QueryTimeout(), c.expected) << c.name;
  }
  KivDB control;
  auto dal = control.DAL();
  control.QueryTimeout(7);
  EXPECT_EQ(dal->QueryTimeout(), 7);
  control.QueryTimeout(0);
  EXPECT_EQ(dal->QueryTimeout(), 0);
  EXPECT_EQ(control.QueryTimeout(), 0);
}

TEST(RunLimits, PageTheDiskRefusesIsToldAndNeverShown) {
  struct Case {
    const char* name;
    bool sizeLimit;  // otherwise the page file is a link to a full disk
    bool talking;
    std::string message;
  };
  const Case cases[] = {
      {"full disk", false, true, "Error: 61, Disk full: "},
      {"full disk, silent", false, false, ""},
      {"file size limit", true, true, "Error: 75, Path/File access error: "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ControlHarness h;
    h.control.Talking(c.talking);
    h.control.RefreshBrowser();
    h.TakeEvents();
    std::unique_ptr<FileSizeLimit> limit;
    if (c.sizeLimit) {
      limit = std::make_unique<FileSizeLimit>(10);
    } else {
      FullDiskLink(h.ReportFile());
    }
    // A node that only reads: nothing but the page is written.
    h.Click("Data Browser\\Regions");
    limit.reset();
    std::vector<std::string> expected = {"Navigate: about:blank"};
    if (!c.message.empty())
      expected.push_back("KivDBMessage: " + c.message + h.ReportFile().string());
    EXPECT_EQ(h.TakeEvents(), expected);
    EXPECT_EQ(h.browser.Current(), "about:blank");
    EXPECT_TRUE(Gone(h.ReportFile()));
  }
}

TEST(RunLimits, BigPageRefusedInsideATableEndsThePageWithOneMessage) {
  // About 2 MB of rows, so the page is written out while the table is still being written.
  ControlHarness h(
      SchemeFixture::Standard()
          .Query("spW_Visits",
                 "WITH RECURSIVE c(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM c WHERE n < 30000) "
                 "SELECT n AS Visit, printf('%060d', n) AS Note FROM c")
          .RemoveWeb(40));
  h.control.Talking(true);
  h.control.RefreshBrowser();
  h.TakeEvents();
  {
    FileSizeLimit limit(100000);
    h.Click("Data Browser\\Diary");
  }
  EXPECT_THAT(h.TakeEvents(), ElementsAre("Navigate: about:blank",
                                          "KivDBMessage: Error: 75, Path/File access error: " +
                                              h.ReportFile().string()));
  EXPECT_TRUE(Gone(h.ReportFile()));
}

TEST(RunLimits, FrontPageTheDiskRefusesIsNamed) {
  ControlHarness h;
  h.control.Talking(true);
  FullDiskLink(h.folder / "fp.htm");
  h.control.RefreshBrowser();
  const std::vector<std::string> events = h.TakeEvents();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events[0], "KivDBMessage: Error: 61, Disk full: " + (h.folder / "fp.htm").string());
  EXPECT_TRUE(Gone(h.folder / "fp.htm"));
}

TEST(RunLimits, SaveTheDiskRefusesKeepsTheEarlierSave) {
  ControlHarness h;
  h.control.RefreshBrowser();
  h.Click("Data Browser\\Diary");
  h.TakeEvents();
  const fs::path target = h.folder / "saved.htm";
  std::ofstream(target, std::ios::binary) << "the earlier save";
  h.browser.SetSaveTarget(target.string());
  {
    FileSizeLimit limit(10);
    h.control.SavePage();
  }
  EXPECT_THAT(h.TakeEvents(), ElementsAre("KivDBMessage: Save Command Error: Path/File access "
                                          "error: " +
                                          target.string()));
  EXPECT_EQ(ReadFile(target), "the earlier save");
  for (const auto& entry : fs::directory_iterator(h.folder))
    EXPECT_EQ(entry.path().filename().string().find("saved.htm.~"), std::string::npos);
}

}  // namespace
}  // namespace kivdb::testing
