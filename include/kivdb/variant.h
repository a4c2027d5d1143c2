#pragma once
// Variant: one field value as the control reads it. It is Empty, Null, a Boolean, a 16/32/64-bit
// integer, a single or double float, a currency or decimal number, a date-time, text, binary data,
// or a chapter (the child recordset of a shaped record). Copies are cheap except for text and
// binary data, which are copied.

#include <compare>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include <kivdb/export.h>

namespace kivdb {

class Recordset;

// A calendar date with a time of day; a value read from a TIME column has the date 1899-12-30.
struct KIVDB_EXPORT DateTime {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;

  bool HasTime() const { return hour != 0 || minute != 0 || second != 0; }
  auto operator<=>(const DateTime&) const = default;
};

// Reads "yyyy-mm-dd", "yyyy-mm-dd hh:nn[:ss[.fff]]" (also with "T" between), and "hh:nn[:ss]";
// fractions of a second are dropped. Checks the calendar (no 31st of April).
KIVDB_EXPORT std::optional<DateTime> ParseDateTime(std::string_view text);
// "yyyy-mm-dd", with " hh:nn:ss" appended when there is a time of day.
KIVDB_EXPORT std::string DateTimeToText(const DateTime& value);

// A fixed-point amount in ten-thousandths, as money columns hold it.
struct KIVDB_EXPORT Currency {
  int64_t tenThousandths = 0;
  auto operator<=>(const Currency&) const = default;
};

class KIVDB_EXPORT Variant {
 public:
  enum class Kind {
    Empty,
    Null,
    Boolean,
    Int16,
    Int32,
    Int64,
    Single,
    Double,
    Currency,
    Decimal,
    Date,
    Text,
    Binary,
    Chapter,
  };

  Variant() = default;  // Empty
  Variant(bool value) : value_(value) {}
  Variant(int16_t value) : value_(value) {}
  Variant(int32_t value) : value_(value) {}
  Variant(int64_t value) : value_(value) {}
  Variant(float value) : value_(value) {}
  Variant(double value) : value_(value) {}
  Variant(kivdb::Currency value) : value_(value) {}
  Variant(const DateTime& value) : value_(value) {}
  Variant(std::string value) : value_(std::move(value)) {}
  Variant(std::string_view value) : value_(std::string(value)) {}
  Variant(const char* value) : value_(std::string(value)) {}

  static Variant Null();
  // An exact decimal number kept as its text ("-12.50"); the text must read as a number.
  static Variant Decimal(std::string digits);
  static Variant Binary(std::vector<uint8_t> bytes);
  static Variant Chapter(std::shared_ptr<Recordset> child);

  Kind GetKind() const;
  bool IsEmpty() const { return GetKind() == Kind::Empty; }
  bool IsNull() const { return GetKind() == Kind::Null; }
  // Boolean, integers, floats, currency and decimal.
  bool IsNumber() const;

  // The value as a double: numbers (True is -1), and text that reads wholly as a number apart from
  // surrounding blanks. Dates, binary data, Empty and Null give nothing.
  std::optional<double> ToDouble() const;
  // The ordinary text form: "" for Empty and Null, "True"/"False", integers in decimal, doubles
  // with up to 15 significant digits (singles 7), currency with up to four decimals, decimals as
  // kept, dates as DateTimeToText, binary data as its bytes, "" for a chapter.
  std::string ToText() const;

  // Direct access; each returns nothing (or null) when the value is of another kind.
  const std::string* AsText() const { return std::get_if<std::string>(&value_); }
  const std::vector<uint8_t>* AsBinary() const;
  std::optional<DateTime> AsDate() const;
  // Int16, Int32 and Int64 values, exactly.
  std::optional<int64_t> AsInteger() const;
  std::optional<bool> AsBoolean() const;
  std::optional<kivdb::Currency> AsCurrency() const;
  std::shared_ptr<Recordset> AsChapter() const;

  // Same kind and same value (chapters compare by identity).
  bool operator==(const Variant& other) const { return value_ == other.value_; }

 private:
  struct NullTag {
    bool operator==(const NullTag&) const = default;
  };
  struct DecimalText {
    std::string digits;
    bool operator==(const DecimalText&) const = default;
  };
  struct Bytes {
    std::vector<uint8_t> data;
    bool operator==(const Bytes&) const = default;
  };
  using Storage = std::variant<std::monostate, NullTag, bool, int16_t, int32_t, int64_t, float,
                               double, kivdb::Currency, DecimalText, DateTime, std::string, Bytes,
                               std::shared_ptr<Recordset>>;
  Storage value_;
};

// 0 for Null and Empty; otherwise the value as a 16-bit integer, halves rounded away from zero,
// the conversion the control applies to a value given to one of its 16-bit properties. Text must
// read as a number. Throws Error 13 "Type mismatch" for a value that is no number (a date, binary
// data, a chapter, other text) and Error 6 "Overflow" outside -32768..32767.
KIVDB_EXPORT int16_t IntegerOrZero(const Variant& value);

}  // namespace kivdb
