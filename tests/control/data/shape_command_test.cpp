// Parsing SHAPE commands into their tree: the accepted forms, printed back in one normal form, and
// the malformed ones with the fault their message names.
#include "control/data/shape_command.h"

#include <gtest/gtest.h>

#include <string>

namespace kivdb {
namespace {

std::string Describe(const ShapeCommand& shape);

std::string Describe(const ShapeSource& source) {
  return source.shape ? "(" + Describe(*source.shape) + ")" : "{" + source.command + "}";
}

// SHAPE {parent} [AS a] APPEND ({child} [AS b] RELATE x TO y, ...) AS chapter, ...
std::string Describe(const ShapeCommand& shape) {
  std::string text = "SHAPE " + Describe(shape.parent);
  if (!shape.alias.empty()) text += " AS " + shape.alias;
  text += " APPEND ";
  for (size_t i = 0; i < shape.children.size(); ++i) {
    const ShapeChild& child = shape.children[i];
    if (i > 0) text += ", ";
    text += "(" + Describe(child.source);
    if (!child.alias.empty()) text += " AS " + child.alias;
    text += " RELATE ";
    for (size_t r = 0; r < child.relations.size(); ++r) {
      if (r > 0) text += ", ";
      text += child.relations[r].parentColumn + " TO " + child.relations[r].childColumn;
    }
    text += ") AS " + child.chapterName;
  }
  return text;
}

TEST(ShapeCommandTest, RecognisesTheLeadingWord) {
  struct Case {
    const char* text;
    bool shape;
  } cases[] = {
      {"SHAPE {a} APPEND ({b} RELATE x TO y)", true},
      {"  shape{a}", true},
      {"Shape(", true},
      {"SHAPE", true},
      {"SHAPEX {a}", false},
      {"SHAPE_1", false},
      {"SELECT 'SHAPE'", false},
      {"EXEC shape", false},
      {"", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsShapeCommand(c.text), c.shape) << c.text;
  }
}

TEST(ShapeCommandTest, ParsesTheAcceptedForms) {
  struct Case {
    const char* name;
    const char* text;
    const char* tree;
  } cases[] = {
      {"one child, chapter named",
       "SHAPE {SELECT * FROM o} APPEND ({SELECT * FROM l} RELATE ID TO orderId) AS Lines",
       "SHAPE {SELECT * FROM o} APPEND ({SELECT * FROM l} RELATE ID TO orderId) AS Lines"},
      {"keywords in any case, blanks anywhere",
       "  sHaPe{a}as P append(  {b}As C relate x to y  )aS Items ; ",
       "SHAPE {a} AS P APPEND ({b} AS C RELATE x TO y) AS Items"},
      {"unnamed chapters are counted over the unnamed ones",
       "SHAPE {a} APPEND ({b} RELATE x TO y), ({c} RELATE x TO z) AS Named, ({d} RELATE x TO w)",
       "SHAPE {a} APPEND ({b} RELATE x TO y) AS Chapter1, ({c} RELATE x TO z) AS Named, "
       "({d} RELATE x TO w) AS Chapter2"},
      {"several RELATE pairs", "SHAPE {a} APPEND ({b} RELATE k1 TO c1, k2 TO c2, k3 TO c3) AS X",
       "SHAPE {a} APPEND ({b} RELATE k1 TO c1, k2 TO c2, k3 TO c3) AS X"},
      {"a nested shape whose bracketed names hold quotes and braces",
       "SHAPE {SHAPE {a} APPEND ({b} RELATE [x\"y] TO [{z]]}]) AS C} APPEND ({d} RELATE p TO q) AS "
       "D",
       "SHAPE (SHAPE {a} APPEND ({b} RELATE x\"y TO {z]}) AS C) APPEND ({d} RELATE p TO q) AS D"},
      {"quoted names",
       "SHAPE {a} AS [my parent] APPEND ({b} RELATE [Order ID] TO \"order\"\"id\", `to` TO [a]]b]) "
       "AS [Order Lines]",
       "SHAPE {a} AS my parent APPEND ({b} RELATE Order ID TO order\"id, to TO a]b) AS Order "
       "Lines"},
      {"provider command kept as written (but for outer blanks), with its own braces and quotes",
       "SHAPE { EXEC qOrders 'a}b', 7 } APPEND ({SELECT '{' AS x, \"}\" FROM t /* } */ -- it's }\n"
       "} RELATE ID TO x)",
       "SHAPE {EXEC qOrders 'a}b', 7} APPEND ({SELECT '{' AS x, \"}\" FROM t /* } */ -- it's }} "
       "RELATE ID TO x) AS Chapter1"},
      {"balanced braces inside the command",
       "SHAPE {{CALL getOrders(1)}} APPEND ({{CALL getLines}} RELATE ID TO oid)",
       "SHAPE {{CALL getOrders(1)}} APPEND ({{CALL getLines}} RELATE ID TO oid) AS Chapter1"},
      {"nested SHAPE in braces, three levels",
       "SHAPE {SELECT * FROM c} APPEND ({SHAPE {SELECT * FROM o} APPEND ({SELECT * FROM l} "
       "RELATE ID TO oid) AS Lines} RELATE ID TO cid) AS Orders",
       "SHAPE {SELECT * FROM c} APPEND ((SHAPE {SELECT * FROM o} APPEND ({SELECT * FROM l} "
       "RELATE ID TO oid) AS Lines) RELATE ID TO cid) AS Orders"},
      {"nested SHAPE in parentheses, with an alias, three levels",
       "SHAPE {c} APPEND ((SHAPE {o} APPEND ((shape {l} append ({p} relate pid to id)) "
       "RELATE id TO oid)) AS O RELATE id TO cid) AS Orders",
       "SHAPE {c} APPEND ((SHAPE {o} APPEND ((SHAPE {l} APPEND ({p} RELATE pid TO id) AS "
       "Chapter1) RELATE id TO oid) AS Chapter1) AS O RELATE id TO cid) AS Orders"},
      {"nested SHAPE as the parent",
       "SHAPE {SHAPE {o} APPEND ({l} RELATE id TO oid)} APPEND ({n} RELATE id TO oid) AS Notes",
       "SHAPE (SHAPE {o} APPEND ({l} RELATE id TO oid) AS Chapter1) APPEND ({n} RELATE id TO "
       "oid) AS Notes"},
      {"non-ASCII names", "SHAPE {a} APPEND ({b} RELATE Numéro TO Zähler) AS Lignes",
       "SHAPE {a} APPEND ({b} RELATE Numéro TO Zähler) AS Lignes"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string error;
    const auto shape = ParseShapeCommand(c.text, error);
    ASSERT_TRUE(shape) << error;
    EXPECT_EQ(Describe(*shape), c.tree);
  }
}

TEST(ShapeCommandTest, RefusesMalformedCommands) {
  struct Case {
    const char* name;
    const char* text;
    const char* fault;
  } cases[] = {
      {"parent brace never closed", "SHAPE {SELECT * FROM o APPEND ({b} RELATE x TO y)",
       "unbalanced braces: the '{' of the parent command is never closed near '{SELECT"},
      {"child brace never closed", "SHAPE {a} APPEND ({b RELATE x TO y)",
       "unbalanced braces: the '{' of the child command is never closed"},
      {"extra closing brace after the parent", "SHAPE {a}} APPEND ({b} RELATE x TO y)",
       "unbalanced braces: a '}' closes nothing near '} APPEND"},
      {"extra closing brace at the end", "SHAPE {a} APPEND ({b} RELATE x TO y)}",
       "unbalanced braces: a '}' closes nothing"},
      {"brace opened inside a quote", "SHAPE {SELECT '{' FROM a APPEND ({b} RELATE x TO y)",
       "never closed"},
      {"missing APPEND", "SHAPE {a} ({b} RELATE x TO y)", "missing APPEND after the parent"},
      {"missing APPEND at the end", "SHAPE {a} AS p",
       "missing APPEND after the parent command "
       "at the end of the command"},
      {"missing RELATE", "SHAPE {a} APPEND ({b} x TO y)", "missing RELATE in a child of APPEND"},
      {"missing RELATE in the second child", "SHAPE {a} APPEND ({b} RELATE x TO y), ({c})",
       "missing RELATE in a child of APPEND near ')'"},
      {"missing TO", "SHAPE {a} APPEND ({b} RELATE x y)", "missing TO after the parent column"},
      {"missing parent column", "SHAPE {a} APPEND ({b} RELATE TO y)",
       "expected a parent column after RELATE near 'TO y)'"},
      {"missing child column", "SHAPE {a} APPEND ({b} RELATE x TO )",
       "expected a child column after TO near ')'"},
      {"column list ends in a comma", "SHAPE {a} APPEND ({b} RELATE x TO y, )",
       "expected a parent column after RELATE"},
      {"empty quoted column", "SHAPE {a} APPEND ({b} RELATE [] TO y)",
       "expected a parent column after RELATE"},
      {"unclosed quoted column", "SHAPE {a} APPEND ({b} RELATE [x TO y)",
       "an unclosed quoted name"},
      {"child not in parentheses", "SHAPE {a} APPEND {b} RELATE x TO y",
       "expected '(' to open a child of APPEND near '{b}"},
      {"child parenthesis never closed", "SHAPE {a} APPEND ({b} RELATE x TO y",
       "unbalanced parentheses: expected ')' to close the child of APPEND at the end"},
      {"extra closing parenthesis", "SHAPE {a} APPEND ({b} RELATE x TO y))",
       "unbalanced parentheses: a ')' closes nothing"},
      {"nested parenthesis never closed",
       "SHAPE {a} APPEND ((SHAPE {b} APPEND ({c} RELATE x TO y) RELATE x TO y)",
       "unbalanced parentheses: expected ')' to close the nested SHAPE near 'RELATE x TO y)'"},
      {"provider command in parentheses", "SHAPE {a} APPEND ((SELECT 1) RELATE x TO y)",
       "expected SHAPE after '(': a provider command belongs in braces"},
      {"parent without braces", "SHAPE SELECT * FROM a APPEND ({b} RELATE x TO y)",
       "expected '{' to open the parent command"},
      {"empty parent command", "SHAPE {  } APPEND ({b} RELATE x TO y)",
       "empty braces where the parent command belongs"},
      {"empty child command", "SHAPE {a} APPEND ({} RELATE x TO y)",
       "empty braces where the child command belongs"},
      {"no child after APPEND", "SHAPE {a} APPEND", "expected '(' to open a child of APPEND"},
      {"missing chapter name", "SHAPE {a} APPEND ({b} RELATE x TO y) AS",
       "expected a chapter name after AS"},
      {"text after the end", "SHAPE {a} APPEND ({b} RELATE x TO y) AS L extra",
       "unexpected text after the end of the command near 'extra'"},
      {"malformed nested shape", "SHAPE {a} APPEND ({SHAPE {b} APPEND ({c} x TO y)} RELATE x TO y)",
       "missing RELATE in a child of APPEND near 'x TO y)'"},
      {"only the word", "SHAPE", "expected '{' to open the parent command at the end"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string error;
    EXPECT_FALSE(ParseShapeCommand(c.text, error));
    EXPECT_EQ(error.rfind("Malformed SHAPE command: ", 0), 0u) << error;
    EXPECT_NE(error.find(c.fault), std::string::npos) << error;
  }
}

TEST(ShapeCommandTest, NestingHasALimit) {
  // A shape nested kMaxShapeDepth times in parentheses, each level relating to the next.
  auto nested = [](int levels) {
    std::string text = "{leaf}";
    for (int i = 0; i < levels; ++i) {
      text = "SHAPE {p} APPEND (" + text + " RELATE a TO b)";
      if (i + 1 < levels) text = "(" + text + ")";
    }
    return text;
  };
  std::string error;
  EXPECT_TRUE(ParseShapeCommand(nested(kMaxShapeDepth), error)) << error;
  EXPECT_FALSE(ParseShapeCommand(nested(kMaxShapeDepth + 1), error));
  EXPECT_NE(error.find("nest deeper than 64 levels"), std::string::npos) << error;
  // A hostile text of many openings fails cleanly rather than exhausting the stack.
  std::string hostile;
  for (int i = 0; i < 100000; ++i) hostile += "SHAPE {";
  EXPECT_FALSE(ParseShapeCommand(hostile, error));
  EXPECT_NE(error.find("never closed"), std::string::npos) << error;
  hostile.clear();
  for (int i = 0; i < 100000; ++i) hostile += "SHAPE {a} APPEND ((";
  EXPECT_FALSE(ParseShapeCommand(hostile, error));
  EXPECT_NE(error.find("nest deeper"), std::string::npos) << error;
}

}  // namespace
}  // namespace kivdb
