// Control-point analysis: the estimate from a chosen set of active pairs, the residual of
// every pair (switched-off pairs are check points), redundancy shares, leave-one-out gaps
// and a point test for outliers, for each of the three plane models (models/). No user
// interface here; the window's "Paßpunktanalyse", tramis-cli and the protocol writers all
// take their figures from it.
//
// Helmert (analyseControlPoints): model and solver as in Keltransformation.h
// (RW = Yo + a*rw + o*hw, HW = Xo + a*hw - o*rw), the estimate the "Parameter" run itself.
// Residuals v = observed - computed, in the new system, in the solver's bracketing.
// With y_i, x_i the old coordinates reduced to the centroid of the active old points,
// N = sum over active (y^2 + x^2), h_i = 1/n_a + (y_i^2 + x_i^2)/N and Omega = sum_A |v|^2:
//   active pair:        r_i = 1 - h_i (redundancy share), defined for n_a >= 2
//                       gap g_i = v_i / r_i (the residual after a refit without the pair),
//                       defined for r_i > 1e-9
//                       So_(i)^2 = (Omega - |v_i|^2 / r_i) / (2 n_a - 6)
//                       T_i = |v_i|^2 / (2 r_i So_(i)^2),  F(2, f = 2 n_a - 6)
//                       defined where the gap is and n_a >= 4
//   switched-off pair:  g_i = v_i, defined for n_a >= 2
//                       T_i = |v_i|^2 / (2 (1 + h_i) So^2),  F(2, f = 2 n_a - 4)
//                       defined for n_a >= 3
// The other models (analyseModel) the same way with their own r_i, gap, fall of the sum of
// squares delta_i (|v_i|^2 / r_i above) and check-point cofactor (models/PairInfluence.h):
//   So_(i)^2 = (Omega - delta_i) / (f - 2),  T_i = delta_i / (2 So_(i)^2),  F(2, f - 2)
// with f = 2 n_a - k the model's redundancy (DegreesOfFreedom.h); the gap needs the smaller
// eigenvalue of Q_i (= r_i for Helmert and affine) above 1e-9.
// Critical value of F(2, f) at significance level alpha: k = (f/2)(alpha^(-2/f) - 1).
// A pair is an outlier ("Ausreißer") when T_i > k.
//
// Round-off against misfit (models/RoundOffLevel.h): a residual at round-off level is no
// misfit, and a sum of squares at round-off level is zero. Where So_(i) (or So, for a check
// point) is zero in this sense, the other pairs fit exactly: the pair's T is infinite when
// its own residual is a real misfit (it is then an outlier), and not defined when its
// residual is round-off too. When every active residual is round-off the pairs fit exactly
// (`exactFit`), and no pair is tested.
#pragma once

#include "Keltransformation.h"
#include "ModelFit.h"
#include "ParameterRun.h"
#include "PointList.h"
#include "ProgressHandler.h"
#include "RoundOffLevel.h"

#include <cstddef>
#include <limits>
#include <optional>
#include <vector>

namespace analysis {

using models::RoundOffLevel;

// Significance level of the point test unless the user chooses another: 0.1 %.
inline constexpr double kDefaultAlpha = 0.001;

// The figures of one control point pair, active or switched off. The residuals are the
// estimate's, in its precision; the figures derived from them are double, which holds far
// more digits than they mean. A million pairs make a table of 64 MB, so the record keeps
// only what it must: each residual as a double and the float that the extended value
// differs from it by, the gap (which for the congruent model does not follow from v and
// r), r and T, and a flag per figure. The difference has at most 11 significant bits, so
// double and float give back the extended value exactly for any residual above 1e-26 m;
// below that the double alone holds it to 16 digits.
// r, the gap and T are defined under different conditions (see above); a figure that is
// not defined reads 0 and is shown as "–".
struct PairStatistics {
  long double vRW() const { return static_cast<long double>(vRWHigh_) + vRWLow_; }  // observed - computed
  long double vHW() const { return static_cast<long double>(vHWHigh_) + vHWLow_; }
  void setResidual(long double rw, long double hw);

  // Defined only where `gapShown`; otherwise 0.
  double gapRW() const { return gapRW_; }  // leave-one-out gap ("Klaffe") in RW
  double gapHW() const { return gapHW_; }  // and in HW
  double gapLength() const;                // sqrt(gapRW^2 + gapHW^2)
  // Sets the gap and `gapShown`.
  void setGap(double rw, double hw);

  double r = 0;  // redundancy share, 0 .. 1; active pairs only, where `shareShown`
  // Test value, where `testShown`; k and f are the analysis's, by the pair's class. Finite,
  // or +infinity where the other pairs fit exactly and this one does not; never NaN.
  double T = 0;

