#include "control/data/odbc_reader.h"
#include "control/data/recordset_access.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <limits>

namespace kivdb {
namespace {

// Bound buffers of text and binary columns hold this much of a value per row; longer values are
// read again whole (rare, and it keeps a block of a wide text column small).
constexpr SQLULEN kBoundVariableBytes = 1024;
constexpr SQLULEN kUnknownSizeBytes = 256;
constexpr size_t kPieceBytes = 8192;

std::string StatementError(const OdbcHandle& statement, const char* what) {
  return DiagnosticText(statement, std::string(what) + " failed");
}

// An exact number as the driver wrote it; a text that is no number ("NaN") stays text.
Variant ExactNumber(std::string text) {
  const size_t start = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
  if (start < text.size() &&
      (std::isdigit(static_cast<unsigned char>(text[start])) || text[start] == '.')) {
    return Variant::Decimal(std::move(text));
  }
  return Variant(std::move(text));
}

Variant UnsignedBig(SQLUBIGINT value) {
  if (value <= static_cast<SQLUBIGINT>(std::numeric_limits<int64_t>::max())) {
    return Variant(static_cast<int64_t>(value));
  }
  return Variant::Decimal(std::to_string(value));
}

DateTime FromTime(const SQL_TIME_STRUCT& t) {
  return DateTime{1899, 12, 30, t.hour, t.minute, t.second};
}

// A value of fixed size from its buffer.
Variant FixedValue(OdbcCell cell, const void* data) {
  switch (cell) {
    case OdbcCell::Boolean:
      return Variant(*static_cast<const unsigned char*>(data) != 0);
    case OdbcCell::SmallInteger: {
      SQLSMALLINT v;
      std::memcpy(&v, data, sizeof v);
      return Variant(static_cast<int16_t>(v));
    }
    case OdbcCell::Integer: {
      SQLINTEGER v;
      std::memcpy(&v, data, sizeof v);
      return Variant(static_cast<int32_t>(v));
    }
    case OdbcCell::BigInteger: {
      SQLBIGINT v;
      std::memcpy(&v, data, sizeof v);
      return Variant(static_cast<int64_t>(v));
    }
    case OdbcCell::UnsignedBig: {
      SQLUBIGINT v;
      std::memcpy(&v, data, sizeof v);
      return UnsignedBig(v);
    }
    case OdbcCell::Single: {
      SQLREAL v;
      std::memcpy(&v, data, sizeof v);
      return Variant(static_cast<float>(v));
    }
    case OdbcCell::Double: {
      SQLDOUBLE v;
      std::memcpy(&v, data, sizeof v);
      return Variant(static_cast<double>(v));
    }
    case OdbcCell::Time: {
      SQL_TIME_STRUCT v;
      std::memcpy(&v, data, sizeof v);
      return Variant(FromTime(v));
    }
    default:
      return Variant();
  }
}

size_t FixedSize(OdbcCell cell) {
  switch (cell) {
    case OdbcCell::Boolean:
      return sizeof(unsigned char);
    case OdbcCell::SmallInteger:
      return sizeof(SQLSMALLINT);
    case OdbcCell::Integer:
      return sizeof(SQLINTEGER);
    case OdbcCell::BigInteger:
    case OdbcCell::UnsignedBig:
      return sizeof(SQLBIGINT);
    case OdbcCell::Single:
      return sizeof(SQLREAL);
    case OdbcCell::Double:
      return sizeof(SQLDOUBLE);
    case OdbcCell::Time:
      return sizeof(SQL_TIME_STRUCT);
    default:
      return 0;
  }
}

// A date or timestamp as the server wrote it: the date value when the date type can hold it, else
// the server's own text ("infinity", "-infinity", "0044-03-15 BC", "10000-01-01"). A fraction of a
// second and a zone offset after the time are dropped, as the date structures drop them.
Variant ServerDateValue(std::string text) {
  std::string_view view = text;
  if (view.size() > 11 && (view[10] == ' ' || view[10] == 'T')) {
    const size_t sign = view.find_last_of("+-");
    if (sign != std::string_view::npos && sign > 10) view = view.substr(0, sign);
  }
  if (const std::optional<DateTime> date = ParseDateTime(view); date && date->year >= 1) {
    return Variant(*date);
  }
  return Variant(std::move(text));
}

// A variable-length value from a bound buffer that held it whole.
Variant VariableValue(OdbcCell cell, const char* data, SQLLEN length) {
  if (cell == OdbcCell::Binary) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(data);
    return Variant::Binary(std::vector<uint8_t>(bytes, bytes + length));
  }
  std::string text(data, static_cast<size_t>(length));
  if (cell == OdbcCell::Date || cell == OdbcCell::Timestamp)
    return ServerDateValue(std::move(text));
  return cell == OdbcCell::ExactNumber ? ExactNumber(std::move(text)) : Variant(std::move(text));
}

// Where one bound column sits in a row of the block buffer: its value, then its length or Null
// indicator.
struct BoundColumn {
  OdbcCell cell;
  SQLLEN elementBytes;
  size_t valueOffset;
  size_t indicatorOffset;
};

constexpr size_t AlignUp(size_t bytes, size_t to) {
  return (bytes + to - 1) / to * to;
}

SQLLEN BoundBytes(const OdbcColumn& column) {
  if (!IsVariableLength(column.cell)) return static_cast<SQLLEN>(FixedSize(column.cell));
  SQLULEN bytes = column.size == 0 ? kUnknownSizeBytes : std::min(column.size, kBoundVariableBytes);
  // Room for a sign, a decimal point and an exponent of exact numbers; text needs its terminator.
  if (column.cell == OdbcCell::ExactNumber) bytes += 8;
  // The server's text of a date may be longer than the column size says ("-infinity", BC dates).
  if (column.cell == OdbcCell::Date || column.cell == OdbcCell::Timestamp)
    bytes = std::max<SQLULEN>(bytes, 40);
  if (column.cell != OdbcCell::Binary) bytes += 1;
  return static_cast<SQLLEN>(bytes);
}

// Puts the statement back to one row per fetch with nothing bound, whatever happened.
class BlockAttributes {
 public:
  explicit BlockAttributes(const OdbcHandle& statement) : statement_(statement) {}
  ~BlockAttributes() {
    SQLFreeStmt(statement_.Get(), SQL_UNBIND);
    SQLSetStmtAttr(statement_.Get(), SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(1), 0);
    SQLSetStmtAttr(statement_.Get(), SQL_ATTR_ROWS_FETCHED_PTR, nullptr, 0);
    SQLSetStmtAttr(statement_.Get(), SQL_ATTR_ROW_STATUS_PTR, nullptr, 0);
    SQLSetStmtAttr(statement_.Get(), SQL_ATTR_ROW_BIND_TYPE,
                   reinterpret_cast<SQLPOINTER>(SQL_BIND_BY_COLUMN), 0);
  }

