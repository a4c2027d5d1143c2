#include "tests/control/core/control_harness.h"

#include <stdexcept>

#include "tests/control/data/postgres_edition.h"

namespace kivdb::testing {

std::filesystem::path FreshFolder() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "kivdb";
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  const std::filesystem::path folder =
      std::filesystem::path(::testing::TempDir()) / "kivdb-core" / name;
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

std::vector<std::string> PageLines(const std::filesystem::path& file) {
  const std::string text = ReadFile(file);
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      ADD_FAILURE() << "line without CR LF at the end of " << file;
      lines.push_back(text.substr(start));
      break;
    }
    const std::string line = text.substr(start, end - start);
    EXPECT_EQ(line.find('\n'), std::string::npos) << "bare line feed in " << file;
    lines.push_back(line);
    start = end + 2;
  }
  return lines;
}

namespace {

// Writes `fixture` into a new database of `engine` and returns its connection string: an SQLite
// file in `folder`, or a new PostgreSQL schema that `database` keeps until it ends.
std::string WriteShop(const fixture::SchemeFixture& fixture, Engine engine,
                      const std::filesystem::path& folder,
                      std::unique_ptr<testing_support::TestDatabase>& database) {
  if (engine == Engine::Sqlite) return fixture.WriteSqlite((folder / "shop.db").string());
  database = std::make_unique<testing_support::TestDatabase>(engine);
  if (!database->Ready()) throw std::runtime_error(database->Problem());
  std::vector<std::pair<std::string, std::string>> queries;
  for (const fixture::SavedQuery& q : fixture.Queries()) queries.emplace_back(q.name, q.sql);
  const std::string failure = testing_support::LoadPostgresEdition(database->ConnectionString(),
                                                                   fixture.Statements(), queries);
  if (!failure.empty()) throw std::runtime_error("cannot load the shop: " + failure);
  return database->ConnectionString();
}

}  // namespace

ControlHarness::ControlHarness(const fixture::SchemeFixture& fixture, Engine engine)
    : folder(FreshFolder()) {
  connection = WriteShop(fixture, engine, folder, database);
  control.ApplicationFolder(Variant(folder.string()));
  control.DAL()->ConnectionString(connection);
  control.SetClock([] { return DateTime{2004, 3, 5, 0, 0, 0}; });
  control.OnKivDBMessage(
      [this](const std::string& text) { events.push_back("KivDBMessage: " + text); });
  control.OnLogIt([this](const std::string& type, const std::string& narration) {
    events.push_back("LogIt: " + type + ": " + narration);
  });
  control.OnOpenForm([this](const std::string& form, const std::string& id) {
    events.push_back("OpenForm: " + form + " " + id);
  });
  browser.SetNavigateObserver(
      [this](const std::string& address) { events.push_back("Navigate: " + address); });
  control.SetUserMode(true);
  control.SetControls(tree, browser);
}

bool ControlHarness::Click(const std::string& path) {
  TreeNode* node = tree.FindByPath(path);
  if (!node) {
    ADD_FAILURE() << "no node " << path;
    return false;
  }
  tree.Click(*node);
  return true;
}

std::vector<std::string> ControlHarness::TakeEvents() {
  std::vector<std::string> taken;
  taken.swap(events);
  return taken;
}

std::vector<std::string> ControlHarness::TreeLines() const {
  std::vector<std::string> lines;
  tree.Walk([&](TreeNode& node, int depth) {
    lines.push_back(std::string(static_cast<size_t>(depth) * 2, ' ') + node.Text() + " [" +
                    node.Key() + "] {" + node.Tag() + "}");
  });
  return lines;
}

std::vector<std::string> ControlHarness::ChildrenOf(const std::string& path) const {
  std::vector<std::string> captions;
  const TreeNode* node = tree.FindByPath(path);
  if (!node) {
    ADD_FAILURE() << "no node " << path;
    return captions;
  }
  for (const TreeNode* c = node->Child(); c; c = c->Next()) captions.push_back(c->Text());
  return captions;
}

}  // namespace kivdb::testing
