#include <kivdb/dal.h>

#include <exception>

#include "control/data/connection.h"
#include "control/data/row_sink.h"
#include "control/data/shape_executor.h"

namespace kivdb {

// Each public member runs its work through Guard, so that no exception (a full disk, memory, a
// recordset misuse) ever reaches the caller: it becomes a False result and LastError.
struct DAL::Impl {
  ConnectionFactory factory;
  std::string connectionString;
  std::unique_ptr<Connection> connection;
  bool inTransaction = false;
  int queryTimeout = 0;
  std::string lastError;

  // Opens a connection unless one is held; true only when this call opened it.
  bool OpenConnection() {
    if (connection) return false;
    std::string error;
    connection = factory ? factory(connectionString, error) : nullptr;
    if (!connection) {
      lastError = error.empty() ? "The connection could not be opened" : error;
      return false;
    }
    // A new connection starts without a limit.
    if (queryTimeout > 0) connection->SetQueryTimeout(queryTimeout);
    return true;
  }

  void CloseConnection() { connection.reset(); }

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
    if (!(connection.get()->*end)(error)) return Fail(error);
    inTransaction = false;
    CloseConnection();
    return true;
  }

  // Where every read goes; commands of other languages can be routed here before the provider.
  // A SHAPE command runs each of its commands through the provider on the one connection.
  bool Read(const std::string& command, bool forUpdate, Recordset& out, std::string& error) {
    if (IsShapeCommand(command)) {
      return RunShapeCommand(
          command,
          [this](const std::string& part, Recordset& records, std::string& partError) {
            return connection->Query(part, false, records, partError);
          },
          out, error);
    }
    return connection->Query(command, forUpdate, out, error);
  }

  bool ReadInto(const std::string& command, bool forUpdate, std::shared_ptr<Recordset>& mRS) {
    mRS = std::make_shared<Recordset>();
    OpenConnection();
    if (!connection) {
      mRS.reset();
      return false;
    }
    std::string error;
    const bool ok = Read(command, forUpdate, *mRS, error);
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
  const Impl* impl = impl_.get();
  impl_->factory = [impl](const std::string& connectionString, std::string& error) {
    return OpenDefaultConnection(connectionString, error, impl->queryTimeout);
  };
}

DAL::DAL(ConnectionFactory factory) : impl_(std::make_unique<Impl>()) {
  impl_->factory = std::move(factory);
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
        if (!impl_->connection->BeginTransaction(error)) {
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
        return impl_->connection->Execute(SQLQuery, error) || impl_->Fail(error);
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
        if (!impl_->connection->ApplyBatch(*mRS, error)) {
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
        Recordset records;
        std::string error;
        const bool ok = impl_->Read(SQLQuery, false, records, error);
        impl_->EndCall();
        if (!ok) {
          impl_->lastError = error;
          return result;
        }
        if (records.RecordCount() > 0 && records.FieldCount() > 0) {
          records.MoveFirst();
          result = records.Value(0);
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
  DAL::Impl& impl = *dal.impl_;
  return impl.Guard(
      [&] {
        impl.OpenConnection();
        if (!impl.connection) return false;
        std::string error;
        bool ok = false;
        if (IsShapeCommand(command)) {
          // A shaped result is built whole: its chapters relate records of several reads.
          Recordset records;
          ok = impl.Read(command, false, records, error);
          if (ok) FeedRecordset(records, sink);
        } else {
          ok = impl.connection->Stream(command, sink, error);
        }
        impl.EndCall();
        return ok || impl.Fail(error);
      },
      false);
}

const std::string& DAL::LastError() const {
  return impl_->lastError;
}

}  // namespace kivdb
