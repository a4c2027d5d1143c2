#include "control/data/sort_order.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include <kivdb/error.h>
#include "base/text.h"

namespace kivdb {
namespace {

SortKey ParseKey(std::string_view item) {
  item = text::Trim(item);
  SortKey key;
  std::string_view rest;
  if (!item.empty() && item.front() == '[') {
    const size_t close = item.find(']');
    if (close == std::string_view::npos) {
      throw Error(err::kInvalidCall, "Unclosed bracket in sort expression");
    }
    key.field = std::string(item.substr(1, close - 1));
    rest = text::Trim(item.substr(close + 1));
  } else {
    const size_t blank = item.find_last_of(" \t");
    const std::string_view last = blank == std::string_view::npos ? item : item.substr(blank + 1);
    if (blank != std::string_view::npos &&
        (text::EqualsNoCase(last, "ASC") || text::EqualsNoCase(last, "DESC"))) {
      key.field = std::string(text::Trim(item.substr(0, blank)));
      rest = last;
    } else {
      key.field = std::string(item);
    }
  }
  if (text::EqualsNoCase(rest, "DESC")) {
    key.descending = true;
  } else if (!rest.empty() && !text::EqualsNoCase(rest, "ASC")) {
    throw Error(err::kInvalidCall, "Sort direction must be ASC or DESC: " + std::string(rest));
  }
  if (key.field.empty()) throw Error(err::kInvalidCall, "Empty field name in sort expression");
  return key;
}

// The class a value sorts in; values of a lower class come first.
int Rank(Variant::Kind kind) {
  switch (kind) {
    case Variant::Kind::Empty:
    case Variant::Kind::Null:
      return 0;
    case Variant::Kind::Boolean:
    case Variant::Kind::Int16:
    case Variant::Kind::Int32:
    case Variant::Kind::Int64:
    case Variant::Kind::Single:
    case Variant::Kind::Double:
    case Variant::Kind::Currency:
    case Variant::Kind::Decimal:
      return 1;
    case Variant::Kind::Date:
      return 2;
    case Variant::Kind::Text:
      return 3;
    case Variant::Kind::Binary:
      return 4;
    case Variant::Kind::Chapter:
      return 5;
  }
  return 6;
}

template <typename T>
int Sign(T a, T b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

std::optional<int64_t> ExactInteger(const Variant& v) {
  if (auto b = v.AsBoolean()) return *b ? -1 : 0;
  return v.AsInteger();
}

int CompareNumbers(const Variant& a, const Variant& b) {
  const auto ia = ExactInteger(a);
  const auto ib = ExactInteger(b);
  if (ia && ib) return Sign(*ia, *ib);
  const auto ca = a.AsCurrency();
  const auto cb = b.AsCurrency();
  if (ca && cb) return Sign(ca->tenThousandths, cb->tenThousandths);
  const double da = a.ToDouble().value_or(0.0);
  const double db = b.ToDouble().value_or(0.0);
  // NaN sorts before every other number so that the order stays strict.
  const bool na = std::isnan(da);
  const bool nb = std::isnan(db);
  if (na || nb) return na && nb ? 0 : (na ? -1 : 1);
  return Sign(da, db);
}

int CompareTextNoCase(const std::string& a, const std::string& b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const int x = std::tolower(static_cast<unsigned char>(a[i]));
    const int y = std::tolower(static_cast<unsigned char>(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return Sign(a.size(), b.size());
}

}  // namespace

std::vector<SortKey> ParseSortExpression(std::string_view expression) {
  std::vector<SortKey> keys;
  if (text::Trim(expression).empty()) return keys;
  size_t start = 0;
  bool inBracket = false;
  for (size_t i = 0; i <= expression.size(); ++i) {
    if (i < expression.size()) {
      const char c = expression[i];
      if (c == '[') inBracket = true;
      if (c == ']') inBracket = false;
      if (c != ',' || inBracket) continue;
    }
    keys.push_back(ParseKey(expression.substr(start, i - start)));
    start = i + 1;
  }
  return keys;
}

int CompareValues(const Variant& a, const Variant& b) {
  const int ra = Rank(a.GetKind());
  const int rb = Rank(b.GetKind());
  if (ra != rb) return ra < rb ? -1 : 1;
  switch (ra) {
    case 1:
      return CompareNumbers(a, b);
    case 2:
      return Sign(*a.AsDate(), *b.AsDate());
    case 3:
      return CompareTextNoCase(*a.AsText(), *b.AsText());
    case 4: {
      const auto& x = *a.AsBinary();
      const auto& y = *b.AsBinary();
      return std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end())
                 ? -1
                 : (std::lexicographical_compare(y.begin(), y.end(), x.begin(), x.end()) ? 1 : 0);
    }
    default:
      return 0;
  }
}

}  // namespace kivdb
