// A host application that knows KivDB only as installed: it reads the demo database through DAL,
// then binds the control to an in-memory tree and browser and clicks one node, printing what it
// sees for the consumer test to compare.

#include <iostream>
#include <memory>
#include <string>

#include <kivdb/dal.h>
#include <kivdb/kivdb.h>
#include <kivdb/memory_browser.h>
#include <kivdb/memory_tree_view.h>
#include <kivdb/version.h>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: kivdb_host DATABASE FOLDER NODE-PATH\n";
    return 2;
  }
  const std::string connect = std::string("Provider=SQLite;Data Source=") + argv[1];
  std::cout << "Headers: " << KIVDB_VERSION << ", library: " << kivdb::LibraryVersion() << "\n";

  kivdb::DAL dal;
  dal.ConnectionString(connect);
  std::shared_ptr<kivdb::Recordset> regions;
  if (!dal.ReadRecordset("SELECT ID, Name FROM Regions ORDER BY ID", regions)) {
    std::cerr << "DAL: " << dal.LastError() << "\n";
    return 1;
  }
  for (regions->MoveFirst(); !regions->Eof(); regions->MoveNext()) {
    std::cout << "Region " << regions->Fields("ID").Value().ToText() << ": "
              << regions->Fields("Name").Value().ToText() << "\n";
  }

  kivdb::KivDB control;
  control.SetUserMode(true);
  control.ApplicationFolder(kivdb::Variant(std::string(argv[2])));
  control.DAL()->ConnectionString(connect);
  control.Talking(true);
  control.OnKivDBMessage([](const std::string& text) { std::cout << "Message: " << text << "\n"; });
  control.OnLogIt([](const std::string& type, const std::string& narration) {
    std::cout << "LogIt: " << type << ": " << narration << "\n";
  });

  kivdb::MemoryTreeView tree;
  kivdb::MemoryBrowser browser;
  browser.SetNavigateObserver(
      [](const std::string& address) { std::cout << "Navigate: " << address << "\n"; });
  control.SetControls(tree, browser);
  control.RefreshBrowser();
  kivdb::TreeNode* node = tree.FindByPath(argv[3]);
  if (!node) {
    std::cerr << "no node " << argv[3] << "\n";
    return 1;
  }
  tree.Click(*node);
  tree.Walk([](kivdb::TreeNode& each, int depth) {
    std::cout << std::string(static_cast<size_t>(depth) * 2, ' ') << each.Text() << "\n";
  });
  return 0;
}
