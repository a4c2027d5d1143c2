#include "control/data/sqlite_values.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string_view>
#include <vector>

#include "control/data/recordset_access.h"
#include "control/data/sqlite_types.h"

namespace kivdb {
namespace {

std::string_view TextOf(sqlite3_value* cell) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(cell));
  const int size = sqlite3_value_bytes(cell);
  return text ? std::string_view(text, static_cast<size_t>(size)) : std::string_view();
}

Variant BlobOf(sqlite3_value* cell) {
  const auto* data = static_cast<const uint8_t*>(sqlite3_value_blob(cell));
  const int size = sqlite3_value_bytes(cell);
  return Variant::Binary(data ? std::vector<uint8_t>(data, data + size) : std::vector<uint8_t>());
}

// The value by its storage class alone.
Variant Stored(sqlite3_value* cell, int storage) {
  switch (storage) {
    case SQLITE_INTEGER:
      return Variant(static_cast<int64_t>(sqlite3_value_int64(cell)));
    case SQLITE_FLOAT:
      return Variant(sqlite3_value_double(cell));
    case SQLITE_BLOB:
      return BlobOf(cell);
    default:
      return Variant(TextOf(cell));
  }
}

// An integer in the narrowest of the kinds allowed, from `narrow` up to 64 bits.
Variant Integer(int64_t value, Variant::Kind narrow) {
  if (narrow == Variant::Kind::Int16 && value >= std::numeric_limits<int16_t>::min() &&
      value <= std::numeric_limits<int16_t>::max()) {
    return Variant(static_cast<int16_t>(value));
  }
  if (narrow != Variant::Kind::Int64 && value >= std::numeric_limits<int32_t>::min() &&
      value <= std::numeric_limits<int32_t>::max()) {
    return Variant(static_cast<int32_t>(value));
  }
  return Variant(value);
}

std::optional<double> NumberOf(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  double value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::optional<Currency> CurrencyOf(double value) {
  const double scaled = std::round(value * 10000.0);
  if (!std::isfinite(scaled) || std::fabs(scaled) >= 9.2e18) return std::nullopt;
  return Currency{static_cast<int64_t>(scaled)};
}

Variant ReadInteger(sqlite3_value* cell, int storage, Variant::Kind narrow) {
  if (storage == SQLITE_INTEGER) return Integer(sqlite3_value_int64(cell), narrow);
  return Stored(cell, storage);
}

Variant ReadBoolean(sqlite3_value* cell, int storage) {
  if (storage == SQLITE_INTEGER) return Variant(sqlite3_value_int64(cell) != 0);
  if (storage == SQLITE_FLOAT) return Variant(sqlite3_value_double(cell) != 0.0);
  if (storage == SQLITE_TEXT) {
    const std::string_view text = TextOf(cell);
    if (text.size() == 4 && (text[0] | 0x20) == 't' && (text[1] | 0x20) == 'r' &&
        (text[2] | 0x20) == 'u' && (text[3] | 0x20) == 'e') {
      return Variant(true);
    }
    if (text.size() == 5 && (text[0] | 0x20) == 'f' && (text[1] | 0x20) == 'a' &&
        (text[2] | 0x20) == 'l' && (text[3] | 0x20) == 's' && (text[4] | 0x20) == 'e') {
      return Variant(false);
    }
  }
  return Stored(cell, storage);
}

Variant ReadFloat(sqlite3_value* cell, int storage, bool single) {
  if (storage != SQLITE_INTEGER && storage != SQLITE_FLOAT) return Stored(cell, storage);
  const double value = sqlite3_value_double(cell);
  return single ? Variant(static_cast<float>(value)) : Variant(value);
}

Variant ReadCurrency(sqlite3_value* cell, int storage) {
  std::optional<double> number;
  if (storage == SQLITE_INTEGER || storage == SQLITE_FLOAT) {
    number = sqlite3_value_double(cell);
  } else if (storage == SQLITE_TEXT) {
    number = NumberOf(TextOf(cell));
  }
  if (number) {
    if (auto amount = CurrencyOf(*number)) return Variant(*amount);
  }
  return Stored(cell, storage);
}

Variant ReadDecimal(sqlite3_value* cell, int storage) {
  if (storage == SQLITE_INTEGER || storage == SQLITE_FLOAT) {
    return Variant::Decimal(std::string(TextOf(cell)));
  }
  if (storage == SQLITE_TEXT) {
    const std::string_view text = TextOf(cell);
    if (NumberOf(text)) return Variant::Decimal(std::string(text));
  }
  return Stored(cell, storage);
}

Variant ReadDate(sqlite3_value* cell, int storage) {
  if (storage == SQLITE_TEXT) {
    const std::string_view text = TextOf(cell);
    if (auto date = ParseDateTime(text)) return Variant(*date);
    return Variant(text);
  }
  return Stored(cell, storage);
}

// Text columns give text for any stored number, so that a column reads as one kind.
Variant ReadText(sqlite3_value* cell, int storage) {
  if (storage == SQLITE_BLOB) return BlobOf(cell);
  return Variant(TextOf(cell));
}

Variant ReadBinary(sqlite3_value* cell) {
  return BlobOf(cell);
}

int BindText(sqlite3_stmt* statement, int index, const std::string& text) {
  return sqlite3_bind_text64(statement, index, text.data(), text.size(), SQLITE_TRANSIENT,
                             SQLITE_UTF8);
}

std::string TimeText(const DateTime& value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", value.hour, value.minute, value.second);
  return buffer;
}

}  // namespace

