#include "wizard/ui/scheme_grid.h"

#include <QFontMetricsF>
#include <QHeaderView>
#include <QStyle>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cmath>

#include "wizard/ui/grid_columns.h"
#include "wizard/ui/mouse_buttons.h"

namespace kivwz {
namespace {

// The least width, in characters, the stretched column keeps before the others shrink.
constexpr int kStretchLeastChars = 16;

}  // namespace

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
  designed_.assign(columns.size(), 0);
  content_.assign(columns.size(), 0);
  measuredRows_ = 0;
  for (int column = 0; column < static_cast<int>(columns.size()); ++column) {
    designed_[column] = columns[column].width * charWidth + 8;
    setColumnWidth(column, designed_[column]);
  }
  FitColumns();
}

void SchemeGrid::SetStretchColumn(int column) {
  stretch_ = column;
  MeasureNewRows();
  FitColumns();
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
  if (stretch_ < 0) return;
  MeasureNewRows();
  FitColumns();
}

void SchemeGrid::MeasureNewRows() {
  const int rows = model_->DataRows();
  const int columns = static_cast<int>(content_.size());
  // The item delegate's text margins on both sides, the grid line and two pixels to spare.
  const int margin =
      2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 3;
  // Plain ASCII cells, nearly all of them, are summed from the advances of their characters,
  // which is never narrower than the shaped text and costs no shaping per cell.
  const QFontMetricsF metrics(font());
  std::array<qreal, 128> advance{};
  for (int c = 32; c < 128; ++c) advance[c] = metrics.horizontalAdvance(QChar(c));
  for (int column = 0; column < columns; ++column) {
    // The stretched column takes what is left whatever its cells hold.
    if (column == stretch_) continue;
    int& widest = content_[column];
    for (int row = measuredRows_; row < rows; ++row) {
      const std::string& text = model_->Text(row, column);
      qreal width = 0;
      for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 128 || advance[byte] <= 0) {
          width = metrics.horizontalAdvance(QString::fromStdString(text));
          break;
        }
        width += advance[byte];
      }
      widest = std::max(widest, static_cast<int>(std::ceil(width)) + margin);
    }
  }
  measuredRows_ = rows;
}

void SchemeGrid::FitColumns() {
  if (stretch_ < 0 || stretch_ >= static_cast<int>(designed_.size())) return;
  std::vector<ColumnNeed> needs(designed_.size());
  for (std::size_t column = 0; column < needs.size(); ++column) {
    needs[column] = {horizontalHeader()->sectionSizeHint(static_cast<int>(column)),
                     content_[column], designed_[column]};
  }
  const int least = kStretchLeastChars * fontMetrics().averageCharWidth();
  const std::vector<int> widths = ShareColumnWidths(needs, stretch_, viewport()->width(), least);
  for (std::size_t column = 0; column < widths.size(); ++column) {
    setColumnWidth(static_cast<int>(column), widths[column]);
  }
}

void SchemeGrid::resizeEvent(QResizeEvent* event) {
  QTableView::resizeEvent(event);
  FitColumns();
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
  if (LeftButtonOnly(event)) QTableView::mousePressEvent(event);
}

void SchemeGrid::mouseReleaseEvent(QMouseEvent* event) {
  if (LeftButtonOnly(event)) QTableView::mouseReleaseEvent(event);
  RaiseGridButton(events_, *this, ButtonOf(event));
}

}  // namespace kivwz