 private:
  const OdbcHandle& statement_;
};

// Where fetched rows go: the cells of each row are filled in place, then the row is handed on.
class RowTarget {
 public:
  virtual ~RowTarget() = default;
  virtual void Expect(size_t /*rows*/) {}
  virtual Variant* NextRow() = 0;
  // False: the reader wants no more rows.
  virtual bool RowDone() = 0;
};

// Rows appended to a recordset read whole.
class RecordsetTarget final : public RowTarget {
 public:
  explicit RecordsetTarget(Recordset& out) : out_(out) {}
  void Expect(size_t rows) override { out_.ReserveRows(rows); }
  Variant* NextRow() override { return RecordsetAccess::AppendEmptyRow(out_); }
  bool RowDone() override { return true; }

 private:
  Recordset& out_;
};

// Rows handed to a sink one by one, through one row of cells.
class SinkTarget final : public RowTarget {
 public:
  SinkTarget(RowSink& sink, size_t fields) : sink_(sink), cells_(fields) {}
  Variant* NextRow() override { return cells_.data(); }
  bool RowDone() override { return sink_.Row(cells_.data(), cells_.size()); }

 private:
  RowSink& sink_;
  std::vector<Variant> cells_;
};

// Lays the bound columns out one after another in a row; the row is a multiple of 8 bytes, so
// that every value and indicator of every row in the block stays aligned.
size_t LayOutRow(const std::vector<OdbcColumn>& columns, std::vector<BoundColumn>& bound) {
  size_t offset = 0;
  bound.clear();
  bound.reserve(columns.size());
  for (const OdbcColumn& column : columns) {
    BoundColumn slot{column.cell, BoundBytes(column), 0, 0};
    slot.valueOffset = offset;
    offset = AlignUp(offset + static_cast<size_t>(slot.elementBytes), alignof(SQLLEN));
    slot.indicatorOffset = offset;
    offset += sizeof(SQLLEN);
    bound.push_back(slot);
  }
  return AlignUp(offset, 8);
}

bool ReadBlocks(const OdbcHandle& statement, const std::vector<OdbcColumn>& columns, RowTarget& out,
                size_t blockRows, std::string& error) {
  SQLHSTMT stmt = statement.Get();
  BlockAttributes restore(statement);
  std::vector<BoundColumn> bound;
  const size_t rowBytes = LayOutRow(columns, bound);
  SQLULEN fetched = 0;
  std::vector<SQLUSMALLINT> status(blockRows);
  // Row-wise binding: one fetch fills whole rows, each value beside the others of its row.
  if (!Succeeded(SQLSetStmtAttr(stmt, SQL_ATTR_ROW_BIND_TYPE,
                                reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(rowBytes)), 0)) ||
      !Succeeded(SQLSetStmtAttr(stmt, SQL_ATTR_ROW_ARRAY_SIZE,
                                reinterpret_cast<SQLPOINTER>(blockRows), 0)) ||
      !Succeeded(SQLSetStmtAttr(stmt, SQL_ATTR_ROWS_FETCHED_PTR, &fetched, 0)) ||
      !Succeeded(SQLSetStmtAttr(stmt, SQL_ATTR_ROW_STATUS_PTR, status.data(), 0))) {
    error = StatementError(statement, "Setting up a block fetch");
    return false;
  }
  // The driver may have lowered the block size (01S02); the buffer follows what it took.
  SQLULEN taken = blockRows;
  if (Succeeded(SQLGetStmtAttr(stmt, SQL_ATTR_ROW_ARRAY_SIZE, &taken, 0, nullptr)) && taken > 0 &&
      taken < blockRows) {
    blockRows = taken;
  }
  // Held as SQLLEN so that the buffer itself is aligned for the indicators.
  std::vector<SQLLEN> block(rowBytes / sizeof(SQLLEN) * blockRows);
  char* const base = reinterpret_cast<char*>(block.data());
  for (size_t c = 0; c < bound.size(); ++c) {
    const BoundColumn& column = bound[c];
    if (!Succeeded(SQLBindCol(stmt, static_cast<SQLUSMALLINT>(c + 1), CTypeOfCell(column.cell),
                              base + column.valueOffset, column.elementBytes,
                              reinterpret_cast<SQLLEN*>(base + column.indicatorOffset)))) {
      error = StatementError(statement, "Binding a column");
      return false;
    }
  }

