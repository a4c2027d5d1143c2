// The demo's build steps: the database, its pictures and the scheme files kept in demo/.

#include "demo/demo_database.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "demo/demo_pictures.h"
#include "demo/scheme_files.h"
#include "demo/sqlite_file.h"
#include "tests/demo/gif_reader.h"
#include "wizard/model/nav_schemes.h"

namespace kivdb::demo {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

const fs::path kSource = KIVDB_DEMO_SOURCE;
const fs::path kDatabase = KIVDB_DEMO_DATABASE;
const fs::path kSchemes = KIVDB_DEMO_SCHEMES;

std::string Read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

fs::path Fresh(const std::string& name) {
  const fs::path folder = fs::path(::testing::TempDir()) / "kivdb-demo" / name;
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder;
}

std::string Value(SqliteFile& db, const std::string& sql) {
  std::string value;
  db.Query(sql, [&](const std::vector<std::string>& columns) { value = columns.at(0); });
  return value;
}

TEST(DemoSchemes, TheFilesInDemoAreTheWizardsFilesOfTheDatabase) {
  for (const char* name : {"XST1.txt", "XST2.txt"}) {
    EXPECT_EQ(Read(kSource / name), Read(kSchemes / name))
        << "demo/" << name << " differs from the database's schemes; after changing "
        << "kestrel.sql copy the build's demo/schemes/" << name << " over it";
  }
}

TEST(DemoSchemes, TheWizardLoadsThemWithEveryRow) {
  kivwz::clsNavSchemes navs;
  ASSERT_TRUE(navs.LoadData((kSource / "XST1.txt").string()));
  ASSERT_TRUE(navs.LoadWeb((kSource / "XST2.txt").string()));
  SqliteFile db(kDatabase, SqliteFile::Mode::ReadOnly);
  EXPECT_EQ(std::to_string(navs.Count()), Value(db, "SELECT count(*) FROM XST1"));
  EXPECT_EQ(std::to_string(navs.oWebs.Count()), Value(db, "SELECT count(*) FROM XST2"));
  const auto customer = navs.Item("5");
  ASSERT_TRUE(customer);
  EXPECT_EQ(customer->queryIs(), "spG_CustomerOrders");
  EXPECT_EQ(customer->parmIs(), "CKey05");
}

TEST(DemoSchemes, RefuseRowsTheFilesWouldChange) {
  struct Case {
    const char* name;
    const char* change;
    const char* says;
  };
  const Case cases[] = {
      {"a comma in a caption", "UPDATE XST1 SET descriptionIs = 'Sales, overview' WHERE ID = 2",
       "holds a comma or a double quote"},
      {"a query on an N node", "UPDATE XST1 SET queryIs = 'spG_X' WHERE ID = 6",
       "holds no query or parameter in the wizard"},
      {"a node outside the tree", "UPDATE XST1 SET parentIs = 99 WHERE ID = 15",
       "does not hang below the root"},
      {"a loop of parents", "UPDATE XST1 SET parentIs = 14 WHERE ID = 12",
       "does not hang below the root"},
      {"two roots", "UPDATE XST1 SET parentIs = 0 WHERE ID = 2", "exactly one root row"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path folder = Fresh("schemes");
    fs::copy_file(kDatabase, folder / "demo.db");
    {
      SqliteFile db(folder / "demo.db", SqliteFile::Mode::Create);
      db.Exec(c.change);
    }
    try {
      WriteSchemeFiles(folder / "demo.db", folder);
      ADD_FAILURE() << "written";
    } catch (const std::runtime_error& e) {
      EXPECT_THAT(e.what(), HasSubstr(c.says));
    }
    EXPECT_FALSE(fs::exists(folder / "XST1.txt"));
  }
}

TEST(DemoDatabase, HoldsTheTemplateThePagesNeed) {
  SqliteFile db(kDatabase, SqliteFile::Mode::ReadOnly);
  const std::string head = Value(db, "SELECT contentIs FROM XST3 WHERE ID = 2");
  // The control continues the page right after the head, inside its open DIV.
  EXPECT_THAT(head, ::testing::EndsWith("<DIV id=\"page\">"));
  for (const char* name : {"pgl", "pgr", "mh", "ph", "hn", "hvr", "hvl", "tdl", "tdr", "thc", "tfl",
                           "tfr", "cal", "cdv", "ctl"}) {
    EXPECT_THAT(head, HasSubstr("." + std::string(name) + " {")) << "no style for " << name;
  }
  for (const char* id : {"CGR", "CTL", "ROW", "SHP", "DTL", "DISPALL"}) {
    EXPECT_THAT(head, HasSubstr(id)) << "the script does not answer " << id;
  }
  const std::string front = Value(db, "SELECT contentIs FROM XST3 WHERE ID = 1");
  EXPECT_THAT(front, HasSubstr("</HTML>\r\n"));
  EXPECT_EQ(front.find("\n"), front.find("\r\n") + 1) << "lines end with CR LF";
}

TEST(DemoDatabase, EveryProductHasAPhotoThatDecodes) {
  SqliteFile db(kDatabase, SqliteFile::Mode::ReadOnly);
  // A blob never equals a text, so the signature is compared in hexadecimal: "GIF89a".
  EXPECT_EQ(Value(db,
                  "SELECT count(*) FROM Products WHERE Picture IS NULL "
                  "OR hex(substr(Picture, 1, 6)) <> '474946383961'"),
            "0");
  std::string error;
  const std::optional<IndexedImage> photo = testing::DecodeGif(ProductPicture(3, 7, 240), error);
  ASSERT_TRUE(photo) << error;
  EXPECT_EQ(photo->width, 240);
  EXPECT_EQ(photo->height, 240);
}

TEST(DemoDatabase, AFailedBuildLeavesThePreviousDatabase) {
  const fs::path folder = Fresh("failed");
  fs::create_directories(folder / "source" / "template");
  fs::copy_file(kSource / "template" / "front_page.html",
                folder / "source" / "template" / "front_page.html");
  fs::copy_file(kSource / "template" / "page_head.html",
                folder / "source" / "template" / "page_head.html");
  std::ofstream(folder / "source" / "kestrel.sql") << "CREATE TABLE Broken (";
  fs::copy_file(kDatabase, folder / "demo.db");
  const std::string before = Read(folder / "demo.db");
  EXPECT_THROW(BuildDemoDatabase(folder / "source", folder / "demo.db"), std::runtime_error);
  EXPECT_EQ(Read(folder / "demo.db"), before);
}

TEST(DemoPictures, ArePageAndProductPicturesThatDecode) {
  const fs::path folder = Fresh("pictures");
  WriteDemoPictures(kDatabase, folder / "site");
  for (const char* name :
       {"circle.gif", "chart.gif", "cbg.gif", "plus.gif", "products/p01.gif", "products/p15.gif"}) {
    SCOPED_TRACE(name);
    const std::string bytes = Read(folder / "site" / name);
    std::string error;
    EXPECT_TRUE(testing::DecodeGif(std::vector<uint8_t>(bytes.begin(), bytes.end()), error))
        << error;
  }
}

TEST(DemoPictures, RefuseAPictureNameOutsideTheFolder) {
  const fs::path folder = Fresh("outside");
  for (const char* name : {"../escape.gif", "/tmp/escape.gif", "a/../../escape.gif"}) {
    SCOPED_TRACE(name);
    fs::remove(folder / "demo.db");
    {
      SqliteFile db(folder / "demo.db", SqliteFile::Mode::Create);
      db.Exec("CREATE TABLE Products (ID INTEGER, CategoryID INTEGER, PictureFile TEXT)");
      db.Run("INSERT INTO Products VALUES (1, 1, ?1)", {name});
    }
    EXPECT_THROW(WriteDemoPictures(folder / "demo.db", folder / "site"), std::runtime_error);
    EXPECT_FALSE(fs::exists(folder / "escape.gif"));
  }
}

TEST(WithCrLf, EndsEveryLineWithCrLf) {
  const std::pair<const char*, const char*> cases[] = {
      {"", ""},
      {"a", "a\r\n"},
      {"a\nb\n", "a\r\nb\r\n"},
      {"a\r\nb", "a\r\nb\r\n"},
      {"a\n\nb", "a\r\n\r\nb\r\n"},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(WithCrLf(text), expected) << "from \"" << text << "\"";
  }
}

}  // namespace
}  // namespace kivdb::demo
