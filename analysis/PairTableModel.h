// The table of the "Paßpunktanalyse": one row per control point pair with its activity
// (a check box), number, name, residual, gap, redundancy share, test value and verdict.
// Texts are made when a cell is shown, so a hundred thousand rows cost nothing until they
// are scrolled to; SortRole gives numbers for numeric sorting.
#pragma once

#include "ControlPointAnalysis.h"
#include "PointList.h"

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>

#include <functional>
#include <vector>

namespace analysis {

class PairTableModel : public QAbstractTableModel {
  Q_OBJECT
public:
  enum Column { Active, Number, Name, VRW, VHW, Gap, Share, Test, Outlier, ColumnCount };
  // Role under which data() gives the value a column sorts by.
  static constexpr int SortRole = Qt::UserRole + 1;
  // Asked when the user ticks or unticks a pair; returns whether the change is taken.
  using ActivationRequest = std::function<bool(int pair, bool active)>;

  PairTableModel(const PointList& oldPairs, const PointList& newPairs, char decimalSeparator,
                 ActivationRequest onActivation, QObject* parent = nullptr);

  // Shows `analysis` (kept by the caller, outcome Success); the row count is its pair count.
  void setAnalysis(const ControlPointAnalysis* analysis);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  // The number column `column` of `row` sorts by (not for Name); what SortRole gives.
  double sortKey(int row, int column) const;

  // The Name text of the pair whose names are longest (in bytes), for the column's width;
  // found without making every pair's text.
  QString longestName() const;

private:
  QVariant displayText(const PairStatistics& pair, int row, int column) const;
  QVariant sortValue(const PairStatistics& pair, int row, int column) const;

  const PointList& oldPairs_;
  const PointList& newPairs_;
  char separator_;
  ActivationRequest onActivation_;
  const ControlPointAnalysis* analysis_ = nullptr;
};

// Sorts the pair table: numbers straight from the model, without a QVariant per
// comparison, so that a hundred thousand rows sort in a blink. Sorting is redone by
// resort() after each recompute rather than row by row on every change.
class PairSortModel : public QSortFilterProxyModel {
  Q_OBJECT
public:
  explicit PairSortModel(PairTableModel* pairs, QObject* parent = nullptr);
  // Sorts again by the present column and order, if any.
  void resort();
  void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

protected:
  bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
  PairTableModel* pairs_;
  // The sort column's keys, one per row, in one block: the pairs' figures are far apart
  // in memory, and reading them per comparison would wait on the cache.
  std::vector<double> keys_;
};

}  // namespace analysis
