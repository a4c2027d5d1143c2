// The node editor driven through its widgets: the types a parent admits, the parameter fields,
// the keys, the closing question and FuseNav's refusals.

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "builders.h"
#include "editor_test_support.h"
#include "wizard/model/memory_views.h"
#include "wizard/model/nav_schemes.h"
#include "wizard/ui/editors/editor_fields.h"
#include "wizard/ui/editors/node_editor.h"

namespace kivwz {
namespace {

using test::Chosen;
using test::Entries;
using test::Field;
using test::Line;
using test::TypeInto;

// Root 1 (F) > 2 Customers (F) > 3 (G, spG_Customers) > 4 (N).
struct NodeEditorTest : ::testing::Test {
  clsNavSchemes navs;
  MemoryMessageBoxes messages;
  MemoryMessageBoxes prompts;

  void SetUp() override {
    test::App();
    navs.SetMessageBoxes(&messages);
    navs.Add(test::Node(1, 0, "F", "", "Data Browser"));
    navs.Add(test::Node(2, 1, "F", "", "Customers"));
    navs.Add(test::Node(3, 2, "G", "spG_Customers", "<customer>", "CKey05"));
    navs.Add(test::Node(4, 3, "N", "", "Orders"));
  }

  // An editor as the main window opens it: parent first, then the record.
  std::unique_ptr<fNav> Open(Long parentId, std::shared_ptr<clsNavScheme> record) {
    auto editor = std::make_unique<fNav>(navs);
    editor->SetPrompts(&prompts);
    editor->PObject(navs.Item(parentId));
    editor->NavObject(std::move(record));
    EXPECT_TRUE(test::ShowActive(*editor));
    return editor;
  }
  std::shared_ptr<clsNavScheme> NewRecord(Long parentId) {
    auto record = std::make_shared<clsNavScheme>();
    record->ID(std::stoi(navs.MaxID()) + 1);
    record->parentIs = parentId;
    record->typeIs("N");
    return record;
  }
};

TEST_F(NodeEditorTest, OffersFixedOnlyBelowAFixedParent) {
  auto belowFixed = Open(2, NewRecord(2));
  auto* types = Field<QListWidget>(*belowFixed, "lstType");
  EXPECT_EQ(Entries(types), QStringList({"F - Fixed Branch", "G - Generating Branch",
                                         "R - Recurring Branch", "N - Non-Generating Branch"}));
  EXPECT_EQ(Chosen(types), "N - Non-Generating Branch");
  EXPECT_EQ(Field<QLabel>(*belowFixed, "lblParent")->text(), "Parent Node: [2]  Customers");
  EXPECT_EQ(Line(*belowFixed, "txtID"), "5");
  EXPECT_EQ(Line(*belowFixed, "txtParm"), "");  // empty parmIs chooses None

  auto belowGenerating = Open(3, NewRecord(3));
  EXPECT_EQ(
      Entries(Field<QListWidget>(*belowGenerating, "lstType")),
      QStringList({"G - Generating Branch", "R - Recurring Branch", "N - Non-Generating Branch"}));
}

TEST_F(NodeEditorTest, ClosingAnUnchangedInsertAddsNothingAndAsksNothing) {
  auto editor = Open(2, NewRecord(2));
  QTest::keyClick(Field<QLineEdit>(*editor, "txtDescription"), Qt::Key_Escape);
  EXPECT_FALSE(editor->isVisible());
  EXPECT_TRUE(prompts.Asked().empty());
  EXPECT_EQ(navs.Count(), 4);
}

TEST_F(NodeEditorTest, StoredParameterChoosesItsKind) {
  struct Case {
    const char* parm;
    const char* entry;
    const char* shown;
    const char* keyLength;
  };
  const Case cases[] = {
      {"Lkey", "LKey: Long Integer Key", "Lkey", ""},
      {"CKey07", "CKeynn: Character Key of length nn", "CKey07", "07"},
      {" today", "Today: supply today's date as parameter", "Today", ""},
      {"Date", "", "0", ""},  // no kind: nothing chosen, the shown text stays "0"
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.parm);
    auto record = navs.CloneNav("3");
    record->parmIs(c.parm);
    auto editor = Open(2, record);
    EXPECT_EQ(Chosen(Field<QListWidget>(*editor, "lstParm")), c.entry);
    EXPECT_EQ(Line(*editor, "txtParm"), c.shown);
    EXPECT_EQ(Line(*editor, "txtnn"), c.keyLength);
    EXPECT_EQ(Field<QLineEdit>(*editor, "txtnn")->isEnabled(), std::string(c.keyLength) != "");
  }
}

TEST_F(NodeEditorTest, KeyLengthComposesCKeyAndRefusesLetters) {
  auto editor = Open(2, navs.CloneNav("3"));
  auto* kinds = Field<QListWidget>(*editor, "lstParm");
  auto* keyLength = Field<QLineEdit>(*editor, "txtnn");
  kinds->setCurrentRow(1);
  EXPECT_EQ(Line(*editor, "txtParm"), "Lkey");
  EXPECT_FALSE(keyLength->isEnabled());
  kinds->setCurrentRow(2);
  EXPECT_TRUE(keyLength->isEnabled());
  EXPECT_EQ(FieldBackground(keyLength), TooltipBackground());
  TypeInto(keyLength, "5");
  EXPECT_EQ(Line(*editor, "txtParm"), "CKey05");
  TypeInto(keyLength, "ab");
  EXPECT_EQ(Line(*editor, "txtParm"), "CKey05");  // not a number: the shown text stays

  // Leaving by Tab and by Enter: refused, the focus stays.
  QTest::keyClick(keyLength, Qt::Key_Tab);
  EXPECT_EQ(prompts.Shown(), std::vector<std::string>{"Please enter Numeric Value"});
  EXPECT_EQ(QApplication::focusWidget(), keyLength);
  QTest::keyClick(keyLength, Qt::Key_Return);
  EXPECT_EQ(prompts.Shown().size(), 2u);
  EXPECT_EQ(QApplication::focusWidget(), keyLength);

  TypeInto(keyLength, "12");
  QTest::keyClick(keyLength, Qt::Key_Return);
  EXPECT_EQ(prompts.Shown().size(), 2u);
  EXPECT_EQ(QApplication::focusWidget(), Field<QLineEdit>(*editor, "txtIcon"));
  EXPECT_EQ(Line(*editor, "txtParm"), "CKey12");
}

TEST_F(NodeEditorTest, NonGeneratingWithChildrenIsRefusedAndTheWindowStaysOpen) {
  auto editor = Open(2, navs.CloneNav("3"));
  Field<QListWidget>(*editor, "lstType")->setCurrentRow(3);  // N
  QTest::keyClick(Field<QLineEdit>(*editor, "txtDescription"), Qt::Key_Escape);
  EXPECT_EQ(prompts.Asked(), (std::vector<MemoryMessageBoxes::Question>{
                                 {"Do you want to Update the Node?", Answer::Yes}}));
  EXPECT_EQ(messages.Shown(),
            std::vector<std::string>{"This Node is having Child Nodes. No child Nodes Allowed for "
                                     "Non-Generating Node. Changes not saved"});
  EXPECT_TRUE(editor->isVisible());
  EXPECT_EQ(navs.Item(3)->typeIs(), "G");
  EXPECT_EQ(Chosen(Field<QListWidget>(*editor, "lstType")), "N - Non-Generating Branch");
}

TEST_F(NodeEditorTest, FixedKeepsTheQueryShownButStoresNone) {
  auto editor = Open(2, navs.CloneNav("3"));
  navs.DelNode("4");
  auto* query = Field<QLineEdit>(*editor, "txtQuery");
  Field<QListWidget>(*editor, "lstType")->setCurrentRow(0);  // F
  EXPECT_FALSE(query->isEnabled());
  EXPECT_FALSE(Field<QListWidget>(*editor, "lstParm")->isEnabled());
  EXPECT_EQ(query->text(), "spG_Customers");
  EXPECT_EQ(Field<QLabel>(*editor, "lblDesc")->text().left(30), "(F) Fixed-Type Node, when clic");

  QTest::keyClick(Field<QLineEdit>(*editor, "txtDescription"), Qt::Key_F3);
  EXPECT_TRUE(editor->isVisible());
  EXPECT_EQ(navs.Item(3)->typeIs(), "F");
  EXPECT_EQ(navs.Item(3)->queryIs(), "");
  EXPECT_EQ(navs.Item(3)->parmIs(), "");
  EXPECT_TRUE(messages.Shown().empty());
}

TEST_F(NodeEditorTest, FunctionKeysOnlyF3SavesWhateverTheShiftState) {
  auto editor = Open(2, navs.CloneNav("3"));
  auto* description = Field<QLineEdit>(*editor, "txtDescription");
  TypeInto(description, "Clients");
  QTest::keyClick(description, Qt::Key_F6);
  EXPECT_EQ(navs.Item(3)->descriptionIs, "<customer>");
  EXPECT_EQ(description->text(), "Clients");
  QTest::keyClick(description, Qt::Key_F3, Qt::ShiftModifier);
  EXPECT_EQ(navs.Item(3)->descriptionIs, "Clients");
  // Saved: the fields equal the record, so Esc closes without asking.
  QTest::keyClick(description, Qt::Key_Escape);
  EXPECT_FALSE(editor->isVisible());
  EXPECT_TRUE(prompts.Asked().empty());
}

TEST_F(NodeEditorTest, EnterMovesToTheNextEnabledFieldAndColoursIt) {
  auto editor = Open(2, navs.CloneNav("3"));
  auto* description = Field<QLineEdit>(*editor, "txtDescription");
  auto* types = Field<QListWidget>(*editor, "lstType");
  description->setFocus();
  QTest::keyClick(description, Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), types);
  EXPECT_EQ(FieldBackground(types), kEnteredFieldColour);
  EXPECT_EQ(Field<QLabel>(*editor, "lblDesc")->text().left(28), "Select the type of this Node");
  QTest::keyClick(types, Qt::Key_Return);
  EXPECT_EQ(FieldBackground(types), NormalFieldBackground());
  EXPECT_EQ(QApplication::focusWidget(), Field<QLineEdit>(*editor, "txtQuery"));

