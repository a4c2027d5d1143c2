// The File menu's commands on the page shown: Save Page As, Print and Export PDF, each through
// a prompt the test answers.
#include <QAction>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QStatusBar>

#include "tests/demo/app/window_fixture.h"

namespace kivdb::demo {
namespace {

class PageCommandsTest : public testing::WindowTest {
 protected:
  QAction* Action(const char* name) {
    auto* action = window_->findChild<QAction*>(name);
    EXPECT_NE(action, nullptr) << name;
    return action;
  }
};

TEST_F(PageCommandsTest, SavesAndExportsTheShownPage) {
  Click("Data Browser\\Staff");
  const QString saved = QString::fromStdString((copy_.Folder() / "staff.htm").string());
  Browser().SetSavePrompt([&](const QString&) { return saved; });
  Action("actionSavePage")->trigger();
  QFile page(saved);
  ASSERT_TRUE(page.open(QIODevice::ReadOnly));
  EXPECT_TRUE(page.readAll().contains("Calloway"));
  EXPECT_TRUE(window_->statusBar()->currentMessage().startsWith("Save: Data Browser"));

  answerFile_ = QString::fromStdString((copy_.Folder() / "staff.pdf").string());
  Action("actionExportPdf")->trigger();
  ASSERT_TRUE(QFile::exists(*answerFile_));
  QProcess text;
  text.start("pdftotext", {*answerFile_, "-"});
  ASSERT_TRUE(text.waitForFinished(20000));
  EXPECT_TRUE(text.readAllStandardOutput().contains("Calloway"));
}

TEST_F(PageCommandsTest, PrintsThroughThePrintPrompt) {
  Click("Data Browser\\Staff");
  const QString file = QString::fromStdString((copy_.Folder() / "printed.pdf").string());
  Browser().SetPrintPrompt([&](QPrinter& printer) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    return true;
  });
  Action("actionPrint")->trigger();
  EXPECT_TRUE(window_->statusBar()->currentMessage().startsWith("Print: Data Browser"));
  EXPECT_GT(QFile(file).size(), 0);
}

}  // namespace
}  // namespace kivdb::demo