  bool active = true;
  bool shareShown = false;  // r is defined (active pairs of a successful estimate)
  bool gapShown = false;    // the gap is defined
  bool testShown = false;   // T, k and f are defined
  bool outlier = false;     // testShown and T > k
  bool roundOff = false;    // the residual is round-off (models/RoundOffLevel.h), no misfit

  bool testIsInfinite() const { return testShown && T == kInfiniteTest; }
  static constexpr double kInfiniteTest = std::numeric_limits<double>::infinity();

private:
  double vRWHigh_ = 0;
  double vHWHigh_ = 0;
  float vRWLow_ = 0;
  float vHWLow_ = 0;
  double gapRW_ = 0;
  double gapHW_ = 0;
};

enum class AnalysisOutcome {
  Success,
  // Fewer active pairs than the model needs: the window's "Mindestens zwei Paßpunkte ...",
  // for the affine model three (ModelTexts.h).
  TooFewActive,
  PointsCoincide,  // all active old points on one spot: the solver's status 3
  PointsCollinear,  // affine model: the active old points lie on one line
  NotRepresentable,  // the estimate does not fit into a double (compute::kNotRepresentableMessage)
};

struct ControlPointAnalysis {
  AnalysisOutcome outcome = AnalysisOutcome::TooFewActive;
  models::Model model = models::Model::Helmert;
  std::size_t pairCount = 0;    // n: all pairs
  std::size_t activeCount = 0;  // n_a
  double alpha = kDefaultAlpha;

  // The estimate of the active set as the "Parameter" command reports it: pointCount = n_a,
  // scale, rotation [gon] and So. Only meaningful for Success; scale and rotation only for
  // Helmert and the congruent model (the affine one: models::affineShape(transformation)).
  compute::ParameterRun run;
  // The estimated transformation and the centroids of the active pairs (Success only).
  models::PlaneTransformation transformation;
  models::Centroids centroid;

  // One entry per pair, in pairing order (Pkt. = index + 1). Filled for Success only.
  std::vector<PairStatistics> pairs;

  // The active pair with the largest T among those with a test value, whether or not it
  // exceeds k; empty when no active pair has one.
  std::optional<std::size_t> suspect;

  // Round-off level of the residuals of this estimate (RoundOffLevel.h): a residual of an
  // active pair whose components lie within it is no misfit. Only meaningful for Success.
  RoundOffLevel roundOff;
  // Every active residual is round-off: the active pairs fit exactly (Success only).
  bool exactFit = false;

  // Critical values for the active pairs (f = 2 n_a - 6) and the switched-off pairs
  // (f = 2 n_a - 4); empty where that degree of freedom is not positive.
  std::optional<long double> criticalActive;
  std::optional<long double> criticalSwitchedOff;

  long long redundancy() const { return models::redundancy(model, static_cast<long long>(activeCount)); }
  // k and f of a pair's test: those of the active or of the switched-off pairs. Only
  // meaningful where the pair's test value is shown.
  double criticalOf(const PairStatistics& pair) const;
  int dofOf(const PairStatistics& pair) const { return testDof(pair.active); }
  // f of the test of an active or a switched-off pair (DegreesOfFreedom.h); not positive
  // where there are too few active pairs for that test.
  int testDof(bool pairActive) const;
  bool suspectIsOutlier() const { return suspect && pairs[*suspect].outlier; }
};

// Estimates from the active pairs and analyses all pairs. Pair i is oldPairs point i with
// newPairs point i, for i < n = the smaller point count, as "Parameter" pairs them.
// `active` holds one flag per pair; an empty vector means all pairs are active (as do
// flags missing at its end). With alpha outside 0 .. 1 no pair has statistics.
// The solver ends up exactly as runParameterEstimation leaves it for the active pairs
// alone (their observation matrix in pairing order, parameters, centroids, residuals, So),
// so that with all pairs active every figure is bit-identical to "Parameter".
// O(n) time and memory beyond the solver's own tables.
ControlPointAnalysis analyseControlPoints(const PointList& oldPairs, const PointList& newPairs,
                                          const std::vector<bool>& active, double alpha,
                                          kel::TKEL_Vovezorevarovaduvorir& solver,
                                          const toolkit::ProgressHandler& onProgress = {});

// The analysis of `model` for the active pairs: for Helmert exactly analyseControlPoints
// with a solver of its own, for the congruent and the affine model their estimate
// (models/ModelFit.h) and the same point test. Same arguments and record as there; the
// record's `transformation` and `centroid` hold the estimate. O(n) time and memory.
ControlPointAnalysis analyseModel(models::Model model, const PointList& oldPairs, const PointList& newPairs,
                                  const std::vector<bool>& active, double alpha,
                                  const toolkit::ProgressHandler& onProgress = {});

// The (1 - alpha) quantile of the F distribution with 2 and f degrees of freedom,
// (f/2)(alpha^(-2/f) - 1); f > 0 and 0 < alpha < 1.
long double criticalValue(double alpha, int dof);

}  // namespace analysis
