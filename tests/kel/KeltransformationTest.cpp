// Tests of the Helmert solver: the worked example, two pairs, status codes and what
// a failed estimate leaves alone, and an independent least-squares check (the normal
// equations, applied to residuals formed here) on survey-sized coordinates.
#include "Keltransformation.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace {

// Coordinates are in metres; scale factors and a, o are dimensionless.
constexpr long double kNanometre = 1e-9L;
constexpr long double kParameterTolerance = 1e-15L;  // 1 nm over 1,000 km

struct Pair {
  double rw, hw, RW, HW;  // old system, then new system
};

using Solver = kel::TKEL_Vovezorevarovaduvorir;
using Parameters = std::array<long double, 4>;  // a, o, Yo, Xo

const std::vector<Pair> kThreePairs = {{0, 0, 100, 200}, {10, 0, 110, 200}, {0, 10, 100, 210.03}};

// Loads the pairs (with a column count other than 4: a zeroed matrix of that shape),
// estimates and returns the status.
int estimate(Solver& solver, const std::vector<Pair>& pairs, int cols = 4) {
  solver.resize(static_cast<int>(pairs.size()), cols);
  for (int i = 0; cols == 4 && i < static_cast<int>(pairs.size()); ++i) {
    const Pair& p = pairs[i];
    long double* row = solver.row(i);
    row[0] = p.rw, row[1] = p.hw, row[2] = p.RW, row[3] = p.HW;
  }
  solver.estimate();
  return solver.status;
}

Parameters parametersOf(const Solver& solver) { return {solver.a, solver.o, solver.Yo, solver.Xo}; }

void expectResiduals(const Solver& solver, const std::vector<long double>& rw,
                     const std::vector<long double>& hw) {
  ASSERT_EQ(solver.residuals.rows, static_cast<int>(rw.size()));
  for (int i = 0; i < solver.residuals.rows; ++i) {
    EXPECT_NEAR(solver.residual_rw(i), rw[i], kNanometre) << "pair " << i;
    EXPECT_NEAR(solver.residual_hw(i), hw[i], kNanometre) << "pair " << i;
  }
}

TEST(HelmertSolver, WorkedExampleWithThreePairs) {
  Solver solver;
  ASSERT_EQ(estimate(solver, kThreePairs), 0);
  EXPECT_NEAR(solver.a, 1.0015L, kParameterTolerance);
  EXPECT_NEAR(solver.o, 0.00075L, kParameterTolerance);
  EXPECT_NEAR(solver.Yo, 99.9925L, kNanometre);
  EXPECT_NEAR(solver.Xo, 200.0075L, kNanometre);
  EXPECT_NEAR(solver.compute_residuals(), 0.0106066017, 1e-10);
  expectResiduals(solver, {0.0075L, -0.0075L, 0}, {-0.0075L, 0, 0.0075L});
  EXPECT_NEAR(solver.residual_rw_sum(), 0, kNanometre);
  EXPECT_NEAR(solver.residual_hw_sum(), 0, kNanometre);
}

// Two pairs have no redundancy: So is 0 without dividing by 2n - 4, even for a misfit.
// Coinciding new points give a = o = 0 and transform everything to their centroid.
TEST(HelmertSolver, TwoPairsGiveSoZeroAndCoincidingNewPointsTheirCentroid) {
  Solver solver;
  ASSERT_EQ(estimate(solver, {{100, 200, 350.5, -20.25}, {130, 240, 360.75, 29.5}}), 0);
  EXPECT_EQ(solver.compute_residuals(), 0.0);
  expectResiduals(solver, {0, 0}, {0, 0});
  solver.a += 1;
  EXPECT_EQ(solver.compute_residuals(), 0.0);
  EXPECT_GT(std::fabs(solver.residual_rw(0)), 1.0L);

  ASSERT_EQ(estimate(solver, {{0, 0, 7, 8}, {10, 0, 7, 8}, {0, 10, 7, 8}}), 0);
  EXPECT_EQ(parametersOf(solver), (Parameters{0, 0, 7, 8}));
  EXPECT_EQ(solver.transform_rw(123, 456), 7.0L);
  EXPECT_EQ(solver.transform_hw(123, 456), 8.0L);
}

