#include "scheme/scheme_codes.h"

#include <gtest/gtest.h>

namespace kivdb::scheme {
namespace {

TEST(ParseParamKind, RecognisesEveryKind) {
  struct Case {
    const char* kind;
    ParamSpec expected;
  } cases[] = {
      {"Text", {ParamKind::Text, 0}},
      {"tExT", {ParamKind::Text, 0}},
      {"Texts", {ParamKind::None, 0}},  // Text must match whole
      {"TODAY", {ParamKind::Today, 0}},
      {"LKey", {ParamKind::LKey, 0}},
      {"lkeyword", {ParamKind::LKey, 0}},  // the first four letters decide
      {"CKey05", {ParamKind::CKey, 5}},
      {"ckey10", {ParamKind::CKey, 10}},
      {"CKey5", {ParamKind::CKey, 0}},  // one digit: "y5" reads as no number
      {"CKey", {ParamKind::CKey, 0}},
      {"CKe", {ParamKind::None, 0}},
      {"None", {ParamKind::None, 0}},
      {"", {ParamKind::None, 0}},
      {"Key", {ParamKind::None, 0}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseParamKind(c.kind), c.expected) << c.kind;
  }
}

TEST(TypeCodes, AnyCaseAndNothingElse) {
  EXPECT_EQ(NodeTypeOf("f"), NodeType::Fixed);
  EXPECT_EQ(NodeTypeOf(" R "), NodeType::Recurring);
  EXPECT_EQ(NodeTypeOf("X"), std::nullopt);
  EXPECT_EQ(NodeTypeOf("FG"), std::nullopt);
  EXPECT_EQ(NodeTypeOf(""), std::nullopt);
  for (char c : std::string("CHEMIST")) {
    auto type = ParagraphTypeOf(std::string(1, static_cast<char>(c + ('a' - 'A'))));
    ASSERT_TRUE(type.has_value()) << c;
    EXPECT_EQ(CodeOf(*type), c);
  }
  EXPECT_EQ(ParagraphTypeOf("G"), std::nullopt);
}

}  // namespace
}  // namespace kivdb::scheme
