#include "control/core/scheme_tables.h"

#include <cmath>

#include <kivdb/error.h>
#include "scheme/scheme_codes.h"

namespace kivdb {
namespace {

constexpr long kSubscriptOutOfRange = 9;

const std::vector<size_t>& NoRows() {
  static const std::vector<size_t> none;
  return none;
}

// The value as a whole number when it is one exactly (3, 3.0, "3"); scheme IDs compare so.
std::optional<long> WholeKey(const Variant& value) {
  const std::optional<double> number = value.ToDouble();
  if (!number || std::trunc(*number) != *number) return std::nullopt;
  if (*number < -2147483648.0 || *number > 2147483647.0) return std::nullopt;
  return static_cast<long>(*number);
}

}  // namespace

const Variant& SchemeTables::Cell(const Rows& rows, int column, size_t row) {
  if (column < 0 || static_cast<size_t>(column) >= rows.size() || row >= rows[column].size()) {
    throw Error(kSubscriptOutOfRange, "Subscript out of range");
  }
  return rows[column][row];
}

std::unordered_map<long, std::vector<size_t>> SchemeTables::GroupBy(const Rows& rows, int column) {
  std::unordered_map<long, std::vector<size_t>> groups;
  if (static_cast<size_t>(column) >= rows.size()) return groups;
  const std::vector<Variant>& values = rows[column];
  for (size_t row = 0; row < values.size(); ++row) {
    if (const std::optional<long> key = WholeKey(values[row])) groups[*key].push_back(row);
  }
  return groups;
}

void SchemeTables::SetNavRows(Rows rows) {
  nav_ = std::move(rows);
  navById_ = GroupBy(nav_, scheme::nav::ID);
  navByParent_ = GroupBy(nav_, scheme::nav::parentIs);
}

void SchemeTables::SetWebRows(Rows rows) {
  web_ = std::move(rows);
  webByNode_ = GroupBy(web_, scheme::web::XST1);
}

std::optional<size_t> SchemeTables::NavRowById(long id) const {
  const auto found = navById_.find(id);
  if (found == navById_.end()) return std::nullopt;
  return found->second.front();
}

const std::vector<size_t>& SchemeTables::NavChildren(long id) const {
  const auto found = navByParent_.find(id);
  return found == navByParent_.end() ? NoRows() : found->second;
}

const std::vector<size_t>& SchemeTables::WebParagraphs(long id) const {
  const auto found = webByNode_.find(id);
  return found == webByNode_.end() ? NoRows() : found->second;
}

}  // namespace kivdb
