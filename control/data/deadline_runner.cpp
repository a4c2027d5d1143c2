#include "control/data/deadline_runner.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace kivdb {
namespace {

using Clock = std::chrono::steady_clock;

// The server's own limit, where it has one, is given a moment to answer first: its failure leaves
// the connection in a known state. The grace is what a cancelled call gets to come back; both
// together stay under the second the caller may wait past the limit.
constexpr auto kServerFirst = std::chrono::milliseconds(150);
constexpr auto kCancelGrace = std::chrono::milliseconds(600);
// Rows cross in blocks; a few blocks in flight keep both threads busy while bounding memory.
constexpr size_t kBlockRows = 64;
constexpr size_t kBlocksInFlight = 4;

// What the worker hands to the caller's thread: the fields of a result, or a block of records
// `width` values each.
struct Message {
  bool fields = false;
  std::vector<FieldInfo> fieldInfo;
  size_t width = 0;
  size_t rows = 0;
  std::vector<Variant> values;
};

// Shared by the caller, the worker and the thread that cancels; whoever lets go last destroys it,
// and with it a connection the caller gave up.
struct Job {
  std::mutex mutex;
  std::condition_variable changed;
  std::unique_ptr<Connection> held;
  bool done = false;
  bool cancelling = false;
  // No more rows are to be handed over; written under the mutex, read by the worker without it
  // for each row.
  std::atomic<bool> stop = false;
  bool readerStopped = false;  // ... because the reader asked for no more
  bool discarded = false;      // rows were read that the reader wanted and never got
  bool result = false;
  std::string error;
  std::exception_ptr exception;
  std::deque<Message> queue;
};

// The worker's side of the hand-off: collects rows into blocks and queues them, waiting while the
// caller's side is behind.
class HandOffSink : public RowSink {
 public:
  explicit HandOffSink(Job& job) : job_(job) {}

  bool Begin(const std::vector<FieldInfo>& fields) override {
    Message message;
    message.fields = true;
    message.fieldInfo = fields;
    return Push(std::move(message));
  }

  bool Row(const Variant* values, size_t count) override {
    if (block_.rows > 0 && block_.width != count && !Flush()) return false;
    block_.width = count;
    block_.values.insert(block_.values.end(), values, values + count);
    if (++block_.rows < kBlockRows) return !Stopped();
    return Flush();
  }

  bool Flush() {
    if (block_.rows == 0) return !Stopped();
    Message block = std::move(block_);
    block_ = Message();
    return Push(std::move(block));
  }

 private:
  bool Stopped() const { return job_.stop; }

  bool Push(Message message) {
    std::unique_lock lock(job_.mutex);
    job_.changed.wait(lock, [&] { return job_.stop || job_.queue.size() < kBlocksInFlight; });
    if (job_.stop) {
      if (!job_.readerStopped) job_.discarded = true;
      return false;
    }
    job_.queue.push_back(std::move(message));
    job_.changed.notify_all();
    return true;
  }

  Job& job_;
  Message block_;
};

// Hands one message to the reader; false when the reader wants no more.
bool Deliver(const Message& message, RowSink& sink) {
  if (message.fields) return sink.Begin(message.fieldInfo);
  for (size_t row = 0; row < message.rows; ++row) {
    if (!sink.Row(message.values.data() + row * message.width, message.width)) return false;
  }
  return true;
}

}  // namespace

bool RunWithin(int seconds, std::unique_ptr<Connection>& connection, TimedCall call, RowSink* sink,
               std::string& error) {
  auto job = std::make_shared<Job>();
  const bool cancellable = connection != nullptr;
  job->held = std::move(connection);
  const bool handOff = sink != nullptr;

  auto work = [job, call = std::move(call), handOff] {
    bool result = false;
    std::string callError;
    std::exception_ptr exception;
    try {
      if (handOff) {
        HandOffSink rows(*job);
        result = call(job->held, &rows, callError);
        rows.Flush();
      } else {
        result = call(job->held, nullptr, callError);
      }
    } catch (...) {
      exception = std::current_exception();
    }
    std::lock_guard lock(job->mutex);
    job->result = result;
    job->error = std::move(callError);
    job->exception = exception;
    job->done = true;
    job->changed.notify_all();
  };
  try {
    std::thread(std::move(work)).detach();
  } catch (...) {
    connection = std::move(job->held);  // no thread: the call never started
    throw;
  }

  const auto limit = Clock::now() + std::chrono::seconds(seconds) + kServerFirst;
  std::exception_ptr readerException;
  std::unique_lock lock(job->mutex);
  // Rows reach the reader here, on the caller's thread, until the call ends or the time is up.
  // The few blocks still queued when the call has ended are handed over whatever the clock says.
  while (true) {
    if (!job->done && Clock::now() >= limit) break;
    if (!job->stop && !job->queue.empty()) {
      Message message = std::move(job->queue.front());
      job->queue.pop_front();
      job->changed.notify_all();
      lock.unlock();
      bool more = false;
      try {
        more = Deliver(message, *sink);
      } catch (...) {
        readerException = std::current_exception();
      }
      lock.lock();
      if (!more) {
        job->stop = true;
        job->readerStopped = true;
        job->changed.notify_all();
      }
      continue;
    }
    if (job->done) break;
    job->changed.wait_until(lock, limit,
                            [&] { return job->done || (!job->stop && !job->queue.empty()); });
  }

  const bool late = !job->done;
  if (late) {
    job->stop = true;
    job->changed.notify_all();
    if (cancellable) {
      // Cancelling may itself wait on the server, so it has a thread of its own.
      job->cancelling = true;
      try {
        std::thread([job, target = job->held.get()] {
          target->Cancel();
          std::lock_guard cancelled(job->mutex);
          job->cancelling = false;
          job->changed.notify_all();
        }).detach();
      } catch (const std::system_error&) {
        job->cancelling = false;  // no thread to cancel from: the grace is all the call gets
      }
    }
    job->changed.wait_until(lock, Clock::now() + kCancelGrace,
                            [&] { return job->done && !job->cancelling; });
    if (!job->done || job->cancelling) {
      // The connection stays with the job: the last thread to let go of it destroys it.
      error = QueryTimedOutMessage(seconds);
      if (readerException) std::rethrow_exception(readerException);
      return false;
    }
  }
  if (!job->queue.empty() && !job->readerStopped) job->discarded = true;
  connection = std::move(job->held);
  if (job->exception) std::rethrow_exception(job->exception);
  if (readerException) std::rethrow_exception(readerException);
  // A late call counts only when it succeeded and every row it read reached the reader.
  if (late && (!job->result || job->discarded)) {
    error = QueryTimedOutMessage(seconds);
    return false;
  }
  error = job->error;
  return job->result;
}

}  // namespace kivdb
