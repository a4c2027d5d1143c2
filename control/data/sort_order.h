#pragma once
// Sort order of recordsets: the parsing of "name [ASC|DESC], name2 [ASC|DESC]" expressions and the
// ordering of two field values (Null and Empty first, then numbers, dates, text, binary data).

#include <string>
#include <string_view>
#include <vector>

#include <kivdb/variant.h>

namespace kivdb {

struct SortKey {
  std::string field;  // as written, without brackets
  bool descending = false;
};

// Splits a sort expression into its keys. A name may be written in brackets ("[Unit Price] DESC")
// when it holds blanks or commas. Throws Error 5 for an empty key or an unclosed bracket; an
// expression of blanks only gives no keys.
std::vector<SortKey> ParseSortExpression(std::string_view expression);

// Orders two values: negative, zero or positive. Values of one class compare by value (numbers
// numerically, integers exactly; text without regard to ASCII case); classes rank Null/Empty,
// numbers, dates, text, binary data, chapters.
int CompareValues(const Variant& a, const Variant& b);

}  // namespace kivdb
