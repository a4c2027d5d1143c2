#include "demo/app/table_export_actions.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QProgressDialog>
#include <QUrl>
#include <QWebEngineView>
#include <memory>

#include "demo/app/table_files.h"

namespace kivdb::demo {
namespace {

constexpr const char* kWorkbookFilter = "Excel workbook (*.xlsx)";
constexpr const char* kCsvFilter = "CSV, one file per table (*.csv)";

// The id of the report table around the point: tables are written as <table id='TBL005'>, and
// a multi-chapter table's inner tables sit inside its outer one.
QString TableAtScript(const QPointF& point) {
  return QString(
             "(function () {"
             "  var e = document.elementFromPoint(%1, %2);"
             "  var t = e && e.closest(\"table[id^='TBL']\");"
             "  return t ? t.id : '';"
             "})()")
      .arg(point.x())
      .arg(point.y());
}

}  // namespace

TablePrompts TablePrompts::Defaults() {
  TablePrompts prompts;
  prompts.chooseTarget = [](QWidget* parent, const QString& suggested,
                            bool oneTable) -> std::optional<Choice> {
    QString filter = kWorkbookFilter;
    const QString filters = QString(kWorkbookFilter) + ";;" + kCsvFilter;
    const QString path = QFileDialog::getSaveFileName(
        parent, oneTable ? QObject::tr("Export Table") : QObject::tr("Export Tables"),
        suggested + ".xlsx", filters, &filter);
    if (path.isEmpty()) return std::nullopt;
    return Choice{path, filter == kCsvFilter ? TableFormat::Csv : TableFormat::Xlsx};
  };
  prompts.askOpen = [](QWidget* parent, const QString& file) {
    return QMessageBox::question(parent, QObject::tr("Export Tables"),
                                 QObject::tr("Written: %1\nOpen it now?").arg(file)) ==
           QMessageBox::Yes;
  };
  prompts.open = [](const QString& file) { QDesktopServices::openUrl(QUrl::fromLocalFile(file)); };
  prompts.failed = [](QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, QObject::tr("Export Tables"), text);
  };
  return prompts;
}

TableExportActions::TableExportActions(QWidget* window, KivDB& control, QWebEngineView& view)
    : QObject(window), window_(window), control_(control), view_(view) {
  view_.setContextMenuPolicy(Qt::CustomContextMenu);
  connect(&view_, &QWidget::customContextMenuRequested, this, &TableExportActions::ShowContextMenu);
}

bool TableExportActions::Export(const std::vector<long>& paragraphs) {
  std::vector<PageTable> tables;
  for (const PageTable& table : control_.PageTables()) {
    bool chosen = paragraphs.empty();
    for (const long id : paragraphs) chosen = chosen || id == table.id;
    if (chosen) tables.push_back(table);
  }
  if (tables.empty()) {
    prompts_.failed(window_, tr("The page shown has no tables to export."));
    return false;
  }
  const QString suggested = QString::fromStdString(
      SafeFileName(tables.size() == 1 ? tables.front().title : std::string("Tables")));
  const auto choice = prompts_.chooseTarget(
      window_, suggested.isEmpty() ? QStringLiteral("Table") : suggested, tables.size() == 1);
  if (!choice) return false;

  std::vector<TableFile> files;
  if (choice->format == TableFormat::Csv && tables.size() > 1) {
    files = PlanTableFiles(tables, TableFormat::Csv,
                           QFileInfo(choice->path).absolutePath().toStdString());
  } else {
    files = PlanTableFiles(tables, TableFormat::Xlsx, choice->path.toStdString());
    if (choice->format == TableFormat::Csv) files.front().paragraphs = {tables.front().id};
  }

  QProgressDialog progress(tr("Exporting tables..."), tr("Cancel"), 0, 0, window_);
  progress.setObjectName("tableExportProgress");
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(400);
  for (const TableFile& file : files) {
    TableExport request;
    request.format = choice->format;
    request.file = file.path;
    request.paragraphs = file.paragraphs;
    request.byteOrderMark = choice->format == TableFormat::Csv;  // Excel reads UTF-8 by it
    request.progress = [&](long rows) {
      progress.setLabelText(tr("Exporting tables: %L1 rows written").arg(rows));
      QApplication::processEvents();
      return !progress.wasCanceled();
    };
    const TableExportResult result = control_.ExportTables(request);
    if (result.cancelled) return false;
    if (!result.ok) {
      progress.close();
      prompts_.failed(window_, QString::fromStdString(result.error));
      return false;
    }
  }
  progress.close();
  const QString shown = QString::fromStdString(
      files.size() == 1
          ? files.front().path
          : QFileInfo(QString::fromStdString(files.front().path)).absolutePath().toStdString());
  if (prompts_.askOpen(window_, shown)) prompts_.open(shown);
  return true;
}

void TableExportActions::TableAt(const QPoint& point, std::function<void(long id)> done) {
  const double zoom = view_.zoomFactor() > 0 ? view_.zoomFactor() : 1.0;
  view_.page()->runJavaScript(TableAtScript(QPointF(point) / zoom),
                              [done = std::move(done)](const QVariant& id) {
                                const QString text = id.toString();
                                done(text.startsWith("TBL") ? text.mid(3).toLong() : 0);
                              });
}

void TableExportActions::ShowContextMenu(const QPoint& point) {
  TableAt(point, [this, point](long id) {
    QMenu* menu = view_.createStandardContextMenu();
    if (id != 0) {
      menu->addSeparator();
      QAction* action =
          menu->addAction(tr("Export this table..."), this, [this, id] { Export({id}); });
      action->setObjectName("actionExportThisTable");
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(view_.mapToGlobal(point));
  });
}

}  // namespace kivdb::demo
