#include <kivdb/dal.h>

#include <exception>

#include "control/data/connection.h"
#include "control/data/dal_access.h"
#include "control/data/deadline_runner.h"
#include "control/data/recordset_access.h"
#include "control/data/row_sink.h"
#include "control/data/shape_executor.h"

namespace kivdb {

// Each public member runs its work through Guard, so that no exception (a full disk, memory, a
// recordset misuse) ever reaches the caller: it becomes a False result and LastError.
struct DAL::Impl {
  ConnectionFactory factory;
  bool defaultFactory = false;  // OpenDefaultConnection, told the QueryTimeout
  std::string connectionString;
  std::unique_ptr<Connection> connection;
  bool inTransaction = false;
  int queryTimeout = 0;
  std::string lastError;

  // Opens a connection unless one is held; true only when this call opened it.
  bool OpenConnection() {
    if (connection) return false;
    std::string error;
    if (queryTimeout > 0) {
      // A server that never answers must not hold the attempt past the limit either. The call
      // owns copies of what it needs: it may outlive this DAL.
      RunWithin(
          queryTimeout, connection,
          [open = OpenWith(), text = connectionString](std::unique_ptr<Connection>& held, RowSink*,
                                                       std::string& openError) {
            held = open(text, openError);
            return held != nullptr;
          },
          nullptr, error);
    } else if (const ConnectionFactory open = OpenWith()) {
      connection = open(connectionString, error);
    }
    if (!connection) {
      lastError = error.empty() ? "The connection could not be opened" : error;
      return false;
    }
    // A new connection starts without a limit.
    if (queryTimeout > 0) connection->SetQueryTimeout(queryTimeout);
    return true;
  }

  void CloseConnection() { connection.reset(); }

  ConnectionFactory OpenWith() const {
    if (!defaultFactory) return factory;
    return [timeout = queryTimeout](const std::string& text, std::string& error) {
      return OpenDefaultConnection(text, error, timeout);
    };
  }

  // Makes one call on the held connection. Under a QueryTimeout a provider that cannot bound its
  // own time is watched by RunWithin; a connection it had to give up is gone, and with it the
  // transaction it held (rolled back as the connection closes on its own thread).
  bool Call(const TimedCall& call, RowSink* sink, std::string& error) {
    if (queryTimeout <= 0 || connection->BoundsItsOwnTime()) return call(connection, sink, error);
    const bool ok = RunWithin(queryTimeout, connection, call, sink, error);
    if (!connection) inTransaction = false;
    return ok;
  }

  // Writes the pending changes of the host's `records`. A watched call works on a copy, which
  // replaces the host's records only when the call came back in time: a call given up on may still
  // finish on its thread, and must never touch what the host holds.
  bool WriteBack(Recordset& records, std::string& error) {
    if (queryTimeout <= 0 || connection->BoundsItsOwnTime()) {
      return connection->ApplyBatch(records, error);
    }
    auto copy = std::make_shared<Recordset>(RecordsetAccess::Clone(records));
    const bool ok =
        Call([copy](std::unique_ptr<Connection>& held, RowSink*,
                    std::string& writeError) { return held->ApplyBatch(*copy, writeError); },
             nullptr, error);
    if (ok) records = std::move(*copy);
    return ok;
  }

  // Ends a call that passes through an open connection: a transaction keeps its connection.
  void EndCall() {
    if (!inTransaction) CloseConnection();
  }

  bool Fail(std::string error) {
    lastError = std::move(error);
    return false;
  }

  // Commits or rolls back the transaction in progress, then lets its connection go.
  bool EndTransaction(bool (Connection::*end)(std::string& error)) {
    if (!connection) return Fail("No transaction in progress");
    std::string error;
    const bool ended = Call([end](std::unique_ptr<Connection>& held, RowSink*,
                                  std::string& endError) { return (held.get()->*end)(endError); },
                            nullptr, error);
    if (!ended) return Fail(error);
    inTransaction = false;
    CloseConnection();
    return true;
  }

