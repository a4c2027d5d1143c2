// Chart, image-header, thumbnail and multi-chapter paragraphs end to end: each example page
// through a click on a real SQLite file and on a real PostgreSQL schema, the picture files of a
// page, and a shaped recordset read through a real SHAPE command.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/control/core/control_harness.h"

namespace kivdb::testing {
namespace {

using fixture::kNull;
using fixture::SchemeFixture;
using ::testing::ElementsAre;

std::string Head(const std::string& caption) {
  return "<HTML><HEAD><TITLE>" + caption +
         "</TITLE><STYLE>.pgl{text-align:left} .pgr{text-align:right}</STYLE></HEAD><BODY><DIV>"
         "<table width=100%><tr><td class=pgl></td><td class=pgr>2004-03-05</td></table><p "
         "class=mh>" +
         caption;
}

constexpr const char* kEnd = "</DIV></BODY></HTML>";
// The picture bytes: a GIF head and a PNG head, zero bytes and CR LF included.
constexpr const char* kEmployeeHex = "4749463839610D0A00FF";
constexpr const char* kBadgeHex = "89504E470D0A1A0A0000";

std::vector<uint8_t> Bytes(const std::string& hex) {
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  }
  return bytes;
}

std::vector<uint8_t> FileBytes(const std::filesystem::path& file) {
  const std::string text = ReadFile(file);
  return {text.begin(), text.end()};
}

// The shop with one node per paragraph type below the root:
//   12 Sales     8 C "Sales" (1:2)
//   13 Staff     3 I "Employee"
//   14 Goods     4 T "Products"
//   15 Orders    6 M "Orders"
//   16 Badges   60 I "Photo", 61 I "Badge:" (form 3): two pictures on one page
//   17 Buyers   70 M "Buyers" over the shop's customers and orders
SchemeFixture ParagraphShop() {
  SchemeFixture f = SchemeFixture::Standard();
  f.Nav({12, "Sales", "N", 1})
      .Nav({13, "Staff", "N", 1})
      .Nav({14, "Goods", "N", 1})
      .Nav({15, "Orders", "N", 1})
      .Nav({16, "Badges", "N", 1})
      .Nav({17, "Buyers", "N", 1});
  f.Web({8, 12, 1, "Sales", "spC_Sales", kNull, "C", kNull, "1:2"})
      .Web({3, 13, 1, "Employee", "spI_Employee", kNull, "I", kNull, kNull})
      .Web({4, 14, 1, "Products", "spT_Products", kNull, "T", kNull,
            "<width>80</width><columns>2</columns>"})
      .Web({6, 15, 1, "Orders", "spM_Orders", kNull, "m", kNull, kNull})
      .Web({60, 16, 1, "Photo", "spI_Employee", kNull, "I", kNull, kNull})
      .Web({61, 16, 2, "Badge:", "spI_Badge", kNull, "I", "3", kNull})
      .Web({70, 17, 1, kNull, "spM_Buyers", kNull, "M", kNull, kNull});
  f.Sql("CREATE TABLE Sales (ID INTEGER PRIMARY KEY, Month TEXT, Amount CURRENCY)")
      .Sql("INSERT INTO Sales VALUES (1, 'Jan', 100), (2, 'Feb', 50), (3, 'Mar', NULL)")
      .Sql(
          "CREATE TABLE Employees (ID INTEGER PRIMARY KEY, IMGEmployee BLOB, Name TEXT, "
          "IMGBadge BLOB)")
      .Sql(std::string("INSERT INTO Employees VALUES (9, X'") + kEmployeeHex + "', 'Lee', X'" +
           kBadgeHex + "')")
      .Sql(
          "CREATE TABLE Goods (ID INTEGER PRIMARY KEY, FILE_Products TEXT, Name TEXT, "
          "Price CURRENCY)")
      .Sql(
          "INSERT INTO Goods VALUES (1, 'a.jpg', 'Pen', 1.5), (2, 'b.jpg', 'Ink', 3), "
          "(3, 'c.jpg', 'Pad', 4.5)")
      .Sql("CREATE TABLE OrderHeads (ID INTEGER PRIMARY KEY, Total CURRENCY)")
      .Sql("INSERT INTO OrderHeads VALUES (17, 250.5)")
      .Sql("CREATE TABLE OrderLines (ID INTEGER PRIMARY KEY, OrderID INTEGER, Item TEXT)")
      .Sql("INSERT INTO OrderLines VALUES (1, 17, 'Pen'), (2, 17, 'Ink')");
  f.Query("spC_Sales", "SELECT ID, Month, Amount FROM Sales ORDER BY ID")
      .Query("spI_Employee", "SELECT ID, IMGEmployee, Name FROM Employees WHERE ID = 9")
      .Query("spI_Badge", "SELECT ID, IMGBadge, Name FROM Employees WHERE ID = 9")
      .Query("spT_Products", "SELECT ID, FILE_Products, Name, Price FROM Goods ORDER BY ID")
      // The lines' own keys never show at the lowest level, so the lines carry the key of
      // their order as their ID and the chapter holds exactly the example's columns.
      .Query("spM_Orders",
             "SELECT 'SHAPE {EXEC spM_OrderHeads} APPEND ({EXEC spM_OrderLines} RELATE ID TO ID) "
             "AS Lines' AS Shape")
      .Query("spM_OrderHeads", "SELECT ID, Total FROM OrderHeads ORDER BY ID")
      .Query("spM_OrderLines", "SELECT OrderID AS ID, Item FROM OrderLines ORDER BY OrderLines.ID")
      // PostgreSQL gives unquoted names in small letters; quoted aliases keep the captions
      // spelled the same on both engines.
      .Query("spM_Buyers",
             "SELECT 'shape {SELECT ID, Name AS \"Name\" FROM Customers ORDER BY ID} append "
             "({SELECT ID, CustomerID AS \"CustomerID\", Item AS \"Item\" FROM Orders ORDER BY "
             "ID} relate ID to CustomerID) as Orders'");
  return f;
}

std::vector<std::string> PageOf(ControlHarness& h, const std::string& path) {
  h.TakeEvents();
  EXPECT_TRUE(h.Click(path));
  return PageLines(h.ReportFile());
}

class ParagraphTypes : public EngineTest {
 protected:
  ParagraphTypes() : h(GetParam(), ParagraphShop()) {
    h.control.Talking(true);
    h.control.RefreshBrowser();
  }
  ControlHarness h;
};

TEST_P(ParagraphTypes, SalesChartExample) {
  EXPECT_THAT(
      PageOf(h, "Data Browser\\Sales"),
      ElementsAre(
          Head("Sales"),
          "<table><tr><td><img id='CTL008' src='chart.gif'></td><td id='CTLCAP008' "
          "class=ph>Sales</td></table><table cellspacing=0 cellpadding=1 border=0 "
          "style='display:none' id='CGR008' width=100%><TR><TH COLSPAN=5> <p "
          "class=ctl>Sales</TH></TR><TR><TD VALIGN=TOP ALIGN=RIGHT class=cal>100</TD> <TD "
          "VALIGN=BOTTOM ROWSPAN=2 WIDTH=25% ><p class=cdv>100<IMG SRC='cbg.gif' WIDTH=100% "
          "HEIGHT=200></TD> <TD VALIGN=BOTTOM ROWSPAN=2 WIDTH=25% ><p class=cdv>50<IMG "
          "SRC='cbg.gif' WIDTH=100% HEIGHT=100></TD> <TD VALIGN=BOTTOM ROWSPAN=2 WIDTH=25% ><p "
          "class=cdv><IMG SRC='cbg.gif' WIDTH=100% HEIGHT=0></TD></TR><TR><TD VALIGN=BOTTOM "
          "ALIGN=RIGHT class=cal>0.00</TD></TR><TR><TD ALIGN=RIGHT VALIGN=BOTTOM "
          "class=ctl>Amount</TD><td class=cal>Jan</TD><td class=cal>Feb</TD><td "
          "class=cal>Mar</TD></TR></TABLE><hr width=100%>",
          kEnd));
  EXPECT_THAT(h.TakeEvents(),
              ElementsAre("Navigate: about:blank", "Navigate: " + h.ReportFile().string(),
                          "LogIt: View: Data Browser\\Sales"));
}

TEST_P(ParagraphTypes, EmployeeImageHeaderExampleWritesThePictureUnchanged) {
  EXPECT_THAT(PageOf(h, "Data Browser\\Staff"),
              ElementsAre(Head("Staff"),
                          "<p id='TTL003' class=ph><img src='circle.gif'>  Employee<table "
                          "id='TBL003' border=1 width=100%><TR><TD VALIGN=TOP WIDTH=40% "
                          "ROWSPAN=2><IMG SRC='pic1' WIDTH=100%></TD><td class=hn>ID: </td><td "
                          "class=hvr>9</td><tr><td class=hn>Name: </td><td "
                          "class=hvl>Lee</td><tr></table><br>",
                          kEnd));
  EXPECT_EQ(FileBytes(h.folder / "pic1"), Bytes(kEmployeeHex));
}

TEST_P(ParagraphTypes, TwoPicturesOnAPageHaveTwoFilesAndEveryPageCountsFromOne) {
  const std::vector<std::string> page = PageOf(h, "Data Browser\\Badges");
  ASSERT_EQ(page.size(), 4u);
  EXPECT_THAT(page[1], ::testing::HasSubstr("<IMG SRC='pic1' WIDTH=100%>"));
  EXPECT_THAT(page[2], ::testing::StartsWith(
                           "<p id='TTL061' class=ph><img src='circle.gif'>  Badge: Badges<table "
                           "id='TBL061' border=1 width=100%><TR><TD VALIGN=TOP WIDTH=40% "
                           "ROWSPAN=2><IMG SRC='pic2' WIDTH=100%></TD><td class=hn>ID: </td><td "
                           "class=hvr><a href='^000030000000009'>Click here. . .</a></td>"));
  EXPECT_EQ(FileBytes(h.folder / "pic1"), Bytes(kEmployeeHex));
  EXPECT_EQ(FileBytes(h.folder / "pic2"), Bytes(kBadgeHex));

  // The next page starts from pic1 again.
  EXPECT_THAT(PageOf(h, "Data Browser\\Staff")[1], ::testing::HasSubstr("<IMG SRC='pic1'"));
}

TEST_P(ParagraphTypes, ProductThumbnailsExample) {
  EXPECT_THAT(
      PageOf(h, "Data Browser\\Goods"),
      ElementsAre(Head("Goods"),
                  "<p id='TTL004' class=ph><img src='circle.gif'>  Products<table id='TBL004' "
                  "border=1 width=100%>",
                  "<tr><td valign=top width='50%' ><table width=100% border=0><tr><td "
                  "valign=top align=center ><IMG SRC='a.jpg'  width='80' ></td><tr><td "
                  "class=tdl>Pen</td><tr><td class=tdr>1.50</td><tr></table>",
                  "<td valign=top width='50%' ><table width=100% border=0><tr><td valign=top "
                  "align=center ><IMG SRC='b.jpg'  width='80' ></td><tr><td "
                  "class=tdl>Ink</td><tr><td class=tdr>3.00</td><tr></table>",
                  "<tr><td valign=top width='50%' ><table width=100% border=0><tr><td "
                  "valign=top align=center ><IMG SRC='c.jpg'  width='80' ></td><tr><td "
                  "class=tdl>Pad</td><tr><td class=tdr>4.50</td><tr></table>",
                  "</table>", kEnd));
}

TEST_P(ParagraphTypes, OrdersMultiChapterExampleThroughASavedShapeCommand) {
  EXPECT_THAT(
      PageOf(h, "Data Browser\\Orders"),
      ElementsAre(Head("Orders"),
                  " <table border=0 Width=100%><tr><td><p id='TTL006' class=ph><img "
                  "src='circle.gif'>Orders</td><td><p align=right id=DISPALL class=ph>Display "
                  "All</td></table><table id='TBL006' border=0 width=100%><tr>",
                  "<td colspan=1><div id=01SHP010 style=\"display:default\"><table border=1 "
                  "cellspacing=0 width=100%><tr><td width=5%>&nbsp;</td><td class=thc "
                  "bgcolor=#fa8072>Total</td>",
                  "<tr><td width=5%><img id=DTL0217 src=plus.gif></td><td class=tdr>250.50</td>",
                  "<tr id=01ROW0217 style=\"display:none\"><td>&nbsp;</td><td colspan=5><div "
                  "id=01SHP0217 style=\"display:none\"><table border=2 cellspacing=0 "
                  "width=100%><tr><td class=thc bgcolor=#90ee90>Item</td>",
                  "<tr><td class=tdl>Pen</td>", "<tr><td class=tdl>Ink</td>", "</table></div>",
                  "</table></div>", kEnd));
  EXPECT_THAT(h.TakeEvents(),
              ElementsAre("Navigate: about:blank", "Navigate: " + h.ReportFile().string(),
                          "LogIt: View: Data Browser\\Orders"));
}

TEST_P(ParagraphTypes, ShapedCustomersWithOrdersAndAnEmptyChapter) {
  const std::vector<std::string> page = PageOf(h, "Data Browser\\Buyers");
  EXPECT_THAT(
      page,
      ElementsAre(
          Head("Buyers"), "<table id='TBL070' border=0 width=100%><tr>",
          "<td colspan=1><div id=01SHP010 style=\"display:default\"><table border=1 "
          "cellspacing=0 width=100%><tr><td width=5%>&nbsp;</td><td class=thc "
          "bgcolor=#fa8072>Name</td>",
          "<tr><td width=5%><img id=DTL027 src=plus.gif></td><td class=tdl>Smith</td>",
          "<tr id=01ROW027 style=\"display:none\"><td>&nbsp;</td><td colspan=5><div "
          "id=01SHP027 style=\"display:none\"><table border=2 cellspacing=0 width=100%><tr><td "
          "class=thc bgcolor=#90ee90>CustomerID</td><td class=thc bgcolor=#90ee90>Item</td>",
          "<tr><td class=tdr>7</td><td class=tdl>Pen</td>",
          "<tr><td class=tdr>7</td><td class=tdl>Ink</td>", "</table></div>",
          "<tr><td width=5%><img id=DTL028 src=plus.gif></td><td class=tdl>Jones</td>",
          "<tr id=01ROW028 style=\"display:none\"><td>&nbsp;</td><td colspan=5><div "
          "id=01SHP028 style=\"display:none\"><table border=2 cellspacing=0 width=100%><tr><td "
          "class=thc bgcolor=#90ee90>CustomerID</td><td class=thc bgcolor=#90ee90>Item</td>",
          "<tr><td class=tdr>8</td><td class=tdl>Cap</td>", "</table></div>",
          // Lee has no orders: the plus icon, and no chapter box.
          "<tr><td width=5%><img id=DTL029 src=plus.gif></td><td class=tdl>Lee</td>",
          "</table></div>", kEnd));
}

class ParagraphTypesFailure : public EngineTest {};

TEST_P(ParagraphTypesFailure, FailingShapeCommandIsReportedAndThePageGoesOn) {
  ControlHarness broken(
      GetParam(), ParagraphShop().Query(
                      "spM_Buyers",
                      "SELECT 'SHAPE {SELECT ID FROM Customers} APPEND ({SELECT ID FROM Orders} "
                      "RELATE ID TO Nowhere) AS Orders'"));
  broken.control.Talking(true);
  broken.control.RefreshBrowser();
  EXPECT_THAT(PageOf(broken, "Data Browser\\Buyers"), ElementsAre(Head("Buyers"), kEnd));
  const std::vector<std::string> events = broken.TakeEvents();
  ASSERT_EQ(events.size(), 6u);
  EXPECT_EQ(events[1],
            "KivDBMessage: Unable to Access Data for the SQL : SHAPE {SELECT ID FROM Customers} "
            "APPEND ({SELECT ID FROM Orders} RELATE ID TO Nowhere) AS Orders");
  EXPECT_THAT(events[2], ::testing::MatchesRegex("KivDBMessage: Reason: .+"));
  EXPECT_EQ(events[3], "KivDBMessage: Error Reading Data From Database");
}

KIVDB_ON_BOTH_ENGINES(ParagraphTypes);
KIVDB_ON_BOTH_ENGINES(ParagraphTypesFailure);

}  // namespace
}  // namespace kivdb::testing
