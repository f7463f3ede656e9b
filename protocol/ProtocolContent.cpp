// Gathers the protocol's texts from the analysis, with the formats of the main window
// (parameters, centroids), of the analysis (residuals, gaps, r, T, k, verdict) and of the
// result file's neighbours (coordinates as the centroid labels show them).
#include "ProtocolContent.h"

#include "AnalysisTexts.h"
#include "ModelTexts.h"
#include "PairCells.h"
#include "ParameterRun.h"
#include "TextConversions.h"

#include <utility>

namespace protocol {

namespace {

struct ColumnInfo {
  const char* heading;
  bool numeric;
};

constexpr ColumnInfo kColumns[kPairColumnCount] = {
    {"Pkt.", true},  {"Name", false}, {"rw alt", true}, {"hw alt", true}, {"RW neu", true},
    {"HW neu", true}, {"vRW", true},  {"vHW", true},    {"Klaffe", true}, {"r", true},
    {"T", true},      {"Ausreißer", false}, {"Status", false}};

std::string countText(std::size_t count, const char* one, const char* many) {
  return toolkit::IntToStr(static_cast<long long>(count)) + " " + (count == 1 ? one : many);
}

LabelledValue fileLine(const char* label, const ProtocolFile& file) {
  std::string note = countText(file.pointCount, "Punkt", "Punkte");
  if (file.skippedLines != 0)
    note += ", " + countText(file.skippedLines, "fehlerhafte Zeile", "fehlerhafte Zeilen") +
            " übersprungen";
  return {label, toolkit::DisplayText(file.path), note};
}

}  // namespace

PairRow pairRow(const ProtocolSource& source, std::size_t i, char sep) {
  const analysis::PairStatistics& pair = source.analysis->pairs[i];
  const PointList& oldPairs = *source.oldPairs;
  const PointList& newPairs = *source.newPairs;
  PairRow row;
  row.active = pair.active;
  row.outlier = pair.outlier;
  row.cells.resize(kPairColumnCount);
  std::vector<std::string>& cells = row.cells;
  cells[kColumnNumber] = toolkit::IntToStr(static_cast<long long>(i) + 1);
  cells[kColumnName] = analysis::pairName(oldPairs, newPairs, i);
  cells[kColumnOldRW] = compute::coordinateText(oldPairs.rw[i], sep);
  cells[kColumnOldHW] = compute::coordinateText(oldPairs.hw[i], sep);
  cells[kColumnNewRW] = compute::coordinateText(newPairs.rw[i], sep);
  cells[kColumnNewHW] = compute::coordinateText(newPairs.hw[i], sep);
  cells[kColumnVRW] = analysis::gapText(pair.vRW(), sep);
  cells[kColumnVHW] = analysis::gapText(pair.vHW(), sep);
  const analysis::ControlPointAnalysis& result = *source.analysis;
  cells[kColumnGap] = analysis::pairCellText(result, pair, analysis::PairFigure::Gap, sep);
  cells[kColumnR] = analysis::pairCellText(result, pair, analysis::PairFigure::Share, sep);
  cells[kColumnT] = analysis::pairCellText(result, pair, analysis::PairFigure::Test, sep);
  cells[kColumnOutlier] = pair.outlier ? analysis::kOutlierMark : "";
  cells[kColumnState] = pair.active ? "aktiv" : "aus";
  return row;
}

std::size_t pairCount(const ProtocolSource& source) { return source.analysis->pairs.size(); }

std::string pairLabel(const ProtocolSource& source, std::size_t i) {
  return analysis::pairLabel(*source.oldPairs, *source.newPairs, i);
}

namespace {

// The parameters of a congruent or affine estimate and So, as the dialog shows them.
std::vector<LabelledValue> modelParameters(const analysis::ControlPointAnalysis& result, char sep) {
  std::vector<LabelledValue> parameters;
  for (const analysis::ParameterLine& line : analysis::parameterLines(result, sep))
    parameters.push_back({line.label, line.value, line.unit});
  parameters.push_back({"So", compute::standardDeviationText(result.run.So, sep), ""});
  return parameters;
}

void gatherParameters(const ProtocolSource& source, char sep, ProtocolContent& content) {
  const compute::ParameterRun& run = source.analysis->run;
  const compute::ParameterTexts texts = compute::parameterTexts(*source.solver, run, sep);
  content.parameters = {
      {"Xo", texts.X, ""},
      {"Yo", texts.Y, ""},
      {"a", texts.a, ""},
      {"o", texts.o, ""},
      {"Maßstab m", texts.m, ""},
      {"m − 1", compute::scalePpmText(run.scale, sep), "ppm"},
      {"Drehung d", texts.d, "gon"},
      {"So", texts.So, ""},
  };
  if (source.analysis->model != models::Model::Helmert) content.parameters = modelParameters(*source.analysis, sep);
  content.activeCount = analysis::activeCountLine(*source.analysis);

  const compute::CentroidTexts centroid = compute::centroidTexts(*source.solver, sep);
  content.centroids = {{"Ausgangssystem (alt)", centroid.RWAS, centroid.HWAS},
                       {"Zielsystem (neu)", centroid.RWZS, centroid.HWZS}};
}

void gatherTest(const ProtocolSource& source, char sep, ProtocolContent& content) {
  const analysis::ControlPointAnalysis& result = *source.analysis;
  content.test.push_back({"Irrtumswahrscheinlichkeit α", analysis::alphaText(result.alpha, sep), ""});
  const struct {
    const char* label;
    const std::optional<long double>& critical;
    long long dof;
  } criticals[] = {
      {"Grenzwert k aktiver Paßpunkte", result.criticalActive,
       result.testDof(true)},
      {"Grenzwert k abgeschalteter Paßpunkte", result.criticalSwitchedOff,
       result.testDof(false)}};
  for (const auto& critical : criticals) {
    if (critical.critical)
      content.test.push_back({critical.label, analysis::testValueText(*critical.critical, sep),
                              "F(2; " + toolkit::IntToStr(critical.dof) + ")"});
    else
      content.test.push_back({critical.label, analysis::kNotAvailableText, "zu wenige aktive Paßpunkte"});
  }
  content.verdict = analysis::verdictLine(result, *source.oldPairs, *source.newPairs, sep);
  content.failedCheckPoints = analysis::failedCheckPointLines(result, *source.oldPairs, *source.newPairs, sep);

  for (std::size_t i = 0; i < result.pairs.size(); ++i)
    if (!result.pairs[i].active) content.switchedOff.push_back(i);
}

void gatherComparison(const models::ModelComparison& comparison, char sep, ProtocolContent& content) {
  for (const models::Model model : models::kAllModels) {
    const models::ModelSummary& summary = comparison.summary(model);
    const bool estimated = summary.outcome == models::FitOutcome::Success;
    content.comparison.push_back({analysis::modelName(model),
                                  estimated ? compute::standardDeviationText(summary.So, sep) : "nicht bestimmbar",
                                  estimated ? "f = " + toolkit::IntToStr(summary.redundancy) : ""});
  }
  content.comparisonVerdicts = {analysis::nestedTestLine(comparison.helmertAgainstCongruent, comparison.alpha, sep),
                                analysis::nestedTestLine(comparison.affineAgainstHelmert, comparison.alpha, sep),
                                analysis::preferredModelLine(comparison, sep)};
}

}  // namespace

const char* pairColumnHeading(int column) { return kColumns[column].heading; }
bool pairColumnIsNumeric(int column) { return kColumns[column].numeric; }

ProtocolContent gatherProtocol(const ProtocolSource& source, char sep) {
  ProtocolContent content;
  content.title = kProtocolTitle;
  content.program = source.program;
  if (!source.version.empty()) content.program += " " + source.version;
  content.writtenAt = writtenAtText(source.writtenAt);

  for (const auto& [label, file] : {std::pair{"Altsystem", &source.oldFile}, std::pair{"Neusystem", &source.newFile}}) {
    content.files.push_back(fileLine(label, *file));
    if (!file->format.empty()) content.files.push_back({"Format", file->format, ""});
  }
  const models::Model model = source.analysis->model;
  if (model == models::Model::Helmert)
    content.model = {"RW = Yo + a · rw + o · hw,    HW = Xo + a · hw − o · rw",
                     "m = √(a² + o²),  d = arctan(o / a) in gon;  Verbesserung v = beobachtet − "
                     "berechnet, im Zielsystem"};
  else
    content.model = {analysis::modelTitle(model), analysis::modelFormula(model),
                     "Verbesserung v = beobachtet − berechnet, im Zielsystem"};
  content.pairing = source.pairing == ProtocolPairing::ByName
                        ? "nach Punktnamen"
                        : "nach Reihenfolge (i-ter Punkt alt mit i-tem Punkt neu)";

  gatherParameters(source, sep, content);
  gatherTest(source, sep, content);
  if (source.comparison) gatherComparison(*source.comparison, sep, content);
  return content;
}

}  // namespace protocol
