// What the Qt adapters add to the contracts: NodeClick once per user action, pictures for every
// key the demo schemes name, and the property page in design and user mode.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <fstream>
#include <functional>
#include <set>

#include <kivdb/kivdb.h>
#include <kivdb/qt/property_page.h>
#include "tests/control/qt/qt_widgets_harness.h"

namespace kivdb::qt {
namespace {

using ::testing::ElementsAreArray;
using ::testing::HasSubstr;

TEST(QtTreeView, NodeClickIsRaisedOncePerClickOrKeyboardMove) {
  struct Case {
    const char* name;
    std::function<void(testing::QtWidgets&, std::vector<TreeNode*>&)> act;
    std::vector<int> clicked;  // indexes of the nodes NodeClick carried
  };
  const Case cases[] = {
      {"mouse on another node",
       [](testing::QtWidgets& w, auto& n) { testing::ClickNode(*w.tree, *n[2]); },
       {2}},
      {"mouse on the selected node",
       [](testing::QtWidgets& w, auto& n) { testing::ClickNode(*w.tree, *n[1]); },
       {1}},
      {"key down",
       [](testing::QtWidgets& w, auto&) { QTest::keyClick(w.treeWidget, Qt::Key_Down); },
       {2}},
      {"key up to the root",
       [](testing::QtWidgets& w, auto&) { QTest::keyClick(w.treeWidget, Qt::Key_Up); },
       {0}},
      {"key end",
       [](testing::QtWidgets& w, auto&) { QTest::keyClick(w.treeWidget, Qt::Key_End); },
       {3}},
      {"a key that moves nothing",
       [](testing::QtWidgets& w, auto&) { QTest::keyClick(w.treeWidget, Qt::Key_Escape); },
       {}},
      {"selection from code", [](testing::QtWidgets&, auto& n) { n[3]->SetSelected(true); }, {}},
      {"two clicks",
       [](testing::QtWidgets& w, auto& n) {
         testing::ClickNode(*w.tree, *n[2]);
         testing::ClickNode(*w.tree, *n[3]);
       },
       {2, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing::QtWidgets widgets;
    TreeView& tree = *widgets.tree;
    TreeNode& root = tree.Add();
    root.SetText("Data Browser");
    std::vector<TreeNode*> nodes{&root};
    for (const char* caption : {"A", "B", "C"})
      nodes.push_back(&tree.AddChild(root, "", caption, ""));
    root.SetExpanded(true);
    nodes[1]->SetSelected(true);
    widgets.treeWidget->setFocus();
    std::vector<int> clicked;
    tree.SetNodeClickHandler([&](TreeNode& node) {
      clicked.push_back(
          static_cast<int>(std::find(nodes.begin(), nodes.end(), &node) - nodes.begin()));
      EXPECT_EQ(tree.SelectedItem(), &node);
    });
    c.act(widgets, nodes);
    QApplication::processEvents();
    EXPECT_THAT(clicked, ElementsAreArray(c.clicked));
  }
}

TEST(QtTreeView, AHandlerThatReshapesTheTreeCausesNoSecondClick) {
  testing::QtWidgets widgets;
  TreeView& tree = *widgets.tree;
  TreeNode& root = tree.Add();
  root.SetText("Data Browser");
  TreeNode& a = tree.AddChild(root, "", "A", "");
  TreeNode& b = tree.AddChild(root, "", "B", "");
  root.SetExpanded(true);
  a.SetSelected(true);
  widgets.treeWidget->setFocus();
  int clicks = 0;
  tree.SetNodeClickHandler([&](TreeNode& node) {
    ++clicks;
    // As the control does: select, expand, add children, remove some.
    node.SetSelected(true);
    node.SetExpanded(true);
    tree.AddChild(node, "", "child", "group");
    tree.Remove(a.Index());
  });
  QTest::keyClick(widgets.treeWidget, Qt::Key_Down);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(tree.SelectedItem(), &b);
  EXPECT_EQ(b.Children(), 1);
}

TEST(ImageList, TheDefaultsHoldEveryPictureTheDemoSchemesName) {
  std::set<std::string> keys{"group", "Net"};
  std::ifstream scheme(KIVDB_SOURCE_DIR "/demo/XST1.txt");
  std::string line;
  std::getline(scheme, line);  // the column names; iconIs is the 7th column
  while (std::getline(scheme, line)) {
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    for (char ch : line) {
      if (ch == '"') {
        quoted = !quoted;
      } else if (ch == ',' && !quoted) {
        fields.push_back(field);
        field.clear();
      } else if (ch != '\r') {
        field += ch;
      }
    }
    fields.push_back(field);
    if (fields.size() > 6 && !fields[6].empty()) keys.insert(fields[6]);
  }
  ASSERT_GT(keys.size(), 10u);
  const ImageList images = ImageList::WithDefaults();
  for (const std::string& key : keys) {
    SCOPED_TRACE(key);
    ASSERT_TRUE(images.Contains(key));
    const QImage picture = images.Icon(key).pixmap(16, 16).toImage();
    int drawn = 0;
    for (int y = 0; y < picture.height(); ++y) {
      for (int x = 0; x < picture.width(); ++x) drawn += qAlpha(picture.pixel(x, y)) > 0;
    }
    EXPECT_GT(drawn, 40);  // a picture, not an empty square
  }
}

class PropertyPage : public ::testing::Test {
 protected:
  void SetUp() override {
    for (KivDB* control : {&first_, &second_}) {
      control->InitProperties();
      control->SetUserMode(false);
    }
    first_.OnPropertyChanged([this](const std::string& name) { changed_.push_back(name); });
    page_.SetErrorReporter([this](const QString& message) { errors_.push_back(message); });
  }
  // The settings as "DAMode/ActivePort", read at design time.
  static std::string Settings(KivDB& control) {
    control.SetUserMode(false);
    return std::to_string(control.DAMode()) + "/" + std::to_string(control.ActivePort());
  }
  static void Retype(QLineEdit* box, const QString& text) {
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
  }

  KivDB first_;
  KivDB second_;
  pPage1 page_;
  std::vector<std::string> changed_;
  std::vector<QString> errors_;
};

TEST_F(PropertyPage, ShowsAndAppliesTheFirstSelectedControlsSettings) {
  EXPECT_EQ(page_.windowTitle(), "KivDB Properties");
  page_.SetSelectedControls({&first_, &second_});
  EXPECT_EQ(page_.txtDAMode()->text(), "1");
  EXPECT_EQ(page_.txtActivePort()->text(), "80");
  EXPECT_FALSE(page_.Changed());

  Retype(page_.txtActivePort(), "81");
  EXPECT_TRUE(page_.Changed());
  Retype(page_.txtDAMode(), "2");
  ASSERT_TRUE(page_.ApplyChanges());
  EXPECT_FALSE(page_.Changed());
  EXPECT_TRUE(errors_.empty());
  EXPECT_EQ(Settings(first_), "2/81");
  EXPECT_EQ(Settings(second_), "1/80");
  EXPECT_THAT(changed_, ::testing::ElementsAre("DAMode", "ActivePort"));
}

TEST_F(PropertyPage, RefusedValuesAreShownToTheUser) {
  struct Case {
    const char* name;
    bool userMode;
    QString daMode, activePort;
    const char* error;
    std::string after;
  };
  const Case cases[] = {
      {"port no number", false, "2", "eighty", "'13'", "2/80"},  // DAMode goes first
      {"mode no number", false, "", "81", "'13'", "1/80"},
      {"port beyond 16 bits", false, "1", "99999", "'6'", "1/80"},
      {"user mode", true, "2", "81", "'382'", "1/80"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    KivDB control;
    control.InitProperties();
    control.SetUserMode(false);
    errors_.clear();
    page_.SetSelectedControls({&control});
    control.SetUserMode(c.userMode);
    Retype(page_.txtDAMode(), c.daMode);
    Retype(page_.txtActivePort(), c.activePort);
    EXPECT_FALSE(page_.ApplyChanges());
    ASSERT_EQ(errors_.size(), 1u);
    EXPECT_THAT(errors_[0].toStdString(), HasSubstr(c.error));
    EXPECT_TRUE(page_.Changed());  // the user's text stays for another try
    EXPECT_EQ(Settings(control), c.after);
  }
}

TEST_F(PropertyPage, InUserModeTheSettingsCannotBeRead) {
  first_.SetUserMode(true);
  page_.SetSelectedControls({&first_});
  ASSERT_EQ(errors_.size(), 1u);
  EXPECT_THAT(errors_[0].toStdString(), HasSubstr("'393'"));
  EXPECT_TRUE(page_.txtDAMode()->text().isEmpty());
}

TEST_F(PropertyPage, WithoutAReporterTheErrorOpensAMessageBox) {
  pPage1 page;
  page.SetSelectedControls({&first_});
  first_.SetUserMode(true);
  Retype(page.txtActivePort(), "81");
  QString shown;
  // Answers the message box once it is up, so the test never waits on it.
  std::function<void()> answer = [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      shown = box->text();
      box->accept();
    } else {
      QTimer::singleShot(20, answer);
    }
  };
  QTimer::singleShot(0, answer);
  EXPECT_FALSE(page.ApplyChanges());
  EXPECT_THAT(shown.toStdString(), HasSubstr("'382'"));
}

}  // namespace
}  // namespace kivdb::qt
