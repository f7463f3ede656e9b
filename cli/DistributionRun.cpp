// Setting up the distribution from the estimate's pairs, the figures the reports show, and
// the tinshift file.
#include "DistributionRun.h"

#include "AnalysisTexts.h"
#include "DistributionTexts.h"
#include "ResultFile.h"
#include "TinshiftWriter.h"
#include "TriangleInterpolation.h"

#include <cmath>
#include <sstream>

namespace cli {

namespace {

// A point of ALT as the user finds it: its name, or its place in the file.
std::string pointName(const PointList& points, std::size_t i) {
  const std::string name(points.nameAt(i));
  return name.empty() ? "Punkt " + std::to_string(i + 1) : name;
}

}  // namespace

distribution::Settings distributionSettings(const Options& options) {
  distribution::Settings settings;
  if (options.distribute) settings.method = *options.distribute;
  settings.radius = options.idwRadius;
  settings.delta = options.mqDelta;
  return settings;
}

std::string setUpDistribution(const Options& options, const Report& report, DistributionRun& run) {
  const analysis::ControlPointAnalysis& pairAnalysis = *report.pairAnalysis;
  const PointList& oldPairs = *report.oldPairs;
  for (std::size_t i = 0; i < pairAnalysis.pairs.size(); ++i) {
    const analysis::PairStatistics& pair = pairAnalysis.pairs[i];
    if (!pair.active) continue;
    run.controlPoints.push_back({oldPairs.rw[i], oldPairs.hw[i], static_cast<double>(pair.vRW()),
                                 static_cast<double>(pair.vHW())});
    run.pairOf.push_back(i);
  }
  distribution::DistributionSetup setup =
      distribution::prepareDistribution(run.controlPoints, distributionSettings(options));
  if (setup.result.problem != distribution::SetupProblem::None)
    return distribution::setupProblemMessage(setup.result, run.controlPoints.size(), [&](std::size_t j) {
      return analysis::pairLabel(oldPairs, *report.newPairs, run.pairOf[j]);
    });
  run.distribution = std::move(setup.distribution);
  return {};
}

distribution::CorrectionSummary summarizeDistribution(const DistributionRun& run, const Report& report,
                                          const PointList& oldPoints) {
  const distribution::ResidualDistribution& distribution = *run.distribution;
  distribution::CorrectionSummary summary;
  summary.settings = distribution.settings();
  summary.controlPoints = distribution.controlPointCount();
  summary.points = oldPoints.count();

  double sum = 0;
  for (std::size_t i = 0; i < oldPoints.count(); ++i) {
    const distribution::Correction c = distribution.correctionAt(oldPoints.rw[i], oldPoints.hw[i]);
    if (!c.corrected) continue;
    ++summary.corrected;
    const double length = std::hypot(c.dRW, c.dHW);
    sum += length;
    if (summary.corrected == 1 || length > summary.largest) {
      summary.largest = length;
      summary.largestName = pointName(oldPoints, i);
    }
  }
  if (summary.corrected != 0) summary.mean = sum / static_cast<double>(summary.corrected);

  // A switched-off pair is a new point to the distribution: what is left of its residual
  // after the correction is an honest check.
  const analysis::ControlPointAnalysis& pairAnalysis = *report.pairAnalysis;
  for (std::size_t i = 0; i < pairAnalysis.pairs.size(); ++i) {
    const analysis::PairStatistics& pair = pairAnalysis.pairs[i];
    if (pair.active) continue;
    const distribution::Correction c = distribution.correctionAt(report.oldPairs->rw[i], report.oldPairs->hw[i]);
    summary.checkPoints.push_back({i, analysis::pairName(*report.oldPairs, *report.newPairs, i),
                                   static_cast<double>(pair.vRW() - c.dRW), static_cast<double>(pair.vHW() - c.dHW),
                                   c.corrected});
  }
  return summary;
}

output::WriteResult writeTinshiftFile(const std::string& path, const DistributionRun& run,
                                      const kel::TKEL_Vovezorevarovaduvorir& solver) {
  const auto* triangles = dynamic_cast<const distribution::TriangleInterpolation*>(run.distribution.get());
  if (!triangles) return {false, "keine Dreiecksvermaschung"};
  std::vector<distribution::NewSystemPosition> transformedOld;
  transformedOld.reserve(run.controlPoints.size());
  for (const distribution::ControlPoint& point : run.controlPoints) {
    const output::ResultPoint t = output::transformedPoint(point.rw, point.hw, solver);
    transformedOld.push_back({t.rw, t.hw});
  }
  std::ostringstream text;
  const std::string description = "tramis-cli: Dreiecksvermaschung der Restklaffen von " +
                                  std::to_string(run.controlPoints.size()) + " Paßpunkten";
  switch (distribution::writeTinshift(text, *triangles, run.controlPoints, transformedOld, description)) {
    case distribution::TinshiftProblem::None:
      break;
    case distribution::TinshiftProblem::NoTriangles:
      return {false, "keine Dreiecke: weniger als drei Paßpunkte, die nicht auf einer Geraden liegen"};
    case distribution::TinshiftProblem::PositionCountMismatch:
    case distribution::TinshiftProblem::NonFiniteCoordinate:
      return {false, "eine Koordinate ist keine endliche Zahl"};
  }
  output::SafeFileWriter writer;
  if (!writer.open(path) || !writer.write(text.str()) || !writer.commit()) return {false, writer.error()};
  return {};
}

}  // namespace cli
