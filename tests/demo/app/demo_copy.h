#pragma once
// A copy of the demo database (and its pictures) in a folder of its own, removed afterwards, so a
// test may change records freely.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace kivdb::demo::testing {

class DemoCopy {
 public:
  DemoCopy() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = "kivdbdemo_" + std::to_string(getpid()) + "_" +
                       (info ? std::string(info->test_suite_name()) + "_" + info->name() : "x");
    for (char& c : name) {
      if (c == '/') c = '_';
    }
    folder_ = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_ / "pages");
    std::filesystem::copy_file(KIVDB_DEMO_DATABASE, Database());
  }
  ~DemoCopy() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  DemoCopy(const DemoCopy&) = delete;
  DemoCopy& operator=(const DemoCopy&) = delete;

  const std::filesystem::path& Folder() const { return folder_; }
  std::filesystem::path Database() const { return folder_ / "kestrel.db"; }
  std::filesystem::path Pages() const { return folder_ / "pages"; }
  std::string ConnectionString() const {
    return "Provider=SQLite;Data Source=" + Database().string();
  }

 private:
  std::filesystem::path folder_;
};

}  // namespace kivdb::demo::testing
