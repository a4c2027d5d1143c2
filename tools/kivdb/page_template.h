#pragma once
// The page templates a publish gives a database that has no XST3 yet: the neutral starter, the
// demo's own, or the user's: an HTML file (the front page) or a folder holding front_page.html
// and, optionally, page_head.html. Without a page head of its own the standard one is used.

#include <string>

#include "tools/kivdb/scheme_store.h"

namespace kivdb::schemes {

// `name` is "starter", "demo", a file or a folder. The pages are stored as the control writes them:
// every line ending in CR LF, the page head without its last line break (the control continues
// its open DIV with the page's first line). False with the reason when a file cannot be read.
bool LoadPageTemplate(const std::string& name, PageTemplate& pages, std::string& error);

}  // namespace kivdb::schemes
