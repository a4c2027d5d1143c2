#pragma once
// The hostile shop: a database whose captions, keys, cell values, field names, chart labels,
// thumbnail paths and link fields hold markup, script, quotes of every kind, script addresses,
// NUL bytes, invalid UTF-8 and a 1 MB string, and whose Text and CKey parameters are written to
// inject SQL; exported with `kivdb export` and each page checked in headless Chromium.
//
// Every smuggled script calls kivdbhit(), which the check counts. Each record carries a number
// of its own (Num), shown in a number cell of its page, so a page tells which record it shows.

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/control/core/scheme_fixture.h"
#include "tests/control/data/test_database.h"
#include "tests/tools/program_run.h"

namespace kivdb::testing {

struct HostileText {
  std::string name;  // what the case is, for the report of a failure
  std::string text;
  bool portable;  // a PostgreSQL text can hold it (no NUL byte, valid UTF-8)
};

// The hostile values of the cell, caption, field and path cases; the first one is plain.
const std::vector<HostileText>& HostileTexts();
// Captions of the Text-parameter nodes and keys of the CKey-parameter nodes.
const std::vector<std::string>& InjectedCaptions();
const std::vector<std::string>& InjectedKeys();  // all kKeyLength characters long
inline constexpr int kKeyLength = 24;

// Num ranges: values 1000 + i, Text nodes 2000 + i, CKey nodes 3000 + i (i counted from 0).
inline constexpr long kValueBase = 1000, kCaptionBase = 2000, kKeyBase = 3000;

// The schemes and data, with the values `engine` can store.
fixture::SchemeFixture HostileFixture(testing_support::Engine engine);

struct HostileExport {
  std::filesystem::path folder;
  std::filesystem::path site;
  std::string connect;
  std::unique_ptr<testing_support::TestDatabase> database;  // PostgreSQL: the schema
  ProgramRun run;
};
// Writes the hostile shop into a new database of `engine` and exports it into folder/site.
// Throws std::runtime_error when the database cannot be made.
std::unique_ptr<HostileExport> ExportHostile(testing_support::Engine engine);

// What the check script saw on one page: name -> value, values decoded.
using Seen = std::map<std::string, std::string>;
// Loads a copy of each page (all in one folder) with the sentinel first in its head and the check
// at its end, as the frames of one page in headless Chromium, and returns what each check saw.
// A page whose check is missing fails the test.
std::map<std::filesystem::path, Seen> CheckInChromium(
    const std::vector<std::filesystem::path>& pages);

}  // namespace kivdb::testing