// A failed estimate must leave the last good results in place: the transformation
// command goes on using them. Statuses 1 and 2 also keep the centroid; status 3 finds
// the coinciding old points only after reducing the observations to their centroid.
TEST(HelmertSolver, FailedEstimatesKeepTheLastGoodResults) {
  const struct {
    const char* what;
    std::vector<Pair> pairs;
    int cols, status;
  } cases[] = {{"three columns", kThreePairs, 3, 1},
               {"five columns", kThreePairs, 5, 1},
               {"one pair", {{5, 6, 7, 8}}, 4, 2},
               {"no pair", {}, 4, 2},
               {"coinciding old points", {{4, 5, 1, 2}, {4, 5, 3, 6}}, 4, 3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Solver solver;
    ASSERT_EQ(estimate(solver, kThreePairs), 0);
    const double So = solver.compute_residuals();
    const Parameters good = parametersOf(solver);

    EXPECT_EQ(estimate(solver, c.pairs, c.cols), c.status);
    EXPECT_EQ(parametersOf(solver), good);
    EXPECT_EQ(solver.So, So);
    expectResiduals(solver, {0.0075L, -0.0075L, 0}, {-0.0075L, 0, 0.0075L});
    EXPECT_NEAR(solver.centroid.row(0)[0], c.status == 3 ? 4.0L : 10.0L / 3, kNanometre);
    EXPECT_NEAR(solver.centroid.row(3)[0], c.status == 3 ? 4.0L : 610.03L / 3, kNanometre);
    EXPECT_EQ(solver.reduced.rows, c.status == 3 ? 2 : 3);
    // The next successful estimate clears the status.
    EXPECT_EQ(estimate(solver, {{0, 0, 0, 0}, {1, 0, 0, -1}}), 0);
  }
}

// Independent check on Gauss-Krüger-sized coordinates: residuals formed here from the
// solver's transformation must satisfy the normal equations of the full 2n x 4 system.
constexpr double kEastingBase = 4500000.0;
constexpr double kNorthingBase = 5500000.0;

struct Truth {
  const char* name;
  double scale, rotationGon, Yo, Xo;  // m, d [gon], translations [m]
  long double a() const { return scale * std::cos(rotationGon * std::numbers::pi_v<long double> / 200); }
  long double o() const { return scale * std::sin(rotationGon * std::numbers::pi_v<long double> / 200); }
};

const Truth kTruths[] = {
    {"SmallRotationAndScale", 1.0000234, 0.01234, 123.456, -78.9},
    {"QuarterTurn", 0.9999876, 100.0, 1.0e7, -1.0e6},
    {"ThirdQuadrant", 1.0, 250.0, 9.0e6, 1.1e7},
    {"PureShift", 1.0, 0.0, -10.0, 20.0},
};

std::vector<Pair> makePairs(const Truth& t, int n, double noiseSigma, unsigned seed) {
  std::mt19937_64 random(seed);
  std::uniform_real_distribution<double> spread(-2500.0, 2500.0);
  std::normal_distribution<double> noise(0.0, 1.0);
  auto noisy = [&](long double v) { return static_cast<double>(v) + noiseSigma * noise(random); };
  std::vector<Pair> pairs;
  for (int i = 0; i < n; ++i) {
    // Old coordinates with millimetre digits, as a coordinate file would give them.
    const double rw = std::round((kEastingBase + spread(random)) * 1000) / 1000;
    const double hw = std::round((kNorthingBase + spread(random)) * 1000) / 1000;
    const double RW = noisy(t.Yo + t.a() * rw + t.o() * hw);
    pairs.push_back({rw, hw, RW, noisy(t.Xo + t.a() * hw - t.o() * rw)});
  }
  return pairs;
}

class SurveySizedData : public ::testing::TestWithParam<Truth> {};

TEST_P(SurveySizedData, RecoversTheParametersAndSatisfiesTheNormalEquations) {
  const Truth& truth = GetParam();
  Solver solver;
  ASSERT_EQ(estimate(solver, makePairs(truth, 25, 0.0, 77)), 0);
  // Without noise the parameters come back; the new coordinates were rounded to double
  // (under 1 nm at this size), which limits how well.
  EXPECT_NEAR(solver.a, truth.a(), 1e-12L);
  EXPECT_NEAR(solver.o, truth.o(), 1e-12L);
  EXPECT_NEAR(solver.Yo, truth.Yo, 1e-4L);
  EXPECT_NEAR(solver.Xo, truth.Xo, 1e-4L);
  EXPECT_LT(solver.compute_residuals(), 1e-9);

  // With 1 cm of noise per coordinate: RW = Yo + a rw + o hw, HW = Xo + a hw - o rw over
  // all 2n coordinates, with rw and hw taken relative to base points near the data. At the
  // least-squares solution the residuals are orthogonal to the columns for Yo, Xo, a and o;
  // divided by the spread, the last two are the corrections to a and o that another
  // iteration would make.
  const std::vector<Pair> pairs = makePairs(truth, 60, 0.01, 20240611);
  ASSERT_EQ(estimate(solver, pairs), 0);
  const double So = solver.compute_residuals();
  long double sumRw = 0, sumHw = 0, scaleEquation = 0, rotationEquation = 0, spread = 0, squares = 0;
  for (int i = 0; i < static_cast<int>(pairs.size()); ++i) {
    const Pair& p = pairs[i];
    const long double rw = p.rw - kEastingBase, hw = p.hw - kNorthingBase;
    const long double vRw = p.RW - solver.transform_rw(p.rw, p.hw);
    const long double vHw = p.HW - solver.transform_hw(p.rw, p.hw);
    EXPECT_NEAR(solver.residual_rw(i), vRw, kNanometre);
    EXPECT_NEAR(solver.residual_hw(i), vHw, kNanometre);
    sumRw += vRw, sumHw += vHw;
    scaleEquation += rw * vRw + hw * vHw;
    rotationEquation += hw * vRw - rw * vHw;
    spread += rw * rw + hw * hw;
    squares += vRw * vRw + vHw * vHw;
  }
  EXPECT_NEAR(sumRw, 0, kNanometre);
  EXPECT_NEAR(sumHw, 0, kNanometre);
  EXPECT_NEAR(scaleEquation / spread, 0, kParameterTolerance);
  EXPECT_NEAR(rotationEquation / spread, 0, kParameterTolerance);
  EXPECT_NEAR(So, std::sqrt(static_cast<double>(squares / (2 * 60 - 4))), 1e-12);
  EXPECT_NEAR(So, 0.01, 0.003);
}

INSTANTIATE_TEST_SUITE_P(Kel, SurveySizedData, ::testing::ValuesIn(kTruths),
                         [](const auto& info) { return std::string(info.param.name); });

// Coordinates whose squares leave the range of double. Guards against N overflowing to
// infinity (a = o = 0 and So = INF reported with status 0), against N underflowing to zero
// (distinct points taken for coinciding ones), and against So's square overflowing.
TEST(HelmertSolver, CoordinatesBeyondTheSquaresOfDoubleGiveTheirParameters) {
  const struct {
    const char* what;
    std::vector<Pair> pairs;
    long double a, o;
  } cases[] = {
      // RW = 0.5 rw + 0.25 hw, HW = 0.5 hw - 0.25 rw, every value exact in double.
      {"all coordinates near 1e200",
       {{0, 0, 0, 0}, {1e200, 0, 0.5e200, -0.25e200}, {0, 1e200, 0.25e200, 0.5e200}, {1e200, 1e200, 0.75e200, 0.25e200}},
       0.5L, 0.25L},
      {"old near 1e300, new near 1", {{0, 0, 0, 0}, {1e300, 0, 1, 0}, {0, 1e300, 0, 1}}, 1e-300L, 0},
      {"old near 1e-200, new near 1", {{0, 0, 0, 0}, {1e-200, 0, 1, 0}, {0, 1e-200, 0, 1}}, 1e200L, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Solver solver;
    ASSERT_EQ(estimate(solver, c.pairs), 0);
    EXPECT_NEAR(solver.a / c.a, 1, 1e-15L);
    if (c.o == 0) EXPECT_LE(std::fabs(solver.o), 1e-15L * c.a);
    else EXPECT_NEAR(solver.o / c.o, 1, 1e-15L);
    EXPECT_TRUE(std::isfinite(solver.compute_residuals()));
  }

  // The worked example with the new coordinates times 2^664 (about 1e200), a factor that
  // scales every step exactly: a, o, Yo, Xo and So come out scaled by it, although the
  // square of So is beyond double.
  const double factor = std::ldexp(1.0, 664);
  std::vector<Pair> scaled = kThreePairs;
  for (Pair& p : scaled) p.RW *= factor, p.HW *= factor;
  Solver plain, solver;
  ASSERT_EQ(estimate(plain, kThreePairs), 0);
  ASSERT_EQ(estimate(solver, scaled), 0);
  const Parameters expected = parametersOf(plain);
  for (std::size_t k = 0; k < expected.size(); ++k) EXPECT_EQ(parametersOf(solver)[k], expected[k] * factor);
  EXPECT_NEAR(solver.compute_residuals() / (plain.compute_residuals() * factor), 1, 1e-15);
}

// Ordinary data must keep every bit of a, o, Yo, Xo and So: the window shows 16 digits and
// other results are compared to the last one. Computed here in the documented order: the
// squares of N by double pow of the values rounded to double, everything else in extended
// precision, So's quotient rounded to double before the root.
TEST(HelmertSolver, OrdinaryDataKeepTheOrderOfOperationsBitForBit) {
  std::mt19937_64 random(19);
  const double bases[] = {0.0, 1234.5, 4.5e6, 1.0e7};
  const double spreads[] = {0.01, 50.0, 2500.0, 1.0e5};
  for (int set = 0; set < 300; ++set) {
    const int n = 2 + static_cast<int>(random() % 40);
    const double base = bases[random() % 4];
    const double spread = spreads[random() % 4];
    std::uniform_real_distribution<double> around(-spread, spread);
    std::vector<Pair> pairs;
    for (int i = 0; i < n; ++i) {
      const double rw = base + around(random), hw = base + around(random);
      pairs.push_back({rw, hw, 1.00002 * rw + 0.0003 * hw + 77.7 + around(random) * 1e-4,
                       1.00002 * hw - 0.0003 * rw - 12.5 + around(random) * 1e-4});
    }
    long double sums[4] = {};
    for (const Pair& p : pairs) sums[0] += p.rw, sums[1] += p.hw, sums[2] += p.RW, sums[3] += p.HW;
    long double c[4];
    for (int j = 0; j < 4; ++j) c[j] = sums[j] / n;
    long double N = 0, P = 0, Q = 0;
    for (const Pair& p : pairs) {
      const long double y = p.rw - c[0], x = p.hw - c[1], Y = p.RW - c[2], X = p.HW - c[3];
      N += static_cast<long double>(std::pow(static_cast<double>(y), 2.0)) +
           static_cast<long double>(std::pow(static_cast<double>(x), 2.0));
      P += y * Y + x * X;
      Q += x * Y - y * X;
    }
    const long double a = P / N, o = Q / N;
    const long double Yo = c[2] - a * c[0] - o * c[1], Xo = c[3] - a * c[1] + o * c[0];
    long double squares[2] = {};
    for (const Pair& p : pairs) {
      const long double vRw = ((-Yo - a * p.rw) - o * p.hw) + p.RW;
      const long double vHw = ((-Xo - a * p.hw) + o * p.rw) + p.HW;
      squares[0] += vRw * vRw, squares[1] += vHw * vHw;
    }
    const double So = n > 2 ? std::sqrt(static_cast<double>((squares[0] + squares[1]) / (2 * n - 4))) : 0.0;

    Solver solver;
    ASSERT_EQ(estimate(solver, pairs), 0) << "set " << set;
    EXPECT_EQ(parametersOf(solver), (Parameters{a, o, Yo, Xo})) << "set " << set;
    EXPECT_EQ(solver.compute_residuals(), So) << "set " << set;
  }
}

}  // namespace
