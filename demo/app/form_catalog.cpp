#include "demo/app/form_catalog.h"

#include <array>
#include <charconv>
#include <cstdint>

namespace kivdb::demo {
namespace {

const std::array<FormSpec, 4>& Forms() {
  static const std::array<FormSpec, 4> forms = {{
      {1,
       "Customer",
       "Customers",
       "Code",
       true,
       {"Code", "Company", "Contact", "City", "RegionID", "AccountManager", "Phone", "Since",
        "CreditLimit", "Notes"},
       {}},
      {2,
       "Employee",
       "Employees",
       "ID",
       false,
       {"ID", "FirstName", "LastName", "Title", "ReportsTo", "HireDate", "Extension", "Salary"},
       {{"Salary", 1}}},  // the Payroll page's role
      {3,
       "Product",
       "Products",
       "ID",
       false,
       {"ID", "Name", "CategoryID", "UnitPrice", "InStock", "ReorderLevel", "Description",
        "PictureFile"},
       {}},
      {4,
       "Order",
       "Orders",
       "ID",
       false,
       {"ID", "CustomerCode", "EmployeeID", "OrderDate", "ShippedDate", "Freight"},
       {}},
  }};
  return forms;
}

std::string Quoted(const std::string& text) {
  std::string out = "'";
  for (const char c : text) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out + "'";
}

}  // namespace

std::optional<FormSpec> FindForm(const std::string& nFrm) {
  int number = 0;
  const char* end = nFrm.data() + nFrm.size();
  const auto [ptr, ec] = std::from_chars(nFrm.data(), end, number);
  if (nFrm.empty() || ec != std::errc() || ptr != end) return std::nullopt;
  for (const FormSpec& form : Forms()) {
    if (form.number == number) return form;
  }
  return std::nullopt;
}

std::optional<std::string> RecordQuery(const FormSpec& form, const std::string& nID) {
  if (nID.empty()) return std::nullopt;
  std::string key;
  if (form.textKey) {
    key = Quoted(nID);
  } else {
    int64_t id = 0;
    const char* end = nID.data() + nID.size();
    const auto [ptr, ec] = std::from_chars(nID.data(), end, id);
    if (ec != std::errc() || ptr != end) return std::nullopt;
    key = std::to_string(id);
  }
  std::string list;
  for (const std::string& column : form.columns) list += (list.empty() ? "" : ", ") + column;
  return "SELECT " + list + " FROM " + form.table + " WHERE " + form.keyColumn + " = " + key;
}

}  // namespace kivdb::demo
