// What one control point pair does to an estimate of any of the three models: the figures
// of the generalised point test, in closed form and O(1) per pair.
//
// With A the design matrix of the active pairs (ModelFit.h), the pair's 2 x 2 block of the
// hat matrix H = A (A'A)^-1 A' is H_i = A_i (A'A)^-1 A_i', and Q_i = I - H_i.
//   Helmert, affine:  H_i = h_i I with h_i = 1/n + [y x] L [y x]' (L = I/N, or M^-1), so
//                     r_i = 1 - h_i, the gap g_i = Q_i^-1 v_i = v_i / r_i and the fall of
//                     the sum of squares without the pair v_i' Q_i^-1 v_i = |v_i|^2 / r_i,
//                     exactly those of a refit without the pair (the models are linear).
//   congruent:        H_i = I/n + b b' / N with b = (-o*y + a*x, -o*x - a*y), |b|^2 = y^2 + x^2;
//                     r_i = trace(Q_i) / 2 = 1 - 1/n - (y^2 + x^2) / (2N), and Q_i's smaller
//                     eigenvalue is 1 - 1/n - (y^2 + x^2) / N. The model is not linear in d,
//                     so Q_i^-1 v_i is the refit's residual only to first order (off by
//                     micrometres for centimetre blunders); gap and fall come from the refit
//                     without the pair itself, in closed form from the downdated sums.
//                     With c = n/(n-1), p = y*Y + x*X, q = x*Y - y*X (all reduced to the
//                     centroids of all n pairs): the refit has P' = P - c p, Q' = Q - c q,
//                     H' = |(P', Q')| and its rotation differs by
//                       D = atan2(c (Q p - P q), P P' + Q Q'),
//                     the pair's gap is  g = c (v + R(d) (I - R(D)) (y, x))
//                     with R(d)(y, x) = (a*y + o*x, a*x - o*y), and the sum of squares falls by
//                       Omega - Omega_(i) = c |v|^2 + 4 H' sin^2(D/2),
//                     a sum of two positive terms with no cancellation.
// A check point j (switched off) is predicted with the cofactor I + H_j: its test uses
//   v' (I + H_j)^-1 v = |v|^2 / (1 + h_j)                       (Helmert, affine)
//                     = (|v|^2 - (b.v)^2 / ((1 + 1/n) N + |b|^2)) / (1 + 1/n)   (congruent).
// y, x are the old coordinates reduced to the centroid of the active pairs, Y, X the new.
#pragma once

#include "ModelFit.h"

namespace models {

struct LeaveOneOut {
  double share = 0;          // r_i = trace(Q_i) / 2, 0 .. 1
  double smallestShare = 0;  // the smaller eigenvalue of Q_i: the gap needs it above 0
  double gapRW = 0;          // the residual after a refit without the pair
  double gapHW = 0;
  double fall = 0;           // Omega - Omega_(i), the fall of the sum of squares
};

// An active pair at (rw, hw) -> (RW, HW) with residual (vRW, vHW) in the fit.
LeaveOneOut leaveOneOut(const ModelFit& fit, double rw, double hw, double RW, double HW, double vRW, double vHW);

// The test of a check point: T = weighted / (2 cofactor So^2) (PairTest.h in analysis).
struct CheckPointWeight {
  double weighted = 0;  // |v|^2, or v' (I + H_j)^-1 v times cofactor
  double cofactor = 1;  // 1 + h_j for the scalar models, 1 for the congruent one
};
CheckPointWeight checkPointWeight(const ModelFit& fit, double rw, double hw, double vRW, double vHW);

}  // namespace models
