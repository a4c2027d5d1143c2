#pragma once
// The check of a design against a live database: every query a node or paragraph names must
// exist, run with a sample parameter of its kind (inside a transaction that is rolled back) and
// return the fields its type needs. Also role lists that do not parse and icon keys the host's
// default pictures do not know. Qt-free, independent of the report control: kivdb and the wizard
// both run it.

#include <optional>
#include <string>
#include <vector>

#include <kivdb/dal.h>

#include "tools/kivdb/scheme_store.h"

namespace kivwz {
class clsNavSchemes;
}

namespace kivdb::schemes {

struct Finding {
  bool warning = false;  // a warning does not make the check fail
  std::string table;     // "XST1" or "XST2"
  long row = 0;          // the ID of the row
  std::string caption;   // the node's caption (of the paragraph's node for XST2)
  std::string title;     // the paragraph's title; "" for XST1
  std::string message;
};

struct CheckOptions {
  Dialect dialect = Dialect::Sqlite;
  std::optional<int> role;  // only what this role may open; every node without
};

// Checks every node the root reaches (and the paragraphs of each) through `dal`, whose
// QueryTimeout bounds each trial run. The findings come in tree order.
std::vector<Finding> CheckSchemes(DAL& dal, const kivwz::clsNavSchemes& navs,
                                  const CheckOptions& options);

// One line per finding: "XST2 row 7, node 'Regions', paragraph 'Orders': error: ...".
std::string FindingLine(const Finding& finding);
// The findings as a JSON array of objects, for build scripts.
std::string FindingsJson(const std::vector<Finding>& findings);

}  // namespace kivdb::schemes
