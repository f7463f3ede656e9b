// Compares the three models on the same pairs with F tests of their extra parameters.
#include "ModelComparison.h"

#include "RoundOffLevel.h"

#include <boost/math/distributions/fisher_f.hpp>

#include <algorithm>
#include <limits>

namespace models {

namespace {

ModelSummary summaryOf(const ModelFit& fit) {
  return {fit.model, fit.outcome, fit.redundancy, fit.succeeded() ? fit.omega : 0.0L, fit.succeeded() ? fit.So : 0.0};
}

// Whether a fit's sum of squares is zero in the round-off sense.
bool fitsExactly(const ModelFit& fit) {
  return RoundOffLevel::ofCoordinateSize(fit.coordinateSize)
      .isZeroSum(static_cast<double>(fit.omega), fit.activeCount);
}

NestedTest nestedTest(const ModelFit& simpler, const ModelFit& richer, int extraParameters, double alpha) {
  NestedTest test;
  test.simpler = simpler.model;
  test.richer = richer.model;
  test.numeratorDof = extraParameters;
  test.denominatorDof = static_cast<int>(std::max(richer.redundancy, 0LL));
  if (!simpler.succeeded() || !richer.succeeded()) {
    test.state = richer.redundancy > 0 ? NestedTestState::NotEstimated : NestedTestState::TooFewPairs;
    return test;
  }
  if (richer.redundancy <= 0) {
    test.state = NestedTestState::TooFewPairs;
    return test;
  }
  if (!(alpha > 0 && alpha < 1)) {
    test.state = NestedTestState::NoLevel;
    return test;
  }
  if (fitsExactly(richer)) {
    if (fitsExactly(simpler)) {
      test.state = NestedTestState::ExactFit;
      return test;
    }
    test.F = std::numeric_limits<double>::infinity();
  } else {
    // The richer model contains the simpler one: its sum of squares is not larger, up to
    // round-off, which must not make F negative.
    const long double fall = std::max(simpler.omega - richer.omega, 0.0L);
    test.F = static_cast<double>((fall / extraParameters) / (richer.omega / richer.redundancy));
  }
  test.state = NestedTestState::Tested;
  test.critical = fQuantile(alpha, test.numeratorDof, test.denominatorDof);
  test.significant = test.F > test.critical;
  return test;
}

}  // namespace

double fQuantile(double alpha, int numeratorDof, int denominatorDof) {
  const boost::math::fisher_f_distribution<double> distribution(numeratorDof, denominatorDof);
  return boost::math::quantile(boost::math::complement(distribution, alpha));
}

const ModelSummary& ModelComparison::summary(Model model) const {
  return model == Model::Congruent ? congruent : model == Model::Affine ? affine : helmert;
}

Model ModelComparison::preferred() const {
  if (affineAgainstHelmert.significant) return Model::Affine;
  if (helmertAgainstCongruent.state == NestedTestState::Tested && !helmertAgainstCongruent.significant)
    return Model::Congruent;
  return Model::Helmert;
}

ModelComparison compareFits(const ModelFit& congruent, const ModelFit& helmert, const ModelFit& affine, double alpha) {
  ModelComparison comparison;
  comparison.alpha = alpha;
  comparison.congruent = summaryOf(congruent);
  comparison.helmert = summaryOf(helmert);
  comparison.affine = summaryOf(affine);
  comparison.helmertAgainstCongruent = nestedTest(congruent, helmert, 1, alpha);
  comparison.affineAgainstHelmert = nestedTest(helmert, affine, 2, alpha);
  return comparison;
}

ModelComparison compareModels(const PointList& oldPairs, const PointList& newPairs, const std::vector<bool>& active,
                              double alpha) {
  return compareFits(fitModel(Model::Congruent, oldPairs, newPairs, active),
                     fitModel(Model::Helmert, oldPairs, newPairs, active),
                     fitModel(Model::Affine, oldPairs, newPairs, active), alpha);
}

}  // namespace models
