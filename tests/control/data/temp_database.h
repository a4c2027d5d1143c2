#pragma once
// A fresh folder per test with helpers to create SQLite files in it; removed afterwards.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <kivdb/dal.h>

namespace kivdb::testing_support {

class TempFolder {
 public:
  TempFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("kivdb_") + (info ? info->test_suite_name() : "t") + "_" +
                       (info ? info->name() : "x");
    for (char& c : name) {
      if (c == '/') c = '_';
    }
    path_ = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

inline std::string SqliteConnectionString(const std::string& path, const std::string& extra = "") {
  return "Provider=SQLite;Data Source=" + path + (extra.empty() ? "" : ";" + extra);
}

// Creates the database file `path` and runs `script` in it; fails the test when the script fails.
inline void CreateDatabase(const std::string& path, const std::string& script) {
  DAL dal;
  dal.ConnectionString(SqliteConnectionString(path, "Mode=ReadWriteCreate"));
  ASSERT_TRUE(dal.ExecSQL(script)) << dal.LastError();
}

}  // namespace kivdb::testing_support
