// kivdb-demo: builds the demonstration database, its pictures and its scheme text files.
//
//   kivdb-demo --source demo --database kestrel.db [--pictures SITE] [--schemes DIR]
//
// The pictures go where the report pages will be written (the pages refer to them relatively);
// the scheme files are the wizard's XST1.txt and XST2.txt of the database's schemes.

#include <CLI/CLI.hpp>
#include <exception>
#include <iostream>

#include "demo/demo_database.h"
#include "demo/scheme_files.h"

int main(int argc, char** argv) {
  std::string source, database, pictures, schemes;
  CLI::App app{"kivdb-demo: builds the KivDB demonstration database"};
  app.add_option("--source", source, "the demo source folder (kestrel.sql, template/)")->required();
  app.add_option("--database", database, "the SQLite file to create (replaced)")->required();
  app.add_option("--pictures", pictures, "folder for the page and product pictures");
  app.add_option("--schemes", schemes, "folder for XST1.txt and XST2.txt");
  CLI11_PARSE(app, argc, argv);

  try {
    kivdb::demo::BuildDemoDatabase(source, database);
    if (!pictures.empty()) kivdb::demo::WriteDemoPictures(database, pictures);
    if (!schemes.empty()) kivdb::demo::WriteSchemeFiles(database, schemes);
  } catch (const std::exception& e) {
    std::cerr << "kivdb-demo: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
