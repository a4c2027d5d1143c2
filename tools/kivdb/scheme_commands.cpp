#include "tools/kivdb/scheme_commands.h"

#include <CLI/CLI.hpp>
#include <filesystem>
#include <ostream>

#include <kivdb/dal.h>
#include "tools/kivdb/page_template.h"
#include "tools/kivdb/scheme_check.h"
#include "tools/kivdb/scheme_store.h"
#include "wizard/model/analysis.h"
#include "wizard/model/nav_schemes.h"

namespace kivdb::tool {
namespace {

using schemes::DialectOf;

// A DAL on the connection string, or nothing (after the message) when no connection opens.
std::unique_ptr<DAL> Connect(const SchemeOptions& options, std::ostream& err) {
  auto dal = std::make_unique<DAL>();
  dal->ConnectionString(options.connect);
  dal->QueryTimeout(options.queryTimeout);
  if (!dal->TransBegin()) {
    err << "error: cannot connect: " << dal->LastError() << "\n";
    return nullptr;
  }
  dal->TransRollback();
  return dal;
}

// Connects and reads the schemes of the database into `navs`: the DAL, or nothing (after the
// message) with the exit code in `exitCode`.
std::unique_ptr<DAL> ConnectAndRead(const SchemeOptions& options, kivwz::clsNavSchemes& navs,
                                    std::ostream& err, int& exitCode) {
  std::unique_ptr<DAL> dal = Connect(options, err);
  if (!dal) {
    exitCode = kExitNoConnection;
    return nullptr;
  }
  std::string error;
  if (!schemes::ReadSchemes(*dal, navs, error)) {
    err << "error: " << error << "\n";
    exitCode = kExitFindings;
    return nullptr;
  }
  return dal;
}

bool LoadFiles(const SchemeOptions& options, kivwz::clsNavSchemes& navs, std::ostream& err) {
  if (!navs.LoadData(options.nav)) {
    err << "error: cannot read " << options.nav << "\n";
    return false;
  }
  if (!navs.LoadWeb(options.web)) {
    err << "error: cannot read " << options.web << "\n";
    return false;
  }
  if (navs.Count() == 0) {
    err << "error: " << options.nav << " holds no node\n";
    return false;
  }
  return true;
}

void AddConnect(CLI::App* command, SchemeOptions& options) {
  command->add_option("--connect", options.connect, "DAL connection string")->required();
}

}  // namespace

SchemeCommands::SchemeCommands(CLI::App& app) {
  CLI::App* schemes = app.add_subcommand(
      "schemes", "Publish the wizard's scheme files to a database, fetch them back, undo");
  schemes->require_subcommand(1);
  push_ = schemes->add_subcommand(
      "push", "Replace XST1 and XST2 with XST1.txt and XST2.txt (the old rows are kept)");
  AddConnect(push_, options_);
  push_->add_option("XST1", options_.nav, "the navigation scheme file, XST1.txt")->required();
  push_->add_option("XST2", options_.web, "the display scheme file, XST2.txt")->required();
  push_->add_option("--template", options_.pageTemplate,
                    "XST3 when the database has none: starter (default), demo, an HTML file (the "
                    "front page) or a folder holding front_page.html and page_head.html");
  push_->add_flag("--force", options_.force, "publish even when the analyses find broken rules");
  pull_ = schemes->add_subcommand("pull", "Write XST1.txt and XST2.txt from the database");
  AddConnect(pull_, options_);
  pull_->add_option("--out", options_.out, "the folder of the files (created when missing)")
      ->required();
  undo_ = schemes->add_subcommand("undo", "Put back the rows the last push replaced");
  AddConnect(undo_, options_);

  check_ = app.add_subcommand(
      "check", "Run every query the schemes name and check what it returns against its type");
  AddConnect(check_, options_);
  check_->add_option("--role", options_.role, "check only what this UserRole may open");
  check_->add_option("--format", options_.format, "text (default) or json")
      ->check(CLI::IsMember({"text", "json"}));
  check_
      ->add_option("--query-timeout", options_.queryTimeout,
                   "stop a trial run after N seconds (default 30; 0: no limit)")
      ->check(CLI::NonNegativeNumber);
}

std::optional<int> SchemeCommands::Run(std::ostream& out, std::ostream& err) const {
  if (*push_) return RunPush(options_, out, err);
  if (*pull_) return RunPull(options_, out, err);
  if (*undo_) return RunUndo(options_, out, err);
  if (*check_) return RunCheck(options_, out, err);
  return std::nullopt;
}

int RunPush(const SchemeOptions& options, std::ostream& out, std::ostream& err) {
  kivwz::clsNavSchemes navs;
  if (!LoadFiles(options, navs, err)) return kExitFindings;
  {
    // The web analysis renumbers what it is given: it works on a copy of the design.
    kivwz::clsNavSchemes checked;
    LoadFiles(options, checked, err);
    const kivwz::Analysis nav = kivwz::AnalyseNav(checked);
    const kivwz::Analysis web = kivwz::AnalyseWeb(checked.oWebs, checked);
    const std::size_t broken = nav.observations - nav.remarks + web.observations - web.remarks;
    if (broken > 0) {
      err << nav.text << web.text;
      if (!options.force) {
        err << "error: the analyses report broken rules; nothing was published (--force "
               "publishes anyway)\n";
        return kExitFindings;
      }
    }
  }
  schemes::PageTemplate pages;
  std::string error;
  if (!schemes::LoadPageTemplate(options.pageTemplate, pages, error)) {
    err << "error: " << error << "\n";
    return kExitFindings;
  }
  const std::unique_ptr<DAL> dal = Connect(options, err);
  if (!dal) return kExitNoConnection;
  if (!schemes::PushSchemes(*dal, DialectOf(options.connect), navs, pages, error)) {
    err << "error: nothing was published: " << error << "\n";
    return kExitFindings;
  }
  out << "published " << navs.Count() << " nodes and " << navs.oWebs.Count()
      << " paragraphs; 'kivdb schemes undo' puts the previous rows back\n";
  return 0;
}

int RunPull(const SchemeOptions& options, std::ostream& out, std::ostream& err) {
  kivwz::clsNavSchemes navs;
  int exitCode = 0;
  if (!ConnectAndRead(options, navs, err, exitCode)) return exitCode;
  std::string error;
  std::error_code made;
  std::filesystem::create_directories(options.out, made);
  if (!schemes::WriteSchemeFiles(navs, options.out, error)) {
    err << "error: " << error << "\n";
    return kExitFindings;
  }
  out << "wrote XST1.txt (" << navs.Count() << " nodes) and XST2.txt (" << navs.oWebs.Count()
      << " paragraphs) to " << options.out << "\n";
  return 0;
}

int RunUndo(const SchemeOptions& options, std::ostream& out, std::ostream& err) {
  const std::unique_ptr<DAL> dal = Connect(options, err);
  if (!dal) return kExitNoConnection;
  std::string error;
  if (!schemes::UndoPush(*dal, error)) {
    err << "error: " << error << "\n";
    return kExitFindings;
  }
  out << "the rows the last push replaced are back in XST1 and XST2\n";
  return 0;
}

int RunCheck(const SchemeOptions& options, std::ostream& out, std::ostream& err) {
  kivwz::clsNavSchemes navs;
  int exitCode = 0;
  const std::unique_ptr<DAL> dal = ConnectAndRead(options, navs, err, exitCode);
  if (!dal) return exitCode;
  schemes::CheckOptions check;
  check.dialect = DialectOf(options.connect);
  check.role = options.role;
  const std::vector<schemes::Finding> findings = schemes::CheckSchemes(*dal, navs, check);
  bool failed = false;
  for (const schemes::Finding& finding : findings) failed = failed || !finding.warning;
  if (options.format == "json") {
    out << schemes::FindingsJson(findings);
  } else {
    for (const schemes::Finding& finding : findings) out << schemes::FindingLine(finding) << "\n";
  }
  return failed ? kExitFindings : 0;
}

}  // namespace kivdb::tool
