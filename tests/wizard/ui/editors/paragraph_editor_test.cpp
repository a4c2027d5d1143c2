// The paragraph editor driven through its widgets: the state of a new paragraph, the type
// reactions, the number checks, the keys and the closing question.

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "builders.h"
#include "editor_test_support.h"
#include "wizard/model/memory_views.h"
#include "wizard/model/nav_schemes.h"
#include "wizard/ui/editors/editor_fields.h"
#include "wizard/ui/editors/paragraph_editor.h"

namespace kivwz {
namespace {

using test::Chosen;
using test::Field;
using test::Line;
using test::TypeInto;

struct ParagraphEditorTest : ::testing::Test {
  clsNavSchemes navs;
  MemoryMessageBoxes messages;
  MemoryMessageBoxes prompts;

  void SetUp() override {
    test::App();
    navs.SetMessageBoxes(&messages);
    navs.Add(test::Node(1, 0, "F", "", "Data Browser"));
    auto chart = test::Paragraph(1, 1, 1, "C", "spW_Sales");
    chart->formIs = 4;
    chart->colsAre = "1:2";
    navs.oWebs.Add(chart);
    auto header = test::Paragraph(2, 1, 2, "h", "spW_Header");
    header->formIs = 3;
    header->colsAre = "All";
    header->parmIs = "CKey05";
    navs.oWebs.Add(header);
  }

