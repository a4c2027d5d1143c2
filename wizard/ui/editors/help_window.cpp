#include "wizard/ui/editors/help_window.h"

#include <QKeySequence>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "wizard/ui/editors/event_handler.h"

// The page lives in this static library; the resource has to be registered by name.
static void RegisterHelpPage() {
  Q_INIT_RESOURCE(help);
}

namespace kivwz {

fHelp::fHelp(QWidget* parent) : QDialog(parent), page_(new QTextBrowser(this)) {
  RegisterHelpPage();
  setWindowTitle(tr("KivWZ Help"));
  page_->setObjectName(QStringLiteral("helpPage"));
  page_->setOpenExternalLinks(false);
  page_->setSource(QUrl(QStringLiteral("qrc:/kivwz/kivwz-help.html")));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(page_);
  resize(760, 640);
  CentreOnScreen(this);
}

}  // namespace kivwz
