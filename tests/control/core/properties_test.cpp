// The control's surface: design-time properties, UserRole, PropertyChanged, persistence through
// property bags (in memory and in an INI file), and binding the widgets.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include <kivdb/error.h>
#include <kivdb/ini_property_bag.h>
#include "tests/control/core/control_harness.h"
#include "tests/support/error_number.h"

namespace kivdb::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A bag that remembers what was written, as the container's own bag does.
class MemoryBag : public PropertyBag {
 public:
  Variant ReadProperty(const std::string& name, const Variant& defaultValue) override {
    const auto found = values.find(name);
    return found == values.end() ? defaultValue : found->second;
  }
  void WriteProperty(const std::string& name, const Variant& value,
                     const Variant& defaultValue) override {
    values.erase(name);
    if (!(value == defaultValue)) values.emplace(name, value);
  }
  std::map<std::string, Variant> values;
};

TEST(Properties, DesignTimePropertiesRefuseUserModeAndTellTheContainerOtherwise) {
  KivDB control;
  std::vector<std::string> changed;
  control.OnPropertyChanged([&](const std::string& name) { changed.push_back(name); });
  control.ActivePort(81);
  control.DAMode(2);
  control.ApplicationFolder(Variant("/tmp"));
  EXPECT_EQ(control.ActivePort(), 81);
  EXPECT_EQ(control.DAMode(), 2);
  EXPECT_THAT(changed, ElementsAre("ActivePort", "DAMode", "ApplicationFolder"));

  control.SetUserMode(true);
  changed.clear();
  EXPECT_EQ(testing_support::ErrorNumberOf([&] { control.ActivePort(80); }), 382);
  EXPECT_EQ(testing_support::ErrorNumberOf([&] { control.DAMode(1); }), 382);
  EXPECT_EQ(testing_support::ErrorNumberOf([&] { (void)control.ActivePort(); }), 393);
  EXPECT_EQ(testing_support::ErrorNumberOf([&] { (void)control.DAMode(); }), 393);
  control.ApplicationFolder(Variant("/var"));
  EXPECT_THAT(changed, ElementsAre("ApplicationFolder"));

  control.SetUserMode(false);
  EXPECT_EQ(control.ActivePort(), 81);  // the refused write changed nothing
  EXPECT_EQ(control.DAMode(), 2);
}

TEST(Properties, UserRoleTakesNumbersAndRefusesEverythingElse) {
  struct Case {
    const char* name;
    Variant value;
    long error;
  };
  const Case cases[] = {
      {"integer", Variant(int32_t{3}), 0},
      {"text holding a number", Variant("12"), 0},
      {"double", Variant(2.5), 0},
      {"empty", Variant(), 0},
      {"text", Variant("boss"), err::kTypeMismatch},
      {"null", Variant::Null(), err::kTypeMismatch},
      {"date", Variant(DateTime{2004, 3, 5}), err::kTypeMismatch},
      {"beyond 16 bits", Variant(int32_t{40000}), err::kOverflow},
  };
  for (const Case& c : cases) {
    KivDB control;
    EXPECT_EQ(testing_support::ErrorNumberOf([&] { control.UserRole(c.value); }), c.error)
        << c.name;
  }
}

TEST(Properties, ANewControlSavesPortAndModeButNotTheDefaultFolder) {
  KivDB control;
  control.InitProperties();
  MemoryBag bag;
  control.WriteProperties(bag);
  ASSERT_EQ(bag.values.size(), 2u);
  EXPECT_EQ(bag.values.at("ActivePort"), Variant(int16_t{80}));
  EXPECT_EQ(bag.values.at("DAMode"), Variant(int16_t{1}));
}

// Port 0 stops every read before it reaches a database, so one engine is enough.
TEST(Properties, ABagWithoutTheKeysLoadsPortAndModeZeroSoEveryReadFails) {
  ControlHarness h;
  MemoryBag empty;
  h.control.SetUserMode(false);
  h.control.ReadProperties(empty);
  EXPECT_EQ(h.control.ActivePort(), 0);
  EXPECT_EQ(h.control.DAMode(), 0);
  h.control.ApplicationFolder(Variant(h.folder.string()));
  h.control.Talking(true);
  h.control.RefreshBrowser();
  EXPECT_EQ(h.TakeEvents()[0], "KivDBMessage: Please set ActivePort to 80");
}

TEST(Properties, IniFileRoundTripKeepsEveryValue) {
  const auto folder = FreshFolder();
  const std::string file = (folder / "form.ini").string();
  {
    KivDB control;
    control.ApplicationFolder(Variant(" /data/my shop "));
    control.DAMode(2);
    IniPropertyBag bag(file);
    control.WriteProperties(bag);
    bag.Save();
  }
  EXPECT_EQ(ReadFile(file),
            "[KivDB]\r\nApplicationFolder=\" /data/my shop \"\r\nActivePort=80\r\n"
            "DAMode=2\r\n");
  KivDB loaded;
  IniPropertyBag bag(file);
  loaded.ReadProperties(bag);
  EXPECT_EQ(loaded.ActivePort(), 80);
  EXPECT_EQ(loaded.DAMode(), 2);
  MemoryBag check;
  loaded.WriteProperties(check);
  EXPECT_EQ(check.values.at("ApplicationFolder"), Variant(" /data/my shop "));
}

