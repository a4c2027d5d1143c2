#include "wizard/ui/grid_model.h"

namespace kivwz {
namespace {

Qt::Alignment AlignmentOf(Alignment alignment) {
  switch (alignment) {
    case Alignment::Centre:
      return Qt::AlignCenter;
    case Alignment::Right:
      return Qt::AlignRight | Qt::AlignVCenter;
    case Alignment::Left:
      break;
  }
  return Qt::AlignLeft | Qt::AlignVCenter;
}

const std::string kNoText;

}  // namespace

void GridModel::Reset(std::vector<GridColumn> columns) {
  beginResetModel();
  columns_ = std::move(columns);
  cells_.clear();
  colors_.clear();
  announced_ = 0;
  endResetModel();
}

void GridModel::AddRow(std::vector<std::string> cells) {
  if (columns_.empty()) return;
  cells.resize(columns_.size());
  for (std::string& cell : cells) cells_.push_back(std::move(cell));
  colors_.resize(cells_.size());
}

void GridModel::Flush() {
  const int rows = DataRows();
  if (columns_.empty() || rows <= announced_) return;
  beginInsertRows({}, announced_, rows - 1);
  announced_ = rows;
  endInsertRows();
}

bool GridModel::Inside(int dataRow, int column) const {
  return !columns_.empty() && dataRow >= 0 && dataRow < DataRows() && column >= 0 &&
         column < static_cast<int>(columns_.size());
}

const std::string& GridModel::Text(int dataRow, int column) const {
  if (!Inside(dataRow, column)) return kNoText;
  return cells_[static_cast<std::size_t>(dataRow) * Width() + static_cast<std::size_t>(column)];
}

void GridModel::SetColor(int dataRow, int column, QColor color) {
  if (!Inside(dataRow, column)) return;
  colors_[static_cast<std::size_t>(dataRow) * Width() + static_cast<std::size_t>(column)] = color;
  if (dataRow < announced_) {
    const QModelIndex cell = index(dataRow, column);
    emit dataChanged(cell, cell, {Qt::ForegroundRole});
  }
}

QColor GridModel::ColorOf(int dataRow, int column) const {
  if (!Inside(dataRow, column)) return {};
  return colors_[static_cast<std::size_t>(dataRow) * Width() + static_cast<std::size_t>(column)];
}

int GridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : announced_;
}

int GridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= announced_) return {};
  switch (role) {
    case Qt::DisplayRole:
      return QString::fromStdString(Text(index.row(), index.column()));
    case Qt::ForegroundRole: {
      const QColor color = ColorOf(index.row(), index.column());
      return color.isValid() ? QVariant(color) : QVariant();
    }
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(AlignmentOf(columns_[index.column()].alignment));
    default:
      return {};
  }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 ||
      section >= static_cast<int>(columns_.size())) {
    return QAbstractTableModel::headerData(section, orientation, role);
  }
  if (role == Qt::DisplayRole) return QString::fromStdString(columns_[section].header);
  if (role == Qt::TextAlignmentRole) {
    return QVariant::fromValue(AlignmentOf(columns_[section].alignment));
  }
  return {};
}

}  // namespace kivwz
