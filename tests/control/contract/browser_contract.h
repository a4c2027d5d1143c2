#pragma once
// The browser contract the control relies on, as one parameterised suite that every
// implementation runs unchanged (see tree_view_contract.h for how an implementation joins).
// Addresses are compared by their ends: an engine reports a link it resolved against the page's
// folder as a full URL, where the in-memory browser keeps the text the page wrote.
// Include this header in one source file of a test program only (it defines the tests).

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <kivdb/browser.h>
#include <kivdb/error.h>

namespace kivdb::contract {

// A browser under test with the host's side of it.
class BrowserUnderTest {
 public:
  virtual ~BrowserUnderTest() = default;
  virtual Browser& Subject() = 0;
  // A user's click on a link with this address in the shown page; whether it navigated.
  virtual bool ClickLink(const std::string& href) = 0;
  // Every navigation that happened, and the address shown now.
  virtual std::vector<std::string> History() = 0;
  virtual std::string Current() = 0;
  // The user's answers to the save and print prompts; empty cancels.
  virtual void SetSaveTarget(const std::string& path) = 0;
  virtual void SetPrintTarget(const std::string& path) = 0;
};

struct BrowserMaker {
  std::string name;
  std::function<std::unique_ptr<BrowserUnderTest>()> make;
};
inline std::string BrowserMakerName(const ::testing::TestParamInfo<BrowserMaker>& info) {
  return info.param.name;
}

class BrowserContract : public ::testing::TestWithParam<BrowserMaker> {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "-" + info->name();
    for (char& c : name) {
      if (c == '/') c = '-';
    }
    folder_ = std::filesystem::temp_directory_path() / "kivdb-contract" / name;
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    subject_ = GetParam().make();
  }
  void TearDown() override {
    subject_.reset();
    std::filesystem::remove_all(folder_);
  }

  // Writes a page into the test's folder and returns its path.
  std::string Page(const std::string& name, const std::string& html) {
    const std::string path = (folder_ / name).string();
    std::ofstream(path, std::ios::binary) << html;
    return path;
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  std::filesystem::path folder_;
  std::unique_ptr<BrowserUnderTest> subject_;
};

using ::testing::EndsWith;
using ::testing::HasSubstr;

TEST_P(BrowserContract, EveryNavigationPassesBeforeNavigate2AndCancelledOnesDoNotHappen) {
  const std::string a = Page("a.htm", "<p>a</p>");
  Page("b.htm", "<p>b</p>");
  const std::string stop = Page("stop.htm", "<p>stop</p>");
  std::vector<std::string> seen;
  subject_->Subject().SetBeforeNavigateHandler([&](const std::string& url, bool& cancel) {
    seen.push_back(url);
    cancel = url.find("stop") != std::string::npos || url.find('^') != std::string::npos;
  });
  subject_->Subject().Navigate(a);
  subject_->Subject().Navigate(stop);
  EXPECT_FALSE(subject_->ClickLink("stop-too.htm"));
  EXPECT_FALSE(subject_->ClickLink("^000030000000042"));
  EXPECT_TRUE(subject_->ClickLink("b.htm"));
  EXPECT_THAT(seen, ::testing::ElementsAre(EndsWith("a.htm"), EndsWith("stop.htm"),
                                           EndsWith("stop-too.htm"), EndsWith("^000030000000042"),
                                           EndsWith("b.htm")));
  EXPECT_THAT(subject_->History(), ::testing::ElementsAre(EndsWith("a.htm"), EndsWith("b.htm")));
  EXPECT_THAT(subject_->Current(), EndsWith("b.htm"));

  // One navigation asks once; unbound, nothing is asked and nothing refused.
  subject_->Subject().Navigate("about:blank");
  EXPECT_EQ(subject_->Current(), "about:blank");
  subject_->Subject().SetBeforeNavigateHandler({});
  subject_->Subject().Navigate(stop);
  EXPECT_THAT(subject_->Current(), EndsWith("stop.htm"));
  EXPECT_TRUE(subject_->ClickLink("b.htm"));
  EXPECT_EQ(seen.size(), 6u);
  EXPECT_EQ(seen.back(), "about:blank");
}

TEST_P(BrowserContract, CommandsWriteTheShownPageOrFailWithANumber) {
  const std::string page = Page("page.htm", "<html><body><p>x</p></body></html>");
  struct Case {
    const char* name;
    std::string shown;
    int command;
    std::string target;
    long error;
  };
  const Case cases[] = {
      {"save", page, browser_command::kSaveAs, (folder_ / "s.htm").string(), 0},
      {"print", page, browser_command::kPrint, (folder_ / "p.out").string(), 0},
      {"nothing shown", "", browser_command::kSaveAs, (folder_ / "x.htm").string(), 5},
      {"blank page", "about:blank", browser_command::kPrint, (folder_ / "x.htm").string(), 5},
      {"prompt cancelled", page, browser_command::kSaveAs, "", 5},
      {"print cancelled", page, browser_command::kPrint, "", 5},
      {"unknown command", page, 99, (folder_ / "x.htm").string(), 5},
      // A folder cannot be made where a file is.
      {"target unwritable", page, browser_command::kSaveAs,
       (folder_ / "page.htm" / "x.htm").string(), 75},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    subject_ = GetParam().make();
    if (!c.shown.empty()) subject_->Subject().Navigate(c.shown);
    subject_->SetSaveTarget(c.target);
    subject_->SetPrintTarget(c.target);
    long error = 0;
    try {
      subject_->Subject().ExecWB(c.command, browser_command::kPromptUser);
    } catch (const Error& e) {
      error = e.Number();
    }
    EXPECT_EQ(error, c.error);
    if (c.error == 0 && c.command == browser_command::kSaveAs) {
      EXPECT_THAT(Read(c.target), HasSubstr("<p>x</p>"));
    } else if (c.error == 0) {
      EXPECT_GT(std::filesystem::file_size(c.target), 0u);
    } else if (!c.target.empty()) {
      EXPECT_FALSE(std::filesystem::exists(c.target));
    }
  }
}

}  // namespace kivdb::contract
