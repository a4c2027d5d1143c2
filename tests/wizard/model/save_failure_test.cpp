// The wizard's saves when the disk refuses the data part way: the previous file stays byte for
// byte, the save answers false, and no temporary file is left beside it.
#include <gtest/gtest.h>

#include "builders.h"
#include "tests/support/file_size_limit.h"
#include "wizard/model/nav_schemes.h"

namespace kivwz {
namespace {

using test::Node;
using test::Paragraph;
using test::ReadFile;
using test::ScratchDir;
using test::WriteFile;

TEST(SaveFailure, ASaveTheDiskRefusesKeepsThePreviousFile) {
  clsNavSchemes navs;
  navs.Add(Node(1, 0, "F", "", "Root"));
  for (Long id = 2; id < 200; ++id) {
    navs.Add(Node(id, 1, "N", "", "A node with a long enough description " + std::to_string(id)));
    navs.oWebs.Add(Paragraph(id, id, 1, "S", "spW_Rows " + std::to_string(id)));
  }
  struct Case {
    const char* file;
    bool (clsNavSchemes::*save)(const std::string&) const;
  };
  const Case cases[] = {{"XST1.txt", &clsNavSchemes::SaveData},
                        {"XST2.txt", &clsNavSchemes::SaveWeb}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    ScratchDir dir;
    // Longer than the limit below, so that the earlier file is no shorter than what fails.
    const std::string previous = "previous content\r\n" + std::string(2000, 'x');
    WriteFile(dir.File(c.file), previous);
    {
      kivdb::testing_support::FileSizeLimit limit(4096);
      EXPECT_FALSE((navs.*c.save)(dir.File(c.file)));
    }
    EXPECT_EQ(ReadFile(dir.File(c.file)), previous);
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path()))
      ++entries;
    EXPECT_EQ(entries, 1u);
    // Without the limit the same save goes through.
    EXPECT_TRUE((navs.*c.save)(dir.File(c.file)));
    EXPECT_GT(ReadFile(dir.File(c.file)).size(), 4096u);
  }
}

}  // namespace
}  // namespace kivwz
