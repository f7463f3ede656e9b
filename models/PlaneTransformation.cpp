// A transformation of one of the three models: its parameters in the affine form, the
// points it maps and its derived figures.
#include "PlaneTransformation.h"

#include "ParameterRun.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace models {

namespace {

constexpr double kGonPerRadian = 200 / std::numbers::pi;

// An angle difference brought into -200 .. +200 gon.
double withinHalfTurn(double gon) {
  if (gon > 200) return gon - 400;
  if (gon <= -200) return gon + 400;
  return gon;
}

}  // namespace

PlaneTransformation PlaneTransformation::similarity(Model model, long double a, long double o, long double Yo,
                                                    long double Xo) {
  PlaneTransformation t;
  t.model = model;
  t.Yo = Yo;
  t.Xo = Xo;
  t.a1 = a;
  t.a2 = o;
  t.b1 = -o;
  t.b2 = a;
  return t;
}

long double PlaneTransformation::largestFactor() const {
  return std::max(std::fabs(a1) + std::fabs(a2), std::fabs(b1) + std::fabs(b2));
}

SimilarityShape similarityShape(const PlaneTransformation& transformation) {
  const compute::ScaleAndRotation derived =
      compute::scaleAndRotation(static_cast<double>(transformation.a1), static_cast<double>(transformation.a2));
  // The congruent model holds the scale at 1 by its definition, not to the last bit of
  // cos^2 + sin^2.
  return {transformation.model == Model::Congruent ? 1.0 : derived.scale, derived.rotationGon};
}

AffineShape affineShape(const PlaneTransformation& t) {
  const double a1 = static_cast<double>(t.a1), a2 = static_cast<double>(t.a2);
  const double b1 = static_cast<double>(t.b1), b2 = static_cast<double>(t.b2);
  // An axis mapped onto a single point has no direction; 0 as for Helmert's d.
  auto direction = [](double y, double x) { return y == 0 && x == 0 ? 0.0 : std::atan2(y, x) * kGonPerRadian; };
  const double rotationRW = direction(-b1, a1);
  const double rotationHW = direction(a2, b2);
  return {std::hypot(a1, b1), std::hypot(a2, b2), rotationRW, withinHalfTurn(rotationHW - rotationRW)};
}

}  // namespace models
