#pragma once
// Writes the navigation and display schemes of a database (tables XST1 and XST2) as the wizard's
// text files XST1.txt and XST2.txt, through the wizard's own collections, so the files are exactly
// what the wizard would save for the same schemes and load again unchanged.

#include <filesystem>

namespace kivdb::demo {

// Reads XST1 and XST2 of the SQLite `database` and saves them into `folder`. Throws
// std::runtime_error when a row cannot survive the text files unchanged (a text holding a comma
// or a double quote, a number column that is not a whole number, a query on a row of type F or
// N, a node the root does not reach) or when a file cannot be written.
void WriteSchemeFiles(const std::filesystem::path& database, const std::filesystem::path& folder);

}  // namespace kivdb::demo
