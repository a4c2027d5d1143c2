// The output, introduction and help windows, and the key handler the editors share.

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextEdit>

#include "editor_test_support.h"
#include "wizard/ui/editors/event_handler.h"
#include "wizard/ui/editors/help_window.h"
#include "wizard/ui/editors/intro_window.h"
#include "wizard/ui/editors/output_window.h"

namespace kivwz {
namespace {

struct SmallWindowsTest : ::testing::Test {
  void SetUp() override {
    test::App();
    qRegisterMetaType<QWidget*>();
  }
};

TEST_F(SmallWindowsTest, OutputShowsLongTextScrollingAndEscCloses) {
  fOutput output;
  for (int i = 1; i <= 400; ++i) {
    output.OutText +=
        "=> line " + std::to_string(i) + " " + std::string(i % 7 == 0 ? 300 : 10, '-') + "\r\n";
  }
  ASSERT_TRUE(test::ShowActive(output));
  EXPECT_EQ(output.windowTitle(), "Output...");
  EXPECT_TRUE(output.TextArea()->isReadOnly());
  EXPECT_EQ(output.TextArea()->document()->blockCount(), 401);  // 400 lines and the last break
  EXPECT_FALSE(output.TextArea()->toPlainText().contains('\r'));
  EXPECT_GT(output.TextArea()->verticalScrollBar()->maximum(), 0);
  EXPECT_GT(output.TextArea()->horizontalScrollBar()->maximum(), 0);

  const QString before = output.TextArea()->toPlainText();
  output.resize(400, 300);
  QApplication::processEvents();
  EXPECT_EQ(output.TextArea()->toPlainText(), before);
  const QRect area = output.TextArea()->geometry();
  EXPECT_LE(area.left(), 2);
  EXPECT_GE(area.right(), output.width() - 2);
  EXPECT_GE(area.bottom(), output.height() - 2);

  QTest::keyClick(output.TextArea(), Qt::Key_Escape);
  EXPECT_FALSE(output.isVisible());
}

TEST_F(SmallWindowsTest, IntroductionShowsItsTextAndPictureAndEscCloses) {
  fIntro intro;
  ASSERT_TRUE(test::ShowActive(intro));
  EXPECT_EQ(intro.windowTitle(), "KivDB Wizard Introduction...");
  const QStringList lines = intro.TextArea()->toPlainText().split('\n');
  ASSERT_EQ(lines.size(), 15);  // fourteen lines and the last break
  EXPECT_EQ(lines[0],
            "The purpose of using this wizard is to generate Navigational Scheme and Web-Page "
            "Display Scheme. These correspond to Tables XST1 and XST2 in the database. ");
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[6],
            "=> Table XST3 (Web Style Scheme), which can be imported, as is, from "
            "Demo-Database.");
  EXPECT_TRUE(lines[13].startsWith("Use this Wizard to generate two Text Files (.txt)"));
  // The whole text shows at the first size: nothing to scroll, the last line inside the area.
  QTextEdit* area = intro.TextArea();
  EXPECT_EQ(area->verticalScrollBar()->maximum(), 0);
  QTextCursor end(area->document());
  end.movePosition(QTextCursor::End);
  EXPECT_LE(area->cursorRect(end).bottom(), area->viewport()->height());
  EXPECT_LE(area->geometry().bottom(), intro.height());
  auto* picture = intro.findChild<QLabel*>("picIntro");
  ASSERT_TRUE(picture);
  const QImage image = picture->pixmap().toImage();
  ASSERT_FALSE(image.isNull());
  EXPECT_NE(image.pixelColor(image.width() / 4, image.height() / 2),
            image.pixelColor(image.width() * 3 / 4, image.height() / 2));

