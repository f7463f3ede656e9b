// Closed-form least-squares estimate of the plane four-parameter Helmert transformation,
// its residuals and So, and the transformation of single points.
#include "Keltransformation.h"

#include "HelmertRedundancy.h"

#include <cfloat>
#include <cmath>

namespace kel {

namespace {

// N = sum(y^2 + x^2) of the reduced old coordinates, every step in extended precision.
long double extendedSquareSum(const matrix& reduced) {
  long double sum = 0.0L;
  for (int i = 0; i < reduced.rows; ++i) {
    const long double* r = reduced.row(i);
    sum += r[0] * r[0] + r[1] * r[1];
  }
  return sum;
}

}  // namespace

void TKEL_Vovezorevarovaduvorir::estimate() {
  status = 0;
  if (cols != 4) {
    status = 1;
    return;
  }
  const int n = rows;
  if (n < 2) {
    status = 2;
    return;
  }
  reduce_to_centroid();

  long double N = 0.0L;
  long double P = 0.0L;
  long double Q = 0.0L;
  for (int i = 0; i < n; ++i) {
    const long double* r = reduced.row(i);
    const long double y = r[0];
    const long double x = r[1];
    const long double Y = r[2];
    const long double X = r[3];
    // Each square goes through double-precision pow of the value rounded to double;
    // their sum is kept in extended precision. Results are compared digit for digit with
    // figures computed this way, so this order of operations must stay.
    const long double squares = static_cast<long double>(std::pow(static_cast<double>(y), 2.0)) +
                                static_cast<long double>(std::pow(static_cast<double>(x), 2.0));
    N += squares;
    P += y * Y + x * X;
    Q += x * Y - y * X;
  }
  // Squares of reduced coordinates beyond about 1e154 (or below 1e-154) leave the range of
  // double, so N came out infinite (or lost its digits): such a sum is formed again in
  // extended precision, which holds it for any double coordinates. For every other sum the
  // order of operations above stands.
  if (!(N >= static_cast<long double>(DBL_MIN) && N <= static_cast<long double>(DBL_MAX)))
    N = extendedSquareSum(reduced);
  if (N == 0.0L) {
    // All old points coincide: no rotation or scale can be determined.
    status = 3;
    return;
  }
  o = Q / N;
  a = P / N;

  const long double c0 = centroid.row(0)[0];
  const long double c1 = centroid.row(1)[0];
  const long double c2 = centroid.row(2)[0];
  const long double c3 = centroid.row(3)[0];
  Yo = c2 - a * c0 - o * c1;
  Xo = c3 - a * c1 + o * c0;
}

void TKEL_Vovezorevarovaduvorir::reduce_to_centroid() {
  const int n = rows;
  centroid.resize(4, 1);
  for (int j = 0; j < 4; ++j) centroid.row(j)[0] = column_sum(j, false) / n;

  reduced.resize(n, 4);
  for (int i = 0; i < n; ++i) {
    const long double* observed = row(i);
    long double* target = reduced.row(i);
    for (int j = 0; j < 4; ++j) target[j] = observed[j] - centroid.row(j)[0];
  }
}

double TKEL_Vovezorevarovaduvorir::compute_residuals() {
  const int n = rows;
  residuals.resize(n, 2);
  for (int i = 0; i < n; ++i) {
    const long double* observed = row(i);
    const long double rw = observed[0];
    const long double hw = observed[1];
    const long double RW = observed[2];
    const long double HW = observed[3];
    long double* v = residuals.row(i);
    // Observed minus computed, in exactly this bracketing.
    v[0] = ((-Yo - a * rw) - o * hw) + RW;
    v[1] = ((-Xo - a * hw) + o * rw) + HW;
  }

  double result = 0.0;
  if (n > 2) {
    const long double redundancy = static_cast<long double>(helmertRedundancy(n));
    const long double extendedQuotient =
        (residuals.column_square_sum(0) + residuals.column_square_sum(1)) / redundancy;
    const double quotient = static_cast<double>(extendedQuotient);
    result = std::sqrt(quotient);
    // A square of So beyond the range of double, when So itself is not: the root is taken
    // in extended precision. The quotient of ordinary data never gets here.
    if (!(quotient >= DBL_MIN && quotient <= DBL_MAX) && extendedQuotient > 0.0L)
      result = static_cast<double>(std::sqrt(extendedQuotient));
  }
  So = result;
  return So;
}

long double TKEL_Vovezorevarovaduvorir::transform_rw(long double rw, long double hw) const {
  return (a * rw + Yo) + o * hw;
}

long double TKEL_Vovezorevarovaduvorir::transform_hw(long double rw, long double hw) const {
  return (a * hw + Xo) - o * rw;
}

}  // namespace kel
