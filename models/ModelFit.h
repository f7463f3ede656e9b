// Least-squares estimate of one of the three plane models from the active control point
// pairs, with what the point test, the model comparison and precision figures need of its
// normal equations. Plain code in long double; no user interface.
//
// Reduced coordinates: y = rw - c_rw, x = hw - c_hw (old), Y = RW - c_RW, X = HW - c_HW
// (new), with c the centroids of the active pairs as the Helmert solver forms them; sums
// over the active pairs:
//   N = sum(y^2 + x^2),  P = sum(y*Y + x*X),  Q = sum(x*Y - y*X),
//   M = [sum y^2, sum y*x; sum y*x, sum x^2]
// Helmert:    the "Parameter" run on the active pairs (Keltransformation.h), bit for bit:
//             a = P / N, o = Q / N.
// congruent:  d = atan2(Q, P), a = cos d, o = sin d: the rotation that maximises
//             P cos d + Q sin d and so minimises the sum of squared residuals with m = 1.
// affine:     (a1, a2) = M^-1 (sum y*Y, sum x*Y),  (b1, b2) = M^-1 (sum y*X, sum x*X).
// all:        Yo = c_RW - a1 c_rw - a2 c_hw,  Xo = c_HW - b1 c_rw - b2 c_hw.
// Residuals v = observed - computed (PlaneTransformation::residualRW/HW), Omega = sum |v|^2
// over the active pairs, So = sqrt(Omega / f), f = 2n - k (PlaneModel.h).
//
// Design matrix A, two rows (RW, HW) per pair, with the parameters taken at the centroid
// (shifts Y0, X0: where the old centroid is mapped to), linearised at d for the congruent
// model; after the reduction A'A is block diagonal:
//   congruent  (Y0, X0, d)                RW [1 0 -o*y+a*x]    HW [0 1 -o*x-a*y]   A'A = diag(n, n, N)
//   Helmert    (Y0, X0, a, o)             RW [1 0 y x]         HW [0 1 x -y]       A'A = diag(n, n, N, N)
//   affine     (Y0, X0, a1, a2, b1, b2)   RW [1 0 y x 0 0]     HW [0 1 0 0 y x]    A'A = diag(n, n, M, M)
// The same rows with rw, hw in place of y, x take the parameters at the origin (Yo, Xo,
// ...). Rotation d in radians here.
#pragma once

#include "PlaneModel.h"
#include "PlaneTransformation.h"
#include "PointList.h"

#include <array>
#include <cstddef>
#include <utility>
#include <vector>

namespace models {

enum class FitOutcome {
  Success,
  TooFewPairs,       // fewer active pairs than minimumPairs(model)
  PointsCoincide,    // all active old points on one spot
  // Affine only: the active old points lie on one line, det M <= 1e-12 * sum y^2 * sum x^2
  // (across the line they spread less than a millionth of their spread along it).
  PointsCollinear,
  NotRepresentable,  // a parameter or So does not fit into a double
};

// Means of the active pairs' coordinates: rw, hw old; RW, HW new.
struct Centroids {
  long double rw = 0, hw = 0, RW = 0, HW = 0;
};

// Where the shift parameters are taken: at the old centroid (where A'A is block diagonal)
// or at the origin of the old system (Yo, Xo as the transformation applies them).
enum class ParameterOrigin { Centroid, Origin };

// A small matrix of the parameters' size k (3, 4 or 6), row-major.
struct ParameterMatrix {
  int rows = 0, cols = 0;
  std::array<double, 36> values{};
  double operator()(int i, int j) const { return values[static_cast<std::size_t>(i * cols + j)]; }
  double& operator()(int i, int j) { return values[static_cast<std::size_t>(i * cols + j)]; }
};

struct ModelFit {
  Model model = Model::Helmert;
  FitOutcome outcome = FitOutcome::TooFewPairs;
  std::size_t activeCount = 0;  // n
  Centroids centroid;
  PlaneTransformation transformation;
  long double omega = 0;      // sum of the squared residuals of the active pairs
  long long redundancy = 0;   // f = 2n - k
  double So = 0;              // sqrt(Omega / f); 0 for f <= 0
  // The size S of the active pairs' coordinates, for their round-off (RoundOffLevel.h).
  double coordinateSize = 0;

  // The reduced sums (see above).
  long double N = 0, P = 0, Q = 0;
  long double Myy = 0, Myx = 0, Mxx = 0;
  // The 2 x 2 matrix L of the hat value h = 1/n + [y x] L [y x]' of the models whose hat
  // block is h * I: Helmert L = I / N, affine L = M^-1. Zero for the congruent model.
  long double Lyy = 0, Lyx = 0, Lxx = 0;

  bool succeeded() const { return outcome == FitOutcome::Success; }

  // The cofactor matrix Qxx = (A'A)^-1 of the parameters (k x k, in the order above).
  ParameterMatrix cofactors(ParameterOrigin origin) const;
  // The design block A_P (2 x k) of a point (rw, hw) of the old system.
  ParameterMatrix designBlock(long double rw, long double hw, ParameterOrigin origin) const;
};

// Fits `model` to the active pairs: pair i is oldPairs point i with newPairs point i, for
// i below the smaller point count; `active` as for the control-point analysis (empty: all).
ModelFit fitModel(Model model, const PointList& oldPairs, const PointList& newPairs, const std::vector<bool>& active);

// The number of pairs: the smaller point count of the two lists.
std::size_t pairCount(const PointList& oldPairs, const PointList& newPairs);

// The active pairs alone, coordinates only, in pairing order (n pairs, activeCount of them
// active), for an estimate that takes whole lists.
std::pair<PointList, PointList> activePairLists(const PointList& oldPairs, const PointList& newPairs,
                                                const std::vector<bool>& active, std::size_t n,
                                                std::size_t activeCount);

// Whether pair i is active under `active` (missing flags count as active).
inline bool isActivePair(const std::vector<bool>& active, std::size_t i) {
  return active.empty() || i >= active.size() || active[i];
}

}  // namespace models
