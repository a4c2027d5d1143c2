#include "wizard/ui/scheme_grid.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QTimer>

namespace kivwz {

SchemeGrid::SchemeGrid(QWidget* parent) : QTableView(parent), model_(new GridModel(this)) {
  setModel(model_);
  setFont(QFont(QStringLiteral("Arial"), 9));
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setContextMenuPolicy(Qt::PreventContextMenu);
  setWordWrap(false);
  verticalHeader()->hide();
  // Fixed row heights keep scrolling through tens of thousands of rows cheap.
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setSectionsClickable(false);
  connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) {
            if (current.isValid()) currentRow_ = current.row() + 1;
          });
}

void SchemeGrid::Reset(std::string_view formatString) {
  model_->Reset(ParseGridFormat(formatString));
  currentRow_ = 0;
  // Widths in characters of the grid's font, plus the cell margins.
  const int charWidth = fontMetrics().averageCharWidth();
  const auto& columns = model_->Columns();
  for (int column = 0; column < static_cast<int>(columns.size()); ++column) {
    setColumnWidth(column, columns[column].width * charWidth + 8);
  }
}

void SchemeGrid::AddRow(std::vector<std::string> cells) {
  model_->AddRow(std::move(cells));
  if (!flushQueued_) {
    flushQueued_ = true;
    QTimer::singleShot(0, this, &SchemeGrid::Flush);
  }
}

void SchemeGrid::Flush() {
  flushQueued_ = false;
  model_->Flush();
}

int SchemeGrid::RowCount() const {
  return model_->Columns().empty() ? 0 : model_->DataRows() + 1;
}

std::string SchemeGrid::Cell(int row, int column) const {
  if (row == 0) {
    const auto& columns = model_->Columns();
    return column >= 0 && column < static_cast<int>(columns.size()) ? columns[column].header
                                                                    : std::string();
  }
  return model_->Text(row - 1, column);
}

void SchemeGrid::SetCellForeColor(int row, int column, Color color) {
  if (row < 1) return;
  model_->SetColor(row - 1, column, QColor(color.red, color.green, color.blue));
}

void SchemeGrid::SetCurrentRow(int row) {
  if (row < 0 || row >= RowCount()) return;
  Flush();
  if (row == 0) {
    selectionModel()->clearSelection();
    selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
  } else {
    selectRow(row - 1);
  }
  currentRow_ = row;
}

void SchemeGrid::SetTopRow(int row) {
  if (row < 0 || row >= RowCount()) return;
  Flush();
  // The scroll range must know of the rows just added before the grid can scroll to them.
  executeDelayedItemsLayout();
  updateGeometries();
  if (row == 0) {
    scrollToTop();
  } else {
    scrollTo(model_->index(row - 1, 0), QAbstractItemView::PositionAtTop);
  }
}

int SchemeGrid::TopRow() const {
  const int first = rowAt(0);
  return first < 0 ? 0 : first + 1;
}

void SchemeGrid::mousePressEvent(QMouseEvent* event) {
  // Only the left button moves the current row: a right click refers to the row already chosen.
  if (event->button() != Qt::LeftButton) {
    event->accept();
    return;
  }
  QTableView::mousePressEvent(event);
}

void SchemeGrid::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    QTableView::mouseReleaseEvent(event);
    if (onMouseUp) onMouseUp(MouseButton::Left);
    return;
  }
  event->accept();
  if (onMouseUp) {
    onMouseUp(event->button() == Qt::RightButton ? MouseButton::Right : MouseButton::Middle);
  }
}

}  // namespace kivwz
