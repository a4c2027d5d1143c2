// The rewriting of one page for a static folder: form links, picture names, relative sources.

#include "tools/kivdb/page_rewrite.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kivdb::tool {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

struct Case {
  const char* name;
  const char* html;
  const char* expected;
};

TEST(StripFormLinks, TurnsFormLinksIntoTheirTextAndLeavesTheRest) {
  const Case cases[] = {
      {"a header card's link", "<td class=hvr><a href='^000030000000007'>Click here . . .</a></td>",
       "<td class=hvr>Click here . . .</td>"},
      {"a text key", "<a href='^00001HARBR'>Click here. . .</a>", "Click here. . ."},
      {"double quotes and capitals", "<A HREF=\"^1\">Open</A>", "Open"},
      {"a bare value", "<a href=^1>Open</a>", "Open"},
      {"the mark anywhere in the address", "<a href='page.htm#^2'>x</a>", "x"},
      {"a quoted > in the address", "<a href='^1>2' title=t>x</a>", "x"},
      {"tags inside the link stay", "<a href='^1'><b>Bold</b> text</a>", "<b>Bold</b> text"},
      {"two links", "<a href='^1'>a</a>-<a href='^2'>b</a>", "a-b"},
      {"a link left open loses its tag", "before <a href='^1'>after", "before after"},
      {"a plain link stays", "<a href='prices.htm'>Price list</a>",
       "<a href='prices.htm'>Price list</a>"},
      {"an anchor without href stays", "<a name='^1'>x</a>", "<a name='^1'>x</a>"},
      {"other tags with href stay", "<link href='^1'>", "<link href='^1'>"},
      {"a script's text is no markup", "<script>var a = \"<a href='^1'>x</a>\";</script>",
       "<script>var a = \"<a href='^1'>x</a>\";</script>"},
      {"a comment is no markup", "<!-- <a href='^1'>x</a> -->", "<!-- <a href='^1'>x</a> -->"},
      {"a less-than sign in text", "1 < 2 <a href='^1'>x</a>", "1 < 2 x"},
      {"an unfinished tag at the end", "x <a href='^1", "x "},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StripFormLinks(c.html), c.expected) << c.name;
  }
}

TEST(RenamePictures, GivesThePagesPicturesTheirOwnNames) {
  const auto always = [](const std::string&) { return true; };
  const Case cases[] = {
      {"an image header's picture", "<IMG SRC='pic1' WIDTH=100%>",
       "<IMG SRC='page-12-pic1' WIDTH=100%>"},
      {"double quotes and a bare value", "<img src=\"pic2\"><img src=pic3>",
       "<img src=\"page-12-pic2\"><img src=page-12-pic3>"},
      {"names that only look alike stay",
       "<img src='pic'><img src='pic1.gif'><img src='picture'><img src='products/pic1'>"
       "<img src='Pic1'>",
       "<img src='pic'><img src='pic1.gif'><img src='picture'><img src='products/pic1'>"
       "<img src='Pic1'>"},
      {"only src is rewritten", "<a href='pic1'>x</a>", "<a href='pic1'>x</a>"},
      {"a script's text stays", "<script>s = \"<img src='pic1'>\"</script>",
       "<script>s = \"<img src='pic1'>\"</script>"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RenamePictures(c.html, "page-12-", always).html, c.expected) << c.name;
  }
}

TEST(RenamePictures, NamesEachPictureOnceAndOnlyThoseThePageWrote) {
  const PictureRewrite rewrite =
      RenamePictures("<img src='pic2'><img src='pic1'><img src='pic2'><img src='pic7'>", "p-",
                     [](const std::string& name) { return name != "pic7"; });
  EXPECT_EQ(rewrite.html, "<img src='p-pic2'><img src='p-pic1'><img src='p-pic2'><img src='pic7'>");
  EXPECT_THAT(rewrite.pictures, ElementsAre("pic2", "pic1"));
  EXPECT_THAT(
      RenamePictures("<p>no pictures</p>", "p-", [](const std::string&) { return true; }).pictures,
      IsEmpty());
}

TEST(RelativeSources, ListsTheFilesAPageNeedsBesideIt) {
  const char* html =
      "<img src='circle.gif'><IMG SRC='products/p01.gif'><img src='circle.gif'>"
      "<img src='http://example.org/a.gif'><img src='data:image/gif;base64,R0lG'>"
      "<img src='/etc/a.gif'><img src='#x'><img src='page-3-pic1'><img src=''>"
      "<img src='Tom &amp; Jerry&#39;s.gif'><img src='&amp;amp;.gif'>"
      "<script>var s = \"<img src='hidden.gif'>\";</script>";
  EXPECT_THAT(RelativeSources(html),
              ElementsAreArray({"circle.gif", "products/p01.gif", "page-3-pic1",
                                "Tom & Jerry's.gif", "&amp;.gif"}));
}

}  // namespace
}  // namespace kivdb::tool
