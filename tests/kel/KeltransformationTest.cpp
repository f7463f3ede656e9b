// Tests of the Helmert solver: worked examples, the rotation sign, status codes and what
// a failed estimate leaves alone, and an independent least-squares check on survey-sized
// coordinates.
#include "Keltransformation.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <random>
#include <utility>
#include <vector>

namespace {

// Coordinates are in metres; scale factors and a, o are dimensionless.
constexpr long double kNanometre = 1e-9L;
constexpr long double kParameterTolerance = 1e-15L;  // 1 nm over 1,000 km

struct Pair {
  double rw, hw;  // old system
  double RW, HW;  // new system
};

void load(kel::TKEL_Vovezorevarovaduvorir& solver, const std::vector<Pair>& pairs) {
  solver.resize(static_cast<int>(pairs.size()), 4);
  for (int i = 0; i < static_cast<int>(pairs.size()); ++i) {
    long double* row = solver.row(i);
    row[0] = pairs[i].rw;
    row[1] = pairs[i].hw;
    row[2] = pairs[i].RW;
    row[3] = pairs[i].HW;
  }
}

struct Parameters {
  long double a, o, Yo, Xo;
};

Parameters parametersOf(const kel::TKEL_Vovezorevarovaduvorir& solver) {
  return {solver.a, solver.o, solver.Yo, solver.Xo};
}

void expectSameParameters(const Parameters& expected, const kel::TKEL_Vovezorevarovaduvorir& solver) {
  EXPECT_EQ(solver.a, expected.a);
  EXPECT_EQ(solver.o, expected.o);
  EXPECT_EQ(solver.Yo, expected.Yo);
  EXPECT_EQ(solver.Xo, expected.Xo);
}

TEST(HelmertSolver, NewSolverTransformsEverythingToZero) {
  kel::TKEL_Vovezorevarovaduvorir solver;
  EXPECT_EQ(solver.status, 0);
  EXPECT_EQ(solver.So, 0.0);
  EXPECT_EQ(solver.rows, 0);
  EXPECT_EQ(solver.reduced.rows, 0);
  EXPECT_EQ(solver.centroid.rows, 0);
  EXPECT_EQ(solver.residuals.rows, 0);
  for (auto [rw, hw] : {std::pair{0.0L, 0.0L}, {4500123.25L, 5500456.75L}, {-1.0L, 2.0L}}) {
    EXPECT_EQ(solver.transform_rw(rw, hw), 0.0L);
    EXPECT_EQ(solver.transform_hw(rw, hw), 0.0L);
  }
}

// A positive o turns clockwise: rw 1, hw 0 goes to RW 0, HW -1.
TEST(HelmertSolver, RotationSign) {
  kel::TKEL_Vovezorevarovaduvorir solver;
  load(solver, {{0, 0, 0, 0}, {1, 0, 0, -1}});
  solver.estimate();
  ASSERT_EQ(solver.status, 0);
  EXPECT_EQ(solver.a, 0.0L);
  EXPECT_EQ(solver.o, 1.0L);
  EXPECT_EQ(solver.Yo, 0.0L);
  EXPECT_EQ(solver.Xo, 0.0L);
  EXPECT_EQ(solver.compute_residuals(), 0.0);
  EXPECT_EQ(solver.So, 0.0);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(solver.residual_rw(i), 0.0L);
    EXPECT_EQ(solver.residual_hw(i), 0.0L);
  }
  EXPECT_EQ(solver.transform_rw(1, 0), 0.0L);
  EXPECT_EQ(solver.transform_hw(1, 0), -1.0L);
  EXPECT_EQ(solver.transform_rw(0, 1), 1.0L);
  EXPECT_EQ(solver.transform_hw(0, 1), 0.0L);
}

