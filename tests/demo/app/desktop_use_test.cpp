// KivDBDemo in daily use: a form closed with Escape, a database that cannot be opened, Apply in
// the property page, the page options and the row cap with its link to every row, a new page
// at its top, a click that stops a big page still loading, the window's size.
#include <QApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <cstdio>
#include <fstream>

#include <kivdb/dal.h>
#include <kivdb/qt/property_page.h>
#include "demo/app/message_panel.h"
#include "demo/app/page_options.h"
#include "demo/app/record_form_dialog.h"
#include "demo/app/window_geometry.h"
#include "tests/demo/app/window_fixture.h"

namespace kivdb::demo {
namespace {

class DesktopUseTest : public testing::WindowTest {
 protected:
  std::filesystem::path Settings() const { return copy_.Folder() / "config" / "KivDBDemo.ini"; }

  // Adds the node "Data Browser\Rows" over a table of `rows` rows and shows the tree again.
  void AddBigNode(int rows) {
    DAL dal;
    dal.ConnectionString(copy_.ConnectionString());
    ASSERT_TRUE(dal.ExecSQL("CREATE TABLE Big (ID INTEGER PRIMARY KEY, Name VARCHAR(30))"));
    ASSERT_TRUE(
        dal.ExecSQL("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                    "WHERE i < " +
                    std::to_string(rows) + ") INSERT INTO Big SELECT i, 'Item ' || i FROM n"));
    ASSERT_TRUE(dal.ExecSQL("INSERT INTO XSP VALUES ('spW_Big', 'SELECT ID, Name FROM Big')"));
    ASSERT_TRUE(dal.ExecSQL("INSERT INTO XST1 VALUES (90, 'Rows', 'N', 1, '', '', 'book', '')"));
    ASSERT_TRUE(dal.ExecSQL(
        "INSERT INTO XST2 VALUES (190, 90, 1, 'Rows', 'spW_Big', 'None', 'S', 0, '', '')"));
    window_->Control().RefreshBrowser();
    Browser().WaitForLoad();
  }

  int Number(const QString& script) { return Evaluate(script).toDouble(); }
};

TEST_F(DesktopUseTest, EscapeAsksBeforeAFormLosesItsEdits) {
  struct Case {
    const char* name;
    bool edit;
    QMessageBox::StandardButton answer;  // NoButton: no question expected
    bool staysOpen;
  } cases[] = {
      {"unchanged form closes at once", false, QMessageBox::NoButton, false},
      {"No keeps the form and its edit", true, QMessageBox::No, true},
      {"Yes closes the form", true, QMessageBox::Yes, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    window_->OpenForm("00004", "0000000007");
    QPointer<RecordFormDialog> form = window_->findChild<RecordFormDialog*>();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), "Order 7: Quayside Trading Post");
    auto* freight = qobject_cast<QLineEdit*>(form->Editor("Freight"));
    ASSERT_NE(freight, nullptr);
    form->activateWindow();
    if (c.edit) {
      freight->selectAll();
      QTest::keyClicks(freight, "12.5");
    }
    bool asked = false;
    if (c.answer != QMessageBox::NoButton) {
      QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        asked = box != nullptr;
        if (box) box->button(c.answer)->click();
      });
    }
    QTest::keyClick(freight, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(asked, c.answer != QMessageBox::NoButton);
    EXPECT_EQ(form && form->isVisible(), c.staysOpen);
    if (c.staysOpen) {
      EXPECT_EQ(freight->text(), "12.5");
      delete form.data();
    }
    QApplication::processEvents();
  }
}

TEST_F(DesktopUseTest, ADatabaseThatCannotBeOpenedLeavesTheOpenOne) {
  const std::string before = window_->Database();
  const std::filesystem::path text = copy_.Folder() / "notes.txt";
  std::ofstream(text) << "not a database, but some notes kept beside it\n";
  for (const std::string& connection :
       {"Provider=SQLite;Data Source=" + (copy_.Folder() / "missing.db").string(),
        "Provider=SQLite;Data Source=" + text.string(), std::string("Provider=Nothing")}) {
    SCOPED_TRACE(connection);
    const int messages = window_->Messages()->Count();
    answerFile_ = QString::fromStdString(connection);
    window_->findChild<QAction*>("actionConnect")->trigger();
    EXPECT_EQ(window_->Database(), before);
    ASSERT_EQ(window_->Messages()->Count(), messages + 1);
    EXPECT_TRUE(window_->Messages()->Message(messages).contains("could not be opened"));
  }
  // The tree and its pages still work, and the kept database is still the one that opened.
  Click("Data Browser\\Staff");
  EXPECT_TRUE(Shows("Calloway"));
  MainWindowSetup setup;
  setup.settingsFile = Settings();
  setup.pagesFolder = copy_.Pages();
  MainWindow again(std::move(setup));
  EXPECT_TRUE(again.OpenDefaultDatabase());
  EXPECT_EQ(again.Database(), before);
}

TEST_F(DesktopUseTest, ApplyKeepsWhatItApplies) {
  window_->findChild<QAction*>("actionProperties")->trigger();
  auto* page = window_->findChild<qt::pPage1*>();
  ASSERT_NE(page, nullptr);
  page->txtActivePort()->setText("82");
  auto* buttons = page->findChild<QDialogButtonBox*>();
  QTest::mouseClick(buttons->button(QDialogButtonBox::Apply), Qt::LeftButton);
  QTest::mouseClick(buttons->button(QDialogButtonBox::Cancel), Qt::LeftButton);
  QApplication::processEvents();
  KivDB fresh;
  DemoSettings(Settings()).LoadControl(fresh);
  fresh.SetUserMode(false);
  EXPECT_EQ(fresh.ActivePort(), 82);
}

