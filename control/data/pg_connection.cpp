#include "control/data/pg_connection.h"

#include <poll.h>

#include <atomic>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <thread>

#include "base/text.h"
#include "control/data/exec_command.h"
#include "control/data/pg_batch.h"
#include "control/data/pg_reader.h"
#include "control/data/recordset_access.h"

namespace kivdb {
namespace {

constexpr int kDefaultConnectSeconds = 15;
// How long a statement cancelled at its deadline may take to end before its connection is dropped.
constexpr auto kCancelGrace = std::chrono::milliseconds(700);

// What the values are read as: ISO dates, floats with every digit, hex bytes, and money without
// the grouping of a national locale.
constexpr const char* kSessionOptions =
    "-c DateStyle=ISO -c IntervalStyle=postgres -c extra_float_digits=3 -c bytea_output=hex "
    "-c lc_monetary=C";

std::string Trimmed(const char* message) {
  return std::string(text::Trim(message ? message : ""));
}

std::string ConnectionError(PGconn* conn, const char* fallback) {
  std::string message = conn ? Trimmed(PQerrorMessage(conn)) : std::string();
  return message.empty() ? fallback : message;
}

std::string ResultError(const PGresult* result) {
  std::string message = Trimmed(PQresultErrorMessage(result));
  // "ERROR:  relation ... does not exist": the severity says nothing the caller needs.
  for (const char* prefix : {"ERROR:", "FATAL:"}) {
    if (message.rfind(prefix, 0) == 0) message = std::string(text::Trim(message.substr(6)));
  }
  return message.empty() ? "The command failed" : message;
}

bool IsCancelled(const PGresult* result) {
  const char* state = PQresultErrorField(result, PG_DIAG_SQLSTATE);
  return state && std::string_view(state) == "57014";
}

// The text the server reads a bound value from; nothing for Null and Empty.
std::optional<std::string> ParameterText(const Variant& value) {
  switch (value.GetKind()) {
    case Variant::Kind::Empty:
    case Variant::Kind::Null:
    case Variant::Kind::Chapter:
      return std::nullopt;
    case Variant::Kind::Boolean:
      return *value.AsBoolean() ? "true" : "false";
    case Variant::Kind::Single:
    case Variant::Kind::Double: {
      const double number = *value.ToDouble();
      if (std::isnan(number)) return "NaN";
      if (std::isinf(number)) return number > 0 ? "Infinity" : "-Infinity";
      char buffer[64];
      const auto end =
          value.GetKind() == Variant::Kind::Single
              ? std::to_chars(buffer, buffer + sizeof buffer, static_cast<float>(number))
              : std::to_chars(buffer, buffer + sizeof buffer, number);
      return std::string(buffer, end.ptr);
    }
    case Variant::Kind::Currency: {
      const int64_t units = value.AsCurrency()->tenThousandths;
      const uint64_t magnitude =
          units < 0 ? 0 - static_cast<uint64_t>(units) : static_cast<uint64_t>(units);
      std::string fraction = std::to_string(magnitude % 10000);
      fraction.insert(0, 4 - fraction.size(), '0');
      return (units < 0 ? "-" : "") + std::to_string(magnitude / 10000) + "." + fraction;
    }
    default:
      return value.ToText();
  }
}

// The function name as written in SQL: a name of plain words (or one the caller quoted) stays as
// written, so that the server folds or keeps its case as usual; any other is quoted whole.
std::string FunctionName(const std::string& name) {
  if (name.find('"') != std::string::npos) return name;
  bool plain = !name.empty() && name.front() != '.' && name.back() != '.';
  for (const char c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '$' && c != '.')
      plain = false;
  }
  if (plain) return name;
  return "\"" + name + "\"";
}

// A command of more than one statement (a semicolon with more text after it). A semicolon inside a
// quoted text counts too: such a command is read the slower way, with the same result.
bool HasSeveralStatements(const std::string& command) {
  const size_t semicolon = command.find(';');
  return semicolon != std::string::npos &&
         command.find_first_not_of(" \t\r\n;", semicolon) != std::string::npos;
}

// The one value of a catalogue lookup.
class FirstValue final : public PgConnection::Reader {
 public:
  bool Begin(const PGresult*) override { return true; }
  bool Row(const PGresult* result, int row) override {
    if (!PQgetisnull(result, row, 0)) value = PQgetvalue(result, row, 0);
    return true;
  }
  std::string value;
};

}  // namespace

