#pragma once
// PageOptions: how KivDBDemo has the control write its pages (the heading of each page head, the
// picture of its dates, the rows one table shows at most), kept in the [KivDBDemo] section of
// the settings file. The defaults match the site `make demo` exports.

#include <filesystem>
#include <string>

#include <kivdb/kivdb.h>

namespace kivdb::demo {

struct PageOptions {
  std::string heading = "Kestrel Trading";
  std::string dateFormat = "d mmmm yyyy";
  long maxRows = 1000;  // 0: every row

  // The options kept in `file`, the defaults for those it does not hold. A MaxRows that is not
  // a whole number of at least 0 gives the default. Throws kivdb::Error when the file cannot
  // be read.
  static PageOptions Load(const std::filesystem::path& file);
  // Keeps the options in `file`, its other settings untouched. Throws kivdb::Error on failure.
  void Save(const std::filesystem::path& file) const;
  // Sets the control's Heading, DateFormat and MaxRows.
  void ApplyTo(KivDB& control) const;

  bool operator==(const PageOptions&) const = default;
};

}  // namespace kivdb::demo
