// Checking and reducing the control points of a residual distribution.
#include "ControlPoints.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace distribution {

namespace {

bool finite(const ControlPoint& point) {
  return std::isfinite(point.rw) && std::isfinite(point.hw) && std::isfinite(point.vRW) && std::isfinite(point.vHW);
}

// The centre of the bounding box: it keeps the reduced coordinates as small as they get.
LocalOrigin boundingBoxCentre(std::span<const ControlPoint> points) {
  if (points.empty()) return {};
  double minRW = points[0].rw, maxRW = points[0].rw, minHW = points[0].hw, maxHW = points[0].hw;
  for (const ControlPoint& point : points) {
    minRW = std::min(minRW, point.rw);
    maxRW = std::max(maxRW, point.rw);
    minHW = std::min(minHW, point.hw);
    maxHW = std::max(maxHW, point.hw);
  }
  return {minRW + (maxRW - minRW) / 2, minHW + (maxHW - minHW) / 2};
}

}  // namespace

SetupResult prepareControlPoints(std::span<const ControlPoint> points, PreparedControlPoints& prepared) {
  prepared = {};
  for (std::size_t i = 0; i < points.size(); ++i)
    if (!finite(points[i])) return {SetupProblem::NonFiniteInput, i, i};

  const LocalOrigin origin = boundingBoxCentre(points);
  std::vector<double> rw(points.size()), hw(points.size());
  for (std::size_t i = 0; i < points.size(); ++i) {
    rw[i] = origin.reducedRW(points[i].rw);
    hw[i] = origin.reducedHW(points[i].hw);
  }

  // Equal reduced positions end up next to each other, in input order among themselves.
  std::vector<std::size_t> order(points.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return rw[a] < rw[b] || (rw[a] == rw[b] && hw[a] < hw[b]);
  });
  std::vector<bool> keep(points.size(), true);
  for (std::size_t k = 1; k < order.size(); ++k) {
    const std::size_t previous = order[k - 1], current = order[k];
    if (rw[previous] != rw[current] || hw[previous] != hw[current]) continue;
    const std::size_t first = std::min(previous, current), second = std::max(previous, current);
    if (points[previous].vRW != points[current].vRW || points[previous].vHW != points[current].vHW)
      return {SetupProblem::CoincidentControlPoints, first, second};
    keep[second] = false;
  }

  prepared.origin = origin;
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (!keep[i]) continue;
    prepared.rw.push_back(rw[i]);
    prepared.hw.push_back(hw[i]);
    prepared.vRW.push_back(points[i].vRW);
    prepared.vHW.push_back(points[i].vHW);
    prepared.source.push_back(i);
  }
  return {};
}

}  // namespace distribution
