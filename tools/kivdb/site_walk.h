#pragma once
// SiteWalk: the heart of `kivdb export`. It clicks its way through the whole navigation tree of
// a control bound to an in-memory tree and browser, depth first and in tree order, as a user
// would: every node is clicked once, so generated and recurring branches grow from their own
// queries. After each click it keeps the page the browser was sent to as a file of its own in the
// site folder (page-N.htm), with the pictures the page wrote (pic1, pic2, ...) renamed to
// page-N-pic1, ... and its form links turned into text.
//
// The control prunes the branches beside the node it is given, so the walk records the tree as it
// goes. A recurring branch whose data loop back (a record that is its own ancestor) is not opened
// a second time on the same path, so bad data cannot make the walk endless.

#include <chrono>
#include <filesystem>
#include <functional>
#include <ostream>
#include <set>
#include <string>

#include <kivdb/memory_browser.h>
#include <kivdb/memory_tree_view.h>
#include "tools/kivdb/site_index.h"

namespace kivdb::tool {

struct WalkReport {
  SiteTree tree;
  long nodes = 0;  // nodes opened, the root included
  long pages = 0;
  long pictures = 0;
  long messages = 0;
  long failed = 0;                // pages that had a failed read
  bool cutOff = false;            // stopped at the node limit
  bool stoppedAtFailure = false;  // stopped at the first failed page
  std::string firstFailure;       // "PATH: REASON" of the first failed page
  std::set<std::string> sources;  // files the pages refer to relatively
};

class SiteWalk {
 public:
  // `folder` is the control's ApplicationFolder, where it writes oReport.htm and its pictures.
  SiteWalk(MemoryTreeView& tree, MemoryBrowser& browser, std::filesystem::path folder,
           std::ostream& err);

  // For the control's KivDBMessage: tells the user, naming the node being opened. A message of a
  // write the disk refused in the site folder is remembered: the walk cannot go on without it.
  void Message(const std::string& text);
  // The file in the site folder the control could not write, or "".
  const std::string& RefusedFile() const { return refusedFile_; }
  long Messages() const { return messages_; }

  // Walks from the root that RefreshBrowser built, opening at most `maxNodes` nodes (the root
  // counts). Unless `keepGoing`, the walk stops at the first page that had a failed read. Throws
  // std::runtime_error when a page or a picture cannot be kept or the control could not write its
  // page into the folder.
  WalkReport Run(long maxNodes, bool keepGoing);
  // Called after each page is kept, while its node is the selected one.
  void OnPageKept(std::function<void(SiteNode& site)> handler) { onPageKept_ = std::move(handler); }

 private:
  void Open(TreeNode& node, size_t site, WalkReport& report);
  void KeepPage(size_t site, WalkReport& report);
  void Progress(const WalkReport& report);

  MemoryTreeView& tree_;
  MemoryBrowser& browser_;
  std::filesystem::path folder_;
  std::string reportFile_;
  std::ostream& err_;
  std::string currentPath_;
  std::string lastMessage_;
  std::string refusedFile_;
  bool readFailed_ = false;  // since the current node was clicked
  std::string failReason_;
  long messages_ = 0;
  std::chrono::steady_clock::time_point lastProgress_;
  std::function<void(SiteNode& site)> onPageKept_;
};

}  // namespace kivdb::tool
