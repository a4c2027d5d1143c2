// KivDBDemo's menus on a copy of the demo database: Back and Forward, Role, Talking with the
// message panel, Show Path, Open and Connect, Properties; and the program without a display.
#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <filesystem>
#include <fstream>

#include <kivdb/error.h>
#include <kivdb/qt/property_page.h>
#include "demo/app/message_panel.h"
#include "tests/demo/app/window_fixture.h"

namespace kivdb::demo {
namespace {

class MainWindowTest : public testing::WindowTest {
 protected:
  QAction* Action(const char* name) {
    auto* action = window_->findChild<QAction*>(name);
    EXPECT_NE(action, nullptr) << name;
    return action;
  }

  std::string Selected() {
    TreeNode* node = window_->TreeAdapter().SelectedItem();
    return node ? node->FullPath() : "";
  }
};

TEST_F(MainWindowTest, BackAndForwardOpenTheNodesAgain) {
  Click("Data Browser\\Staff");
  Click("Data Browser\\Regions");
  Click("Data Browser\\Regions\\Coast");
  Click("Data Browser\\Products");  // Coast is pruned from the tree here
  ASSERT_EQ(Find("Data Browser\\Regions\\Coast"), nullptr);
  EXPECT_FALSE(Action("actionForward")->isEnabled());

  // Alt+Left goes back to Coast: its branch is opened again and its page shown.
  QTest::keyClick(window_.get(), Qt::Key_Left, Qt::AltModifier);
  ASSERT_TRUE(Browser().WaitForLoad());
  EXPECT_EQ(Selected(), "Data Browser\\Regions\\Coast");
  EXPECT_TRUE(Shows("Truro"));  // Coast's depot
  Action("actionBack")->trigger();
  Action("actionBack")->trigger();
  ASSERT_TRUE(Browser().WaitForLoad());
  EXPECT_EQ(Selected(), "Data Browser\\Staff");
  EXPECT_TRUE(Shows("Calloway"));
  EXPECT_FALSE(Action("actionBack")->isEnabled());

  QTest::keyClick(window_.get(), Qt::Key_Right, Qt::AltModifier);
  ASSERT_TRUE(Browser().WaitForLoad());
  EXPECT_EQ(Selected(), "Data Browser\\Regions");
  EXPECT_EQ(window_->History().Size(), 4u);  // going back and forth added nothing
}

TEST_F(MainWindowTest, RoleOpensTheBranchesOfThatRole) {
  Click("Data Browser\\Management");
  EXPECT_EQ(Find("Data Browser\\Management\\Payroll"), nullptr);
  answerRole_ = 1;
  Action("actionRole")->trigger();
  EXPECT_EQ(window_->Role(), 1);
  Browser().WaitForLoad();
  Click("Data Browser\\Management");
  EXPECT_NE(Find("Data Browser\\Management\\Payroll"), nullptr);
}

TEST_F(MainWindowTest, TalkingSendsEveryMessageToThePanelWithoutABox) {
  const std::string empty = (copy_.Folder() / "empty.db").string();
  std::ofstream(empty).close();
  window_->OpenDatabase("Provider=SQLite;Data Source=" + empty);
  const int quiet = window_->Messages()->Count();
  Action("actionTalking")->trigger();
  window_->OpenDatabase("Provider=SQLite;Data Source=" + empty);
  const int talking = window_->Messages()->Count() - quiet;
  EXPECT_GT(talking, quiet);  // the schemes' three reads each report, and more
  EXPECT_TRUE(window_->Messages()->isVisible());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  bool unableToAccess = false;
  for (int i = quiet; i < window_->Messages()->Count(); ++i)
    unableToAccess |= window_->Messages()->Message(i).startsWith("Unable to Access Data");
  EXPECT_TRUE(unableToAccess);
}

TEST_F(MainWindowTest, ShowPathRebuildsThePageWithThePathAtItsFoot) {
  Click("Data Browser\\Staff");
  // The page's style writes the path in capitals.
  EXPECT_FALSE(PageText().contains("DATA BROWSER\\STAFF"));
  Action("actionShowPath")->trigger();
  EXPECT_TRUE(Shows("DATA BROWSER\\STAFF"));
  EXPECT_EQ(window_->History().Size(), 1u);
}

TEST_F(MainWindowTest, OpensAndConnectsToTheChosenDatabaseAndKeepsItForNextTime) {
  const std::filesystem::path other = copy_.Folder() / "other.db";
  std::filesystem::copy_file(copy_.Database(), other);
  answerFile_ = QString::fromStdString(other.string());
  Action("actionOpen")->trigger();
  EXPECT_EQ(window_->Database(), "Provider=SQLite;Data Source=" + other.string());
  EXPECT_NE(Find("Data Browser\\Staff"), nullptr);

  answerFile_ = QString::fromStdString(copy_.ConnectionString());
  Action("actionConnect")->trigger();
  EXPECT_EQ(window_->Database(), copy_.ConnectionString());
  Action("actionTalking")->trigger();  // not saved: the host sets it at run time
  window_->close();

  MainWindowSetup setup;
  setup.settingsFile = copy_.Folder() / "config" / "KivDBDemo.ini";
  setup.pagesFolder = copy_.Folder() / "elsewhere";
  MainWindow again(std::move(setup));
  EXPECT_TRUE(again.OpenDefaultDatabase());
  EXPECT_EQ(again.Database(), copy_.ConnectionString());
  // A kept file that has gone since gives way to the demo database, or to a message without one.
  again.OpenDatabase("Provider=SQLite;Data Source=" + other.string());
  std::filesystem::remove(other);
  MainWindowSetup third;
  third.settingsFile = copy_.Folder() / "config" / "KivDBDemo.ini";
  third.pagesFolder = copy_.Pages();
  MainWindow without(std::move(third));
  EXPECT_FALSE(without.OpenDefaultDatabase());
  EXPECT_EQ(without.Messages()->Count(), 1);
  // The pages folder kept in the settings, not the new default, and the demo's pictures in it.
  EXPECT_FALSE(std::filesystem::exists(copy_.Folder() / "elsewhere"));
  EXPECT_TRUE(std::filesystem::exists(copy_.Pages() / "circle.gif"));
  EXPECT_TRUE(std::filesystem::exists(copy_.Pages() / "oReport.htm") ||
              std::filesystem::exists(copy_.Pages() / "fp.htm"));
}

TEST_F(MainWindowTest, PropertiesEditInDesignModeThenReturnToUserMode) {
  Action("actionProperties")->trigger();
  auto* page = window_->findChild<qt::pPage1*>();
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(QApplication::activeModalWidget(), page);  // window-modal, yet nothing waits on it
  EXPECT_EQ(page->txtDAMode()->text(), "1");
  page->txtActivePort()->setText("81");
  QTest::mouseClick(page->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                    Qt::LeftButton);
  QApplication::processEvents();
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_THROW(window_->Control().ActivePort(), Error);  // user mode again: 393
  window_->Control().SetUserMode(false);
  EXPECT_EQ(window_->Control().ActivePort(), 81);
  window_->Control().SetUserMode(true);
}

// The program itself, started without a display or with one that is not there.
TEST(NoDisplayTest, SaysSoInOneLineAndEndsWithStatus2) {
  const char* displays[] = {nullptr, ":93"};
  for (const char* display : displays) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    if (display) env.insert("DISPLAY", display);
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(KIVDBDEMO_PROGRAM, {});
    ASSERT_TRUE(program.waitForFinished(30000));
    const QString errors = QString::fromUtf8(program.readAllStandardError()).trimmed();
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << (display ? display : "none");
    EXPECT_EQ(program.exitCode(), 2) << errors.toStdString();
    EXPECT_EQ(errors.count('\n'), 0) << errors.toStdString();
    EXPECT_TRUE(errors.startsWith("KivDBDemo: no display")) << errors.toStdString();
  }
}

}  // namespace
}  // namespace kivdb::demo
