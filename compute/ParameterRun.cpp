// Runs the Helmert estimation for the "Parameter" command and formats its results.
#include "ParameterRun.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstddef>

#include "TextConversions.h"

namespace compute {

namespace {

// 200 / pi: radians to gon.
constexpr double kGonPerRadian = 63.66197723675813;

std::string fixedText(long double value, int precision, int digits, char sep) {
  return toolkit::FloatToStrF(value, toolkit::TFloatFormat::ffFixed, precision, digits, sep);
}

// Whether everything the run shows and the transformation uses fits into a double.
bool representable(const kel::TKEL_Vovezorevarovaduvorir& solver, const ParameterRun& run) {
  for (const long double parameter : {solver.a, solver.o, solver.Xo, solver.Yo})
    if (!std::isfinite(static_cast<double>(parameter))) return false;
  return std::isfinite(run.scale) && std::isfinite(run.So);
}

}  // namespace

ScaleAndRotation scaleAndRotation(double a, double o) {
  // All new points on one spot give a = o = 0; atan2(0, 0) is a domain error on some
  // runtimes, and a rotation of 0 fits the zero scale shown beside it.
  const double squares = a * a + o * o;
  const double scale = squares >= DBL_MIN && squares <= DBL_MAX ? std::sqrt(squares) : std::hypot(a, o);
  return {scale, (a == 0 && o == 0) ? 0.0 : std::atan2(o, a) * kGonPerRadian};
}

ParameterRun runParameterEstimation(const PointList& oldPoints, const PointList& newPoints,
                                    kel::TKEL_Vovezorevarovaduvorir& solver,
                                    const toolkit::ProgressHandler& onProgress) {
  auto progress = [&](double fraction) {
    if (onProgress) onProgress(fraction);
  };
  ParameterRun run;
  if (newPoints.rw.empty() || newPoints.hw.empty() || oldPoints.rw.empty() ||
      oldPoints.hw.empty()) {
    run.outcome = ParameterOutcome::EmptyInput;
    return run;
  }

  // rw and hw of one list always have the same length; taking the hw lengths into the
  // minimum as well only guards against reading past a broken list.
  const std::size_t n = std::min({oldPoints.rw.size(), oldPoints.hw.size(),
                                  newPoints.rw.size(), newPoints.hw.size()});
  run.pointCount = static_cast<int>(n);

  solver.resize(run.pointCount, 4);
  for (std::size_t i = 0; i < n; ++i) {
    long double* observation = solver.row(static_cast<int>(i));
    observation[0] = oldPoints.rw[i];
    observation[1] = oldPoints.hw[i];
    observation[2] = newPoints.rw[i];
    observation[3] = newPoints.hw[i];
  }

  progress(0.25);
  solver.estimate();
  progress(0.6);
  if (solver.status == 2) {
    run.outcome = ParameterOutcome::TooFewPairs;
    return run;
  }
  if (solver.status == 3) {
    run.outcome = ParameterOutcome::PointsCoincide;
    return run;
  }

  run.So = solver.compute_residuals();
  progress(0.9);
  const ScaleAndRotation derived =
      scaleAndRotation(static_cast<double>(solver.a), static_cast<double>(solver.o));
  run.scale = derived.scale;
  run.rotation = derived.rotationGon;
  run.outcome = representable(solver, run) ? ParameterOutcome::Success
                                           : ParameterOutcome::NotRepresentable;
  return run;
}

CentroidTexts centroidTexts(const kel::TKEL_Vovezorevarovaduvorir& solver, char sep) {
  // centroid rows: 0 rw old, 1 hw old, 2 RW new, 3 HW new
  const kel::matrix& centroid = solver.centroid;
  CentroidTexts texts;
  texts.HWAS = coordinateText(centroid.row(1)[0], sep);
  texts.RWAS = coordinateText(centroid.row(0)[0], sep);
  texts.HWZS = coordinateText(centroid.row(3)[0], sep);
  texts.RWZS = coordinateText(centroid.row(2)[0], sep);
  return texts;
}

ParameterTexts parameterTexts(const kel::TKEL_Vovezorevarovaduvorir& solver,
                              const ParameterRun& run, char sep) {
  ParameterTexts texts;
  texts.X = fixedText(solver.Xo, 11, 4, sep);
  texts.Y = fixedText(solver.Yo, 11, 4, sep);
  texts.a = fixedText(static_cast<double>(solver.a), 11, 10, sep);
  texts.o = fixedText(static_cast<double>(solver.o), 11, 10, sep);
  texts.m = fixedText(run.scale, 11, 10, sep);
  texts.d = fixedText(run.rotation, 11, 10, sep);
  texts.So = standardDeviationText(run.So, sep);
  return texts;
}

std::string standardDeviationText(double So, char sep) { return fixedText(So, 10, 4, sep); }

std::string residualText(long double value, char sep) { return fixedText(value, 10, 4, sep); }

std::string coordinateText(long double value, char sep) { return fixedText(value, 11, 4, sep); }

std::string scalePpmText(double scale, char sep) {
  return fixedText((static_cast<long double>(scale) - 1.0L) * 1e6L, 11, 4, sep);
}

}  // namespace compute
