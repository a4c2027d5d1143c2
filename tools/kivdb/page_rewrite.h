#pragma once
// Rewrites one report page of the control for a static folder: form links become their text
// (no host is there to open a form), and the pictures the page wrote ("pic1", "pic2", ...) get
// names of their own so the next page cannot overwrite them. Pages are the control's trusted
// HTML; the scanner only needs to find tags and their attributes, skipping comments, scripts and
// style sheets, whose text is not markup.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kivdb::tool {

// Replaces every anchor whose href holds the form-link mark "^" (anywhere, as the control tests
// it) with the anchor's content. An anchor left open loses its opening tag only.
std::string StripFormLinks(std::string_view html);

struct PictureRewrite {
  std::string html;
  std::vector<std::string> pictures;  // the names rewritten, each once, in order of appearance
};

// Rewrites every src attribute whose whole value is "pic" + digits and for which `isPagePicture`
// holds to `prefix` + that value ("pic1" becomes "page-12-pic1"); others stay as they are.
PictureRewrite RenamePictures(std::string_view html, const std::string& prefix,
                              const std::function<bool(const std::string&)>& isPagePicture);

// The values of src attributes (as the browser reads them, references decoded) that name a file
// relative to the page (no scheme such as "http:" or "data:", no leading "/" or "#"), each once,
// in order of appearance.
std::vector<std::string> RelativeSources(std::string_view html);

}  // namespace kivdb::tool
