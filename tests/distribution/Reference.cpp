// The independent computations of Reference.h.
#include "Reference.h"

#include <Eigen/Dense>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace reference {

namespace {

using Real = long double;
using Matrix = Eigen::Matrix<Real, Eigen::Dynamic, Eigen::Dynamic>;

Real distance(const ControlPoint& point, double rw, double hw) {
  return std::hypot(static_cast<Real>(point.rw) - rw, static_cast<Real>(point.hw) - hw);
}

}  // namespace

Shift weighted(const std::vector<ControlPoint>& points, Real p, std::optional<double> radius, double rw, double hw) {
  Real weight = 0, sumRW = 0, sumHW = 0;
  for (const ControlPoint& point : points) {
    const Real s = distance(point, rw, hw);
    if (radius && s > *radius) continue;
    if (s == 0) return {point.vRW, point.vHW, true};
    const Real w = 1 / std::pow(s, p);
    weight += w;
    sumRW += w * point.vRW;
    sumHW += w * point.vHW;
  }
  if (weight == 0) return {};
  return {sumRW / weight, sumHW / weight, true};
}

Multiquadric::Multiquadric(const std::vector<ControlPoint>& points, Real delta)
    : points_(points), deltaSquared_(delta * delta) {
  const Eigen::Index n = static_cast<Eigen::Index>(points.size());
  Matrix system = Matrix::Zero(n + 1, n + 1);
  Matrix rhs = Matrix::Zero(n + 1, 2);
  for (Eigen::Index i = 0; i < n; ++i) {
    for (Eigen::Index j = 0; j < n; ++j) {
      const Real s = distance(points[j], points[i].rw, points[i].hw);
      system(i, j) = std::sqrt(s * s + deltaSquared_);
    }
    system(i, n) = system(n, i) = 1;
    rhs(i, 0) = points[i].vRW;
    rhs(i, 1) = points[i].vHW;
  }
  const Matrix solution = system.fullPivLu().solve(rhs);
  for (Eigen::Index j = 0; j < n; ++j) {
    alphaRW_.push_back(solution(j, 0));
    alphaHW_.push_back(solution(j, 1));
  }
  trendRW_ = solution(n, 0);
  trendHW_ = solution(n, 1);
}

Shift Multiquadric::at(double rw, double hw) const {
  Shift shift{trendRW_, trendHW_, true};
  for (std::size_t j = 0; j < points_.size(); ++j) {
    const Real s = distance(points_[j], rw, hw);
    const Real q = std::sqrt(s * s + deltaSquared_);
    shift.rw += alphaRW_[j] * q;
    shift.hw += alphaHW_[j] * q;
  }
  return shift;
}

Real Multiquadric::alphaSumRW() const {
  Real sum = 0;
  for (Real alpha : alphaRW_) sum += std::fabs(alpha);
  return sum;
}

Real Multiquadric::alphaSumHW() const {
  Real sum = 0;
  for (Real alpha : alphaHW_) sum += std::fabs(alpha);
  return sum;
}

namespace {

struct Local {
  Real rw, hw;
};

// (b - a) x (c - a): positive when a, b, c turn counter-clockwise.
Real cross(Local a, Local b, Local c) { return (b.rw - a.rw) * (c.hw - a.hw) - (b.hw - a.hw) * (c.rw - a.rw); }

// Whether d lies strictly inside the circle through a, b, c (counter-clockwise).
bool inCircle(Local a, Local b, Local c, Local d) {
  const Real adx = a.rw - d.rw, ady = a.hw - d.hw, bdx = b.rw - d.rw, bdy = b.hw - d.hw, cdx = c.rw - d.rw,
             cdy = c.hw - d.hw;
  const Real det = (adx * adx + ady * ady) * (bdx * cdy - cdx * bdy) - (bdx * bdx + bdy * bdy) * (adx * cdy - cdx * ady) +
                   (cdx * cdx + cdy * cdy) * (adx * bdy - bdx * ady);
  return det > 0;
}

std::vector<Local> local(const std::vector<ControlPoint>& points) {
  std::vector<Local> result;
  for (const ControlPoint& point : points)
    result.push_back({static_cast<Real>(point.rw) - points[0].rw, static_cast<Real>(point.hw) - points[0].hw});
  return result;
}

}  // namespace