std::unique_ptr<Connection> PgConnection::Open(const std::map<std::string, std::string>& settings,
                                               std::string& error, int timeoutSeconds) {
  std::unique_ptr<PgConnection> self(new PgConnection());
  std::string options = kSessionOptions;
  self->keywords_ = {"client_encoding", "fallback_application_name"};
  self->values_ = {"UTF8", "KivDB"};
  std::vector<std::pair<std::string, std::string>> later;
  for (const auto& [key, value] : settings) {
    if (key == "provider") continue;
    if (key == "options") {
      options += " " + value;
    } else if (key == "connect_timeout") {
      int seconds = 0;
      const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), seconds);
      if (ec != std::errc() || end != value.data() + value.size() || seconds < 0) {
        error = "Invalid connect_timeout: " + value;
        return nullptr;
      }
      self->connectSeconds_ = seconds;
    } else if (key == "conninfo") {
      // Given as dbname with expansion, libpq reads it as a connection string or URI; the keys
      // after it override its settings.
      self->keywords_.insert(self->keywords_.begin(), "dbname");
      self->values_.insert(self->values_.begin(), value);
    } else {
      std::string name = key;
      if (key == "server") name = "host";
      if (key == "database") name = "dbname";
      if (key == "uid") name = "user";
      if (key == "pwd") name = "password";
      later.emplace_back(name, value);
    }
  }
  self->keywords_.insert(self->keywords_.begin(), "options");
  self->values_.insert(self->values_.begin(), options);
  for (auto& [name, value] : later) {
    self->keywords_.push_back(name);
    self->values_.push_back(value);
  }
  self->queryTimeout_ = timeoutSeconds > 0 ? timeoutSeconds : 0;
  if (!self->Connect(error)) return nullptr;
  return self;
}

PgConnection::~PgConnection() {
  Drop();
}

bool PgConnection::Connect(std::string& error) {
  std::vector<const char*> keywords;
  std::vector<const char*> values;
  for (size_t i = 0; i < keywords_.size(); ++i) {
    keywords.push_back(keywords_[i].c_str());
    values.push_back(values_[i].c_str());
  }
  keywords.push_back(nullptr);
  values.push_back(nullptr);
  conn_ = PQconnectStartParams(keywords.data(), values.data(), 1);
  if (!conn_ || PQstatus(conn_) == CONNECTION_BAD) {
    error = "Cannot connect to PostgreSQL: " + ConnectionError(conn_, "out of memory");
    Drop();
    return false;
  }
  const int seconds = queryTimeout_ > 0 ? queryTimeout_ : connectSeconds_;
  const auto deadline =
      seconds > 0 ? Clock::now() + std::chrono::seconds(seconds) : Clock::time_point::max();
  PostgresPollingStatusType state = PGRES_POLLING_WRITING;
  while (state != PGRES_POLLING_OK) {
    if (state == PGRES_POLLING_FAILED) {
      error = "Cannot connect to PostgreSQL: " + ConnectionError(conn_, "no reason given");
      Drop();
      return false;
    }
    const Wait wait = WaitSocket(state == PGRES_POLLING_WRITING, deadline);
    if (wait == Wait::TimedOut) {
      error = queryTimeout_ > 0
                  ? QueryTimedOutMessage(queryTimeout_)
                  : "Cannot connect to PostgreSQL: the server did not answer within " +
                        std::to_string(seconds) + " s";
      Drop();
      return false;
    }
    state = PQconnectPoll(conn_);
  }
  // The server's notices ("table ... does not exist, skipping") are no failures and no output.
  PQsetNoticeProcessor(
      conn_, [](void*, const char*) {}, nullptr);
  if (PQsetnonblocking(conn_, 1) != 0) {
    error = "Cannot connect to PostgreSQL: " + ConnectionError(conn_, "no asynchronous mode");
    Drop();
    return false;
  }
  std::lock_guard lock(cancelMutex_);
  cancel_ = PQgetCancel(conn_);
  return true;
}

void PgConnection::Drop() {
  {
    std::lock_guard lock(cancelMutex_);
    if (cancel_) PQfreeCancel(cancel_);
    cancel_ = nullptr;
  }
  if (conn_) PQfinish(conn_);
  conn_ = nullptr;
  if (inTransaction_) {
    inTransaction_ = false;
    lostTransaction_ = true;
  }
}

PgConnection::Clock::time_point PgConnection::Deadline() const {
  return queryTimeout_ > 0 ? Clock::now() + std::chrono::seconds(queryTimeout_)
                           : Clock::time_point::max();
}

