#pragma once
// The shared data model of KivDB: the column positions of the scheme tables XST1, XST2 and XST3,
// the node and paragraph type codes, and the parameter kinds. The report control reads the tables
// by column position and the wizard writes them in this order, so these numbers are binding.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace kivdb::scheme {

// XST1, the navigation scheme: one row per node of the navigation tree.
namespace nav {
enum Column : int {
  ID = 0,
  descriptionIs = 1,
  typeIs = 2,
  parentIs = 3,
  queryIs = 4,
  parmIs = 5,
  iconIs = 6,
  roleIs = 7,
  ColumnCount = 8,
};
// The column names, by position: the header line of XST1.txt.
inline constexpr std::array<std::string_view, ColumnCount> kColumnNames = {
    "ID", "descriptionIs", "typeIs", "parentIs", "queryIs", "parmIs", "iconIs", "roleIs"};
}  // namespace nav

// XST2, the web display scheme: one row per paragraph of a report page.
namespace web {
enum Column : int {
  ID = 0,
  XST1 = 1,
  seqNo = 2,
  titleIs = 3,
  queryIs = 4,
  parmIs = 5,
  typeIs = 6,
  formIs = 7,
  colsAre = 8,
  extra = 9,
  ColumnCount = 10,
};
// The column names, by position: the header line of XST2.txt.
inline constexpr std::array<std::string_view, ColumnCount> kColumnNames = {
    "ID", "XST1", "seqNo", "titleIs", "queryIs", "parmIs", "typeIs", "formIs", "colsAre", "extra"};
}  // namespace web

// XST3, the web style scheme: row 1 is the front page, row 2 the head of every report page.
namespace style {
enum Column : int {
  ID = 0,
  nameIs = 1,
  contentIs = 2,
};
inline constexpr int kFrontPageRow = 1;
inline constexpr int kPageHeadRow = 2;
}  // namespace style

// The root of the navigation tree always has scheme ID 1 and type F, and reads "Data Browser"
// whatever its description.
inline constexpr int kRootId = 1;
inline constexpr std::string_view kRootCaption = "Data Browser";

enum class NodeType : char {
  Fixed = 'F',
  Generating = 'G',
  Recurring = 'R',
  NonGenerating = 'N',
};

// Paragraph types, remembered by the word "CHEMIST".
enum class ParagraphType : char {
  Chart = 'C',
  Header = 'H',
  ExecuteOnly = 'E',
  MultiChapter = 'M',
  ImageHeader = 'I',
  ShowTable = 'S',
  Thumbnails = 'T',
};

// Reads a type code without regard to case ("f" is F); surrounding blanks are ignored. Anything
// else is no type.
std::optional<NodeType> NodeTypeOf(std::string_view code);
std::optional<ParagraphType> ParagraphTypeOf(std::string_view code);

char CodeOf(NodeType type);
char CodeOf(ParagraphType type);
// "Fixed", "Generating", "Recurring", "Non-Generating".
std::string_view NameOf(NodeType type);
// "Chart (Bar)", "Header", "Execute Only", "Multi-Chapter (Shaped)", "Image Header", "Show Table",
// "Thumbnail Images".
std::string_view NameOf(ParagraphType type);

// Parameter kinds of the parmIs column of both tables.
enum class ParamKind {
  None,   // empty or anything not recognised: one space
  Text,   // the selected node's caption between single quotes
  Today,  // today's date as 'dd Mmm yyyy'
  LKey,   // the node key's first 10 characters as a long integer
  CKey,   // the node key's first keyLength characters between single quotes
};

struct ParamSpec {
  ParamKind kind = ParamKind::None;
  int keyLength = 0;  // CKey only
  bool operator==(const ParamSpec&) const = default;
};

// Recognises a parameter kind: "Text" and "Today" whole, LKey and CKey by their first four letters,
// all without regard to case. The CKey length is the number written in the last two characters,
// 0 when they are no number ("CKey5" ends in "y5" and so has length 0).
ParamSpec ParseParamKind(std::string_view parmIs);

}  // namespace kivdb::scheme
