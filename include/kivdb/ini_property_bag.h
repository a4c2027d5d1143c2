#pragma once
// IniPropertyBag: a PropertyBag kept in an INI file, one section per control ("[KivDB]" unless
// the host names another), so that several controls of one window can share the file.
//
// Values are stored as text and come back as text. A value with leading or trailing blanks, a
// leading double quote or a line break is written between double quotes, with \" \\ \r \n
// escapes inside; every other value is written as it is. Lines end with CR LF; reading accepts LF.

#include <memory>
#include <string>

#include <kivdb/export.h>
#include <kivdb/property_bag.h>

namespace kivdb {

class KIVDB_EXPORT IniPropertyBag : public PropertyBag {
 public:
  // Reads `path` when it exists; a missing file is an empty bag. Throws Error 75 when the file
  // exists but cannot be read, and Error 5 for a line that is neither a section, a "key=value"
  // pair, a comment (";" or "#") nor blank.
  explicit IniPropertyBag(std::string path, std::string section = "KivDB");
  ~IniPropertyBag() override;
  IniPropertyBag(const IniPropertyBag&) = delete;
  IniPropertyBag& operator=(const IniPropertyBag&) = delete;

  // Names are compared without regard to case.
  Variant ReadProperty(const std::string& name, const Variant& defaultValue) override;
  void WriteProperty(const std::string& name, const Variant& value,
                     const Variant& defaultValue) override;

  // Writes every section back, replacing the file atomically (a temporary file beside it, then a
  // rename), so a failed save leaves the previous file whole. Throws Error 75 on failure.
  // Comments of the file read are not kept.
  void Save();

 private:
  struct KIVDB_NO_EXPORT Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace kivdb
