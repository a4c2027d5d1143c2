#include "control/data/sqlite_types.h"

#include <sqlite3.h>

#include <array>
#include <cctype>
#include <string>
#include <utility>

#include <kivdb/recordset.h>

namespace kivdb {
namespace {

// "Varchar ( 40 )" -> "VARCHAR"; "unsigned  big int" -> "UNSIGNED BIG INT".
std::string BaseName(std::string_view declared) {
  std::string out;
  bool blank = false;
  for (const char c : declared) {
    if (c == '(') break;
    if (std::isspace(static_cast<unsigned char>(c))) {
      blank = !out.empty();
      continue;
    }
    if (blank) out += ' ';
    blank = false;
    out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return out;
}

constexpr std::array<std::pair<std::string_view, int>, 41> kNamedTypes{{
    {"INT", type::kInteger},
    {"INTEGER", type::kInteger},
    {"MEDIUMINT", type::kInteger},
    {"INT4", type::kInteger},
    {"LONG", type::kInteger},
    {"SMALLINT", type::kSmallInt},
    {"INT2", type::kSmallInt},
    {"SHORT", type::kSmallInt},
    {"TINYINT", type::kUnsignedTinyInt},
    {"BYTE", type::kUnsignedTinyInt},
    {"BIGINT", type::kBigInt},
    {"INT8", type::kBigInt},
    {"UNSIGNED BIG INT", type::kBigInt},
    {"REAL", type::kSingle},
    {"FLOAT", type::kSingle},
    {"SINGLE", type::kSingle},
    {"DOUBLE", type::kDouble},
    {"DOUBLE PRECISION", type::kDouble},
    {"CURRENCY", type::kCurrency},
    {"MONEY", type::kCurrency},
    {"DECIMAL", type::kNumeric},
    {"NUMERIC", type::kNumeric},
    {"BOOLEAN", type::kBoolean},
    {"BOOL", type::kBoolean},
    {"BIT", type::kBoolean},
    {"YESNO", type::kBoolean},
    {"DATE", type::kDBDate},
    {"TIME", type::kDBTime},
    {"DATETIME", type::kDBTimeStamp},
    {"TIMESTAMP", type::kDBTimeStamp},
    {"MEMO", type::kLongVarWChar},
    {"LONGTEXT", type::kLongVarWChar},
    {"NTEXT", type::kLongVarWChar},
    {"CLOB", type::kLongVarWChar},
    {"TEXT", type::kVarWChar},
    {"CHAR", type::kVarWChar},
    {"VARCHAR", type::kVarWChar},
    {"NVARCHAR", type::kVarWChar},
    {"BLOB", type::kLongVarBinary},
    {"IMAGE", type::kLongVarBinary},
    {"BINARY", type::kLongVarBinary},
}};

}  // namespace

int TypeCodeFromDeclaredType(std::string_view declared) {
  const std::string name = BaseName(declared);
  if (name.empty()) return 0;
  for (const auto& [known, code] : kNamedTypes) {
    if (name == known) return code;
  }
  // Other names follow the column affinity the database itself gives them.
  if (name.find("INT") != std::string::npos) return type::kInteger;
  if (name.find("CHAR") != std::string::npos || name.find("TEXT") != std::string::npos) {
    return type::kVarWChar;
  }
  if (name.find("CLOB") != std::string::npos) return type::kLongVarWChar;
  if (name.find("BLOB") != std::string::npos || name.find("BINARY") != std::string::npos) {
    return type::kLongVarBinary;
  }
  if (name.find("DOUB") != std::string::npos) return type::kDouble;
  if (name.find("REAL") != std::string::npos || name.find("FLOA") != std::string::npos) {
    return type::kSingle;
  }
  return 0;
}

int TypeCodeFromStorageClass(int storageClass) {
  switch (storageClass) {
    case SQLITE_INTEGER:
      return type::kBigInt;
    case SQLITE_FLOAT:
      return type::kDouble;
    case SQLITE_BLOB:
      return type::kLongVarBinary;
    default:
      return type::kVarWChar;
  }
}

}  // namespace kivdb
