// The main window on recording stand-ins: start-up, the node and paragraph commands as keys,
// clicks and popups give them, the file commands, closing, menus and layout.

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QMenuBar>
#include <QScrollBar>
#include <QTest>
#include <filesystem>
#include <functional>

#include "tests/wizard/ui/main_window_fixture.h"
#include "wizard/model/view_style.h"

namespace kivwz::test {
namespace {

constexpr const char* kStart =
    "message: If you need to be familiarized with the working of this Wizard, \nPlease open the "
    "Files XST1.txt and XST2.txt for getting started...";

TEST(MainWindowStart, IntroductionFirstThenTheTwoLineMessageOverTheDefaultScheme) {
  ShownLog log;
  RecordingMessages messages(log);
  ScriptedDialogs dialogs;
  RecordingWindows windows(log);
  fMain main({&messages, &dialogs, &windows});
  // Nothing is shown before the start-up sequence runs.
  EXPECT_TRUE(log.empty());
  main.Start();
  EXPECT_EQ(log, (ShownLog{"introduction", kStart}));
  EXPECT_EQ(main.windowTitle(), "Reporting Scheme Wizard for KivDB 1.02");
  ASSERT_EQ(main.Tree().topLevelItemCount(), 1);
  EXPECT_EQ(main.Tree().topLevelItem(0)->text(0), "Data Browser");
  EXPECT_EQ(main.Tree().topLevelItem(0)->childCount(), 0);
  ASSERT_EQ(main.NavGrid().RowCount(), 2);
  EXPECT_EQ(main.NavGrid().Cell(1, 0), "1");
  EXPECT_EQ(main.NavGrid().Cell(1, 2), "F");
  EXPECT_EQ(main.WebGrid().RowCount(), 1);
  EXPECT_FALSE(main.Commands().NavChanged());
  EXPECT_FALSE(main.Commands().WebChanged());
}

TEST_F(MainWindowTest, InsertBelowAGeneratingNodeWithAChildIsRefusedUntilTheChildIsGone) {
  Design({Node(1, 0, "F"), Node(2, 1, "G", "spG_A"), Node(3, 2, "N")});
  ClickNode("N2");
  ReleaseKey(Qt::Key_Insert);
  EXPECT_EQ(messages_.Shown(),
            (std::vector<std::string>{"Below a (G)- Generating Node, you can add just ONE "
                                      "node.\nNode is already present. No Addition allowed !!"}));
  EXPECT_TRUE(windows_.nodeRecords.empty());

  ClickNode("N3");
  ReleaseKey(Qt::Key_Delete);
  ClickNode("N2");
  ReleaseKey(Qt::Key_Insert);
  ASSERT_EQ(windows_.nodeRecords.size(), 1u);
  EXPECT_EQ(windows_.nodeRecords[0]->typeIs(), "N");
  EXPECT_EQ(windows_.nodeRecords[0]->parentIs, 2);
}

TEST_F(MainWindowTest, InsertBelowAFixedNodeTakesTheIdAboveTheLargest) {
  Design({Node(1, 0, "F"), Node(2, 1, "F"), Node(3, 1, "F"), Node(9, 1, "F"), Node(20, 3, "N")});
  windows_.onEditNode = [this](const clsNavSchemes::Node& record) { Navs().FuseNav(record); };
  ClickNode("N2");
  ReleaseKey(Qt::Key_Insert);
  ASSERT_EQ(windows_.nodeRecords.size(), 1u);
  const clsNavSchemes::Node& record = windows_.nodeRecords[0];
  EXPECT_EQ(record->ID(), 21);
  EXPECT_EQ(record->parentIs, 2);
  EXPECT_EQ(record->descriptionIs, "New");
  EXPECT_EQ(record->typeIs(), "N");
  EXPECT_EQ(record->iconIs, "leaf");
  EXPECT_EQ(record->queryIs(), "");
  EXPECT_EQ(windows_.nodeParents[0], Navs().Item("2"));
  // The tree is drawn again once the editor has closed.
  EXPECT_EQ(main_->Tree().ParentKey("N21"), "N2");
  EXPECT_EQ(main_->Tree().SelectedKey(), "N21");  // the new node is the current one
}

TEST_F(MainWindowTest, TheKeyboardKeepsACurrentNodeAndMovesAsClicksDo) {
  Design({Node(1, 0, "F"), Node(2, 1, "F"), Node(3, 1, "F"), Node(4, 3, "N")});
  windows_.onEditNode = [this](const clsNavSchemes::Node& record) { Navs().FuseNav(record); };
  SchemeTreeView& tree = main_->Tree();
  tree.setFocus();
  const struct {
    const char* step;
    std::function<void()> act;
    std::string selected;
  } steps[] = {
      {"Home at start", [&] { QTest::keyClick(&tree, Qt::Key_Home); }, "N1"},
      {"Down", [&] { QTest::keyClick(&tree, Qt::Key_Down); }, "N2"},
      {"Down again", [&] { QTest::keyClick(&tree, Qt::Key_Down); }, "N3"},
      {"Ins: the new node", [&] { QTest::keyClick(&tree, Qt::Key_Insert); }, "N5"},
      {"F2: the node edited", [&] { QTest::keyClick(&tree, Qt::Key_F2); }, "N5"},
      {"Del: its parent", [&] { QTest::keyClick(&tree, Qt::Key_Delete); }, "N3"},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.step);
    s.act();
    EXPECT_EQ(tree.SelectedKey(), s.selected);
  }
  EXPECT_EQ(Navs().Item("5"), nullptr);
}

TEST_F(MainWindowTest, NodesThatTakeNoChildRefuseInsert) {
  Design({Node(1, 0, "F"), Node(2, 1, "G", "spG_A"), Node(3, 2, "R", "spG_B"), Node(4, 1, "N")});
  struct Case {
    const char* key;
    const char* message;
  };
  for (const Case& c :
       {Case{"N3", "Below a (R)- Recurring Node, you CANNOT add any node.\nNo Addition allowed !!"},
        Case{"N4",
             "Below a (N)- Non-Generating Node, you CANNOT add any node.\nNo Addition allowed "
             "!!"}}) {
    messages_.Forget();
    ClickNode(c.key);
    ReleaseKey(Qt::Key_Insert);
    EXPECT_EQ(messages_.Shown(), (std::vector<std::string>{c.message})) << c.key;
  }
  EXPECT_TRUE(windows_.nodeRecords.empty());
}

TEST_F(MainWindowTest, TheRootCanBeNeitherEditedNorDeleted) {
  Design({Node(1, 0, "F"), Node(2, 1, "N")}, {Paragraph(1, 1, 1)});
  ClickNode("N1");
  ReleaseKey(Qt::Key_F2);
  ReleaseKey(Qt::Key_Delete);
  EXPECT_EQ(messages_.Shown(), (std::vector<std::string>{"Root Node cannot be modified !!",
                                                         "Root Node cannot be deleted!!"}));
  EXPECT_EQ(Navs().Count(), 2);
  EXPECT_EQ(Navs().oWebs.Count(), 1);
  EXPECT_TRUE(windows_.nodeRecords.empty());
}

TEST_F(MainWindowTest, DeleteRemovesTheSubtreeAndItsParagraphsWithoutAsking) {
  Design({Node(1, 0, "F"), Node(2, 1, "F"), Node(3, 2, "G", "spG_A"), Node(4, 3, "N"),
          Node(5, 1, "N")},
         {Paragraph(1, 2, 1), Paragraph(2, 4, 1), Paragraph(3, 5, 1), Paragraph(4, 1, 1)});
  ClickNode("N2");
  ReleaseKey(Qt::Key_Delete);
  EXPECT_EQ(IdsInOrder(Navs()), "1 5");
  EXPECT_EQ(Navs().oWebs.Count(), 2);
  EXPECT_TRUE(Navs().oWebs.Item("3"));
  EXPECT_TRUE(Navs().oWebs.Item("4"));
  EXPECT_EQ(main_->Tree().ItemOf("N2"), nullptr);
  EXPECT_EQ(main_->Tree().ChildCount("N1"), 1);
  EXPECT_TRUE(log_.empty());  // no question, no message
}

TEST_F(MainWindowTest, EditHandsACopyBelowTheTreeParentAndAnUnchangedCloseChangesNothing) {
  Design({Node(1, 0, "F"), Node(2, 1, "G", "spG_A"), Node(3, 2, "N")});
  ClickNode("N3");
  ReleaseKey(Qt::Key_F2);
  ASSERT_EQ(windows_.nodeRecords.size(), 1u);
  EXPECT_EQ(windows_.nodeParents[0], Navs().Item("2"));
  EXPECT_NE(windows_.nodeRecords[0], Navs().Item("3"));
  EXPECT_EQ(windows_.nodeRecords[0]->descriptionIs, "Node 3");
  EXPECT_FALSE(main_->Commands().NavChanged());
  // The node popup runs the same commands on the selected node.
  QTest::mouseClick(main_->Tree().viewport(), Qt::RightButton, {}, QPoint(5, 5));
  EXPECT_TRUE(main_->NodePopup().isVisible());
  EXPECT_EQ(main_->Commands().PopupKey(), "3");
  Trigger("mnuEdit");
  EXPECT_EQ(windows_.nodeRecords.size(), 2u);
}

TEST_F(MainWindowTest, AddParagraphAfterARightClickOnTheHeaderGoesToTheSelectedNode) {
  Design({Node(1, 0, "F"), Node(2, 1, "F")},
         {Paragraph(1, 2, 1), Paragraph(2, 2, 4), Paragraph(3, 1, 7)});
  windows_.onEditParagraph = [this](const clsWebSchemes::Paragraph& record) {
    record->queryIs = "spW_New";
    Navs().FuseWeb(record);
  };
  ClickNode("N2");
  RightClickWebGrid();
  EXPECT_TRUE(main_->ParagraphPopup().isVisible());
  EXPECT_EQ(main_->Commands().PopupKey(), "ID");
  EXPECT_EQ(main_->Commands().PopupNode(), "XST1");
  Trigger("mnuAddP");
  ASSERT_EQ(windows_.paragraphRecords.size(), 1u);
  const clsWebSchemes::Paragraph& record = windows_.paragraphRecords[0];
  EXPECT_EQ(record->ID(), 4);
  EXPECT_EQ(record->XST1, 2);
  EXPECT_EQ(record->seqNo, 5);
  EXPECT_EQ(record->titleIs, "New");
  EXPECT_EQ(record->typeIs, "S");
  EXPECT_EQ(record->formIs, 0);
  // The grid shows that node's paragraphs, the new one last.
  ASSERT_EQ(main_->WebGrid().RowCount(), 4);
  EXPECT_EQ(main_->WebGrid().Cell(3, 0), "4");
}

TEST_F(MainWindowTest, ParagraphCommandsOnARow) {
  Design({Node(1, 0, "F"), Node(2, 1, "F")},
         {Paragraph(1, 2, 1), Paragraph(2, 2, 4), Paragraph(3, 1, 7)});
  ClickNode("N2");
  ClickWebRow(2);
  RightClickWebGrid();
  EXPECT_EQ(main_->Commands().PopupKey(), "2");
  Trigger("mnuEditP");
  ASSERT_EQ(windows_.paragraphRecords.size(), 1u);
  EXPECT_EQ(windows_.paragraphRecords[0]->ID(), 2);
  EXPECT_NE(windows_.paragraphRecords[0], Navs().oWebs.Item("2"));  // a detached copy

  ClickWebRow(1);
  RightClickWebGrid();
  Trigger("mnuDeleteP");
  EXPECT_FALSE(Navs().oWebs.Item("1"));
  ASSERT_EQ(main_->WebGrid().RowCount(), 2);
  EXPECT_EQ(main_->WebGrid().Cell(1, 0), "2");
  Trigger("mnuDisplayAll");
  EXPECT_EQ(main_->WebGrid().RowCount(), 3);
  EXPECT_TRUE(messages_.Shown().empty());
}

TEST_F(MainWindowTest, ParagraphCommandsWithoutANodeAreRefused) {
  Design({Node(1, 0, "F"), Node(2, 1, "F")}, {Paragraph(1, 2, 1)});
  Trigger("mnuCollapse");  // nothing selected in the tree
  RightClickWebGrid();
  Trigger("mnuAddP");
  Trigger("mnuEditP");
  Trigger("mnuDeleteP");
  // Add replaced the header's node with the empty selection, so Edit then finds no node number.
  EXPECT_EQ(messages_.Shown(),
            (std::vector<std::string>{"Cannot Add ....", "Nothin to Edit ...."}));
  EXPECT_TRUE(windows_.paragraphRecords.empty());
  EXPECT_EQ(Navs().oWebs.Count(), 1);
}

TEST_F(MainWindowTest, EditParagraphAfterTheHeaderRowHasNothingToEdit) {
  Design({Node(1, 0, "F")}, {Paragraph(1, 1, 1)});
  RightClickWebGrid();
  Trigger("mnuEditP");
  EXPECT_EQ(messages_.Shown(), (std::vector<std::string>{"Nothin to Edit ...."}));
}

TEST_F(MainWindowTest, CollapseNodesLeavesOnlyTheRootOpen) {
  Design({Node(1, 0, "F"), Node(2, 1, "F"), Node(3, 2, "G", "spG_A"), Node(4, 3, "N"),
          Node(5, 1, "F"), Node(6, 5, "N")});
  ClickNode("N4");
  ClickNode("N5");
  ClickNode("N4");
  ASSERT_TRUE(main_->Tree().IsExpanded("N2"));
  Trigger("mnuCollapse");
  SchemeTreeView& tree = main_->Tree();
  EXPECT_TRUE(tree.IsExpanded("N1"));
  for (const char* key : {"N2", "N3", "N4", "N5", "N6"}) EXPECT_FALSE(tree.IsExpanded(key)) << key;
  EXPECT_EQ(tree.SelectedKey(), "");
}

TEST_F(MainWindowTest, NodeClickBringsTheNodesRowToTheTopOfTheNavigationGrid) {
  Design({Node(1, 0, "F")});
  for (Long id = 2; id <= 300; ++id) Navs().Add(Node(id, 1, "N"));
  Navs().DispInTV();
  ClickNode("N250");
  EXPECT_EQ(main_->NavGrid().TopRow(), 250);
  ClickNode("N40");
  EXPECT_EQ(main_->NavGrid().TopRow(), 40);
}

TEST_F(MainWindowTest, OutputCommandsShowTheModelsTexts) {
  Design({Node(1, 0, "F"), Node(2, 1, "G")}, {Paragraph(1, 2, 1), Paragraph(2, 9, 1)});
  Trigger("mnuCheckNav");
  Trigger("mnuNavToDo");
  Trigger("mnuCheckWeb");
  Trigger("mnuWebToDo");
  ASSERT_EQ(windows_.outputs.size(), 4u);
  EXPECT_EQ(windows_.outputs[0], Navs().CheckNav());
  EXPECT_EQ(windows_.outputs[1], Navs().NavToDo());
  EXPECT_EQ(windows_.outputs[2], Navs().oWebs.CheckScheme(Navs()));
  EXPECT_EQ(windows_.outputs[3], Navs().oWebs.WebToDo());
  EXPECT_NE(windows_.outputs[2].find("rphan"), std::string::npos);
}

TEST_F(MainWindowTest, CancelledSavesWriteAndShowNothing) {
  ScratchDir dir;
  std::filesystem::current_path(dir.Path());
  dialogs_.answers = {"", ""};
  Trigger("mnuNavSave");
  Trigger("mnuDisSave");
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    ADD_FAILURE() << "written: " << entry.path();
  }
  EXPECT_TRUE(log_.empty());
  EXPECT_EQ(dialogs_.defaultNames, (std::vector<std::string>{"XST1.txt", "XST2.txt"}));
  std::filesystem::current_path("/");
}

