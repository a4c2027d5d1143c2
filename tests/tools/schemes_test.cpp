// The schemes between the wizard's files and a database, on SQLite and PostgreSQL: publish and
// fetch give back the same bytes, a failed publish keeps the old rows, undo restores them, and the
// check finds each broken query of a planted set.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "control/data/connection.h"
#include "control/data/dal_access.h"
#include "tests/control/data/test_database.h"
#include "tests/tools/program_run.h"
#include "tools/kivdb/scheme_check.h"
#include "tools/kivdb/scheme_store.h"
#include "wizard/model/nav_schemes.h"
#include "wizard/model/scheme_file.h"

namespace kivdb::schemes {
namespace {

namespace fs = std::filesystem;
using testing_support::DatabaseTest;

std::string Read(const fs::path& file) {
  std::string content;
  EXPECT_TRUE(kivwz::ReadWholeFile(file.string(), content)) << file;
  return content;
}

void Write(const fs::path& file, const std::string& content) {
  ASSERT_TRUE(kivwz::ReplaceFile(file.string(), content)) << file;
}

// A connection that works until its `fuse` of commands is spent, then acts as a dropped
// connection: every later call fails.
class DroppingConnection : public Connection {
 public:
  DroppingConnection(std::unique_ptr<Connection> inner, int fuse)
      : inner_(std::move(inner)), fuse_(fuse) {}
  bool Execute(const std::string& command, std::string& error) override {
    return Alive(error) && inner_->Execute(command, error);
  }
  bool Query(const std::string& command, bool forUpdate, Recordset& out,
             std::string& error) override {
    return Alive(error) && inner_->Query(command, forUpdate, out, error);
  }
  bool BeginTransaction(std::string& error) override {
    return Alive(error) && inner_->BeginTransaction(error);
  }
  bool Commit(std::string& error) override { return Alive(error) && inner_->Commit(error); }
  bool Rollback(std::string& error) override { return Alive(error) && inner_->Rollback(error); }
  bool ApplyBatch(Recordset& records, std::string& error) override {
    return Alive(error) && inner_->ApplyBatch(records, error);
  }
  void SetQueryTimeout(int seconds) override { inner_->SetQueryTimeout(seconds); }

