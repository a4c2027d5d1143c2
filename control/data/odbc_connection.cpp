#include "control/data/odbc_connection.h"

#include <algorithm>
#include <chrono>
#include <limits>
#include <map>

#include "base/text.h"
#include "control/data/exec_command.h"
#include "control/data/odbc_batch.h"
#include "control/data/odbc_call.h"
#include "control/data/odbc_parameters.h"
#include "control/data/recordset_access.h"

namespace kivdb {
namespace {

constexpr SQLULEN kLoginTimeoutSeconds = 15;

std::string InfoText(SQLHDBC dbc, SQLUSMALLINT item) {
  char text[256] = {};
  SQLSMALLINT length = 0;
  if (!Succeeded(SQLGetInfo(dbc, item, text, sizeof text, &length))) return std::string();
  return text;
}

}  // namespace

std::unique_ptr<Connection> OdbcConnection::Open(const std::string& connectionString,
                                                 std::string& error, int timeoutSeconds) {
  std::unique_ptr<OdbcConnection> self(new OdbcConnection());
  self->environment_ = OdbcHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE);
  if (!self->environment_.Valid() ||
      !Succeeded(SQLSetEnvAttr(self->environment_.Get(), SQL_ATTR_ODBC_VERSION,
                               reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0))) {
    error = "The ODBC driver manager could not be initialised";
    return nullptr;
  }
  self->connection_ = OdbcHandle(SQL_HANDLE_DBC, self->environment_.Get());
  if (!self->connection_.Valid()) {
    error = DiagnosticText(self->environment_, "No ODBC connection handle could be allocated");
    return nullptr;
  }
  SQLHDBC dbc = self->connection_.Get();
  const SQLULEN loginTimeout = timeoutSeconds > 0 ? timeoutSeconds : kLoginTimeoutSeconds;
  SQLSetConnectAttr(dbc, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(loginTimeout), 0);
  std::string text = connectionString;
  if (text.size() > static_cast<size_t>(std::numeric_limits<SQLSMALLINT>::max())) {
    error = "The connection string is too long for ODBC";
    return nullptr;
  }
  SQLCHAR completed[1024];
  SQLSMALLINT completedLength = 0;
  const auto start = std::chrono::steady_clock::now();
  const SQLRETURN rc = SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR*>(text.data()),
                                        static_cast<SQLSMALLINT>(text.size()), completed,
                                        sizeof completed, &completedLength, SQL_DRIVER_NOPROMPT);
  if (!Succeeded(rc)) {
    // Drivers word an expired login timeout each their own way (HYT00, or 08001 "timeout
    // expired"); an attempt that failed once the whole limit had passed was cut short by it.
    if (timeoutSeconds > 0 &&
        (HasState(self->connection_, "HYT00") ||
         std::chrono::steady_clock::now() - start >= std::chrono::seconds(timeoutSeconds))) {
      error = QueryTimedOutMessage(timeoutSeconds);
    } else {
      error =
          "Cannot connect through ODBC: " + DiagnosticText(self->connection_, "no reason given");
    }
    return nullptr;
  }
  self->connected_ = true;

  const std::string quote = InfoText(dbc, SQL_IDENTIFIER_QUOTE_CHAR);
  self->quote_ = quote.empty() ? " " : quote;
  self->returning_ = text::Lower(InfoText(dbc, SQL_DBMS_NAME)) == "postgresql";
  SQLUINTEGER extensions = 0;
  if (Succeeded(SQLGetInfo(dbc, SQL_GETDATA_EXTENSIONS, &extensions, sizeof extensions, nullptr)) &&
      (extensions & SQL_GD_BLOCK) && (extensions & SQL_GD_BOUND)) {
    self->blockRows_ = kOdbcBlockRows;
  }
  return self;
}

OdbcConnection::~OdbcConnection() {
  if (!connected_) return;
  // Some drivers refuse to disconnect inside a transaction; ending it first also makes its
  // fate certain: what was never committed is rolled back.
  if (inTransaction_) SQLEndTran(SQL_HANDLE_DBC, connection_.Get(), SQL_ROLLBACK);
  SQLDisconnect(connection_.Get());
}

OdbcHandle OdbcConnection::NewStatement(std::string& error) {
  OdbcHandle statement(SQL_HANDLE_STMT, connection_.Get());
  if (!statement.Valid()) {
    error = DiagnosticText(connection_, "No statement handle available");
    return statement;
  }
  if (queryTimeout_ > 0 &&
      !Succeeded(SQLSetStmtAttr(statement.Get(), SQL_ATTR_QUERY_TIMEOUT,
                                reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(queryTimeout_)),
                                0))) {
    // A driver without time limits must not run a command the host wanted limited.
    error = DiagnosticText(statement, "The driver cannot limit the time of a query");
    return OdbcHandle();
  }
  return statement;
}

