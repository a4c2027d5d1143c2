#include <gtest/gtest.h>

#include <filesystem>

#include "builders.h"
#include "wizard/model/memory_views.h"
#include "wizard/model/nav_schemes.h"

namespace kivwz {
namespace {

using test::Lines;
using test::Node;
using test::Paragraph;
using test::ReadFile;
using test::ScratchDir;
using test::WriteFile;

const std::string kNavHeader =
    R"("ID","descriptionIs","typeIs","parentIs","queryIs","parmIs","iconIs","roleIs")";
const std::string kWebHeader =
    R"("ID","XST1","seqNo","titleIs","queryIs","parmIs","typeIs","formIs","colsAre","extra")";

TEST(SchemeFiles, DefaultSchemeIsTwoLines) {
  ScratchDir dir;
  clsNavSchemes navs;
  navs.NewScheme();
  ASSERT_TRUE(navs.SaveData(dir.File("XST1.txt")));
  EXPECT_EQ(ReadFile(dir.File("XST1.txt")),
            Lines({kNavHeader, R"(1,"Data Browser","F",0,"","","leaf","")"}));
}

TEST(SchemeFiles, NavigationFileIsWrittenInTreeOrder) {
  ScratchDir dir;
  clsNavSchemes navs;
  navs.Add(Node(1, 0, "F", "", "Root"));
  navs.Add(Node(7, 1, "G", "spG_A B", "A", "LKey"));
  navs.Add(Node(3, 1, "N", "", "B"));
  navs.Add(Node(12, 7, "R", "spG_C", "C"));
  navs.Add(Node(50, 49, "N", "", "Lost"));  // below no node: left out
  navs.Item(3)->roleIs = "1:3";
  ASSERT_TRUE(navs.SaveData(dir.File("XST1.txt")));
  EXPECT_EQ(ReadFile(dir.File("XST1.txt")),
            Lines({kNavHeader, R"(1,"Root","F",0,"","","leaf","")",
                   R"(7,"A","G",1,"spG_A B","LKey","leaf","")",
                   R"(12,"C","R",7,"spG_C","","leaf","")", R"(3,"B","N",1,"","","leaf","1:3")"}));
}

TEST(SchemeFiles, WebFileKeepsCollectionOrder) {
  ScratchDir dir;
  clsWebSchemes webs;
  auto second = Paragraph(2, 4, 2, "H", "spW_X 'a'", "Header: ");
  second->formIs = 3;
  second->extra = "x";
  webs.Add(second);
  webs.Add(Paragraph(1, 4, 1, "S", "spW_Y", "Table"));
  webs.Item(1)->parmIs = "CKey05";
  ASSERT_TRUE(webs.SaveData(dir.File("XST2.txt")));
  EXPECT_EQ(ReadFile(dir.File("XST2.txt")),
            Lines({kWebHeader, R"(2,4,2,"Header: ","spW_X 'a'","","H",3,"","x")",
                   R"(1,4,1,"Table","spW_Y","CKey05","S",0,"","")"}));
}

struct NavLineCase {
  const char* name;
  std::string line;
  Long id;
  const char* description;
  const char* type;
  Long parent;
  const char* query;
  const char* parm;
  const char* icon;
  const char* role;
};

TEST(SchemeFiles, ReadsNavigationLinesLeniently) {
  const NavLineCase cases[] = {
      {"quoted", R"(3,"Customers","G",1,"spG_Customers","None","leaf","")", 3, "Customers", "G", 1,
       "spG_Customers", "None", "leaf", ""},
      {"F drops the query", R"(3,"Customers","F",1,"spG_Customers","None","leaf","")", 3,
       "Customers", "F", 1, "", "", "leaf", ""},
      {"no quotes", "3,Customers,G,1,spG_Customers,None,leaf,2:5", 3, "Customers", "G", 1,
       "spG_Customers", "None", "leaf", "2:5"},
      {"quotes anywhere", R"(3,Cu"st"omers,"G","1",spG_X)", 3, "Customers", "G", 1, "spG_X", "", "",
       ""},
      {"leading spaces and spaced numbers", R"(   3, "A b " , "N", 1 ,)", 3, " A b  ", " N", 1, "",
       "", "", ""},
      {"unquoted comma shifts the fields", R"(3,Cust, Ltd,"G",1,"spG_C","None","leaf","1")", 3,
       "Cust", " Ltd", 0, "1", "spG_C", "None", "leaf"},
      {"quoted comma stays in the text", R"(3,"Cust, Ltd","G",1,"spG_C","None","leaf","1")", 3,
       "Cust, Ltd", "G", 1, "spG_C", "None", "leaf", "1"},
      {"doubled quote", R"(3,"Say ""Hi""","N",1)", 3, R"(Say "Hi")", "N", 1, "", "", "", ""},
      {"missing fields", "3", 3, "", "", 0, "", "", "", ""},
      {"parent not a number", R"(3,"A","N",1x)", 3, "A", "N", 0, "", "", "", ""},
  };
  for (const NavLineCase& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchDir dir;
    WriteFile(dir.File("XST1.txt"), Lines({kNavHeader, c.line}));
    clsNavSchemes navs;
    ASSERT_TRUE(navs.LoadData(dir.File("XST1.txt")));
    ASSERT_EQ(navs.Count(), 1);
    const clsNavScheme& node = **navs.begin();
    EXPECT_EQ(node.ID(), c.id);
    EXPECT_EQ(node.descriptionIs, c.description);
    EXPECT_EQ(node.typeIs(), c.type);
    EXPECT_EQ(node.parentIs, c.parent);
    EXPECT_EQ(node.queryIs(), c.query);
    EXPECT_EQ(node.parmIs(), c.parm);
    EXPECT_EQ(node.iconIs, c.icon);
    EXPECT_EQ(node.roleIs, c.role);
  }
}

TEST(SchemeFiles, SkipsWhatIsNoRecordAndKeepsTheFirstOfAnId) {
  ScratchDir dir;
  WriteFile(dir.File("XST1.txt"), kNavHeader + "\r\n\r\n-4,\"Minus\"\nText\r\n" +
                                      "5,\"First\",\"F\",0\n5,\"Second\",\"F\",0\r\n" +
                                      "  6,\"Spaced\",\"N\",5\r\n7,\"Last\",\"N\",5");
  clsNavSchemes navs;
  ASSERT_TRUE(navs.LoadData(dir.File("XST1.txt")));
  EXPECT_EQ(test::IdsInOrder(navs), "5 6 7");
  EXPECT_EQ(navs.Item(5)->descriptionIs, "First");

  WriteFile(dir.File("header.txt"), Lines({kNavHeader}));
  EXPECT_TRUE(navs.LoadData(dir.File("header.txt")));
  EXPECT_EQ(navs.Count(), 0);
}

TEST(SchemeFiles, ReadsShortWebLines) {
  ScratchDir dir;
  WriteFile(dir.File("XST2.txt"),
            Lines({kWebHeader, R"(1,4,2,"T","spW_A","None","S",,"All","x")",
                   R"(2,4,3,"T","spW_B","None","C")", R"(3,4,4,"T","q","","H",2,"","")"}));
  clsWebSchemes webs;
  ASSERT_TRUE(webs.LoadData(dir.File("XST2.txt")));
  ASSERT_EQ(webs.Count(), 3);
  EXPECT_EQ(webs.Item(1)->formIs, 0);
  EXPECT_EQ(webs.Item(1)->colsAre, "All");
  EXPECT_EQ(webs.Item(1)->extra, "x");
  EXPECT_EQ(webs.Item(2)->formIs, 0);
  EXPECT_EQ(webs.Item(2)->colsAre, "");
  EXPECT_EQ(webs.Item(2)->extra, "");
  EXPECT_EQ(webs.Item(3)->formIs, 2);
  EXPECT_EQ(webs.Item(3)->XST1, 4);
  EXPECT_EQ(webs.Item(3)->seqNo, 4);
}

TEST(SchemeFiles, TextsWithCommasAndQuotesSurviveARoundTrip) {
  const std::string tricky = R"(A, "quoted" text,, with "" and ,)";
  ScratchDir dir;
  clsNavSchemes navs;
  navs.Add(Node(1, 0, "F", "", tricky));
  navs.Add(Node(2, 1, "G", tricky, tricky, tricky));
  navs.Item(2)->iconIs = tricky;
  navs.Item(2)->roleIs = tricky;
  auto paragraph = Paragraph(1, 2, 1, "S", tricky, tricky);
  paragraph->parmIs = paragraph->colsAre = paragraph->extra = tricky;
  navs.oWebs.Add(paragraph);
  ASSERT_TRUE(navs.SaveData(dir.File("XST1.txt")));
  ASSERT_TRUE(navs.SaveWeb(dir.File("XST2.txt")));
  EXPECT_NE(ReadFile(dir.File("XST1.txt")).find(R"("A, ""quoted"" text,, with """" and ,")"),
            std::string::npos);

  clsNavSchemes loaded;
  ASSERT_TRUE(loaded.LoadData(dir.File("XST1.txt")));
  ASSERT_TRUE(loaded.LoadWeb(dir.File("XST2.txt")));
  ASSERT_EQ(loaded.Count(), 2);
  const auto node = loaded.Item(2);
  EXPECT_EQ(node->descriptionIs, tricky);
  EXPECT_EQ(node->queryIs(), tricky);
  EXPECT_EQ(node->parmIs(), tricky);
  EXPECT_EQ(node->iconIs, tricky);
  EXPECT_EQ(node->roleIs, tricky);
  EXPECT_EQ(node->parentIs, 1);
  const auto web = loaded.oWebs.Item(1);
  ASSERT_NE(web, nullptr);
  for (const std::string* text :
       {&web->titleIs, &web->queryIs, &web->parmIs, &web->colsAre, &web->extra}) {
    EXPECT_EQ(*text, tricky);
  }
  EXPECT_EQ(web->typeIs, "S");
  EXPECT_EQ(web->XST1, 2);
}

TEST(SchemeFiles, LoadingOneSchemeKeepsTheOther) {
  ScratchDir dir;
  clsNavSchemes navs;
  navs.NewScheme();
  navs.oWebs.Add(Paragraph(1, 1, 1));
  ASSERT_TRUE(navs.SaveData(dir.File("XST1.txt")));
  ASSERT_TRUE(navs.SaveWeb(dir.File("XST2.txt")));
  ASSERT_TRUE(navs.LoadData(dir.File("XST1.txt")));
  EXPECT_EQ(navs.oWebs.Count(), 1);
  ASSERT_TRUE(navs.LoadWeb(dir.File("XST2.txt")));
  EXPECT_EQ(navs.Count(), 1);
}

TEST(SchemeFiles, AFailedLoadKeepsTheScheme) {
  ScratchDir dir;
  clsNavSchemes navs;
  navs.NewScheme();
  navs.oWebs.Add(Paragraph(1, 1, 1));
  for (const std::string& path : {dir.File("missing.txt"), dir.Path().string()}) {
    SCOPED_TRACE(path);
    EXPECT_FALSE(navs.LoadData(path));
    EXPECT_FALSE(navs.LoadWeb(path));
    EXPECT_EQ(navs.Count(), 1);
    EXPECT_EQ(navs.oWebs.Count(), 1);
  }
}

TEST(SchemeFiles, AFailedSaveKeepsThePreviousFile) {
  ScratchDir dir;
  const std::string previous = "previous content\r\n";
  WriteFile(dir.File("XST1.txt"), previous);
  WriteFile(dir.File("XST2.txt"), previous);

  clsNavSchemes rootless;  // no node whose parent is 0
  rootless.Add(Node(2, 1, "F"));
  EXPECT_FALSE(rootless.SaveData(dir.File("XST1.txt")));
  EXPECT_FALSE(rootless.SaveWeb(dir.File("XST2.txt")));  // no paragraphs
  EXPECT_EQ(ReadFile(dir.File("XST1.txt")), previous);
  EXPECT_EQ(ReadFile(dir.File("XST2.txt")), previous);

  clsNavSchemes navs;
  navs.NewScheme();
  EXPECT_FALSE(navs.SaveData(dir.File("no-such-folder/XST1.txt")));
  std::filesystem::create_directory(dir.File("folder"));
  EXPECT_FALSE(navs.SaveData(dir.File("folder")));
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("folder")));

  ASSERT_TRUE(navs.SaveData(dir.File("XST1.txt")));
  EXPECT_NE(ReadFile(dir.File("XST1.txt")), previous);
  // Nothing is left beside the files but what was there.
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    ++entries;
  }
  EXPECT_EQ(entries, 3u);
}

TEST(SchemeFiles, NodeBelowNoNodeLoadsButIsNotSaved) {
  ScratchDir dir;
  WriteFile(dir.File("XST1.txt"),
            Lines({kNavHeader, R"(1,"Root","F",0)", R"(2,"Lost","N",77)", R"(3,"Kept","N",1)"}));
  clsNavSchemes navs;
  MemoryTreeView tree;
  navs.SetTreeview(&tree);
  ASSERT_TRUE(navs.LoadData(dir.File("XST1.txt")));
  EXPECT_EQ(navs.Count(), 3);
  EXPECT_EQ(tree.Node("N2"), nullptr);
  ASSERT_TRUE(navs.SaveData(dir.File("out.txt")));
  EXPECT_EQ(ReadFile(dir.File("out.txt")),
            Lines({kNavHeader, R"(1,"Root","F",0,"","","","")", R"(3,"Kept","N",1,"","","","")"}));
}

}  // namespace
}  // namespace kivwz
