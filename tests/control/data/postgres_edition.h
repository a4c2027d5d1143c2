#pragma once
// The PostgreSQL edition of test data kept in SQLite's dialect (the shop of the end-to-end tests,
// or any fixture written the same way): the statements with PostgreSQL's names for their column
// types, and the saved queries (SQL with parameters ?1, ?2, ...) as SQL functions returning
// tables, so that "EXEC name args" gives the same records on both engines.
//
// Translated: INTEGER PRIMARY KEY (an automatic key) -> serial PRIMARY KEY, CURRENCY -> money,
// DOUBLE -> double precision, DATETIME -> timestamp, BLOB -> bytea, MEMO -> text; in other
// statements the blob literal X'0A1B' -> '\x0A1B'::bytea. A function takes its parameter types
// from how the query uses them (text where nothing tells), returns the query's columns under the
// names the query spells, and returns void for a query without records.

#include <string>
#include <utility>
#include <vector>

namespace kivdb::testing_support {

// One statement in PostgreSQL's dialect.
std::string PostgresStatement(const std::string& sqliteStatement);

// Loads the statements and the saved queries (name, SQL) into the database of the ODBC
// `connection`, then moves each automatic key past the keys the statements gave. Returns "" or the
// first failure. The functions learnt from the server are kept for the process, so that the same
// fixture loads quickly into the next test's schema.
std::string LoadPostgresEdition(const std::string& connection,
                                const std::vector<std::string>& statements,
                                const std::vector<std::pair<std::string, std::string>>& queries);

}  // namespace kivdb::testing_support
