// The editors' rules without widgets: parameter kinds, type lists and reactions, the key table,
// and how the fields compare with and go into a record.

#include <gtest/gtest.h>

#include "builders.h"
#include "wizard/model/editor_keys.h"
#include "wizard/model/nav_editor_rules.h"
#include "wizard/model/parameter_kinds.h"
#include "wizard/model/web_editor_rules.h"

namespace kivwz {
namespace {

TEST(ParameterKinds, StoredTextSelectsItsKind) {
  struct Case {
    const char* parmIs;
    std::optional<ParmKind> kind;
    const char* keyLength;
  };
  const Case cases[] = {
      {"", ParmKind::None, ""},
      {"  ", ParmKind::None, ""},
      {"Lkey", ParmKind::LKey, ""},
      {"lk", ParmKind::LKey, ""},
      {"CKey05", ParmKind::CKeynn, "05"},
      {"ckey7", ParmKind::CKeynn, "y7"},
      {" Text", ParmKind::Text, ""},
      {"TODAY", ParmKind::Today, ""},
      {"Date", std::nullopt, ""},
      {"L", std::nullopt, ""},
      {"*", ParmKind::None, ""},  // "*" followed by "**" reads as "**"
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.parmIs);
    const ParmSelection selection = SelectParm(c.parmIs);
    EXPECT_EQ(selection.kind, c.kind);
    EXPECT_EQ(selection.keyLength, c.keyLength);
  }
}

TEST(ParameterKinds, KindsGiveTheirStoredTextAndCKeyIsComposed) {
  EXPECT_EQ(ReactToParm(ParmKind::None).parmText, "");
  EXPECT_EQ(ReactToParm(ParmKind::LKey).parmText, "Lkey");
  EXPECT_EQ(ReactToParm(ParmKind::Text).parmText, "Text");
  EXPECT_EQ(ReactToParm(ParmKind::Today).parmText, "Today");
  EXPECT_FALSE(ReactToParm(ParmKind::CKeynn).parmText);
  EXPECT_TRUE(ReactToParm(ParmKind::CKeynn).keyLengthEnabled);
  EXPECT_FALSE(ReactToParm(ParmKind::Today).keyLengthEnabled);
  EXPECT_EQ(ParmEntries().size(), 5u);

  struct Case {
    const char* typed;
    std::optional<std::string> composed;
  };
  const Case cases[] = {{"5", "CKey05"},    {"12", "CKey12"},     {"05", "CKey05"},
                        {" 7 ", "CKey07"},  {"0", "CKey00"},      {"ab", std::nullopt},
                        {"", std::nullopt}, {"-3", std::nullopt}, {"1.5", std::nullopt}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(ComposeCKey(c.typed), c.composed);
  }
}

TEST(NavEditorRules, TypesAParentAdmits) {
  const auto fixed = test::Node(1, 0, "F");
  const auto generating = test::Node(2, 1, "G", "spG_X");
  const auto lowerFixed = test::Node(3, 1, "f");
  EXPECT_EQ(NavTypeEntries(fixed.get()).size(), 4u);
  EXPECT_EQ(NavTypeEntries(fixed.get())[0], "F - Fixed Branch");
  EXPECT_EQ(NavTypeEntries(generating.get())[0], "G - Generating Branch");
  EXPECT_EQ(NavTypeEntries(lowerFixed.get()).size(), 3u);
  EXPECT_EQ(NavTypeEntries(nullptr).size(), 3u);

  const auto entries = NavTypeEntries(generating.get());
  EXPECT_EQ(NavTypeEntryOf(entries, "N"), 2u);
  EXPECT_EQ(NavTypeEntryOf(entries, "F"), std::nullopt);  // not offered below G
  EXPECT_EQ(NavTypeEntryOf(entries, "n"), std::nullopt);
  EXPECT_EQ(NavTypeEntryOf(entries, ""), std::nullopt);
  EXPECT_EQ(NavTypeEntryOf(entries, "GR"), std::nullopt);

  EXPECT_FALSE(ReactToNavType('F').queryEnabled);
  EXPECT_TRUE(ReactToNavType('F').keyLengthDisabled);
  EXPECT_TRUE(ReactToNavType('R').parmEnabled);
  EXPECT_FALSE(ReactToNavType('G').keyLengthDisabled);
  EXPECT_FALSE(ReactToNavType('N').parmEnabled);
}

TEST(NavEditorRules, FieldsCompareExactlyAndStoreTypeFirst) {
  const auto node = test::Node(7, 2, "G", "spG_Customers", "Customers", "Lkey");
  node->roleIs = "1:3";
  const NavFields same{"7", "Customers", "G", "spG_Customers", "Lkey", "leaf", "1:3"};
  EXPECT_FALSE(IsChanged(same, *node));
  const auto changedBy = [&](auto change) {
    NavFields fields = same;
    change(fields);
    return IsChanged(fields, *node);
  };
  EXPECT_TRUE(changedBy([](NavFields& f) { f.id = "07"; }));
  EXPECT_TRUE(changedBy([](NavFields& f) { f.description = "customers"; }));
  EXPECT_TRUE(changedBy([](NavFields& f) { f.typeLetter = ""; }));
  EXPECT_TRUE(changedBy([](NavFields& f) { f.query = "spG_Customers "; }));
  EXPECT_TRUE(changedBy([](NavFields& f) { f.parm = "LKey"; }));
  EXPECT_TRUE(changedBy([](NavFields& f) { f.icon = ""; }));
  EXPECT_TRUE(changedBy([](NavFields& f) { f.role = "1"; }));

  NavFields fixed = same;
  fixed.typeLetter = "F";
  fixed.description = "Fixed";
  StoreFields(fixed, *node);
  EXPECT_EQ(node->typeIs(), "F");
  EXPECT_EQ(node->queryIs(), "");
  EXPECT_EQ(node->parmIs(), "");
  EXPECT_EQ(node->descriptionIs, "Fixed");
  EXPECT_EQ(node->parentIs, 2);
  EXPECT_EQ(ParentLine(*node), "Parent Node: [7]  Fixed");
}

TEST(WebEditorRules, TypeEntriesAndReactions) {
  EXPECT_EQ(WebTypeEntries().size(), 7u);
  EXPECT_EQ(WebTypeEntryOf("C"), 0u);
  EXPECT_EQ(WebTypeEntryOf("T"), 6u);
  EXPECT_EQ(WebTypeEntryOf("h"), std::nullopt);
  EXPECT_EQ(WebTypeEntryOf(""), std::nullopt);
  EXPECT_EQ(WebTypeEntryOf("SS"), std::nullopt);
  struct Case {
    char letter;
    bool cols;
    bool form;
  };
  for (const Case c : {Case{'C', true, false}, Case{'H', false, true}, Case{'E', false, false},
                       Case{'M', false, false}, Case{'I', false, true}, Case{'S', true, false},
                       Case{'T', true, false}}) {
    SCOPED_TRACE(c.letter);
    EXPECT_EQ(ReactToWebType(c.letter).colsEnabled, c.cols);
    EXPECT_EQ(ReactToWebType(c.letter).formEnabled, c.form);
    EXPECT_EQ(ReactToWebType(c.letter).help.substr(0, 3), (std::string{'(', c.letter, ')'}));
  }
}

TEST(WebEditorRules, NumbersCompareAsNumbersAndMustBeWholeToStore) {
  auto paragraph = test::Paragraph(4, 2, 3, "H", "spW_Header", "Header");
  paragraph->formIs = 2;
  paragraph->extra = "kept";
  const WebFields same{"4", "3", "Header", "spW_Header", "", "H", "2", ""};
  EXPECT_FALSE(IsChanged(same, *paragraph));
  WebFields padded = same;
  padded.seqNo = " 03 ";
  padded.form = "+2";
  EXPECT_FALSE(IsChanged(padded, *paragraph));

  WebFields letters = same;
  letters.form = "2b";
  EXPECT_TRUE(IsChanged(letters, *paragraph));
  EXPECT_FALSE(StoreFields(letters, *paragraph));
  letters.form = "2";
  letters.seqNo = "";
  EXPECT_FALSE(StoreFields(letters, *paragraph));
  EXPECT_EQ(paragraph->seqNo, 3);

  WebFields changed{"4", "9", "Totals", "spW_Totals", "Lkey", "S", "0", "All"};
  EXPECT_TRUE(IsChanged(changed, *paragraph));
  ASSERT_TRUE(StoreFields(changed, *paragraph));
  EXPECT_FALSE(IsChanged(changed, *paragraph));
  EXPECT_EQ(paragraph->seqNo, 9);
  EXPECT_EQ(paragraph->typeIs, "S");
  EXPECT_EQ(paragraph->colsAre, "All");
  EXPECT_EQ(paragraph->XST1, 2);
  EXPECT_EQ(paragraph->extra, "kept");
}

TEST(EditorKeys, TableOfReleasedKeys) {
  struct Case {
    std::int16_t key;
    EditorEvent event;
  };
  const Case cases[] = {
      {112, EditorEvent::Help},
      {113, EditorEvent::New},
      {114, EditorEvent::Save},
      {115, EditorEvent::Marks},
      {116, EditorEvent::Print},
      {117, EditorEvent::None},
      {118, EditorEvent::Search},
      {119, EditorEvent::ParentDelete},
      {120, EditorEvent::UndeleteParent},
      {121, EditorEvent::Select},
      {122, EditorEvent::OpenSpecificForm},
      {123, EditorEvent::None},
      {27, EditorEvent::CloseForm},
      {13, EditorEvent::Enter},
      {65, EditorEvent::None},
      {0, EditorEvent::None},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(EventOfKey(c.key), c.event);
  }
  EXPECT_TRUE(CarriesControl(EditorEvent::Enter));
  EXPECT_TRUE(CarriesControl(EditorEvent::OpenSpecificForm));
  EXPECT_FALSE(CarriesControl(EditorEvent::UndeleteParent));
}

}  // namespace
}  // namespace kivwz
