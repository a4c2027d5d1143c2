// The control in real Qt widgets on a copy of the demo database: RefreshBrowser fills the
// QTreeWidget, mouse clicks on its rows expand nodes and show report pages in WebEngine, links in
// the rendered page open forms or navigate, and the page is saved and printed.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <QPrinter>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <QWebEngineView>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <kivdb/kivdb.h>
#include "tests/control/qt/qt_widgets_harness.h"

namespace kivdb::qt {
namespace {

namespace fs = std::filesystem;
using ::testing::Contains;
using ::testing::HasSubstr;

// The first column of every row of a query on the demo database.
std::vector<std::string> Column(const fs::path& database, const char* sql) {
  std::vector<std::string> out;
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK) {
      while (sqlite3_step(statement) == SQLITE_ROW) {
        out.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
      }
    }
    sqlite3_finalize(statement);
  }
  sqlite3_close(db);
  return out;
}

std::string ReadText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class ControlInQt : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = fs::temp_directory_path() / "kivdb-qt-control" / info->name();
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    // The pictures the pages name sit beside the page file, as in an exported site.
    fs::copy(KIVDB_DEMO_SITE, folder_, fs::copy_options::recursive);
    database_ = folder_ / "kestrel.db";
    fs::copy_file(KIVDB_DEMO_DATABASE, database_);

    control_.InitProperties();
    control_.SetUserMode(true);
    control_.ApplicationFolder(Variant(folder_.string()));
    control_.DAL()->ConnectionString("Provider=SQLite;Data Source=" + database_.string());
    control_.Talking(true);
    control_.OnKivDBMessage([this](const std::string& m) { events_.push_back("Message: " + m); });
    control_.OnLogIt([this](const std::string& type, const std::string& narration) {
      events_.push_back("LogIt: " + type + ": " + narration);
    });
    control_.OnOpenForm([this](const std::string& form, const std::string& id) {
      events_.push_back("OpenForm: " + form + " " + id);
    });
    control_.SetControls(*widgets_.tree, *widgets_.browser);
    control_.RefreshBrowser();
    ASSERT_TRUE(widgets_.browser->WaitForLoad());
  }
  void TearDown() override { fs::remove_all(folder_); }

  QTreeWidgetItem* TopItem() { return widgets_.treeWidget->topLevelItem(0); }
  // The child of `parent` with that caption.
  TreeNode* ChildNamed(QTreeWidgetItem* parent, const QString& caption) {
    for (int i = 0; i < parent->childCount(); ++i) {
      if (parent->child(i)->text(0) == caption) return widgets_.tree->NodeOf(parent->child(i));
    }
    return nullptr;
  }
  // A real click on the node; true when the page it shows finished loading.
  bool ClickAndLoad(TreeNode& node) {
    QSignalSpy finished(widgets_.view, &QWebEngineView::loadFinished);
    testing::ClickNode(*widgets_.tree, node);
    if (!finished.wait(20000)) return false;
    return finished.last().at(0).toBool();
  }
  QString PageText() { return testing::RunJs(*widgets_.view, "document.body.innerText"); }

  fs::path folder_;
  fs::path database_;
  testing::QtWidgets widgets_;
  KivDB control_;
  std::vector<std::string> events_;
};

TEST_F(ControlInQt, AClickOnANodeExpandsItAndShowsItsPageWithTheDatabasesValues) {
  ASSERT_EQ(widgets_.treeWidget->topLevelItemCount(), 1);
  ASSERT_EQ(TopItem()->text(0), "Data Browser");
  TreeNode* regions = ChildNamed(TopItem(), "Regions");
  ASSERT_NE(regions, nullptr);
  EXPECT_NE(ChildNamed(TopItem(), "Staff"), nullptr);
  EXPECT_FALSE(TopItem()->icon(0).isNull());

  events_.clear();
  ASSERT_TRUE(ClickAndLoad(*regions));
  QTreeWidgetItem* item = widgets_.tree->ItemOf(*regions);
  EXPECT_TRUE(item->isExpanded());
  const auto names = Column(database_, "SELECT Name FROM Regions ORDER BY Name");
  ASSERT_FALSE(names.empty());
  ASSERT_EQ(item->childCount(), static_cast<int>(names.size()));
  EXPECT_EQ(item->child(0)->text(0).toStdString(), names.front());
  EXPECT_EQ(widgets_.tree->SelectedItem(), regions);

  const QString text = PageText();
  for (const std::string& name : names) EXPECT_THAT(text.toStdString(), HasSubstr(name));
  EXPECT_EQ(widgets_.view->url().fileName(), "oReport.htm");
  EXPECT_THAT(events_, Contains("LogIt: View: Data Browser\\Regions"));
  // The pictures named relative to the page's folder loaded.
  EXPECT_EQ(testing::RunJs(*widgets_.view,
                           "String(document.images.length > 0 && Array.from(document.images)"
                           ".every(i => i.complete && i.naturalWidth > 0))"),
            "true");
}

