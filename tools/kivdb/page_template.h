#pragma once
// The page templates a publish gives a database that has no XST3 yet: the neutral starter, the
// demo's own, or a folder of the user's. A folder holds front_page.html and, optionally,
// page_head.html (without one the standard page head is used).

#include <string>

#include "tools/kivdb/scheme_store.h"

namespace kivdb::schemes {

// `name` is "starter", "demo" or a folder. The pages are stored as the control writes them:
// every line ending in CR LF, the page head without its last line break (the control continues
// its open DIV with the page's first line). False with the reason when a file cannot be read.
bool LoadPageTemplate(const std::string& name, PageTemplate& pages, std::string& error);

}  // namespace kivdb::schemes
