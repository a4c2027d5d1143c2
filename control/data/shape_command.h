#pragma once
// Data-shaping commands: "SHAPE {parent} [AS alias] APPEND ({child} [AS alias] RELATE p TO c, ...)
// [AS chapter], ..." read into a tree. This is the pure parsing step; ShapeExecutor runs the tree.
//
// Grammar (keywords in any case, blanks free between tokens):
//   shape   := SHAPE source [AS name] APPEND child {"," child} [";"]
//   child   := "(" source [AS name] RELATE column TO column {"," column TO column} ")" [AS name]
//   source  := "{" provider command "}" | "{" shape "}" | "(" shape ")"
//   name    := a bare word (letters, digits, _ $ # @ and any non-ASCII byte), or one quoted in
//              [brackets], "double quotes" or `backquotes` (a doubled closing mark stands for one)
// A provider command is passed on unchanged; its own braces must balance, and braces inside its
// 'single-quoted' or "double-quoted" texts do not count. A brace body that begins with the word
// SHAPE is a nested shape. A child without a chapter name gets "Chapter1", "Chapter2", ... counted
// over the unnamed children of its APPEND, in order.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <kivdb/command_syntax.h>

namespace kivdb {

struct ShapeCommand;

// What one pair of braces or parentheses holds: a provider command or a nested shape.
struct ShapeSource {
  std::string command;                  // when `shape` is null
  std::unique_ptr<ShapeCommand> shape;  // a nested SHAPE, else null
};

struct ShapeRelation {
  std::string parentColumn;
  std::string childColumn;
};

struct ShapeChild {
  ShapeSource source;
  std::string alias;  // "" without AS
  std::vector<ShapeRelation> relations;
  std::string chapterName;  // as written, or the ChapterN given to an unnamed child
};

struct ShapeCommand {
  ShapeSource parent;
  std::string alias;  // "" without AS
  std::vector<ShapeChild> children;
};

// Deeper nesting is refused, so that a hostile command cannot exhaust the stack.
inline constexpr int kMaxShapeDepth = 64;

// True when the text (after leading blanks) starts with the word SHAPE, in any case.
bool IsShapeCommand(std::string_view text);

// Parses a whole SHAPE command. Returns nothing, with a message naming the fault and the text
// near it in `error`, for unbalanced braces or parentheses, a missing APPEND, RELATE or TO, a
// missing or malformed column or name, an empty command, text after the end, or nesting deeper
// than kMaxShapeDepth.
std::optional<ShapeCommand> ParseShapeCommand(std::string_view text, std::string& error);

}  // namespace kivdb
