#include "control/data/odbc_parameters.h"

#include <algorithm>
#include <limits>

namespace kivdb {
bool ParameterSet::Bind(const OdbcHandle& statement, SQLUSMALLINT index, const Variant& value,
                        const OdbcParameterType& column, std::string& error) {
  Slot& slot = slots_.emplace_back();
  SQLSMALLINT cType = SQL_C_CHAR;
  SQLSMALLINT sqlType = SQL_VARCHAR;
  SQLULEN size = 0;
  SQLSMALLINT decimals = 0;
  SQLPOINTER data = nullptr;
  SQLLEN bufferLength = 0;

  auto asText = [&](std::string text, SQLSMALLINT defaultType) {
    slot.bytes = std::move(text);
    cType = SQL_C_CHAR;
    sqlType = defaultType;
    size = std::max<SQLULEN>(slot.bytes.size(), 1);
    data = slot.bytes.data();
    bufferLength = static_cast<SQLLEN>(slot.bytes.size());
    slot.indicator = static_cast<SQLLEN>(slot.bytes.size());
  };

  switch (value.GetKind()) {
    case Variant::Kind::Empty:
    case Variant::Kind::Null:
      slot.indicator = SQL_NULL_DATA;
      size = 1;
      break;
    case Variant::Kind::Boolean:
      slot.fixed.bit = *value.AsBoolean() ? 1 : 0;
      cType = SQL_C_BIT;
      sqlType = SQL_BIT;
      size = 1;
      data = &slot.fixed.bit;
      break;
    case Variant::Kind::Int16:
    case Variant::Kind::Int32:
    case Variant::Kind::Int64: {
      const int64_t number = *value.AsInteger();
      // 32-bit where it fits, so that a database that types parameters finds functions and
      // columns declared as integer.
      if (number >= std::numeric_limits<SQLINTEGER>::min() &&
          number <= std::numeric_limits<SQLINTEGER>::max()) {
        slot.fixed.integer = static_cast<SQLINTEGER>(number);
        cType = SQL_C_SLONG;
        sqlType = SQL_INTEGER;
        size = 10;
        data = &slot.fixed.integer;
      } else {
        slot.fixed.big = number;
        cType = SQL_C_SBIGINT;
        sqlType = SQL_BIGINT;
        size = 19;
        data = &slot.fixed.big;
      }
      break;
    }
    case Variant::Kind::Single:
      slot.fixed.single = static_cast<SQLREAL>(*value.ToDouble());
      cType = SQL_C_FLOAT;
      sqlType = SQL_REAL;
      size = 7;
      data = &slot.fixed.single;
      break;
    case Variant::Kind::Double:
      slot.fixed.real = *value.ToDouble();
      cType = SQL_C_DOUBLE;
      sqlType = SQL_DOUBLE;
      size = 15;
      data = &slot.fixed.real;
      break;
    case Variant::Kind::Currency:
    case Variant::Kind::Decimal:
      asText(value.ToText(), SQL_NUMERIC);
      decimals = 4;
      break;
    case Variant::Kind::Date: {
      const DateTime d = *value.AsDate();
      if (column.sqlType == SQL_TYPE_DATE) {
        slot.fixed.date = {static_cast<SQLSMALLINT>(d.year), static_cast<SQLUSMALLINT>(d.month),
                           static_cast<SQLUSMALLINT>(d.day)};
        cType = SQL_C_TYPE_DATE;
        sqlType = SQL_TYPE_DATE;
        size = 10;
        data = &slot.fixed.date;
      } else if (column.sqlType == SQL_TYPE_TIME) {
        slot.fixed.time = {static_cast<SQLUSMALLINT>(d.hour), static_cast<SQLUSMALLINT>(d.minute),
                           static_cast<SQLUSMALLINT>(d.second)};
        cType = SQL_C_TYPE_TIME;
        sqlType = SQL_TYPE_TIME;
        size = 8;
        data = &slot.fixed.time;
      } else {
        slot.fixed.timestamp = {static_cast<SQLSMALLINT>(d.year),
                                static_cast<SQLUSMALLINT>(d.month),
                                static_cast<SQLUSMALLINT>(d.day),
                                static_cast<SQLUSMALLINT>(d.hour),
                                static_cast<SQLUSMALLINT>(d.minute),
                                static_cast<SQLUSMALLINT>(d.second),
                                0};
        cType = SQL_C_TYPE_TIMESTAMP;
        sqlType = SQL_TYPE_TIMESTAMP;
        size = 19;
        data = &slot.fixed.timestamp;
      }
      break;
    }
    case Variant::Kind::Text:
      asText(*value.AsText(), SQL_VARCHAR);
      break;
    case Variant::Kind::Binary: {
      const std::vector<uint8_t>& bytes = *value.AsBinary();
      slot.bytes.assign(bytes.begin(), bytes.end());
      cType = SQL_C_BINARY;
      sqlType = SQL_VARBINARY;
      size = std::max<SQLULEN>(slot.bytes.size(), 1);
      data = slot.bytes.data();
      bufferLength = static_cast<SQLLEN>(slot.bytes.size());
      slot.indicator = static_cast<SQLLEN>(slot.bytes.size());
      break;
    }
    case Variant::Kind::Chapter:
      error = "A chapter cannot be written to a database";
      return false;
  }

  // The column's own type, when known, tells the driver what the database holds there.
  if (column.sqlType != 0) {
    sqlType = column.sqlType;
    size = std::max(size, column.size);
    decimals = column.decimals;
  }
  if (!Succeeded(SQLBindParameter(statement.Get(), index, SQL_PARAM_INPUT, cType, sqlType, size,
                                  decimals, data, bufferLength, &slot.indicator))) {
    error = DiagnosticText(statement, "Binding a parameter failed");
    return false;
  }
  return true;
}

}  // namespace kivdb
