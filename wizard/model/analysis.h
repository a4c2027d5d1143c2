#pragma once
// The rule analyses of both schemes with what they found, so that a caller such as a build script
// can tell a clean design from a broken one without reading the text.

#include <cstddef>
#include <string>

namespace kivwz {

class clsNavSchemes;
class clsWebSchemes;

struct Analysis {
  std::string text;              // the report, every line ending with CR LF
  std::size_t observations = 0;  // rule findings and remarks
  std::size_t remarks = 0;       // the observations that break no rule
  std::size_t orphans = 0;       // paragraphs of no node (web analysis only)
};

// The text of clsNavSchemes::CheckNav.
Analysis AnalyseNav(const clsNavSchemes& navs);
// The text of clsWebSchemes::CheckScheme; renumbers the paragraphs with the current numbers.
Analysis AnalyseWeb(clsWebSchemes& webs, clsNavSchemes& oNC);

}  // namespace kivwz
