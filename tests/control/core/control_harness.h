#pragma once
// ControlHarness: one control bound to an in-memory tree and browser in a fresh folder, with
// every event recorded as a line ("KivDBMessage: ...", "LogIt: View: ...", "OpenForm: 00003 42",
// "Navigate: ..."), the way the command-line host prints them. The control reads the shop from an
// SQLite file in that folder, or from a schema of its own on the PostgreSQL test server.
//
// Suites that click through the control run on both engines from the same fixture:
//   class Navigation : public EngineTest {};
//   TEST_P(Navigation, Case) { ControlHarness h(GetParam()); ... }
//   KIVDB_ON_BOTH_ENGINES(Navigation);

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <kivdb/kivdb.h>
#include <kivdb/memory_browser.h>
#include <kivdb/memory_tree_view.h>
#include "tests/control/core/scheme_fixture.h"
#include "tests/control/data/test_database.h"
#include "tests/support/read_file.h"

namespace kivdb::testing {

// A new empty folder for the running test.
std::filesystem::path FreshFolder();

// The lines of a page file, without their CR LF; fails the test when a line lacks CR LF.
std::vector<std::string> PageLines(const std::filesystem::path& file);

using testing_support::Engine;
using testing_support::ReadFile;

struct ControlHarness {
  // Binds the widgets and records the events; the control reads through its DAL from `fixture`
  // written into a new database of `engine`. Talking is off until a test turns it on. Throws
  // std::runtime_error when the database cannot be made, which fails the test with the reason.
  explicit ControlHarness(
      const fixture::SchemeFixture& fixture = fixture::SchemeFixture::Standard(),
      Engine engine = Engine::Sqlite);
  explicit ControlHarness(
      Engine engine, const fixture::SchemeFixture& fixture = fixture::SchemeFixture::Standard())
      : ControlHarness(fixture, engine) {}

  std::filesystem::path folder;
  // Declared before the control, so that the control's connections end before the schema goes.
  std::unique_ptr<testing_support::TestDatabase> database;
  std::string connection;
  // The widgets outlive the control, as the control requires.
  MemoryTreeView tree;
  MemoryBrowser browser;
  KivDB control;
  std::vector<std::string> events;

  // Clicks the node with that full path; fails the test (and returns false) when there is none.
  bool Click(const std::string& path);
  // The events recorded since the last call, and forgets them.
  std::vector<std::string> TakeEvents();
  // The tree as "  TEXT [KEY] {TAG}" lines in tree order.
  std::vector<std::string> TreeLines() const;
  // The children's captions of the node at `path`, in order.
  std::vector<std::string> ChildrenOf(const std::string& path) const;
  std::filesystem::path ReportFile() const { return folder / "oReport.htm"; }
};

// The base of suites whose cases read through the control's DAL on both engines.
class EngineTest : public ::testing::TestWithParam<Engine> {};

}  // namespace kivdb::testing
