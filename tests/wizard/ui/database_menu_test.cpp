// The File menu's database items on a real SQLite database, and the connection dialog.

#include <QLineEdit>
#include <QRadioButton>
#include <filesystem>

#include "tests/wizard/ui/main_window_fixture.h"
#include "tools/kivdb/scheme_store.h"
#include "wizard/ui/connection_dialog.h"
#include "wizard/ui/database_commands.h"

namespace kivwz::test {
namespace {

namespace fs = std::filesystem;

TEST_F(MainWindowTest, TheDatabaseItemsOpenCheckAndPublishTheDesign) {
  const std::string demoFile = files_.File("demo.db");
  fs::copy_file(KIVDB_DEMO_DATABASE, demoFile);
  const std::string demo = "Provider=SQLite;Data Source=" + demoFile;
  const std::string fresh =
      "Provider=SQLite;Mode=ReadWriteCreate;Data Source=" + files_.File("new.db");
  std::optional<std::string> answer = demo;
  std::vector<std::string> titles;
  main_->Database().SetAsk([&](const std::string& title) {
    titles.push_back(title);
    return answer;
  });

  Trigger("mnuDbOpen");
  EXPECT_EQ(Navs().Count(), 15);
  EXPECT_EQ(Navs().oWebs.Count(), 26);
  EXPECT_NE(main_->Tree().ItemOf("N1"), nullptr);

  Trigger("mnuDbCheck");
  ASSERT_FALSE(windows_.outputs.empty());
  EXPECT_NE(windows_.outputs.back().find("Every query the schemes name exists"), std::string::npos)
      << windows_.outputs.back();

  answer = fresh;
  Trigger("mnuDbPublish");
  ASSERT_FALSE(messages_.Shown().empty());
  EXPECT_EQ(messages_.Shown().back().rfind("Published 15 nodes and 26 paragraphs", 0), 0u)
      << messages_.Shown().back();
  kivdb::DAL dal;
  dal.ConnectionString(fresh);
  clsNavSchemes published;
  std::string error;
  ASSERT_TRUE(kivdb::schemes::ReadSchemes(dal, published, error)) << error;
  EXPECT_EQ(published.Count(), 15);

  // Cancelling the dialog changes nothing; a database without schemes is told, not loaded.
  answer.reset();
  Trigger("mnuDbOpen");
  answer = "Provider=SQLite;Mode=ReadWriteCreate;Data Source=" + files_.File("empty.db");
  Trigger("mnuDbOpen");
  EXPECT_EQ(Navs().Count(), 15);
  EXPECT_NE(messages_.Shown().back().find("could not be read"), std::string::npos);
  EXPECT_EQ(titles.front(), "Open from Database");
}

TEST(ConnectionTest, PasswordsAreLeftOutOfWhatIsRemembered) {
  struct Case {
    const char* connection;
    const char* kept;
  };
  const Case cases[] = {
      {"Driver={PostgreSQL Unicode};Server=h;Uid=u;Pwd=secret",
       "Driver={PostgreSQL Unicode};Server=h;Uid=u"},
      {"DSN=shop;PASSWORD={a;b};Uid=u", "DSN=shop;Uid=u"},
      {" pwd = x ;Server=h", "Server=h"},
      {"Provider=SQLite;Data Source=/tmp/a;b.db", "Provider=SQLite;Data Source=/tmp/a;b.db"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.connection);
    EXPECT_EQ(WithoutPassword(c.connection), c.kept);
  }

  ConnectionDialog dialog(QStringLiteral("Check against Database"));
  dialog.findChild<QRadioButton*>(QStringLiteral("optOdbc"))->setChecked(true);
  dialog.findChild<QLineEdit*>(QStringLiteral("txtConnection"))
      ->setText(QStringLiteral("DSN=shop;Pwd=old"));
  dialog.findChild<QLineEdit*>(QStringLiteral("txtPassword"))->setText(QStringLiteral("n;ew"));
  EXPECT_EQ(dialog.Connection(), "DSN=shop;Pwd={n;ew}");
  dialog.findChild<QRadioButton*>(QStringLiteral("optSqlite"))->setChecked(true);
  dialog.findChild<QLineEdit*>(QStringLiteral("txtFile"))->setText(QStringLiteral("/data/shop.db"));
  EXPECT_EQ(dialog.Connection(), "Provider=SQLite;Data Source=/data/shop.db");
}

}  // namespace
}  // namespace kivwz::test