PgConnection::Wait PgConnection::WaitSocket(bool forWrite, Clock::time_point deadline) const {
  const int socket = PQsocket(conn_);
  if (socket < 0) return Wait::Failed;
  pollfd watched{socket, static_cast<short>(forWrite ? POLLOUT : POLLIN), 0};
  while (true) {
    int milliseconds = -1;
    if (deadline != Clock::time_point::max()) {
      const auto left = deadline - Clock::now();
      if (left <= Clock::duration::zero()) return Wait::TimedOut;
      milliseconds = static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(left).count());
    }
    const int ready = poll(&watched, 1, milliseconds);
    if (ready > 0) return Wait::Ready;  // errors and hang-ups too: libpq tells which
    if (ready < 0 && errno != EINTR) return Wait::Failed;
  }
}

PgConnection::Wait PgConnection::Receive(Clock::time_point deadline) {
  while (PQisBusy(conn_)) {
    const Wait wait = WaitSocket(false, deadline);
    if (wait != Wait::Ready) return wait;
    if (!PQconsumeInput(conn_)) return Wait::Failed;
  }
  return Wait::Ready;
}

void PgConnection::StopAfterDeadline() {
  // PQcancel waits for the server to take the request, which a frozen server never does: it is
  // sent from a thread of its own, left to finish by itself.
  auto sent = std::make_shared<std::atomic<bool>>(false);
  if (PGcancel* cancel = PQgetCancel(conn_)) {
    std::thread([cancel, sent] {
      char reason[256];
      PQcancel(cancel, reason, sizeof reason);
      PQfreeCancel(cancel);
      *sent = true;
    }).detach();
  }
  const auto grace = Clock::now() + kCancelGrace;
  while (true) {
    if (Receive(grace) != Wait::Ready) {
      Drop();
      return;
    }
    PGresult* result = PQgetResult(conn_);
    if (!result) break;
    PQclear(result);
  }
  // A request still on its way could stop the next statement instead: then the connection goes.
  while (!*sent && Clock::now() < grace) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  if (!*sent) Drop();
}

void PgConnection::Cancel() {
  std::lock_guard lock(cancelMutex_);
  if (!cancel_) return;
  char reason[256];
  PQcancel(cancel_, reason, sizeof reason);
}

void PgConnection::SetQueryTimeout(int seconds) {
  queryTimeout_ = seconds > 0 ? seconds : 0;
}