TEST_F(MainWindowTest, FailedSavesSayUnableToSave) {
  Design({Node(1, 0, "F")}, {Paragraph(1, 1, 1)});
  for (const char* command : {"mnuNavSave", "mnuDisSave"}) {
    messages_.Forget();
    dialogs_.answers = {"/nonexistent-folder/scheme.txt"};
    Trigger(command);
    EXPECT_EQ(messages_.Shown(), (std::vector<std::string>{"Unable to save file.."})) << command;
  }
}

TEST(MainWindowDialogs, StartInTheCurrentFolderBeforeAnyFile) {
  ShownLog log;
  RecordingMessages messages(log);
  ScriptedDialogs dialogs;
  RecordingWindows windows(log);
  fMain main({&messages, &dialogs, &windows});
  main.Start();
  main.findChild<QAction*>("mnuNavOpen")->trigger();
  EXPECT_EQ(dialogs.startFolders,
            (std::vector<std::string>{std::filesystem::current_path().string()}));
}

TEST_F(MainWindowTest, DialogsStartInTheFolderOfTheLastFileOpenedOrSaved) {
  ScratchDir dir;
  std::filesystem::create_directories(dir.Path() / "saved");
  const std::string nav = (dir.Path() / "saved" / "XST1.txt").string();
  Design({Node(1, 0, "F"), Node(2, 1, "N")});
  dialogs_.answers = {nav, "", nav};
  Trigger("mnuNavSave");
  Trigger("mnuDisOpen");  // cancelled
  Trigger("mnuNavNew");
  Trigger("mnuNavOpen");
  ASSERT_EQ(dialogs_.startFolders.size(), 3u);
  // The design came from files_: its folder is where the first dialog starts.
  EXPECT_EQ(dialogs_.startFolders[0], files_.Path().string());
  EXPECT_EQ(dialogs_.startFolders[1], (dir.Path() / "saved").string());
  EXPECT_EQ(IdsInOrder(Navs()), "1 2");  // New discarded it, Open brought it back
  EXPECT_EQ(main_->Tree().ChildCount("N1"), 1);
}

