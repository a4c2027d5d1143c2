#include "demo/scheme_files.h"

#include <memory>
#include <optional>
#include <stdexcept>
#include <unordered_map>
#include <vector>

#include "demo/sqlite_file.h"
#include "wizard/model/nav_schemes.h"

namespace kivdb::demo {
namespace {

using kivwz::Long;

// Throws unless the text file can carry `text` unchanged: its reader splits at commas and drops
// double quotes.
std::string Carried(const std::string& text, const std::string& where) {
  if (text.find_first_of(",\"") != std::string::npos) {
    throw std::runtime_error(where + ": '" + text +
                             "' holds a comma or a double quote, which the scheme files lose");
  }
  return text;
}

Long Whole(const std::string& text, const std::string& where) {
  if (text.empty()) return 0;  // the files write an empty number column as 0, as loading reads it
  const std::optional<Long> number = kivwz::WholeNumber(text);
  if (!number) throw std::runtime_error(where + ": '" + text + "' is not a whole number");
  return *number;
}

void LoadNodes(SqliteFile& db, kivwz::clsNavSchemes& navs) {
  db.Query(
      "SELECT ID, descriptionIs, typeIs, parentIs, queryIs, parmIs, iconIs, roleIs FROM XST1 "
      "ORDER BY ID",
      [&](const std::vector<std::string>& c) {
        const std::string where = "XST1 row " + c[0];
        auto node = std::make_shared<kivwz::clsNavScheme>();
        node->ID(Whole(c[0], where));
        node->descriptionIs = Carried(c[1], where);
        node->typeIs(Carried(c[2], where));
        node->parentIs = Whole(c[3], where);
        node->queryIs(Carried(c[4], where));
        node->parmIs(Carried(c[5], where));
        node->iconIs = Carried(c[6], where);
        node->roleIs = Carried(c[7], where);
        if (node->queryIs() != c[4] || node->parmIs() != c[5]) {
          throw std::runtime_error(where + ": a node of type " + c[2] +
                                   " holds no query or parameter in the wizard");
        }
        if (navs.Item(kivwz::KeyOf(node->ID()))) {
          throw std::runtime_error(where + ": the ID is used twice");
        }
        navs.Add(std::move(node));
      });
}

void LoadParagraphs(SqliteFile& db, kivwz::clsWebSchemes& webs) {
  db.Query(
      "SELECT ID, XST1, seqNo, titleIs, queryIs, parmIs, typeIs, formIs, colsAre, extra FROM "
      "XST2 ORDER BY XST1, seqNo, ID",
      [&](const std::vector<std::string>& c) {
        const std::string where = "XST2 row " + c[0];
        auto paragraph = std::make_shared<kivwz::clsWebScheme>();
        paragraph->ID(Whole(c[0], where));
        paragraph->XST1 = Whole(c[1], where);
        paragraph->seqNo = Whole(c[2], where);
        paragraph->titleIs = Carried(c[3], where);
        paragraph->queryIs = Carried(c[4], where);
        paragraph->parmIs = Carried(c[5], where);
        paragraph->typeIs = Carried(c[6], where);
        paragraph->formIs = Whole(c[7], where);
        paragraph->colsAre = Carried(c[8], where);
        paragraph->extra = Carried(c[9], where);
        webs.Add(std::move(paragraph));
      });
}

// Every node must hang below the one root, or the navigation file would leave it out.
void CheckReachable(const kivwz::clsNavSchemes& navs) {
  enum class State { Visiting, Reached, Lost };
  std::unordered_map<Long, State> known;
  int roots = 0;
  for (const auto& node : navs) {
    if (node->parentIs == 0) ++roots;
    std::vector<Long> path;
    Long id = node->ID();
    State result = State::Reached;
    while (id != 0) {
      const auto found = known.find(id);
      if (found != known.end()) {
        // A node met again on the same walk closes a loop of parents.
        result = found->second == State::Visiting ? State::Lost : found->second;
        break;
      }
      const auto current = navs.Item(kivwz::KeyOf(id));
      if (!current) {
        result = State::Lost;
        break;
      }
      known[id] = State::Visiting;
      path.push_back(id);
      id = current->parentIs;
    }
    for (const Long step : path) known[step] = result;
    if (result == State::Lost) {
      throw std::runtime_error("XST1 row " + std::to_string(node->ID()) +
                               " does not hang below the root");
    }
  }
  if (roots != 1) {
    throw std::runtime_error("XST1 needs exactly one root row (parentIs 0), not " +
                             std::to_string(roots));
  }
}

}  // namespace

void WriteSchemeFiles(const std::filesystem::path& database, const std::filesystem::path& folder) {
  kivwz::clsNavSchemes navs;
  {
    SqliteFile db(database, SqliteFile::Mode::ReadOnly);
    LoadNodes(db, navs);
    LoadParagraphs(db, navs.oWebs);
  }
  CheckReachable(navs);
  const std::string navFile = (folder / "XST1.txt").string();
  const std::string webFile = (folder / "XST2.txt").string();
  if (!navs.SaveData(navFile)) throw std::runtime_error("cannot write " + navFile);
  if (!navs.SaveWeb(webFile)) throw std::runtime_error("cannot write " + webFile);
}

}  // namespace kivdb::demo