std::vector<std::array<std::size_t, 3>> delaunayTriangles(const std::vector<ControlPoint>& points) {
  const std::vector<Local> p = local(points);
  std::vector<std::array<std::size_t, 3>> triangles;
  for (std::size_t i = 0; i < p.size(); ++i)
    for (std::size_t j = i + 1; j < p.size(); ++j)
      for (std::size_t k = j + 1; k < p.size(); ++k) {
        const Real turn = cross(p[i], p[j], p[k]);
        if (turn == 0) continue;
        const Local a = p[i], b = turn > 0 ? p[j] : p[k], c = turn > 0 ? p[k] : p[j];
        bool empty = true;
        for (std::size_t m = 0; m < p.size() && empty; ++m)
          if (m != i && m != j && m != k && inCircle(a, b, c, p[m])) empty = false;
        if (empty) triangles.push_back({i, j, k});
      }
  return triangles;
}

Shift triangleInterpolation(const std::vector<ControlPoint>& points,
                            const std::vector<std::array<std::size_t, 3>>& triangles, double rw, double hw) {
  const std::vector<Local> p = local(points);
  const Local q{static_cast<Real>(rw) - points[0].rw, static_cast<Real>(hw) - points[0].hw};
  for (const auto& [i, j, k] : triangles) {
    const Real area = cross(p[i], p[j], p[k]);
    const Real li = cross(q, p[j], p[k]) / area, lj = cross(p[i], q, p[k]) / area, lk = cross(p[i], p[j], q) / area;
    if (li < 0 || lj < 0 || lk < 0) continue;
    return {li * points[i].vRW + lj * points[j].vRW + lk * points[k].vRW,
            li * points[i].vHW + lj * points[j].vHW + lk * points[k].vHW, true};
  }
  return {};
}

ForMethod::ForMethod(distribution::Method method, const std::vector<ControlPoint>& points, double delta)
    : method_(method), points_(points), multiquadric_(points, delta) {
  if (method == distribution::Method::Triangles) triangles_ = delaunayTriangles(points);
}

Shift ForMethod::at(double rw, double hw) const {
  switch (method_) {
    case distribution::Method::DistanceWeightingP1: return weighted(points_, 1, {}, rw, hw);
    case distribution::Method::DistanceWeightingP1_5: return weighted(points_, 1.5L, {}, rw, hw);
    case distribution::Method::DistanceWeightingP2: return weighted(points_, 2, {}, rw, hw);
    case distribution::Method::Multiquadric: return multiquadric_.at(rw, hw);
    case distribution::Method::Triangles: return triangleInterpolation(points_, triangles_, rw, hw);
  }
  return {};
}

std::vector<NamedPoint> readSample(const std::string& fileName) {
  std::ifstream in(fileName);
  if (!in) throw std::runtime_error("cannot read " + fileName);
  std::vector<NamedPoint> points;
  for (std::string line; std::getline(in, line);) {
    std::replace(line.begin(), line.end(), ',', '.');
    std::istringstream fields(line);
    std::string name, rw, hw;
    if (!(fields >> name >> rw >> hw)) continue;
    NamedPoint point{name};
    std::from_chars(rw.data(), rw.data() + rw.size(), point.rw);
    std::from_chars(hw.data(), hw.data() + hw.size(), point.hw);
    points.push_back(point);
  }
  return points;
}

HelmertFit helmertFit(const std::vector<NamedPoint>& oldPoints, const std::vector<NamedPoint>& newPoints) {
  // Unknowns (a, o, Yo', Xo') for coordinates reduced to the first pair, so that the normal
  // equations hold small numbers.
  const Real r0 = oldPoints[0].rw, h0 = oldPoints[0].hw, R0 = newPoints[0].rw, H0 = newPoints[0].hw;
  const Eigen::Index n = static_cast<Eigen::Index>(oldPoints.size());
  Matrix design(2 * n, 4);
  Eigen::Matrix<Real, Eigen::Dynamic, 1> observed(2 * n);
  for (Eigen::Index i = 0; i < n; ++i) {
    const Real rw = oldPoints[i].rw - r0, hw = oldPoints[i].hw - h0;
    design.row(2 * i) << rw, hw, 1, 0;
    design.row(2 * i + 1) << hw, -rw, 0, 1;
    observed(2 * i) = newPoints[i].rw - R0;
    observed(2 * i + 1) = newPoints[i].hw - H0;
  }
  const Eigen::Matrix<Real, 4, 1> x = (design.transpose() * design).ldlt().solve(design.transpose() * observed);
  const Eigen::Matrix<Real, Eigen::Dynamic, 1> residual = observed - design * x;
  HelmertFit fit;
  fit.a = x(0);
  fit.o = x(1);
  fit.Yo = R0 + x(2) - fit.a * r0 - fit.o * h0;
  fit.Xo = H0 + x(3) - fit.a * h0 + fit.o * r0;
  for (Eigen::Index i = 0; i < n; ++i) {
    fit.vRW.push_back(residual(2 * i));
    fit.vHW.push_back(residual(2 * i + 1));
  }
  return fit;
}

}  // namespace reference
