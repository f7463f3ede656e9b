// What one run of tramis-cli found out, gathered for the report writers (protocol, JSON,
// PROJ operation). The writers only format; they decide nothing.
#pragma once

#include "ControlPointAnalysis.h"
#include "CoordinateReader.h"
#include "DistributionReport.h"
#include "HelmertRedundancy.h"
#include "Keltransformation.h"
#include "ModelComparison.h"
#include "Options.h"
#include "ParameterRun.h"
#include "PointFileFormat.h"
#include "PointList.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace cli {

enum class Outcome {
  Success,
  InputError,      // a file could not be read, a bad line under --strict, refused pairing
  EmptyInput,      // the window's "Solv Error"
  TooFewPairs,     // the window's first "Solve Error"
  PointsCoincide,  // the window's second "Solve Error"; the centroids are known
  PointsCollinear,  // --model affine: the active old points on one line; the centroids are known
  NotRepresentable,  // the estimate does not fit into a double; the centroids are known
  WriteFailed,     // the result file could not be written; the estimate is known
  DistributionFailed,  // --distribute could not be set up; the estimate is known
};

struct InputFile {
  std::string path;
  std::size_t pointCount = 0;
  std::vector<BadLine> badLines;  // every line that held no point
  // How the file was read; unset with --apply, whose stream reads a coordinate list.
  std::optional<pointfiles::PointFileFormat> format;
};

struct Report {
  bool applyOnly = false;  // --apply: known parameters, no estimate
  Outcome outcome = Outcome::Success;
  std::string message;     // the German message of a failed outcome

  InputFile oldFile;
  InputFile newFile;  // not used with --apply; with --points the same file as oldFile
  Pairing pairing = Pairing::ByPosition;

  // The control point pairs in the solver's row order: pair i is oldPairs point i with
  // newPairs point i. Null with --apply.
  const PointList* oldPairs = nullptr;
  const PointList* newPairs = nullptr;
  std::size_t nameMismatches = 0;      // position pairs with differing names
  std::vector<std::string> onlyOld;    // --pair-by-name: names without partner
  std::vector<std::string> onlyNew;

  const kel::TKEL_Vovezorevarovaduvorir* solver = nullptr;
  compute::ParameterRun run;  // scale, rotation and So; with --apply scale and rotation only
  // The control-point analysis of the estimate (the run above is its run); null with --apply.
  const analysis::ControlPointAnalysis* pairAnalysis = nullptr;
  double alpha = analysis::kDefaultAlpha;  // the point test's significance level
  // --model: the model asked for (unset: Helmert, and no comparison; ModelReport.h), and the
  // comparison of the three models on the active pairs (with --model and an estimate).
  std::optional<models::Model> model;
  std::optional<models::ModelComparison> comparison;

  std::string resultPath;              // the result file written, empty when none
  std::size_t transformedPoints = 0;   // lines in the result file
  ResultFormat resultFormat = ResultFormat::Erg;
  std::string pointsOutPath;           // --points-out written, empty when none
  std::size_t pointsOutPairs = 0;      // pairs in it
  // --distribute, --transform, --tinshift; null when none of them was given.
  const DistributionReport* distribution = nullptr;

  // Whether the values of each part are known for this outcome.
  bool hasCentroids() const {
    return !applyOnly && (outcome == Outcome::Success || outcome == Outcome::PointsCoincide ||
                          outcome == Outcome::PointsCollinear || outcome == Outcome::NotRepresentable ||
                          outcome == Outcome::WriteFailed || outcome == Outcome::DistributionFailed);
  }
  bool hasParameters() const {
    return applyOnly ? outcome != Outcome::InputError && outcome != Outcome::NotRepresentable
                     : outcome == Outcome::Success || outcome == Outcome::WriteFailed ||
                           outcome == Outcome::DistributionFailed;
  }
  bool hasResiduals() const { return !applyOnly && hasParameters(); }
  // Whether the per-pair analysis is known: residuals of all pairs, gaps, the point test.
  bool hasAnalysis() const {
    return hasResiduals() && pairAnalysis != nullptr && pairAnalysis->outcome == analysis::AnalysisOutcome::Success;
  }
};

// The redundancy of the estimate of n pairs, under the name the report writers use.
inline long long redundancy(int pairCount) { return kel::helmertRedundancy(pairCount); }

}  // namespace cli
