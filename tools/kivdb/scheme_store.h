#pragma once
// The schemes in the application's own database: reads XST1 and XST2 into the wizard's
// collections, publishes a design into them in one transaction (keeping the rows it replaced in
// XST1_previous and XST2_previous, so one call puts them back), and creates XST3 from a page
// template when the database has none. Qt-free and independent of the report control: the wizard
// links it as well as kivdb.

#include <optional>
#include <string>

#include <kivdb/dal.h>

namespace kivwz {
class clsNavSchemes;
}

namespace kivdb::schemes {

// How table columns are declared: SQLite's affinities, PostgreSQL's types, or plain SQL types
// for any other ODBC database.
enum class Dialect { Sqlite, Postgres, Plain };
Dialect DialectOf(const std::string& connectionString);

// XST3's two rows: the front page and the head of every report page, as stored.
struct PageTemplate {
  std::string frontPage;
  std::string pageHead;
};

// Reads XST1 (in ID order) and XST2 (by node, sequence and ID) into `navs`, replacing what it
// held. False with the reason when a table cannot be read or a row cannot go into the text files
// unchanged (a line break in a text, a number column holding no whole number, a repeated ID, a
// query on a node of type F or N).
bool ReadSchemes(DAL& dal, kivwz::clsNavSchemes& navs, std::string& error);

// Writes the design as the wizard saves it: XST1.txt and XST2.txt in `folder`.
bool WriteSchemeFiles(const kivwz::clsNavSchemes& navs, const std::string& folder,
                      std::string& error);

// Replaces the rows of XST1 and XST2 with the design's, creating the tables when missing, and
// XST3 from `pageTemplate` when it is missing or empty. The replaced rows go to XST1_previous and
// XST2_previous. All of it happens in one transaction: on any failure the database keeps its
// previous rows and the reason is returned.
bool PushSchemes(DAL& dal, Dialect dialect, const kivwz::clsNavSchemes& navs,
                 const PageTemplate& pageTemplate, std::string& error);

// Puts back the rows the last push replaced and forgets them, in one transaction. False when
// there is no push to undo.
bool UndoPush(DAL& dal, std::string& error);

}  // namespace kivdb::schemes