TEST_F(MainWindowTest, ClosingAsksOnceOnlyWhenSomethingIsUnsaved) {
  EXPECT_TRUE(main_->close());
  EXPECT_TRUE(log_.empty());

  main_->show();
  Design({Node(1, 0, "F"), Node(2, 1, "N")});
  ClickNode("N2");
  ReleaseKey(Qt::Key_Delete);
  messages_.answer = false;
  EXPECT_FALSE(main_->close());
  EXPECT_TRUE(main_->isVisible());
  EXPECT_EQ(log_.size(), 1u);
  EXPECT_EQ(log_[0].rfind("question: ", 0), 0u);

  // Saved, the design closes without a question; so does a new one.
  ScratchDir dir;
  dialogs_.answers = {dir.File("XST1.txt")};
  Trigger("mnuNavSave");
  log_.clear();
  EXPECT_TRUE(main_->close());
  EXPECT_TRUE(log_.empty());
}

TEST_F(MainWindowTest, WebChangesCountAsUnsavedToo) {
  Design({Node(1, 0, "F")}, {Paragraph(1, 1, 1)});
  ScratchDir dir;
  dialogs_.answers = {dir.File("XST1.txt"), dir.File("XST2.txt")};
  Trigger("mnuNavSave");
  Trigger("mnuDisSave");
  EXPECT_FALSE(main_->Commands().WebChanged());
  RightClickWebGrid();
  Trigger("mnuDisplayAll");
  ClickWebRow(1);
  RightClickWebGrid();
  Trigger("mnuDeleteP");
  EXPECT_TRUE(main_->Commands().WebChanged());
  messages_.answer = true;
  EXPECT_TRUE(main_->close());
  EXPECT_EQ(log_.back().rfind("question: ", 0), 0u);
}

