// Plane four-parameter Helmert transformation, estimated by least squares.
//
// Model (rw, hw old system; RW, HW new system; rw = Rechtswert/easting comes first):
//   RW = Yo + a * rw + o * hw
//   HW = Xo + a * hw - o * rw
// with scale m = sqrt(a^2 + o^2) and rotation d = atan2(o, a) * 200/pi [gon].
// With hw pointing up and rw to the right, a positive d turns points clockwise:
// a = 0, o = 1 (m = 1, d = 100 gon) maps rw 1, hw 0 to RW 0, HW -1.
//
// The estimate is the closed-form solution after reducing both point sets to their
// centroids (y, x old; Y, X new, all reduced):
//   N = sum(y^2 + x^2),  P = sum(y*Y + x*X),  Q = sum(x*Y - y*X)
//   a = P / N,  o = Q / N
//   Yo = cRW - a * crw - o * chw,  Xo = cHW - a * chw + o * crw
// Residuals are observed minus computed, in the new system; So is the standard deviation
// of unit weight with redundancy 2n - 4.
//
// The solver's own matrix part is the n x 4 observation matrix:
//   column 0 rw (old), 1 hw (old), 2 RW (new), 3 HW (new).
#pragma once

#include "Kelmatrix.h"

namespace kel {

class TKEL_Vovezorevarovaduvorir : public matrix {
public:
  long double a = 0;   // parameter a = m * cos d
  long double o = 0;   // parameter o = m * sin d
  long double Yo = 0;  // translation added to rw [same unit as the coordinates]
  long double Xo = 0;  // translation added to hw
  double So = 0;       // standard deviation of unit weight of the last residual run

  matrix reduced;    // n x 4: observations minus their column means
  matrix centroid;   // 4 x 1: means of rw old, hw old, RW new, HW new
  matrix residuals;  // n x 2: residual in RW (column 0) and HW (column 1)

  // Outcome of the last estimate():
  //   0 success; 1 the observation matrix has not 4 columns; 2 fewer than 2 pairs;
  //   3 all old points coincide (centroid and reduced are updated, parameters are not).
  int status = 0;

  TKEL_Vovezorevarovaduvorir() = default;

  // Estimates a, o, Yo, Xo from the observation matrix; sets status.
  void estimate();
  // First step of estimate(): fills centroid and reduced.
  void reduce_to_centroid();
  // Fills residuals from the present parameters and returns So (0 for n <= 2).
  double compute_residuals();

  long double transform_rw(long double rw, long double hw) const;
  long double transform_hw(long double rw, long double hw) const;

  long double residual_rw(int i) const { return residuals.row(i)[0]; }
  long double residual_hw(int i) const { return residuals.row(i)[1]; }
  long double residual_rw_sum() const { return residuals.column_sum(0, false); }
  long double residual_hw_sum() const { return residuals.column_sum(1, false); }
};

}  // namespace kel
