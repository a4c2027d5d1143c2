#include "tools/kivdb/site_swap.h"

#include <cerrno>
#include <cstring>
#include <regex>
#include <stdexcept>
#include <system_error>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <kivdb/kivdb.h>

namespace kivdb::tool {
namespace {

namespace fs = std::filesystem;

std::string Beside(const fs::path& site, const std::string& what) {
  return (site.parent_path() / ("." + site.filename().string() + "." + what)).string();
}

[[noreturn]] void Fail(const std::string& what, const std::error_code& error) {
  throw std::runtime_error(what + ": " + error.message());
}

}  // namespace

bool SiteSwap::IsExportOutput(const std::string& name) {
  static const std::regex kOutput(R"(page-\d+\.htm|page-\d+-pic\d+|pic\d+|index\.html(\.writing)?|)"
                                  R"(page-\d+(-\d+\.csv|\.xlsx)(\.writing)?)");
  return name == KivDB::kReportFile || name == KivDB::kFrontPageFile ||
         std::regex_match(name, kOutput);
}

SiteSwap::SiteSwap(fs::path site) : site_(std::move(site)) {
  std::error_code error;
  fs::create_directories(site_.parent_path(), error);
  if (error) Fail("cannot create the folder " + site_.parent_path().string(), error);
  if (fs::exists(site_, error) && !fs::is_directory(site_, error)) {
    throw std::runtime_error(site_.string() + " is not a folder");
  }

  const std::string lockFile = Beside(site_, "lock");
  lock_ = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (lock_ < 0) {
    throw std::runtime_error("cannot create the lock " + lockFile + ": " + std::strerror(errno));
  }
  if (::flock(lock_, LOCK_EX | LOCK_NB) != 0) {
    const int why = errno;
    ::close(lock_);
    lock_ = -1;
    if (why == EWOULDBLOCK) {
      throw std::runtime_error("another export into " + site_.string() + " is running (it holds " +
                               lockFile + "); nothing was exported");
    }
    throw std::runtime_error("cannot lock " + lockFile + ": " + std::strerror(why));
  }

  // The pid keeps the name apart from a killed export's, which the lock says is gone.
  const std::string stale = "." + site_.filename().string() + ".";
  for (const auto& entry : fs::directory_iterator(site_.parent_path(), error)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind(stale + "new-", 0) == 0 || name.rfind(stale + "old-", 0) == 0) {
      std::error_code ignored;
      fs::remove_all(entry.path(), ignored);
    }
  }
  building_ = Beside(site_, "new-" + std::to_string(::getpid()));
  fs::create_directory(building_, error);
  if (error) Fail("cannot create the folder " + building_.string(), error);
  CarryOver();
}

SiteSwap::~SiteSwap() {
  std::error_code ignored;
  if (!committed_ && !building_.empty()) fs::remove_all(building_, ignored);
  if (lock_ >= 0) ::close(lock_);
}

void SiteSwap::CarryOver() {
  std::error_code error;
  if (!fs::is_directory(site_, error)) return;
  for (const auto& entry : fs::directory_iterator(site_, error)) {
    const std::string name = entry.path().filename().string();
    if (IsExportOutput(name)) continue;
    fs::copy(entry.path(), building_ / name,
             fs::copy_options::recursive | fs::copy_options::copy_symlinks, error);
    if (error) Fail("cannot copy " + entry.path().string() + " into the new site", error);
  }
  if (error) Fail("cannot read the folder " + site_.string(), error);
}

void SiteSwap::Commit() {
  std::error_code error;
  const fs::path old = Beside(site_, "old-" + std::to_string(::getpid()));
  const bool hadSite = fs::exists(site_, error);
  if (hadSite) {
    fs::rename(site_, old, error);
    if (error) Fail("cannot move the earlier site " + site_.string() + " aside", error);
  }
  fs::rename(building_, site_, error);
  if (error) {
    std::error_code ignored;
    if (hadSite) fs::rename(old, site_, ignored);
    Fail("cannot move the new site into " + site_.string(), error);
  }
  committed_ = true;
  if (hadSite) fs::remove_all(old, error);
}

}  // namespace kivdb::tool