TEST_F(MainWindowTest, NewDiscardsBothSchemesWithoutAQuestion) {
  Design({Node(1, 0, "F"), Node(2, 1, "N")}, {Paragraph(1, 2, 1)});
  Trigger("mnuNavNew");
  EXPECT_EQ(IdsInOrder(Navs()), "1");
  EXPECT_EQ(Navs().oWebs.Count(), 0);
  EXPECT_TRUE(log_.empty());
}

TEST_F(MainWindowTest, MenusCarryTheirCaptionsAndAccessKeys) {
  struct Case {
    const char* name;
    const char* caption;
  };
  for (const Case& c : {Case{"mnuIntro", "&Introduction"},
                        Case{"mnuNavOpen", "Open &Nav. File"},
                        Case{"mnuDisOpen", "Open &Web File"},
                        Case{"mnuHelp", "&Help"},
                        Case{"mnuExit", "E&xit"},
                        Case{"mnuNavNew", "&New"},
                        Case{"mnuNavSave", "&Save to Text File"},
                        Case{"mnuCollapse", "&Collapse Nodes"},
                        Case{"mnuNavRenum", "&Re-Number"},
                        Case{"mnuCheckNav", "&Analysis of Nav Scheme"},
                        Case{"mnuNavToDo", "Action &To Do"},
                        Case{"mnuDisSave", "&Save to Text File"},
                        Case{"mnuCheckWeb", "&Analysis of Web Scheme"},
                        Case{"mnuWebToDo", "Action &To Do"},
                        Case{"mnuChild", "&Add Child   (Ins)"},
                        Case{"mnuEdit", "&Edit Node   (F2)"},
                        Case{"mnuDelete", "&Delete       (Del)"},
                        Case{"mnuAddP", "&Add Paragraph"},
                        Case{"mnuEditP", "&Edit Paragraph"},
                        Case{"mnuDeleteP", "&Delete Paragraph"},
                        Case{"mnuDisplayAll", "Display &Full Table XST2"},
                        Case{"mnuOrphans", "Display &Orphans"}}) {
    QAction* action = Action(c.name);
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text(), c.caption) << c.name;
  }
  EXPECT_EQ(Action("mnuExit")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_X));
  QStringList bar;
  for (QAction* top : main_->menuBar()->actions()) bar << top->text();
  EXPECT_EQ(bar, (QStringList{"&File", "&Navigation", "&Web"}));
  EXPECT_EQ(main_->NodePopup().title(), "Popup");
  EXPECT_EQ(main_->ParagraphPopup().title(), "&WPopUp");
}

