// INI property bags read from any bytes: reading refuses a bad file only with the control's own
// Error, and any value written (blanks, quotes, backslashes, line breaks, any byte) reads back
// unchanged after a save, whatever else the file held.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include <kivdb/error.h>
#include <kivdb/ini_property_bag.h>
#include "base/text.h"
#include "fuzz/fuzz_support.h"

namespace {

// Property and section names are the host's identifiers.
std::string Name(FuzzedDataProvider& provider) {
  static constexpr char kLetters[] =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_0123456789";
  std::string name(1, 'P');
  const size_t length = provider.ConsumeIntegralInRange<size_t>(0, 8);
  for (size_t i = 0; i < length; ++i) {
    name += kLetters[provider.ConsumeIntegralInRange<size_t>(0, sizeof kLetters - 2)];
  }
  return name;
}

std::unique_ptr<kivdb::IniPropertyBag> Open(const std::string& path, const std::string& section) {
  try {
    return std::make_unique<kivdb::IniPropertyBag>(path, section);
  } catch (const kivdb::Error&) {
    return nullptr;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const kivfuzz::ScratchFile file("bag.ini");
  FuzzedDataProvider provider(data, size);
  const std::string section = provider.ConsumeBool() ? "KivDB" : Name(provider);
  // Names compare without regard to case: the last value written under a name is the one kept.
  std::map<std::string, std::pair<std::string, std::string>> written;
  const size_t count = provider.ConsumeIntegralInRange<size_t>(0, 6);
  for (size_t i = 0; i < count; ++i) {
    std::string name = Name(provider);
    std::string value = provider.ConsumeRandomLengthString(64);
    written[kivdb::text::Lower(name)] = {name, std::move(value)};
  }
  const std::string content = provider.ConsumeRemainingBytesAsString();
  kivfuzz::WriteFile(file.Path(), content);

  std::unique_ptr<kivdb::IniPropertyBag> bag = Open(file.Path(), section);
  if (!bag) {
    kivfuzz::WriteFile(file.Path(), "");
    bag = Open(file.Path(), section);
    FUZZ_CHECK(bag != nullptr, content);
  }
  // Properties the file held and the host does not write keep their values.
  std::map<std::string, std::string> kept;
  for (const char* name : {"A", "B", "DateFormat"}) {
    if (written.count(kivdb::text::Lower(name)) == 0) {
      kept[name] = bag->ReadProperty(name, kivdb::Variant::Null()).ToText();
    }
  }
  for (const auto& [key, entry] : written) {
    bag->WriteProperty(entry.first, kivdb::Variant(entry.second), kivdb::Variant());
  }
  try {
    bag->Save();
  } catch (const kivdb::Error& error) {
    kivfuzz::Fail("the bag could not be saved", error.what());
  }

  const std::unique_ptr<kivdb::IniPropertyBag> reread = Open(file.Path(), section);
  std::string saved;
  kivfuzz::ReadFile(file.Path(), saved);
  FUZZ_CHECK(reread != nullptr, saved);
  for (const auto& [key, entry] : written) {
    const kivdb::Variant value = reread->ReadProperty(entry.first, kivdb::Variant::Null());
    FUZZ_CHECK(value.ToText() == entry.second, saved);
  }
  for (const auto& [name, value] : kept) {
    FUZZ_CHECK(reread->ReadProperty(name, kivdb::Variant::Null()).ToText() == value, saved);
  }
  return 0;
}
