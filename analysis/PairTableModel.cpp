// The pair table's cells: texts, check boxes and sort values.
#include "PairTableModel.h"

#include "AnalysisTexts.h"
#include "PairCells.h"
#include "TextConversions.h"

#include <algorithm>

namespace analysis {

namespace {

QString q(const std::string& text) { return QString::fromStdString(text); }

// Sort value of a figure that is not available: below every real one.
constexpr double kNotAvailableSort = -1;

}  // namespace

PairTableModel::PairTableModel(const PointList& oldPairs, const PointList& newPairs,
                               char decimalSeparator, ActivationRequest onActivation,
                               QObject* parent)
    : QAbstractTableModel(parent),
      oldPairs_(oldPairs),
      newPairs_(newPairs),
      separator_(decimalSeparator),
      onActivation_(std::move(onActivation)) {}

void PairTableModel::setAnalysis(const ControlPointAnalysis* analysis) {
  const bool sameRows = analysis_ && analysis && analysis_->pairs.size() == analysis->pairs.size();
  if (!sameRows) {
    beginResetModel();
    analysis_ = analysis;
    endResetModel();
    return;
  }
  analysis_ = analysis;
  if (!analysis_->pairs.empty())
    emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

int PairTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() || !analysis_ ? 0 : static_cast<int>(analysis_->pairs.size());
}

int PairTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ColumnCount;
}

QVariant PairTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const PairStatistics& pair = analysis_->pairs[static_cast<std::size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole:
      return displayText(pair, index.row(), index.column());
    case Qt::ToolTipRole:
      // A name too long for its column is shown whole here.
      if (index.column() == Name) return displayText(pair, index.row(), index.column());
      return {};
    case Qt::CheckStateRole:
      if (index.column() == Active) return pair.active ? Qt::Checked : Qt::Unchecked;
      return {};
    case Qt::TextAlignmentRole:
      if (index.column() == Name) return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
      if (index.column() == Outlier) return QVariant::fromValue(Qt::AlignCenter);
      return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    case SortRole:
      return sortValue(pair, index.row(), index.column());
    default:
      return {};
  }
}

QVariant PairTableModel::displayText(const PairStatistics& pair, int row, int column) const {
  const char sep = separator_;
  switch (column) {
    case Number: return row + 1;
    case Name: return q(pairName(oldPairs_, newPairs_, static_cast<std::size_t>(row)));
    case VRW: return q(gapText(pair.vRW(), sep));
    case VHW: return q(gapText(pair.vHW(), sep));
    case Gap: return q(pairCellText(*analysis_, pair, PairFigure::Gap, sep));
    case Share: return q(pairCellText(*analysis_, pair, PairFigure::Share, sep));
    case Test: return q(pairCellText(*analysis_, pair, PairFigure::Test, sep));
    case Outlier: return pair.outlier ? QString::fromUtf8(kOutlierMark) : QString();
    default: return {};
  }
}

QVariant PairTableModel::sortValue(const PairStatistics&, int row, int column) const {
  if (column == Name) return q(pairName(oldPairs_, newPairs_, static_cast<std::size_t>(row)));
  return sortKey(row, column);
}

double PairTableModel::sortKey(int row, int column) const {
  const PairStatistics& pair = analysis_->pairs[static_cast<std::size_t>(row)];
  auto orNone = [&pair](PairFigure figure, double value) {
    return isShown(pair, figure) ? value : kNotAvailableSort;
  };
  switch (column) {
    case Active: return pair.active ? 1 : 0;
    case VRW: return static_cast<double>(pair.vRW());
    case VHW: return static_cast<double>(pair.vHW());
    case Gap: return orNone(PairFigure::Gap, pair.gapLength());
    case Share: return orNone(PairFigure::Share, pair.r);
    case Test: return orNone(PairFigure::Test, pair.T);
    case Outlier: return pair.outlier ? 1 : 0;
    default: return row;
  }
}

QString PairTableModel::longestName() const {
  const std::size_t pairs = std::min(oldPairs_.count(), newPairs_.count());
  std::size_t longest = 0;
  std::size_t longestBytes = 0;
  for (std::size_t i = 0; i < pairs; ++i) {
    // As pairName joins them: one name where both are the same, else "old / new".
    const std::string_view oldName = oldPairs_.nameAt(i), newName = newPairs_.nameAt(i);
    const std::size_t bytes = oldName == newName ? oldName.size() : oldName.size() + newName.size() + 3;
    if (bytes > longestBytes) {
      longestBytes = bytes;
      longest = i;
    }
  }
  return longestBytes == 0 ? QString() : q(pairName(oldPairs_, newPairs_, longest));
}

QVariant PairTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  static const char* const kHeadings[ColumnCount] = {"Aktiv", "Pkt.", "Name", "vRW", "vHW",
                                                     "Klaffe", "r", "T", "Ausreißer"};
  return section >= 0 && section < ColumnCount ? QString::fromUtf8(kHeadings[section]) : QVariant();
}

Qt::ItemFlags PairTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
  if (index.column() == Active) flags |= Qt::ItemIsUserCheckable;
  return flags;
}

bool PairTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || index.column() != Active || role != Qt::CheckStateRole || !onActivation_)
    return false;
  const bool active = value.toInt() == Qt::Checked;
  if (active == analysis_->pairs[static_cast<std::size_t>(index.row())].active) return false;
  return onActivation_(index.row(), active);
}

PairSortModel::PairSortModel(PairTableModel* pairs, QObject* parent)
    : QSortFilterProxyModel(parent), pairs_(pairs) {
  setSourceModel(pairs);
  setSortRole(PairTableModel::SortRole);
  setDynamicSortFilter(false);
}

void PairSortModel::resort() {
  if (sortColumn() >= 0) sort(sortColumn(), sortOrder());
}

void PairSortModel::sort(int column, Qt::SortOrder order) {
  keys_.clear();
  if (column >= 0 && column != PairTableModel::Name) {
    const int rows = pairs_->rowCount();
    keys_.reserve(static_cast<std::size_t>(rows));
    for (int row = 0; row < rows; ++row) keys_.push_back(pairs_->sortKey(row, column));
  }
  QSortFilterProxyModel::sort(column, order);
}

bool PairSortModel::lessThan(const QModelIndex& left, const QModelIndex& right) const {
  if (keys_.empty()) return QSortFilterProxyModel::lessThan(left, right);
  const double a = keys_[static_cast<std::size_t>(left.row())];
  const double b = keys_[static_cast<std::size_t>(right.row())];
  // Equal keys keep the pairing order.
  return a < b || (a == b && left.row() < right.row());
}

}  // namespace analysis
