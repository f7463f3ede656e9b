// The table of the "Paßpunktanalyse": one row per control point pair with its activity
// (a check box), number, name, residual, gap, redundancy share, test value and verdict.
// Texts are made when a cell is shown, so a hundred thousand rows cost nothing until they
// are scrolled to; SortRole gives numbers for numeric sorting.
#pragma once

#include "ControlPointAnalysis.h"
#include "PointList.h"

#include <QAbstractTableModel>

#include <functional>

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

private:
  QVariant displayText(const PairStatistics& pair, int row, int column) const;
  QVariant sortValue(const PairStatistics& pair, int row, int column) const;

  const PointList& oldPairs_;
  const PointList& newPairs_;
  char separator_;
  ActivationRequest onActivation_;
  const ControlPointAnalysis* analysis_ = nullptr;
};

}  // namespace analysis
