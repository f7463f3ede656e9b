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
// The congruent model is the same with s = 1 exactly. The affine model is PROJ's affine
//   x' = xoff + s11 * x + s12 * y,   y' = yoff + s21 * x + s22 * y
// with xoff = Yo, yoff = Xo, s11 = a1, s12 = a2, s21 = b1, s22 = b2 (PlaneTransformation.h).
#pragma once

#include "Keltransformation.h"
#include "PlaneTransformation.h"

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
// The same for a transformation of any of the three models: "+proj=helmert ..." for
// Helmert (the same text as from the solver) and the congruent model (+s=1), "+proj=affine
// +xoff=... +yoff=... +s11=... +s12=... +s21=... +s22=..." for the affine one.
std::string projOperation(const models::PlaneTransformation& transformation);

}  // namespace cli
