#pragma once
// Binding Variants to the parameter markers of an ODBC statement. The bound values live in the
// ParameterSet, which must outlive the statement's execution.

#include <deque>
#include <string>
#include <vector>

#include <kivdb/variant.h>
#include "control/data/odbc_handles.h"

namespace kivdb {

// What the database holds in the column a parameter is compared with or written to; a zero
// sqlType lets the value choose.
struct OdbcParameterType {
  SQLSMALLINT sqlType = 0;
  SQLULEN size = 0;
  SQLSMALLINT decimals = 0;
};

class ParameterSet {
 public:
  // Binds `value` to marker `index` (from 1) of `statement`. Text goes as the driver's 8-bit text,
  // dates as timestamps (or dates or times for such columns), currency and decimals as their
  // digits. Returns false with the reason for a value that cannot be bound (a chapter).
  bool Bind(const OdbcHandle& statement, SQLUSMALLINT index, const Variant& value,
            const OdbcParameterType& column, std::string& error);
  // Forgets the values; the statement's bindings must be reset too (SQL_RESET_PARAMS).
  void Clear() { slots_.clear(); }

 private:
  struct Slot {
    union {
      unsigned char bit;
      SQLINTEGER integer;
      SQLBIGINT big;
      SQLREAL single;
      SQLDOUBLE real;
      SQL_DATE_STRUCT date;
      SQL_TIME_STRUCT time;
      SQL_TIMESTAMP_STRUCT timestamp;
    } fixed{};
    std::string bytes;
    SQLLEN indicator = 0;
  };
  std::deque<Slot> slots_;  // a deque keeps earlier slots where the driver was told they are
};

}  // namespace kivdb
