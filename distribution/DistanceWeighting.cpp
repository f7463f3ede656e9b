// Distance weighting: the weighted mean of the residuals, and the grid that limits it to a
// radius.
#include "DistanceWeighting.h"

#include <algorithm>
#include <cmath>

namespace distribution {

namespace {

// Squared distances below this count as this in the weights, so that 1/s^p stays finite
// even where s_j = 0 (whose correction is then taken as v_j exactly) and the sums cannot
// overflow: 1/1e-200 leaves room for any residual times any number of control points.
constexpr double kSmallestSquaredDistance = 1e-200;  // [m^2]

// The grid has at most this many cells per control point, so a tiny radius over a wide
// area does not make a huge grid; the cells are then wider than the radius.
constexpr double kCellsPerControlPoint = 4;

// floor(value) limited to [-1, count], so that far-off or huge positions cannot overflow.
int clampedCell(double value, int count) {
  const double cell = std::floor(value);
  if (!(cell >= -1)) return -1;
  if (cell > count) return count;
  return static_cast<int>(cell);
}

}  // namespace

struct DistanceWeighting::Sums {
  double weight = 0;
  double weightedRW = 0;
  double weightedHW = 0;
  double exactHits = 0;  // control points at exactly P's position
};

DistanceWeighting::DistanceWeighting(PreparedControlPoints points, const Settings& settings)
    : ResidualDistribution(settings, points.size()), points_(std::move(points)) {
  switch (settings.method) {
    case Method::DistanceWeightingP1: twiceExponent_ = 2; break;
    case Method::DistanceWeightingP1_5: twiceExponent_ = 3; break;
    default: twiceExponent_ = 4; break;
  }
  if (settings.radius) {
    radius_ = *settings.radius;
    radiusSquared_ = radius_ * radius_;
    buildGrid();
  }
}

void DistanceWeighting::buildGrid() {
  const std::size_t n = points_.size();
  if (n == 0) return;
  const auto [minRW, maxRW] = std::minmax_element(points_.rw.begin(), points_.rw.end());
  const auto [minHW, maxHW] = std::minmax_element(points_.hw.begin(), points_.hw.end());
  minRW_ = *minRW;
  minHW_ = *minHW;
  const double width = *maxRW - minRW_, height = *maxHW - minHW_;
  const double maxCells = kCellsPerControlPoint * static_cast<double>(n);
  cellSize_ = std::max({radius_, std::sqrt(width * height / maxCells), width / maxCells, height / maxCells});
  columns_ = static_cast<int>(width / cellSize_) + 1;
  rows_ = static_cast<int>(height / cellSize_) + 1;

  // Counting sort of the points by cell, row by row.
  std::vector<std::uint32_t> cellOf(n);
  cellStart_.assign(static_cast<std::size_t>(columns_) * rows_ + 1, 0);
  for (std::size_t j = 0; j < n; ++j) {
    const int column = std::min(columns_ - 1, static_cast<int>((points_.rw[j] - minRW_) / cellSize_));
    const int row = std::min(rows_ - 1, static_cast<int>((points_.hw[j] - minHW_) / cellSize_));
    cellOf[j] = static_cast<std::uint32_t>(row * columns_ + column);
    ++cellStart_[cellOf[j] + 1];
  }
  for (std::size_t c = 1; c < cellStart_.size(); ++c) cellStart_[c] += cellStart_[c - 1];
  std::vector<std::uint32_t> next(cellStart_.begin(), cellStart_.end() - 1);
  PreparedControlPoints sorted;
  sorted.origin = points_.origin;
  for (std::vector<double>* column : {&sorted.rw, &sorted.hw, &sorted.vRW, &sorted.vHW}) column->resize(n);
  sorted.source.resize(n);
  for (std::size_t j = 0; j < n; ++j) {
    const std::uint32_t at = next[cellOf[j]]++;
    sorted.rw[at] = points_.rw[j];
    sorted.hw[at] = points_.hw[j];
    sorted.vRW[at] = points_.vRW[j];
    sorted.vHW[at] = points_.vHW[j];
    sorted.source[at] = points_.source[j];
  }
  points_ = std::move(sorted);
}

// The sums over points_[begin, end). Written without branches so that the compiler turns
// it into vector code (OpenMP SIMD: the sums may be added in any order).
template <int twiceExponent, bool bounded>
void DistanceWeighting::accumulate(std::size_t begin, std::size_t end, double rw, double hw, Sums& sums) const {
  const double* const pointRW = points_.rw.data();
  const double* const pointHW = points_.hw.data();
  const double* const vRW = points_.vRW.data();
  const double* const vHW = points_.vHW.data();
  const double radiusSquared = radiusSquared_;
  double weight = 0, weightedRW = 0, weightedHW = 0, exactHits = 0;
#pragma omp simd reduction(+ : weight, weightedRW, weightedHW, exactHits)
  for (std::size_t j = begin; j < end; ++j) {
    const double dRW = pointRW[j] - rw, dHW = pointHW[j] - hw;
    const double squared = dRW * dRW + dHW * dHW;
    const double limited = std::max(squared, kSmallestSquaredDistance);
    double w;
    if constexpr (twiceExponent == 2) {
      w = 1 / std::sqrt(limited);
    } else if constexpr (twiceExponent == 3) {
      const double s = std::sqrt(limited);
      w = 1 / (s * std::sqrt(s));
    } else {
      w = 1 / limited;
    }
    if constexpr (bounded) w = squared <= radiusSquared ? w : 0.0;
    weight += w;
    weightedRW += w * vRW[j];
    weightedHW += w * vHW[j];
    exactHits += squared == 0 ? 1.0 : 0.0;
  }
  sums.weight += weight;
  sums.weightedRW += weightedRW;
  sums.weightedHW += weightedHW;
  sums.exactHits += exactHits;
}

// Calls visit(begin, end) for each run of control points P has to look at: all of them,
// or, with a radius, the row of grid cells under P's circle in each row of the grid.
template <class Visit>
void DistanceWeighting::forEachRun(double rw, double hw, Visit visit) const {
  if (radius_ == 0) {
    visit(std::size_t{0}, points_.size());
    return;
  }
  const int column0 = std::max(0, clampedCell((rw - radius_ - minRW_) / cellSize_, columns_));
  const int column1 = std::min(columns_ - 1, clampedCell((rw + radius_ - minRW_) / cellSize_, columns_));
  const int row0 = std::max(0, clampedCell((hw - radius_ - minHW_) / cellSize_, rows_));
  const int row1 = std::min(rows_ - 1, clampedCell((hw + radius_ - minHW_) / cellSize_, rows_));
  if (column0 > column1) return;
  for (int row = row0; row <= row1; ++row) {
    const std::size_t rowStart = static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_);
    visit(std::size_t{cellStart_[rowStart + column0]}, std::size_t{cellStart_[rowStart + column1 + 1]});
  }
}