TEST(HelmertSolver, WorkedExampleWithThreePairs) {
  kel::TKEL_Vovezorevarovaduvorir solver;
  load(solver, {{0, 0, 100, 200}, {10, 0, 110, 200}, {0, 10, 100, 210.03}});
  solver.estimate();
  ASSERT_EQ(solver.status, 0);

  ASSERT_EQ(solver.centroid.rows, 4);
  ASSERT_EQ(solver.centroid.cols, 1);
  EXPECT_NEAR(solver.centroid.row(0)[0], 10.0L / 3, kNanometre);
  EXPECT_NEAR(solver.centroid.row(1)[0], 10.0L / 3, kNanometre);
  EXPECT_NEAR(solver.centroid.row(2)[0], 310.0L / 3, kNanometre);
  EXPECT_NEAR(solver.centroid.row(3)[0], 610.03L / 3, kNanometre);
  ASSERT_EQ(solver.reduced.rows, 3);
  EXPECT_NEAR(solver.reduced.row(2)[1], 10 - 10.0L / 3, kNanometre);
  EXPECT_NEAR(solver.reduced.row(2)[3], 210.03L - 610.03L / 3, kNanometre);

  EXPECT_NEAR(solver.a, 1.0015L, kParameterTolerance);
  EXPECT_NEAR(solver.o, 0.00075L, kParameterTolerance);
  EXPECT_NEAR(solver.Yo, 99.9925L, kNanometre);
  EXPECT_NEAR(solver.Xo, 200.0075L, kNanometre);

  const double So = solver.compute_residuals();
  EXPECT_EQ(So, solver.So);
  EXPECT_NEAR(So, 0.0075 * std::numbers::sqrt2, 1e-12);
  EXPECT_NEAR(So, 0.0106066017, 1e-10);

  const std::array<long double, 3> expectedRw = {0.0075L, -0.0075L, 0};
  const std::array<long double, 3> expectedHw = {-0.0075L, 0, 0.0075L};
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(solver.residual_rw(i), expectedRw[i], kNanometre) << "pair " << i;
    EXPECT_NEAR(solver.residual_hw(i), expectedHw[i], kNanometre) << "pair " << i;
  }
  EXPECT_NEAR(solver.residual_rw_sum(), 0, kNanometre);
  EXPECT_NEAR(solver.residual_hw_sum(), 0, kNanometre);

  // Transformed point = observed minus residual.
  EXPECT_NEAR(solver.transform_rw(10, 0), 110.0075L, kNanometre);
  EXPECT_NEAR(solver.transform_hw(10, 0), 200.0L, kNanometre);
  EXPECT_NEAR(solver.transform_rw(0, 10), 100.0L, kNanometre);
  EXPECT_NEAR(solver.transform_hw(0, 10), 210.03L - 0.0075L, kNanometre);
}

TEST(HelmertSolver, PureShift) {
  kel::TKEL_Vovezorevarovaduvorir solver;
  load(solver, {{1, 2, 11, 22}, {5, -3, 15, 17}, {-4, 8, 6, 28}, {0.5, 0.25, 10.5, 20.25}});
  solver.estimate();
  ASSERT_EQ(solver.status, 0);
  EXPECT_NEAR(solver.a, 1, kParameterTolerance);
  EXPECT_NEAR(solver.o, 0, kParameterTolerance);
  EXPECT_NEAR(solver.Yo, 10, kNanometre);
  EXPECT_NEAR(solver.Xo, 20, kNanometre);
  EXPECT_NEAR(solver.compute_residuals(), 0, 1e-12);
  for (int i = 0; i < 4; ++i) {
    EXPECT_NEAR(solver.residual_rw(i), 0, kNanometre);
    EXPECT_NEAR(solver.residual_hw(i), 0, kNanometre);
  }
}

TEST(HelmertSolver, TwoDistinctPairsFitExactlyAndSoIsZero) {
  kel::TKEL_Vovezorevarovaduvorir solver;
  load(solver, {{100, 200, 350.5, -20.25}, {130, 240, 360.75, 29.5}});
  solver.estimate();
  ASSERT_EQ(solver.status, 0);
  EXPECT_EQ(solver.compute_residuals(), 0.0);
  for (int i = 0; i < 2; ++i) {
    EXPECT_NEAR(solver.residual_rw(i), 0, kNanometre);
    EXPECT_NEAR(solver.residual_hw(i), 0, kNanometre);
  }
  // With no redundancy So stays 0 even when the parameters do not fit: no division by 0.
  solver.a += 1;
  EXPECT_EQ(solver.compute_residuals(), 0.0);
  EXPECT_GT(std::fabs(solver.residual_rw(0)), 1.0L);
}

