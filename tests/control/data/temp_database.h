#pragma once
// Helpers to create SQLite files in a test's fresh folder (TempFolder); removed afterwards.

#include <gtest/gtest.h>

#include <string>

#include <kivdb/dal.h>
#include "tests/support/temp_folder.h"

namespace kivdb::testing_support {

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
