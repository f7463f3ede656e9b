// The point test of one pair, given what the estimate says about it: which of r, the gap
// and T are defined, T itself, and whether the pair is an outlier. One rule for every
// model; each model only supplies its own redundancy share, gap and drop of the sum of
// squares (ControlPointAnalysis.h gives the formulas, RoundOffLevel.h the round-off rule).
#pragma once

#include "ControlPointAnalysis.h"
#include "RoundOffLevel.h"

#include <cstddef>

namespace analysis {

// What the test of every pair of one estimate shares.
struct PairTestContext {
  std::size_t activeCount = 0;
  // Critical values as double (as shown), and whether each exists.
  bool testActive = false;
  bool testSwitchedOff = false;
  double criticalActive = 0;
  double criticalSwitchedOff = 0;
  int fActive = 0;       // degrees of freedom of the test of an active pair
  int fSwitchedOff = 0;  // and of a switched-off pair (the estimate's redundancy)
  double omega = 0;      // sum of the squared residuals of the active pairs
  double variance = 0;   // So^2 = omega / fSwitchedOff; 0 where that is not positive
  bool soIsZero = true;  // omega is zero in the round-off sense
  RoundOffLevel roundOff;

  // Fills everything but the residuals from the estimate's figures.
  static PairTestContext of(const ControlPointAnalysis& analysis, int fActive, int fSwitchedOff,
                            long double omega, RoundOffLevel roundOff);
};

// An active pair with redundancy share r, the smaller eigenvalue of its Q block (for
// Helmert and affine r itself), gap (gapRW, gapHW), squared residual length vv and `fall`,
// the amount by which the sum of squares falls when the pair is left out (v' Q^-1 v; for
// Helmert |v|^2 / r). The residual must already be set.
void setActivePair(PairStatistics& pair, const PairTestContext& context, double r, double smallestShare,
                   double gapRW, double gapHW, double vv, double fall);

// A switched-off pair (a check point) with squared residual length vv, tested with
// T = weighted / (2 cofactor So^2) (for Helmert weighted = vv, cofactor = 1 + h); `own` is
// the round-off level of its residual. Its gap is its residual.
void setCheckPoint(PairStatistics& pair, const PairTestContext& context, double vv, double weighted,
                   double cofactor, const RoundOffLevel& own);

// The critical values of the analysis for tests with fActive and fSwitchedOff degrees of
// freedom, where those are positive and alpha lies within 0 .. 1.
void setCriticalValues(ControlPointAnalysis& analysis, int fActive, int fSwitchedOff);

// Fills analysis.pairs with statisticsOf(i) for every pair i, in one pass and without
// zeroing the table first (it is large for large files), and names the suspect: the
// active pair with the largest test value.
template <class StatisticsOf>
void fillPairs(ControlPointAnalysis& analysis, StatisticsOf statisticsOf) {
  analysis.pairs.reserve(analysis.pairCount);
  double largest = -1;
  for (std::size_t i = 0; i < analysis.pairCount; ++i) {
    const PairStatistics& pair = analysis.pairs.emplace_back(statisticsOf(i));
    if (pair.active && pair.testShown && pair.T > largest) {
      largest = pair.T;
      analysis.suspect = i;
    }
  }
}

}  // namespace analysis