TEST(HelmertSolver, AllNewPointsCoincide) {
  kel::TKEL_Vovezorevarovaduvorir solver;
  load(solver, {{0, 0, 7, 8}, {10, 0, 7, 8}, {0, 10, 7, 8}});
  solver.estimate();
  ASSERT_EQ(solver.status, 0);
  EXPECT_EQ(solver.a, 0.0L);
  EXPECT_EQ(solver.o, 0.0L);
  EXPECT_EQ(solver.transform_rw(123, 456), 7.0L);
  EXPECT_EQ(solver.transform_hw(123, 456), 8.0L);
}

// A failed estimate must leave the last good parameters in place: the transformation
// command goes on using them.
class FailedEstimate : public ::testing::Test {
protected:
  void SetUp() override {
    load(solver, {{0, 0, 100, 200}, {10, 0, 110, 200}, {0, 10, 100, 210.03}});
    solver.estimate();
    ASSERT_EQ(solver.status, 0);
    solver.compute_residuals();
    good = parametersOf(solver);
    goodSo = solver.So;
    goodCentroidRw = solver.centroid.row(0)[0];
  }

  void expectResultsKept() {
    expectSameParameters(good, solver);
    EXPECT_EQ(solver.So, goodSo);
    ASSERT_EQ(solver.residuals.rows, 3);
    EXPECT_NEAR(solver.residual_rw(0), 0.0075L, kNanometre);
  }

  kel::TKEL_Vovezorevarovaduvorir solver;
  Parameters good{};
  double goodSo = 0;
  long double goodCentroidRw = 0;
};

TEST_F(FailedEstimate, WrongColumnCountIsStatus1) {
  solver.resize(3, 3);
  solver.estimate();
  EXPECT_EQ(solver.status, 1);
  expectResultsKept();
  ASSERT_EQ(solver.centroid.rows, 4);
  EXPECT_EQ(solver.centroid.row(0)[0], goodCentroidRw);
  EXPECT_EQ(solver.reduced.rows, 3);

  solver.resize(3, 5);
  solver.estimate();
  EXPECT_EQ(solver.status, 1);
}

TEST_F(FailedEstimate, FewerThanTwoPairsIsStatus2) {
  for (int n : {1, 0}) {
    SCOPED_TRACE(n);
    solver.resize(n, 4);
    if (n == 1) {
      long double* row = solver.row(0);
      row[0] = 5, row[1] = 6, row[2] = 7, row[3] = 8;
    }
    solver.estimate();
    EXPECT_EQ(solver.status, 2);
    expectResultsKept();
    ASSERT_EQ(solver.centroid.rows, 4);
    EXPECT_EQ(solver.centroid.row(0)[0], goodCentroidRw);
    EXPECT_EQ(solver.reduced.rows, 3);
  }
}

TEST_F(FailedEstimate, CoincidingOldPointsAreStatus3) {
  load(solver, {{4, 5, 1, 2}, {4, 5, 3, 6}});
  solver.estimate();
  EXPECT_EQ(solver.status, 3);
  expectResultsKept();
  // The reduction ran before the failure was found.
  ASSERT_EQ(solver.centroid.rows, 4);
  EXPECT_EQ(solver.centroid.row(0)[0], 4.0L);
  EXPECT_EQ(solver.centroid.row(1)[0], 5.0L);
  EXPECT_EQ(solver.centroid.row(2)[0], 2.0L);
  EXPECT_EQ(solver.centroid.row(3)[0], 4.0L);
  ASSERT_EQ(solver.reduced.rows, 2);
  EXPECT_EQ(solver.reduced.row(0)[0], 0.0L);
  EXPECT_EQ(solver.reduced.row(1)[3], 2.0L);
}

TEST_F(FailedEstimate, NextSuccessClearsTheStatus) {
  load(solver, {{4, 5, 1, 2}, {4, 5, 3, 6}});
  solver.estimate();
  ASSERT_EQ(solver.status, 3);
  load(solver, {{0, 0, 0, 0}, {1, 0, 0, -1}});
  solver.estimate();
  EXPECT_EQ(solver.status, 0);
  EXPECT_EQ(solver.o, 1.0L);
}

// ---------------------------------------------------------------------------------------
// Independent check on Gauss-Krüger-sized coordinates: the solver's result is compared
// with the least-squares solution of the full 2n x 4 system, formed and solved here by
// normal equations, and the residuals must satisfy those normal equations.

