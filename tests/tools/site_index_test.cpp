// The index page of an exported site.

#include "tools/kivdb/site_index.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kivdb::tool {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      ADD_FAILURE() << "a line without CR LF: " << text.substr(start);
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// The lines of the tree itself, between the heading and the list's end.
std::vector<std::string> TreeLines(const std::string& html) {
  std::vector<std::string> lines = Lines(html);
  auto first = std::find(lines.begin(), lines.end(), "<ul>");
  auto last = std::find(first, lines.end(), "</ul>");
  return first == lines.end() ? lines : std::vector<std::string>(first + 1, last);
}

TEST(IndexHtml, NestsTheTreeAndOpensItsFirstLevels) {
  SiteTree tree;
  tree.nodes.push_back({"Data Browser", "fp.htm", "", {}});
  const size_t regions = tree.AddChild(0, {"Regions", "page-1.htm", "", {}});
  const size_t north = tree.AddChild(regions, {"North", "page-2.htm", "", {}});
  tree.AddChild(north, {"Smith", "page-3.htm", "", {}});
  tree.AddChild(0, {"Managers", "", "No page", {}});

  EXPECT_THAT(
      TreeLines(IndexHtml(tree, {"Shop", "fp.htm", "", 2})),
      ElementsAre(
          "<li><details open><summary><a href=\"fp.htm\" target=\"page\">Data "
          "Browser</a></summary><ul>",
          "  <li><details open><summary><a href=\"page-1.htm\" "
          "target=\"page\">Regions</a></summary><ul>",
          "    <li><details><summary><a href=\"page-2.htm\" "
          "target=\"page\">North</a></summary><ul>",
          "      <li class=\"leaf\"><a href=\"page-3.htm\" target=\"page\">Smith</a></li>",
          "    </ul></details></li>", "  </ul></details></li>",
          "  <li class=\"leaf\"><span class=\"nopage\" title=\"No page\">Managers</span></li>",
          "</ul></details></li>"));
}

TEST(IndexHtml, EscapesEverythingTakenFromTheDatabase) {
  SiteTree tree;
  tree.nodes.push_back({"Tom & Jerry's <b>", "fp.htm", "a \"note\"", {}});
  const std::string html = IndexHtml(tree, {"<Shop>", "fp.htm", "cut & stopped", 2});
  EXPECT_THAT(html, HasSubstr("<title>&lt;Shop&gt;</title>"));
  EXPECT_THAT(html, HasSubstr("title=\"a &quot;note&quot;\">Tom &amp; Jerry&#39;s &lt;b&gt;</a>"));
  EXPECT_THAT(html, HasSubstr("<p class=\"footnote\">cut &amp; stopped</p>"));
  EXPECT_THAT(html, Not(HasSubstr("<b>")));
}

TEST(IndexHtml, TheFrameStartsOnTheFrontPageOrBlank) {
  SiteTree tree;
  tree.nodes.push_back({"Data Browser", "", "", {}});
  EXPECT_THAT(IndexHtml(tree, {"Shop", "fp.htm", "", 2}),
              HasSubstr("<iframe name=\"page\" title=\"Report page\" src=\"fp.htm\"></iframe>"));
  EXPECT_THAT(IndexHtml(tree, {"Shop", "", "", 2}), HasSubstr("src=\"about:blank\""));
  EXPECT_THAT(IndexHtml(tree, {"Shop", "", "", 2}), Not(HasSubstr("footnote\">")));
}

TEST(IndexHtml, WritesAChainOfAnyDepth) {
  // A recurring branch can nest as deep as the node limit allows.
  constexpr size_t kDepth = 100000;
  SiteTree tree;
  tree.nodes.push_back({"Data Browser", "fp.htm", "", {}});
  for (size_t i = 0; i < kDepth; ++i) tree.AddChild(i, {"Level", "", "", {}});
  const std::string html = IndexHtml(tree, {"Deep", "fp.htm", "", 2});
  size_t closes = 0;
  for (size_t at = html.find("</details>"); at != std::string::npos;
       at = html.find("</details>", at + 1)) {
    ++closes;
  }
  EXPECT_EQ(closes, kDepth);
}

}  // namespace
}  // namespace kivdb::tool