TEST_F(DesktopUseTest, PagesCarryTheHeadingAndDateOfThePageOptionsWhichAreKept) {
  Click("Data Browser\\Staff");
  EXPECT_TRUE(Shows("KESTREL TRADING"));  // the head writes it in capitals
  EXPECT_TRUE(Evaluate("document.title").contains("Kestrel Trading"));
  static const char* kMonths[] = {"January",   "February", "March",    "April",
                                  "May",       "June",     "July",     "August",
                                  "September", "October",  "November", "December"};
  const QDate today = QDate::currentDate();
  EXPECT_TRUE(Shows(
      QString("%1 %2 %3").arg(today.day()).arg(kMonths[today.month() - 1]).arg(today.year())));

  PageOptions options;
  options.heading = "Harbour Books";
  options.dateFormat = "yyyy";
  options.maxRows = 0;
  window_->SetPageOptions(options);
  EXPECT_TRUE(Shows("HARBOUR BOOKS"));
  EXPECT_EQ(PageOptions::Load(Settings()), options);
  // What the settings already held stays beside them.
  EXPECT_EQ(window_->Database(), copy_.ConnectionString());
  MainWindowSetup setup;
  setup.settingsFile = Settings();
  setup.pagesFolder = copy_.Pages();
  MainWindow again(std::move(setup));
  EXPECT_EQ(again.Options(), options);
  EXPECT_EQ(again.Control().MaxRows(), 0);
}

TEST_F(DesktopUseTest, BigTablesAreCutShortWithALinkToEveryRow) {
  AddBigNode(2500);
  const QString note = "[...document.querySelectorAll('p.pgl')].map(p => p.textContent).join()";
  Click("Data Browser\\Rows");
  EXPECT_EQ(Evaluate(note), "Showing 1,000 of 2,500 rows. Show every row");
  EXPECT_EQ(Number("document.querySelectorAll('td.tdl').length"), 1000);
  Evaluate("document.querySelector('a.pgl-all').click(); true");
  EXPECT_TRUE(Shows("Item 2500"));
  EXPECT_EQ(Evaluate(note), "");
  // The next page is cut short again.
  Click("Data Browser\\Rows");
  EXPECT_EQ(Evaluate(note), "Showing 1,000 of 2,500 rows. Show every row");
}

TEST_F(DesktopUseTest, ANewPageOpensAtItsTop) {
  AddBigNode(1000);
  Click("Data Browser\\Rows");
  Evaluate("window.scrollTo(0, 5000); true");
  ASSERT_GT(Number("window.scrollY"), 0);
  Click("Data Browser\\Staff");
  EXPECT_TRUE(Shows("Calloway"));
  EXPECT_EQ(Number("window.scrollY"), 0);
  Click("Data Browser\\Rows");
  EXPECT_EQ(Number("window.scrollY"), 0);
}

TEST_F(DesktopUseTest, AClickDuringABigLoadStopsItAndShowsTheNewPage) {
  AddBigNode(10000);
  PageOptions options = window_->Options();
  options.maxRows = 0;  // every row: the slowest page there is
  window_->SetPageOptions(options);
  Click("Data Browser\\Staff");
  const int messages = window_->Messages()->Count();
  QSignalSpy progress(window_->View(), &QWebEngineView::loadProgress);
  QSignalSpy ends(window_->View(), &QWebEngineView::loadFinished);
  QElapsedTimer clock;
  clock.start();
  Press("Data Browser\\Rows");
  // The big page is under way when the user clicks again.
  for (int waited = 0; progress.isEmpty() && waited < 5000; waited += 5) QTest::qWait(5);
  ASSERT_TRUE(ends.isEmpty());
  Press("Data Browser\\Staff");
  EXPECT_TRUE(Browser().WaitForLoad());
  std::printf("new page loaded %lld ms after the first click\n",
              static_cast<long long>(clock.elapsed()));
  EXPECT_TRUE(Shows("Calloway"));
  EXPECT_EQ(Number("document.querySelectorAll('tr').length") < 100, true);
  ASSERT_FALSE(ends.isEmpty());
  EXPECT_TRUE(ends.last().at(0).toBool());
  EXPECT_EQ(window_->Messages()->Count(), messages);
  EXPECT_FALSE(window_->statusBar()->currentMessage().contains("fail", Qt::CaseInsensitive));
}

TEST(WindowGeometryTest, TheDefaultSizeFitsTheScreen) {
  const QSize preferred(1280, 820);
  struct Case {
    QRect screen;
    QSize expected;
  } cases[] = {
      {QRect(0, 0, 1366, 768), QSize(1280, 720)},
      {QRect(0, 0, 1920, 1080), QSize(1280, 820)},
      {QRect(0, 0, 1024, 600), QSize(1008, 552)},
      {QRect(), QSize(1280, 820)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.screen.width());
    EXPECT_EQ(FittingSize(preferred, c.screen), c.expected);
  }
}

TEST_F(DesktopUseTest, TheWindowKeepsItsSizeAndSplitter) {
  window_->resize(900, 600);
  window_->findChild<QSplitter*>("splitter")->setSizes({200, 700});
  window_->close();
  MainWindowSetup setup;
  setup.settingsFile = Settings();
  setup.pagesFolder = copy_.Pages();
  MainWindow again(std::move(setup));
  again.show();
  EXPECT_EQ(again.size(), QSize(900, 600));
  EXPECT_EQ(again.findChild<QSplitter*>("splitter")->sizes().value(0), 200);
}

}  // namespace
}  // namespace kivdb::demo