void OdbcConnection::SetQueryTimeout(int seconds) {
  queryTimeout_ = seconds > 0 ? seconds : 0;
}

bool OdbcConnection::FailedCommand(const OdbcHandle& statement, std::string& error) const {
  // HYT00: the driver's own timeout; 57014: the server cancelled the statement (PostgreSQL's
  // driver passes the limit on as the session's statement timeout).
  if (queryTimeout_ > 0 && (HasState(statement, "HYT00") || HasState(statement, "57014")))
    error = QueryTimedOutMessage(queryTimeout_);
  return false;
}

bool OdbcConnection::SetAutocommit(bool on, std::string& error) {
  const auto value = on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF;
  if (!Succeeded(SQLSetConnectAttr(connection_.Get(), SQL_ATTR_AUTOCOMMIT,
                                   reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(value)), 0))) {
    error = DiagnosticText(connection_, "The driver cannot change autocommit");
    return false;
  }
  return true;
}

bool OdbcConnection::EndTransaction(bool commit, std::string& error) {
  if (!Succeeded(
          SQLEndTran(SQL_HANDLE_DBC, connection_.Get(), commit ? SQL_COMMIT : SQL_ROLLBACK))) {
    error = DiagnosticText(connection_, commit ? "Commit failed" : "Rollback failed");
    return false;
  }
  return true;
}

bool OdbcConnection::BeginTransaction(std::string& error) {
  if (inTransaction_) {
    error = "A transaction is already in progress";
    return false;
  }
  if (!SetAutocommit(false, error)) return false;
  inTransaction_ = true;
  return true;
}

bool OdbcConnection::Commit(std::string& error) {
  if (!inTransaction_) {
    error = "No transaction in progress";
    return false;
  }
  if (!EndTransaction(true, error)) return false;
  inTransaction_ = false;
  return SetAutocommit(true, error);
}

bool OdbcConnection::Rollback(std::string& error) {
  if (!inTransaction_) {
    error = "No transaction in progress";
    return false;
  }
  if (!EndTransaction(false, error)) return false;
  inTransaction_ = false;
  return SetAutocommit(true, error);
}

OdbcConnection::CancelTarget::CancelTarget(OdbcConnection& owner, const OdbcHandle& statement)
    : owner_(owner) {
  std::lock_guard lock(owner_.cancelMutex_);
  owner_.running_ = statement.Get();
}

OdbcConnection::CancelTarget::~CancelTarget() {
  std::lock_guard lock(owner_.cancelMutex_);
  owner_.running_ = SQL_NULL_HSTMT;
}

void OdbcConnection::Cancel() {
  // SQLCancel is the one call ODBC allows on a statement that another thread is executing.
  cancelRequested_ = true;
  std::lock_guard lock(cancelMutex_);
  if (running_ != SQL_NULL_HSTMT) SQLCancel(running_);
}

bool OdbcConnection::Run(const std::string& command, Recordset* out, bool forUpdate,
                         std::string& error, RowSink* sink) {
  OdbcHandle statement = NewStatement(error);
  if (!statement.Valid()) return false;
  const CancelTarget cancellable(*this, statement);
  ParameterSet parameters;
  std::string text = command;
  if (IsExecCommand(command)) {
    const auto exec = ParseExecCommand(command, error);
    if (!exec) return false;
    text = CallEscape(*exec, quote_);
    for (size_t i = 0; i < exec->arguments.size(); ++i) {
      if (!parameters.Bind(statement, static_cast<SQLUSMALLINT>(i + 1), exec->arguments[i], {},
                           error)) {
        return false;
      }
    }
  }
  SQLRETURN rc = SQLExecDirect(statement.Get(), reinterpret_cast<SQLCHAR*>(text.data()),
                               static_cast<SQLINTEGER>(text.size()));
  // SQL_NO_DATA: a searched change that touched no row; later statements may follow it.
  if (rc != SQL_NO_DATA && !Succeeded(rc)) {
    error = DiagnosticText(statement, "The command failed");
    return FailedCommand(statement, error);
  }
  // A command of several statements has one result each; the records of the last one with
  // columns are the answer, as on every provider.
  bool streamed = false;
  while (true) {
    SQLSMALLINT columnCount = 0;
    if (sink && rc != SQL_NO_DATA && Succeeded(SQLNumResultCols(statement.Get(), &columnCount)) &&
        columnCount > 0) {
      // The rows already handed on cannot be taken back for a later result's.
      if (streamed) {
        error = "The command returns more than one set of records; a forward-only read takes one";
        return false;
      }
      std::vector<OdbcColumn> columns;
      if (!DescribeColumns(statement, false, columns, error) ||
          !StreamRows(statement, columns, *sink, error, blockRows_)) {
        return FailedCommand(statement, error);
      }
      streamed = true;
    }
    if (out && rc != SQL_NO_DATA && Succeeded(SQLNumResultCols(statement.Get(), &columnCount)) &&
        columnCount > 0) {
      std::vector<OdbcColumn> columns;
      Recordset records;
      if (!DescribeColumns(statement, forUpdate, columns, error) ||
          !ReadRows(statement, columns, records, error, blockRows_)) {
        return FailedCommand(statement, error);
      }
      if (forUpdate) FindBaseTable(columns, records);
      *out = std::move(records);
    }
    rc = SQLMoreResults(statement.Get());
    if (rc == SQL_NO_DATA) return true;
    if (!Succeeded(rc)) {
      error = DiagnosticText(statement, "The command failed");
      return FailedCommand(statement, error);
    }
  }
}

