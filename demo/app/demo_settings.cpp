#include "demo/app/demo_settings.h"

#include <system_error>

#include <kivdb/ini_property_bag.h>
#include "demo/app/launch.h"

namespace kivdb::demo {
namespace {

constexpr const char* kSection = "KivDBDemo";
constexpr const char* kLastDatabase = "LastDatabase";

}  // namespace

void DemoSettings::LoadControl(KivDB& control) const {
  std::error_code error;
  if (!std::filesystem::exists(file_, error)) {
    control.InitProperties();
    return;
  }
  IniPropertyBag bag(file_.string());
  control.ReadProperties(bag);
}

std::string DemoSettings::ApplicationFolder() const {
  IniPropertyBag bag(file_.string());
  const std::string folder = bag.ReadProperty("ApplicationFolder", Variant(" ")).ToText();
  return folder.find_first_not_of(' ') == std::string::npos ? std::string() : folder;
}

std::string DemoSettings::LastDatabase() const {
  IniPropertyBag bag(file_.string(), kSection);
  return bag.ReadProperty(kLastDatabase, Variant(std::string())).ToText();
}

void DemoSettings::Save(const KivDB& control, const std::string& lastDatabase) const {
  std::error_code error;
  std::filesystem::create_directories(file_.parent_path(), error);
  {
    IniPropertyBag bag(file_.string());
    control.WriteProperties(bag);
    bag.Save();
  }
  if (HoldsPassword(lastDatabase)) return;
  // A second bag, read after the first was saved, so each keeps the other's section.
  IniPropertyBag bag(file_.string(), kSection);
  bag.WriteProperty(kLastDatabase, Variant(lastDatabase), Variant(std::string()));
  bag.Save();
}

}  // namespace kivdb::demo