TEST(Properties, IniBagStoresAwkwardValuesAndKeepsOtherSections) {
  const auto folder = FreshFolder();
  const std::string file = (folder / "form.ini").string();
  {
    std::ofstream out(file, std::ios::binary);
    out << "; the host's form\n[Other]\nColour=red\n[kivdb]\nDAMode=2\n";
  }
  const std::vector<std::string> values = {" lead",       "trail ", "\"quoted\"", "two\r\nlines",
                                           "back\\slash", "",       "plain text"};
  {
    IniPropertyBag bag(file);
    EXPECT_EQ(bag.ReadProperty("damode", Variant(int16_t{0})), Variant("2"));
    for (size_t i = 0; i < values.size(); ++i) {
      bag.WriteProperty("Key" + std::to_string(i), Variant(values[i]), Variant("unused"));
    }
    bag.WriteProperty("DAMode", Variant(int16_t{0}), Variant(int16_t{0}));  // back to default
    bag.Save();
  }
  IniPropertyBag again(file);
  for (size_t i = 0; i < values.size(); ++i) {
    EXPECT_EQ(again.ReadProperty("Key" + std::to_string(i), Variant("missing")), Variant(values[i]))
        << "value " << i;
  }
  EXPECT_EQ(again.ReadProperty("DAMode", Variant("default")), Variant("default"));
  IniPropertyBag other(file, "Other");
  EXPECT_EQ(other.ReadProperty("Colour", Variant()), Variant("red"));
}

TEST(Properties, IniBagKeepsASectionWithoutANameApartWhenSaving) {
  const auto folder = FreshFolder();
  const std::string file = (folder / "unnamed.ini").string();
  {
    std::ofstream out(file, std::ios::binary);
    out << "[KivDB]\nX=1\n[]\nA=2\n";
  }
  IniPropertyBag bag(file);
  bag.WriteProperty("X", Variant("3"), Variant());
  bag.Save();
  IniPropertyBag again(file);
  EXPECT_EQ(again.ReadProperty("X", Variant()), Variant("3"));
  EXPECT_EQ(again.ReadProperty("A", Variant("none")), Variant("none"));
}

TEST(Properties, IniBagRefusesFilesItCannotRead) {
  const auto folder = FreshFolder();
  const std::string bad = (folder / "bad.ini").string();
  // A key of line-end characters only would be saved as a line that cannot be read back.
  for (const char* line : {"no equals sign here", "=value", "\r=value", "\r\t=value"}) {
    {
      std::ofstream out(bad, std::ios::binary);
      out << "[KivDB]\nA=1\n" << line << "\n";
    }
    EXPECT_EQ(testing_support::ErrorNumberOf([&] { IniPropertyBag bag(bad); }), err::kInvalidCall)
        << line;
  }
  EXPECT_EQ(testing_support::ErrorNumberOf([&] { IniPropertyBag bag(folder.string()); }),
            err::kFileAccess);
  EXPECT_EQ(
      testing_support::ErrorNumberOf([&] { IniPropertyBag bag((folder / "new.ini").string()); }),
      0);

  IniPropertyBag unsaveable((folder / "no" / "such" / "folder.ini").string());
  unsaveable.WriteProperty("DAMode", Variant(int16_t{1}), Variant(int16_t{0}));
  EXPECT_EQ(testing_support::ErrorNumberOf([&] { unsaveable.Save(); }), err::kFileAccess);
}

TEST(Properties, StoredPortThatIsNoNumberIsATypeMismatch) {
  const auto folder = FreshFolder();
  const std::string file = (folder / "form.ini").string();
  {
    std::ofstream out(file);
    out << "[KivDB]\nActivePort=eighty\n";
  }
  KivDB control;
  IniPropertyBag bag(file);
  EXPECT_EQ(testing_support::ErrorNumberOf([&] { control.ReadProperties(bag); }),
            err::kTypeMismatch);
  EXPECT_EQ(control.ActivePort(), 80);  // nothing was taken from the broken bag
}

TEST(Properties, RebindingMovesTheEventsToTheNewWidgetsAndEndingUnbindsThem) {
  MemoryTreeView firstTree, secondTree;
  MemoryBrowser firstBrowser, secondBrowser;
  std::vector<std::string> forms;
  {
    KivDB control;
    control.OnOpenForm(
        [&](const std::string& f, const std::string& id) { forms.push_back(f + id); });
    control.SetControls(firstTree, firstBrowser);
    EXPECT_TRUE(firstBrowser.RaiseBeforeNavigate2("^000010000000001"));
    control.SetControls(secondTree, secondBrowser);
    EXPECT_FALSE(firstBrowser.RaiseBeforeNavigate2("^000010000000002"));
    EXPECT_TRUE(secondBrowser.RaiseBeforeNavigate2("^000010000000003"));
  }
  EXPECT_FALSE(secondBrowser.RaiseBeforeNavigate2("^000010000000004"));
  secondTree.Click(secondTree.Add());  // no control behind it any more
  EXPECT_THAT(forms, ElementsAre("000010000000001", "000010000000003"));
}

TEST(Properties, WidgetsMayEndBeforeTheControl) {
  KivDB control;
  control.Talking(true);
  {
    MemoryTreeView tree;
    MemoryBrowser browser;
    control.SetControls(tree, browser);
  }
  // Nothing of the ended widgets is touched when the control ends.
}

TEST(Properties, TheDalIsCreatedOnceOrTakenFromTheHost) {
  KivDB control;
  const std::shared_ptr<DAL> own = control.DAL();
  EXPECT_EQ(control.DAL(), own);
  auto host = std::make_shared<DAL>();
  control.DAL(host);
  EXPECT_EQ(control.DAL(), host);
}

}  // namespace
}  // namespace kivdb::testing