  // Where every read goes; commands of other languages can be routed here before the provider.
  // A SHAPE command runs each of its commands through the provider on the one connection.
  static bool Read(Connection& on, const std::string& command, bool forUpdate, Recordset& out,
                   std::string& error) {
    if (IsShapeCommand(command)) {
      return RunShapeCommand(
          command,
          [&on](const std::string& part, Recordset& records, std::string& partError) {
            return on.Query(part, false, records, partError);
          },
          out, error);
    }
    return on.Query(command, forUpdate, out, error);
  }

  // A shaped result is built before its first record is handed over, as its chapters relate
  // records of several reads; only the records the sink reads get theirs, and the rest pass as
  // Empty fields, to be counted.
  static bool ReadShapeForward(Connection& on, const std::string& command, RowSink& sink,
                               std::string& error) {
    const long keep = sink.RecordsNeeded();
    Recordset records;
    long count = 0;
    const bool ok = RunShapeCommandKeeping(
        command,
        [&on](const std::string& part, Recordset& out, std::string& partError) {
          return on.Query(part, false, out, partError);
        },
        [&on](const std::string& part, RowSink& rows, std::string& partError) {
          return on.Stream(part, rows, partError);
        },
        keep, records, count, error);
    if (!ok) return false;
    if (!FeedRecordset(records, sink)) return true;
    const long fed = records.RecordCount();
    if (count > fed && sink.RecordsNeeded() > 0) {
      const std::vector<Variant> none(static_cast<size_t>(records.FieldCount()));
      for (long r = fed; r < count; ++r) {
        if (!sink.Row(none.data(), none.size())) break;
      }
    }
    return true;
  }

  // Reads into a recordset of the call's own, which the caller gets only when the call came back.
  bool Read(const std::string& command, bool forUpdate, std::shared_ptr<Recordset>& out,
            std::string& error) {
    auto records = std::make_shared<Recordset>();
    const bool ok = Call(
        [records, command, forUpdate](std::unique_ptr<Connection>& held, RowSink*,
                                      std::string& readError) {
          return Read(*held, command, forUpdate, *records, readError);
        },
        nullptr, error);
    if (ok) out = std::move(records);
    return ok;
  }

  bool ReadInto(const std::string& command, bool forUpdate, std::shared_ptr<Recordset>& mRS) {
    mRS.reset();
    OpenConnection();
    if (!connection) return false;
    std::string error;
    const bool ok = Read(command, forUpdate, mRS, error);
    EndCall();
    if (!ok) {
      mRS.reset();
      return Fail(error);
    }
    return true;
  }

