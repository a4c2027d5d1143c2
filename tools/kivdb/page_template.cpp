#include "tools/kivdb/page_template.h"

#include <unistd.h>

#include <filesystem>
#include <vector>

#include "base/text.h"
#include "wizard/model/scheme_file.h"

namespace kivdb::schemes {
namespace {

namespace fs = std::filesystem;

// The installed templates beside the program (PREFIX/bin/../share/kivdb/templates), those of the
// configured prefix, then the source tree's, for a program run from its build folder.
std::vector<fs::path> TemplateRoots() {
  std::vector<fs::path> roots;
  char self[4096];
  const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
  if (n > 0) {
    roots.push_back(fs::path(std::string(self, static_cast<std::size_t>(n))).parent_path() / ".." /
                    "share" / "kivdb" / "templates");
  }
  roots.emplace_back(KIVDB_TEMPLATE_INSTALL_DIR);
  return roots;
}

fs::path Find(const std::string& relative, const fs::path& inSource) {
  std::error_code error;
  for (const fs::path& root : TemplateRoots()) {
    if (fs::exists(root / relative, error)) return root / relative;
  }
  return fs::path(KIVDB_SOURCE_DIR) / inSource;
}

bool Read(const fs::path& file, std::string& content, std::string& error) {
  if (kivwz::ReadWholeFile(file.string(), content)) return true;
  error = "cannot read the page template " + file.string();
  return false;
}

}  // namespace

bool LoadPageTemplate(const std::string& name, PageTemplate& pages, std::string& error) {
  fs::path folder;
  if (name == "starter") {
    folder = Find("starter", "share/templates/starter");
  } else if (name == "demo") {
    folder = Find("demo", "demo/template");
  } else {
    folder = name;
  }
  std::error_code ignored;
  // A file is the front page alone; a folder may bring its own page head.
  const bool single = fs::is_regular_file(folder, ignored);
  const fs::path frontFile = single ? folder : folder / "front_page.html";
  fs::path head = single ? fs::path() : folder / "page_head.html";
  if (head.empty() || !fs::exists(head, ignored)) {
    head = Find("page_head.html", "demo/template/page_head.html");
  }
  std::string front;
  std::string headText;
  if (!Read(frontFile, front, error) || !Read(head, headText, error)) return false;
  pages.frontPage = text::WithCrLf(front);
  pages.pageHead = text::WithCrLf(headText);
  if (pages.pageHead.size() >= 2) pages.pageHead.erase(pages.pageHead.size() - 2);
  return true;
}

}  // namespace kivdb::schemes
