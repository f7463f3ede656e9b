// What --model adds to the text protocol and to JSON, from the model's analysis and the
// comparison of the three models.
#include "ModelReport.h"

#include "AnalysisTexts.h"
#include "Json.h"
#include "ModelTexts.h"
#include "ProjOperation.h"
#include "TextConversions.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace cli {

namespace {

using models::Model;

// As the protocol's other value lines: values right-aligned on their last digit.
constexpr std::size_t kValueWidth = 16;
constexpr std::size_t kNameWidth = 22;
constexpr std::size_t kFigureWidth = 10;

std::size_t characters(std::string_view text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(),
                                                [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string padLeft(std::string_view text, std::size_t width) {
  const std::size_t shown = characters(text);
  return std::string(shown < width ? width - shown : 1, ' ') + std::string(text);
}

std::string padRight(std::string_view text, std::size_t width) {
  const std::size_t shown = characters(text);
  return std::string(text) + std::string(shown < width ? width - shown : 0, ' ');
}

std::string fixed(long double value, int digits, char sep) {
  return toolkit::FloatToStrF(value, toolkit::TFloatFormat::ffFixed, 10, digits, sep);
}

std::string number(long double value) { return roundTripText(static_cast<double>(value)); }

const char* stateKey(models::NestedTestState state) {
  switch (state) {
    case models::NestedTestState::Tested: return "tested";
    case models::NestedTestState::TooFewPairs: return "tooFewPairs";
    case models::NestedTestState::NotEstimated: return "notEstimated";
    case models::NestedTestState::ExactFit: return "exactFit";
    case models::NestedTestState::NoLevel: return "noLevel";
  }
  return "notEstimated";
}

// "Helmert – kongruent": the richer model against the simpler one.
std::string testName(const models::NestedTest& test) {
  return std::string(analysis::modelName(test.richer)) + " – " + analysis::modelName(test.simpler);
}

}  // namespace

Model reportModel(const Report& report) { return report.model.value_or(Model::Helmert); }

bool otherThanHelmert(const Report& report) { return reportModel(report) != Model::Helmert; }

ResidualSums residualSums(const Report& report) {
  if (!otherThanHelmert(report)) return {report.solver->residual_rw_sum(), report.solver->residual_hw_sum()};
  ResidualSums sums;
  for (const analysis::PairStatistics& pair : report.pairAnalysis->pairs)
    if (pair.active) {
      sums.rw += pair.vRW();
      sums.hw += pair.vHW();
    }
  return sums;
}

std::string modelHeadLine(const Report& report) {
  if (!otherThanHelmert(report)) return "Helmert-Transformation Alt -> Neu\n";
  const Model model = reportModel(report);
  return std::string(analysis::modelTitle(model)) + " Alt -> Neu\nModell:     " + analysis::modelFormula(model) + "\n";
}

void writeModelParameters(ChunkedOutput& out, const Report& report, char sep) {
  const analysis::ControlPointAnalysis& result = *report.pairAnalysis;
  std::vector<analysis::ParameterLine> lines = analysis::parameterLines(result, sep);
  lines.push_back({"So", fixed(report.run.So, 4, sep), ""});
  std::size_t labelWidth = 0;
  for (const analysis::ParameterLine& line : lines) labelWidth = std::max(labelWidth, characters(line.label));
  out << "\nParameter\n";
  for (const analysis::ParameterLine& line : lines)
    out << "  " + padRight(line.label, labelWidth) + " = " + padLeft(line.value, kValueWidth) +
               (line.unit.empty() ? "" : " " + line.unit) + "\n";
  if (result.model == Model::Congruent) out << "  Maßstab 1 (fest)\n";
  out << "  " + analysis::activeCountLine(result) + "\n";
}

void writeModelComparison(ChunkedOutput& out, const Report& report, char sep) {
  const models::ModelComparison& comparison = *report.comparison;
  out << "\nModellvergleich (α = " + analysis::alphaText(comparison.alpha, sep) + ")\n";
  out << "  " + padRight("Modell", kNameWidth) + padLeft("So", kFigureWidth) + padLeft("f", kFigureWidth) + "\n";
  for (const Model model : models::kAllModels) {
    const models::ModelSummary& summary = comparison.summary(model);
    const bool fitted = summary.outcome == models::FitOutcome::Success;
    out << "  " + padRight(analysis::modelName(model), kNameWidth) +
               padLeft(fitted && summary.redundancy > 0 ? fixed(summary.So, 4, sep) : analysis::kNotAvailableText, kFigureWidth) +
               padLeft(std::to_string(summary.redundancy), kFigureWidth) + "\n";
  }
  out << "  " + padRight("Test", kNameWidth) + padLeft("F", kFigureWidth) + padLeft("k", kFigureWidth) + "\n";
  for (const models::NestedTest* test : {&comparison.helmertAgainstCongruent, &comparison.affineAgainstHelmert}) {
    const bool tested = test->state == models::NestedTestState::Tested;
    out << "  " + padRight(testName(*test), kNameWidth) +
               padLeft(tested ? analysis::testValueText(test->F, sep) : analysis::kNotAvailableText, kFigureWidth) +
               padLeft(tested ? analysis::testValueText(test->critical, sep) : analysis::kNotAvailableText, kFigureWidth) + "\n";
  }
  out << analysis::nestedTestLine(comparison.helmertAgainstCongruent, comparison.alpha, sep) + "\n";
  out << analysis::nestedTestLine(comparison.affineAgainstHelmert, comparison.alpha, sep) + "\n";
  out << analysis::preferredModelLine(comparison, sep) + "\n";
}

void writeModelJson(ChunkedOutput& out, const Report& report) {
  const analysis::ControlPointAnalysis& result = *report.pairAnalysis;
  const models::PlaneTransformation& t = result.transformation;
  // Factors rounded to double, as the parameter lines show them.
  out << "  \"parameters\": {\"Xo\": " << number(t.Xo) << ", \"Yo\": " << number(t.Yo);
  if (result.model == Model::Affine) {
    const models::AffineShape shape = models::affineShape(t);
    out << ", \"a1\": " << number(t.a1) << ", \"a2\": " << number(t.a2) << ", \"b1\": " << number(t.b1)
        << ", \"b2\": " << number(t.b2) << "},\n";
    out << "  \"mRW\": " << roundTripText(shape.scaleRW) << ",\n";
    out << "  \"mHW\": " << roundTripText(shape.scaleHW) << ",\n";
    out << "  \"rotationGon\": " << roundTripText(shape.rotationGon) << ",\n";
    out << "  \"shearGon\": " << roundTripText(shape.shearGon) << ",\n";
  } else {
    out << ", \"a\": " << number(t.a1) << ", \"o\": " << number(t.a2) << "},\n";
    // The congruent model holds the scale at 1.
    out << "  \"m\": 1,\n";
    out << "  \"dGon\": " << roundTripText(report.run.rotation) << ",\n";
  }
  out << "  \"So\": " << roundTripText(report.run.So) << ",\n";
  out << "  \"proj\": " << jsonString(projOperation(t)) << ",\n";
}

void writeModelComparisonJson(ChunkedOutput& out, const Report& report) {
  const models::ModelComparison& comparison = *report.comparison;
  out << "  \"modelComparison\": {\"alpha\": " << roundTripText(comparison.alpha) << ", \"models\": {";
  for (const Model model : models::kAllModels) {
    const models::ModelSummary& summary = comparison.summary(model);
    const bool fitted = summary.outcome == models::FitOutcome::Success && summary.redundancy > 0;
    out << (model == Model::Congruent ? "" : ", ") << jsonString(analysis::modelKey(model))
        << ": {\"So\": " << (fitted ? roundTripText(summary.So) : "null")
        << ", \"f\": " << std::to_string(summary.redundancy) << "}";
  }
  out << "},\n    \"tests\": [";
  for (const models::NestedTest* test : {&comparison.helmertAgainstCongruent, &comparison.affineAgainstHelmert}) {
    const bool tested = test->state == models::NestedTestState::Tested;
    // JSON has no infinity: an infinite F is null, marked as such.
    const bool infinite = tested && std::isinf(test->F);
    out << (test == &comparison.helmertAgainstCongruent ? "\n" : ",\n")
        << "      {\"simpler\": " << jsonString(analysis::modelKey(test->simpler))
        << ", \"richer\": " << jsonString(analysis::modelKey(test->richer))
        << ", \"state\": " << jsonString(stateKey(test->state))
        << ", \"F\": " << (tested && !infinite ? roundTripText(test->F) : "null")
        << (infinite ? ", \"FInfinite\": true" : "")
        << ", \"dof\": [" << std::to_string(test->numeratorDof) << ", " << std::to_string(test->denominatorDof) << "]"
        << ", \"k\": " << (tested ? roundTripText(test->critical) : "null")
        << ", \"significant\": " << (test->significant ? "true" : "false")
        << ", \"verdict\": " << jsonString(analysis::nestedTestLine(*test, comparison.alpha, ','))
        << "}";
  }
  out << "\n    ],\n    \"preferred\": " << jsonString(analysis::modelKey(comparison.preferred()))
      << ", \"verdict\": " << jsonString(analysis::preferredModelLine(comparison, ',')) << "},\n";
}

}  // namespace cli
