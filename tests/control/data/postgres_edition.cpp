#include "tests/control/data/postgres_edition.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>
#include <regex>

#include <kivdb/dal.h>

namespace kivdb::testing_support {
namespace {

std::string Lowered(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string Quoted(const std::string& name) {
  std::string out = "\"";
  for (const char c : name) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
}

std::string TextLiteral(const std::string& text) {
  std::string out = "'";
  for (const char c : text) out += c == '\'' ? std::string("''") : std::string(1, c);
  return out + "'";
}

// ?1, ?2, ... become $1, $2, ...; the count of parameters is the highest number used.
std::string WithDollarParameters(const std::string& sql, int& count) {
  std::string out;
  count = 0;
  char quote = 0;
  for (size_t i = 0; i < sql.size(); ++i) {
    const char c = sql[i];
    if (quote) {
      if (c == quote) quote = 0;
      out += c;
    } else if (c == '\'' || c == '"') {
      quote = c;
      out += c;
    } else if (c == '?' && i + 1 < sql.size() &&
               std::isdigit(static_cast<unsigned char>(sql[i + 1]))) {
      size_t end = i + 1;
      while (end < sql.size() && std::isdigit(static_cast<unsigned char>(sql[end]))) ++end;
      count = std::max(count, std::stoi(sql.substr(i + 1, end - i - 1)));
      out += "$" + sql.substr(i + 1, end - i - 1);
      i = end - 1;
    } else {
      out += c;
    }
  }
  return out;
}

// The spelling the query gives a column that the server reports in small letters ("id" of
// "SELECT c.ID"), or the server's name when the query spells it nowhere.
std::string SpelledAs(const std::string& sql, const std::string& column) {
  const std::string lowered = Lowered(sql);
  size_t at = 0;
  while ((at = lowered.find(column, at)) != std::string::npos) {
    const size_t end = at + column.size();
    auto isWord = [&](size_t i) {
      return std::isalnum(static_cast<unsigned char>(sql[i])) || sql[i] == '_';
    };
    if ((at == 0 || !isWord(at - 1)) && (end >= sql.size() || !isWord(end))) {
      return sql.substr(at, column.size());
    }
    at = end;
  }
  return column;
}

// "{a,b}" -> {"a", "b"}; the types of pg_prepared_statements hold no commas of their own.
std::vector<std::string> ArrayItems(const std::string& text) {
  std::vector<std::string> items;
  if (text.size() < 2) return items;
  std::string item;
  for (size_t i = 1; i + 1 < text.size(); ++i) {
    if (text[i] == ',') {
      items.push_back(item);
      item.clear();
    } else if (text[i] != '"') {
      item += text[i];
    }
  }
  if (!item.empty()) items.push_back(item);
  return items;
}

// The CREATE FUNCTION statement of one saved query, learnt from the server itself.
std::string FunctionFor(DAL& dal, const std::string& name, const std::string& sqliteSql,
                        std::string& error) {
  int count = 0;
  const std::string sql = WithDollarParameters(sqliteSql, count);
  // Parameters the query gives no type to are text, as their values come from the tree's texts.
  std::vector<std::string> declared(static_cast<size_t>(count), "unknown");
  std::shared_ptr<Recordset> types;
  // One command, so that the prepared statement and its description share a connection.
  for (int attempt = 0; attempt <= count && !types; ++attempt) {
    std::string signature;
    for (size_t i = 0; i < declared.size(); ++i) signature += (i ? ", " : "") + declared[i];
    if (dal.ReadRecordset("DEALLOCATE ALL; PREPARE kivdb_probe" +
                              (count ? "(" + signature + ")" : "") + " AS " + sql +
                              "; SELECT parameter_types::text FROM pg_prepared_statements "
                              "WHERE name = 'kivdb_probe'",
                          types)) {
      break;
    }
    static const std::regex undetermined(R"(data type of parameter \$(\d+))");
    std::smatch match;
    const std::string reason = dal.LastError();
    if (!std::regex_search(reason, match, undetermined)) {
      error = name + ": " + reason;
      return std::string();
    }
    declared[std::stoul(match[1]) - 1] = "text";
  }
  if (!types || types->RecordCount() != 1) {
    error = name + ": the query could not be described";
    return std::string();
  }
  types->MoveFirst();
  const std::vector<std::string> parameters = ArrayItems(types->Value(0).ToText());
  if (static_cast<int>(parameters.size()) != count) {
    error = name + ": the parameters could not be described";
    return std::string();
  }

  std::string returns = "void";
  static const std::regex readsRecords(R"(^\s*\(?\s*(SELECT|WITH|VALUES)\b)", std::regex::icase);
  if (std::regex_search(sql, readsRecords)) {
    // The columns, as a view of the query run with Nulls of the parameters' types shows them.
    std::string probe = sql;
    for (int i = count; i >= 1; --i) {
      probe = std::regex_replace(probe, std::regex("\\$" + std::to_string(i) + "(?![0-9])"),
                                 "NULL::" + parameters[static_cast<size_t>(i - 1)]);
    }
    std::shared_ptr<Recordset> columns;
    if (!dal.ReadRecordset("CREATE TEMP VIEW kivdb_probe AS " + probe +
                               "; SELECT attname::text, format_type(atttypid, atttypmod) FROM "
                               "pg_attribute WHERE attrelid = 'kivdb_probe'::regclass AND "
                               "attnum > 0 ORDER BY attnum",
                           columns)) {
      error = name + ": " + dal.LastError();
      return std::string();
    }
    returns = "TABLE(";
    int c = 0;
    for (columns->MoveFirst(); !columns->Eof(); columns->MoveNext(), ++c) {
      returns += (c ? ", " : "") + Quoted(SpelledAs(sqliteSql, columns->Value(0).ToText())) + " " +
                 columns->Value(1).ToText();
    }
    returns += ")";
  }
  std::string arguments;
  for (size_t i = 0; i < parameters.size(); ++i) {
    arguments += (i ? ", " : "") + parameters[i];
  }
  return "CREATE FUNCTION " + name + "(" + arguments + ") RETURNS " + returns +
         " LANGUAGE sql AS $kivdb$ " + sql + " $kivdb$";
}

// SQLite's blob literals X'0A1B' as PostgreSQL's '\x0A1B'::bytea; quoted text and names stay.
std::string WithByteaLiterals(const std::string& sql) {
  auto isWord = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
  auto isHex = [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; };
  std::string out;
  char quote = 0;
  for (size_t i = 0; i < sql.size(); ++i) {
    const char c = sql[i];
    if (quote) {
      if (c == quote) quote = 0;
      out += c;
      continue;
    }
    if ((c == 'X' || c == 'x') && i + 1 < sql.size() && sql[i + 1] == '\'' &&
        (i == 0 || !isWord(sql[i - 1]))) {
      const size_t end = sql.find('\'', i + 2);
      if (end != std::string::npos && (end - i) % 2 == 0 &&
          std::all_of(sql.begin() + static_cast<long>(i) + 2, sql.begin() + static_cast<long>(end),
                      isHex)) {
        out += "'\\x" + sql.substr(i + 2, end - i - 2) + "'::bytea";
        i = end;
        continue;
      }
    }
    if (c == '\'' || c == '"') quote = c;
    out += c;
  }
  return out;
}

// The statements that decide the columns' types. Rows do not, and a dropped table cannot give a
// function its types: the server refuses a function that reads it.
std::string TableShapes(const std::vector<std::string>& statements) {
  static const std::regex shapesTables(R"(^\s*(CREATE|ALTER)\b)", std::regex::icase);
  std::string shapes;
  for (const std::string& statement : statements) {
    if (std::regex_search(statement, shapesTables)) shapes += statement + '\n';
  }
  return shapes;
}

// Functions learnt once per process: a fixture loaded again into a new schema (one per test)
// gets the same definitions without the probing round trips, which cost a connection each.
class FunctionCache {
 public:
  std::string Find(const std::string& key) {
    const std::lock_guard<std::mutex> lock(mutex_);
    const auto found = definitions_.find(key);
    return found == definitions_.end() ? std::string() : found->second;
  }
  void Keep(const std::string& key, const std::string& definition) {
    const std::lock_guard<std::mutex> lock(mutex_);
    definitions_.emplace(key, definition);
  }

 private:
  std::mutex mutex_;
  std::map<std::string, std::string> definitions_;
};

FunctionCache& Functions() {
  static FunctionCache cache;
  return cache;
}

}  // namespace

std::string PostgresStatement(const std::string& sqliteStatement) {
  static const std::regex createTable(R"(^\s*CREATE\s+TABLE\b)", std::regex::icase);
  if (!std::regex_search(sqliteStatement, createTable)) return WithByteaLiterals(sqliteStatement);
  struct Rule {
    std::regex pattern;
    const char* replacement;
  };
  static const Rule rules[] = {
      {std::regex(R"(\bINTEGER\s+PRIMARY\s+KEY\b)", std::regex::icase), "serial PRIMARY KEY"},
      {std::regex(R"(\bCURRENCY\b)", std::regex::icase), "money"},
      {std::regex(R"(\bDOUBLE\b(?!\s+PRECISION))", std::regex::icase), "double precision"},
      {std::regex(R"(\bDATETIME\b)", std::regex::icase), "timestamp"},
      {std::regex(R"(\bBLOB\b)", std::regex::icase), "bytea"},
      {std::regex(R"(\bMEMO\b)", std::regex::icase), "text"},
  };
  std::string out = sqliteStatement;
  for (const Rule& rule : rules) out = std::regex_replace(out, rule.pattern, rule.replacement);
  return out;
}

std::string LoadPostgresEdition(const std::string& connection,
                                const std::vector<std::string>& statements,
                                const std::vector<std::pair<std::string, std::string>>& queries) {
  DAL dal;
  dal.ConnectionString(connection);
  static const std::regex automaticKey(
      R"(CREATE\s+TABLE\s+(\w+)\s*\(\s*(\w+)\s+INTEGER\s+PRIMARY\s+KEY)", std::regex::icase);
  static const std::regex dropTable(R"(^\s*DROP\s+TABLE\s+(IF\s+EXISTS\s+)?(\w+))",
                                    std::regex::icase);
  std::vector<std::pair<std::string, std::string>> keys;  // table, column
  for (const std::string& statement : statements) {
    std::smatch match;
    if (std::regex_search(statement, match, automaticKey)) keys.emplace_back(match[1], match[2]);
    // A table the statements drop again has no key left to move.
    if (std::regex_search(statement, match, dropTable)) {
      const std::string dropped = Lowered(match[2]);
      std::erase_if(keys, [&](const auto& key) { return Lowered(key.first) == dropped; });
    }
    if (!dal.ExecSQL(PostgresStatement(statement))) return statement + ": " + dal.LastError();
  }
  for (const auto& [table, column] : keys) {
    const std::string move = "SELECT setval(pg_get_serial_sequence(" + TextLiteral(Lowered(table)) +
                             ", " + TextLiteral(Lowered(column)) + "), coalesce(max(" + column +
                             "), 0) + 1, false) FROM " + table;
    if (!dal.ExecSQL(move)) return move + ": " + dal.LastError();
  }
  const std::string shapes = TableShapes(statements);
  for (const auto& [name, sql] : queries) {
    // The types of a function depend only on its query and the tables it reads.
    const std::string key = shapes + '\x1f' + name + '\x1f' + sql;
    std::string function = Functions().Find(key);
    if (function.empty()) {
      std::string error;
      function = FunctionFor(dal, name, sql, error);
      if (!error.empty()) return error;
      Functions().Keep(key, function);
    }
    if (!dal.ExecSQL(function)) return function + ": " + dal.LastError();
  }
  return std::string();
}

}  // namespace kivdb::testing_support
