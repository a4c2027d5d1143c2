#pragma once
// Field type classes of the renderers: every field type code falls into one class, and each class
// has the kind token that FormatValue reads ("Dbl", "Int", "Dte", "Htm", or one blank).

#include <string_view>

namespace kivdb {

enum class FieldClass {
  Decimal,   // double, currency, decimal, numeric, varnumeric: two decimals
  Integer,   // the integer types and single floats: no decimals
  Date,      // date, filetime, DB date, DB time, DB timestamp
  LongText,  // long wide text: may hold "text#address#" links
  Chapter,   // the child recordset of a shaped record
  Other,     // text, Boolean, GUID, binary and every code not listed
};

// Kind tokens.
inline constexpr std::string_view kKindDbl = "Dbl";
inline constexpr std::string_view kKindInt = "Int";
inline constexpr std::string_view kKindDte = "Dte";
inline constexpr std::string_view kKindHtm = "Htm";
inline constexpr std::string_view kKindBlank = " ";

FieldClass ClassOfType(int typeCode);
// "Dbl", "Int", "Dte", "Htm"; one blank for Chapter and Other.
std::string_view KindToken(FieldClass fieldClass);

// The record's ID field is the one named "ID" in any case ("id", "Id"); blanks count.
bool IsIdFieldName(std::string_view name);

}  // namespace kivdb
