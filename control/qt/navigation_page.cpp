#include "control/qt/navigation_page.h"

#include <utility>

namespace kivdb::qt {

NavigationPage::NavigationPage(Gate gate, QObject* parent)
    : QWebEnginePage(parent), gate_(std::move(gate)) {}

bool NavigationPage::acceptNavigationRequest(const QUrl& url, NavigationType type,
                                             bool isMainFrame) {
  return gate_ ? gate_(url, type, isMainFrame) : true;
}

}  // namespace kivdb::qt
