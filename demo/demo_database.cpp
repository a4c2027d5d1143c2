#include "demo/demo_database.h"

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include "demo/demo_pictures.h"
#include "demo/sqlite_file.h"

namespace kivdb::demo {
namespace {

namespace fs = std::filesystem;

// The product photo on a product's page, and the smaller copy catalogue pages show.
constexpr int kPhotoSize = 240;
constexpr int kThumbnailSize = 120;

std::string ReadText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteBytes(const fs::path& file, const std::vector<uint8_t>& bytes) {
  std::error_code error;
  fs::create_directories(file.parent_path(), error);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

// The place of a product's picture file inside `folder`; refuses names that would leave it.
fs::path PictureFilePath(const fs::path& folder, const std::string& name) {
  const fs::path relative = fs::path(name).lexically_normal();
  if (name.empty() || relative.is_absolute() || relative.has_root_name() ||
      (!relative.empty() && *relative.begin() == "..")) {
    throw std::runtime_error("the picture file name '" + name +
                             "' is not a relative path inside the picture folder");
  }
  return folder / relative;
}

struct Product {
  int id = 0;
  int category = 0;
  std::string pictureFile;
};

std::vector<Product> Products(SqliteFile& db) {
  std::vector<Product> products;
  db.Query("SELECT ID, CategoryID, PictureFile FROM Products ORDER BY ID",
           [&](const std::vector<std::string>& c) {
             products.push_back({std::stoi(c[0]), c[1].empty() ? 0 : std::stoi(c[1]), c[2]});
           });
  return products;
}

}  // namespace

void BuildDemoDatabase(const fs::path& sourceFolder, const fs::path& database) {
  const std::string script = ReadText(sourceFolder / "kestrel.sql");
  // The control writes the front page and the page head as they are, so their lines end as
  // every other line of a page does. The page head's last line break is dropped: the control
  // continues the open DIV with the page's first line.
  const std::string frontPage = WithCrLf(ReadText(sourceFolder / "template" / "front_page.html"));
  std::string pageHead = WithCrLf(ReadText(sourceFolder / "template" / "page_head.html"));
  if (pageHead.size() >= 2) pageHead.erase(pageHead.size() - 2);

  fs::path building = database;
  building += ".building";
  std::error_code error;
  fs::remove(building, error);
  {
    SqliteFile db(building, SqliteFile::Mode::Create);
    db.Exec("BEGIN");
    db.Exec(script);
    db.Run("INSERT INTO XST3 (ID, nameIs, contentIs) VALUES (1, 'front page', ?1)", {frontPage});
    db.Run("INSERT INTO XST3 (ID, nameIs, contentIs) VALUES (2, 'page head', ?1)", {pageHead});
    for (const Product& product : Products(db)) {
      const std::vector<uint8_t> photo = ProductPicture(product.category, product.id, kPhotoSize);
      db.Run("UPDATE Products SET Picture = ?2 WHERE ID = ?1", {std::to_string(product.id)},
             &photo);
    }
    db.Exec("COMMIT");
  }
  fs::rename(building, database, error);
  if (error) {
    throw std::runtime_error("cannot move " + building.string() + " to " + database.string() +
                             ": " + error.message());
  }
}

void WriteDemoPictures(const fs::path& database, const fs::path& folder) {
  std::error_code error;
  fs::create_directories(folder, error);
  if (error) throw std::runtime_error("cannot create " + folder.string() + ": " + error.message());
  for (const PictureFile& picture : PagePictures())
    WriteBytes(folder / picture.name, picture.bytes);
  SqliteFile db(database, SqliteFile::Mode::ReadOnly);
  for (const Product& product : Products(db)) {
    if (product.pictureFile.empty()) continue;
    WriteBytes(PictureFilePath(folder, product.pictureFile),
               ProductPicture(product.category, product.id, kThumbnailSize));
  }
}

}  // namespace kivdb::demo