TEST_F(MainWindowTest, HelpAndIntroductionComeFromMenuAndF1) {
  Trigger("mnuHelp");
  QTest::keyClick(main_.get(), Qt::Key_F1);
  Trigger("mnuIntro");
  EXPECT_EQ(log_, (ShownLog{"help", "help", "introduction"}));
}

TEST_F(MainWindowTest, LayoutKeepsItsProportionsWhenResized) {
  for (const QSize size : {QSize(1200, 800), QSize(1600, 1000), QSize(900, 700)}) {
    main_->resize(size);
    QApplication::processEvents();
    const QWidget* frN = main_->findChild<QGroupBox*>("frN");
    const QWidget* frW = main_->findChild<QGroupBox*>("frW");
    const QWidget* frRule = main_->findChild<QGroupBox*>("frRule");
    const double share = double(main_->Tree().width()) / main_->centralWidget()->width();
    EXPECT_NEAR(share, 0.3, 0.03) << size.width();
    EXPECT_LT(frN->y(), frW->y());
    EXPECT_LT(frW->y(), frRule->y());
    EXPECT_NEAR(frN->height(), frW->height(), 2);
    EXPECT_GT(frN->x(), main_->Tree().x() + main_->Tree().width() - 1);
  }
}

// Long descriptions and titles must not push the short columns out of view: at the size the
// window opens with on common screens, both grids show every column and do not scroll sideways;
// the long texts take the width the others leave.
TEST_F(MainWindowTest, EveryGridColumnIsInViewAtTheDefaultSize) {
  const std::string longText(200, 'W');
  auto root = Node(1, 0, "F", "", "Data Browser");
  auto generating = Node(2, 1, "G", "spG_CategoryProducts", longText, "CKey05");
  generating->roleIs = "12";
  auto leaf = Node(3, 2, "N", "", "Product");
  auto paragraph = Paragraph(1, 2, 1, "T", "spW_CustomerOrderLines", longText);
  paragraph->colsAre = "<height>150</height> <width>150</width> <columns>3</columns>";
  Design({root, generating, leaf}, {paragraph, Paragraph(2, 2, 2, "S", "spW_Orders")});
  Trigger("mnuDisplayAll");

  const std::pair<SchemeGrid*, int> grids[] = {{&main_->NavGrid(), kNavGridStretchColumn},
                                               {&main_->WebGrid(), kWebGridStretchColumn}};
  // On a smaller screen the columns still all show, but the short ones give up width too.
  const std::pair<QSize, bool> screens[] = {
      {{1366, 768}, true}, {{1920, 1080}, true}, {{1024, 768}, false}};
  for (const auto& [screen, cellsWhole] : screens) {
    main_->setGeometry(fMain::DefaultGeometry(QRect(QPoint(0, 0), screen)));
    QApplication::processEvents();
    for (const auto& [grid, stretch] : grids) {
      grid->Flush();
      const QString name = grid->objectName();
      const int viewport = grid->viewport()->width();
      int right = 0;
      for (int column = 0; column < grid->model()->columnCount(); ++column) {
        SCOPED_TRACE(testing::Message()
                     << screen.width() << " " << name.toStdString() << " column " << column);
        EXPECT_EQ(grid->columnViewportPosition(column), right);
        right += grid->columnWidth(column);
        if (column == stretch || !cellsWhole) continue;
        // The short cells show whole; only the paragraph's thumbnail settings reach the width
        // the format gives them and may be cut.
        const int designed =
            grid->Model().Columns()[column].width * grid->fontMetrics().averageCharWidth() + 8;
        if (grid->columnWidth(column) >= designed) continue;
        for (int row = 1; row < grid->RowCount(); ++row) {
          const QString cell = QString::fromStdString(grid->Cell(row, column));
          EXPECT_LE(grid->fontMetrics().horizontalAdvance(cell) + 7, grid->columnWidth(column))
              << cell.toStdString();
        }
      }
      EXPECT_EQ(right, viewport) << screen.width() << " " << name.toStdString();
      EXPECT_EQ(grid->horizontalScrollBar()->maximum(), 0) << screen.width();
    }
  }
}

}  // namespace
}  // namespace kivwz::test