Statement Prepare(sqlite3* db, const std::string& sql, std::string& error) {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &raw, nullptr) !=
      SQLITE_OK) {
    error = sqlite3_errmsg(db);
    sqlite3_finalize(raw);
    return nullptr;
  }
  return Statement(raw);
}

std::string QuoteIdentifier(const std::string& name) {
  std::string quoted = "\"";
  for (const char c : name) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted + '"';
}

Variant ReadCell(sqlite3_stmt* statement, int column, int typeCode) {
  // One look-up of the column, then the cheap accessors of the value itself (fine for a value
  // that is not shared between threads, as a connection never is).
  sqlite3_value* cell = sqlite3_column_value(statement, column);
  const int storage = sqlite3_value_type(cell);
  if (storage == SQLITE_NULL) return Variant::Null();
  switch (typeCode) {
    case type::kInteger:
      return ReadInteger(cell, storage, Variant::Kind::Int32);
    case type::kSmallInt:
    case type::kUnsignedTinyInt:
      return ReadInteger(cell, storage, Variant::Kind::Int16);
    case type::kBigInt:
      return ReadInteger(cell, storage, Variant::Kind::Int64);
    case type::kBoolean:
      return ReadBoolean(cell, storage);
    case type::kSingle:
      return ReadFloat(cell, storage, true);
    case type::kDouble:
      return ReadFloat(cell, storage, false);
    case type::kCurrency:
      return ReadCurrency(cell, storage);
    case type::kNumeric:
      return ReadDecimal(cell, storage);
    case type::kDBDate:
    case type::kDBTime:
    case type::kDBTimeStamp:
      return ReadDate(cell, storage);
    case type::kVarWChar:
    case type::kLongVarWChar:
      return ReadText(cell, storage);
    case type::kLongVarBinary:
      return ReadBinary(cell);
    default:
      return Stored(cell, storage);
  }
}

bool BindValue(sqlite3_stmt* statement, int index, const Variant& value, int typeCode,
               std::string& error) {
  int rc = SQLITE_OK;
  switch (value.GetKind()) {
    case Variant::Kind::Empty:
    case Variant::Kind::Null:
      rc = sqlite3_bind_null(statement, index);
      break;
    case Variant::Kind::Boolean:
      rc = sqlite3_bind_int(statement, index, *value.AsBoolean() ? 1 : 0);
      break;
    case Variant::Kind::Int16:
    case Variant::Kind::Int32:
    case Variant::Kind::Int64:
      rc = sqlite3_bind_int64(statement, index, *value.AsInteger());
      break;
    case Variant::Kind::Single:
      // Through its shortest text, so that 0.1f is stored as 0.1 and not as its binary neighbour.
      rc = sqlite3_bind_double(statement, index, std::strtod(value.ToText().c_str(), nullptr));
      break;
    case Variant::Kind::Double:
      rc = sqlite3_bind_double(statement, index, *value.ToDouble());
      break;
    case Variant::Kind::Currency:
      rc = sqlite3_bind_double(statement, index,
                               static_cast<double>(value.AsCurrency()->tenThousandths) / 10000.0);
      break;
    case Variant::Kind::Decimal:
      rc = BindText(statement, index, value.ToText());
      break;
    case Variant::Kind::Date: {
      const DateTime date = *value.AsDate();
      rc = BindText(statement, index,
                    typeCode == type::kDBTime ? TimeText(date) : DateTimeToText(date));
      break;
    }
    case Variant::Kind::Text:
      rc = BindText(statement, index, *value.AsText());
      break;
    case Variant::Kind::Binary: {
      const auto& bytes = *value.AsBinary();
      // An empty blob needs its own call: a null pointer would bind NULL.
      rc = bytes.empty() ? sqlite3_bind_zeroblob(statement, index, 0)
                         : sqlite3_bind_blob64(statement, index, bytes.data(), bytes.size(),
                                               SQLITE_TRANSIENT);
      break;
    }
    case Variant::Kind::Chapter:
      error = "A chapter cannot be stored in a column";
      return false;
  }
  if (rc != SQLITE_OK) {
    error = sqlite3_errstr(rc);
    return false;
  }
  return true;
}

