// Tests of the parameter run below the window: what an empty list leaves alone, pairing
// by position, scale and rotation from a and o, the precision of each kind of text, and
// the rows of the residual grid.
// The worked example's texts and the failed runs are checked through the window.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "Keltransformation.h"
#include "ParameterRun.h"
#include "PointList.h"
#include "ResidualGridRows.h"

namespace {

using compute::ParameterOutcome;

PointList points(std::vector<double> rw, std::vector<double> hw) { return {{}, std::move(rw), std::move(hw)}; }

PointList workedOld() { return points({0, 10, 0}, {0, 0, 10}); }
PointList workedNew() { return points({100, 110, 100}, {200, 200, 210.03}); }

TEST(ParameterRun, EmptyInputLeavesTheSolverUntouched) {
  const std::pair<PointList, PointList> cases[] = {
      {PointList{}, workedNew()}, {workedOld(), PointList{}}, {workedOld(), points({100, 110, 100}, {})}};
  for (const auto& [oldPoints, newPoints] : cases) {
    kel::TKEL_Vovezorevarovaduvorir solver;
    ASSERT_EQ(compute::runParameterEstimation(workedOld(), workedNew(), solver).outcome, ParameterOutcome::Success);
    const long double a = solver.a;
    EXPECT_EQ(compute::runParameterEstimation(oldPoints, newPoints, solver).outcome, ParameterOutcome::EmptyInput);
    EXPECT_EQ(solver.rows, 3);
    EXPECT_EQ(solver.a, a);
  }
}

TEST(ParameterRun, PairsTheFirstPointsByPositionNotByName) {
  const PointList oldPoints{{"A", "B", "C", "D", "E"}, {0.1, 10, 0, 55, 66}, {0.2, 0, 10, 77, 88}};
  const PointList newPoints{{"E", "D", "C"}, workedNew().rw, workedNew().hw};
  kel::TKEL_Vovezorevarovaduvorir solver;
  EXPECT_EQ(compute::runParameterEstimation(oldPoints, newPoints, solver).pointCount, 3);
  ASSERT_EQ(solver.rows, 3);
  // Each double is widened, not re-read: 0.1 stays the double nearest to 0.1.
  EXPECT_EQ(solver.row(0)[0], static_cast<long double>(0.1));
  EXPECT_EQ(solver.row(2)[2], 100.0L);
  EXPECT_EQ(solver.row(2)[3], static_cast<long double>(210.03));
}

// d = atan2(o, a) in gon, not atan2(a, o), between -200 and +200; when all new points
// coincide a = o = 0 and both m and d are 0.
TEST(ParameterRun, ScaleAndRotation) {
  const std::tuple<const char*, PointList, double, double> cases[] = {
      {"quarter turn clockwise", points({0, 0}, {0, -1}), 1, 100},
      {"quarter turn anticlockwise", points({0, 0}, {0, 1}), 1, -100},
      {"all new points coincide", points({7, 7}, {8, 8}), 0, 0},
  };
  for (const auto& [what, newPoints, scale, rotationGon] : cases) {
    kel::TKEL_Vovezorevarovaduvorir solver;
    const compute::ParameterRun run = compute::runParameterEstimation(points({0, 1}, {0, 0}), newPoints, solver);
    ASSERT_EQ(run.outcome, ParameterOutcome::Success) << what;
    EXPECT_NEAR(run.scale, scale, 1e-12) << what;
    EXPECT_NEAR(run.rotation, rotationGon, 1e-12) << what;
  }
}

// Values with more digits than their label shows: Xo, Yo and the centroids keep 11
// significant digits and 4 decimals, a, o, m and d 11 and 10, So and the residuals 10 and 4.
TEST(ParameterRun, EachTextKindHasItsPrecisionAndDecimals) {
  kel::TKEL_Vovezorevarovaduvorir solver;
  solver.Xo = 5512345.67891L, solver.Yo = -4512345.67891L;
  solver.a = 12.345678901234L, solver.o = -0.00012345678901234L;
  solver.centroid.resize(4, 1);
  for (int k = 0; k < 4; ++k) solver.centroid.row(k)[0] = 4512345.67891L + k;
  const compute::ParameterRun run{ParameterOutcome::Success, 3, 1.23456789012345, -199.99999999999, 1234567.12346};

  const compute::ParameterTexts t = compute::parameterTexts(solver, run, ',');
  EXPECT_EQ(t.X + " " + t.Y + " " + t.a + " " + t.o + " " + t.m + " " + t.d + " " + t.So,
            "5512345,6789 -4512345,6789 12,3456789010 -0,0001234568 1,2345678901 -200,0000000000 1234567,1230");
  EXPECT_EQ(compute::residualText(-1234567.12346L, '.'), "-1234567.1230");
  const compute::CentroidTexts c = compute::centroidTexts(solver, '.');
  EXPECT_EQ(c.RWAS + " " + c.HWAS + " " + c.RWZS + " " + c.HWZS, "4512345.6789 4512346.6789 4512347.6789 4512348.6789");
}

// m of a and o whose squares leave the range of double. Guards against m = INF for a = o =
// 1e200 and m = 0 for a = 1e-200: hypot where the squares fail, and for every other value
// exactly the plain formula, whose last bit the window shows.
TEST(ParameterRun, ScaleStaysFiniteWhereItsSquareDoesNot) {
  const struct {
    double a, o, scale;
  } extremes[] = {
      {1e200, 1e200, 1.4142135623730951e200},
      {-3e160, 4e160, 5e160},
      {1e-200, 0, 1e-200},
      {0, -2.5e-170, 2.5e-170},
  };
  for (const auto& c : extremes) {
    EXPECT_NEAR(compute::scaleAndRotation(c.a, c.o).scale / c.scale, 1, 1e-15) << c.a << " " << c.o;
  }
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> ordinary(-2.0, 2.0);
  for (int i = 0; i < 10000; ++i) {
    const double a = ordinary(random), o = ordinary(random) * 1e-3;
    EXPECT_EQ(compute::scaleAndRotation(a, o).scale, std::sqrt(a * a + o * o)) << a << " " << o;
  }
}

// Guards against infinite parameters reported as a successful run: old points 1e-300 apart
// and new ones 1e300 apart need a = 1e600, which no double holds.
TEST(ParameterRun, ParametersBeyondDoubleAreNotRepresentable) {
  kel::TKEL_Vovezorevarovaduvorir solver;
  const compute::ParameterRun run = compute::runParameterEstimation(
      points({0, 1e-300, 0}, {0, 0, 1e-300}), points({0, 1e300, 0}, {0, 0, 1e300}), solver);
  EXPECT_EQ(run.outcome, ParameterOutcome::NotRepresentable);
  EXPECT_EQ(run.pointCount, 3);

  const compute::ParameterRun huge = compute::runParameterEstimation(
      points({0, 1e200, 0}, {0, 0, 1e200}), points({0, 0.5e200, 0.25e200}, {0, -0.25e200, 0.5e200}), solver);
  EXPECT_EQ(huge.outcome, ParameterOutcome::Success);
  EXPECT_NEAR(huge.scale, std::hypot(0.5, 0.25), 1e-15);
}

// The solver's residual table as the grid's sums row reads it.
void setResiduals(kel::TKEL_Vovezorevarovaduvorir& solver, const std::vector<std::pair<double, double>>& rows) {
  solver.residuals.resize(static_cast<int>(rows.size()), 2);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    solver.residuals.row(static_cast<int>(i))[0] = rows[i].first;
    solver.residuals.row(static_cast<int>(i))[1] = rows[i].second;
  }
}

