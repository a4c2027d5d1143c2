#pragma once
// NavigationPage: the web page QtBrowser installs in the host's view, so that every navigation
// the engine is about to make is first put to the adapter, which may refuse it.

#include <QWebEnginePage>
#include <functional>

namespace kivdb::qt {

class NavigationPage : public QWebEnginePage {
 public:
  // Returns whether the navigation may happen.
  using Gate = std::function<bool(const QUrl& url, NavigationType type, bool isMainFrame)>;

  NavigationPage(Gate gate, QObject* parent);
  // An empty gate lets every navigation happen (the adapter has gone).
  void SetGate(Gate gate) { gate_ = std::move(gate); }

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

 private:
  Gate gate_;
};

}  // namespace kivdb::qt