  SQLLEN expected = 0;
  if (Succeeded(SQLRowCount(stmt, &expected)) && expected > 0) {
    out.Expect(static_cast<size_t>(expected));
  }
  while (true) {
    const SQLRETURN rc = SQLFetch(stmt);
    if (rc == SQL_NO_DATA) return true;
    if (!Succeeded(rc)) {
      error = StatementError(statement, "Fetching rows");
      return false;
    }
    for (SQLULEN r = 0; r < fetched; ++r) {
      if (status[r] == SQL_ROW_ERROR) {
        error = StatementError(statement, "Fetching a row");
        return false;
      }
      if (status[r] == SQL_ROW_NOROW) continue;
      const char* row = base + r * rowBytes;
      Variant* cells = out.NextRow();
      for (size_t c = 0; c < bound.size(); ++c) {
        const BoundColumn& column = bound[c];
        SQLLEN indicator;
        std::memcpy(&indicator, row + column.indicatorOffset, sizeof indicator);
        const char* data = row + column.valueOffset;
        if (indicator == SQL_NULL_DATA) {
          cells[c] = Variant::Null();
        } else if (!IsVariableLength(column.cell)) {
          cells[c] = FixedValue(column.cell, data);
        } else {
          const SQLLEN room =
              column.cell == OdbcCell::Binary ? column.elementBytes : column.elementBytes - 1;
          if (indicator != SQL_NO_TOTAL && indicator <= room) {
            cells[c] = VariableValue(column.cell, data, indicator);
            continue;
          }
          // Longer than the buffer: position on the row and read the value again, whole.
          if (!Succeeded(SQLSetPos(stmt, static_cast<SQLSETPOSIROW>(r + 1), SQL_POSITION,
                                   SQL_LOCK_NO_CHANGE))) {
            error = StatementError(statement, "Positioning on a row");
            return false;
          }
          if (!GetCell(statement, static_cast<SQLUSMALLINT>(c + 1), column.cell, cells[c], error)) {
            return false;
          }
        }
      }
      if (!out.RowDone()) return true;
    }
  }
}

