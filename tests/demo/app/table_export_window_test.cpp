// File > Export Tables... and "Export this table..." in the real window, offscreen, with the
// prompts answered by the test.

#include <QAction>
#include <QFile>
#include <QRect>

#include "demo/app/table_export_actions.h"
#include "tests/demo/app/window_fixture.h"

namespace kivdb::demo::testing {
namespace {

class TableExportWindowTest : public WindowTest {};

TEST_F(TableExportWindowTest, ExportsThePageOrTheTableUnderThePointerAndOpensTheFile) {
  Click("Data Browser\\Sales Overview");
  TablePrompts& prompts = window_->Tables().Prompts();
  TablePrompts::Choice answer;
  QString opened;
  QString failure;
  prompts.chooseTarget = [&](QWidget*, const QString&, bool) { return answer; };
  prompts.askOpen = [](QWidget*, const QString&) { return true; };
  prompts.open = [&](const QString& file) { opened = file; };
  prompts.failed = [&](QWidget*, const QString& text) { failure = text; };

  struct Case {
    const char* name;
    TableFormat format;
    const char* file;
    const char* start;  // the file's first bytes
  } cases[] = {
      {"the page's tables as a workbook", TableFormat::Xlsx, "page.xlsx", "PK"},
      {"the table under the pointer as CSV", TableFormat::Csv, "one.csv", "\xEF\xBB\xBFMonth,"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    answer = {QString::fromStdString((copy_.Folder() / c.file).string()), c.format};
    opened.clear();
    if (c.format == TableFormat::Xlsx) {
      window_->findChild<QAction*>("actionExportTables")->trigger();
    } else {
      const QStringList box =
          Evaluate(
              "(function(){var r=document.getElementById('TBL004').getBoundingClientRect();"
              "return [r.left + 5, r.top + 5].join(',');})()")
              .split(',');
      ASSERT_EQ(box.size(), 2);
      long id = -1;
      window_->Tables().TableAt(QPoint(qRound(box[0].toDouble()), qRound(box[1].toDouble())),
                                [&](long found) { id = found; });
      for (int waited = 0; id < 0 && waited < 10000; waited += 20) QTest::qWait(20);
      ASSERT_EQ(id, 4);
      ASSERT_TRUE(window_->Tables().Export({id})) << failure.toStdString();
    }
    EXPECT_EQ(opened, answer.path) << failure.toStdString();
    QFile file(answer.path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith(c.start));
  }
}

}  // namespace
}  // namespace kivdb::demo::testing