TEST_F(ControlInQt, AFormLinkInThePageOpensTheFormAndAPlainLinkNavigates) {
  TreeNode* staff = ChildNamed(TopItem(), "Staff");
  ASSERT_NE(staff, nullptr);
  ASSERT_TRUE(ClickAndLoad(*staff));
  QTreeWidgetItem* staffItem = widgets_.tree->ItemOf(*staff);
  ASSERT_GT(staffItem->childCount(), 0);
  TreeNode* employee = widgets_.tree->NodeOf(staffItem->child(0));
  ASSERT_TRUE(ClickAndLoad(*employee));
  const std::string id = employee->Key().substr(0, 10);

  events_.clear();
  const size_t shown = widgets_.browser->History().size();
  QSignalSpy finished(widgets_.view, &QWebEngineView::loadFinished);
  ASSERT_TRUE(testing::ClickElement(*widgets_.view, "a[href*=\"^\"]"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !events_.empty(); }, 10000));
  EXPECT_THAT(events_, ::testing::ElementsAre("LogIt: Form: Form #:00002,  ID=" + id,
                                              "OpenForm: 00002 " + id));
  finished.wait(2000);  // the refused navigation reports a failed load, nothing more
  EXPECT_EQ(widgets_.browser->History().size(), shown);
  EXPECT_EQ(widgets_.view->url().fileName(), "oReport.htm");
  EXPECT_THAT(PageText().toStdString(), HasSubstr("Employee"));

  // A plain link leaves the report for the page it names.
  std::ofstream(folder_ / "plain.htm") << "<html><body><p>Plain page</p></body></html>";
  ASSERT_EQ(testing::RunJs(*widgets_.view,
                           "var a = document.createElement('a'); a.id = 'plain';"
                           "a.href = 'plain.htm'; a.textContent = 'plain link';"
                           "document.body.prepend(a); 'ok'"),
            "ok");
  QSignalSpy plainLoaded(widgets_.view, &QWebEngineView::loadFinished);
  ASSERT_TRUE(testing::ClickElement(*widgets_.view, "#plain"));
  ASSERT_TRUE(plainLoaded.wait(10000));
  EXPECT_TRUE(plainLoaded.last().at(0).toBool());
  EXPECT_EQ(widgets_.view->url().fileName(), "plain.htm");
  EXPECT_THAT(PageText().toStdString(), HasSubstr("Plain page"));
  EXPECT_EQ(widgets_.browser->Current(), (folder_ / "plain.htm").string());
}

TEST_F(ControlInQt, ThePageIsSavedAndPrintedWhereTheUserChose) {
  TreeNode* regions = ChildNamed(TopItem(), "Regions");
  ASSERT_TRUE(regions && ClickAndLoad(*regions));
  const std::string region = Column(database_, "SELECT Name FROM Regions ORDER BY Name").front();

  const fs::path saved = folder_ / "out" / "saved.htm";
  fs::create_directories(saved.parent_path());
  widgets_.browser->SetSavePrompt([&](const QString&) { return QString::fromStdString(saved); });
  events_.clear();
  control_.SavePage();
  EXPECT_THAT(events_, ::testing::ElementsAre("LogIt: Save: Data Browser\\Regions"));
  EXPECT_THAT(ReadText(saved), HasSubstr(region));

  const fs::path pdf = folder_ / "page.pdf";
  ASSERT_TRUE(widgets_.browser->PrintToPdf(QString::fromStdString(pdf)));
  QProcess pdftotext;
  pdftotext.start("pdftotext", {QString::fromStdString(pdf), "-"});
  ASSERT_TRUE(pdftotext.waitForFinished(20000));
  EXPECT_THAT(pdftotext.readAllStandardOutput().toStdString(), HasSubstr(region));

  const fs::path printed = folder_ / "printed.pdf";
  widgets_.browser->SetPrintPrompt([&](QPrinter& printer) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(printed));
    return true;
  });
  events_.clear();
  control_.PrintPage();
  EXPECT_THAT(events_, ::testing::ElementsAre("LogIt: Print: Data Browser\\Regions"));
  EXPECT_GT(fs::file_size(printed), 1000u);

  // A cancelled prompt is reported, and nothing is logged.
  widgets_.browser->SetSavePrompt([](const QString&) { return QString(); });
  events_.clear();
  control_.SavePage();
  EXPECT_THAT(events_,
              ::testing::ElementsAre("Message: Save Command Error: The command was cancelled"));
}

}  // namespace
}  // namespace kivdb::qt