  QTest::keyClick(intro.TextArea(), Qt::Key_Escape);
  EXPECT_FALSE(intro.isVisible());
}

TEST_F(SmallWindowsTest, HelpPageIsShippedInsideTheProgram) {
  fHelp help;
  const QString page = help.Page()->toPlainText();
  for (const char* topic : {"navigation scheme", "Generating", "CKeynn", "Thumbnails", "F3"}) {
    EXPECT_TRUE(page.contains(QString::fromLatin1(topic))) << topic;
  }
}

TEST_F(SmallWindowsTest, KeyHandlerRaisesEventsOfReleasedKeysAndConsumesThem) {
  QWidget window;
  auto* first = new QLineEdit(&window);
  auto* second = new QLineEdit(&window);
  (void)second;
  clsEventHandler handler;
  handler.SetForm(&window);
  ASSERT_TRUE(test::ShowActive(window));
  first->setFocus();

  QSignalSpy save(&handler, &clsEventHandler::eSave);
  QSignalSpy close(&handler, &clsEventHandler::eCloseForm);
  QSignalSpy enter(&handler, &clsEventHandler::eEnter);
  QSignalSpy undelete(&handler, &clsEventHandler::eUndeleteParent);
  QSignalSpy specific(&handler, &clsEventHandler::eOpenSpecificForm);
  QSignalSpy help(&handler, &clsEventHandler::eHelp);

  QTest::keyPress(first, Qt::Key_F3);
  EXPECT_EQ(save.count(), 0);  // raised on release only
  QTest::keyRelease(first, Qt::Key_F3);
  EXPECT_EQ(save.count(), 1);
  QTest::keyClick(first, Qt::Key_F3, Qt::ShiftModifier | Qt::ControlModifier);
  EXPECT_EQ(save.count(), 2);
  QTest::keyClick(first, Qt::Key_Escape);
  EXPECT_EQ(close.count(), 1);
  QTest::keyClick(first, Qt::Key_F9);
  EXPECT_EQ(undelete.count(), 1);
  QTest::keyClick(first, Qt::Key_F11);
  ASSERT_EQ(specific.count(), 1);
  EXPECT_EQ(specific.at(0).at(0).value<QWidget*>(), first);
  QTest::keyClick(first, Qt::Key_Enter);
  ASSERT_EQ(enter.count(), 1);
  EXPECT_EQ(enter.at(0).at(0).value<QWidget*>(), first);
  QTest::keyClick(first, Qt::Key_F1);
  EXPECT_EQ(help.count(), 1);

  // F6, F12 and ordinary keys raise nothing and reach the field.
  QTest::keyClick(first, Qt::Key_F6);
  QTest::keyClick(first, Qt::Key_F12);
  QTest::keyClicks(first, "ab");
  EXPECT_EQ(first->text(), "ab");
  EXPECT_EQ(handler.Processkey(117, 0), 117);
  EXPECT_EQ(handler.Processkey(114, 1), 0);
  EXPECT_EQ(save.count(), 3);

  // Keys of another window are not its business.
  QWidget other;
  auto* field = new QLineEdit(&other);
  QTest::keyClick(field, Qt::Key_F3);
  EXPECT_EQ(save.count(), 3);
}

TEST_F(SmallWindowsTest, TheReleaseOfAKeyThatClosedAMessageBoxRaisesNothing) {
  QWidget window;
  auto* field = new QLineEdit(&window);
  clsEventHandler handler;
  handler.SetForm(&window);
  ASSERT_TRUE(test::ShowActive(window));
  field->setFocus();
  QSignalSpy close(&handler, &clsEventHandler::eCloseForm);
  QSignalSpy enter(&handler, &clsEventHandler::eEnter);
  const struct {
    Qt::Key key;
    QSignalSpy* spy;
  } cases[] = {{Qt::Key_Return, &enter}, {Qt::Key_Escape, &close}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    // The box over the window takes the press and closes; the release then reaches the field.
    QMessageBox box(QMessageBox::Information, "KivWZ", "Please enter Numeric Value",
                    QMessageBox::Ok, &window);
    box.show();
    QTest::keyPress(&box, c.key);
    box.hide();
    QTest::keyRelease(field, c.key);
    EXPECT_EQ(c.spy->count(), 0);
    // A key pressed and released in the window still raises its event once.
    QTest::keyClick(field, c.key);
    EXPECT_EQ(c.spy->count(), 1);
  }
}

}  // namespace
}  // namespace kivwz
