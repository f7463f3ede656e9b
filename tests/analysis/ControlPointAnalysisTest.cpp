// Tests of the control-point analysis against what it claims to shortcut: the "Parameter"
// run itself, and actual refits without each pair. Also the planted blunder, the critical
// values against tabulated F quantiles, and degenerate sets that must stay finite.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <random>
#include <string>
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
    ASSERT_TRUE(pair.gapShown && pair.testShown) << i;
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

// Degenerate sets give "not available" and zeros, never NaN or infinities; each figure
// that is defined is shown (r from two active pairs on, the gap where r is not zero, T
// where the test has degrees of freedom).
TEST(ControlPointAnalysis, DegenerateSetsStayFinite) {
  PairSet far = generated(6, 0.01);
  far.oldPoints.rw[5] = 1e9;  // r of this pair about 1e-12
  const PairSet spot{{{}, {1, 1, 1, 1}, {2, 2, 2, 2}}, {{}, {3, 4, 5, 6}, {7, 8, 9, 9}}};
  const PairSet three = generated(3, 0.01), four = generated(4, 0.01);
  // Per pair: r, gap, T shown ("rgT", "-" where not), as the table cells of PairCells.h.
  const struct {
    const char* name;
    const PairSet& set;
    std::vector<bool> active;
    AnalysisOutcome outcome;
    std::vector<std::string> shown;
  } cases[] = {
      {"no pairs", PairSet{}, {}, AnalysisOutcome::TooFewActive, {}},
      {"one active", three, {true, false, false}, AnalysisOutcome::TooFewActive, {}},
      {"two active, one check point", three, {true, false, true}, AnalysisOutcome::Success, {"r--", "-g-", "r--"}},
      {"three active", three, {}, AnalysisOutcome::Success, {"rg-", "rg-", "rg-"}},
      {"three active, one check point", four, {true, true, false, true}, AnalysisOutcome::Success, {"rg-", "rg-", "-gT", "rg-"}},
      {"old points on one spot", spot, {}, AnalysisOutcome::PointsCoincide, {}},
      {"one pair far off", far, {}, AnalysisOutcome::Success, {"rgT", "rgT", "rgT", "rgT", "rgT", "r--"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Solver solver;
    const analysis::ControlPointAnalysis result = analyse(c.set, c.active, solver);
    EXPECT_EQ(result.outcome, c.outcome);
    ASSERT_EQ(result.pairs.size(), c.shown.size());
    for (std::size_t i = 0; i < result.pairs.size(); ++i) {
      const analysis::PairStatistics& p = result.pairs[i];
      const std::string shown = std::string(p.shareShown ? "r" : "-") + (p.gapShown ? "g" : "-") + (p.testShown ? "T" : "-");
      EXPECT_EQ(shown, c.shown[i]) << i;
      for (const long double value : std::initializer_list<long double>{p.vRW(), p.vHW(), p.gapRW(), p.gapHW(), p.T, p.r})
        EXPECT_TRUE(std::isfinite(value)) << i;
      EXPECT_TRUE(p.shareShown || p.r == 0) << i;
      EXPECT_TRUE(p.gapShown || p.gapRW() + p.gapHW() == 0) << i;
      EXPECT_TRUE(p.testShown || (p.T == 0 && !p.outlier)) << i;
    }
  }
}

// The figures of three active pairs: r depends on the geometry alone (shares of 0.022,
// 0.411 and 0.567, which add up to the redundancy 2n - 4 = 2 over two coordinates), and
// the gap is the residual of the two-pair fit of the others; only T has no degrees of
// freedom. With two active pairs r is 0 for both, and a check point's gap is its residual.
// Guards against r and gaps read as "–" for fewer than four active pairs.
TEST(ControlPointAnalysis, ThreeAndTwoActivePairsShowTheirSharesAndGaps) {
  // Positions about the centroid with d_i^2 / N = 2/3 - r_i (N = sum d^2), from the shares.
  const double shares[3] = {0.022, 0.411, 0.567};
  const double scale = 300;  // metres
  double d[3];
  for (int i = 0; i < 3; ++i) d[i] = scale * std::sqrt(2.0 / 3 - shares[i]);
  const double cosine = (d[2] * d[2] - d[0] * d[0] - d[1] * d[1]) / (2 * d[0] * d[1]);
  const double p[3][2] = {{d[0], 0},
                          {d[1] * cosine, d[1] * std::sqrt(1 - cosine * cosine)},
                          {-d[0] - d[1] * cosine, -d[1] * std::sqrt(1 - cosine * cosine)}};
  PairSet set;
  const double misfit[3][2] = {{0.004, -0.003}, {-0.002, 0.005}, {0.001, 0.002}};
  for (int i = 0; i < 3; ++i) {
    const double rw = 3512000 + p[i][0], hw = 5803000 + p[i][1];
    set.oldPoints.rw.push_back(rw);
    set.oldPoints.hw.push_back(hw);
    set.newPoints.rw.push_back(412.5 + 0.99998 * rw + 0.0021 * hw + misfit[i][0]);
    set.newPoints.hw.push_back(-86.25 + 0.99998 * hw - 0.0021 * rw + misfit[i][1]);
  }
  Solver solver;
  const analysis::ControlPointAnalysis result = analyse(set, {}, solver);
  ASSERT_EQ(result.outcome, AnalysisOutcome::Success);
  for (std::size_t i = 0; i < 3; ++i) {
    const analysis::PairStatistics& pair = result.pairs[i];
    ASSERT_TRUE(pair.shareShown && pair.gapShown) << i;
    EXPECT_FALSE(pair.testShown) << i;
    EXPECT_NEAR(pair.r, shares[i], 1e-12) << i;
    const PairSet rest = without(set, i);
    Solver refit;
    compute::runParameterEstimation(rest.oldPoints, rest.newPoints, refit);
    const long double rw = set.oldPoints.rw[i], hw = set.oldPoints.hw[i];
    EXPECT_NEAR(pair.gapRW(), set.newPoints.rw[i] - refit.transform_rw(rw, hw), 1e-9) << i;
    EXPECT_NEAR(pair.gapHW(), set.newPoints.hw[i] - refit.transform_hw(rw, hw), 1e-9) << i;
  }

  Solver two;
  const analysis::ControlPointAnalysis pairOfTwo = analyse(set, {true, false, true}, two);
  const analysis::PairStatistics& check = pairOfTwo.pairs[1];
  ASSERT_TRUE(check.gapShown && !check.testShown);
  EXPECT_EQ(check.gapRW(), static_cast<double>(check.vRW()));
  EXPECT_EQ(check.gapHW(), static_cast<double>(check.vHW()));
  for (const std::size_t i : {0u, 2u}) {
    EXPECT_TRUE(pairOfTwo.pairs[i].shareShown && !pairOfTwo.pairs[i].gapShown) << i;
    EXPECT_NEAR(pairOfTwo.pairs[i].r, 0, 1e-12) << i;
  }
}

// The six pairs of the fault report: the new points are the old ones shifted by
// (100, 200), except that pair 3's rw is 0.05 off; scaled by `scale` and moved by `offset`
// in both systems. The five others fit exactly, so So without pair 3 is zero.
PairSet sixPairs(double scale, double offset) {
  const double old[6][2] = {{41, 19}, {50, 83}, {6, 9}, {68, 12}, {46, 74}, {7, 64}};
  PairSet set;
  for (int i = 0; i < 6; ++i) {
    const double rw = offset + scale * old[i][0], hw = offset + scale * old[i][1];
    set.oldPoints.rw.push_back(rw);
    set.oldPoints.hw.push_back(hw);
    set.newPoints.rw.push_back(rw + scale * (100 + (i == 2 ? 0.05 : 0)));
    set.newPoints.hw.push_back(hw + scale * 200);
  }
  return set;
}

// Six collinear pairs in the same way.
PairSet collinearPairs() {
  PairSet set;
  for (int i = 1; i <= 6; ++i) {
    set.oldPoints.rw.push_back(10.0 * i);
    set.oldPoints.hw.push_back(20.0 * i + 5);
    set.newPoints.rw.push_back(10.0 * i + 100 + (i == 3 ? 0.05 : 0));
    set.newPoints.hw.push_back(20.0 * i + 205);
  }
  return set;
}

// Twelve pairs related by a rotation, a scale and a shift, computed in double: they fit
// exactly up to the rounding of the new coordinates; with `noise` a tenth of a millimetre
// of misfit each.
PairSet twelvePairs(double base, double noise) {
  PairSet set;
  const double a = 0.99998712345, o = 0.00012345678;
  for (int i = 0; i < 12; ++i) {
    const double rw = base + 37.0 * i + 0.125 * i * i, hw = base + 400.0 - 29.0 * i + 3.0 * (i % 4);
    set.oldPoints.rw.push_back(rw);
    set.oldPoints.hw.push_back(hw);
    set.newPoints.rw.push_back(-123.456 + a * rw + o * hw + noise * ((i % 3) - 1));
    set.newPoints.hw.push_back(987.654 + a * hw - o * rw + noise * ((i % 5) - 2) / 2);
  }
  return set;
}

// Guards against a blunder hidden when the other pairs fit exactly: So without the pair is
// zero, which was taken for round-off of the pair's own test, so its row read "–" and the
// verdict "Kein Punkt ist ausreißerverdächtig". Round-off is now judged against the size of
// the coordinates, at magnitudes of 1, 100, 1e6 and 1e9; the pair is the suspect with
// T = ∞. Exactly fitting pairs are not tested at all, with or without rotation.
TEST(ControlPointAnalysis, RoundOffIsJudgedAgainstTheSizeOfTheCoordinates) {
  const std::vector<bool> all;
  const std::vector<bool> thirdOff = allBut(6, 2);
  const struct {
    const char* name;
    PairSet set;
    const std::vector<bool>& active;
    std::optional<std::size_t> infinite;  // the pair with T = ∞, the only outlier
    bool exactFit;
  } cases[] = {
      {"magnitude 1", sixPairs(0.01, 0), all, 2, false},
      {"magnitude 100", sixPairs(1, 0), all, 2, false},
      {"magnitude 1e6", sixPairs(1, 1e6), all, 2, false},
      {"magnitude 1e9", sixPairs(1, 1e9), all, 2, false},
      {"collinear", collinearPairs(), all, 2, false},
      {"blunder switched off, magnitude 100", sixPairs(1, 0), thirdOff, 2, true},
      {"blunder switched off, magnitude 1e9", sixPairs(1, 1e9), thirdOff, 2, true},
      {"twelve exact pairs, 1e3", twelvePairs(1e3, 0), all, std::nullopt, true},
      {"twelve exact pairs, 1e6", twelvePairs(5.4e6, 0), all, std::nullopt, true},
      {"twelve exact pairs, 1e9", twelvePairs(1e9, 0), all, std::nullopt, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Solver solver;
    const analysis::ControlPointAnalysis result = analyse(c.set, c.active, solver);
    ASSERT_EQ(result.outcome, AnalysisOutcome::Success);
    EXPECT_EQ(result.exactFit, c.exactFit);
    for (std::size_t i = 0; i < result.pairs.size(); ++i) {
      const analysis::PairStatistics& pair = result.pairs[i];
      const bool infinite = c.infinite == i;
      EXPECT_EQ(pair.testIsInfinite(), infinite) << i;
      EXPECT_EQ(pair.outlier, infinite) << i;
      // Pairs that fit exactly with the others have no test; where a misfit is left in the
      // estimate, every active pair has a finite one.
      EXPECT_EQ(pair.testShown, infinite || (!c.exactFit && pair.active)) << i;
      EXPECT_TRUE(pair.shareShown == pair.active && pair.gapShown) << i;
    }
    EXPECT_EQ(result.suspect, c.active.empty() ? c.infinite : std::nullopt);
  }
}

// The other side of the rule: a tenth of a millimetre of misfit is no round-off, even at
// Gauß-Krüger magnitudes, and every pair gets a finite test value.
TEST(ControlPointAnalysis, TenthsOfAMillimetreAreAMisfit) {
  constexpr double kTenthMillimetre = 1e-4;
  for (const double base : {1e3, 5.4e6}) {
    Solver solver;
    const analysis::ControlPointAnalysis result = analyse(twelvePairs(base, kTenthMillimetre), {}, solver);
    EXPECT_FALSE(result.exactFit) << base;
    ASSERT_TRUE(result.suspect.has_value()) << base;
    for (const analysis::PairStatistics& pair : result.pairs)
      EXPECT_TRUE(pair.testShown && std::isfinite(pair.T) && !pair.outlier) << base;
  }
}

}  // namespace
