// The query timeout held from the client's side, through a DAL over a provider that cannot bound
// its own time: a call that is cancelled, one that never comes back, an attempt to connect that
// hangs, and rows of a forward-only read handed to the reader on the caller's thread.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <kivdb/dal.h>
#include "control/data/connection.h"
#include "control/data/dal_access.h"
#include "control/data/recordset_access.h"
#include "control/data/row_sink.h"

namespace kivdb {
namespace {

using Clock = std::chrono::steady_clock;

// How the stand-in provider behaves once a command has started.
enum class Hang { None, UntilCancel, Forever };

// What the test sees of the provider's threads; the provider may outlive the DAL's call.
struct Probe {
  std::mutex mutex;
  std::condition_variable changed;
  bool cancelled = false;
  bool released = false;  // a hung call may come back now
  bool destroyed = false;
  std::thread::id destroyedOn;

  void Wait(std::unique_lock<std::mutex>& lock, Hang hang) {
    changed.wait(lock, [&] {
      return released || (hang == Hang::UntilCancel && cancelled) || hang == Hang::None;
    });
  }
  void Release() {
    std::lock_guard lock(mutex);
    released = true;
    changed.notify_all();
  }
  bool WaitDestroyed() {
    std::unique_lock lock(mutex);
    return changed.wait_for(lock, std::chrono::seconds(5), [&] { return destroyed; });
  }
};

class StandInConnection : public Connection {
 public:
  // `writeHang`: how beginning a transaction and writing a batch behave.
  StandInConnection(std::shared_ptr<Probe> probe, Hang hang, int rows, Hang writeHang = Hang::None)
      : probe_(std::move(probe)), hang_(hang), rows_(rows), writeHang_(writeHang) {}
  ~StandInConnection() override {
    std::lock_guard lock(probe_->mutex);
    probe_->destroyed = true;
    probe_->destroyedOn = std::this_thread::get_id();
    probe_->changed.notify_all();
  }

  bool Execute(const std::string&, std::string& error) override { return Stall(error); }
  bool Query(const std::string&, bool, Recordset& out, std::string& error) override {
    if (!Stall(error)) return false;
    out.AppendField("v", type::kInteger);
    out.AddRow({Variant(int64_t{7})});
    return true;
  }
  bool Stream(const std::string&, RowSink& sink, std::string& error) override {
    if (!sink.Begin({{"v", type::kInteger}})) return true;
    for (int i = 0; i < rows_; ++i) {
      const Variant value(int64_t{i});
      if (!sink.Row(&value, 1)) return true;
    }
    return Stall(error);
  }
  bool BeginTransaction(std::string& error) override { return Stall(error, writeHang_); }
  bool Commit(std::string&) override { return true; }
  bool Rollback(std::string&) override { return true; }
  // What a write does to the records it wrote, once the server has answered.
  bool ApplyBatch(Recordset& records, std::string& error) override {
    if (!Stall(error, writeHang_)) return false;
    RecordsetAccess::AcceptChanges(records);
    return true;
  }
  void SetQueryTimeout(int) override {}
  void Cancel() override {
    std::lock_guard lock(probe_->mutex);
    probe_->cancelled = true;
    probe_->changed.notify_all();
  }

 private:
  bool Stall(std::string& error) { return Stall(error, hang_); }
  bool Stall(std::string& error, Hang hang) {
    std::unique_lock lock(probe_->mutex);
    probe_->Wait(lock, hang);
    if (probe_->cancelled) {
      error = "cancelled by request";
      return false;
    }
    return true;
  }

  std::shared_ptr<Probe> probe_;
  Hang hang_;
  int rows_;
  Hang writeHang_;
};

// Collects what reaches it and on which thread.
class Collector : public RowSink {
 public:
  explicit Collector(int stopAfter) : stopAfter_(stopAfter) {}
  bool Begin(const std::vector<FieldInfo>& fields) override {
    Note();
    return fields.size() == 1;
  }
  bool Row(const Variant* values, size_t count) override {
    Note();
    if (count != 1 || values[0].AsInteger() != static_cast<int64_t>(values_.size()))
      inOrder = false;
    values_.push_back(values[0].AsInteger().value_or(-1));
    return static_cast<int>(values_.size()) != stopAfter_;
  }
  size_t Rows() const { return values_.size(); }
  bool inOrder = true;
  bool onCaller = true;

