// Tests of the parameter run: pairing of the point lists, the outcomes of the estimation,
// scale and rotation, and the texts of labels and residual grid.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Keltransformation.h"
#include "ParameterRun.h"
#include "PointList.h"

namespace {

using compute::ParameterOutcome;

PointList points(std::vector<double> rw, std::vector<double> hw) {
  PointList list;
  list.rw = std::move(rw);
  list.hw = std::move(hw);
  return list;
}

// Three control points; the new system is shifted, scaled by 1.0015 and turned slightly.
PointList workedOld() { return points({0, 10, 0}, {0, 0, 10}); }
PointList workedNew() { return points({100, 110, 100}, {200, 200, 210.03}); }

struct GridRow {
  std::string column0, column1, column2;
};

// The residual grid below its headings, as the window command fills it.
std::vector<GridRow> gridRows(const kel::TKEL_Vovezorevarovaduvorir& solver, int n, char sep) {
  std::vector<GridRow> rows;
  for (int i = 1; i <= n; ++i)
    rows.push_back({std::to_string(i), compute::residualText(solver.residual_rw(i - 1), sep),
                    compute::residualText(solver.residual_hw(i - 1), sep)});
  rows.push_back({compute::kSumRowText, compute::residualText(solver.residual_rw_sum(), sep),
                  compute::residualText(solver.residual_hw_sum(), sep)});
  return rows;
}

TEST(ParameterRun, WorkedExampleGivesPublishedTexts) {
  kel::TKEL_Vovezorevarovaduvorir solver;
  const compute::ParameterRun run =
      compute::runParameterEstimation(workedOld(), workedNew(), solver);
  ASSERT_EQ(run.outcome, ParameterOutcome::Success);
  EXPECT_EQ(run.pointCount, 3);

  const compute::CentroidTexts centroid = compute::centroidTexts(solver, ',');
  EXPECT_EQ(centroid.RWAS, "3,3333");
  EXPECT_EQ(centroid.HWAS, "3,3333");
  EXPECT_EQ(centroid.RWZS, "103,3333");
  EXPECT_EQ(centroid.HWZS, "203,3433");

  const compute::ParameterTexts texts = compute::parameterTexts(solver, run, ',');
  EXPECT_EQ(texts.X, "200,0075");
  EXPECT_EQ(texts.Y, "99,9925");
  EXPECT_EQ(texts.a, "1,0015000000");
  EXPECT_EQ(texts.o, "0,0007500000");
  EXPECT_EQ(texts.m, "1,0015002808");
  EXPECT_EQ(texts.d, "0,0476749616");
  EXPECT_EQ(texts.So, "0,0106");

  // Residuals that are zero up to rounding come out slightly negative in extended
  // precision; they must not show a minus sign.
  const std::vector<GridRow> rows = gridRows(solver, run.pointCount, ',');
  ASSERT_EQ(rows.size(), 4u);
  const GridRow expected[] = {{"1", "0,0075", "-0,0075"},
                              {"2", "-0,0075", "0,0000"},
                              {"3", "0,0000", "0,0075"},
                              {"Summe", "0,0000", "0,0000"}};
  for (std::size_t r = 0; r < rows.size(); ++r) {
    EXPECT_EQ(rows[r].column0, expected[r].column0) << "grid row " << r + 1;
    EXPECT_EQ(rows[r].column1, expected[r].column1) << "grid row " << r + 1;
    EXPECT_EQ(rows[r].column2, expected[r].column2) << "grid row " << r + 1;
  }
}

// Scale and rotation come from a and o in this order: atan2(o, a), not atan2(a, o).
TEST(ParameterRun, QuarterTurnGivesHundredGon) {
  kel::TKEL_Vovezorevarovaduvorir solver;
  const compute::ParameterRun run = compute::runParameterEstimation(
      points({0, 1}, {0, 0}), points({0, 0}, {0, -1}), solver);
  ASSERT_EQ(run.outcome, ParameterOutcome::Success);
  const compute::ParameterTexts texts = compute::parameterTexts(solver, run, ',');
  EXPECT_EQ(texts.m, "1,0000000000");
  EXPECT_EQ(texts.d, "100,0000000000");
  EXPECT_EQ(texts.a, "0,0000000000");
  EXPECT_EQ(texts.o, "1,0000000000");
}

struct EmptyCase {
  const char* name;
  PointList oldPoints;
  PointList newPoints;
};

TEST(ParameterRun, EmptyInputTouchesNothing) {
  const EmptyCase cases[] = {
      {"old system empty", PointList{}, workedNew()},
      {"new system empty", workedOld(), PointList{}},
      {"both empty", PointList{}, PointList{}},
      {"new hw empty", workedOld(), points({100, 110, 100}, {})},
  };
  for (const EmptyCase& c : cases) {
    kel::TKEL_Vovezorevarovaduvorir solver;
    ASSERT_EQ(compute::runParameterEstimation(workedOld(), workedNew(), solver).outcome,
              ParameterOutcome::Success);
    const long double previousA = solver.a;

    const compute::ParameterRun run =
        compute::runParameterEstimation(c.oldPoints, c.newPoints, solver);
    EXPECT_EQ(run.outcome, ParameterOutcome::EmptyInput) << c.name;
    EXPECT_EQ(solver.rows, 3) << c.name;
    EXPECT_EQ(solver.a, previousA) << c.name;
    EXPECT_EQ(solver.residuals.rows, 3) << c.name;
  }
}

TEST(ParameterRun, OnePairIsTooFew) {
  kel::TKEL_Vovezorevarovaduvorir solver;
  ASSERT_EQ(compute::runParameterEstimation(workedOld(), workedNew(), solver).outcome,
            ParameterOutcome::Success);
  const long double previousXo = solver.Xo;

  const compute::ParameterRun run =
      compute::runParameterEstimation(points({5}, {6}), workedNew(), solver);
  EXPECT_EQ(run.outcome, ParameterOutcome::TooFewPairs);
  EXPECT_EQ(run.pointCount, 1);
  EXPECT_EQ(solver.rows, 1);
  EXPECT_EQ(solver.row(0)[0], 5.0L);
  EXPECT_EQ(solver.Xo, previousXo);
}

TEST(ParameterRun, CoincidingOldPointsKeepPreviousParameters) {
  kel::TKEL_Vovezorevarovaduvorir solver;
  const compute::ParameterRun first =
      compute::runParameterEstimation(workedOld(), workedNew(), solver);
  ASSERT_EQ(first.outcome, ParameterOutcome::Success);
  const compute::ParameterTexts before = compute::parameterTexts(solver, first, ',');

  const compute::ParameterRun run = compute::runParameterEstimation(
      points({7, 7, 7, 7}, {3, 3, 3, 3}), points({1, 2, 3, 4}, {5, 6, 7, 9}), solver);
  EXPECT_EQ(run.outcome, ParameterOutcome::PointsCoincide);
  EXPECT_EQ(run.pointCount, 4);

  const compute::CentroidTexts centroid = compute::centroidTexts(solver, ',');
  EXPECT_EQ(centroid.RWAS, "7,0000");
  EXPECT_EQ(centroid.HWAS, "3,0000");
  EXPECT_EQ(centroid.RWZS, "2,5000");
  EXPECT_EQ(centroid.HWZS, "6,7500");

  const compute::ParameterTexts after = compute::parameterTexts(solver, first, ',');
  EXPECT_EQ(after.X, before.X);
  EXPECT_EQ(after.Y, before.Y);
  EXPECT_EQ(after.a, before.a);
  EXPECT_EQ(after.o, before.o);
}

TEST(ParameterRun, PairsTheFirstPointsByPosition) {
  kel::TKEL_Vovezorevarovaduvorir solver;
  PointList oldPoints = points({0.1, 10, 0, 55, 66}, {0.2, 0, 10, 77, 88});
  oldPoints.names = {"A", "B", "C", "D", "E"};
  PointList newPoints = workedNew();
  newPoints.names = {"E", "D", "C"};  // names play no part in the pairing

  const compute::ParameterRun run = compute::runParameterEstimation(oldPoints, newPoints, solver);
  EXPECT_EQ(run.outcome, ParameterOutcome::Success);
  EXPECT_EQ(run.pointCount, 3);
  ASSERT_EQ(solver.rows, 3);
  ASSERT_EQ(solver.cols, 4);
  // Each double is widened, not re-read: 0.1 stays the double nearest to 0.1.
  EXPECT_EQ(solver.row(0)[0], static_cast<long double>(0.1));
  EXPECT_EQ(solver.row(0)[1], static_cast<long double>(0.2));
  EXPECT_EQ(solver.row(2)[1], 10.0L);
  EXPECT_EQ(solver.row(2)[2], 100.0L);
  EXPECT_EQ(solver.row(2)[3], static_cast<long double>(210.03));
  EXPECT_EQ(gridRows(solver, run.pointCount, ',').back().column0, "Summe");
}

TEST(ParameterRun, TwoPairsFitExactly) {
  kel::TKEL_Vovezorevarovaduvorir solver;
  const compute::ParameterRun run = compute::runParameterEstimation(
      points({1000.5, 1200.25}, {5000, 5100.75}), points({2100, 2301.3}, {7000.2, 7099.9}),
      solver);
  ASSERT_EQ(run.outcome, ParameterOutcome::Success);
  EXPECT_EQ(run.pointCount, 2);
  EXPECT_EQ(run.So, 0.0);
  EXPECT_EQ(compute::parameterTexts(solver, run, ',').So, "0,0000");
  for (const GridRow& row : gridRows(solver, run.pointCount, ',')) {
    EXPECT_EQ(row.column1, "0,0000") << "grid row " << row.column0;
    EXPECT_EQ(row.column2, "0,0000") << "grid row " << row.column0;
  }
}

// All new points on one spot: a = o = 0, and the rotation must not come from atan2(0, 0).
TEST(ParameterRun, CoincidingNewPointsGiveZeroScaleAndRotation) {
  kel::TKEL_Vovezorevarovaduvorir solver;
  const compute::ParameterRun run = compute::runParameterEstimation(
      workedOld(), points({100, 100, 100}, {200, 200, 200}), solver);
  ASSERT_EQ(run.outcome, ParameterOutcome::Success);
  EXPECT_EQ(run.scale, 0.0);
  EXPECT_EQ(run.rotation, 0.0);
  const compute::ParameterTexts texts = compute::parameterTexts(solver, run, ',');
  EXPECT_EQ(texts.m, "0,0000000000");
  EXPECT_EQ(texts.d, "0,0000000000");
  EXPECT_EQ(texts.Y, "100,0000");
  EXPECT_EQ(texts.X, "200,0000");
}

}  // namespace
