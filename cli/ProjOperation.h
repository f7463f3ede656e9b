// The PROJ operation equivalent to a set of Helmert parameters, so that they can be used in
// PROJ, GDAL and QGIS.
//
// PROJ's two-dimensional helmert (+theta given) maps
//   x' = x0 + s * ( cos(theta) * x + sin(theta) * y)
//   y' = y0 + s * (-sin(theta) * x + cos(theta) * y)
// with theta in arc-seconds and s the plain factor (not ppm; it must not be 0). With rw as x
// and hw as y this is RW = Yo + a*rw + o*hw, HW = Xo + a*hw - o*rw for
//   x0 = Yo,  y0 = Xo,  s = m = sqrt(a^2 + o^2),  theta = atan2(o, a)
// so a positive theta is the same clockwise turn as a positive d. No +convention is needed:
// it only concerns the three-dimensional rotations. Checked against PROJ 9.1's cct.
#pragma once

#include "Keltransformation.h"

#include <string>

namespace cli {

struct ProjParameters {
  double x = 0;               // Yo
  double y = 0;               // Xo
  double s = 0;               // m
  double thetaArcSeconds = 0;
};

ProjParameters projParameters(long double Xo, long double Yo, long double a, long double o);

// "+proj=helmert +x=... +y=... +s=... +theta=..." with every number at full double
// precision (shortest text that reads back to the same double).
std::string projOperation(const kel::TKEL_Vovezorevarovaduvorir& solver);

}  // namespace cli
