// The wizard used as a person uses it, with the real windows: the start-up windows, a small
// scheme built only by keys, menu commands and typing, both files saved through the file dialogs
// and compared byte for byte with the files the model writes for the same scheme built in code.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "tests/wizard/model/builders.h"
#include "wizard/ui/editors/intro_window.h"
#include "wizard/ui/editors/node_editor.h"
#include "wizard/ui/editors/paragraph_editor.h"
#include "wizard/ui/f_main.h"
#include "wizard/ui/scheme_grid.h"
#include "wizard/ui/scheme_tree_view.h"

namespace kivwz::test {
namespace {

// Runs act on the next modal window to open. A window that act leaves open is closed after a
// few seconds, so no test waits on it for ever.
void OnNextModal(std::function<void(QWidget&)> act) {
  auto* timer = new QTimer;
  const QPointer<QWidget> before = QApplication::activeModalWidget();
  QObject::connect(timer, &QTimer::timeout, [timer, act, before] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal == before) return;
    timer->stop();
    timer->deleteLater();
    const QPointer<QWidget> guard = modal;
    act(*modal);
    QTimer::singleShot(5000, [guard] {
      if (guard != nullptr && guard->isVisible()) {
        ADD_FAILURE() << "left open: " << guard->windowTitle().toStdString();
        guard->close();
      }
    });
  });
  timer->start(10);
}

template <typename T>
T* Field(QWidget& window, const char* name) {
  T* field = window.findChild<T*>(QLatin1String(name));
  EXPECT_NE(field, nullptr) << name;
  return field;
}

void Type(QWidget& window, const char* name, const QString& text) {
  QLineEdit* field = Field<QLineEdit>(window, name);
  field->setFocus();
  field->selectAll();
  QTest::keyClicks(field, text);
}

// Picks the list entry that starts with the letter, by typing it into the list.
void Choose(QWidget& window, const char* name, char letter) {
  QListWidget* list = Field<QListWidget>(window, name);
  list->setFocus();
  QTest::keyClicks(list, QString(QLatin1Char(letter)));
}

// Checks that the save dialog offers the name and starts in the folder, then presses Enter.
void AcceptOfferedName(QWidget& dialog, const char* name, const std::filesystem::path& folder) {
  auto* files = qobject_cast<QFileDialog*>(&dialog);
  ASSERT_NE(files, nullptr);
  EXPECT_EQ(files->directory().absolutePath().toStdString(), folder.string());
  QLineEdit* edit = Field<QLineEdit>(dialog, "fileNameEdit");
  EXPECT_EQ(edit->text(), name);
  QTest::keyClick(edit, Qt::Key_Return);
}

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    main_ = std::make_unique<fMain>();
    main_->resize(1200, 800);
    main_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main_.get()));
  }
  // The start-up sequence, its two windows closed with Esc and Enter.
  void Start() {
    OnNextModal([](QWidget& intro) {
      OnNextModal([](QWidget& message) { QTest::keyClick(&message, Qt::Key_Return); });
      QTest::keyClick(&intro, Qt::Key_Escape);
    });
    main_->Start();
  }
  void TearDown() override {
    main_->ParagraphPopup().close();
    OnNextModal([](QWidget& question) { QTest::keyClick(&question, Qt::Key_Y); });
    main_->close();
  }
  void ClickNode(const std::string& key) {
    SchemeTreeView& tree = main_->Tree();
    QTreeWidgetItem* item = tree.ItemOf(key);
    ASSERT_NE(item, nullptr) << key;
    tree.scrollToItem(item);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualItemRect(item).center());
  }
  void PressInTree(Qt::Key key) {
    main_->Tree().setFocus();
    QTest::keyClick(&main_->Tree(), key);
  }
  void Trigger(const char* name) { main_->findChild<QAction*>(QLatin1String(name))->trigger(); }

  std::unique_ptr<fMain> main_;
};

TEST_F(EndToEnd, StartShowsTheIntroductionThenTheMessage) {
  std::vector<std::string> seen;
  OnNextModal([&seen](QWidget& intro) {
    seen.push_back(std::string("intro ") + intro.metaObject()->className());
    OnNextModal([&seen](QWidget& box) {
      auto* message = qobject_cast<QMessageBox*>(&box);
      ASSERT_NE(message, nullptr);
      seen.push_back("message " + message->windowTitle().toStdString());
      EXPECT_EQ(message->buttons().size(), 1);
      EXPECT_TRUE(message->text().startsWith("If you need to be familiarized"));
      QTest::keyClick(message, Qt::Key_Return);
    });
    QTest::keyClick(&intro, Qt::Key_Escape);
  });
  main_->Start();
  EXPECT_EQ(seen, (std::vector<std::string>{"intro kivwz::fIntro", "message KivWZ"}));
}

