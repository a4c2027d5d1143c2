#pragma once
// Reading ODBC results into Recordsets: describing the columns of a result and fetching all its
// rows, in blocks of rows bound row-wise when the driver allows it, with long text and binary
// values completed piece by piece so that every value arrives whole.

#include <cstddef>
#include <string>
#include <vector>

#include <kivdb/recordset.h>
#include "control/data/odbc_handles.h"
#include "control/data/odbc_types.h"
#include "control/data/row_sink.h"

namespace kivdb {

struct OdbcColumn {
  std::string name;
  SQLSMALLINT sqlType = SQL_UNKNOWN_TYPE;
  SQLULEN size = 0;  // the driver's column size (0 when it does not know)
  SQLSMALLINT decimals = 0;
  bool isUnsigned = false;
  OdbcCell cell = OdbcCell::Text;
  // Where the column comes from, as the driver reports it ("" for an expression).
  std::string catalog;
  std::string schema;
  std::string table;
  std::string baseColumn;
};

// Describes the columns of the statement's current result; with `withOrigin` also the table and
// column each comes from. Returns false with the driver's reason.
bool DescribeColumns(const OdbcHandle& statement, bool withOrigin, std::vector<OdbcColumn>& columns,
                     std::string& error);

// How many rows one fetch asks for; 1 reads row by row with SQLGetData only.
inline constexpr size_t kOdbcBlockRows = 512;

// Appends the fields and all remaining rows of the statement's current result (described as
// `columns`) to `out`, which must be empty. `blockRows` above 1 fetches blocks of rows into one
// buffer, each row's values side by side; only for drivers that can position in a block and read
// a bound column with SQLGetData (SQL_GD_BLOCK and SQL_GD_BOUND), which is how long values are
// completed. With 1, rows are read one by one with SQLGetData alone.
bool ReadRows(const OdbcHandle& statement, const std::vector<OdbcColumn>& columns, Recordset& out,
              std::string& error, size_t blockRows = kOdbcBlockRows);

// The same read handed to `sink` row by row, as the rows are fetched: the sink's Begin gets the
// fields ReadRows would append, and a sink that stops ends the read (which still succeeds).
bool StreamRows(const OdbcHandle& statement, const std::vector<OdbcColumn>& columns, RowSink& sink,
                std::string& error, size_t blockRows = kOdbcBlockRows);

// Reads column `column` (from 1) of the current row whole, as `cell`.
bool GetCell(const OdbcHandle& statement, SQLUSMALLINT column, OdbcCell cell, Variant& value,
             std::string& error);

}  // namespace kivdb
