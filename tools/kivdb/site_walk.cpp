#include "tools/kivdb/site_walk.h"

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>
#include <unordered_set>
#include <vector>

#include <kivdb/kivdb.h>
#include "tools/kivdb/page_rewrite.h"

namespace kivdb::tool {
namespace {

namespace fs = std::filesystem;

constexpr auto kProgressEvery = std::chrono::seconds(2);
constexpr const char* kNoPage =
    "No page: the node is not open to this role, or its page could not be built";
constexpr const char* kRepeats = "Not opened again: the same record already appears above it";
constexpr const char* kCutOff = "Not opened: the export stopped at its node limit";
constexpr std::string_view kFailedRead = "Unable to Access Data for the SQL : ";
constexpr std::string_view kReason = "Reason: ";

std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteFile(const fs::path& file, const std::string& content) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << content;
  out.close();
  if (!out) {
    std::error_code ignored;
    fs::remove(file, ignored);  // no half page stays in the site
    throw std::runtime_error("cannot write " + file.string());
  }
}

void Rename(const fs::path& from, const fs::path& to) {
  std::error_code error;
  fs::rename(from, to, error);
  if (error) {
    throw std::runtime_error("cannot move " + from.string() + " to " + to.string() + ": " +
                             error.message());
  }
}

bool Exists(const fs::path& file) {
  std::error_code error;
  return fs::exists(file, error);
}

// A node stands for one scheme row (its Tag) and one record: its key without the node count
// that generated keys end with ("0000000042G17" and "0000000042G30" are the same record).
std::string Identity(const TreeNode& node) {
  std::string key = node.Key();
  while (!key.empty() && key.back() >= '0' && key.back() <= '9') key.pop_back();
  if (!key.empty() && key.back() == 'G') key.pop_back();
  return node.Tag() + '\n' + key;
}

std::vector<TreeNode*> ChildrenOf(const TreeNode& node) {
  std::vector<TreeNode*> children;
  for (TreeNode* child = node.Child(); child; child = child->Next()) children.push_back(child);
  return children;
}

}  // namespace

SiteWalk::SiteWalk(MemoryTreeView& tree, MemoryBrowser& browser, fs::path folder, std::ostream& err)
    : tree_(tree),
      browser_(browser),
      folder_(std::move(folder)),
      reportFile_((folder_ / KivDB::kReportFile).string()),
      err_(err),
      lastProgress_(std::chrono::steady_clock::now()) {}

void SiteWalk::Message(const std::string& text) {
  ++messages_;
  lastMessage_ = text;
  // The control names the file of a write the disk refused: "Error: 61, Disk full: PATH" or
  // "Error: 75, Path/File access error: PATH".
  const std::string inFolder = ": " + (folder_ / "").string();
  if (refusedFile_.empty() &&
      (text.rfind("Error: 61, ", 0) == 0 || text.rfind("Error: 75, ", 0) == 0)) {
    if (const size_t at = text.find(inFolder); at != std::string::npos)
      refusedFile_ = text.substr(at + 2);
  }
  if (text.rfind(kFailedRead, 0) == 0) {
    readFailed_ = true;
  } else if (readFailed_ && failReason_.empty() && text.rfind(kReason, 0) == 0) {
    failReason_ = text.substr(kReason.size());
  }
  err_ << "kivdb export: ";
  if (!currentPath_.empty()) err_ << currentPath_ << ": ";
  err_ << text << "\n";
}

