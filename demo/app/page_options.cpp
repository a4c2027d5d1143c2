#include "demo/app/page_options.h"

#include <charconv>
#include <system_error>

#include <kivdb/ini_property_bag.h>

namespace kivdb::demo {
namespace {

constexpr const char* kSection = "KivDBDemo";

long RowsOrDefault(const std::string& text, long fallback) {
  long rows = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), rows);
  if (ec != std::errc() || end != text.data() + text.size() || rows < 0) return fallback;
  return rows;
}

}  // namespace

PageOptions PageOptions::Load(const std::filesystem::path& file) {
  PageOptions options;
  IniPropertyBag bag(file.string(), kSection);
  options.heading = bag.ReadProperty("Heading", Variant(options.heading)).ToText();
  options.dateFormat = bag.ReadProperty("DateFormat", Variant(options.dateFormat)).ToText();
  options.maxRows =
      RowsOrDefault(bag.ReadProperty("MaxRows", Variant(std::to_string(options.maxRows))).ToText(),
                    options.maxRows);
  return options;
}

void PageOptions::Save(const std::filesystem::path& file) const {
  std::error_code error;
  std::filesystem::create_directories(file.parent_path(), error);
  IniPropertyBag bag(file.string(), kSection);
  // Written even when they equal the defaults (a default no text equals), so that an emptied
  // heading or date picture stays empty.
  const Variant always("\x01");
  bag.WriteProperty("Heading", Variant(heading), always);
  bag.WriteProperty("DateFormat", Variant(dateFormat), always);
  bag.WriteProperty("MaxRows", Variant(std::to_string(maxRows)), always);
  bag.Save();
}

void PageOptions::ApplyTo(KivDB& control) const {
  control.Heading(Variant(heading));
  control.DateFormat(dateFormat);
  control.MaxRows(maxRows);
}

}  // namespace kivdb::demo
