// The Qt adapters keep the same tree-view and browser contracts as the in-memory widgets: the
// same suites, driven by real mouse clicks on the tree's rows and on links in rendered pages.

#include <QPrinter>
#include <QSignalSpy>
#include <QTest>

#include "tests/control/contract/browser_contract.h"
#include "tests/control/contract/tree_view_contract.h"
#include "tests/control/qt/qt_widgets_harness.h"

namespace kivdb::qt {
namespace {

using contract::BrowserContract;
using contract::TreeViewContract;

class QtTreeUnderTest : public contract::TreeViewUnderTest {
 public:
  TreeView& Tree() override { return *widgets_.tree; }
  void Click(TreeNode& node) override { testing::ClickNode(*widgets_.tree, node); }
  void SetImageList(const std::vector<std::string>& keys) override {
    const ImageList defaults = ImageList::WithDefaults();
    ImageList list;
    for (const std::string& key : keys) list.Add(key, defaults.Icon(key));
    widgets_.tree->SetImageList(list);
  }
  void SetPathSeparator(const std::string& separator) override {
    widgets_.tree->SetPathSeparator(separator);
  }
  bool ScrolledTo(TreeNode& node) override {
    QTreeWidget& w = widgets_.tree->Widget();
    return w.viewport()->rect().intersects(w.visualItemRect(widgets_.tree->ItemOf(node)));
  }

 private:
  testing::QtWidgets widgets_;
};

class QtBrowserUnderTest : public contract::BrowserUnderTest {
 public:
  QtBrowserUnderTest() {
    widgets_.browser->SetSavePrompt([this](const QString&) { return saveTarget_; });
    widgets_.browser->SetPrintPrompt([this](QPrinter& printer) {
      if (printTarget_.isEmpty()) return false;
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(printTarget_);
      return true;
    });
  }
  Browser& Subject() override { return *widgets_.browser; }
  bool ClickLink(const std::string& href) override {
    widgets_.browser->WaitForLoad();
    const size_t before = widgets_.browser->History().size();
    const QString add = QString(R"(
        var a = document.createElement('a');
        a.id = 'contract-link'; a.href = %1; a.textContent = 'the link';
        a.style = 'display:block;font-size:40px';
        document.body.prepend(a); 'ok';)")
                            .arg("'" + QString::fromStdString(href) + "'");
    if (testing::RunJs(*widgets_.view, add) != "ok") return false;
    QSignalSpy finished(widgets_.view, &QWebEngineView::loadFinished);
    if (!testing::ClickElement(*widgets_.view, "#contract-link")) return false;
    finished.wait(10000);
    return widgets_.browser->History().size() > before;
  }
  std::vector<std::string> History() override { return widgets_.browser->History(); }
  std::string Current() override { return widgets_.browser->Current(); }
  void SetSaveTarget(const std::string& path) override {
    saveTarget_ = QString::fromStdString(path);
  }
  void SetPrintTarget(const std::string& path) override {
    printTarget_ = QString::fromStdString(path);
  }

 private:
  testing::QtWidgets widgets_;
  QString saveTarget_;
  QString printTarget_;
};

INSTANTIATE_TEST_SUITE_P(Qt, TreeViewContract,
                         ::testing::Values(contract::TreeViewMaker{
                             "Qt", [] { return std::make_unique<QtTreeUnderTest>(); }}),
                         contract::TreeViewMakerName);
INSTANTIATE_TEST_SUITE_P(Qt, BrowserContract,
                         ::testing::Values(contract::BrowserMaker{
                             "Qt", [] { return std::make_unique<QtBrowserUnderTest>(); }}),
                         contract::BrowserMakerName);

}  // namespace
}  // namespace kivdb::qt
