#pragma once
// SchemeGrid: an XST1 or XST2 grid on a QTableView. Row 0 of the Grid interface is the table's
// header; data rows follow from row 1. The current row is the selected one, or the header row
// (0) after every redraw; a right button released over the grid is passed on through onMouseUp.

#include <QTableView>
#include <functional>

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

  // Shows the rows added since the last redraw step; runs by itself once control returns to the
  // event loop.
  void Flush();
  // The first data row in view (1 for the first), 0 when the grid shows no data row.
  int TopRow() const;
  // The text colour set on a cell; invalid when none.
  QColor CellColor(int row, int column) const { return model_->ColorOf(row - 1, column); }
  const GridModel& Model() const { return *model_; }

  std::function<void(MouseButton button)> onMouseUp;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  GridModel* model_;
  int currentRow_ = 0;
  bool flushQueued_ = false;
};

}  // namespace kivwz