bool ReadRowByRow(const OdbcHandle& statement, const std::vector<OdbcColumn>& columns,
                  RowTarget& out, std::string& error) {
  while (true) {
    const SQLRETURN rc = SQLFetch(statement.Get());
    if (rc == SQL_NO_DATA) return true;
    if (!Succeeded(rc)) {
      error = StatementError(statement, "Fetching rows");
      return false;
    }
    Variant* cells = out.NextRow();
    for (size_t c = 0; c < columns.size(); ++c) {
      if (!GetCell(statement, static_cast<SQLUSMALLINT>(c + 1), columns[c].cell, cells[c], error)) {
        return false;
      }
    }
    if (!out.RowDone()) return true;
  }
}

std::string AttributeText(const OdbcHandle& statement, SQLUSMALLINT column,
                          SQLUSMALLINT attribute) {
  std::vector<char> text(256);
  for (int attempt = 0; attempt < 2; ++attempt) {
    SQLSMALLINT length = 0;
    const SQLRETURN rc = SQLColAttribute(statement.Get(), column, attribute, text.data(),
                                         static_cast<SQLSMALLINT>(text.size()), &length, nullptr);
    if (!Succeeded(rc)) return std::string();
    if (length < static_cast<SQLSMALLINT>(text.size())) return std::string(text.data());
    text.resize(static_cast<size_t>(length) + 1);
  }
  return std::string();
}

}  // namespace

bool DescribeColumns(const OdbcHandle& statement, bool withOrigin, std::vector<OdbcColumn>& columns,
                     std::string& error) {
  columns.clear();
  SQLSMALLINT count = 0;
  if (!Succeeded(SQLNumResultCols(statement.Get(), &count))) {
    error = StatementError(statement, "Counting result columns");
    return false;
  }
  columns.reserve(static_cast<size_t>(count));
  for (SQLUSMALLINT c = 1; c <= static_cast<SQLUSMALLINT>(count); ++c) {
    OdbcColumn column;
    std::vector<SQLCHAR> name(256);
    SQLSMALLINT nameLength = 0;
    SQLSMALLINT nullable = 0;
    for (int attempt = 0; attempt < 2; ++attempt) {
      if (!Succeeded(SQLDescribeCol(statement.Get(), c, name.data(),
                                    static_cast<SQLSMALLINT>(name.size()), &nameLength,
                                    &column.sqlType, &column.size, &column.decimals, &nullable))) {
        error = StatementError(statement, "Describing a result column");
        return false;
      }
      if (nameLength < static_cast<SQLSMALLINT>(name.size())) break;
      name.resize(static_cast<size_t>(nameLength) + 1);
    }
    column.name = reinterpret_cast<const char*>(name.data());
    if (column.sqlType == SQL_TINYINT || column.sqlType == SQL_SMALLINT ||
        column.sqlType == SQL_INTEGER || column.sqlType == SQL_BIGINT) {
      SQLLEN isUnsigned = SQL_FALSE;
      SQLColAttribute(statement.Get(), c, SQL_DESC_UNSIGNED, nullptr, 0, nullptr, &isUnsigned);
      column.isUnsigned = isUnsigned == SQL_TRUE;
    }
    column.cell = CellFromSqlType(column.sqlType, column.isUnsigned);
    if (withOrigin) {
      column.catalog = AttributeText(statement, c, SQL_DESC_CATALOG_NAME);
      column.schema = AttributeText(statement, c, SQL_DESC_SCHEMA_NAME);
      column.table = AttributeText(statement, c, SQL_DESC_BASE_TABLE_NAME);
      column.baseColumn = AttributeText(statement, c, SQL_DESC_BASE_COLUMN_NAME);
    }
    columns.push_back(std::move(column));
  }
  return true;
}

