// A server that stops answering (its processes frozen with SIGSTOP, as a hung host or a dead
// network would leave them) with QueryTimeout 2: a read through the DAL, a connection attempt and
// `kivdb click` all return within three seconds, and everything works again once it thaws. The
// test freezes only processes of its own: a cluster it starts for itself, and its own backend.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <sstream>
#include <thread>

#include <kivdb/dal.h>
#include "control/data/row_sink.h"
#include "tests/control/core/scheme_fixture.h"
#include "tests/control/data/postgres_edition.h"
#include "tests/support/own_cluster.h"

namespace kivdb::testing_support {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
constexpr auto kWithin = std::chrono::seconds(3);

// Freezes one process for as long as it lives.
class Frozen {
 public:
  explicit Frozen(pid_t pid) : pid_(pid) { ::kill(pid_, SIGSTOP); }
  ~Frozen() { ::kill(pid_, SIGCONT); }
  Frozen(const Frozen&) = delete;
  Frozen& operator=(const Frozen&) = delete;

 private:
  pid_t pid_;
};

// Takes the rows of a read and keeps none.
class Discard : public RowSink {
 public:
  bool Begin(const std::vector<FieldInfo>&) override { return true; }
  bool Row(const Variant*, size_t) override { return true; }
};

class FrozenServerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // The folder keeps the process id so that builds run side by side never share it.
    cluster_ =
        new OwnCluster(KIVDB_PG_CLUSTER_SCRIPT,
                       fs::temp_directory_path() / ("kivdb_frozen_" + std::to_string(::getpid())));
    if (!cluster_->Ready()) return;
    const fixture::SchemeFixture shop = fixture::SchemeFixture::Standard();
    std::vector<std::pair<std::string, std::string>> queries;
    for (const fixture::SavedQuery& q : shop.Queries()) queries.emplace_back(q.name, q.sql);
    loaded_ = LoadPostgresEdition(cluster_->Connection(), shop.Statements(), queries);
  }
  static void TearDownTestSuite() {
    if (!cluster_->Stop()) ADD_FAILURE() << "the test cluster did not stop";
    delete cluster_;
    cluster_ = nullptr;
  }
  void SetUp() override {
    ASSERT_TRUE(cluster_->Ready()) << "the test cluster did not start";
    ASSERT_EQ(loaded_, "");
  }
  static OwnCluster* cluster_;
  static std::string loaded_;
};
OwnCluster* FrozenServerTest::cluster_ = nullptr;
std::string FrozenServerTest::loaded_;

TEST_F(FrozenServerTest, ReadsAndConnectionAttemptsEndWithinTheLimitAndTheDalGoesOn) {
  struct Case {
    const char* name;
    bool freezePostmaster;  // else the backend of the DAL's own connection
    bool forward;           // a forward-only read, else a recordset
  };
  for (const Case c : {Case{"frozen backend", false, false}, Case{"frozen postmaster", true, false},
                       Case{"forward-only read, frozen backend", false, true}}) {
    SCOPED_TRACE(c.name);
    DAL dal;
    dal.ConnectionString(cluster_->Connection());
    dal.QueryTimeout(2);
    pid_t target = cluster_->Postmaster();
    if (!c.freezePostmaster) {
      // A transaction keeps the connection, and so the backend, from one call to the next.
      ASSERT_TRUE(dal.TransBegin()) << dal.LastError();
      target = static_cast<pid_t>(dal.ReadValue("SELECT pg_backend_pid()").AsInteger().value_or(0));
      ASSERT_GT(target, 0) << dal.LastError();
    }
    {
      const Frozen frozen(target);
      const auto start = Clock::now();
      constexpr const char* kRead = "SELECT relname FROM pg_class";
      if (c.forward) {
        Discard rows;
        EXPECT_FALSE(ReadForward(dal, kRead, rows));
      } else {
        std::shared_ptr<Recordset> rs;
        EXPECT_FALSE(dal.ReadRecordset(kRead, rs));
      }
      EXPECT_LT(Clock::now() - start, kWithin);
      EXPECT_EQ(dal.LastError(), "The query timed out after 2 s");
      EXPECT_FALSE(dal.IsInTransaction());
    }
    EXPECT_EQ(dal.ReadValue("SELECT 40 + 2").AsInteger(), 42) << dal.LastError();
  }
}

