#pragma once
// ControlHarness: one control bound to an in-memory tree and browser in a fresh folder, with
// every event recorded as a line ("KivDBMessage: ...", "LogIt: View: ...", "OpenForm: 00003 42",
// "Navigate: ..."), the way the command-line host prints them.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "control/core/kivdb.h"
#include "control/core/memory_browser.h"
#include "control/core/memory_tree_view.h"
#include "tests/control/core/scheme_fixture.h"

namespace kivdb::testing {

// A new empty folder for the running test.
std::filesystem::path FreshFolder();

// The lines of a page file, without their CR LF; fails the test when a line lacks CR LF.
std::vector<std::string> PageLines(const std::filesystem::path& file);
std::string ReadFile(const std::filesystem::path& file);

struct ControlHarness {
  // Binds the widgets and records the events; the control reads through its DAL from `fixture`
  // written into the folder. Talking is off until a test turns it on.
  explicit ControlHarness(
      const fixture::SchemeFixture& fixture = fixture::SchemeFixture::Standard());

  std::filesystem::path folder;
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

}  // namespace kivdb::testing
