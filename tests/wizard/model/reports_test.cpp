// The four reports, compared character for character with texts built from their lines.

#include <gtest/gtest.h>

#include <functional>

#include "builders.h"
#include "wizard/model/analysis.h"
#include "wizard/model/nav_schemes.h"

namespace kivwz {
namespace {

using test::Lines;
using test::Node;
using test::Paragraph;

const std::string kNavRules = Lines({
    "THE RULES FOR FORMULATING NAVIGATIONAL SCHEME:",
    "",
    "1. The Root Node should be of Type (F) Only.",
    "2. The (F) Type Node can have any number (one or more) of (F), (G), (R) or (N)-Type Nodes. Or "
    "their combinations.",
    "3. The (G)-Type SHOULD have One and Only One Node, which can be of Types (G), (R) or (N).",
    "4. The (R) and (N) Nodes SHOULD NOT have any Child Nodes.",
    "5. The Query or Stored Procedure Name should be specified for (G) and (R) types Only.",
    "",
    "OBSERVATIONS WHILE CHECKING THE NAVIGATIONAL SCHEME:",
    "",
});

const std::string kRule2 =
    "RULE #2 Says that there should be fixed number (1 or more) of Child Nodes for Fixed-Type "
    "Node.";
const std::string kRule3 =
    "RULE #3 Says that there should be ONE AND ONLY ONE Child Node (of type-G, R or N) for "
    "Generating-Type Node.";

std::string Finding(const std::string& observation, const std::string& rule) {
  return Lines({observation, rule, ""});
}

TEST(CheckNav, DefaultScheme) {
  clsNavSchemes navs;
  navs.NewScheme();
  EXPECT_EQ(navs.CheckNav(),
            kNavRules +
                Finding("=> There are no Child Nodes for Fixed-Type: [ID=1] Data Browser", kRule2));
}

TEST(CheckNav, ListsEveryBrokenRuleInOrder) {
  struct Case {
    const char* name;
    std::function<void(clsNavSchemes&)> build;  // below root 1, which has child 2 and so is fine
    std::string findings;
    std::size_t count;
  } cases[] = {
      {"G without child and query", [](auto& navs) { navs.Add(Node(4, 1, "G", "", "Customers")); },
       Finding("=> There are no Child Nodes for Generating-Type: [ID=4] Customers", kRule3) +
           Finding("=> There is no Query Specifed for Generating-Type: [ID=4] Customers",
                   "RULE #5 Says that there should be query specified for Generating-Type Node. Or "
                   "else, how will they generate the child branches !"),
       2},
      {"G with a query and one F child (which has a child)",
       [](auto& navs) {
         navs.Add(Node(4, 1, "G", "q", "Gen"));
         navs.Add(Node(5, 4, "F", "", "Fix"));
         navs.Add(Node(6, 5, "N", "", "Leaf"));
       },
       Finding("=> There is a Fixed-Type Node below the Generating-Type: [ID=4] Gen", kRule3), 1},
      {"G with two children",
       [](auto& navs) {
         navs.Add(Node(4, 1, "G", "q", "Gen"));
         navs.Add(Node(5, 4, "N"));
         navs.Add(Node(6, 4, "N"));
       },
       Finding("=> There are more than one Child Nodes for Generating-Type: [ID=4] Gen", kRule3),
       1},
      {"R with a child and no query",
       [](auto& navs) {
         navs.Add(Node(4, 1, "R", "", "Rec"));
         navs.Add(Node(5, 4, "N", "", "Leaf"));
       },
       Finding("=> There are Child Nodes for Recurring-Type: [ID=4] Rec",
               "RULE #4 Says that there should be any Child Node for Recurring-Type Node.") +
           Finding("=> There is no Query Specifed for Recurring-Type: [ID=4] Rec",
                   "RULE #5 Says that there should be NOT be any query specified for "
                   "Generating-Type Node."),
       2},
      {"N with a child",
       [](auto& navs) {
         navs.Add(Node(4, 1, "N", "", "Non"));
         navs.Add(Node(5, 4, "N", "", "Leaf"));
       },
       Finding("=> There are Child Nodes for Non-Generating-Type: [ID=4] Non",
               "RULE #4 Says that there should be any Child Node for Non-Generating-Type Node."),
       1},
      {"small letters are no type", [](auto& navs) { navs.Add(Node(4, 1, "g", "", "Small")); }, "",
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    clsNavSchemes navs;
    navs.Add(Node(1, 0, "F", "", "Root"));
    navs.Add(Node(2, 1, "N", "", "Fine"));
    c.build(navs);
    EXPECT_EQ(navs.CheckNav(), kNavRules + c.findings);
    EXPECT_EQ(AnalyseNav(navs).observations, c.count);
  }
}

const std::string kNavToDoSteps = Lines({
    "THE TO-DO LIST FOR NAVIGATIONAL SCHEME:",
    "",
    "1. Select 'Analysis of Nav. Scheme'. Correct anomalies, if any.",
    "2. Select 'Re-Number' from Navigational Scheme Menu.",
    "3. Save Navigation Scheme to Text File.",
    "4. Upload that Text File to your Database as Table XST1, with Identity Column as 'ID'",
    "5. Code the following Queries / Stored Procedures. These are two-field Queries, First",
    "   field is (ID), second is Name or description, that will be displayed in Treeview Control.",
    "   For Example: spG_Customers: SELECT ID, NAME FROM CUSTOMERS ORDER BY NAME ",
    "",
    "  ID: Query/Stored Procedure & Parameters",
    "",
});

TEST(NavToDo, ListsTheQueriesOfGAndRNodes) {
  struct Case {
    Long id;
    const char* type;
    const char* query;
    const char* parm;
    std::string line;  // "" when the node is not listed
  } cases[] = {
      {12, "G", "spG_Customers A", "LKey",
       "012: spG_Customers A   (Parameter = Long Integer)   (with Constant Parameter: A)"},
      {3, "R", "spG_Employees", "CKey05",
       "003: spG_Employees   (Parameter = Character of Length=05)"},
      {4, "G", "spG_A", "", "004: spG_A   (Parameter = None)"},
      {5, "G", "spG_A", " lkey", "005: spG_A   (Parameter = Long Integer)"},
      {6, "G", "spG_A", "L", "006: spG_A"},
      {7, "G", "spG_A", "None", "007: spG_A"},
      {8, "R", "spG_A", "Text", "008: spG_A   (Parameter = Text)"},
      {9, "R", "spG_A", "today", "009: spG_A   (Parameter = Date (Today))"},
      {10, "G", "spG_A  B C", "",
       "010: spG_A  B C   (Parameter = None)   (with Constant Parameter: )"},
      {1234, "G", "spG_A 1, 2", "",
       "1234: spG_A 1, 2   (Parameter = None)   (with Constant Parameter: 1,)"},
      {11, "N", "", "", ""},
      {13, "g", "spG_A", "", ""},
      {14, "F", "", "", ""},
  };
  clsNavSchemes navs;
  std::string expected = kNavToDoSteps;
  for (const Case& c : cases) {
    navs.Add(Node(c.id, 1, c.type, c.query, "", c.parm));
    if (!c.line.empty()) expected += c.line + "\r\n";
  }
  EXPECT_EQ(navs.NavToDo(), expected);

  // A G node whose query is empty lists the number and the parameter note only.
  clsNavSchemes noQuery;
  noQuery.Add(Node(2, 1, "G", "", "", "Text"));
  EXPECT_EQ(noQuery.NavToDo(), kNavToDoSteps + Lines({"002:    (Parameter = Text)"}));

  clsNavSchemes plain;
  plain.NewScheme();
  EXPECT_EQ(plain.NavToDo(), kNavToDoSteps);
}

const std::string kWebRules = Lines({
    "THE RULES FOR FORMULATING WEB-DISPLAY SCHEME:",
    "",
    "KivDB generates numerous Web-Page Reports when any node on Treeview is Clicked. ",
    "Treeview Nodes represents objects, so the generated Web_report is Object-Oriented Reporting. ",
    "Reports are generated by executing Stored Procedures which require Parameter. ",
    "These parameter can be sourced from the Treeview Node (Numeric Key, Character Key, "
    "Node-Text).",
    "",
    "THE RULES :",
    "",
    "1. All Paragraphs must have Query Field Specified.",
    "2. Form# Field CAN be specified for (H) or (I)-Type Paragraphs Only.",
    "3. Column Field SHOULD be specified for (C), and (T)-Type Paragraphs.",
    "4. Column Field CAN be specified for (S)-Type Paragraphs.",
    "5. Not a RULE, but it is cleaner to delete all Orphaned Paragraphs. Right-Click on XST2-Grid "
    "to "
    "see Orphans.",
    "",
    "OBSERVATIONS WHILE CHECKING THE NAVIGATIONAL SCHEME:",
    "",
});
const std::string kOrphansHeading = Lines({"THE ORPHANS: ", ""});

const std::string kWebRule1 = "RULE #1. All Paragraphs must have Query Field Specified.";
const std::string kWebRule2 =
    "RULE #2. Form# Field CAN be specified for (H) or (I)-Type Paragraphs Only.";
const std::string kWebRule3 =
    "RULE #3. Column Field SHOULD be specified for (C), and (T)-Type Paragraphs.";

TEST(CheckScheme, EmptySchemeIsRulesAndOrphanHeading) {
  clsNavSchemes navs;
  navs.NewScheme();
  EXPECT_EQ(navs.oWebs.CheckScheme(navs), kWebRules + kOrphansHeading);
}

TEST(CheckScheme, ListsObservationsByType) {
  struct Case {
    const char* type;
    const char* query;
    Long form;
    const char* cols;
    std::string findings;
  } cases[] = {
      {"C", "q", 0, "3:4", ""},
      {"C", "q", 2, "3:4",
       Finding("=> Form# Field is Specified for (C)-Type: [ID=9] Customers", kWebRule2)},
      {"T", "", 0, "",
       Finding("=> No Query Specifed for (T)-Type: [ID=9] Customers", kWebRule1) +
           Finding("=> No Column Field Specified for (T)-Type: [ID=9] Customers", kWebRule3)},
      {"H", "q", 0, "1:2",
       Finding("=> Column Field Specified for (H)-Type: [ID=9] Customers", kWebRule3)},
      {"I", "q", 4, "", ""},
      {"E", "q", 1, "",
       Finding("=> Form#  Field is Specified for (E)-Type: [ID=9] Customers", kWebRule2)},
      {"M", "", 0, "1",
       Finding("=> No Query Specifed for (M)-Type: [ID=9] Customers", kWebRule1) +
           Finding("=> Column Field Specified for (M)-Type: [ID=9] Customers", kWebRule3)},
      {"S", "q", 0, "",
       Finding("=>THIS IS NOT A VIOLATION OF RULE. JUST A COMMENT: No Column Field Specified for "
               "(S)-Type: [ID=9] Customers",
               "RULE #4. Column Field CAN be specified for (S)-Type Paragraphs.")},
      {"S", "q", 0, "All", ""},
      {"X", "", 5, "", ""},
      {"s", "", 5, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.type) + " form " + std::to_string(c.form) + " cols " + c.cols);
    clsNavSchemes navs;
    navs.NewScheme();
    auto paragraph = Paragraph(9, 1, 1, c.type, c.query, "Customers");
    paragraph->formIs = c.form;
    paragraph->colsAre = c.cols;
    navs.oWebs.Add(paragraph);
    EXPECT_EQ(navs.oWebs.CheckScheme(navs), kWebRules + c.findings + kOrphansHeading);
  }
}

TEST(CheckScheme, ListsOrphansAndDetachesThem) {
  test::ScratchDir dir;
  clsNavSchemes navs;
  navs.NewScheme();
  navs.oWebs.Add(Paragraph(3, 50, 1, "S", "q", "Lost"));
  navs.oWebs.Add(Paragraph(4, 1, 1, "X", "q", "Home"));
  navs.oWebs.Add(Paragraph(5, 51, 1, "x", "q", "Lost too"));
  const Analysis analysis = AnalyseWeb(navs.oWebs, navs);
  EXPECT_EQ(analysis.text,
            kWebRules +
                Finding("=>THIS IS NOT A VIOLATION OF RULE. JUST A COMMENT: No Column "
                        "Field Specified for (S)-Type: [ID=3] Lost",
                        "RULE #4. Column Field CAN be specified for (S)-Type Paragraphs.") +
                kOrphansHeading + Lines({"[ID=3] Lost", "[ID=5] Lost too"}));
  EXPECT_EQ(analysis.observations, 1u);
  EXPECT_EQ(analysis.orphans, 2u);
  EXPECT_EQ(navs.oWebs.Item(3)->XST1, 0);
  ASSERT_TRUE(navs.SaveWeb(dir.File("XST2.txt")));
  EXPECT_NE(test::ReadFile(dir.File("XST2.txt")).find("\r\n3,0,1,"), std::string::npos);
}

TEST(WebToDo, ListsEveryParagraph) {
  clsWebSchemes webs;
  webs.Add(Paragraph(21, 1, 1, "T", "spW_Thumbs", ""));
  webs.Add(Paragraph(2, 1, 2, "I", "spW_Pic 'x'", ""));
  webs.Item(2)->parmIs = "CKey10";
  webs.Add(Paragraph(3, 1, 3, "s", "", ""));
  webs.Item(3)->parmIs = "Today";
  EXPECT_EQ(webs.WebToDo(),
            Lines({
                "THE TO-DO LIST FOR WEB-PAGE DISPLAY SCHEME:",
                "",
                "1. Select 'Analysis of Web Scheme'. Correct anomalies, if any.",
                "2. Select 'Re-Number' from Navigational Scheme Menu.",
                "3. Save Web Scheme to Text File.",
                "4. Upload that Text File to your Database as Table XST2, with Identity Column as "
                "'ID'",
                "5. Code the following Queries / Stored Procedures. These are multi-field Queries, "
                "First",
                "   field Should be named (ID).",
                "   For Example: spW_Customers: SELECT CUSTID AS [ID], CUSTOMERNAME AS [Customer "
                "Name], ADD as [Address], ",
                "   PHONE AS [Phone No], CONTACT AS [Contact Person] FROM CUSTOMERS ORDER BY "
                "CUSTOMERNAME ",
                "",
                "  ID: Query/Stored Procedure & Parameters & Comments",
                "",
                "021: spW_Thumbs   (Parameter = None) <One field-name SHOULD be prefixed with "
                "'FILE'>",
                "002: spW_Pic 'x'   (Parameter = Character of Length=10)   (with Constant "
                "Parameter: 'x') <One field-name SHOULD be prefixed with 'IMG'>",
                "003:    (Parameter = Date (Today))",
            }));
}

}  // namespace
}  // namespace kivwz
