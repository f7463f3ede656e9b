// The text grid's model and view.
#include "StringGrid.h"

#include <QHeaderView>

#include <algorithm>

namespace toolkit {

StringGridModel::StringGridModel(int columnCount, int rowCount, QObject* parent)
    : QAbstractTableModel(parent),
      columns_(columnCount),
      rows_(rowCount),
      texts_(static_cast<std::size_t>(columnCount) * rowCount) {}

int StringGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

int StringGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : columns_;
}

QVariant StringGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rows_ || index.column() >= columns_) return {};
  switch (role) {
    case Qt::DisplayRole:
      return cell(index.column(), index.row());
    case FixedCellRole:
      return isFixed(index.column(), index.row());
    default:
      return {};
  }
}

Qt::ItemFlags StringGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  if (isFixed(index.column(), index.row())) return Qt::ItemIsEnabled;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

QString StringGridModel::cell(int column, int row) const {
  if (column < 0 || row < 0 || column >= columns_ || row >= rows_) return {};
  return texts_[static_cast<std::size_t>(row) * columns_ + column];
}

void StringGridModel::setCell(int column, int row, const QString& text) {
  if (column < 0 || row < 0 || column >= columns_ || row >= rows_) return;
  texts_[static_cast<std::size_t>(row) * columns_ + column] = text;
  const QModelIndex changed = index(row, column);
  emit dataChanged(changed, changed, {Qt::DisplayRole});
}

void StringGridModel::setRows(int rowCount) {
  rowCount = std::max(rowCount, 0);
  if (rowCount == rows_) return;
  if (rowCount > rows_) {
    beginInsertRows(QModelIndex(), rows_, rowCount - 1);
    texts_.resize(static_cast<std::size_t>(rowCount) * columns_);
    rows_ = rowCount;
    endInsertRows();
  } else {
    beginRemoveRows(QModelIndex(), rowCount, rows_ - 1);
    texts_.resize(static_cast<std::size_t>(rowCount) * columns_);
    rows_ = rowCount;
    endRemoveRows();
  }
}

void StringGridModel::replaceRowsFrom(int firstRow, std::vector<QString> texts) {
  firstRow = std::clamp(firstRow, 0, rows_);
  beginResetModel();
  texts_.resize(static_cast<std::size_t>(firstRow) * columns_);
  texts_.insert(texts_.end(), std::make_move_iterator(texts.begin()),
                std::make_move_iterator(texts.end()));
  texts_.resize((texts_.size() + columns_ - 1) / columns_ * columns_);
  rows_ = static_cast<int>(texts_.size() / columns_);
  endResetModel();
}

TStringGrid::TStringGrid(QWidget* parent, int columnCount, int rowCount)
    : QTableView(parent), model_(new StringGridModel(columnCount, rowCount, this)) {
  setModel(model_);
  horizontalHeader()->hide();
  verticalHeader()->hide();
  verticalHeader()->setDefaultSectionSize(kDefaultRowHeight);
  verticalHeader()->setMinimumSectionSize(1);
  horizontalHeader()->setMinimumSectionSize(1);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setWordWrap(false);
  setShowGrid(true);
  SetDefaultColWidth(defaultColWidth_);
}

void TStringGrid::SetDefaultColWidth(int width) {
  defaultColWidth_ = width;
  horizontalHeader()->setDefaultSectionSize(width);
  for (int column = 0; column < model_->columnCount(); ++column) setColumnWidth(column, width);
}

}  // namespace toolkit