bool PgConnection::Run(const std::string& sql, const std::vector<Variant>* values, Reader* reader,
                       long long* affected, std::string& error) {
  if (!conn_) {
    if (lostTransaction_) {
      error = "The connection to the server was lost; the transaction was rolled back";
      return false;
    }
    if (!Connect(error)) return false;
  }
  const auto deadline = Deadline();
  int sent = 0;
  if (values) {
    const size_t count = values->size();
    std::vector<std::optional<std::string>> texts(count);
    std::vector<const char*> pointers(count, nullptr);
    std::vector<int> lengths(count, 0);
    std::vector<int> formats(count, 0);
    for (size_t i = 0; i < count; ++i) {
      const Variant& value = (*values)[i];
      if (const auto* bytes = value.AsBinary()) {
        pointers[i] = reinterpret_cast<const char*>(bytes->data());
        lengths[i] = static_cast<int>(bytes->size());
        formats[i] = 1;
        continue;
      }
      texts[i] = ParameterText(value);
      if (texts[i]) pointers[i] = texts[i]->c_str();
    }
    sent = PQsendQueryParams(conn_, sql.c_str(), static_cast<int>(count), nullptr, pointers.data(),
                             lengths.data(), formats.data(), 0);
  } else {
    sent = PQsendQuery(conn_, sql.c_str());
  }
  if (!sent) {
    error = ConnectionError(conn_, "The command could not be sent");
    if (PQstatus(conn_) == CONNECTION_BAD) Drop();
    return false;
  }
  if (reader) PQsetSingleRowMode(conn_);
  bool timedOut = false;
  for (int pending = PQflush(conn_); pending == 1; pending = PQflush(conn_)) {
    const Wait wait = WaitSocket(true, deadline);
    if (wait == Wait::TimedOut) {
      timedOut = true;
      break;
    }
    if (wait == Wait::Failed || !PQconsumeInput(conn_)) break;
  }

  std::string failure;
  bool stopped = false;
  bool newResult = true;
  while (conn_ && !timedOut) {
    const Wait wait = Receive(deadline);
    if (wait == Wait::TimedOut) {
      timedOut = true;
      break;
    }
    if (wait == Wait::Failed) {
      failure = "The connection to the server was lost: " + ConnectionError(conn_, "no reason");
      Drop();
      break;
    }
    PGresult* result = PQgetResult(conn_);
    if (!result) break;
    switch (PQresultStatus(result)) {
      case PGRES_SINGLE_TUPLE:
        if (!stopped && newResult) stopped = !reader->Begin(result);
        newResult = false;
        if (!stopped) stopped = !reader->Row(result, 0);
        break;
      case PGRES_TUPLES_OK:
        if (reader && !stopped && newResult && PQnfields(result) > 0) {
          stopped = !reader->Begin(result);
          for (int row = 0, rows = PQntuples(result); row < rows && !stopped; ++row)
            stopped = !reader->Row(result, row);
        }
        newResult = true;
        break;
      case PGRES_COMMAND_OK:
        if (affected) *affected = std::atoll(PQcmdTuples(result));
        newResult = true;
        break;
      case PGRES_FATAL_ERROR:
        if (queryTimeout_ > 0 && IsCancelled(result)) timedOut = true;
        if (failure.empty()) failure = ResultError(result);
        newResult = true;
        break;
      case PGRES_COPY_IN:
      case PGRES_COPY_OUT:
      case PGRES_COPY_BOTH:
        failure = "COPY commands cannot be run here";
        PQclear(result);
        Drop();
        result = nullptr;
        break;
      default:
        break;
    }
    if (result) PQclear(result);
    // A reader that has what it needs: outside a transaction the rest of the rows are not worth
    // fetching, and the connection goes (the next command opens a new one).
    if (stopped && !inTransaction_ && conn_) Drop();
  }
  if (timedOut) {
    if (conn_) StopAfterDeadline();
    error = QueryTimedOutMessage(queryTimeout_);
    return false;
  }
  if (!failure.empty()) {
    error = failure;
    return false;
  }
  return true;
}

bool PgConnection::RunParams(const std::string& sql, const std::vector<Variant>& values,
                             Reader* reader, long long* affected, std::string& error) {
  return Run(sql, &values, reader, affected, error);
}

bool PgConnection::RunExec(const std::string& command, Reader* reader, std::string& error) {
  const auto exec = ParseExecCommand(command, error);
  if (!exec) return false;
  const std::string name = FunctionName(exec->name);
  // A procedure is called; anything else is read as a set-returning function. A name the
  // catalogue cannot tell (unknown, or several functions of that name) is taken as a function,
  // and the server's own message says what is wrong with it.
  FirstValue kind;
  const std::vector<Variant> lookup{Variant(name)};
  if (!Run("SELECT p.prokind FROM pg_catalog.pg_proc p WHERE p.oid = pg_catalog.to_regproc($1)",
           &lookup, &kind, nullptr, error)) {
    return false;
  }
  std::string sql = (kind.value == "p" ? "CALL " : "SELECT * FROM ") + name + "(";
  for (size_t i = 0; i < exec->arguments.size(); ++i)
    sql += (i ? ", $" : "$") + std::to_string(i + 1);
  sql += ")";
  return Run(sql, &exec->arguments, reader, nullptr, error);
}

bool PgConnection::Execute(const std::string& command, std::string& error) {
  if (IsExecCommand(command)) return RunExec(command, nullptr, error);
  return Run(command, nullptr, nullptr, nullptr, error);
}

bool PgConnection::Query(const std::string& command, bool forUpdate, Recordset& out,
                         std::string& error) {
  PgRecordsetReader reader(forUpdate);
  const bool ok = IsExecCommand(command) ? RunExec(command, &reader, error)
                                         : Run(command, nullptr, &reader, nullptr, error);
  if (!ok) return false;
  out = reader.TakeRecords();
  if (forUpdate) FindBaseTable(reader.Tables(), reader.TableColumns(), out);
  return true;
}

bool PgConnection::Stream(const std::string& command, RowSink& sink, std::string& error) {
  // The answer of several statements is the last result with columns, known only at the end.
  if (HasSeveralStatements(command)) return Connection::Stream(command, sink, error);
  PgSinkReader reader(sink);
  return IsExecCommand(command) ? RunExec(command, &reader, error)
                                : Run(command, nullptr, &reader, nullptr, error);
}

