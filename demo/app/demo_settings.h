#pragma once
// DemoSettings: what KivDBDemo keeps between runs in one INI file in the user's configuration
// folder: the control's three saved properties (section [KivDB], through the control's own
// ReadProperties/WriteProperties) and the last database opened (section [KivDBDemo]).

#include <filesystem>
#include <string>

#include <kivdb/kivdb.h>

namespace kivdb::demo {

class DemoSettings {
 public:
  explicit DemoSettings(std::filesystem::path file) : file_(std::move(file)) {}

  const std::filesystem::path& File() const { return file_; }
  // A saved control reads its properties; before the first save the control is new
  // (InitProperties). Throws kivdb::Error when the file cannot be read.
  void LoadControl(KivDB& control) const;
  // The ApplicationFolder kept, or "" when none (or only the blank a new control starts with).
  std::string ApplicationFolder() const;
  // The last connection string kept, or "".
  std::string LastDatabase() const;
  // Writes the control's properties and `lastDatabase` (not kept when it holds a password; the
  // one kept before stays then). Replaces the file atomically; throws kivdb::Error on failure.
  void Save(const KivDB& control, const std::string& lastDatabase) const;

 private:
  std::filesystem::path file_;
};

}  // namespace kivdb::demo
