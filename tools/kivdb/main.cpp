// kivdb: the headless command-line host of the report control.

#include <kivdb/version.h>
#include <CLI/CLI.hpp>
#include <exception>
#include <iostream>
#include <string>

#include "tools/kivdb/click_command.h"
#include "tools/kivdb/export_command.h"
#include "tools/kivdb/scheme_commands.h"
#include "tools/kivdb/table_command.h"

int main(int argc, char** argv) {
  using kivdb::tool::ClickOptions;
  ClickOptions options;

  CLI::App app{"kivdb: the KivDB report control without a screen"};
  app.require_subcommand(1);
  app.set_version_flag("--version", std::string("kivdb ") + kivdb::LibraryVersion(),
                       "print the version of the KivDB library and exit");
  CLI::App* click = app.add_subcommand(
      "click", "Build the tree, click nodes by path and print every event and navigation");
  click->add_option("--connect", options.connect, "DAL connection string")->required();
  click->add_option("--folder", options.folder,
                    "ApplicationFolder, where the pages are written (default: current folder)");
  click->add_option("--role", options.role, "UserRole");
  click->add_option("--heading", options.heading, "Heading (%StoreName% of the page head)");
  click->add_option("--date-format", options.dateFormat, "DateFormat picture of the page date");
  click->add_flag("--display-path", options.displayPath, "write the node path under each page");
  click->add_flag("--talking", options.talking, "report failures through KivDBMessage");
  click->add_flag("--keep", options.keep, "copy every page shown to FOLDER/page-N.htm");
  click->add_flag("--tree", options.tree, "print the tree at the end");
  click->add_option("--follow", options.follow, "pass URL to BeforeNavigate2 (repeatable)")
      ->allow_extra_args(false);
  click
      ->add_option("--query-timeout", options.queryTimeout,
                   "stop a read after N seconds (QueryTimeout; default 0: no limit)")
      ->check(CLI::NonNegativeNumber);
  click
      ->add_option("--max-rows", options.maxRows,
                   "show at most N rows per table (MaxRows; default 0: no limit)")
      ->check(CLI::NonNegativeNumber);
  click->add_option("PATH", options.paths, "full paths of the nodes to click, in order");

  kivdb::tool::ExportOptions exportOptions;
  CLI::App* exportPages = app.add_subcommand(
      "export", "Open every node of the tree and keep its page: a site for a plain browser");
  exportPages->add_option("--connect", exportOptions.connect, "DAL connection string")->required();
  exportPages->add_option("--out", exportOptions.out, "the site folder (created when missing)")
      ->required();
  exportPages->add_option("--role", exportOptions.role, "UserRole");
  exportPages->add_option("--heading", exportOptions.heading,
                          "Heading (%StoreName% of the pages), also the index's title");
  exportPages->add_option("--date-format", exportOptions.dateFormat,
                          "DateFormat picture of the page date");
  exportPages->add_option("--max-nodes", exportOptions.maxNodes,
                          "open at most N nodes (default 10000)");
  exportPages
      ->add_option("--query-timeout", exportOptions.queryTimeout,
                   "stop a read after N seconds (QueryTimeout; default 0: no limit)")
      ->check(CLI::NonNegativeNumber);
  exportPages
      ->add_option("--max-rows", exportOptions.maxRows,
                   "show at most N rows per table (MaxRows; default 0: no limit)")
      ->check(CLI::NonNegativeNumber);
  exportPages->add_flag("--keep-going", exportOptions.keepGoing,
                        "export past pages whose data could not be read, marking them (exit 1)");
  exportPages
      ->add_option("--tables", exportOptions.tables,
                   "also write each page's tables beside it, as csv or xlsx, linked from the index")
      ->check(CLI::IsMember({"csv", "xlsx"}));

  kivdb::tool::TableOptions tableOptions;
  CLI::App* table = app.add_subcommand(
      "table", "Write the tables of one page, every row, as a workbook or as CSV");
  table->add_option("--connect", tableOptions.connect, "DAL connection string")->required();
  table->add_option("--node", tableOptions.node, "full path of the node, Data Browser\\...")
      ->required();
  table
      ->add_option("--paragraph", tableOptions.paragraphs,
                   "the paragraph ID of a table, repeatable (default: every table of the page)")
      ->allow_extra_args(false);
  table->add_option("--format", tableOptions.format, "csv or xlsx (default xlsx)")
      ->check(CLI::IsMember({"csv", "xlsx"}));
  table->add_option("--out", tableOptions.out, "the file to write")->required();
  table->add_option("--role", tableOptions.role, "UserRole");
  table->add_option("--date-format", tableOptions.dateFormat,
                    "DateFormat picture of the workbook's date cells");
  table
      ->add_option("--query-timeout", tableOptions.queryTimeout,
                   "stop a read after N seconds (QueryTimeout; default 0: no limit)")
      ->check(CLI::NonNegativeNumber);
  table->add_flag("--bom", tableOptions.byteOrderMark,
                  "CSV: begin with a UTF-8 byte-order mark (for Excel)");

  const kivdb::tool::SchemeCommands schemeCommands(app);

  try {
    app.parse(argc, argv);
  } catch (const CLI::Success& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return kivdb::tool::kExitUsage;
  }
  try {
    if (*table) return kivdb::tool::RunTable(tableOptions, std::cout, std::cerr);
    if (const auto status = schemeCommands.Run(std::cout, std::cerr)) return *status;
    if (*exportPages) return kivdb::tool::RunExport(exportOptions, std::cout, std::cerr);
    return kivdb::tool::RunClick(options, std::cout, std::cerr);
  } catch (const std::exception& e) {
    // The control reports its own failures as events; this is the host itself failing.
    std::cout.flush();
    std::cerr << "error: " << e.what() << "\n";
    return 1;
  }
}
