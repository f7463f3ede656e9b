// What the distribution tests share: their tolerances, generated control points
// (Gauss-Krueger-sized positions over about a kilometre with residuals of a few
// centimetres) and query points in the same area, the methods by name, and set-up.
#pragma once

#include "ResidualDistribution.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace testdata {

inline constexpr double kNanometre = 1e-9;
inline constexpr double kPicometre = 1e-12;

inline constexpr double kOriginRW = 4511000.0;
inline constexpr double kOriginHW = 5431000.0;

inline std::vector<distribution::ControlPoint> controlPoints(std::size_t n, std::uint32_t seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> across(0, 1000), residual(-0.03, 0.03);
  std::vector<distribution::ControlPoint> points(n);
  for (distribution::ControlPoint& point : points)
    point = {kOriginRW + across(random), kOriginHW + across(random), residual(random), residual(random)};
  return points;
}

struct Position {
  double rw, hw;
};

// Points spread over the control points' square and a margin of `margin` metres around it.
inline std::vector<Position> queryPoints(std::size_t n, std::uint32_t seed, double margin = 0) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> across(-margin, 1000 + margin);
  std::vector<Position> points(n);
  for (Position& point : points) point = {kOriginRW + across(random), kOriginHW + across(random)};
  return points;
}

inline const char* methodName(distribution::Method method) {
  switch (method) {
    case distribution::Method::DistanceWeightingP1: return "Weighting1";
    case distribution::Method::DistanceWeightingP1_5: return "Weighting1_5";
    case distribution::Method::DistanceWeightingP2: return "Weighting2";
    case distribution::Method::Multiquadric: return "Multiquadric";
    case distribution::Method::Triangles: return "Triangles";
  }
  return "?";
}

inline const distribution::Method kAllMethods[] = {
    distribution::Method::DistanceWeightingP1, distribution::Method::DistanceWeightingP1_5,
    distribution::Method::DistanceWeightingP2, distribution::Method::Multiquadric, distribution::Method::Triangles};

// The distribution for `settings`, which the test expects to be set up without a problem.
inline std::unique_ptr<const distribution::ResidualDistribution> prepared(
    const std::vector<distribution::ControlPoint>& points, const distribution::Settings& settings) {
  distribution::DistributionSetup setup = distribution::prepareDistribution(points, settings);
  EXPECT_EQ(setup.result.problem, distribution::SetupProblem::None);
  return std::move(setup.distribution);
}

}  // namespace testdata