// A write whose backend freezes, inside a transaction and on its own: PutRecordset ends within the
// limit, the host's records keep their pending change, nothing reaches the table (also once the
// server thaws and the given-up write could go on), and then the same records are written.
TEST_F(FrozenServerTest, AWriteToAFrozenBackendEndsWithinTheLimitAndIsNotMade) {
  DAL admin;
  admin.ConnectionString(cluster_->Connection());
  ASSERT_TRUE(
      admin.ExecSQL("CREATE TABLE frozen_write(id integer PRIMARY KEY, v integer); "
                    "INSERT INTO frozen_write VALUES (1, 10)"))
      << admin.LastError();
  auto stored = [&admin] {
    return admin.ReadValue("SELECT v FROM frozen_write WHERE id = 1").AsInteger().value_or(-1);
  };
  for (const bool inTransaction : {true, false}) {
    SCOPED_TRACE(inTransaction ? "inside a transaction" : "a batch of its own");
    DAL dal;
    dal.ConnectionString(cluster_->Connection());
    dal.QueryTimeout(2);
    if (inTransaction) {
      ASSERT_TRUE(dal.TransBegin()) << dal.LastError();
    }
    std::shared_ptr<Recordset> rs;
    ASSERT_TRUE(dal.GetRecordset("SELECT id, v FROM frozen_write", rs)) << dal.LastError();
    rs->Fields("v").SetValue(Variant(int32_t{11}));
    // ExecSQL keeps its connection open, and the name tells its backend.
    ASSERT_TRUE(dal.ExecSQL("SET application_name = 'kivdb_frozen_write'")) << dal.LastError();
    const auto backend =
        admin
            .ReadValue(
                "SELECT pid FROM pg_stat_activity WHERE application_name = 'kivdb_frozen_write'")
            .AsInteger()
            .value_or(0);
    ASSERT_GT(backend, 0) << admin.LastError();
    {
      const Frozen frozen(static_cast<pid_t>(backend));
      // Thaws the backend should the write not give up, so that a fault fails instead of hanging.
      std::promise<void> returned;
      std::thread watchdog([&backend, answered = returned.get_future()] {
        if (answered.wait_for(std::chrono::seconds(6)) == std::future_status::timeout)
          ::kill(static_cast<pid_t>(backend), SIGCONT);
      });
      const auto start = Clock::now();
      EXPECT_FALSE(dal.PutRecordset(rs));
      EXPECT_LT(Clock::now() - start, kWithin);
      returned.set_value();
      watchdog.join();
      EXPECT_EQ(dal.LastError(), "The query timed out after 2 s");
      EXPECT_FALSE(dal.IsInTransaction());
    }
    // The connection given up on closes on its own thread once its backend answers again.
    const std::string alive =
        "SELECT count(*) FROM pg_stat_activity WHERE pid = " + std::to_string(backend);
    const auto gone = Clock::now() + std::chrono::seconds(20);
    while (admin.ReadValue(alive).AsInteger().value_or(1) != 0 && Clock::now() < gone)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(stored(), 10);
    EXPECT_TRUE(rs->HasPendingChanges());
    ASSERT_TRUE(dal.PutRecordset(rs)) << dal.LastError();
    EXPECT_FALSE(rs->HasPendingChanges());
    EXPECT_EQ(stored(), 11);
    ASSERT_TRUE(admin.ExecSQL("UPDATE frozen_write SET v = 10")) << admin.LastError();
  }
  EXPECT_TRUE(admin.ExecSQL("DROP TABLE frozen_write")) << admin.LastError();
}

