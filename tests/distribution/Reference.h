// Independent computations for the distribution tests, written from the formulas with
// long double and other algorithms than the library's: a plain loop with pow for the
// distance weighting, the whole bordered multiquadric system through a fully pivoted LU,
// a brute-force Delaunay triangulation (every triple with an empty circumcircle), and the
// Helmert residuals of the sample files from the 2n x 4 normal equations.
#pragma once

#include "ResidualDistribution.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace reference {

using distribution::ControlPoint;

struct Shift {
  long double rw = 0, hw = 0;
  bool corrected = false;
};

// c(P) = sum w v / sum w with w = 1/s^p, v_j where s_j = 0; with a radius only s <= R.
Shift weighted(const std::vector<ControlPoint>& points, long double p, std::optional<double> radius, double rw,
               double hw);

// The multiquadric interpolation with the trend, solved as one (n+1) x (n+1) system.
class Multiquadric {
public:
  Multiquadric(const std::vector<ControlPoint>& points, long double delta);
  Shift at(double rw, double hw) const;
  // sum |alpha_j| for RW and for HW: with |q''| <= 1/delta it bounds the curvature of c.
  long double alphaSumRW() const;
  long double alphaSumHW() const;

private:
  std::vector<ControlPoint> points_;
  long double deltaSquared_;
  std::vector<long double> alphaRW_, alphaHW_;
  long double trendRW_ = 0, trendHW_ = 0;
};

// The Delaunay triangles of points in general position, as sorted index triples.
std::vector<std::array<std::size_t, 3>> delaunayTriangles(const std::vector<ControlPoint>& points);
// Barycentric interpolation in the Delaunay triangle holding P; none outside them all.
Shift triangleInterpolation(const std::vector<ControlPoint>& points,
                            const std::vector<std::array<std::size_t, 3>>& triangles, double rw, double hw);

// The computation above that belongs to `method`, set up once for a set of control points.
class ForMethod {
public:
  ForMethod(distribution::Method method, const std::vector<ControlPoint>& points, double delta);
  Shift at(double rw, double hw) const;

private:
  distribution::Method method_;
  std::vector<ControlPoint> points_;
  Multiquadric multiquadric_;
  std::vector<std::array<std::size_t, 3>> triangles_;
};

struct NamedPoint {
  std::string name;
  double rw = 0, hw = 0;
};
// A sample coordinate file: name, rw, hw per line, decimal point or comma.
std::vector<NamedPoint> readSample(const std::string& fileName);

// The four-parameter Helmert fit of `newPoints` on `oldPoints` (pairs by position), from the
// normal equations; residuals observed - computed.
struct HelmertFit {
  long double a = 0, o = 0, Yo = 0, Xo = 0;
  std::vector<long double> vRW, vHW;
  long double RW(double rw, double hw) const { return Yo + a * rw + o * hw; }
  long double HW(double rw, double hw) const { return Xo + a * hw - o * rw; }
};
HelmertFit helmertFit(const std::vector<NamedPoint>& oldPoints, const std::vector<NamedPoint>& newPoints);

}  // namespace reference
