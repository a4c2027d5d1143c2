#pragma once
// SchemeGrid: an XST1 or XST2 grid on a QTableView. Row 0 of the Grid interface is the table's
// header; data rows follow from row 1. The current row is the selected one, or the header row
// (0) after every redraw; a right button released over the paragraph grid goes to its ViewEvents.
// With a stretched column set, the columns share the grid's width so that all stay in view
// (grid_columns.h); without one, each keeps the width the format gives it.

#include <QTableView>

#include "wizard/model/views.h"
#include "wizard/ui/grid_model.h"

namespace kivwz {

class SchemeGrid : public QTableView, public Grid {
  Q_OBJECT

 public:
  explicit SchemeGrid(QWidget* parent = nullptr);

  void Reset(std::string_view formatString) override;
  void AddRow(std::vector<std::string> cells) override;
  int RowCount() const override;
  std::string Cell(int row, int column) const override;
  void SetCellForeColor(int row, int column, Color color) override;
  void SetCurrentRow(int row) override;
  int CurrentRow() const override { return currentRow_; }
  void SetTopRow(int row) override;
  // The window's layout places the grid; the position in layout units is not needed.
  void Place(long, long, long, long) override {}

  // The column that takes the width the others leave (the grid's long text); -1 for none.
  void SetStretchColumn(int column);

  // Shows the rows added since the last redraw step; runs by itself once control returns to the
  // event loop.
  void Flush();
  // The first data row in view (1 for the first), 0 when the grid shows no data row.
  int TopRow() const;
  // The text colour set on a cell; invalid when none.
  QColor CellColor(int row, int column) const { return model_->ColorOf(row - 1, column); }
  const GridModel& Model() const { return *model_; }

  // Set on the paragraph grid only: where its right clicks go; nullptr drops them.
  void SetEvents(ViewEvents* events) { events_ = events; }

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  // The viewport's size changed (the window, or a scroll bar that came or went).
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Widens the known content widths by the rows not measured yet.
  void MeasureNewRows();
  void FitColumns();

  GridModel* model_;
  int currentRow_ = 0;
  bool flushQueued_ = false;
  int stretch_ = -1;
  std::vector<int> designed_;  // pixels, from the format
  std::vector<int> content_;   // pixels, the widest cell measured so far
  int measuredRows_ = 0;
  ViewEvents* events_ = nullptr;
};

}  // namespace kivwz
