#include "tools/kivdb/site_index.h"

#include <algorithm>

#include "base/html_escape.h"

namespace kivdb::tool {
namespace {

constexpr const char* kHead =
    "<!DOCTYPE html>\r\n"
    "<html lang=\"en\"><head>\r\n"
    "<meta charset=\"utf-8\">\r\n"
    "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\r\n";

// The tree on the left, the page on the right; the tree scrolls on its own.
constexpr const char* kStyle =
    "<style>\r\n"
    "  html, body { height: 100%; margin: 0; }\r\n"
    "  body { display: flex; color: #1d2733;\r\n"
    "         font: 14px/1.5 \"DejaVu Sans\", \"Segoe UI\", Helvetica, Arial, sans-serif; }\r\n"
    "  nav { flex: none; width: 300px; overflow: auto; box-sizing: border-box;\r\n"
    "        padding: 14px 10px 24px; background: #1f3a5f; color: #dfe7f0; }\r\n"
    "  nav h1 { margin: 2px 6px 12px; color: #fff; font-size: 17px; }\r\n"
    "  nav ul { list-style: none; margin: 0; padding-left: 16px; }\r\n"
    "  nav > ul { padding-left: 0; }\r\n"
    "  nav li { margin: 1px 0; }\r\n"
    "  nav li.leaf { padding-left: 17px; }\r\n"
    "  nav summary { cursor: pointer; }\r\n"
    "  nav summary::marker { color: #8fb3d9; }\r\n"
    "  nav a { color: #fff; text-decoration: none; padding: 1px 5px; border-radius: 3px; }\r\n"
    "  nav a:hover { background: rgba(255, 255, 255, 0.14); }\r\n"
    "  nav a.current { background: #2a9d8f; }\r\n"
    "  nav .nopage { padding: 1px 5px; color: #9fb0c4; font-style: italic; }\r\n"
    "  nav a.table { font-size: 11px; color: #8fd3c7; margin-left: 4px; }\r\n"
    "  nav .footnote { margin: 14px 6px 0; color: #f4d58d; font-size: 12px; }\r\n"
    "  iframe { flex: 1; height: 100%; border: 0; }\r\n"
    "</style>\r\n";

// Marks the link of the page shown in the frame.
constexpr const char* kScript =
    "<script>\r\n"
    "  document.querySelector(\"nav\").addEventListener(\"click\", function (event) {\r\n"
    "    var link = event.target.closest(\"a[target=page]\");\r\n"
    "    if (!link) return;\r\n"
    "    document.querySelectorAll(\"nav a.current\").forEach(function (a) {\r\n"
    "      a.classList.remove(\"current\");\r\n"
    "    });\r\n"
    "    link.classList.add(\"current\");\r\n"
    "  });\r\n"
    "</script>\r\n";

// Only an index with failed pages carries these rules, so a sound export's index stays as it was.
constexpr const char* kFailedStyle =
    "<style>\r\n"
    "  nav .failed { color: #ffb4a8; }\r\n"
    "  nav .reason { display: block; padding-left: 22px; color: #ffb4a8; font-size: 12px; }\r\n"
    "</style>\r\n";

// A failed page is marked beside its caption and its reason written under it, not only in the
// tooltip: whoever reads the numbers on it must see that some are missing.
std::string FailedMark(const SiteNode& node) {
  if (!node.failed) return "";
  return " <span class=\"failed\">&#9888; failed</span><span class=\"reason\">" +
         HtmlEscape(node.note) + "</span>";
}

std::string Caption(const SiteNode& node) {
  if (!node.page.empty()) {
    std::string label = "<a href=\"" + HtmlEscape(node.page) + "\" target=\"page\"";
    if (!node.note.empty()) label += " title=\"" + HtmlEscape(node.note) + "\"";
    label += ">" + HtmlEscape(node.caption) + "</a>";
    for (const SiteNode::Link& table : node.tables) {
      label += " <a class=\"table\" href=\"" + HtmlEscape(table.file) + "\" download>" +
               HtmlEscape(table.label) + "</a>";
    }
    return label;
  }
  std::string label = "<span class=\"nopage\"";
  if (!node.note.empty()) label += " title=\"" + HtmlEscape(node.note) + "\"";
  return label + ">" + HtmlEscape(node.caption) + "</span>";
}

std::string Label(const SiteNode& node) {
  return Caption(node) + FailedMark(node);
}

}  // namespace

size_t SiteTree::AddChild(size_t parent, SiteNode node) {
  nodes.push_back(std::move(node));
  const size_t index = nodes.size() - 1;
  nodes[parent].children.push_back(index);
  return index;
}

std::string IndexHtml(const SiteTree& tree, const IndexOptions& options) {
  std::string html = kHead;
  html += "<title>" + HtmlEscape(options.title) + "</title>\r\n";
  html += kStyle;
  if (std::any_of(tree.nodes.begin(), tree.nodes.end(), [](const SiteNode& n) { return n.failed; }))
    html += kFailedStyle;
  html += "</head>\r\n<body>\r\n<nav>\r\n<h1>" + HtmlEscape(options.title) + "</h1>\r\n<ul>\r\n";

  // Depth first without recursion: each entry is a node to open, or the end of a node's list.
  struct Step {
    size_t node;
    int depth;
    bool close;
  };
  // Indents show the nesting of the first levels only, so a deep branch cannot make the page
  // grow with the square of its depth.
  auto indent = [](int depth) {
    return std::string(static_cast<size_t>(std::min(depth, 12)) * 2, ' ');
  };
  std::vector<Step> pending;
  if (!tree.nodes.empty()) pending.push_back({0, 0, false});
  while (!pending.empty()) {
    const Step step = pending.back();
    pending.pop_back();
    if (step.close) {
      html += indent(step.depth) + "</ul></details></li>\r\n";
      continue;
    }
    const SiteNode& node = tree.nodes[step.node];
    if (node.children.empty()) {
      html += indent(step.depth) + "<li class=\"leaf\">" + Label(node) + "</li>\r\n";
      continue;
    }
    html += indent(step.depth) + "<li><details" + (step.depth < options.openLevels ? " open" : "") +
            "><summary>" + Label(node) + "</summary><ul>\r\n";
    pending.push_back({step.node, step.depth, true});
    for (auto child = node.children.rbegin(); child != node.children.rend(); ++child) {
      pending.push_back({*child, step.depth + 1, false});
    }
  }

  html += "</ul>\r\n";
  if (!options.footnote.empty()) {
    html += "<p class=\"footnote\">" + HtmlEscape(options.footnote) + "</p>\r\n";
  }
  html += "</nav>\r\n<iframe name=\"page\" title=\"Report page\" src=\"" +
          HtmlEscape(options.startPage.empty() ? "about:blank" : options.startPage) +
          "\"></iframe>\r\n";
  html += kScript;
  html += "</body></html>\r\n";
  return html;
}

}  // namespace kivdb::tool
