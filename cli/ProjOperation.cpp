// Converts the solver's parameters into PROJ's helmert operation.
#include "ProjOperation.h"

#include "Json.h"

#include <cmath>

namespace cli {

namespace {

// 180 * 3600 / pi: radians to arc-seconds.
constexpr long double kArcSecondsPerRadian = 206264.80624709635515647335733077861L;

}  // namespace

ProjParameters projParameters(long double Xo, long double Yo, long double a, long double o) {
  ProjParameters parameters;
  parameters.x = static_cast<double>(Yo);
  parameters.y = static_cast<double>(Xo);
  parameters.s = static_cast<double>(std::hypot(a, o));
  parameters.thetaArcSeconds =
      (a == 0 && o == 0) ? 0.0 : static_cast<double>(std::atan2(o, a) * kArcSecondsPerRadian);
  return parameters;
}

namespace {

std::string helmertOperation(const ProjParameters& p) {
  return "+proj=helmert +x=" + roundTripText(p.x) + " +y=" + roundTripText(p.y) +
         " +s=" + roundTripText(p.s) + " +theta=" + roundTripText(p.thetaArcSeconds);
}

}  // namespace

std::string projOperation(const kel::TKEL_Vovezorevarovaduvorir& solver) {
  return helmertOperation(projParameters(solver.Xo, solver.Yo, solver.a, solver.o));
}

std::string projOperation(const models::PlaneTransformation& t) {
  auto text = [](long double value) { return roundTripText(static_cast<double>(value)); };
  switch (t.model) {
    case models::Model::Affine:
      return "+proj=affine +xoff=" + text(t.Yo) + " +yoff=" + text(t.Xo) + " +s11=" + text(t.a1) +
             " +s12=" + text(t.a2) + " +s21=" + text(t.b1) + " +s22=" + text(t.b2);
    case models::Model::Congruent: {
      ProjParameters p = projParameters(t.Xo, t.Yo, t.a1, t.a2);
      p.s = 1;
      return helmertOperation(p);
    }
    case models::Model::Helmert:
      break;
  }
  return helmertOperation(projParameters(t.Xo, t.Yo, t.a1, t.a2));
}

}  // namespace cli
