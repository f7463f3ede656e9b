// Estimating and applying: reads the coordinate files with the window's reader, reports bad
// lines and pairing problems on the error stream, runs the window's parameter run or takes
// known parameters, writes the result file with the window's writer (--apply streams the
// file through the same line parsing and result-line format), and hands the outcome to the
// chosen report writer.
#include "Commands.h"

#include "ControlPairsFile.h"
#include "CorrectedTransform.h"
#include "CsvFile.h"
#include "DistributionRun.h"
#include "Exclusion.h"
#include "InputFormat.h"
#include "Json.h"
#include "MessageCaptions.h"
#include "ModelReport.h"
#include "ModelTexts.h"
#include "Pairing.h"
#include "ProjOperation.h"
#include "ProjPipeline.h"
#include "Protocol.h"
#include "ReaderMessages.h"
#include "Report.h"
#include "ReportFile.h"
#include "ResultFile.h"
#include "StreamingApply.h"
#include "TextConversions.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <utility>

namespace cli {

namespace {

// The caption of failures of the input's content (--strict, pairing, no point read).
constexpr const char* kErrorCaption = "Error";

char separatorFor(const Options& options) {
  return options.decimalSeparator != 0 ? options.decimalSeparator
                                       : toolkit::RegionalDecimalSeparator();
}

// The window's question, with the answer that this run gives in place of a button.
void reportBadLine(std::ostream& err, const std::string& path, const BadLine& line, bool stop) {
  err << toolkit::DisplayText(path) << ':' << line.lineNumber << ":\n"
      << input::badValueMessage(path, line) << '\n'
      << (stop ? "-> Abbrechen (--strict): das Einlesen endet hier.\n\n"
               : "-> OK: die Zeile wird übersprungen.\n\n");
}

// A failed step: the outcome, the caption of the window's message box and the message.
struct Failure {
  Outcome outcome = Outcome::Success;
  std::string caption;
  std::string message;
  bool failed() const { return outcome != Outcome::Success; }
};

// The bad-line handler of a run: reports each line at once and answers as --strict says.
BadLineHandler badLineReporter(const std::string& path, bool strict, InputFile& file,
                               std::ostream& err) {
  return [&path, strict, &file, &err](const BadLine& line) {
    file.badLines.push_back(line);
    reportBadLine(err, path, line, strict);
    return strict ? BadLineAnswer::Stop : BadLineAnswer::Continue;
  };
}

// What reading a coordinate file ended with, as a failure of the run.
Failure readFailure(const std::string& path, ReadStatus status, const InputFile& file) {
  switch (status) {
    case ReadStatus::Complete:
      return {};
    case ReadStatus::StoppedByUser:
      return {Outcome::InputError, kErrorCaption,
              "Einlesen von " + toolkit::DisplayText(path) + " in Zeile " +
                  std::to_string(file.badLines.back().lineNumber) + " abgebrochen (--strict)."};
    case ReadStatus::OpenFailed:
      return {Outcome::InputError, toolkit::kFileErrorCaption, input::openErrorMessage(path)};
    case ReadStatus::ReadFailed:
      break;
  }
  return {Outcome::InputError, toolkit::kFileErrorCaption, input::readErrorMessage(path)};
}

// Reads one coordinate file; bad lines are reported at once and either skipped or, with
// --strict, end the reading. A QGIS .points file gives the old system (`side` Source) its
// source and the new one (Map) its map coordinates.
Failure readInput(const Options& options, const std::string& path, pointfiles::ControlPairSide side,
                  PointList& points, InputFile& file, std::ostream& err) {
  file.path = path;
  pointfiles::PointFileFormat format;
  const ReadStatus status = readCoordinateFile(path, points, badLineReporter(path, options.strict, file, err),
                                               formatRequest(options, side), &format);
  if (status != ReadStatus::OpenFailed) file.format = format;
  file.pointCount = points.count();
  return readFailure(path, status, file);
}

// --points: both systems and the pairs' activity from one QGIS file; both input files of
// the report are that file.
Failure readControlPairs(const Options& options, PointList& oldPoints, PointList& newPoints,
                         std::vector<bool>& active, Report& report, std::ostream& err) {
  const std::string& path = options.pointsPath;
  const ReadStatus status =
      readControlPairsFile(path, oldPoints, newPoints, active, report.oldFile,
                           badLineReporter(path, options.strict, report.oldFile, err));
  report.newFile = report.oldFile;
  return readFailure(path, status, report.oldFile);
}

Failure estimationFailure(compute::ParameterOutcome outcome) {
  switch (outcome) {
    case compute::ParameterOutcome::EmptyInput:
      return {Outcome::EmptyInput, compute::kSolvErrorCaption, compute::kEmptyInputMessage};
    case compute::ParameterOutcome::TooFewPairs:
      return {Outcome::TooFewPairs, compute::kSolveErrorCaption, compute::kTooFewPairsMessage};
    case compute::ParameterOutcome::PointsCoincide:
      return {Outcome::PointsCoincide, compute::kSolveErrorCaption,
              compute::kPointsCoincideMessage};
    case compute::ParameterOutcome::NotRepresentable:
      return {Outcome::NotRepresentable, compute::kSolveErrorCaption,
              compute::kNotRepresentableMessage};
    case compute::ParameterOutcome::Success:
      break;
  }
  return {};
}

// The estimate of the congruent or the affine model that failed where Helmert succeeded:
// too few pairs for the affine model, or its points on one line.
Failure modelFailure(const analysis::ControlPointAnalysis& analysis) {
  const std::string message = analysis::outcomeMessage(analysis.outcome, analysis.model);
  switch (analysis.outcome) {
    case analysis::AnalysisOutcome::TooFewActive:
      return {Outcome::TooFewPairs, compute::kSolveErrorCaption, message};
    case analysis::AnalysisOutcome::PointsCoincide:
      return {Outcome::PointsCoincide, compute::kSolveErrorCaption, message};
    case analysis::AnalysisOutcome::PointsCollinear:
      return {Outcome::PointsCollinear, compute::kSolveErrorCaption, message};
    case analysis::AnalysisOutcome::NotRepresentable:
      return {Outcome::NotRepresentable, compute::kSolveErrorCaption, message};
    case analysis::AnalysisOutcome::Success:
      break;
  }
  return {};
}

// A result file that could not be written, with the writer's reason.
Failure writeFailure(const Options& options, const output::WriteResult& written) {
  return {Outcome::WriteFailed, toolkit::kFileErrorCaption,
          output::writeErrorMessage(toolkit::DisplayText(options.resultPath), written.reason)};
}

// The result file in the chosen format, transformed with `transformation`.
template <class Transformation>
output::WriteResult writeResultAs(const Options& options, const PointList& oldPoints,
                                  const Transformation& transformation) {
  return options.resultFormat == ResultFormat::Csv
             ? pointfiles::writeCsvResultFile(options.resultPath, oldPoints, transformation,
                                              separatorFor(options) == ',' ? pointfiles::DecimalMark::Comma
                                                                           : pointfiles::DecimalMark::Point)
             : output::writeResultFile(options.resultPath, oldPoints, transformation);
}

// The result file, transformed with the solver's parameters or, for the congruent and the
// affine model, with the model's transformation. `corrected`, when given, is the Helmert
// transformation with the Restklaffenverteilung.
Failure writeResult(const Options& options, const PointList& oldPoints,
                    const kel::TKEL_Vovezorevarovaduvorir& solver, const stream::PointTransform* corrected,
                    Report& report) {
  if (options.resultPath.empty()) return {};
  const output::WriteResult written =
      corrected ? output::writeResultFile(options.resultPath, oldPoints,
                                          [corrected](double rw, double hw) { return (*corrected)(rw, hw); })
      : otherThanHelmert(report) ? writeResultAs(options, oldPoints, report.pairAnalysis->transformation)
                                 : writeResultAs(options, oldPoints, solver);
  if (!written.ok) return writeFailure(options, written);
  report.resultPath = options.resultPath;
  report.transformedPoints = oldPoints.count();
  report.resultFormat = options.resultFormat;
  return {};
}

// --points-out: the pairs with their activity and residuals, for the QGIS georeferencer.
Failure writePointsOut(const Options& options, Report& report) {
  if (options.pointsOutPath.empty() || !report.hasAnalysis()) return {};
  const output::WriteResult written = writeControlPairsFile(options.pointsOutPath, report);
  if (!written.ok)
    return {Outcome::WriteFailed, toolkit::kFileErrorCaption,
            output::writeErrorMessage(toolkit::DisplayText(options.pointsOutPath), written.reason)};
  report.pointsOutPath = options.pointsOutPath;
  report.pointsOutPairs = report.pairAnalysis->pairCount;
  return {};
}

// --report: the HTML protocol of a successful estimate.
Failure writeReport(const Options& options, const Report& report) {
  if (options.reportPath.empty() || !report.hasAnalysis()) return {};
  const output::WriteResult written = writeReportFile(options, report, separatorFor(options));
  if (!written.ok)
    return {Outcome::WriteFailed, toolkit::kFileErrorCaption,
            output::writeErrorMessage(toolkit::DisplayText(options.reportPath), written.reason)};
  return {};
}

// Prints the failure (if any) and the report in the chosen form; returns the exit code.
int finish(const Options& options, Report& report, const Failure& failure, std::ostream& out,
           std::ostream& err) {
  report.outcome = failure.failed() ? failure.outcome : Outcome::Success;
  report.message = failure.message;
  if (failure.failed()) err << failure.caption << ": " << failure.message << '\n';

  int exitCode = failure.failed() ? kExitBadInput : kExitSuccess;
  switch (options.format) {
    case OutputFormat::Json:
      writeJson(out, report);
      break;
    case OutputFormat::Proj:
      if (!report.hasParameters()) break;
      if (otherThanHelmert(report)) {
        out << projOperation(report.pairAnalysis->transformation) << '\n';
        break;
      }
      if (report.run.scale == 0) {
        // PROJ refuses s=0 in its two-dimensional form.
        err << "Maßstab m = 0: dafür gibt es keine PROJ-Operation.\n";
        exitCode = kExitBadInput;
        break;
      }
      // With --distribute the operation is the pipeline or nothing: the helmert step alone
      // would silently leave out the distribution.
      if (options.distribute) {
        if (report.distribution && !report.distribution->tinshiftPath.empty())
          out << projPipeline(*report.solver, report.distribution->tinshiftPath) << '\n';
        break;
      }
      out << projOperation(*report.solver) << '\n';
      break;
    case OutputFormat::Protocol:
      if (report.outcome != Outcome::InputError) writeProtocol(out, report, separatorFor(options));
      break;
  }
  out.flush();
  return exitCode;
}

// Streams the old-system file `path` through `transform` to the result file (-o): bad
// lines are reported as they come, in file order; the result file is written block by
// block through the safe writer.
Failure streamToResult(const Options& options, const std::string& path, const stream::PointTransform& transform,
                       InputFile& file, Report& report, std::ostream& err) {
  const stream::ApplyResult applied =
      stream::applyToFile(path, options.resultPath, transform, badLineReporter(path, options.strict, file, err));
  file.pointCount = applied.points;
  Failure failure = readFailure(path, applied.read, file);
  if (!failure.failed() && applied.noPointRead())
    failure = {Outcome::InputError, kErrorCaption,
               "In " + toolkit::DisplayText(path) + " ist keine Zeile ein Punkt (" +
                   std::to_string(applied.badLines) +
                   (applied.badLines == 1 ? " fehlerhafte Zeile" : " fehlerhafte Zeilen") +
                   "); es wurde nichts geschrieben."};
  if (!failure.failed() && !applied.written.ok) failure = writeFailure(options, applied.written);
  if (applied.fileWritten) {
    report.resultPath = options.resultPath;
    report.transformedPoints = applied.points;
  }
  return failure;
}

// --transform: the other old-system file, streamed to -o with this run's estimate (and
// distribution).
Failure transformFile(const Options& options, const stream::PointTransform& transform,
                      DistributionReport& distributionReport, Report& report, std::ostream& err) {
  InputFile file;
  file.path = options.transformPath;
  const Failure failure = streamToResult(options, options.transformPath, transform, file, report, err);
  distributionReport.transformed = TransformedFile{file.path, file.pointCount, 0, file.badLines};
  return failure;
}

int estimate(const Options& options, std::ostream& out, std::ostream& err) {
  PointList oldPoints;
  PointList newPoints;
  kel::TKEL_Vovezorevarovaduvorir solver;
  pairing::PairsInForce pairs;
  std::vector<bool> fileActive;  // --points: the pairs the file switches off
  Report report;
  report.solver = &solver;
  report.pairing = options.pairing;

  Failure failure;
  if (!options.pointsPath.empty()) {
    failure = readControlPairs(options, oldPoints, newPoints, fileActive, report, err);
  } else {
    failure = readInput(options, options.oldPath, pointfiles::ControlPairSide::Source, oldPoints,
                        report.oldFile, err);
    if (!failure.failed())
      failure = readInput(options, options.newPath, pointfiles::ControlPairSide::Map, newPoints,
                          report.newFile, err);
  }
  if (failure.failed()) return finish(options, report, failure, out, err);

  if (const std::string refusal = pairControlPoints(oldPoints, newPoints, report, pairs, err); !refusal.empty())
    return finish(options, report, {Outcome::InputError, kErrorCaption, refusal}, out, err);

  // --exclude switches pairs off; the estimate then comes from the others alone.
  ExclusionResult exclusion;
  if (!options.exclude.empty()) {
    exclusion = resolveExcludeList(options.exclude, options.pairing, *report.oldPairs,
                                   std::min(report.oldPairs->count(), report.newPairs->count()));
    if (!exclusion.ok()) {
      err << "tramis-cli: " << exclusion.error << '\n' << usageHint();
      return kExitUsage;
    }
  }
  const std::vector<bool> active = activeInBoth(fileActive, exclusion.active);
  // Helmert's analysis always: its solver gives the centroids and the solver's status.
  const analysis::ControlPointAnalysis helmertAnalysis =
      analysis::analyseControlPoints(*report.oldPairs, *report.newPairs, active, options.alpha, solver);
  report.model = options.model;
  report.alpha = options.alpha;
  report.run = helmertAnalysis.run;
  report.pairAnalysis = &helmertAnalysis;
  failure = estimationFailure(report.run.outcome);
  // Every pair switched off leaves nothing to estimate from: too few pairs, not empty files.
  if (helmertAnalysis.pairCount != 0 && helmertAnalysis.activeCount == 0)
    failure = estimationFailure(compute::ParameterOutcome::TooFewPairs);
  // --model congruent or affine: that model's estimate and point test take Helmert's place.
  std::optional<analysis::ControlPointAnalysis> modelAnalysis;
  if (!failure.failed() && otherThanHelmert(report)) {
    modelAnalysis = analysis::analyseModel(*options.model, *report.oldPairs, *report.newPairs, active, options.alpha);
    report.run = modelAnalysis->run;
    report.pairAnalysis = &*modelAnalysis;
    failure = modelFailure(*modelAnalysis);
  }
  if (!failure.failed() && options.model)
    report.comparison = models::compareModels(*report.oldPairs, *report.newPairs, active, options.alpha);
  // Only a successful estimate is written: the window would write the parameters of an
  // earlier run, of which a single command has none.
  DistributionReport distributionReport;
  DistributionRun distributionRun;
  if (options.distribute || !options.transformPath.empty()) report.distribution = &distributionReport;
  if (!failure.failed() && options.distribute) {
    if (std::string message = setUpDistribution(options, report, distributionRun); !message.empty())
      failure = {Outcome::DistributionFailed, kErrorCaption, std::move(message)};
    else
      distributionReport.summary = summarizeDistribution(distributionRun, report, oldPoints);
  }
  const stream::HelmertTransform helmert(solver);
  std::optional<stream::CorrectedTransform> corrected;
  if (distributionRun.distribution) corrected.emplace(solver, *distributionRun.distribution);
  if (!failure.failed() && !options.tinshiftPath.empty()) {
    const output::WriteResult written = writeTinshiftFile(options.tinshiftPath, distributionRun, solver);
    if (!written.ok)
      failure = {Outcome::WriteFailed, toolkit::kFileErrorCaption,
                 output::writeErrorMessage(toolkit::DisplayText(options.tinshiftPath), written.reason)};
    else
      distributionReport.tinshiftPath = options.tinshiftPath;
  }
  if (!failure.failed()) {
    if (options.transformPath.empty())
      failure = writeResult(options, oldPoints, solver, corrected ? &*corrected : nullptr, report);
    else
      failure = transformFile(options, corrected ? static_cast<const stream::PointTransform&>(*corrected) : helmert,
                              distributionReport, report, err);
    if (corrected && distributionReport.transformed) distributionReport.transformed->uncorrected = corrected->uncorrected();
  }
  if (!failure.failed()) failure = writePointsOut(options, report);
  if (!failure.failed()) failure = writeReport(options, report);
  return finish(options, report, failure, out, err);
}

// --apply: streams ALT through the known parameters.
int apply(const Options& options, std::ostream& out, std::ostream& err) {
  kel::TKEL_Vovezorevarovaduvorir solver;
  Report report;
  report.applyOnly = true;
  report.solver = &solver;

  const KnownParameters& known = *options.apply;
  solver.Xo = known.Xo;
  solver.Yo = known.Yo;
  solver.a = known.a;
  solver.o = known.o;
  // Scale and rotation shown beside the given parameters, derived as the estimate derives them.
  const compute::ScaleAndRotation derived = compute::scaleAndRotation(known.a, known.o);
  report.run.scale = derived.scale;
  report.run.rotation = derived.rotationGon;
  report.run.outcome = compute::ParameterOutcome::Success;
  // a and o so large that m is infinite: no point but the origin would transform.
  if (!std::isfinite(derived.scale))
    return finish(options, report, estimationFailure(compute::ParameterOutcome::NotRepresentable), out, err);

  InputFile& file = report.oldFile;
  file.path = options.oldPath;
  const Failure failure = streamToResult(options, options.oldPath, stream::HelmertTransform(solver), file, report, err);
  return finish(options, report, failure, out, err);
}

}  // namespace

int runCommand(const Options& options, std::ostream& out, std::ostream& err) {
  return options.apply ? apply(options, out, err) : estimate(options, out, err);
}

}  // namespace cli