 private:
  void Note() {
    if (std::this_thread::get_id() != caller_) onCaller = false;
  }
  std::thread::id caller_ = std::this_thread::get_id();
  std::vector<int64_t> values_;
  int stopAfter_;
};

struct Case {
  const char* name;
  Hang hang;
  bool hangOpening;  // the attempt to connect itself does not come back
  bool stream;
  int rows;
  int stopAfter;  // the reader's last wanted row (0: all)
  bool ok;
  size_t rowsSeen;
  bool kept;  // the connection came back to the DAL (and so closes on the caller's thread)
};

TEST(DeadlineRunnerTest, CallsEndWithinTheLimitAndRowsReachTheCallersThread) {
  const Case cases[] = {
      {"answers in time", Hang::None, false, false, 0, 0, true, 0, true},
      {"stops when cancelled", Hang::UntilCancel, false, false, 0, 0, false, 0, true},
      {"never comes back", Hang::Forever, false, false, 0, 0, false, 0, false},
      {"connection attempt hangs", Hang::None, true, false, 0, 0, false, 0, false},
      {"stream of many blocks", Hang::None, false, true, 1000, 0, true, 1000, true},
      {"reader stops early", Hang::None, false, true, 1000, 130, true, 130, true},
      {"stream hangs after its rows", Hang::Forever, false, true, 128, 0, false, 128, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto probe = std::make_shared<Probe>();
    DAL dal;
    DalAccess::UseFactory(
        dal, [probe, c](const std::string&, std::string&) -> std::unique_ptr<Connection> {
          if (c.hangOpening) {
            std::unique_lock lock(probe->mutex);
            probe->Wait(lock, Hang::Forever);
          }
          return std::make_unique<StandInConnection>(probe, c.hang, c.rows);
        });
    dal.QueryTimeout(1);
    const auto start = Clock::now();
    bool ok = false;
    Collector sink(c.stopAfter);
    if (c.stream) {
      ok = ReadForward(dal, "SELECT v", sink);
    } else {
      std::shared_ptr<Recordset> rs;
      ok = dal.ReadRecordset("SELECT v", rs);
      if (ok) {
        EXPECT_EQ(rs->Fields("v").Value().AsInteger(), 7);
      } else {
        EXPECT_EQ(rs, nullptr);
      }
    }
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(ok, c.ok);
    EXPECT_EQ(dal.LastError(), c.ok ? "" : "The query timed out after 1 s");
    EXPECT_EQ(sink.Rows(), c.rowsSeen);
    EXPECT_TRUE(sink.inOrder);
    EXPECT_TRUE(sink.onCaller);

    {
      std::lock_guard lock(probe->mutex);
      EXPECT_EQ(probe->destroyed, c.kept);
      if (c.kept) {
        EXPECT_EQ(probe->destroyedOn, std::this_thread::get_id());
      }
    }
    // A call given up on finishes on its own thread, which then closes its connection.
    probe->Release();
    ASSERT_TRUE(probe->WaitDestroyed());
    EXPECT_EQ(probe->destroyedOn == std::this_thread::get_id(), c.kept);
  }
}

TEST(DeadlineRunnerTest, ATransactionWhoseConnectionWasGivenUpIsOver) {
  auto probe = std::make_shared<Probe>();
  DAL dal;
  DalAccess::UseFactory(dal,
                        [probe](const std::string&, std::string&) -> std::unique_ptr<Connection> {
                          return std::make_unique<StandInConnection>(probe, Hang::Forever, 0);
                        });
  dal.QueryTimeout(1);
  ASSERT_TRUE(dal.TransBegin());
  EXPECT_FALSE(dal.ExecSQL("UPDATE t SET v = 1"));
  EXPECT_EQ(dal.LastError(), "The query timed out after 1 s");
  EXPECT_FALSE(dal.IsInTransaction());
  EXPECT_FALSE(dal.TransCommit());
  probe->Release();
  ASSERT_TRUE(probe->WaitDestroyed());
}

TEST(DeadlineRunnerTest, WritesAndTransactionsEndWithinTheLimitAndSpareTheHostsRecords) {
  struct WriteCase {
    const char* name;
    bool put;  // PutRecordset, else TransBegin
    Hang hang;
    bool ok;
  };
  const WriteCase cases[] = {
      {"write answers in time", true, Hang::None, true},
      {"write stops when cancelled", true, Hang::UntilCancel, false},
      {"write never comes back", true, Hang::Forever, false},
      {"begin answers in time", false, Hang::None, true},
      {"begin never comes back", false, Hang::Forever, false},
  };
  for (const WriteCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto probe = std::make_shared<Probe>();
    auto opened = std::make_shared<int>(0);
    DAL dal;
    DalAccess::UseFactory(
        dal, [probe, opened, c](const std::string&, std::string&) -> std::unique_ptr<Connection> {
          // Only the first connection misbehaves; the ones after it show that the DAL goes on.
          if ((*opened)++ > 0) {
            return std::make_unique<StandInConnection>(std::make_shared<Probe>(), Hang::None, 0);
          }
          return std::make_unique<StandInConnection>(probe, Hang::None, 0, c.hang);
        });
    dal.QueryTimeout(1);
    auto rs = std::make_shared<Recordset>();
    rs->AppendField("v", type::kInteger);
    rs->AddRow({Variant(int32_t{7})});
    rs->MoveFirst();
    rs->Fields(0).SetValue(Variant(int32_t{8}));
    Field v = rs->Fields(0);

    const auto start = Clock::now();
    const bool ok = c.put ? dal.PutRecordset(rs) : dal.TransBegin();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(ok, c.ok);
    EXPECT_EQ(dal.LastError(), c.ok ? "" : "The query timed out after 1 s");
    EXPECT_EQ(dal.IsInTransaction(), !c.put && c.ok);
    if (!c.ok) {
      // The call given up on finishes now, on its own thread, and writes into its own copy only.
      probe->Release();
      ASSERT_TRUE(probe->WaitDestroyed());
    }
    EXPECT_EQ(rs->HasPendingChanges(), !(c.put && c.ok));
    EXPECT_EQ(v.Value(), Variant(int32_t{8}));  // a field handle of the host's stays good
    EXPECT_EQ(rs->OriginalValue(0, 0), Variant(int32_t{c.put && c.ok ? 8 : 7}));

    std::shared_ptr<Recordset> back;
    EXPECT_TRUE(dal.ReadRecordset("SELECT v", back)) << dal.LastError();
    EXPECT_TRUE(dal.PutRecordset(rs)) << dal.LastError();
    EXPECT_FALSE(rs->HasPendingChanges());
  }
}

}  // namespace
}  // namespace kivdb
