#pragma once
// Moving values between SQLite statements and Variants: reading a cell by the column's type code,
// binding a Variant to a parameter, and reading a whole result into a Recordset.

#include <sqlite3.h>

#include <memory>
#include <string>

#include <kivdb/recordset.h>
#include <kivdb/variant.h>
#include "control/data/row_sink.h"

namespace kivdb {

struct StatementFinalizer {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
// A prepared statement that is finalized when it goes out of scope.
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// Prepares one statement; returns null with the database's reason in `error`.
Statement Prepare(sqlite3* db, const std::string& sql, std::string& error);

// `name` as a quoted identifier ("a""b").
std::string QuoteIdentifier(const std::string& name);

// The value of column `column` of the current row, converted for a column of type `typeCode`
// (0: undeclared, by the value's own storage class). A value that does not fit the declared type
// (text in an integer column, a date that does not parse) comes back as it is stored.
Variant ReadCell(sqlite3_stmt* statement, int column, int typeCode);

// Binds `value` to parameter `index` (from 1) for a column of type `typeCode` (dates and times are
// written as ISO text). Returns false with the reason for a value that cannot be stored.
bool BindValue(sqlite3_stmt* statement, int index, const Variant& value, int typeCode,
               std::string& error);

// The type code of result column `column` from its declared type (0 when it has none).
int DeclaredTypeCode(sqlite3_stmt* statement, int column);

// Steps `statement` to its end and appends its fields and records to `out`, which must be empty.
bool ReadStatement(sqlite3* db, sqlite3_stmt* statement, Recordset& out, std::string& error);

// Steps `statement` to its end (or until the sink stops it), handing its fields and records to
// `sink` with the same names, types and values ReadStatement gives.
bool StreamStatement(sqlite3* db, sqlite3_stmt* statement, RowSink& sink, std::string& error);

}  // namespace kivdb