int DeclaredTypeCode(sqlite3_stmt* statement, int column) {
  const char* declared = sqlite3_column_decltype(statement, column);
  return declared ? TypeCodeFromDeclaredType(declared) : 0;
}

bool ReadStatement(sqlite3* db, sqlite3_stmt* statement, Recordset& out, std::string& error) {
  const int columns = sqlite3_column_count(statement);
  std::vector<int> codes(static_cast<size_t>(columns));
  // Undeclared columns take their type from the first value that is not Null.
  std::vector<int> untyped;
  for (int c = 0; c < columns; ++c) {
    codes[c] = DeclaredTypeCode(statement, c);
    const char* name = sqlite3_column_name(statement, c);
    out.AppendField(name ? name : "", codes[c] != 0 ? codes[c] : type::kVarWChar);
    if (codes[c] == 0) untyped.push_back(c);
  }
  int rc;
  while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
    Variant* cells = RecordsetAccess::AppendEmptyRow(out);
    for (int c = 0; c < columns; ++c) cells[c] = ReadCell(statement, c, codes[c]);
    if (!untyped.empty()) {
      std::erase_if(untyped, [&](int c) {
        const int storage = sqlite3_column_type(statement, c);
        if (storage == SQLITE_NULL) return false;
        RecordsetAccess::SetFieldType(out, c, TypeCodeFromStorageClass(storage));
        return true;
      });
    }
  }
  if (rc != SQLITE_DONE) {
    error = sqlite3_errmsg(db);
    return false;
  }
  return true;
}

bool StreamStatement(sqlite3* db, sqlite3_stmt* statement, RowSink& sink, std::string& error) {
  const int columns = sqlite3_column_count(statement);
  std::vector<int> codes(static_cast<size_t>(columns));
  std::vector<FieldInfo> fields(static_cast<size_t>(columns));
  std::vector<int> untyped;
  for (int c = 0; c < columns; ++c) {
    codes[c] = DeclaredTypeCode(statement, c);
    const char* name = sqlite3_column_name(statement, c);
    fields[c] = {name ? name : "", codes[c] != 0 ? codes[c] : type::kVarWChar};
    if (codes[c] == 0) untyped.push_back(c);
  }
  // An undeclared column takes its type from its first value that is not Null, as a read whole
  // does; the rows before that are held back until every such column has one (or the rows end).
  std::vector<std::vector<Variant>> held;
  bool begun = false;
  bool open = true;  // false once the sink has asked to stop
  const auto begin = [&] {
    begun = true;
    open = sink.Begin(fields);
    for (const auto& row : held) {
      if (!open) break;
      open = sink.Row(row.data(), row.size());
    }
    held.clear();
  };
  std::vector<Variant> cells(static_cast<size_t>(columns));
  const std::vector<size_t>* needed = nullptr;  // every column, until the sink says otherwise
  int rc = SQLITE_DONE;
  while (open && (rc = sqlite3_step(statement)) == SQLITE_ROW) {
    if (needed) {
      for (const size_t c : *needed) {
        if (c < cells.size()) cells[c] = ReadCell(statement, static_cast<int>(c), codes[c]);
      }
      open = sink.Row(cells.data(), cells.size());
      if (const std::vector<size_t>* next = sink.FieldsNeeded(); open && next != needed) {
        needed = next;
        std::fill(cells.begin(), cells.end(), Variant());
      }
      continue;
    }
    for (int c = 0; c < columns; ++c) cells[c] = ReadCell(statement, c, codes[c]);
    if (!begun) {
      std::erase_if(untyped, [&](int c) {
        const int storage = sqlite3_column_type(statement, c);
        if (storage == SQLITE_NULL) return false;
        fields[c].type = TypeCodeFromStorageClass(storage);
        return true;
      });
      held.push_back(cells);
      if (untyped.empty()) begin();
      continue;
    }
    open = sink.Row(cells.data(), cells.size());
    if (open && (needed = sink.FieldsNeeded()) != nullptr) {
      std::fill(cells.begin(), cells.end(), Variant());
    }
  }
  if (open && rc != SQLITE_DONE) {
    error = sqlite3_errmsg(db);
    return false;
  }
  if (!begun) begin();
  return true;
}

}  // namespace kivdb
