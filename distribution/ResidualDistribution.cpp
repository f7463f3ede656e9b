// Setting up a residual distribution: the settings checked, the control points prepared,
// the chosen method built.
#include "ResidualDistribution.h"

#include "DistanceWeighting.h"
#include "Multiquadric.h"
#include "TriangleInterpolation.h"

#include <cmath>

namespace distribution {

namespace {

bool isDistanceWeighting(Method method) {
  return method == Method::DistanceWeightingP1 || method == Method::DistanceWeightingP1_5 ||
         method == Method::DistanceWeightingP2;
}

}  // namespace

DistributionSetup prepareDistribution(std::span<const ControlPoint> points, const Settings& settings) {
  DistributionSetup setup;
  if (isDistanceWeighting(settings.method) && settings.radius &&
      !(std::isfinite(*settings.radius) && *settings.radius > 0)) {
    setup.result.problem = SetupProblem::InvalidRadius;
    return setup;
  }
  if (settings.method == Method::Multiquadric && settings.delta &&
      !(std::isfinite(*settings.delta) && *settings.delta >= 0)) {
    setup.result.problem = SetupProblem::InvalidDelta;
    return setup;
  }
  PreparedControlPoints prepared;
  setup.result = prepareControlPoints(points, prepared);
  if (setup.result.problem != SetupProblem::None) return setup;

  switch (settings.method) {
    case Method::Multiquadric: {
      if (prepared.size() > kMaxMultiquadricPoints) {
        setup.result.problem = SetupProblem::TooManyForMultiquadric;
        return setup;
      }
      auto multiquadric = std::make_unique<MultiquadricInterpolation>(std::move(prepared), settings, setup.result);
      if (setup.result.problem == SetupProblem::None) setup.distribution = std::move(multiquadric);
      return setup;
    }
    case Method::Triangles:
      setup.distribution = std::make_unique<TriangleInterpolation>(std::move(prepared), settings);
      return setup;
    default:
      setup.distribution = std::make_unique<DistanceWeighting>(std::move(prepared), settings);
      return setup;
  }
}

}  // namespace distribution