  std::unique_ptr<fWeb> Open(std::shared_ptr<clsWebScheme> record) {
    auto editor = std::make_unique<fWeb>(navs);
    editor->SetPrompts(&prompts);
    editor->WebObject(std::move(record));
    EXPECT_TRUE(test::ShowActive(*editor));
    return editor;
  }
  // The record the main window prepares for Add Paragraph.
  std::shared_ptr<clsWebScheme> NewParagraph() {
    auto record = std::make_shared<clsWebScheme>();
    record->ID(std::stoi(navs.oWebs.MaxID()) + 1);
    record->XST1 = 1;
    record->seqNo = std::stoi(navs.oWebs.MaxSeqNo("1")) + 1;
    record->titleIs = "New";
    record->typeIs = "S";
    return record;
  }
  QListWidget* Types(QWidget& editor) { return Field<QListWidget>(editor, "lstType"); }
};

TEST_F(ParagraphEditorTest, NewParagraphOpensAsShowTableWithoutParameter) {
  auto editor = Open(NewParagraph());
  EXPECT_EQ(Chosen(Types(*editor)), "S - Show Table");
  EXPECT_EQ(Types(*editor)->count(), 7);
  EXPECT_TRUE(Field<QLineEdit>(*editor, "txtCol")->isEnabled());
  EXPECT_FALSE(Field<QLineEdit>(*editor, "txtForm")->isEnabled());
  EXPECT_EQ(Line(*editor, "txtForm"), "0");
  EXPECT_EQ(Chosen(Field<QListWidget>(*editor, "lstParm")), "None: No parameter");
  EXPECT_EQ(Line(*editor, "txtParm"), "");
  EXPECT_EQ(Line(*editor, "txtID"), "3");
  EXPECT_EQ(Line(*editor, "txtSeqNo"), "3");
  EXPECT_EQ(Line(*editor, "txtTitle"), "New");

  // Closing at once asks nothing and adds nothing.
  editor->close();
  EXPECT_FALSE(editor->isVisible());
  EXPECT_TRUE(prompts.Asked().empty());
  EXPECT_EQ(navs.oWebs.Count(), 2);
}

TEST_F(ParagraphEditorTest, TypeChoiceEnablesFormOrColumnsKeepingTheirText) {
  auto editor = Open(navs.oWebs.CloneWeb("1"));
  auto* form = Field<QLineEdit>(*editor, "txtForm");
  auto* cols = Field<QLineEdit>(*editor, "txtCol");
  struct Case {
    int row;
    bool formEnabled;
    bool colsEnabled;
  };
  for (const Case c : {Case{1, true, false}, Case{2, false, false}, Case{3, false, false},
                       Case{4, true, false}, Case{6, false, true}, Case{0, false, true}}) {
    SCOPED_TRACE(c.row);
    Types(*editor)->setCurrentRow(c.row);
    EXPECT_EQ(form->isEnabled(), c.formEnabled);
    EXPECT_EQ(cols->isEnabled(), c.colsEnabled);
    EXPECT_EQ(cols->text(), "1:2");
  }
  Types(*editor)->setCurrentRow(1);  // H
  EXPECT_EQ(Field<QLabel>(*editor, "lblDesc")->text(),
            "(H)-Header, Displaying Header Information. You can also specify the Form# with this "
            "type.");
  QTest::keyClick(Field<QLineEdit>(*editor, "txtTitle"), Qt::Key_F3);
  EXPECT_EQ(navs.oWebs.Item(1)->typeIs, "H");
  EXPECT_EQ(navs.oWebs.Item(1)->colsAre, "");
  EXPECT_EQ(navs.oWebs.Item(1)->formIs, 4);
}

TEST_F(ParagraphEditorTest, LowerCaseTypeChoosesNothingAndParameterIsShown) {
  auto editor = Open(navs.oWebs.CloneWeb("2"));
  EXPECT_EQ(Types(*editor)->currentRow(), -1);
  EXPECT_FALSE(Field<QLineEdit>(*editor, "txtForm")->isEnabled());
  EXPECT_FALSE(Field<QLineEdit>(*editor, "txtCol")->isEnabled());
  EXPECT_EQ(Chosen(Field<QListWidget>(*editor, "lstParm")), "CKeynn: Character Key of length nn");
  EXPECT_EQ(Line(*editor, "txtnn"), "05");
  EXPECT_EQ(Line(*editor, "txtParm"), "CKey05");
}

TEST_F(ParagraphEditorTest, SavedChartStillShowingAFormNumberAsksAgainOnClosing) {
  auto editor = Open(navs.oWebs.CloneWeb("1"));
  QTest::keyClick(Field<QLineEdit>(*editor, "txtTitle"), Qt::Key_F3);
  EXPECT_EQ(navs.oWebs.Item(1)->formIs, 0);
  EXPECT_EQ(Line(*editor, "txtForm"), "4");
  prompts.answer = false;
  QTest::keyClick(Field<QLineEdit>(*editor, "txtTitle"), Qt::Key_Escape);
  EXPECT_EQ(prompts.Asked(), (std::vector<MemoryMessageBoxes::Question>{
                                 {"Do you want to Update the Paragraph?", Answer::Yes}}));
  EXPECT_FALSE(editor->isVisible());
}

TEST_F(ParagraphEditorTest, NumbersThatAreNotWholeAreRefusedAndTheWindowStaysOpen) {
  auto editor = Open(navs.oWebs.CloneWeb("1"));
  Types(*editor)->setCurrentRow(1);  // H: the form number is in use
  TypeInto(Field<QLineEdit>(*editor, "txtForm"), "2b");
  TypeInto(Field<QLineEdit>(*editor, "txtTitle"), "Sales");
  QTest::keyClick(Field<QLineEdit>(*editor, "txtTitle"), Qt::Key_F3);
  EXPECT_EQ(prompts.Shown(), std::vector<std::string>{"Please enter Numeric Value"});
  EXPECT_EQ(navs.oWebs.Item(1)->titleIs, "Paragraph 1");
  EXPECT_EQ(navs.oWebs.Item(1)->typeIs, "C");

  // Closing asks (the field differs from the record) and Yes is refused the same way.
  editor->close();
  EXPECT_EQ(prompts.Asked().size(), 1u);
  EXPECT_EQ(prompts.Shown().size(), 2u);
  EXPECT_TRUE(editor->isVisible());

  TypeInto(Field<QLineEdit>(*editor, "txtForm"), "2");
  editor->close();
  EXPECT_FALSE(editor->isVisible());
  EXPECT_EQ(navs.oWebs.Item(1)->formIs, 2);
  EXPECT_EQ(navs.oWebs.Item(1)->titleIs, "Sales");
}

TEST_F(ParagraphEditorTest, SequenceNumberMayNotBeLeftUnlessWhole) {
  auto editor = Open(navs.oWebs.CloneWeb("1"));
  auto* seqNo = Field<QLineEdit>(*editor, "txtSeqNo");
  TypeInto(seqNo, "x");
  QTest::keyClick(seqNo, Qt::Key_Return);
  EXPECT_EQ(prompts.Shown(), std::vector<std::string>{"Please enter Numeric Value"});
  EXPECT_EQ(QApplication::focusWidget(), seqNo);
  TypeInto(seqNo, "7");
  QTest::keyClick(seqNo, Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), Field<QLineEdit>(*editor, "txtTitle"));
  EXPECT_EQ(FieldBackground(Field<QLineEdit>(*editor, "txtTitle")), kEnteredFieldColour);
  EXPECT_EQ(FieldBackground(seqNo), NormalFieldBackground());
  // The form number has no check of its own when left.
  auto* form = Field<QLineEdit>(*editor, "txtForm");
  Types(*editor)->setCurrentRow(1);
  TypeInto(form, "?");
  QTest::keyClick(form, Qt::Key_Tab);
  EXPECT_EQ(prompts.Shown().size(), 1u);
}

TEST_F(ParagraphEditorTest, EnterWalksTheEnabledFieldsInOrderShowingTheirHelp) {
  auto editor = Open(NewParagraph());  // S: no form number, no key length
  struct Step {
    const char* field;
    const char* helpStart;
  };
  const Step steps[] = {
      {"txtTitle", "Please Enter the Title of the Paragraph."},
      {"txtQuery", "Specify the name of Query/Stored Procedure."},
      {"lstParm", "The Parameters Can be one of the Following"},
      {"lstType", "<<CHEMIST -- An Aid to Remembering.>>"},
      {"txtCol", "This is a multi-purpose field."},
      {"txtSeqNo", "Please give the Sequence No. for this Paragraph"},
  };
  QWidget* field = Field<QLineEdit>(*editor, "txtSeqNo");
  field->setFocus();
  for (const Step& step : steps) {
    SCOPED_TRACE(step.field);
    QTest::keyClick(field, Qt::Key_Return);
    field = QApplication::focusWidget();
    ASSERT_TRUE(field);
    EXPECT_EQ(field->objectName(), step.field);
    EXPECT_TRUE(Field<QLabel>(*editor, "lblDesc")->text().startsWith(step.helpStart));
  }
}

TEST_F(ParagraphEditorTest, EmptyQueryIsRefusedByTheScheme) {
  auto editor = Open(NewParagraph());
  QTest::keyClick(Field<QLineEdit>(*editor, "txtTitle"), Qt::Key_F3);
  EXPECT_EQ(messages.Shown(), std::vector<std::string>{"Query field cannot be blank..."});
  EXPECT_EQ(navs.oWebs.Count(), 2);
  TypeInto(Field<QLineEdit>(*editor, "txtQuery"), "spW_Orders");
  QTest::keyClick(Field<QLineEdit>(*editor, "txtQuery"), Qt::Key_F3);
  ASSERT_EQ(navs.oWebs.Count(), 3);
  EXPECT_EQ(navs.oWebs.Item(3)->queryIs, "spW_Orders");
  EXPECT_EQ(navs.oWebs.Item(3)->XST1, 1);
}

}  // namespace
}  // namespace kivwz
