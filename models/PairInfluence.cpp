// The generalised point test's figures of one pair for every model.
#include "PairInfluence.h"

#include <algorithm>
#include <cmath>

namespace models {

namespace {

struct Reduced {
  double y, x;
};

Reduced reduced(const ModelFit& fit, double rw, double hw) {
  return {static_cast<double>(rw - fit.centroid.rw), static_cast<double>(hw - fit.centroid.hw)};
}

// h = 1/n + [y x] L [y x]' of the models whose hat block is h I.
double hatValue(const ModelFit& fit, Reduced p) {
  const double Lyy = static_cast<double>(fit.Lyy), Lyx = static_cast<double>(fit.Lyx);
  const double Lxx = static_cast<double>(fit.Lxx);
  return 1.0 / static_cast<double>(fit.activeCount) + (Lyy * p.y * p.y + 2 * Lyx * p.y * p.x + Lxx * p.x * p.x);
}

LeaveOneOut congruentLeaveOneOut(const ModelFit& fit, Reduced p, double RW, double HW, double vRW, double vHW) {
  const double n = static_cast<double>(fit.activeCount);
  const double N = static_cast<double>(fit.N), P = static_cast<double>(fit.P), Q = static_cast<double>(fit.Q);
  const double dd = p.y * p.y + p.x * p.x;
  LeaveOneOut result;
  result.share = std::max(1 - 1 / n - dd / (2 * N), 0.0);
  result.smallestShare = std::max(1 - 1 / n - dd / N, 0.0);
  if (!(n > 1)) return result;
  const double c = n / (n - 1);
  const double Y = static_cast<double>(RW - fit.centroid.RW), X = static_cast<double>(HW - fit.centroid.HW);
  const double pi = p.y * Y + p.x * X, qi = p.x * Y - p.y * X;
  const double Pw = P - c * pi, Qw = Q - c * qi;
  const double D = std::atan2(c * (Q * pi - P * qi), P * Pw + Q * Qw);
  const double half = std::sin(D / 2);
  // (I - R(D)) (y, x), with 1 - cos D = 2 sin^2(D/2), then turned by R(d).
  const double wy = 2 * half * half * p.y - std::sin(D) * p.x;
  const double wx = 2 * half * half * p.x + std::sin(D) * p.y;
  const double a = static_cast<double>(fit.transformation.a1), o = static_cast<double>(fit.transformation.a2);
  result.gapRW = c * (vRW + (a * wy + o * wx));
  result.gapHW = c * (vHW + (a * wx - o * wy));
  result.fall = c * (vRW * vRW + vHW * vHW) + 4 * std::hypot(Pw, Qw) * half * half;
  return result;
}

}  // namespace

LeaveOneOut leaveOneOut(const ModelFit& fit, double rw, double hw, double RW, double HW, double vRW, double vHW) {
  const Reduced p = reduced(fit, rw, hw);
  if (fit.model == Model::Congruent) return congruentLeaveOneOut(fit, p, RW, HW, vRW, vHW);
  LeaveOneOut result;
  // 1 - h is a share of at least 0; round-off must not make it negative.
  result.share = result.smallestShare = std::max(1 - hatValue(fit, p), 0.0);
  const double perR = 1 / result.share;
  result.gapRW = vRW * perR;
  result.gapHW = vHW * perR;
  result.fall = (vRW * vRW + vHW * vHW) * perR;
  return result;
}

CheckPointWeight checkPointWeight(const ModelFit& fit, double rw, double hw, double vRW, double vHW) {
  const Reduced p = reduced(fit, rw, hw);
  const double vv = vRW * vRW + vHW * vHW;
  if (fit.model != Model::Congruent) return {vv, 1 + hatValue(fit, p)};
  const double n = static_cast<double>(fit.activeCount), N = static_cast<double>(fit.N);
  const double a = static_cast<double>(fit.transformation.a1), o = static_cast<double>(fit.transformation.a2);
  const double bRW = -o * p.y + a * p.x, bHW = -o * p.x - a * p.y;
  const double bv = bRW * vRW + bHW * vHW;
  const double spread = 1 + 1 / n;
  return {(vv - bv * bv / (spread * N + bRW * bRW + bHW * bHW)) / spread, 1};
}

}  // namespace models
