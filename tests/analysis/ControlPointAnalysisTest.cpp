// Tests of the control-point analysis against what it claims to shortcut: the "Parameter"
// run itself, and actual refits without each pair. Also the planted blunder, the critical
// values against tabulated F quantiles, and degenerate sets that must stay finite.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "ControlPointAnalysis.h"
#include "Keltransformation.h"
#include "ParameterRun.h"
#include "PointList.h"

namespace {

using analysis::AnalysisOutcome;

struct PairSet {
  PointList oldPoints, newPoints;
};

// n pairs spread over about a kilometre in Gauß-Krüger-sized coordinates, related by a
// rotation and scale, the new points with uniform noise of +-noise metres.
PairSet generated(int n, double noise, std::uint32_t seed = 7) {
  std::mt19937 random(seed);
  auto uniform = [&] { return static_cast<double>(random()) / 4294967296.0 - 0.5; };
  PairSet set;
  for (int i = 0; i < n; ++i) {
    const double rw = 3512000 + 1000 * uniform();
    const double hw = 5803000 + 1000 * uniform();
    set.oldPoints.names.push_back("P" + std::to_string(i + 1));
    set.oldPoints.rw.push_back(rw);
    set.oldPoints.hw.push_back(hw);
    set.newPoints.rw.push_back(412.5 + 0.99998 * rw + 0.0021 * hw + 2 * noise * uniform());
    set.newPoints.hw.push_back(-86.25 + 0.99998 * hw - 0.0021 * rw + 2 * noise * uniform());
  }
  return set;
}

std::vector<bool> allBut(std::size_t n, std::size_t off) {
  std::vector<bool> active(n, true);
  active[off] = false;
  return active;
}

analysis::ControlPointAnalysis analyse(const PairSet& set, const std::vector<bool>& active,
                                       kel::TKEL_Vovezorevarovaduvorir& solver) {
  return analysis::analyseControlPoints(set.oldPoints, set.newPoints, active, analysis::kDefaultAlpha, solver);
}

// Every figure the window shows of "Parameter", compared bit for bit.
void expectSameSolver(const kel::TKEL_Vovezorevarovaduvorir& s, const kel::TKEL_Vovezorevarovaduvorir& t) {
  EXPECT_EQ(s.a, t.a);
  EXPECT_EQ(s.o, t.o);
  EXPECT_EQ(s.Xo, t.Xo);
  EXPECT_EQ(s.Yo, t.Yo);
  EXPECT_EQ(s.So, t.So);
  ASSERT_EQ(s.rows, t.rows);
  for (int j = 0; j < 4; ++j) EXPECT_EQ(s.centroid.row(j)[0], t.centroid.row(j)[0]);
  for (int i = 0; i < s.rows; ++i) {
    for (int j = 0; j < 4; ++j) EXPECT_EQ(s.row(i)[j], t.row(i)[j]);
    EXPECT_EQ(s.residual_rw(i), t.residual_rw(i));
    EXPECT_EQ(s.residual_hw(i), t.residual_hw(i));
  }
}

TEST(ControlPointAnalysis, AllActiveIsBitIdenticalToParameter) {
  const PairSet set = generated(9, 0.01);
  kel::TKEL_Vovezorevarovaduvorir expected;
  const compute::ParameterRun run = compute::runParameterEstimation(set.oldPoints, set.newPoints, expected);
  for (const std::vector<bool>& active : {std::vector<bool>{}, std::vector<bool>(9, true)}) {
    kel::TKEL_Vovezorevarovaduvorir solver;
    const analysis::ControlPointAnalysis result = analyse(set, active, solver);
    ASSERT_EQ(result.outcome, AnalysisOutcome::Success);
    expectSameSolver(solver, expected);
    EXPECT_EQ(result.run.So, run.So);
    EXPECT_EQ(result.run.scale, run.scale);
    EXPECT_EQ(result.run.rotation, run.rotation);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(result.pairs[i].vRW, expected.residual_rw(i));
  }
}

// The gap of each active pair is the residual it gets from an actual refit without it, and
// So without the pair is that refit's So; switching the pair off gives exactly that refit.
TEST(ControlPointAnalysis, GapsAndSoWithoutThePairMatchActualRefits) {
  const PairSet set = generated(10, 0.02);
  kel::TKEL_Vovezorevarovaduvorir solver;
  const analysis::ControlPointAnalysis all = analyse(set, {}, solver);
  ASSERT_EQ(all.outcome, AnalysisOutcome::Success);
  for (std::size_t i = 0; i < 10; ++i) {
    PairSet others;
    for (std::size_t j = 0; j < 10; ++j) {
      if (j == i) continue;
      others.oldPoints.rw.push_back(set.oldPoints.rw[j]);
      others.oldPoints.hw.push_back(set.oldPoints.hw[j]);
      others.newPoints.rw.push_back(set.newPoints.rw[j]);
      others.newPoints.hw.push_back(set.newPoints.hw[j]);
    }
    kel::TKEL_Vovezorevarovaduvorir refit;
    const compute::ParameterRun run = compute::runParameterEstimation(others.oldPoints, others.newPoints, refit);
    const long double refitRW = set.newPoints.rw[i] - refit.transform_rw(set.oldPoints.rw[i], set.oldPoints.hw[i]);
    const long double refitHW = set.newPoints.hw[i] - refit.transform_hw(set.oldPoints.rw[i], set.oldPoints.hw[i]);

    const analysis::PairStatistics& pair = all.pairs[i];
    ASSERT_TRUE(pair.available) << i;
    EXPECT_NEAR(pair.gapRW, refitRW, 1e-9) << i;
    EXPECT_NEAR(pair.gapHW, refitHW, 1e-9) << i;
    const long double vv = pair.vRW * pair.vRW + pair.vHW * pair.vHW;
    EXPECT_NEAR(std::sqrt(vv / (2 * pair.r * pair.T)), run.So, 1e-9 * run.So) << i;

    kel::TKEL_Vovezorevarovaduvorir without;
    const analysis::ControlPointAnalysis off = analyse(set, allBut(10, i), without);
    expectSameSolver(without, refit);
    EXPECT_EQ(off.activeCount, 9u);
    EXPECT_FALSE(off.pairs[i].active);
    EXPECT_NEAR(off.pairs[i].vRW, refitRW, 1e-9) << i;
    EXPECT_NEAR(off.pairs[i].gapHW, refitHW, 1e-9) << i;
  }
}

TEST(ControlPointAnalysis, PlantedBlunderIsTheOnlyOutlierActiveOrSwitchedOff) {
  PairSet set = generated(8, 0.002, 11);
  set.newPoints.rw[4] += 0.03;
  set.newPoints.hw[4] -= 0.02;
  for (const std::vector<bool>& active : {std::vector<bool>{}, allBut(8, 4)}) {
    kel::TKEL_Vovezorevarovaduvorir solver;
    const analysis::ControlPointAnalysis result = analyse(set, active, solver);
    ASSERT_EQ(result.outcome, AnalysisOutcome::Success);
    for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(result.pairs[i].outlier, i == 4) << i;
    EXPECT_EQ(result.suspect == 4u, active.empty());
  }
}

TEST(ControlPointAnalysis, CriticalValuesAreTabulatedFQuantiles) {
  const struct {
    int dof;
    double alpha;
    double quantile;
  } table[] = {{8, 0.001, 18.49}, {10, 0.05, 4.10}, {2, 0.05, 19.00}, {20, 0.01, 5.85}, {120, 0.05, 3.07}};
  for (const auto& row : table)
    EXPECT_NEAR(analysis::criticalValue(row.alpha, row.dof), row.quantile, 0.005) << row.dof << " " << row.alpha;
}

// Degenerate sets give "not available" and zeros, never NaN or infinities.
TEST(ControlPointAnalysis, DegenerateSetsStayFinite) {
  PairSet far = generated(6, 0.01);
  for (std::size_t i = 0; i < 5; ++i) {  // five pairs within a metre, one 100 km away
    far.oldPoints.rw[i] = 3512000 + 0.2 * i;
    far.newPoints.rw[i] = far.oldPoints.rw[i] + 5 + 0.003 * (i % 2);
    far.oldPoints.hw[i] = 5803000 + 0.1 * (i * i % 3);
    far.newPoints.hw[i] = far.oldPoints.hw[i] - 3 + 0.002 * (i % 3);
  }
  far.oldPoints.rw[5] = 3612000;
  const PairSet spot{{{}, {1, 1, 1, 1}, {2, 2, 2, 2}}, {{}, {3, 4, 5, 6}, {7, 8, 9, 9}}};
  const struct {
    const char* what;
    PairSet set;
    std::vector<bool> active;
    AnalysisOutcome outcome;
    std::vector<bool> available;
  } cases[] = {
      {"no pairs", {}, {}, AnalysisOutcome::TooFewActive, {}},
      {"one active", generated(3, 0.01), {true, false, false}, AnalysisOutcome::TooFewActive, {}},
      {"two active", generated(3, 0.01), {true, false, true}, AnalysisOutcome::Success, {false, false, false}},
      {"three active", generated(3, 0.01), {}, AnalysisOutcome::Success, {false, false, false}},
      {"three active, a check point", generated(4, 0.01), {true, true, false, true}, AnalysisOutcome::Success,
       {false, false, true, false}},
      {"all on one spot", spot, {}, AnalysisOutcome::PointsCoincide, {}},
      {"one pair far away", far, {}, AnalysisOutcome::Success, {true, true, true, true, true, false}},
  };
  for (const auto& c : cases) {
    kel::TKEL_Vovezorevarovaduvorir solver;
    const analysis::ControlPointAnalysis result = analyse(c.set, c.active, solver);
    EXPECT_EQ(result.outcome, c.outcome) << c.what;
    ASSERT_EQ(result.pairs.size(), c.available.size()) << c.what;
    for (std::size_t i = 0; i < result.pairs.size(); ++i) {
      const analysis::PairStatistics& p = result.pairs[i];
      EXPECT_EQ(p.available, c.available[i]) << c.what << " " << i;
      for (long double value : {p.vRW, p.vHW, p.gapRW, p.gapHW, p.r, p.T, p.critical})
        EXPECT_TRUE(std::isfinite(value)) << c.what << " " << i;
      EXPECT_TRUE(p.available || p.T + p.r + p.gapRW + p.gapHW + p.critical == 0) << c.what << " " << i;
    }
  }
}

}  // namespace
