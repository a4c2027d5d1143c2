#include "wizard/ui/database_commands.h"

#include <kivdb/dal.h>

#include "tools/kivdb/page_template.h"
#include "tools/kivdb/scheme_check.h"
#include "tools/kivdb/scheme_store.h"
#include "wizard/model/analysis.h"

namespace kivwz {
namespace {

namespace schemes = kivdb::schemes;

// Stops each trial run of the check that takes longer, so a hung query cannot hang the window.
constexpr int kCheckQueryTimeout = 30;

// The parts of a connection string, split at the semicolons outside quotes and braces.
std::vector<std::string> Parts(const std::string& connection) {
  std::vector<std::string> parts(1);
  char closing = 0;
  for (const char c : connection) {
    if (closing != 0) {
      if (c == closing) closing = 0;
    } else if (c == '{') {
      closing = '}';
    } else if (c == '"' || c == '\'') {
      closing = c;
    } else if (c == ';') {
      parts.emplace_back();
      continue;
    }
    parts.back() += c;
  }
  return parts;
}

std::string KeyOfPart(const std::string& part) {
  std::string key = part.substr(0, part.find('='));
  std::string lower;
  for (const char c : key) {
    if (c != ' ' && c != '\t') lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  }
  return lower;
}

}  // namespace

std::string WithoutPassword(const std::string& connection) {
  std::string kept;
  bool first = true;
  for (const std::string& part : Parts(connection)) {
    const std::string key = KeyOfPart(part);
    if (key == "pwd" || key == "password") continue;
    if (!first) kept += ';';
    kept += part;
    first = false;
  }
  return kept;
}

void DatabaseCommands::OpenFromDatabase() {
  const std::optional<std::string> connection = ask_("Open from Database");
  if (!connection) return;
  kivdb::DAL dal;
  dal.ConnectionString(*connection);
  std::string error;
  if (!schemes::ReadSchemes(dal, navs_, error)) {
    messages_.Information("The schemes could not be read from the database: " + error);
    return;
  }
  navs_.DispInTV();
  navs_.DisplayFullWeb();
}

void DatabaseCommands::PublishToDatabase() {
  {
    // The same analyses as the Navigation and Web menus run; a broken rule needs a yes.
    const Analysis nav = AnalyseNav(navs_);
    const Analysis web = AnalyseWeb(navs_.oWebs, navs_);
    if (nav.observations - nav.remarks + web.observations - web.remarks > 0) {
      windows_.ShowOutput(nav.text + web.text);
      if (!messages_.AskYesNo("The analyses report broken rules. Publish the schemes anyway?",
                              Answer::No)) {
        return;
      }
    }
  }
  const std::optional<std::string> connection = ask_("Publish to Database");
  if (!connection) return;
  schemes::PageTemplate pages;
  std::string error;
  if (!schemes::LoadPageTemplate("starter", pages, error)) {
    messages_.Information(error);
    return;
  }
  kivdb::DAL dal;
  dal.ConnectionString(*connection);
  if (!schemes::PushSchemes(dal, schemes::DialectOf(*connection), navs_, pages, error)) {
    messages_.Information("Nothing was published: " + error);
    return;
  }
  messages_.Information("Published " + std::to_string(navs_.Count()) + " nodes and " +
                        std::to_string(navs_.oWebs.Count()) +
                        " paragraphs. The rows they replaced are kept in XST1_previous and "
                        "XST2_previous.");
}

void DatabaseCommands::CheckAgainstDatabase() {
  const std::optional<std::string> connection = ask_("Check against Database");
  if (!connection) return;
  kivdb::DAL dal;
  dal.ConnectionString(*connection);
  dal.QueryTimeout(kCheckQueryTimeout);
  if (!dal.TransBegin()) {
    messages_.Information("Cannot connect: " + dal.LastError());
    return;
  }
  dal.TransRollback();
  schemes::CheckOptions options;
  options.dialect = schemes::DialectOf(*connection);
  const std::vector<schemes::Finding> findings = schemes::CheckSchemes(dal, navs_, options);
  std::string text = "CHECK AGAINST THE DATABASE:\r\n\r\n";
  for (const schemes::Finding& finding : findings) text += schemes::FindingLine(finding) + "\r\n";
  if (findings.empty()) {
    text += "Every query the schemes name exists, runs and returns what its type needs.\r\n";
  }
  windows_.ShowOutput(text);
}

}  // namespace kivwz
