#pragma once
// SqliteFile: one open SQLite database for the demo's build steps, closed when it goes. Every
// failure throws std::runtime_error with SQLite's own reason.

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace kivdb::demo {

class SqliteFile {
 public:
  enum class Mode { ReadOnly, Create };
  SqliteFile(const std::filesystem::path& path, Mode mode);
  ~SqliteFile();
  SqliteFile(const SqliteFile&) = delete;
  SqliteFile& operator=(const SqliteFile&) = delete;

  // Runs statements that return no rows (a whole script at once).
  void Exec(const std::string& sql);
  // Runs one statement with text or binary parameters bound to ?1, ?2, ...
  void Run(const std::string& sql, const std::vector<std::string>& texts,
           const std::vector<uint8_t>* blob = nullptr);
  // Calls `row` for every row of one query, with the columns as text (NULL as "").
  void Query(const std::string& sql,
             const std::function<void(const std::vector<std::string>& columns)>& row);

 private:
  std::string Fail(const std::string& what) const;
  sqlite3* db_ = nullptr;
  std::string path_;
};

}  // namespace kivdb::demo