template <int twiceExponent>
Correction DistanceWeighting::correctionWith(double rw, double hw) const {
  Sums sums;
  forEachRun(rw, hw, [&](std::size_t begin, std::size_t end) {
    if (radius_ == 0)
      accumulate<twiceExponent, false>(begin, end, rw, hw, sums);
    else
      accumulate<twiceExponent, true>(begin, end, rw, hw, sums);
  });
  if (sums.exactHits > 0) {
    // P is a control point: its own residual, not a mean that rounding could touch.
    Correction own;
    forEachRun(rw, hw, [&](std::size_t begin, std::size_t end) {
      for (std::size_t j = begin; j < end; ++j)
        if (points_.rw[j] == rw && points_.hw[j] == hw) own = {points_.vRW[j], points_.vHW[j], true};
    });
    if (own.corrected) return own;
  }
  if (!(sums.weight > 0)) return {};
  return {sums.weightedRW / sums.weight, sums.weightedHW / sums.weight, true};
}

Correction DistanceWeighting::correctionAt(double rw, double hw) const {
  if (!std::isfinite(rw) || !std::isfinite(hw) || points_.size() == 0) return {};
  const double reducedRW = points_.origin.reducedRW(rw), reducedHW = points_.origin.reducedHW(hw);
  switch (twiceExponent_) {
    case 2: return correctionWith<2>(reducedRW, reducedHW);
    case 3: return correctionWith<3>(reducedRW, reducedHW);
    default: return correctionWith<4>(reducedRW, reducedHW);
  }
}

}  // namespace distribution
