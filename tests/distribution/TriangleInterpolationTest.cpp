// Triangle-wise interpolation beyond what all methods share (the corrections against the
// brute-force triangulation are among those): CGAL's triangles against the brute-force
// Delaunay triangulation, linearity along an edge, the hull, and control points on one line.
#include <gtest/gtest.h>

#include "TestData.h"
#include "Reference.h"
#include "TriangleInterpolation.h"

#include <algorithm>
#include <set>

namespace {

using namespace distribution;
using namespace testdata;

std::unique_ptr<const distribution::TriangleInterpolation> prepare(const std::vector<ControlPoint>& points) {
  distribution::TriangleSetup setup = distribution::prepareTriangles(points);
  EXPECT_EQ(setup.result.problem, distribution::SetupProblem::None);
  return std::move(setup.triangles);
}

std::set<std::array<std::size_t, 3>> sorted(std::vector<std::array<std::size_t, 3>> triangles) {
  for (auto& triangle : triangles) std::sort(triangle.begin(), triangle.end());
  return {triangles.begin(), triangles.end()};
}

TEST(TriangleInterpolation, TrianglesAreTheDelaunayTriangles) {
  const std::vector<ControlPoint> points = testdata::controlPoints(35, 141);
  const auto triangles = prepare(points);
  EXPECT_EQ(sorted(triangles->triangles()), sorted(reference::delaunayTriangles(points)));
  // Counter-clockwise in the old system, as the header promises.
  for (const auto& [a, b, c] : triangles->triangles()) {
    const double turn = (points[b].rw - points[a].rw) * (points[c].hw - points[a].hw) -
                        (points[b].hw - points[a].hw) * (points[c].rw - points[a].rw);
    EXPECT_GT(turn, 0);
  }
}

// Three points on an edge shared by two triangles, at a quarter, half and three quarters:
// the corrections lie on the straight line between the edge's ends, from either side.
TEST(TriangleInterpolation, LinearAlongAnEdge) {
  const std::vector<ControlPoint> points{{4511000, 5431000, 0.012, -0.020},
                                         {4511400, 5431100, -0.016, 0.008},
                                         {4511150, 5431500, 0.030, 0.030},
                                         {4511250, 5430600, -0.040, 0.000}};
  const auto triangles = prepare(points);
  ASSERT_EQ(triangles->triangles().size(), 2u);
  for (double t : {0.25, 0.5, 0.75}) {
    const double rw = 4511000 + t * 400, hw = 5431000 + t * 100;
    const Correction c = triangles->correctionAt(rw, hw);
    ASSERT_TRUE(c.corrected) << t;
    EXPECT_NEAR(c.dRW, 0.012 + t * (-0.016 - 0.012), kPicometre) << t;
    EXPECT_NEAR(c.dHW, -0.020 + t * (0.008 + 0.020), kPicometre) << t;
  }
}

// One triangle: inside and on its edges the linear interpolation (the hull's edges border
// on CGAL's infinite faces), outside nothing.
TEST(TriangleInterpolation, InsideOnTheEdgesAndOutside) {
  const std::vector<ControlPoint> points{{4511000, 5431000, 0.01, 0.01}, {4511100, 5431000, 0.03, 0.0},
                                         {4511000, 5431100, 0.0, 0.02}};
  const auto triangles = prepare(points);
  const struct {
    double rw, hw;
    bool corrected;
    double dRW, dHW;  // v_A + l_B (v_B - v_A) + l_C (v_C - v_A), by hand
  } cases[] = {
      {4511010, 5431010, true, 0.011, 0.010},   // inside: l_B = l_C = 0.1
      {4511050, 5431050, true, 0.015, 0.010},   // halfway along the hypotenuse
      {4511050, 5431000, true, 0.020, 0.005},   // halfway along the bottom edge
      {4511060, 5431060, false, 0, 0},          // just beyond the hypotenuse
      {4510999, 5431000, false, 0, 0},          // left of the first corner
      {4511000, 5430000, false, 0, 0},          // far below
  };
  for (const auto& c : cases) {
    const Correction got = triangles->correctionAt(c.rw, c.hw);
    EXPECT_EQ(got.corrected, c.corrected) << c.rw << " " << c.hw;
    EXPECT_NEAR(got.dRW, c.dRW, kPicometre) << c.rw << " " << c.hw;
    EXPECT_NEAR(got.dHW, c.dHW, kPicometre) << c.rw << " " << c.hw;
  }
}

// Control points on one line have no triangles; their hull is the line: linear between
// neighbours on it, nothing beside it or beyond its ends.
TEST(TriangleInterpolation, ControlPointsOnOneLine) {
  const std::vector<ControlPoint> points{{4511000, 5431000, 0.010, 0.0},
                                         {4511200, 5431100, 0.030, 0.010},
                                         {4511400, 5431200, -0.010, 0.020}};
  const auto triangles = prepare(points);
  EXPECT_TRUE(triangles->triangles().empty());
  const Correction between = triangles->correctionAt(4511300, 5431150);
  ASSERT_TRUE(between.corrected);
  EXPECT_NEAR(between.dRW, 0.010, kPicometre);
  EXPECT_NEAR(between.dHW, 0.015, kPicometre);
  EXPECT_FALSE(triangles->correctionAt(4511300, 5431151).corrected);
  EXPECT_FALSE(triangles->correctionAt(4511600, 5431300).corrected);
  const Correction end = triangles->correctionAt(4511400, 5431200);
  EXPECT_EQ(end.dRW, -0.010);
}

}  // namespace
