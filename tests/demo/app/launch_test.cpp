// The command line, the display check, where the demo files are found, and the settings file.
#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include <kivdb/dal.h>
#include <kivdb/ini_property_bag.h>
#include <kivdb/kivdb.h>
#include "demo/app/demo_settings.h"
#include "demo/app/launch.h"
#include "tests/demo/app/demo_copy.h"

namespace kivdb::demo {
namespace {

using Kind = LaunchRequest::Kind;

TEST(LaunchTest, ReadsTheCommandLine) {
  struct Case {
    std::vector<std::string> args;
    Kind kind;
    const char* value;
    bool error;
  } cases[] = {
      {{}, Kind::Default, "", false},
      {{"shop.db"}, Kind::File, "shop.db", false},
      {{"--connect", "DSN=shop;Uid=a"}, Kind::Connect, "DSN=shop;Uid=a", false},
      {{"--connect=DSN=x"}, Kind::Connect, "DSN=x", false},
      {{"--connect"}, Kind::Default, "", true},
      {{"--connect="}, Kind::Default, "", true},
      {{"a.db", "b.db"}, Kind::File, "a.db", true},
      {{"a.db", "--connect", "DSN=x"}, Kind::File, "a.db", true},
      {{"--frobnicate"}, Kind::Default, "", true},
      {{"a.db", "--help"}, Kind::Help, "a.db", false},
      {{"--version", "a.db"}, Kind::Version, "", false},
      {{"--open", "Data Browser\\Staff", "a.db"}, Kind::File, "a.db", false},
      {{"a.db", "--open"}, Kind::File, "a.db", true},
  };
  for (const Case& c : cases) {
    const LaunchRequest request = ParseCommandLine(c.args);
    const std::string line = c.args.empty() ? "(none)" : c.args[0];
    EXPECT_EQ(request.kind, c.kind) << line;
    EXPECT_EQ(request.value, c.value) << line;
    EXPECT_EQ(!request.error.empty(), c.error) << line << ": " << request.error;
  }
  EXPECT_EQ(ParseCommandLine({"--open", "Data Browser\\Staff", "a.db"}).open,
            "Data Browser\\Staff");
}

TEST(LaunchTest, TellsWhetherADisplayIsConfigured) {
  struct Case {
    std::map<std::string, std::string> env;
    bool display;
  } cases[] = {
      {{}, false},
      {{{"DISPLAY", ""}}, false},
      {{{"DISPLAY", ":0"}}, true},
      {{{"WAYLAND_DISPLAY", "wayland-0"}}, true},
      {{{"QT_QPA_PLATFORM", "offscreen"}}, true},
      {{{"HOME", "/root"}}, false},
  };
  for (const Case& c : cases) {
    const bool display = DisplayConfigured([&](const char* name) -> const char* {
      const auto it = c.env.find(name);
      return it == c.env.end() ? nullptr : it->second.c_str();
    });
    EXPECT_EQ(display, c.display) << (c.env.empty() ? "(empty)" : c.env.begin()->first);
  }
}

TEST(LaunchTest, OpensFilesWhosePathsNeedBraces) {
  testing::DemoCopy copy;
  const std::filesystem::path odd = copy.Folder() / "a;b {c}";
  std::filesystem::create_directories(odd);
  std::filesystem::copy_file(copy.Database(), odd / "shop.db");
  const std::string connection = SqliteConnectionString(odd / "shop.db");
  EXPECT_NE(connection.find("{"), std::string::npos);
  DAL dal;
  dal.ConnectionString(connection);
  EXPECT_EQ(dal.ReadValue("SELECT count(*) FROM Regions").ToText(), "4") << dal.LastError();
}

TEST(LaunchTest, FindsTheDemoFilesInTheBuildTreeOrTheInstalledShareFolder) {
  testing::DemoCopy copy;
  const auto root = copy.Folder();
  std::filesystem::create_directories(root / "build/demo/app");
  std::filesystem::create_directories(root / "usr/bin");
  std::filesystem::create_directories(root / "usr/share/kivdb/demo");
  std::ofstream(root / "build/demo/kestrel.db") << "x";
  std::ofstream(root / "usr/share/kivdb/demo/kestrel.db") << "x";

  const auto built = FindDemoFiles(root / "build/demo/app");
  ASSERT_TRUE(built);
  EXPECT_EQ(built->database, root / "build/demo/kestrel.db");
  EXPECT_EQ(built->pictures, root / "build/demo/site");
  const auto installed = FindDemoFiles(root / "usr/bin");
  ASSERT_TRUE(installed);
  EXPECT_EQ(installed->database, root / "usr/share/kivdb/demo/kestrel.db");
  EXPECT_FALSE(FindDemoFiles(root / "usr/share/kivdb"));
}

TEST(LaunchTest, CopiesOnlyMissingPictures) {
  testing::DemoCopy copy;
  const auto from = copy.Folder() / "site";
  std::filesystem::create_directories(from / "products");
  std::ofstream(from / "circle.gif") << "new";
  std::ofstream(from / "products/p1.gif") << "p1";
  std::ofstream(copy.Pages() / "circle.gif") << "mine";
  EXPECT_TRUE(CopyMissingPictures(from, copy.Pages()));
  std::ifstream kept(copy.Pages() / "circle.gif");
  std::string text;
  kept >> text;
  EXPECT_EQ(text, "mine");
  EXPECT_TRUE(std::filesystem::exists(copy.Pages() / "products/p1.gif"));
}

TEST(LaunchTest, KnowsConnectionStringsWithPasswords) {
  struct Case {
    const char* text;
    bool password;
  } cases[] = {{"DSN=shop;Uid=a;Pwd=secret", true},
               {"Driver={PostgreSQL Unicode};PASSWORD = x", true},
               {"Provider=SQLite;Data Source=/home/pwd=1/shop.db", false},
               {"Provider=SQLite;Data Source=/tmp/shop.db", false}};
  for (const Case& c : cases) EXPECT_EQ(HoldsPassword(c.text), c.password) << c.text;
}

TEST(DemoSettingsTest, KeepsTheSavedPropertiesAndTheLastDatabase) {
  testing::DemoCopy copy;
  const DemoSettings settings(copy.Folder() / "config/KivDBDemo.ini");

  KivDB fresh;
  fresh.ActivePort(0);  // a new control takes its initial values, whatever it held
  settings.LoadControl(fresh);
  EXPECT_EQ(fresh.ActivePort(), 80);
  EXPECT_EQ(settings.LastDatabase(), "");
  EXPECT_EQ(settings.ApplicationFolder(), "");

  KivDB control;
  control.DAMode(2);
  control.ActivePort(81);
  control.ApplicationFolder(Variant(copy.Pages().string()));
  settings.Save(control, "Provider=SQLite;Data Source=/x/shop.db");
  settings.Save(control, "DSN=shop;Pwd=secret");  // not kept: the one before stays

  KivDB again;
  settings.LoadControl(again);
  EXPECT_EQ(again.DAMode(), 2);
  EXPECT_EQ(again.ActivePort(), 81);
  EXPECT_EQ(settings.ApplicationFolder(), copy.Pages().string());
  EXPECT_EQ(settings.LastDatabase(), "Provider=SQLite;Data Source=/x/shop.db");
}

}  // namespace
}  // namespace kivdb::demo