TEST(ResidualGridRows, PairRowsThenTheSumsOfTheActivePairs) {
  kel::TKEL_Vovezorevarovaduvorir solver;
  setResiduals(solver, {{0.00123, -0.0005}, {0.00177, 0.0008}});  // the two active pairs
  const compute::GridResidual pairs[] = {{0.00123L, -0.0005L, true}, {0.03L, -0.0421L, false}, {0.00177L, 0.0008L, true}};
  std::vector<std::string> cells;
  compute::residualGridRows(3, [&](std::size_t i) { return pairs[i]; }, solver, ',',
                            [&](std::string&& text) { cells.push_back(std::move(text)); });
  const std::vector<std::string> expected = {"1",       "0,0012", "-0,0005", "2 (aus)", "0,0300", "-0,0421",
                                             "3",       "0,0018", "0,0008",  "Summe",   "0,0030", "0,0003"};
  EXPECT_EQ(cells, expected);
}

TEST(ResidualGridRows, ProgressRisesAndACancelStopsBeforeTheSums) {
  kel::TKEL_Vovezorevarovaduvorir solver;
  setResiduals(solver, {{0, 0}});
  constexpr std::size_t kRows = 300000;
  auto pairAt = [](std::size_t) { return compute::GridResidual{}; };
  std::size_t cellCount = 0;
  std::vector<double> reported;
  compute::residualGridRows(kRows, pairAt, solver, '.', [&](std::string&&) { ++cellCount; },
                            [&](double done) { reported.push_back(done); });
  EXPECT_EQ(cellCount, 3 * (kRows + 1));
  ASSERT_FALSE(reported.empty());
  for (std::size_t i = 0; i < reported.size(); ++i) {
    EXPECT_GT(reported[i], i == 0 ? 0.0 : reported[i - 1]);
    EXPECT_LE(reported[i], 1.0);
  }

  // "Abbrechen" arrives as an exception out of the progress report; it must pass through.
  std::vector<std::string> cells;
  EXPECT_THROW(compute::residualGridRows(
                   kRows, pairAt, solver, '.', [&](std::string&& text) { cells.push_back(std::move(text)); },
                   [](double) { throw std::runtime_error("cancelled"); }),
               std::runtime_error);
  EXPECT_LT(cells.size(), 3 * kRows);
  EXPECT_TRUE(std::find(cells.begin(), cells.end(), "Summe") == cells.end());
}

}  // namespace
