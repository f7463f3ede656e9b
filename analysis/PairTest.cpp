// The point test's rules for one pair, shared by every model.
#include "PairTest.h"

#include <cmath>

namespace analysis {

namespace {

// Below this a redundancy share counts as zero: the pair alone fixes its own fit, and its
// gap v / r would only magnify round-off.
constexpr double kSmallestShare = 1e-9;

// Sets T and the outlier flag, or leaves the test undefined when T came out NaN.
void setTest(PairStatistics& pair, double T, double critical) {
  if (std::isnan(T)) return;
  pair.T = T;
  pair.testShown = true;
  pair.outlier = T > critical;  // as shown
}

}  // namespace

PairTestContext PairTestContext::of(const ControlPointAnalysis& analysis, int fActive, int fSwitchedOff,
                                    long double omega, RoundOffLevel roundOff) {
  PairTestContext context;
  context.activeCount = analysis.activeCount;
  context.testActive = analysis.criticalActive.has_value();
  context.testSwitchedOff = analysis.criticalSwitchedOff.has_value();
  context.criticalActive = static_cast<double>(analysis.criticalActive.value_or(0));
  context.criticalSwitchedOff = static_cast<double>(analysis.criticalSwitchedOff.value_or(0));
  context.fActive = fActive;
  context.fSwitchedOff = fSwitchedOff;
  context.omega = static_cast<double>(omega);
  context.variance = fSwitchedOff > 0 ? static_cast<double>(omega / fSwitchedOff) : 0;
  context.roundOff = roundOff;
  context.soIsZero = roundOff.isZeroSum(context.omega, analysis.activeCount);
  return context;
}

void setActivePair(PairStatistics& pair, const PairTestContext& context, double r, double smallestShare,
                   double gapRW, double gapHW, double vv, double fall) {
  pair.r = r;
  pair.shareShown = true;
  if (!(smallestShare > kSmallestShare) || !std::isfinite(gapRW) || !std::isfinite(gapHW)) return;
  pair.setGap(gapRW, gapHW);
  if (!context.testActive || !std::isfinite(fall)) return;
  // The sum of squares of the other pairs' refit, and whether they fit exactly.
  const double sumWithout = context.omega - fall;
  if (!context.roundOff.isZeroDifference(sumWithout, context.omega, context.activeCount - 1,
                                         std::sqrt(gapRW * gapRW + gapHW * gapHW)))
    setTest(pair, fall * context.fActive / (2 * sumWithout), context.criticalActive);
  else if (!context.roundOff.isRoundOff(vv))
    setTest(pair, PairStatistics::kInfiniteTest, context.criticalActive);
}

void setCheckPoint(PairStatistics& pair, const PairTestContext& context, double vv, double weighted,
                   double cofactor, const RoundOffLevel& own) {
  const double vRW = static_cast<double>(pair.vRW()), vHW = static_cast<double>(pair.vHW());
  if (!std::isfinite(vRW) || !std::isfinite(vHW)) return;
  pair.setGap(vRW, vHW);
  if (!context.testSwitchedOff) return;
  if (!context.soIsZero)
    setTest(pair, weighted / (2 * cofactor * context.variance), context.criticalSwitchedOff);
  else if (!own.isRoundOff(vv))
    setTest(pair, PairStatistics::kInfiniteTest, context.criticalSwitchedOff);
}

void setCriticalValues(ControlPointAnalysis& analysis, int fActive, int fSwitchedOff) {
  // No point test at all for a significance level outside 0 .. 1.
  const double alpha = analysis.alpha;
  if (!(alpha > 0 && alpha < 1)) return;
  if (fActive > 0) analysis.criticalActive = criticalValue(alpha, fActive);
  if (fSwitchedOff > 0) analysis.criticalSwitchedOff = criticalValue(alpha, fSwitchedOff);
}

}  // namespace analysis
