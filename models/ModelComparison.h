// Which model do the data support? The three models fitted to the same active pairs, So
// and f of each, and F tests of the extra parameters of each richer model against the
// simpler one it contains:
//   Helmert against congruent (the free scale):
//     F = (Omega_3 - Omega_4) / (Omega_4 / f_4)          ~ F(1, f_4)
//   affine against Helmert (the second scale and the shear):
//     F = ((Omega_4 - Omega_6) / 2) / (Omega_6 / f_6)    ~ F(2, f_6)
// Omega_k is the sum of squared residuals of the k-parameter model, f_k = 2n - k. The
// richer model is significantly better at level alpha when F exceeds the (1 - alpha)
// quantile k of its F distribution (Boost.Math). A test needs both fits and f > 0 of the
// richer model (n >= 3 for the scale, n >= 4 for the affine model). Where the richer
// model fits exactly in the sense of RoundOffLevel.h, F is infinite if the simpler one
// does not, and there is nothing to test if both do.
// The model the data support (preferred()): the affine one where it is significantly
// better than Helmert; otherwise the congruent one where Helmert is tested and not
// significantly better than it; otherwise Helmert.
#pragma once

#include "ModelFit.h"
#include "PlaneModel.h"
#include "PointList.h"

#include <vector>

namespace models {

struct ModelSummary {
  Model model = Model::Helmert;
  FitOutcome outcome = FitOutcome::TooFewPairs;
  long long redundancy = 0;  // f = 2n - k
  long double omega = 0;     // sum of squared residuals (Success only)
  double So = 0;             // (Success only)
};

enum class NestedTestState {
  Tested,
  TooFewPairs,    // f of the richer model is not positive
  NotEstimated,   // one of the two fits failed (e.g. affine on points on one line)
  ExactFit,       // both models fit the pairs exactly
  NoLevel,        // alpha outside 0 .. 1
};

struct NestedTest {
  Model simpler = Model::Congruent;
  Model richer = Model::Helmert;
  NestedTestState state = NestedTestState::TooFewPairs;
  int numeratorDof = 1;    // the number of extra parameters: 1 or 2
  int denominatorDof = 0;  // f of the richer model
  double F = 0;            // Tested only; +infinity where only the richer model fits exactly
  double critical = 0;     // k, Tested only
  bool significant = false;  // Tested and F > k
};

struct ModelComparison {
  double alpha = 0.05;
  ModelSummary congruent, helmert, affine;
  NestedTest helmertAgainstCongruent{Model::Congruent, Model::Helmert, NestedTestState::TooFewPairs, 1, 0, 0, 0, false};
  NestedTest affineAgainstHelmert{Model::Helmert, Model::Affine, NestedTestState::TooFewPairs, 2, 0, 0, 0, false};

  const ModelSummary& summary(Model model) const;
  Model preferred() const;
};

// Fits all three models to the active pairs (as fitModel) and compares them.
ModelComparison compareModels(const PointList& oldPairs, const PointList& newPairs, const std::vector<bool>& active,
                              double alpha);
// The same from fits of the same active pairs.
ModelComparison compareFits(const ModelFit& congruent, const ModelFit& helmert, const ModelFit& affine, double alpha);

// The (1 - alpha) quantile of F(numeratorDof, denominatorDof); both positive, 0 < alpha < 1.
double fQuantile(double alpha, int numeratorDof, int denominatorDof);

}  // namespace models