  // Below an N choice the query and parameter fields are skipped.
  types->setCurrentRow(3);
  types->setFocus();
  QTest::keyClick(types, Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), Field<QLineEdit>(*editor, "txtIcon"));
  EXPECT_TRUE(editor->isVisible());  // Enter is no dialog default button
}

TEST_F(NodeEditorTest, AnsweringNoDropsTheChange) {
  auto editor = Open(2, NewRecord(2));
  TypeInto(Field<QLineEdit>(*editor, "txtDescription"), "Suppliers");
  prompts.answer = false;
  editor->close();
  EXPECT_FALSE(editor->isVisible());
  EXPECT_EQ(prompts.Asked().size(), 1u);
  EXPECT_EQ(navs.Count(), 4);
}

TEST_F(NodeEditorTest, ClosingQuestionAndNumericMessageAreRealMessageBoxes) {
  auto editor = Open(2, NewRecord(2));
  editor->SetPrompts(nullptr);  // the window's own message boxes
  auto* kinds = Field<QListWidget>(*editor, "lstParm");
  kinds->setCurrentRow(2);
  auto* keyLength = Field<QLineEdit>(*editor, "txtnn");
  TypeInto(keyLength, "x");
  QString seen;
  test::AnswerNextBox(QMessageBox::Ok, &seen);
  QTest::keyClick(keyLength, Qt::Key_Return);
  EXPECT_EQ(seen, "kivwz_editor_tests | Please enter Numeric Value");

  TypeInto(Field<QLineEdit>(*editor, "txtDescription"), "Suppliers");
  test::AnswerNextBox(QMessageBox::No, &seen);
  editor->close();
  EXPECT_EQ(seen, "Update Confirmation | Do you want to Update the Node?");
  EXPECT_FALSE(editor->isVisible());
  EXPECT_EQ(navs.Count(), 4);
}

TEST_F(NodeEditorTest, AnsweringYesFilesANewNode) {
  auto editor = Open(2, NewRecord(2));
  TypeInto(Field<QLineEdit>(*editor, "txtDescription"), "Suppliers");
  TypeInto(Field<QLineEdit>(*editor, "txtRole"), "1:3");
  editor->close();
  EXPECT_FALSE(editor->isVisible());
  ASSERT_TRUE(navs.Item(5));
  EXPECT_EQ(navs.Item(5)->descriptionIs, "Suppliers");
  EXPECT_EQ(navs.Item(5)->roleIs, "1:3");
  EXPECT_EQ(navs.Item(5)->parentIs, 2);
}

}  // namespace
}  // namespace kivwz
