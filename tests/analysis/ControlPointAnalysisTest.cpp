// Tests of the control-point analysis against what it claims to shortcut: the "Parameter"
// run itself, and actual refits without each pair. Also the planted blunder, the critical
// values against tabulated F quantiles, and degenerate sets that must stay finite.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <random>
#include <vector>

#include "ControlPointAnalysis.h"
#include "ParameterRun.h"

namespace {

using analysis::AnalysisOutcome;
using Solver = kel::TKEL_Vovezorevarovaduvorir;

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
    const double rw = 3512000 + 1000 * uniform(), hw = 5803000 + 1000 * uniform();
    set.oldPoints.rw.push_back(rw);
    set.oldPoints.hw.push_back(hw);
    set.newPoints.rw.push_back(412.5 + 0.99998 * rw + 0.0021 * hw + 2 * noise * uniform());
    set.newPoints.hw.push_back(-86.25 + 0.99998 * hw - 0.0021 * rw + 2 * noise * uniform());
  }
  return set;
}

// The set as if pair `off` had never been in the files.
PairSet without(PairSet set, std::size_t off) {
  for (PointList* list : {&set.oldPoints, &set.newPoints}) {
    list->rw.erase(list->rw.begin() + static_cast<long>(off));
    list->hw.erase(list->hw.begin() + static_cast<long>(off));
  }
  return set;
}

std::vector<bool> allBut(std::size_t n, std::size_t off) {
  std::vector<bool> active(n, true);
  active[off] = false;
  return active;
}

analysis::ControlPointAnalysis analyse(const PairSet& set, const std::vector<bool>& active, Solver& solver) {
  return analysis::analyseControlPoints(set.oldPoints, set.newPoints, active, analysis::kDefaultAlpha, solver);
}

// Every figure the window shows of "Parameter", compared bit for bit.
void expectSameSolver(const Solver& s, const Solver& t) {
  EXPECT_TRUE(s.a == t.a && s.o == t.o && s.Xo == t.Xo && s.Yo == t.Yo && s.So == t.So);
  ASSERT_EQ(s.rows, t.rows);
  for (int j = 0; j < 4; ++j) EXPECT_EQ(s.centroid.row(j)[0], t.centroid.row(j)[0]);
  for (int i = 0; i < s.rows; ++i)
    EXPECT_TRUE(s.residual_rw(i) == t.residual_rw(i) && s.residual_hw(i) == t.residual_hw(i)) << i;
}

TEST(ControlPointAnalysis, AllActiveIsBitIdenticalToParameter) {
  const PairSet set = generated(9, 0.01);
  Solver expected;
  const compute::ParameterRun run = compute::runParameterEstimation(set.oldPoints, set.newPoints, expected);
  for (const std::vector<bool>& active : {std::vector<bool>{}, std::vector<bool>(9, true)}) {
    Solver solver;
    const analysis::ControlPointAnalysis result = analyse(set, active, solver);
    ASSERT_EQ(result.outcome, AnalysisOutcome::Success);
    expectSameSolver(solver, expected);
    EXPECT_TRUE(result.run.So == run.So && result.run.scale == run.scale && result.run.rotation == run.rotation);
    for (int i = 0; i < 9; ++i) EXPECT_TRUE(result.pairs[i].vRW() == expected.residual_rw(i) && result.pairs[i].vHW() == expected.residual_hw(i)) << i;
  }
}

