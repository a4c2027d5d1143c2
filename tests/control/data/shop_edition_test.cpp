// The shop of the end-to-end tests in its PostgreSQL edition: `kivdb click --connect` with an ODBC
// connection string prints the same events and writes the same pages as on the SQLite file.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/control/core/scheme_fixture.h"
#include "tests/control/data/postgres_edition.h"
#include "tests/control/data/test_database.h"

namespace kivdb::testing_support {
namespace {

std::string Quote(const std::string& text) {
  std::string out = "'";
  for (const char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

std::string ReadWhole(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The output of `kivdb click` and the pages it showed, with the folder's name taken out.
struct ClickRun {
  int status = -1;
  std::string out;
  std::vector<std::string> pages;
};

ClickRun Click(const std::filesystem::path& folder, const std::string& connection,
               const std::vector<std::string>& paths) {
  std::string command = "cd " + Quote(folder.string()) + " && " + Quote(KIVDB_PROGRAM) +
                        " click --talking --tree --keep --connect " + Quote(connection) +
                        " --folder " + Quote(folder.string());
  for (const std::string& path : paths) command += " " + Quote(path);
  command += " > out.txt 2>&1";
  const int raw = std::system(command.c_str());
  ClickRun run;
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  auto withoutFolder = [&](std::string text) {
    const std::string name = folder.string();
    for (size_t at; (at = text.find(name)) != std::string::npos;)
      text.replace(at, name.size(), "F");
    return text;
  };
  run.out = withoutFolder(ReadWhole(folder / "out.txt"));
  for (int n = 1; std::filesystem::exists(folder / ("page-" + std::to_string(n) + ".htm")); ++n) {
    run.pages.push_back(withoutFolder(ReadWhole(folder / ("page-" + std::to_string(n) + ".htm"))));
  }
  return run;
}

TEST(ShopEditionTest, ClicksGiveTheSameEventsAndPagesOnEveryEngine) {
  const fixture::SchemeFixture shop = fixture::SchemeFixture::Standard();
  TestDatabase postgres(Engine::Postgres);
  ASSERT_TRUE(postgres.Ready()) << postgres.Problem();
  std::vector<std::pair<std::string, std::string>> queries;
  for (const fixture::SavedQuery& q : shop.Queries()) queries.emplace_back(q.name, q.sql);
  ASSERT_EQ(LoadPostgresEdition(postgres.ConnectionString(), shop.Statements(), queries), "");

  const auto base =
      std::filesystem::temp_directory_path() / ("kivdb_shop_" + std::to_string(::getpid()));
  std::filesystem::remove_all(base);
  std::filesystem::create_directories(base / "sqlite");
  std::filesystem::create_directories(base / "postgres");
  const std::string sqliteConnection = shop.WriteSqlite((base / "sqlite" / "shop.db").string());

  const std::vector<std::string> paths = {"Data Browser\\Regions",
                                          "Data Browser\\Regions\\North",
                                          "Data Browser\\Regions\\O'Brien Isles",
                                          "Data Browser\\Categories",
                                          "Data Browser\\Categories\\Food",
                                          "Data Browser\\Categories\\Food\\Fruit",
                                          "Data Browser\\Diary",
                                          "Data Browser\\Diary",
                                          "Data Browser\\Suppliers",
                                          "Data Browser\\Suppliers\\Alfreds"};
  const ClickRun onSqlite = Click(base / "sqlite", sqliteConnection, paths);
  const ClickRun onPostgres = Click(base / "postgres", postgres.ConnectionString(), paths);
  // The same shop loaded and clicked through the native provider.
  TestDatabase native(Engine::PostgresNative);
  ASSERT_TRUE(native.Ready()) << native.Problem();
  ASSERT_EQ(LoadPostgresEdition(native.ConnectionString(), shop.Statements(), queries), "");
  std::filesystem::create_directories(base / "native");
  const ClickRun onNative = Click(base / "native", native.ConnectionString(), paths);
  EXPECT_EQ(onSqlite.status, 0) << onSqlite.out;
  EXPECT_EQ(onSqlite.pages.size(), paths.size());
  for (const ClickRun* run : {&onPostgres, &onNative}) {
    SCOPED_TRACE(run == &onNative ? "native" : "ODBC");
    EXPECT_EQ(run->status, 0) << run->out;
    EXPECT_EQ(run->out, onSqlite.out);
    ASSERT_EQ(run->pages.size(), onSqlite.pages.size());
    for (size_t i = 0; i < onSqlite.pages.size(); ++i) {
      SCOPED_TRACE(paths[i]);
      EXPECT_EQ(run->pages[i], onSqlite.pages[i]);
    }
  }
  std::filesystem::remove_all(base);
}

}  // namespace
}  // namespace kivdb::testing_support
