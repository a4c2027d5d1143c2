// The in-memory browser keeps the browser contract: every navigation passes BeforeNavigate2,
// and save and print answer with copies of the shown page.

#include <kivdb/memory_browser.h>

#include "tests/control/contract/browser_contract.h"

namespace kivdb {
namespace {

class MemoryBrowserUnderTest : public contract::BrowserUnderTest {
 public:
  Browser& Subject() override { return browser_; }
  bool ClickLink(const std::string& href) override { return browser_.ClickLink(href); }
  std::vector<std::string> History() override { return browser_.History(); }
  std::string Current() override { return browser_.Current(); }
  void SetSaveTarget(const std::string& path) override { browser_.SetSaveTarget(path); }
  void SetPrintTarget(const std::string& path) override { browser_.SetPrintTarget(path); }

 private:
  MemoryBrowser browser_;
};

using contract::BrowserContract;
INSTANTIATE_TEST_SUITE_P(Memory, BrowserContract,
                         ::testing::Values(contract::BrowserMaker{
                             "Memory", [] { return std::make_unique<MemoryBrowserUnderTest>(); }}),
                         contract::BrowserMakerName);

TEST(MemoryBrowser, PrintCopiesThePageAsShown) {
  const auto folder = std::filesystem::temp_directory_path() / "kivdb-memory-print";
  std::filesystem::create_directories(folder);
  const std::string page = (folder / "page.htm").string();
  std::ofstream(page, std::ios::binary) << "<p>x</p>\r\n";
  MemoryBrowser browser;
  browser.Navigate(page);
  browser.SetPrintTarget((folder / "printed.htm").string());
  browser.ExecWB(browser_command::kPrint, browser_command::kPromptUser);
  std::ifstream in(folder / "printed.htm", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), "<p>x</p>\r\n");
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace kivdb
