#include <kivdb/qt/qt_browser.h>

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <algorithm>
#include <optional>
#include <utility>

#include <kivdb/error.h>
#include "control/qt/event_wait.h"
#include "control/qt/navigation_page.h"

namespace kivdb::qt {
namespace {

// How long a save, print or load may take before the adapter gives up waiting.
constexpr int kCommandTimeoutMs = 60000;
// How long a stopped load may take to report its end before the next page loads anyway.
constexpr int kStopWaitMs = 3000;

QUrl UrlOf(const std::string& address) {
  const QString text = QString::fromStdString(address);
  if (text.startsWith("about:") || text.contains("://")) return QUrl(text);
  return QUrl::fromLocalFile(QFileInfo(text).absoluteFilePath());
}

// The address as the control reads it: local files as paths, anything else as its decoded URL
// (so a link "^000030000000042" keeps its "^").
std::string DecodedUrl(const QUrl& url) {
  return QUrl::fromPercentEncoding(url.toEncoded()).toStdString();
}

std::string AddressOf(const QUrl& url) {
  if (url.isLocalFile()) return url.toLocalFile().toStdString();
  return DecodedUrl(url);
}

QString DefaultSavePrompt(QWebEngineView* view, const QString& suggested) {
  return QFileDialog::getSaveFileName(
      view, QFileDialog::tr("Save Page As"), suggested,
      QFileDialog::tr("Web page (*.htm *.html);;Web archive (*.mhtml)"));
}

bool DefaultPrintPrompt(QWebEngineView* view, QPrinter& printer) {
  QPrintDialog dialog(&printer, view);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace

struct QtBrowser::Impl {
  QPointer<QWebEngineView> view;
  QPointer<NavigationPage> page;
  BeforeNavigateHandler beforeNavigate;
  SavePrompt savePrompt;
  PrintPrompt printPrompt;
  std::vector<std::string> history;
  std::string current;
  // Loads asked for with Navigate that already passed BeforeNavigate2; the engine's request for
  // them is let through without asking again.
  std::vector<QUrl> ownLoads;
  bool loading = false;
  bool lastLoadOk = false;
  // The engine has started a load it has not finished. A new page asked for meanwhile stops that
  // load and waits in `deferred` until the engine reports it stopped: a load asked for while
  // another runs would wait for the whole of the other, and the stopped load's late
  // loadFinished(false) would pass for the new page's end.
  bool engineLoading = false;
  bool stopping = false;
  std::optional<QUrl> deferred;
  QTimer stopWait;  // should the engine never report the stop, the page asked for still comes
  // A refused navigation still reports a failed load; those reports are not the page's.
  int refusals = 0;
  std::vector<QMetaObject::Connection> connections;

  bool Raise(const std::string& url) {
    bool cancel = false;
    // A copy, so a handler that unbinds itself does not pull the function from under its own call.
    BeforeNavigateHandler handler = beforeNavigate;
    if (handler) handler(url, cancel);
    return cancel;
  }

  void Happened(const QUrl& url) {
    current = AddressOf(url);
    history.push_back(current);
    loading = true;
  }

  bool Gate(const QUrl& url, QWebEnginePage::NavigationType, bool isMainFrame) {
    const QUrl plain = url.adjusted(QUrl::NormalizePathSegments);
    const auto own = std::find(ownLoads.begin(), ownLoads.end(), plain);
    if (isMainFrame && own != ownLoads.end()) {
      ownLoads.erase(ownLoads.begin(), own + 1);  // earlier ones were superseded
      return true;
    }
    if (Raise(DecodedUrl(url))) {
      ++refusals;
      return false;
    }
    if (isMainFrame) Happened(url);
    return true;
  }

  void LoadDeferred() {
    if (!deferred) return;
    const QUrl url = *deferred;
    deferred.reset();
    page->load(url);
  }

  void Load(const QUrl& url) {
    if (!engineLoading) {
      page->load(url);
      return;
    }
    deferred = url;
    if (stopping) return;
    stopping = true;
    view->stop();
    stopWait.start(kStopWaitMs);
  }

  bool ShowsPage() const { return !current.empty() && current != "about:blank"; }

  void Save() {
    const QString suggested = QFileInfo(QString::fromStdString(current)).fileName();
    const QString path =
        savePrompt ? savePrompt(suggested) : DefaultSavePrompt(view.data(), suggested);
    if (path.isEmpty()) throw Error(err::kInvalidCall, "The command was cancelled");
    WaitFor([this] { return !loading; }, kCommandTimeoutMs);

    QPointer<QWebEngineDownloadRequest> download;
    const QString wanted = QFileInfo(path).absoluteFilePath();
    // The engine would make missing folders, and reports success even where it cannot write.
    if (!QFileInfo(QFileInfo(wanted).absolutePath()).isDir()) {
      throw Error(err::kFileAccess, "Path/File access error: no folder for " + path.toStdString());
    }
    auto hook = QObject::connect(page->profile(), &QWebEngineProfile::downloadRequested,
                                 [&](QWebEngineDownloadRequest* request) {
                                   const QString at = QFileInfo(QDir(request->downloadDirectory()),
                                                                request->downloadFileName())
                                                          .absoluteFilePath();
                                   if (at == wanted) download = request;
                                 });
    const auto format =
        path.endsWith(".mhtml", Qt::CaseInsensitive) || path.endsWith(".mht", Qt::CaseInsensitive)
            ? QWebEngineDownloadRequest::MimeHtmlSaveFormat
            : QWebEngineDownloadRequest::CompleteHtmlSaveFormat;
    page->save(wanted, format);
    const bool finished =
        WaitFor([&] { return download && download->isFinished(); }, kCommandTimeoutMs);
    QObject::disconnect(hook);
    if (!finished || download->state() != QWebEngineDownloadRequest::DownloadCompleted ||
        !QFileInfo::exists(wanted)) {
      const std::string reason =
          download ? download->interruptReasonString().toStdString() : "no answer from the page";
      throw Error(err::kFileAccess, "Path/File access error: " + reason);
    }
  }

  void Print() {
    QPrinter printer(QPrinter::HighResolution);
    const bool accepted = printPrompt ? printPrompt(printer) : DefaultPrintPrompt(view, printer);
    if (!accepted) throw Error(err::kInvalidCall, "The command was cancelled");
    // The engine paints each page as a picture at the printer's resolution; beyond 300 dots per
    // inch that costs seconds a page and shows nothing more.
    if (printer.resolution() > 300) printer.setResolution(300);
    WaitFor([this] { return !loading; }, kCommandTimeoutMs);
    bool done = false;
    bool ok = false;
    auto hook = QObject::connect(view.data(), &QWebEngineView::printFinished, [&](bool success) {
      done = true;
      ok = success;
    });
    view->print(&printer);
    WaitFor([&] { return done; }, kCommandTimeoutMs);
    QObject::disconnect(hook);
    if (!ok) throw Error(err::kFileAccess, "The page could not be printed");
  }
};

QtBrowser::QtBrowser(QWebEngineView& view) : impl_(std::make_unique<Impl>()) {
  impl_->view = &view;
  Impl* impl = impl_.get();
  auto* page =
      new NavigationPage([impl](const QUrl& url, QWebEnginePage::NavigationType type,
                                bool isMainFrame) { return impl->Gate(url, type, isMainFrame); },
                         &view);
  impl_->page = page;
  view.setPage(page);
  impl_->stopWait.setSingleShot(true);
  QObject::connect(&impl_->stopWait, &QTimer::timeout, [impl] {
    impl->stopping = false;
    impl->LoadDeferred();
  });
  impl_->connections.push_back(
      QObject::connect(page, &QWebEnginePage::loadStarted, [impl] { impl->engineLoading = true; }));
  impl_->connections.push_back(
      QObject::connect(page, &QWebEnginePage::loadFinished, [impl](bool ok) {
        impl->engineLoading = false;
        if (impl->stopping) {  // the superseded load: not the page asked for
          impl->stopping = false;
          impl->stopWait.stop();
          impl->LoadDeferred();
          return;
        }
        if (!ok && impl->refusals > 0) {
          --impl->refusals;
          return;
        }
        impl->loading = false;
        impl->lastLoadOk = ok;
      }));
}

QtBrowser::~QtBrowser() {
  for (const auto& c : impl_->connections) QObject::disconnect(c);
  if (impl_->page) impl_->page->SetGate({});
}

void QtBrowser::Navigate(const std::string& address) {
  if (impl_->Raise(address)) return;
  const QUrl url = UrlOf(address);
  impl_->ownLoads.push_back(url.adjusted(QUrl::NormalizePathSegments));
  impl_->Happened(url);
  impl_->Load(url);
}

void QtBrowser::ExecWB(int command, int /*option*/) {
  if (command != browser_command::kSaveAs && command != browser_command::kPrint) {
    throw Error(err::kInvalidCall, "Invalid procedure call or argument");
  }
  if (!impl_->ShowsPage()) throw Error(err::kInvalidCall, "No page is loaded");
  if (command == browser_command::kSaveAs) {
    impl_->Save();
  } else {
    impl_->Print();
  }
}

void QtBrowser::SetBeforeNavigateHandler(BeforeNavigateHandler handler) {
  impl_->beforeNavigate = std::move(handler);
}

QWebEngineView& QtBrowser::View() const {
  return *impl_->view;
}

void QtBrowser::SetSavePrompt(SavePrompt prompt) {
  impl_->savePrompt = std::move(prompt);
}

void QtBrowser::SetPrintPrompt(PrintPrompt prompt) {
  impl_->printPrompt = std::move(prompt);
}

bool QtBrowser::PrintToPdf(const QString& path) {
  if (!impl_->ShowsPage()) return false;
  WaitFor([this] { return !impl_->loading; }, kCommandTimeoutMs);
  const QString wanted = QFileInfo(path).absoluteFilePath();
  bool done = false;
  bool ok = false;
  auto hook = QObject::connect(impl_->page.data(), &QWebEnginePage::pdfPrintingFinished,
                               [&](const QString& file, bool success) {
                                 if (QFileInfo(file).absoluteFilePath() != wanted) return;
                                 done = true;
                                 ok = success;
                               });
  impl_->page->printToPdf(wanted);
  WaitFor([&] { return done; }, kCommandTimeoutMs);
  QObject::disconnect(hook);
  return ok;
}

bool QtBrowser::WaitForLoad(int timeoutMs) {
  WaitFor([this] { return !impl_->loading; }, timeoutMs);
  return !impl_->loading && impl_->lastLoadOk;
}

const std::vector<std::string>& QtBrowser::History() const {
  return impl_->history;
}

const std::string& QtBrowser::Current() const {
  return impl_->current;
}

}  // namespace kivdb::qt
