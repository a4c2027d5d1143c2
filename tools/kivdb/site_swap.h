#pragma once
// SiteSwap: lets `kivdb export` replace a site folder whole or not at all. The new site is built
// in a fresh folder beside the old one (same file system), holding what the user put in the old
// folder but not the pages of an earlier export; Commit renames the old folder aside, the new one
// in, and removes the old. Until then, and if the export dies, the old site stays as it was. An
// advisory lock beside the folder keeps a second export out while one runs.

#include <filesystem>
#include <string>

namespace kivdb::tool {

class SiteSwap {
 public:
  // `site` is absolute, without a trailing separator. Throws std::runtime_error with a message
  // for the user when the lock is held by another export or the new folder cannot be made.
  explicit SiteSwap(std::filesystem::path site);
  ~SiteSwap();
  SiteSwap(const SiteSwap&) = delete;
  SiteSwap& operator=(const SiteSwap&) = delete;

  // Where the new site is built.
  const std::filesystem::path& Building() const { return building_; }
  // Puts the new site in place of the old one; throws std::runtime_error when it cannot, leaving
  // the old site in place.
  void Commit();

  // True for the files an export writes itself, which do not carry over into the next one.
  static bool IsExportOutput(const std::string& name);

 private:
  void CarryOver();

  std::filesystem::path site_;
  std::filesystem::path building_;
  int lock_ = -1;
  bool committed_ = false;
};

}  // namespace kivdb::tool