bool PgConnection::BeginTransaction(std::string& error) {
  if (inTransaction_) {
    error = "A transaction is already in progress";
    return false;
  }
  lostTransaction_ = false;
  if (!Run("BEGIN", nullptr, nullptr, nullptr, error)) return false;
  inTransaction_ = true;
  return true;
}

bool PgConnection::Commit(std::string& error) {
  if (lostTransaction_) {
    lostTransaction_ = false;
    error = "The connection to the server was lost; the transaction was rolled back";
    return false;
  }
  if (!inTransaction_) {
    error = "No transaction in progress";
    return false;
  }
  // The server answers COMMIT of a failed transaction by rolling it back, without an error.
  if (conn_ && PQtransactionStatus(conn_) == PQTRANS_INERROR) {
    std::string ignored;
    Run("ROLLBACK", nullptr, nullptr, nullptr, ignored);
    inTransaction_ = false;
    error = "The transaction failed and was rolled back";
    return false;
  }
  if (!Run("COMMIT", nullptr, nullptr, nullptr, error)) return false;
  inTransaction_ = false;
  return true;
}

bool PgConnection::Rollback(std::string& error) {
  if (lostTransaction_) {
    lostTransaction_ = false;  // the server has rolled it back already
    return true;
  }
  if (!inTransaction_) {
    error = "No transaction in progress";
    return false;
  }
  if (!Run("ROLLBACK", nullptr, nullptr, nullptr, error)) return false;
  inTransaction_ = false;
  return true;
}

bool PgConnection::ApplyBatch(Recordset& records, std::string& error) {
  return WritePgBatch(*this, records, error);
}

bool PgConnection::FindBaseTable(const std::vector<unsigned>& tables,
                                 const std::vector<int>& tableColumns, Recordset& out) {
  unsigned table = 0;
  for (const unsigned oid : tables) {
    if (oid == 0) continue;
    if (table != 0 && oid != table) return false;  // more than one table
    table = oid;
  }
  if (table == 0) return false;
  // The table's name, its columns by number, and each column's place in the primary key.
  PgRecordsetReader catalogue(false);
  std::string error;
  const std::vector<Variant> oid{Variant(static_cast<int64_t>(table))};
  if (!Run("SELECT n.nspname, c.relname, a.attnum, a.attname, k.position "
           "FROM pg_catalog.pg_class c "
           "JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace "
           "JOIN pg_catalog.pg_attribute a ON a.attrelid = c.oid AND a.attnum > 0 "
           "AND NOT a.attisdropped "
           "LEFT JOIN (SELECT u.attnum, u.position FROM pg_catalog.pg_index i, "
           "unnest(i.indkey) WITH ORDINALITY AS u(attnum, position) "
           "WHERE i.indrelid = $1::oid AND i.indisprimary) k ON k.attnum = a.attnum "
           "WHERE c.oid = $1::oid",
           &oid, &catalogue, nullptr, error)) {
    return false;
  }
  Recordset rows = catalogue.TakeRecords();
  if (rows.RecordCount() <= 0) return false;
  Recordset::BaseTable base;
  std::map<int64_t, std::string> names;
  std::map<int64_t, std::string> keyByPosition;
  for (rows.MoveFirst(); !rows.Eof(); rows.MoveNext()) {
    base.schema = rows.Value(0).ToText();
    base.table = rows.Value(1).ToText();
    const int64_t number = rows.Value(2).AsInteger().value_or(0);
    names[number] = rows.Value(3).ToText();
    if (const auto position = rows.Value(4).AsInteger()) keyByPosition[*position] = names[number];
  }
  std::map<std::string, bool> seen;
  for (size_t i = 0; i < tables.size(); ++i) {
    const auto name = names.find(tableColumns[i]);
    if (tables[i] == 0 || name == names.end()) {
      base.columns.emplace_back();  // an expression
      continue;
    }
    // A column selected twice is written back through its first field only.
    base.columns.emplace_back(seen.emplace(name->second, true).second ? name->second
                                                                      : std::string());
  }
  for (const auto& [position, name] : keyByPosition) {
    int field = -1;
    for (size_t i = 0; i < base.columns.size() && field < 0; ++i) {
      if (base.columns[i] == name) field = static_cast<int>(i);
    }
    if (field < 0) {
      base.keyFields.clear();  // the key is not wholly among the fields
      break;
    }
    base.keyFields.push_back(field);
  }
  RecordsetAccess::SetBaseTable(out, std::move(base));
  return true;
}

}  // namespace kivdb