TEST_F(FrozenServerTest, ClickReturnsWithinTheLimit) {
  const fs::path folder = cluster_->Folder() / "click";
  fs::create_directories(folder);
  const std::string command =
      "cd " + ShellQuoted(folder.string()) + " && " + ShellQuoted(KIVDB_PROGRAM) +
      " click --talking --query-timeout 2 --connect " + ShellQuoted(cluster_->Connection()) +
      " --folder " + ShellQuoted(folder.string()) + " 'Data Browser\\Regions' > out.txt 2>&1";
  int status = 0;
  Clock::duration took{};
  {
    const Frozen frozen(cluster_->Postmaster());
    const auto start = Clock::now();
    status = std::system(command.c_str());
    took = Clock::now() - start;
  }
  std::ifstream in(folder / "out.txt");
  std::ostringstream out;
  out << in.rdbuf();
  EXPECT_LT(took, kWithin) << out.str();
  EXPECT_TRUE(WIFEXITED(status)) << out.str();
  // The same click on the thawed server goes through.
  EXPECT_EQ(std::system(command.c_str()), 0);
}

// A server that stops for good in the middle of an export: the export is held still after its
// second page (SIGSTOP), the server is shut down, and the export goes on. It must fail, name the
// reason, and leave the site of the earlier export exactly as it was.
class StoppedServerTest : public FrozenServerTest {};

std::string FileText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// The page an export in progress has written into its new folder beside `site`, if any.
bool ExportReached(const fs::path& site, const std::string& page) {
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(site.parent_path(), error)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("." + site.filename().string() + ".new-", 0) == 0 &&
        fs::exists(entry.path() / page, error)) {
      return true;
    }
  }
  return false;
}

TEST_F(StoppedServerTest, AnExportWhoseServerStopsFailsAndKeepsTheEarlierSite) {
  const fs::path site = cluster_->Folder() / "site";
  const std::string exportCommand = ShellQuoted(KIVDB_PROGRAM) + " export --connect " +
                                    ShellQuoted(cluster_->Connection()) + " --out " +
                                    ShellQuoted(site.string());
  const fs::path log = cluster_->Folder() / "export.txt";
  ASSERT_EQ(std::system((exportCommand + " > /dev/null 2>&1").c_str()), 0);
  const std::string earlier = FileText(site / "index.html");
  ASSERT_NE(earlier, "");

  const std::string connection = cluster_->Connection();
  const std::string out = site.string();
  const pid_t exporter = ::fork();
  ASSERT_GE(exporter, 0);
  if (exporter == 0) {
    const int file = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(file, 1);
    ::dup2(file, 2);
    ::execl(KIVDB_PROGRAM, KIVDB_PROGRAM, "export", "--connect", connection.c_str(), "--out",
            out.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  // Held still once its second page is written, so that the server stops half-way for certain.
  const auto deadline = Clock::now() + std::chrono::seconds(30);
  while (!ExportReached(site, "page-2.htm") && Clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  ::kill(exporter, SIGSTOP);
  const bool reached = ExportReached(site, "page-2.htm");
  // A fast shutdown ends every session and the server with them.
  ::kill(cluster_->Postmaster(), SIGINT);
  const auto gone = Clock::now() + std::chrono::seconds(20);
  while (::kill(cluster_->Postmaster(), 0) == 0 && Clock::now() < gone)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ::kill(exporter, SIGCONT);
  int status = 0;
  ::waitpid(exporter, &status, 0);

  ASSERT_TRUE(reached) << "the export never reached its second page";
  const std::string said = FileText(log);
  ASSERT_TRUE(WIFEXITED(status)) << said;
  EXPECT_EQ(WEXITSTATUS(status), 1) << said;
  EXPECT_NE(said.find("Connection refused"), std::string::npos) << said;
  EXPECT_NE(said.find("could not be read"), std::string::npos) << said;
  EXPECT_EQ(FileText(site / "index.html"), earlier);
}

}  // namespace
}  // namespace kivdb::testing_support