bool ReadRows(const OdbcHandle& statement, const std::vector<OdbcColumn>& columns, Recordset& out,
              std::string& error, size_t blockRows) {
  for (const OdbcColumn& column : columns) {
    out.AppendField(column.name, TypeCodeFromSqlType(column.sqlType, column.isUnsigned));
  }
  if (columns.empty()) return true;
  RecordsetTarget target(out);
  return blockRows > 1 ? ReadBlocks(statement, columns, target, blockRows, error)
                       : ReadRowByRow(statement, columns, target, error);
}

bool StreamRows(const OdbcHandle& statement, const std::vector<OdbcColumn>& columns, RowSink& sink,
                std::string& error, size_t blockRows) {
  std::vector<FieldInfo> fields;
  fields.reserve(columns.size());
  for (const OdbcColumn& column : columns) {
    fields.push_back({column.name, TypeCodeFromSqlType(column.sqlType, column.isUnsigned)});
  }
  if (!sink.Begin(fields) || columns.empty()) return true;
  SinkTarget target(sink, columns.size());
  return blockRows > 1 ? ReadBlocks(statement, columns, target, blockRows, error)
                       : ReadRowByRow(statement, columns, target, error);
}

bool GetCell(const OdbcHandle& statement, SQLUSMALLINT column, OdbcCell cell, Variant& value,
             std::string& error) {
  SQLHSTMT stmt = statement.Get();
  if (!IsVariableLength(cell)) {
    alignas(8) char buffer[32] = {};
    SQLLEN indicator = 0;
    if (!Succeeded(
            SQLGetData(stmt, column, CTypeOfCell(cell), buffer, sizeof buffer, &indicator))) {
      error = StatementError(statement, "Reading a value");
      return false;
    }
    value = indicator == SQL_NULL_DATA ? Variant::Null() : FixedValue(cell, buffer);
    return true;
  }
  // Text and binary data arrive in pieces; a text piece ends with a terminator the driver adds.
  const bool binary = cell == OdbcCell::Binary;
  std::vector<char> piece(kPieceBytes);
  std::string whole;
  const SQLLEN room =
      binary ? static_cast<SQLLEN>(piece.size()) : static_cast<SQLLEN>(piece.size()) - 1;
  bool first = true;
  while (true) {
    SQLLEN indicator = 0;
    const SQLRETURN rc = SQLGetData(stmt, column, CTypeOfCell(cell), piece.data(),
                                    static_cast<SQLLEN>(piece.size()), &indicator);
    if (rc == SQL_NO_DATA) break;
    if (!Succeeded(rc)) {
      error = StatementError(statement, "Reading a value");
      return false;
    }
    if (indicator == SQL_NULL_DATA) {
      value = Variant::Null();
      return true;
    }
    if (first && indicator > 0 && indicator != SQL_NO_TOTAL) {
      whole.reserve(static_cast<size_t>(indicator));
    }
    first = false;
    const bool more = indicator == SQL_NO_TOTAL || indicator > room;
    whole.append(piece.data(), static_cast<size_t>(more ? room : indicator));
    if (!more) break;
  }
  value = VariableValue(cell, whole.data(), static_cast<SQLLEN>(whole.size()));
  return true;
}

}  // namespace kivdb
