#pragma once
// GridModel: the cells of a scheme grid for a QTableView. Holds the data rows (the grid's rows
// from 1 on) as text with an optional colour per cell; the header row lives in the columns.
// Rows added in a burst are announced to the view in one step (Flush), so that drawing tens of
// thousands of rows costs one insertion, not one per row.

#include <QAbstractTableModel>
#include <QColor>
#include <string>
#include <vector>

#include "wizard/model/views.h"

namespace kivwz {

class GridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  using QAbstractTableModel::QAbstractTableModel;

  void Reset(std::vector<GridColumn> columns);
  // Appends a data row (extra cells are dropped, missing ones empty); the view learns of it at
  // the next Flush.
  void AddRow(std::vector<std::string> cells);
  // Tells the view about every row added since the last flush.
  void Flush();

  const std::vector<GridColumn>& Columns() const { return columns_; }
  int DataRows() const { return static_cast<int>(cells_.size() / Width()); }
  // Data rows count from 0 here. "" outside the grid.
  const std::string& Text(int dataRow, int column) const;
  void SetColor(int dataRow, int column, QColor color);
  QColor ColorOf(int dataRow, int column) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  std::size_t Width() const { return columns_.empty() ? 1 : columns_.size(); }
  bool Inside(int dataRow, int column) const;

  std::vector<GridColumn> columns_;
  std::vector<std::string> cells_;  // row after row
  std::vector<QColor> colors_;      // invalid: no colour set
  int announced_ = 0;               // rows the view knows of
};

}  // namespace kivwz
