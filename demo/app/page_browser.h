#pragma once
// PageBrowser: the Browser the control writes KivDBDemo's pages into. It hands every call to the
// QtBrowser of the report view and adds what the desktop needs around it: a page opens at its
// top (the page file is the same each time, and the engine would keep its scroll offset), the
// load's progress is reported, and a table cut short by
// MaxRows offers the page again with every row, through a link the host answers.

#include <QMetaObject>
#include <functional>

#include <kivdb/browser.h>

class QWebEngineView;

namespace kivdb::qt {
class QtBrowser;
}

namespace kivdb::demo {

class PageBrowser : public Browser {
 public:
  // The address ending the link under a table cut short; clicking it asks for every row.
  static constexpr const char* kEveryRowLink = "kivdbdemo-every-row";

  // `inner` and `view` (the view `inner` shows its pages in) must outlive this object.
  PageBrowser(qt::QtBrowser& inner, QWebEngineView& view);
  ~PageBrowser() override;
  PageBrowser(const PageBrowser&) = delete;
  PageBrowser& operator=(const PageBrowser&) = delete;

  void Navigate(const std::string& address) override;
  void ExecWB(int command, int option) override;
  void SetBeforeNavigateHandler(BeforeNavigateHandler handler) override;

  // Called with the percentage loaded while a page loads, and with -1 once it has loaded.
  void OnProgress(std::function<void(int percent)> progress);
  // Called when the user asks for the shown page with every row.
  void OnEveryRow(std::function<void()> everyRow);

 private:
  qt::QtBrowser& inner_;
  QWebEngineView& view_;
  bool loading_ = false;
  std::function<void(int)> progress_;
  std::function<void()> everyRow_;
  QMetaObject::Connection started_, progressed_, finished_;
};

}  // namespace kivdb::demo
