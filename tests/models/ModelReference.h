// An independent least-squares refit of the three models for the tests: the full design
// matrix of the pairs (two rows per pair) written from the model equations, the normal
// equations solved with Eigen in long double, the congruent model by Gauss-Newton
// iteration in its rotation. Nothing of models/ is used, so the tests compare the closed
// forms with the plain definitions. Coordinates are reduced by a round offset first (not
// the centroid), which keeps the normal equations well conditioned.
#pragma once

#include "PlaneModel.h"
#include "PointList.h"

#include <Eigen/Dense>

#include <array>
#include <cmath>
#include <cstddef>
#include <optional>
#include <random>
#include <vector>

namespace modeltest {

using models::Model;
using Matrix = Eigen::Matrix<long double, Eigen::Dynamic, Eigen::Dynamic>;
using Vector = Eigen::Matrix<long double, Eigen::Dynamic, 1>;

struct PairSet {
  PointList oldPoints, newPoints;
  std::size_t size() const { return oldPoints.rw.size(); }
};

struct Reference {
  Model model = Model::Helmert;
  long double offsetRW = 0, offsetHW = 0;  // subtracted from all coordinates
  Vector parameters;  // at the offset: (Yo', Xo', a, o) / (Yo', Xo', d) / (Yo', Xo', a1, a2, b1, b2)
  std::vector<std::array<long double, 2>> residuals;  // of every pair of the set, observed - computed
  long double omega = 0;                               // over the pairs used
  long long redundancy = 0;
  Matrix normalInverse;  // (A'A)^-1 at the solution, parameters at the offset

