#pragma once
// TableExportActions: KivDBDemo's commands that take the tables of the shown page into a
// spreadsheet: File > Export Tables... (every table of the page, into one workbook or one CSV
// file each) and the report view's context-menu entry "Export this table..." on a table. The
// export shows its progress and can be cancelled; afterwards the file can be opened in the
// desktop's spreadsheet program. The questions go through TablePrompts, which tests answer.

#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include <kivdb/kivdb.h>

class QMenu;
class QPoint;
class QWebEngineView;
class QWidget;

namespace kivdb::demo {

struct TablePrompts {
  // The target and format: a workbook path (.xlsx) or, for CSV, a folder (one table: a .csv file).
  struct Choice {
    QString path;
    TableFormat format = TableFormat::Xlsx;
  };
  std::function<std::optional<Choice>(QWidget* parent, const QString& suggested, bool oneTable)>
      chooseTarget;
  // Whether to open the written file in the spreadsheet program.
  std::function<bool(QWidget* parent, const QString& file)> askOpen;
  // Opens a file with the desktop's program for it.
  std::function<void(const QString& file)> open;
  // Tells the user why the export failed.
  std::function<void(QWidget* parent, const QString& text)> failed;

  static TablePrompts Defaults();
};

class TableExportActions : public QObject {
  Q_OBJECT

 public:
  TableExportActions(QWidget* window, KivDB& control, QWebEngineView& view);

  TablePrompts& Prompts() { return prompts_; }
  // Exports the chosen tables of the selected node's page (all of them when `paragraphs` is
  // empty); false when there was nothing to export, the user cancelled or the export failed.
  bool Export(const std::vector<long>& paragraphs);
  // The paragraph ID of the table at `point` of the view, told to `done` (0 for none).
  void TableAt(const QPoint& point, std::function<void(long id)> done);

 private:
  void ShowContextMenu(const QPoint& point);

  QWidget* window_;
  KivDB& control_;
  QWebEngineView& view_;
  TablePrompts prompts_ = TablePrompts::Defaults();
};

}  // namespace kivdb::demo