  template <typename Work>
  auto Guard(Work work, decltype(work()) onException) -> decltype(work()) {
    lastError.clear();
    try {
      return work();
    } catch (const std::exception& e) {
      lastError = e.what();
    } catch (...) {
      lastError = "Unexpected failure";
    }
    if (!inTransaction) CloseConnection();
    return onException;
  }
};

DAL::DAL() : impl_(std::make_unique<Impl>()) {
  impl_->defaultFactory = true;
}

void DalAccess::UseFactory(DAL& dal, ConnectionFactory factory) {
  dal.impl_->factory = std::move(factory);
  dal.impl_->defaultFactory = false;
}

// Closing the connection also rolls back a transaction that was never committed.
DAL::~DAL() {
  impl_->CloseConnection();
}

bool DAL::ReadRecordset(const std::string& SQLQuery, std::shared_ptr<Recordset>& mRS) {
  const bool ok = impl_->Guard([&] { return impl_->ReadInto(SQLQuery, false, mRS); }, false);
  if (!ok) mRS.reset();
  return ok;
}

void DAL::ConnectionString(const std::string& text) {
  impl_->connectionString = text;
}

bool DAL::IsConnected() {
  return impl_->Guard(
      [&] {
        // Inside a transaction the held connection is the answer; closing it would end the
        // transaction.
        if (impl_->inTransaction) return impl_->connection != nullptr;
        const bool opened = impl_->OpenConnection();
        if (!opened && impl_->lastError.empty()) impl_->lastError = "A connection was already open";
        impl_->CloseConnection();
        return opened;
      },
      false);
}

bool DAL::TransBegin() {
  return impl_->Guard(
      [&] {
        if (impl_->inTransaction) return impl_->Fail("A transaction is already in progress");
        const bool opened = impl_->OpenConnection();
        if (!impl_->connection) return false;
        std::string error;
        if (!impl_->Call([](std::unique_ptr<Connection>& held, RowSink*,
                            std::string& beginError) { return held->BeginTransaction(beginError); },
                         nullptr, error)) {
          if (opened) impl_->CloseConnection();
          return impl_->Fail(error);
        }
        impl_->inTransaction = true;
        return true;
      },
      false);
}

bool DAL::TransCommit() {
  return impl_->Guard([&] { return impl_->EndTransaction(&Connection::Commit); }, false);
}

bool DAL::TransRollback() {
  return impl_->Guard([&] { return impl_->EndTransaction(&Connection::Rollback); }, false);
}

bool DAL::IsInTransaction() const {
  return impl_->inTransaction;
}

bool DAL::ExecSQL(const std::string& SQLQuery) {
  return impl_->Guard(
      [&] {
        impl_->OpenConnection();
        if (!impl_->connection) return false;
        std::string error;
        // The connection stays open either way, so that a transaction's work shares it.
        const bool ok =
            impl_->Call([command = SQLQuery](
                            std::unique_ptr<Connection>& held, RowSink*,
                            std::string& runError) { return held->Execute(command, runError); },
                        nullptr, error);
        return ok || impl_->Fail(error);
      },
      false);
}

bool DAL::GetRecordset(const std::string& SQLQuery, std::shared_ptr<Recordset>& mRS) {
  const bool ok = impl_->Guard([&] { return impl_->ReadInto(SQLQuery, true, mRS); }, false);
  if (!ok) mRS.reset();
  return ok;
}

bool DAL::PutRecordset(std::shared_ptr<Recordset>& mRS) {
  return impl_->Guard(
      [&] {
        if (!mRS) return impl_->Fail("No recordset to write back");
        impl_->OpenConnection();
        if (!impl_->connection) return false;
        std::string error;
        if (!impl_->WriteBack(*mRS, error)) {
          impl_->EndCall();
          return impl_->Fail(error);
        }
        return true;  // the connection stays open, as after ExecSQL
      },
      false);
}

Variant DAL::ReadValue(const std::string& SQLQuery) {
  return impl_->Guard(
      [&] {
        Variant result;
        impl_->OpenConnection();
        if (!impl_->connection) return result;
        std::shared_ptr<Recordset> records;
        std::string error;
        const bool ok = impl_->Read(SQLQuery, false, records, error);
        impl_->EndCall();
        if (!ok) {
          impl_->lastError = error;
          return result;
        }
        if (records->RecordCount() > 0 && records->FieldCount() > 0) {
          records->MoveFirst();
          result = records->Value(0);
        }
        return result;
      },
      Variant());
}

void DAL::QueryTimeout(int seconds) {
  impl_->queryTimeout = seconds > 0 ? seconds : 0;
  // A transaction's connection is held across calls: the new limit holds there from now on.
  if (impl_->connection) impl_->connection->SetQueryTimeout(impl_->queryTimeout);
}

int DAL::QueryTimeout() const {
  return impl_->queryTimeout;
}

bool ReadForward(DAL& dal, const std::string& command, RowSink& sink) {
  return DalAccess::ReadForward(dal, command, sink);
}

bool DalAccess::ReadForward(DAL& dal, const std::string& command, RowSink& sink) {
  DAL::Impl& impl = *dal.impl_;
  return impl.Guard(
      [&] {
        impl.OpenConnection();
        if (!impl.connection) return false;
        std::string error;
        const bool ok = impl.Call(
            [command](std::unique_ptr<Connection>& held, RowSink* rows, std::string& readError) {
              if (!IsShapeCommand(command)) return held->Stream(command, *rows, readError);
              return DAL::Impl::ReadShapeForward(*held, command, *rows, readError);
            },
            &sink, error);
        impl.EndCall();
        return ok || impl.Fail(error);
      },
      false);
}

const std::string& DAL::LastError() const {
  return impl_->lastError;
}

}  // namespace kivdb