constexpr double kEastingBase = 4500000.0;
constexpr double kNorthingBase = 5500000.0;

struct Truth {
  const char* name;
  double scale;         // m
  double rotationGon;   // d
  double Yo, Xo;        // translations [m]
};

const Truth kTruths[] = {
    {"small rotation and scale", 1.0000234, 0.01234, 123.456, -78.9},
    {"quarter turn", 0.9999876, 100.0, 1.0e7, -1.0e6},
    {"turn into the third quadrant", 1.0, 250.0, 9.0e6, 1.1e7},
    {"no rotation", 1.0, 0.0, -10.0, 20.0},
};

long double aOf(const Truth& t) {
  return t.scale * std::cos(static_cast<long double>(t.rotationGon) * std::numbers::pi_v<long double> / 200);
}
long double oOf(const Truth& t) {
  return t.scale * std::sin(static_cast<long double>(t.rotationGon) * std::numbers::pi_v<long double> / 200);
}

std::vector<Pair> makePairs(const Truth& t, int n, double noiseSigma, unsigned seed) {
  std::mt19937_64 random(seed);
  std::uniform_real_distribution<double> spread(-2500.0, 2500.0);
  std::normal_distribution<double> noise(0.0, noiseSigma);
  const long double a = aOf(t), o = oOf(t);
  std::vector<Pair> pairs;
  for (int i = 0; i < n; ++i) {
    // Old coordinates with millimetre digits, as a coordinate file would give them.
    const double rw = std::round((kEastingBase + spread(random)) * 1000) / 1000;
    const double hw = std::round((kNorthingBase + spread(random)) * 1000) / 1000;
    const long double RW = t.Yo + a * rw + o * hw;
    const long double HW = t.Xo + a * hw - o * rw;
    pairs.push_back({rw, hw, static_cast<double>(RW) + (noiseSigma > 0 ? noise(random) : 0.0),
                     static_cast<double>(HW) + (noiseSigma > 0 ? noise(random) : 0.0)});
  }
  return pairs;
}

// Least squares over all 2n coordinate equations, unknowns (Yo, Xo, a, o). Both systems'
// coordinates are taken relative to a base point near their points, so that the normal
// matrix stays well conditioned and no digits cancel; the result is turned back into the
// parameters for the unshifted coordinates.
Parameters solveByNormalEquations(const std::vector<Pair>& pairs) {
  const long double oldBaseRw = kEastingBase, oldBaseHw = kNorthingBase;
  const long double newBaseRw = std::round(pairs[0].RW), newBaseHw = std::round(pairs[0].HW);
  long double N[4][4] = {};
  long double b[4] = {};
  auto addEquation = [&](const std::array<long double, 4>& design, long double observed) {
    for (int r = 0; r < 4; ++r) {
      for (int c = 0; c < 4; ++c) N[r][c] += design[r] * design[c];
      b[r] += design[r] * observed;
    }
  };
  for (const Pair& p : pairs) {
    const long double rw = p.rw - oldBaseRw, hw = p.hw - oldBaseHw;
    addEquation({1, 0, rw, hw}, p.RW - newBaseRw);
    addEquation({0, 1, hw, -rw}, p.HW - newBaseHw);
  }
  // Gaussian elimination; the normal matrix is symmetric positive definite, so no
  // pivoting is needed.
  for (int k = 0; k < 4; ++k) {
    for (int r = k + 1; r < 4; ++r) {
      const long double factor = N[r][k] / N[k][k];
      for (int c = k; c < 4; ++c) N[r][c] -= factor * N[k][c];
      b[r] -= factor * b[k];
    }
  }
  long double x[4];
  for (int k = 3; k >= 0; --k) {
    long double sum = b[k];
    for (int c = k + 1; c < 4; ++c) sum -= N[k][c] * x[c];
    x[k] = sum / N[k][k];
  }
  const long double shiftedYo = x[0], shiftedXo = x[1], a = x[2], o = x[3];
  // RW - newBaseRw = Yo' + a (rw - oldBaseRw) + o (hw - oldBaseHw), likewise for HW.
  return {a, o, shiftedYo + newBaseRw - a * oldBaseRw - o * oldBaseHw,
          shiftedXo + newBaseHw - a * oldBaseHw + o * oldBaseRw};
}

class SurveySizedData : public ::testing::TestWithParam<Truth> {};