// The gap of each active pair is the residual it gets from an actual refit without it, and
// So without the pair is that refit's So; switching the pair off gives exactly that refit.
TEST(ControlPointAnalysis, GapsAndSoWithoutThePairMatchActualRefits) {
  const PairSet set = generated(10, 0.02);
  Solver solver;
  const analysis::ControlPointAnalysis all = analyse(set, {}, solver);
  for (std::size_t i = 0; i < 10; ++i) {
    const PairSet rest = without(set, i);
    Solver refit;
    const double So = compute::runParameterEstimation(rest.oldPoints, rest.newPoints, refit).So;
    const long double rw = set.oldPoints.rw[i], hw = set.oldPoints.hw[i];
    const analysis::PairStatistics& pair = all.pairs[i];
    ASSERT_TRUE(pair.available) << i;
    EXPECT_NEAR(pair.gapRW(), set.newPoints.rw[i] - refit.transform_rw(rw, hw), 1e-9) << i;
    EXPECT_NEAR(pair.gapHW(), set.newPoints.hw[i] - refit.transform_hw(rw, hw), 1e-9) << i;
    const long double vv = pair.vRW() * pair.vRW() + pair.vHW() * pair.vHW();
    EXPECT_NEAR(std::sqrt(vv / (2 * pair.r * pair.T)), So, 1e-9 * So) << i;

    Solver switchedOff;
    const analysis::ControlPointAnalysis off = analyse(set, allBut(10, i), switchedOff);
    expectSameSolver(switchedOff, refit);
    EXPECT_NEAR(off.pairs[i].gapRW(), pair.gapRW(), 1e-9) << i;
  }
}

TEST(ControlPointAnalysis, PlantedBlunderIsTheOnlyOutlierActiveOrSwitchedOff) {
  PairSet set = generated(8, 0.002, 11);
  set.newPoints.rw[4] += 0.03;
  set.newPoints.hw[4] -= 0.02;
  for (const std::vector<bool>& active : {std::vector<bool>{}, allBut(8, 4)}) {
    Solver solver;
    const analysis::ControlPointAnalysis result = analyse(set, active, solver);
    for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(result.pairs.at(i).outlier, i == 4) << i;
    EXPECT_EQ(result.suspect == 4u, active.empty());
  }
}

TEST(ControlPointAnalysis, CriticalValuesAreTabulatedFQuantiles) {
  const struct {
    int dof;
    double alpha, quantile;
  } table[] = {{8, 0.001, 18.49}, {10, 0.05, 4.10}, {2, 0.05, 19.00}, {20, 0.01, 5.85}, {120, 0.05, 3.07}};
  for (const auto& row : table) EXPECT_NEAR(analysis::criticalValue(row.alpha, row.dof), row.quantile, 0.005);
}

// Degenerate sets give "not available" and zeros, never NaN or infinities.
TEST(ControlPointAnalysis, DegenerateSetsStayFinite) {
  PairSet far = generated(6, 0.01);
  far.oldPoints.rw[5] = 1e9;  // r of this pair about 1e-12
  const PairSet spot{{{}, {1, 1, 1, 1}, {2, 2, 2, 2}}, {{}, {3, 4, 5, 6}, {7, 8, 9, 9}}};
  const PairSet three = generated(3, 0.01), four = generated(4, 0.01);
  const struct {
    const PairSet& set;
    std::vector<bool> active;
    AnalysisOutcome outcome;
    std::vector<bool> available;
  } cases[] = {
      {PairSet{}, {}, AnalysisOutcome::TooFewActive, {}},
      {three, {true, false, false}, AnalysisOutcome::TooFewActive, {}},
      {three, {true, false, true}, AnalysisOutcome::Success, {false, false, false}},
      {three, {}, AnalysisOutcome::Success, {false, false, false}},
      {four, {true, true, false, true}, AnalysisOutcome::Success, {false, false, true, false}},
      {spot, {}, AnalysisOutcome::PointsCoincide, {}},
      {far, {}, AnalysisOutcome::Success, {true, true, true, true, true, false}},
  };
  for (std::size_t c = 0; c < std::size(cases); ++c) {
    Solver solver;
    const analysis::ControlPointAnalysis result = analyse(cases[c].set, cases[c].active, solver);
    EXPECT_EQ(result.outcome, cases[c].outcome) << c;
    ASSERT_EQ(result.pairs.size(), cases[c].available.size()) << c;
    for (std::size_t i = 0; i < result.pairs.size(); ++i) {
      const analysis::PairStatistics& p = result.pairs[i];
      EXPECT_EQ(p.available, cases[c].available[i]) << c << " " << i;
      for (const long double value : std::initializer_list<long double>{p.vRW(), p.vHW(), p.gapRW(), p.gapHW(), p.T})
        EXPECT_TRUE(std::isfinite(value)) << c << " " << i;
      EXPECT_TRUE(p.available || p.T + p.r + p.gapRW() + p.gapHW() == 0) << c << " " << i;
    }
  }
}

}  // namespace