WalkReport SiteWalk::Run(long maxNodes, bool keepGoing) {
  WalkReport report;
  TreeNode* root = tree_.SelectedItem();
  if (!root && tree_.Count() > 0) root = &tree_.Item(1);
  if (!root) throw std::runtime_error("the control built no tree");
  if (!refusedFile_.empty()) throw std::runtime_error("cannot write " + refusedFile_);
  // The root shows the front page that RefreshBrowser wrote.
  report.tree.nodes.push_back(
      {root->Text(), Exists(folder_ / KivDB::kFrontPageFile) ? KivDB::kFrontPageFile : "", "", {}});
  report.nodes = 1;

  struct Frame {
    size_t site;
    std::vector<TreeNode*> children;
    size_t next = 0;
    std::string identity;
  };
  std::vector<Frame> path;
  std::unordered_set<std::string> onPath;
  auto enter = [&](TreeNode& node, size_t site) {
    Frame frame{site, ChildrenOf(node), 0, Identity(node)};
    for (const TreeNode* child : frame.children) {
      report.tree.AddChild(site, {child->Text(), "", "", {}});
    }
    onPath.insert(frame.identity);
    path.push_back(std::move(frame));
  };
  enter(*root, 0);

  while (!path.empty()) {
    Frame& top = path.back();
    if (top.next == top.children.size()) {
      onPath.erase(top.identity);
      path.pop_back();
      continue;
    }
    const size_t index = top.next++;
    TreeNode& node = *top.children[index];
    const size_t site = report.tree.nodes[top.site].children[index];
    if (report.nodes >= maxNodes) {
      report.cutOff = true;
      break;
    }
    if (onPath.count(Identity(node))) {
      report.tree.nodes[site].note = kRepeats;
      err_ << "kivdb export: " << node.FullPath() << ": " << kRepeats << "\n";
      continue;
    }
    Open(node, site, report);
    if (!refusedFile_.empty()) throw std::runtime_error("cannot write " + refusedFile_);
    ++report.nodes;
    if (report.tree.nodes[site].failed && !keepGoing) {
      report.stoppedAtFailure = true;
      break;
    }
    Progress(report);
    enter(node, site);
  }

  if (report.cutOff) {
    // Everything listed but not opened: the rest of each open level, from the deepest up.
    for (size_t level = 0; level < path.size(); ++level) {
      const Frame& frame = path[level];
      const size_t from = level + 1 == path.size() ? frame.next - 1 : frame.next;
      for (size_t i = from; i < frame.children.size(); ++i) {
        report.tree.nodes[report.tree.nodes[frame.site].children[i]].note = kCutOff;
      }
    }
  }
  currentPath_.clear();
  report.messages = messages_;
  return report;
}

void SiteWalk::Open(TreeNode& node, size_t site, WalkReport& report) {
  currentPath_ = node.FullPath();
  const long messagesBefore = messages_;
  readFailed_ = false;
  failReason_.clear();
  tree_.Click(node);
  SiteNode& entry = report.tree.nodes[site];
  if (readFailed_) {
    // An empty result is a page; a read that failed leaves the page without its data.
    entry.failed = true;
    entry.note = "Failed: " + (failReason_.empty() ? std::string("a read failed") : failReason_);
    if (report.failed++ == 0) report.firstFailure = currentPath_ + ": " + entry.note.substr(8);
  }
  if (browser_.Current() == reportFile_) {
    KeepPage(site, report);
    if (onPageKept_) onPageKept_(report.tree.nodes[site]);
    return;
  }
  if (!entry.failed) {
    entry.note = messages_ > messagesBefore ? "No page: " + lastMessage_ : std::string(kNoPage);
  }
}

void SiteWalk::KeepPage(size_t site, WalkReport& report) {
  const std::string number = std::to_string(++report.pages);
  const std::string name = "page-" + number + ".htm";
  const std::string prefix = "page-" + number + "-";

  const PictureRewrite rewrite =
      RenamePictures(StripFormLinks(ReadFile(reportFile_)), prefix,
                     [&](const std::string& picture) { return Exists(folder_ / picture); });
  std::unordered_set<std::string> kept;
  for (const std::string& picture : rewrite.pictures) {
    Rename(folder_ / picture, folder_ / (prefix + picture));
    kept.insert(picture);
    ++report.pictures;
  }
  // Pictures the page wrote but does not show (a paragraph that failed after writing one) are
  // dropped, so they cannot pass for the next page's.
  for (int n = 1;; ++n) {
    const std::string picture = "pic" + std::to_string(n);
    const bool exists = Exists(folder_ / picture);
    if (!exists && !kept.count(picture)) break;
    std::error_code error;
    if (exists) fs::remove(folder_ / picture, error);
  }
  WriteFile(folder_ / name, rewrite.html);
  for (std::string& source : RelativeSources(rewrite.html))
    report.sources.insert(std::move(source));
  report.tree.nodes[site].page = name;
}

void SiteWalk::Progress(const WalkReport& report) {
  const auto now = std::chrono::steady_clock::now();
  if (now - lastProgress_ < kProgressEvery) return;
  lastProgress_ = now;
  err_ << "kivdb export: " << report.nodes << " nodes, " << report.pages << " pages so far\n";
}

}  // namespace kivdb::tool
