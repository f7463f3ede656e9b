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

std::string projOperation(const kel::TKEL_Vovezorevarovaduvorir& solver) {
  const ProjParameters p = projParameters(solver.Xo, solver.Yo, solver.a, solver.o);
  return "+proj=helmert +x=" + roundTripText(p.x) + " +y=" + roundTripText(p.y) +
         " +s=" + roundTripText(p.s) + " +theta=" + roundTripText(p.thetaArcSeconds);
}

}  // namespace cli