bool OdbcConnection::FindBaseTable(const std::vector<OdbcColumn>& columns, Recordset& out) {
  Recordset::BaseTable base;
  const OdbcColumn* source = nullptr;
  std::map<std::string, bool> seen;
  for (const OdbcColumn& column : columns) {
    if (column.table.empty() || column.baseColumn.empty()) {
      base.columns.emplace_back();  // an expression
      continue;
    }
    if (!source) {
      source = &column;
    } else if (column.table != source->table || column.schema != source->schema ||
               column.catalog != source->catalog) {
      return false;  // more than one table
    }
    // A column selected twice is written back through its first field only.
    base.columns.emplace_back(seen.emplace(column.baseColumn, true).second ? column.baseColumn
                                                                           : std::string());
  }
  if (!source) return false;
  base.table = source->table;
  base.schema = source->schema;

  std::string error;
  OdbcHandle keys = NewStatement(error);
  auto text = [](const std::string& s) {
    return s.empty() ? nullptr : reinterpret_cast<SQLCHAR*>(const_cast<char*>(s.c_str()));
  };
  std::vector<std::pair<int64_t, std::string>> keyColumns;  // sequence, column
  if (keys.Valid() &&
      Succeeded(SQLPrimaryKeys(keys.Get(), text(source->catalog), SQL_NTS, text(source->schema),
                               SQL_NTS, text(source->table), SQL_NTS))) {
    while (Succeeded(SQLFetch(keys.Get()))) {
      Variant name;
      Variant sequence;
      if (!GetCell(keys, 4, OdbcCell::Text, name, error) ||
          !GetCell(keys, 5, OdbcCell::BigInteger, sequence, error) || !name.AsText()) {
        keyColumns.clear();
        break;
      }
      keyColumns.emplace_back(sequence.AsInteger().value_or(0), *name.AsText());
    }
  }
  std::sort(keyColumns.begin(), keyColumns.end());
  for (const auto& [sequence, name] : keyColumns) {
    auto it = std::find(base.columns.begin(), base.columns.end(), name);
    if (it == base.columns.end()) {
      it = std::find_if(
          base.columns.begin(), base.columns.end(),
          // The binding is captured through a reference of its own: clang 14
          // (the fuzz build) cannot capture structured bindings.
          [&column = name](const std::string& c) { return text::Lower(c) == text::Lower(column); });
    }
    if (it == base.columns.end()) {
      base.keyFields.clear();  // the key is not wholly among the fields
      break;
    }
    base.keyFields.push_back(static_cast<int>(it - base.columns.begin()));
  }
  RecordsetAccess::SetBaseTable(out, std::move(base));
  return true;
}

bool OdbcConnection::Execute(const std::string& command, std::string& error) {
  return Run(command, nullptr, false, error);
}

bool OdbcConnection::Query(const std::string& command, bool forUpdate, Recordset& out,
                           std::string& error) {
  return Run(command, &out, forUpdate, error);
}

bool OdbcConnection::Stream(const std::string& command, RowSink& sink, std::string& error) {
  return Run(command, nullptr, false, error, &sink);
}

bool OdbcConnection::ApplyBatch(Recordset& records, std::string& error) {
  return WriteOdbcBatch(*this, records, error);
}

}  // namespace kivdb
