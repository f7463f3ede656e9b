// The Restklaffenverteilung of one run of tramis-cli: set up from the estimate's active
// pairs, summed up for the reports, and written as a PROJ tinshift file.
#pragma once

#include "DistributionReport.h"
#include "Options.h"
#include "Report.h"
#include "ResidualDistribution.h"
#include "SafeFileWriter.h"

#include <Keltransformation.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace cli {

struct DistributionRun {
  // The active pairs: old position and residual (observed new - transformed old).
  std::vector<distribution::ControlPoint> controlPoints;
  std::vector<std::size_t> pairOf;  // the pair index of each control point
  std::unique_ptr<const distribution::ResidualDistribution> distribution;
};

// The settings that --distribute, --idw-radius and --mq-delta ask for.
distribution::Settings distributionSettings(const Options& options);

// Sets up the distribution of `options` on the estimate of `report` (its analysis must be
// known). Returns why it cannot be set up, in German; empty on success.
std::string setUpDistribution(const Options& options, const Report& report, DistributionRun& run);

// The corrections at the points of ALT and the check points' deviations after the
// distribution.
distribution::CorrectionSummary summarizeDistribution(const DistributionRun& run, const Report& report,
                                          const PointList& oldPoints);

// --tinshift: the triangles as a PROJ tinshift file, written safely to `path`.
output::WriteResult writeTinshiftFile(const std::string& path, const DistributionRun& run,
                                      const kel::TKEL_Vovezorevarovaduvorir& solver);

}  // namespace cli