 private:
  bool Alive(std::string& error) {
    if (fuse_-- > 0) return true;
    error = "the connection was lost";
    return false;
  }
  std::unique_ptr<Connection> inner_;
  int fuse_;
};

class SchemesTest : public DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    folder_ = fs::temp_directory_path() /
              ("kivdb-schemes-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  Dialect GetDialect() const { return IsPostgres() ? Dialect::Postgres : Dialect::Sqlite; }

  // Publishes the two files through `dal` (a fresh one on the test database by default).
  bool Push(const fs::path& nav, const fs::path& web, std::string& error, DAL* dal = nullptr) {
    kivwz::clsNavSchemes navs;
    EXPECT_TRUE(navs.LoadData(nav.string()));
    EXPECT_TRUE(navs.LoadWeb(web.string()));
    DAL own;
    own.ConnectionString(db().ConnectionString());
    return PushSchemes(dal ? *dal : own, GetDialect(), navs, {"<p>front</p>", "<head>"}, error);
  }
  void PushOk(const fs::path& nav, const fs::path& web) {
    std::string error;
    ASSERT_TRUE(Push(nav, web, error)) << error;
  }
  // Fetches XST1.txt and XST2.txt into a new folder `name`.
  fs::path Pull(const std::string& name) {
    DAL dal;
    dal.ConnectionString(db().ConnectionString());
    kivwz::clsNavSchemes navs;
    std::string error;
    EXPECT_TRUE(ReadSchemes(dal, navs, error)) << error;
    const fs::path out = folder_ / name;
    fs::create_directories(out);
    EXPECT_TRUE(WriteSchemeFiles(navs, out.string(), error)) << error;
    return out;
  }
  void ExpectSameFiles(const fs::path& expected, const fs::path& pulled) {
    EXPECT_EQ(Read(expected / "XST1.txt"), Read(pulled / "XST1.txt"));
    EXPECT_EQ(Read(expected / "XST2.txt"), Read(pulled / "XST2.txt"));
  }
  // A small design of its own in `name`: two nodes and a paragraph whose texts are `text`.
  fs::path SmallDesign(const std::string& name, const std::string& text) {
    const fs::path dir = folder_ / name;
    fs::create_directories(dir);
    Write(dir / "XST1.txt",
          "\"ID\",\"descriptionIs\",\"typeIs\",\"parentIs\",\"queryIs\",\"parmIs\",\"iconIs\","
          "\"roleIs\"\r\n1,\"Data Browser\",\"F\",0,\"\",\"\",\"leaf\",\"\"\r\n2,\"" +
              text + "\",\"G\",1,\"spG\",\"\",\"group\",\"1\"\r\n");
    Write(dir / "XST2.txt",
          "\"ID\",\"XST1\",\"seqNo\",\"titleIs\",\"queryIs\",\"parmIs\",\"typeIs\",\"formIs\","
          "\"colsAre\",\"extra\"\r\n1,2,1,\"" +
              text + "\",\"spS\",\"LKey\",\"S\",0,\"\",\"\"\r\n");
    return dir;
  }

  fs::path folder_;
};

TEST_P(SchemesTest, PushThenPullGivesTheSameBytes) {
  const fs::path demo = fs::path(KIVDB_SOURCE_DIR) / "demo";
  // Quotes, commas and Unicode in every text field, the type too (published with force).
  const std::string odd = "Kä\"\"se, \"\"Brot\"\" & 'Wein' — 日本, ½";
  const fs::path tricky = folder_ / "tricky";
  fs::create_directories(tricky);
  Write(tricky / "XST1.txt",
        "\"ID\",\"descriptionIs\",\"typeIs\",\"parentIs\",\"queryIs\",\"parmIs\",\"iconIs\","
        "\"roleIs\"\r\n1,\"Data Browser\",\"F\",0,\"\",\"\",\"leaf\",\"\"\r\n2,\"" +
            odd + "\",\"" + odd + "\",1,\"" + odd + "\",\"" + odd + "\",\"" + odd + "\",\"" + odd +
            "\"\r\n");
  Write(tricky / "XST2.txt",
        "\"ID\",\"XST1\",\"seqNo\",\"titleIs\",\"queryIs\",\"parmIs\",\"typeIs\",\"formIs\","
        "\"colsAre\",\"extra\"\r\n1,2,1,\"" +
            odd + "\",\"" + odd + "\",\"" + odd + "\",\"" + odd + "\",0,\"" + odd + "\",\"" + odd +
            "\"\r\n");
  for (const fs::path& design : {demo, tricky}) {
    SCOPED_TRACE(design.string());
    PushOk(design / "XST1.txt", design / "XST2.txt");
    ExpectSameFiles(design, Pull("pulled-" + design.filename().string()));
  }
}

TEST_P(SchemesTest, FailedPushKeepsTheOldRowsAndUndoRestoresThem) {
  // A rule of the database's own that the second design breaks.
  Create({std::string("CREATE TABLE XST1 (ID integer PRIMARY KEY, descriptionIs ") +
          Sql("VARCHAR(255)", "text") +
          " CHECK (descriptionIs <> 'refused'), typeIs text, parentIs integer, queryIs text, "
          "parmIs text, iconIs text, roleIs text)"});
  const fs::path first = SmallDesign("first", "First");
  const fs::path second = SmallDesign("second", "Second");
  const fs::path refused = SmallDesign("refused", "refused");
  PushOk(first / "XST1.txt", first / "XST2.txt");
  PushOk(second / "XST1.txt", second / "XST2.txt");

  struct Case {
    const char* name;
    int fuse;  // commands before the connection drops; -1 never
  };
  for (const Case c : {Case{"constraint", -1}, Case{"dropped early", 3},
                       Case{"dropped half-way", 12}, Case{"dropped at commit", 16}}) {
    SCOPED_TRACE(c.name);
    {
      DAL dal;
      DalAccess::UseFactory(
          dal,
          c.fuse < 0
              ? ConnectionFactory()
              : [&](const std::string& cs, std::string& error) -> std::unique_ptr<Connection> {
            auto inner = OpenDefaultConnection(cs, error);
            if (!inner) return nullptr;
            return std::make_unique<DroppingConnection>(std::move(inner), c.fuse);
          });
      dal.ConnectionString(db().ConnectionString());
      std::string error;
      EXPECT_FALSE(Push(refused / "XST1.txt", refused / "XST2.txt", error, &dal));
      EXPECT_FALSE(error.empty());
    }  // the dropped connection goes with its DAL, as a lost session ends on the server
    ExpectSameFiles(second, Pull(std::string("after-") + c.name));
  }

  DAL dal;
  dal.ConnectionString(db().ConnectionString());
  std::string error;
  ASSERT_TRUE(UndoPush(dal, error)) << error;
  ExpectSameFiles(first, Pull("undone"));
  EXPECT_FALSE(UndoPush(dal, error)) << "a second undo has nothing to put back";
}

TEST_P(SchemesTest, CheckFindsEachBrokenQuery) {
  if (IsPostgres()) {
    Create({
        R"(CREATE FUNCTION spGood() RETURNS TABLE("ID" integer, "Name" text) LANGUAGE sql AS $$ SELECT 1, 'a'::text $$)",
        R"(CREATE FUNCTION spTwo(a integer, b integer) RETURNS TABLE("ID" integer, "Name" text) LANGUAGE sql AS $$ SELECT a, 'b'::text $$)",
        R"(CREATE FUNCTION spOne() RETURNS TABLE("ID" integer) LANGUAGE sql AS $$ SELECT 1 $$)",
        R"(CREATE FUNCTION spBadShape() RETURNS TABLE("Cmd" text) LANGUAGE sql AS $$ SELECT 'SHAPE {EXEC spGood} APPEND'::text $$)",
        R"(CREATE FUNCTION spSlow() RETURNS TABLE("ID" integer, "Name" text) LANGUAGE sql AS $$ SELECT 1, pg_sleep(10)::text $$)",
    });
  } else {
    Create({
        "CREATE TABLE XSP (nameIs TEXT PRIMARY KEY COLLATE NOCASE, sqlIs TEXT)",
        "INSERT INTO XSP VALUES ('spGood', 'SELECT 1 AS ID, ''a'' AS Name'), "
        "('spTwo', 'SELECT ?1 AS ID, ?2 AS Name'), ('spOne', 'SELECT 1 AS ID'), "
        "('spBadShape', 'SELECT ''SHAPE {EXEC spGood} APPEND'' AS Cmd'), "
        "('spSlow', 'WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) "
        "SELECT x AS ID, x AS Name FROM c WHERE x < 0')",
    });
  }
  kivwz::clsNavSchemes navs;
  const auto node = [&navs](kivwz::Long id, const char* caption, const char* type,
                            const char* query, const char* parm, const char* roles) {
    auto n = std::make_shared<kivwz::clsNavScheme>();
    n->ID(id);
    n->descriptionIs = caption;
    n->typeIs(type);
    n->parentIs = id == 1 ? 0 : 1;
    n->queryIs(query);
    n->parmIs(parm);
    n->iconIs = "leaf";
    n->roleIs = roles;
    navs.Add(n);
  };
  const auto paragraph = [&navs](kivwz::Long id, kivwz::Long nodeId, const char* type,
                                 const char* query, const char* cols) {
    auto p = std::make_shared<kivwz::clsWebScheme>();
    p->ID(id);
    p->XST1 = nodeId;
    p->seqNo = id;
    p->titleIs = "P" + std::to_string(id);
    p->queryIs = query;
    p->typeIs = type;
    p->colsAre = cols;
    navs.oWebs.Add(p);
  };
  node(1, "Data Browser", "F", "", "", "");
  node(2, "Good", "G", "spGood", "", "1:x");
  node(3, "Missing", "G", "spMissing", "", "");
  node(4, "TwoParms", "G", "spTwo", "LKey", "");
  node(5, "OneField", "G", "spOne", "", "");
  node(6, "Pages", "F", "", "", "");
  paragraph(9, 2, "S", "spGood", "1");
  paragraph(10, 6, "I", "spGood", "");
  paragraph(11, 6, "M", "spBadShape", "");
  paragraph(12, 6, "S", "spSlow", "");
  paragraph(13, 6, "E", "spMissingToo", "");
  paragraph(14, 6, "C", "spGood", "0:5");

  DAL dal;
  dal.ConnectionString(db().ConnectionString());
  dal.QueryTimeout(1);
  const std::vector<Finding> findings = CheckSchemes(dal, navs, {GetDialect(), std::nullopt});

  struct Expected {
    const char* table;
    long row;
    const char* words;
  };
  const Expected expected[] = {
      {"XST1", 2, "role list '1:x' does not parse"},
      {"XST1", 3, "spMissing does not exist"},
      {"XST1", 4, "fails"},
      {"XST1", 5, "needs at least two"},
      {"XST2", 10, "no IMG field"},
      {"XST2", 11, "does not parse"},
      {"XST2", 12, "timed out"},
      {"XST2", 13, "spMissingToo does not exist"},
      {"XST2", 14, "axis pair '0:5'"},
  };
  std::string all;
  for (const Finding& f : findings) all += FindingLine(f) + "\n";
  SCOPED_TRACE(all);
  ASSERT_EQ(findings.size(), std::size(expected));
  for (std::size_t i = 0; i < findings.size(); ++i) {
    SCOPED_TRACE(expected[i].words);
    EXPECT_EQ(findings[i].table, expected[i].table);
    EXPECT_EQ(findings[i].row, expected[i].row);
    EXPECT_FALSE(findings[i].warning);
    EXPECT_NE(findings[i].message.find(expected[i].words), std::string::npos);
  }
}

KIVDB_ON_BOTH_ENGINES(SchemesTest);

// The commands as a script runs them: the demo checks clean, a planted fault is found (in JSON
// too), a database that cannot be reached is told apart, and the wizard's files go into a new
// database and come back unchanged.
TEST(SchemeCommandsTest, FromTheFilesToAWorkingDatabase) {
  const fs::path folder =
      fs::temp_directory_path() / ("kivdb-scheme-commands-" + std::to_string(::getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  fs::copy_file(KIVDB_DEMO_DATABASE, folder / "demo.db");
  const std::string demo = "Provider=SQLite;Data Source=" + (folder / "demo.db").string();
  const auto run = [&](const std::vector<std::string>& args) {
    return testing::RunProgram(KIVDB_PROGRAM, args, folder);
  };

  testing::ProgramRun clean = run({"check", "--connect", demo});
  EXPECT_EQ(clean.status, 0) << clean.out << clean.err;
  EXPECT_EQ(clean.out, "");

  DAL dal;
  dal.ConnectionString(demo);
  ASSERT_TRUE(dal.ExecSQL("UPDATE XST2 SET queryIs = 'spNowhere' WHERE ID = 1"));
  dal.TransRollback();
  testing::ProgramRun broken = run({"check", "--connect", demo, "--format", "json"});
  EXPECT_EQ(broken.status, 1) << broken.err;
  EXPECT_NE(broken.out.find("\"row\": 1, \"node\": \"Sales Overview\""), std::string::npos)
      << broken.out;
  EXPECT_NE(broken.out.find("spNowhere does not exist"), std::string::npos) << broken.out;

  EXPECT_EQ(
      run({"check", "--connect", "Provider=SQLite;Data Source=" + (folder / "none.db").string()})
          .status,
      2);

  const fs::path files = fs::path(KIVDB_SOURCE_DIR) / "demo";
  const std::string fresh =
      "Provider=SQLite;Mode=ReadWriteCreate;Data Source=" + (folder / "new.db").string();
  testing::ProgramRun push = run({"schemes", "push", "--connect", fresh,
                                  (files / "XST1.txt").string(), (files / "XST2.txt").string()});
  EXPECT_EQ(push.status, 0) << push.err;
  testing::ProgramRun pull = run({"schemes", "pull", "--connect", fresh, "--out", "pulled"});
  EXPECT_EQ(pull.status, 0) << pull.err;
  EXPECT_EQ(Read(folder / "pulled" / "XST1.txt"), Read(files / "XST1.txt"));
  EXPECT_EQ(Read(folder / "pulled" / "XST2.txt"), Read(files / "XST2.txt"));
  // The starter page, not the demo's front page, greets the new database's users.
  DAL created;
  created.ConnectionString(fresh);
  const std::string front = created.ReadValue("SELECT contentIs FROM XST3 WHERE ID = 1").ToText();
  EXPECT_NE(front.find("<h1>Reports</h1>"), std::string::npos);
  EXPECT_EQ(front.find("Kestrel"), std::string::npos);
  EXPECT_EQ(run({"schemes", "undo", "--connect", fresh}).status, 0);
  EXPECT_EQ(run({"schemes", "undo", "--connect", fresh}).status, 1);
  fs::remove_all(folder);
}

}  // namespace
}  // namespace kivdb::schemes
