#include "demo/app/page_browser.h"

#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>

#include <kivdb/qt/qt_browser.h>

namespace kivdb::demo {
namespace {

QWebEngineScript Script(const char* name, QWebEngineScript::InjectionPoint point,
                        const QString& source) {
  QWebEngineScript script;
  script.setName(name);
  script.setInjectionPoint(point);
  script.setWorldId(QWebEngineScript::MainWorld);
  script.setRunsOnSubFrames(false);
  script.setSourceCode(source);
  return script;
}

}  // namespace

PageBrowser::PageBrowser(qt::QtBrowser& inner, QWebEngineView& view) : inner_(inner), view_(view) {
  QWebEngineScriptCollection& scripts = view_.page()->scripts();
  // Every page starts at its top; Back and Forward show their node's page anew as well.
  scripts.insert(Script("kivdbdemo-top", QWebEngineScript::DocumentCreation,
                        "if ('scrollRestoration' in history) history.scrollRestoration = "
                        "'manual';"));
  // The line under a table cut short ("Showing 1,000 of 10,000 rows.") gets its link.
  scripts.insert(Script("kivdbdemo-every-row", QWebEngineScript::DocumentReady,
                        QString("document.querySelectorAll('p.pgl').forEach(function (p) {"
                                "  if (p.textContent.indexOf('Showing ') !== 0) return;"
                                "  var a = document.createElement('a');"
                                "  a.href = '%1'; a.className = 'pgl-all';"
                                "  a.textContent = 'Show every row';"
                                "  p.appendChild(document.createTextNode(' '));"
                                "  p.appendChild(a);"
                                "});")
                            .arg(kEveryRowLink)));
  started_ = QObject::connect(&view_, &QWebEngineView::loadStarted, [this] { loading_ = true; });
  progressed_ = QObject::connect(&view_, &QWebEngineView::loadProgress, [this](int percent) {
    if (loading_ && percent < 100 && progress_) progress_(percent);
  });
  finished_ = QObject::connect(&view_, &QWebEngineView::loadFinished, [this](bool) {
    loading_ = false;
    if (progress_) progress_(-1);
  });
}

PageBrowser::~PageBrowser() {
  inner_.SetBeforeNavigateHandler({});  // its handler calls into this object
  QObject::disconnect(started_);
  QObject::disconnect(progressed_);
  QObject::disconnect(finished_);
}

void PageBrowser::Navigate(const std::string& address) {
  inner_.Navigate(address);
}

void PageBrowser::ExecWB(int command, int option) {
  inner_.ExecWB(command, option);
}

void PageBrowser::SetBeforeNavigateHandler(BeforeNavigateHandler handler) {
  if (!handler) {
    inner_.SetBeforeNavigateHandler({});
    return;
  }
  inner_.SetBeforeNavigateHandler([this, handler](const std::string& url, bool& cancel) {
    const std::string_view link(kEveryRowLink);
    if (url.size() > link.size() && url.ends_with(link) &&
        url[url.size() - link.size() - 1] == '/') {
      cancel = true;
      // Answered once the engine has its answer: the new page is written and shown then.
      if (everyRow_)
        QTimer::singleShot(0, &view_, [this] {
          if (everyRow_) everyRow_();
        });
      return;
    }
    handler(url, cancel);
  });
}

void PageBrowser::OnProgress(std::function<void(int)> progress) {
  progress_ = std::move(progress);
}

void PageBrowser::OnEveryRow(std::function<void()> everyRow) {
  everyRow_ = std::move(everyRow);
}

}  // namespace kivdb::demo
