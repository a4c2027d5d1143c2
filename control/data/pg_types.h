#pragma once
// Field type codes and value readers for the native PostgreSQL provider: from a column's type oid
// to the code the ODBC provider gives the same column, and from the server's text form of a value
// to a Variant. Pure mapping: no connection, no I/O.

#include <string_view>

#include <kivdb/variant.h>

namespace kivdb {

// How the text of a column's values becomes a Variant.
enum class PgCell {
  Boolean,
  Int16,
  Int32,
  Int64,
  Single,
  Double,
  Numeric,  // exact decimal; NaN and infinities stay text
  Money,    // currency; a form that does not read stays text
  Date,     // infinities, BC dates and years past 9999 stay the server's text
  Time,
  Timestamp,  // with or without a zone offset (the offset is dropped, as the session shows it)
  Bytes,      // hex form
  Text,
};

// The field type code of a column of type `oid`; types without one of their own (arrays, JSON,
// intervals, ranges, ...) get the code of variable-length text (200).
int PgTypeCode(unsigned oid);

PgCell PgCellOf(unsigned oid);

// The value of one cell from the server's text form (`text` holds exactly the value's bytes).
Variant PgValue(PgCell cell, std::string_view text);

}  // namespace kivdb
