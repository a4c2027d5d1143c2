// A forward-only read from PostgreSQL stopped by the server half-way: the statement is cancelled
// from a second connection while the rows are being fetched from a cursor, and the read fails
// with the server's reason after the rows that arrived, never as though it had ended.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include <kivdb/dal.h>
#include "control/data/row_sink.h"
#include "tests/control/data/test_database.h"

namespace kivdb {
namespace {

using testing_support::Engine;
using testing_support::TestDatabase;
using testing_support::WithSetting;

// Counts the rows; at `cancelAt` it has the statement cancelled shortly after, from another
// connection, while the next block is being fetched.
class CancellingSink final : public RowSink {
 public:
  CancellingSink(std::string connection, long backend, long cancelAt)
      : connection_(std::move(connection)), backend_(backend), cancelAt_(cancelAt) {}
  ~CancellingSink() override { Join(); }
  // Waits for the cancelling connection: the read may end before its call has returned.
  void Join() {
    if (canceller_.joinable()) canceller_.join();
  }
  bool Begin(const std::vector<FieldInfo>&) override { return true; }
  bool Row(const Variant*, size_t) override {
    if (++rows == cancelAt_) {
      canceller_ = std::thread([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        DAL other;
        other.ConnectionString(connection_);
        cancelled =
            other.ReadValue("SELECT pg_cancel_backend(" + std::to_string(backend_) + ")").ToText();
      });
    }
    return true;
  }
  long rows = 0;
  std::string cancelled;

 private:
  std::string connection_;
  long backend_;
  long cancelAt_;
  std::thread canceller_;
};

TEST(PostgresForwardRead, StatementCancelledHalfWayFailsWithTheServersReason) {
  TestDatabase db(Engine::Postgres);
  ASSERT_TRUE(db.Ready()) << db.Problem();
  // A cursor fetched ten rows at a time, so that rows arrive before the statement is done.
  const std::string connection =
      WithSetting(WithSetting(db.ConnectionString(), "UseDeclareFetch", "1"), "Fetch", "10");
  DAL dal;
  dal.ConnectionString(connection);
  // Inside a transaction the DAL keeps its connection, whose server process is the one cancelled.
  ASSERT_TRUE(dal.TransBegin()) << dal.LastError();
  const long backend =
      static_cast<long>(dal.ReadValue("SELECT pg_backend_pid()").ToDouble().value_or(0));
  ASSERT_GT(backend, 0) << dal.LastError();

  CancellingSink sink(db.ConnectionString(), backend, 25);
  const bool ok = ReadForward(
      dal, "SELECT i, pg_sleep(0.02) IS NULL AS slept FROM generate_series(1, 100000) AS i", sink);
  EXPECT_FALSE(ok) << "rows read: " << sink.rows;
  EXPECT_GE(sink.rows, 25);
  EXPECT_LT(sink.rows, 1000);
  EXPECT_NE(dal.LastError().find("cancel"), std::string::npos) << dal.LastError();
  sink.Join();
  EXPECT_EQ(sink.cancelled, "True");
  dal.TransRollback();
}

}  // namespace
}  // namespace kivdb
