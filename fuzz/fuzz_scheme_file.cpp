// Scheme text files of any bytes, read as a navigation scheme (XST1.txt) and as a web display
// scheme (XST2.txt) into drawn views: reading never crashes or throws, and what is read saves to
// a file that reads back and saves again byte for byte the same.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "wizard/model/memory_views.h"
#include "wizard/model/nav_schemes.h"

namespace {

using kivfuzz::ScratchFile;

struct Views {
  kivwz::MemoryTreeView tree;
  kivwz::MemoryGrid nodeGrid;
  kivwz::MemoryGrid paragraphGrid;
  kivwz::MemoryMessageBoxes messages;
};

void Bind(kivwz::clsNavSchemes& schemes, Views& views) {
  schemes.SetTreeview(&views.tree);
  schemes.SetGrid(&views.nodeGrid);
  schemes.SetMessageBoxes(&views.messages);
  schemes.oWebs.SetGrid(&views.paragraphGrid, 0, 0, 640, 480);
}

// Loads both files into fresh, drawn schemes and saves them again; the saved contents are empty
// when a scheme refuses to save (no root, no paragraphs).
void LoadAndSave(const std::string& navFile, const std::string& webFile, std::string& navSaved,
                 std::string& webSaved) {
  static const ScratchFile navOut("nav-out");
  static const ScratchFile webOut("web-out");
  Views views;
  kivwz::clsNavSchemes schemes;
  Bind(schemes, views);
  FUZZ_CHECK(schemes.LoadData(navFile), navFile);
  FUZZ_CHECK(schemes.LoadWeb(webFile), webFile);
  schemes.DispInGrid();
  navSaved.clear();
  webSaved.clear();
  if (schemes.SaveData(navOut.Path())) FUZZ_CHECK(kivfuzz::ReadFile(navOut.Path(), navSaved), "");
  if (schemes.SaveWeb(webOut.Path())) FUZZ_CHECK(kivfuzz::ReadFile(webOut.Path(), webSaved), "");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const ScratchFile input("input");
  static const ScratchFile navIn("nav-in");
  static const ScratchFile webIn("web-in");
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  kivfuzz::WriteFile(input.Path(), bytes);

  std::string navSaved;
  std::string webSaved;
  LoadAndSave(input.Path(), input.Path(), navSaved, webSaved);

  // What was saved is the scheme in its written form: reading it back changes nothing.
  kivfuzz::WriteFile(navIn.Path(), navSaved);
  kivfuzz::WriteFile(webIn.Path(), webSaved);
  std::string navAgain;
  std::string webAgain;
  LoadAndSave(navIn.Path(), webIn.Path(), navAgain, webAgain);
  FUZZ_CHECK(navAgain == navSaved, navSaved + "\n----\n" + navAgain);
  FUZZ_CHECK(webAgain == webSaved, webSaved + "\n----\n" + webAgain);
  return 0;
}