  long double So() const { return redundancy > 0 ? std::sqrt(omega / redundancy) : 0; }
  // The parameters in the affine form with shifts at the origin: Yo, Xo, a1, a2, b1, b2.
  std::array<long double, 6> affineForm() const;
  // The 2 x k design rows of a point at the solution, parameters at the offset.
  Matrix designRows(long double rw, long double hw) const;
};

// n pairs spread over `spread` metres in Gauß-Krüger-sized coordinates, mapped by the
// affine transformation with scales scaleRW, scaleHW along the old axes, rotation
// rotationGon of the rw axis and shear shearGon (models/PlaneTransformation.h), plus a
// shift, with normally distributed noise of `noise` metres in each new coordinate.
struct Distortion {
  double scaleRW = 1 + 18.5e-6, scaleHW = 1 + 18.5e-6, rotationGon = 0.0234, shearGon = 0;
};
template <class Random>
PairSet generatedSet(int n, double spread, const Distortion& t, double noise, Random& random) {
  std::uniform_real_distribution<double> where(-spread / 2, spread / 2);
  std::normal_distribution<double> error(0, noise);
  const double toRadian = 3.14159265358979323846 / 200;
  const double dRW = t.rotationGon * toRadian, dHW = (t.rotationGon + t.shearGon) * toRadian;
  // Images of the unit vectors of rw and hw: clockwise turns by dRW and dHW.
  const double a1 = t.scaleRW * std::cos(dRW), b1 = -t.scaleRW * std::sin(dRW);
  const double a2 = t.scaleHW * std::sin(dHW), b2 = t.scaleHW * std::cos(dHW);
  PairSet set;
  for (int i = 0; i < n; ++i) {
    const double rw = 4511000 + where(random), hw = 5431000 + where(random);
    set.oldPoints.rw.push_back(rw);
    set.oldPoints.hw.push_back(hw);
    set.newPoints.rw.push_back(97.5 + a1 * rw + a2 * hw + (noise > 0 ? error(random) : 0));
    set.newPoints.hw.push_back(-183.25 + b1 * rw + b2 * hw + (noise > 0 ? error(random) : 0));
  }
  return set;
}

// Fits `model` to the pairs whose flag in `use` is set (all when `use` is empty), with the
// coordinates reduced by `offset` (by default a round number near the first old point).
struct Offset {
  long double rw, hw;
};
Reference refit(Model model, const PairSet& set, const std::vector<bool>& use = {},
                std::optional<Offset> offset = std::nullopt);

inline Matrix Reference::designRows(long double rw, long double hw) const {
  const long double y = rw - offsetRW, x = hw - offsetHW;
  const int k = models::parameterCount(model);
  Matrix A = Matrix::Zero(2, k);
  A(0, 0) = 1;
  A(1, 1) = 1;
  if (model == Model::Helmert) {
    A(0, 2) = y, A(0, 3) = x;  // RW = Yo + a*rw + o*hw
    A(1, 2) = x, A(1, 3) = -y;  // HW = Xo + a*hw - o*rw
  } else if (model == Model::Affine) {
    A(0, 2) = y, A(0, 3) = x;  // RW = Yo + a1*rw + a2*hw
    A(1, 4) = y, A(1, 5) = x;  // HW = Xo + b1*rw + b2*hw
  } else {
    const long double d = parameters.size() > 2 ? parameters(2) : 0;
    A(0, 2) = -std::sin(d) * y + std::cos(d) * x;  // d/dd of cos d*rw + sin d*hw
    A(1, 2) = -std::sin(d) * x - std::cos(d) * y;  // d/dd of cos d*hw - sin d*rw
  }
  return A;
}

inline std::array<long double, 6> Reference::affineForm() const {
  long double a1, a2, b1, b2;
  if (model == Model::Affine) {
    a1 = parameters(2), a2 = parameters(3), b1 = parameters(4), b2 = parameters(5);
  } else {
    const long double a = model == Model::Helmert ? parameters(2) : std::cos(parameters(2));
    const long double o = model == Model::Helmert ? parameters(3) : std::sin(parameters(2));
    a1 = a, a2 = o, b1 = -o, b2 = a;
  }
  // RW - E = Yo' + a1 (rw - E) + a2 (hw - N)  =>  Yo = Yo' + E - a1 E - a2 N
  return {parameters(0) + offsetRW - a1 * offsetRW - a2 * offsetHW,
          parameters(1) + offsetHW - b1 * offsetRW - b2 * offsetHW, a1, a2, b1, b2};
}

inline Reference refit(Model model, const PairSet& set, const std::vector<bool>& use, std::optional<Offset> offset) {
  Reference ref;
  ref.model = model;
  ref.offsetRW = offset ? offset->rw : std::round(set.oldPoints.rw[0] / 1000) * 1000;
  ref.offsetHW = offset ? offset->hw : std::round(set.oldPoints.hw[0] / 1000) * 1000;
  std::vector<std::size_t> used;
  for (std::size_t i = 0; i < set.size(); ++i)
    if (use.empty() || use[i]) used.push_back(i);
  const int k = models::parameterCount(model);
  ref.parameters = Vector::Zero(k);
  ref.redundancy = 2 * static_cast<long long>(used.size()) - k;

  auto model_at = [&](std::size_t i) {
    const long double y = set.oldPoints.rw[i] - ref.offsetRW, x = set.oldPoints.hw[i] - ref.offsetHW;
    const Matrix A = ref.designRows(set.oldPoints.rw[i], set.oldPoints.hw[i]);
    if (model != Model::Congruent) return std::array<long double, 2>{(A.row(0) * ref.parameters)(0), (A.row(1) * ref.parameters)(0)};
    const long double d = ref.parameters(2);
    return std::array<long double, 2>{ref.parameters(0) + std::cos(d) * y + std::sin(d) * x,
                                      ref.parameters(1) + std::cos(d) * x - std::sin(d) * y};
  };
  // Linear models converge in one step; the congruent one in a few.
  for (int iteration = 0; iteration < (model == Model::Congruent ? 60 : 1); ++iteration) {
    Matrix A(2 * used.size(), k);
    Vector misfit(2 * used.size());
    for (std::size_t j = 0; j < used.size(); ++j) {
      const std::size_t i = used[j];
      A.middleRows(2 * static_cast<Eigen::Index>(j), 2) = ref.designRows(set.oldPoints.rw[i], set.oldPoints.hw[i]);
      const std::array<long double, 2> computed = model_at(i);
      misfit(2 * j) = set.newPoints.rw[i] - ref.offsetRW - computed[0];
      misfit(2 * j + 1) = set.newPoints.hw[i] - ref.offsetHW - computed[1];
    }
    const Matrix normal = A.transpose() * A;
    ref.parameters += normal.ldlt().solve(A.transpose() * misfit);
  }
  Matrix A(2 * used.size(), k);
  for (std::size_t j = 0; j < used.size(); ++j)
    A.middleRows(2 * static_cast<Eigen::Index>(j), 2) = ref.designRows(set.oldPoints.rw[used[j]], set.oldPoints.hw[used[j]]);
  ref.normalInverse = (A.transpose() * A).inverse();
  for (std::size_t i = 0; i < set.size(); ++i) {
    const std::array<long double, 2> computed = model_at(i);
    ref.residuals.push_back({set.newPoints.rw[i] - ref.offsetRW - computed[0], set.newPoints.hw[i] - ref.offsetHW - computed[1]});
  }
  for (const std::size_t i : used) ref.omega += ref.residuals[i][0] * ref.residuals[i][0] + ref.residuals[i][1] * ref.residuals[i][1];
  return ref;
}

}  // namespace modeltest
