// A text grid: cells addressed (column, row), the first row and column fixed (header
// cells), texts kept in a table model behind a view so that large grids stay fast.
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QTableView>

#include <vector>

namespace toolkit {

// Holds the cell texts of a TStringGrid, row by row.
class StringGridModel : public QAbstractTableModel {
  Q_OBJECT
public:
  // Role under which data() tells whether a cell is a fixed (header) cell.
  static constexpr int FixedCellRole = Qt::UserRole + 1;

  StringGridModel(int columnCount, int rowCount, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  QString cell(int column, int row) const;
  void setCell(int column, int row, const QString& text);
  // Changes the row count; new rows are empty, rows beyond the new count are dropped.
  void setRows(int rowCount);
  // Replaces the rows from `firstRow` on with `texts` (row by row, columnCount per row);
  // the grid then has firstRow + texts.size() / columnCount rows.
  void replaceRowsFrom(int firstRow, std::vector<QString> texts);

private:
  bool isFixed(int column, int row) const { return column < 1 || row < 1; }

  int columns_;
  int rows_;
  std::vector<QString> texts_;  // rows_ * columns_, row by row
};

class TStringGrid : public QTableView {
  Q_OBJECT
public:
  TStringGrid(QWidget* parent, int columnCount, int rowCount);

  QString GetCells(int column, int row) const { return model_->cell(column, row); }
  void SetCells(int column, int row, const QString& text) { model_->setCell(column, row, text); }
  int RowCount() const { return model_->rowCount(); }
  void SetRowCount(int rowCount) { model_->setRows(rowCount); }
  int ColCount() const { return model_->columnCount(); }
  int DefaultColWidth() const { return defaultColWidth_; }
  void SetDefaultColWidth(int width);
  // Replaces all rows from `firstRow` on at once; see StringGridModel::replaceRowsFrom.
  void ReplaceRowsFrom(int firstRow, std::vector<QString> texts) {
    model_->replaceRowsFrom(firstRow, std::move(texts));
  }

  static constexpr int kDefaultRowHeight = 24;

private:
  StringGridModel* model_;
  int defaultColWidth_ = 64;
};

}  // namespace toolkit
