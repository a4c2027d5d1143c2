// Roles, tags and keys of the navigation tree.

#include "control/core/navigation_rules.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <kivdb/error.h>

namespace kivdb {
namespace {

TEST(IsRoleAllowed, ListsOfRoleNumbers) {
  struct Case {
    const char* roles;
    int16_t role;
    bool allowed;
  };
  const Case cases[] = {
      {"", 0, true},     {"", 7, true},     {"3", 3, true},   {"3", 2, false},  {"2:5", 5, true},
      {"2:5", 3, false}, {"1::3", 3, true}, {"x:3", 3, true}, {" 3 ", 3, true}, {"3.0", 3, true},
      {"x", 0, false},   {"-1", -1, true},  {"30", 3, false}, {"2:", 0, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsRoleAllowed(c.roles, c.role), c.allowed)
        << "roles '" << c.roles << "', role " << c.role;
  }
}

TEST(NodeIdentity, TagsAndKeysAreWrittenWithLeadingZeros) {
  EXPECT_EQ(NodeTag(Variant(int32_t{1}), "F"), "00001F");
  EXPECT_EQ(NodeTag(Variant(int64_t{123456}), "N"), "123456N");
  EXPECT_EQ(NodeTag(Variant(7.0), "g"), "00007g");
  EXPECT_EQ(FixedKey(Variant(int32_t{12})), "0000000012F");
  EXPECT_EQ(GeneratedKey(Variant(int32_t{42}), 17), "0000000042G17");
  EXPECT_EQ(GeneratedKey(Variant("ALFKI"), 3), "ALFKIG3");
  EXPECT_EQ(GeneratedKey(Variant(int32_t{-5}), 3), "-0000000005G3");
  EXPECT_EQ(GeneratedKey(Variant::Null(), 3), "G3");
}

TEST(NodeIdentity, TagsReadBackTheirSchemeIdAndType) {
  struct Case {
    const char* tag;
    long id;
    const char* type;
  };
  const Case cases[] = {
      {"00001F", 1, "F"}, {"00012g", 12, "G"}, {"123456N", 12345, "6"},
      {"00003", 3, ""},   {"00003RX", 3, "R"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tag);
    const TagParts parts = ParseTag(c.tag);
    EXPECT_EQ(parts.schemeId, c.id);
    EXPECT_EQ(parts.type, c.type);
  }
  for (const char* bad : {"", "ABCDEF", "Tag"}) {
    SCOPED_TRACE(bad);
    try {
      ParseTag(bad);
      ADD_FAILURE() << "no error";
    } catch (const Error& e) {
      EXPECT_EQ(e.Number(), err::kTypeMismatch);
    }
  }
}

}  // namespace
}  // namespace kivdb