TEST_F(EndToEnd, ClosingAnUnchangedEditorAddsNothing) {
  Start();
  ClickNode("N1");
  bool opened = false;
  OnNextModal([&opened](QWidget& editor) {
    opened = qobject_cast<fNav*>(&editor) != nullptr;
    QTest::keyClick(Field<QLineEdit>(editor, "txtDescription"), Qt::Key_Escape);
  });
  PressInTree(Qt::Key_Insert);
  EXPECT_TRUE(opened);
  EXPECT_EQ(main_->oNavs.Count(), 1);
  EXPECT_EQ(main_->Tree().ChildCount("N1"), 0);
}

TEST_F(EndToEnd, SchemeBuiltByHandSavesTheSameFilesAsTheModel) {
  ScratchDir dir;
  Start();
  // Below the root, a generating node listing customers with one customer node below it.
  ClickNode("N1");
  OnNextModal([](QWidget& editor) {
    Type(editor, "txtDescription", "Customers");
    Choose(editor, "lstType", 'G');
    Type(editor, "txtQuery", "spG_Customers");
    Choose(editor, "lstParm", 'L');
    Type(editor, "txtIcon", "folder");
    QTest::keyClick(Field<QLineEdit>(editor, "txtIcon"), Qt::Key_F3);
    QTest::keyClick(Field<QLineEdit>(editor, "txtIcon"), Qt::Key_Escape);
  });
  PressInTree(Qt::Key_Insert);
  ASSERT_EQ(main_->Tree().ChildCount("N1"), 1);

  ClickNode("N2");
  OnNextModal([](QWidget& editor) {
    Type(editor, "txtDescription", "Customer");
    Choose(editor, "lstType", 'N');
    Type(editor, "txtRole", "1:3");
    QTest::keyClick(Field<QLineEdit>(editor, "txtRole"), Qt::Key_F3);
    QTest::keyClick(Field<QLineEdit>(editor, "txtRole"), Qt::Key_Escape);
  });
  PressInTree(Qt::Key_Insert);
  ASSERT_EQ(main_->Tree().ChildCount("N2"), 1);

  // A paragraph for the customer node: right-click on the grid's header row, Add Paragraph.
  ClickNode("N3");
  OnNextModal([](QWidget& editor) {
    Type(editor, "txtTitle", "Orders");
    Type(editor, "txtQuery", "spW_Orders");
    QTest::keyClick(Field<QLineEdit>(editor, "txtQuery"), Qt::Key_F3);
    QTest::keyClick(Field<QLineEdit>(editor, "txtQuery"), Qt::Key_Escape);
  });
  QTest::mouseClick(main_->WebGrid().viewport(), Qt::RightButton, {}, QPoint(5, 5));
  ASSERT_TRUE(main_->ParagraphPopup().isVisible());
  QTest::keyClick(&main_->ParagraphPopup(), Qt::Key_A);
  ASSERT_EQ(main_->WebGrid().RowCount(), 2);

  // The first dialog starts in the current folder, the next in the folder just saved to.
  const std::filesystem::path canonical = std::filesystem::canonical(dir.Path());
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(canonical);
  OnNextModal([&](QWidget& dialog) { AcceptOfferedName(dialog, "XST1.txt", canonical); });
  Trigger("mnuNavSave");
  std::filesystem::current_path(previous);
  OnNextModal([&](QWidget& dialog) { AcceptOfferedName(dialog, "XST2.txt", canonical); });
  Trigger("mnuDisSave");
  const std::string nav = dir.File("XST1.txt");
  const std::string web = dir.File("XST2.txt");

  clsNavSchemes expected;
  expected.NewScheme();
  // The editor stores the long-key parameter as "Lkey".
  auto customers = Node(2, 1, "G", "spG_Customers", "Customers", "Lkey");
  customers->iconIs = "folder";
  auto customer = Node(3, 2, "N", "", "Customer");
  customer->roleIs = "1:3";
  expected.Add(customers);
  expected.Add(customer);
  expected.oWebs.Add(Paragraph(1, 3, 1, "S", "spW_Orders", "Orders"));
  ASSERT_TRUE(expected.SaveData(dir.File("expected-XST1.txt")));
  ASSERT_TRUE(expected.SaveWeb(dir.File("expected-XST2.txt")));
  EXPECT_EQ(ReadFile(nav), ReadFile(dir.File("expected-XST1.txt")));
  EXPECT_EQ(ReadFile(web), ReadFile(dir.File("expected-XST2.txt")));
  EXPECT_FALSE(main_->Commands().NavChanged());
  EXPECT_FALSE(main_->Commands().WebChanged());
}

}  // namespace
}  // namespace kivwz::test