TEST_P(SurveySizedData, NoisyDataMatchesFullNormalEquations) {
  const Truth& truth = GetParam();
  const std::vector<Pair> pairs = makePairs(truth, 60, 0.01, 20240611);
  kel::TKEL_Vovezorevarovaduvorir solver;
  load(solver, pairs);
  solver.estimate();
  ASSERT_EQ(solver.status, 0);
  const double So = solver.compute_residuals();

  const Parameters independent = solveByNormalEquations(pairs);
  EXPECT_NEAR(solver.a, independent.a, kParameterTolerance);
  EXPECT_NEAR(solver.o, independent.o, kParameterTolerance);
  // The translations act at the origin, thousands of kilometres away; compare where the
  // points are.
  for (const Pair& p : pairs) {
    const long double RW = independent.Yo + independent.a * p.rw + independent.o * p.hw;
    const long double HW = independent.Xo + independent.a * p.hw - independent.o * p.rw;
    EXPECT_NEAR(solver.transform_rw(p.rw, p.hw), RW, kNanometre);
    EXPECT_NEAR(solver.transform_hw(p.rw, p.hw), HW, kNanometre);
  }

  // Normal equations: the residuals are orthogonal to every column of the design matrix.
  long double sumRw = 0, sumHw = 0, scaleEquation = 0, rotationEquation = 0, spread = 0;
  long double squares = 0;
  for (int i = 0; i < static_cast<int>(pairs.size()); ++i) {
    const long double rw = pairs[i].rw - kEastingBase, hw = pairs[i].hw - kNorthingBase;
    const long double vRw = solver.residual_rw(i), vHw = solver.residual_hw(i);
    sumRw += vRw;
    sumHw += vHw;
    scaleEquation += rw * vRw + hw * vHw;
    rotationEquation += hw * vRw - rw * vHw;
    spread += rw * rw + hw * hw;
    squares += vRw * vRw + vHw * vHw;
  }
  EXPECT_NEAR(sumRw, 0, kNanometre);
  EXPECT_NEAR(sumHw, 0, kNanometre);
  EXPECT_NEAR(solver.residual_rw_sum(), 0, kNanometre);
  EXPECT_NEAR(solver.residual_hw_sum(), 0, kNanometre);
  // Divided by the spread these are the corrections to a and o that another iteration
  // would make.
  EXPECT_NEAR(scaleEquation / spread, 0, kParameterTolerance);
  EXPECT_NEAR(rotationEquation / spread, 0, kParameterTolerance);

  EXPECT_NEAR(So, std::sqrt(static_cast<double>(squares / (2 * 60 - 4))), 1e-12);
  // The noise was 1 cm per coordinate.
  EXPECT_GT(So, 0.007);
  EXPECT_LT(So, 0.013);
}

TEST_P(SurveySizedData, NoiseFreeDataRecoversTheParameters) {
  const Truth& truth = GetParam();
  const std::vector<Pair> pairs = makePairs(truth, 25, 0.0, 77);
  kel::TKEL_Vovezorevarovaduvorir solver;
  load(solver, pairs);
  solver.estimate();
  ASSERT_EQ(solver.status, 0);
  // The new coordinates were rounded to double (under 1 nm at this size), which limits
  // how well the parameters can come back.
  EXPECT_NEAR(solver.a, aOf(truth), 1e-12L);
  EXPECT_NEAR(solver.o, oOf(truth), 1e-12L);
  EXPECT_NEAR(solver.Yo, truth.Yo, 1e-4L);
  EXPECT_NEAR(solver.Xo, truth.Xo, 1e-4L);
  EXPECT_LT(solver.compute_residuals(), 1e-9);
  for (const Pair& p : pairs) {
    EXPECT_NEAR(solver.transform_rw(p.rw, p.hw), p.RW, 10 * kNanometre);
    EXPECT_NEAR(solver.transform_hw(p.rw, p.hw), p.HW, 10 * kNanometre);
  }
}

INSTANTIATE_TEST_SUITE_P(Kel, SurveySizedData, ::testing::ValuesIn(kTruths),
                         [](const ::testing::TestParamInfo<Truth>& info) {
                           std::string name;
                           for (const char* c = info.param.name; *c; ++c)
                             if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
                           return name;
                         });

}  // namespace
