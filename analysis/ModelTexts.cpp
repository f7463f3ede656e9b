// The texts of the three transformation models and of their comparison.
#include "ModelTexts.h"

#include "AnalysisTexts.h"
#include "ParameterRun.h"
#include "TextConversions.h"

#include <cctype>

namespace analysis {

namespace {

using models::Model;
using models::NestedTestState;

std::string fixedText(long double value, int precision, int digits, char sep) {
  return toolkit::FloatToStrF(value, toolkit::TFloatFormat::ffFixed, precision, digits, sep);
}

std::string factorText(long double value, char sep) { return fixedText(value, 11, 10, sep); }

// The words of each model, in the order of models::Model.
struct ModelWords {
  const char* key;      // JSON and command line
  const char* name;     // in a sentence or table
  const char* title;
  const char* formula;
  const char* object;      // of a comparison verdict: "besser als das kongruente"
  const char* nominative;  // "das kongruente Modell"; capitalised, the verdict's subject
  const char* ofModel;     // "Kein Test des kongruenten Modells ..."
};

constexpr ModelWords kWords[] = {
    {"congruent", "kongruent", "Kongruenztransformation (3 Parameter, Maßstab 1)",
     "RW = Yo + a·rw + o·hw,   HW = Xo + a·hw − o·rw,   a = cos d, o = sin d (m = 1)", "das kongruente", "das kongruente Modell", "des kongruenten Modells"},
    {"helmert", "Helmert", "Helmert-Transformation (4 Parameter)", "RW = Yo + a·rw + o·hw,   HW = Xo + a·hw − o·rw",
     "Helmert", "das Helmert-Modell", "des Helmert-Modells"},
    {"affine", "affin", "Affintransformation (6 Parameter)", "RW = Yo + a1·rw + a2·hw,   HW = Xo + b1·rw + b2·hw",
     "das affine", "das affine Modell", "des affinen Modells"},
};

const ModelWords& wordsOf(Model model) { return kWords[static_cast<int>(model)]; }

}  // namespace

const char* modelName(Model model) { return wordsOf(model).name; }
const char* modelTitle(Model model) { return wordsOf(model).title; }
const char* modelKey(Model model) { return wordsOf(model).key; }
const char* modelFormula(Model model) { return wordsOf(model).formula; }

std::optional<Model> modelFromName(std::string_view name) {
  std::string lower;
  for (const char c : name) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const Model model : models::kAllModels) {
    if (lower == modelKey(model)) return model;
    std::string german = modelName(model);
    german[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(german[0])));
    if (lower == german) return model;
  }
  return std::nullopt;
}

std::string outcomeMessage(AnalysisOutcome outcome, Model model) {
  switch (outcome) {
    case AnalysisOutcome::Success: return {};
    case AnalysisOutcome::TooFewActive:
      return model == Model::Affine ? "Mindestens drei Paßpunkte sind für das affine Modell erforderlich."
                                    : compute::kTooFewPairsMessage;
    case AnalysisOutcome::PointsCoincide: return compute::kPointsCoincideMessage;
    case AnalysisOutcome::PointsCollinear:
      return "Die aktiven Paßpunkte liegen auf einer Geraden: das affine Modell ist damit nicht bestimmbar.";
    case AnalysisOutcome::NotRepresentable: return compute::kNotRepresentableMessage;
  }
  return {};
}

std::vector<ParameterLine> parameterLines(const ControlPointAnalysis& analysis, char sep) {
  const models::PlaneTransformation& t = analysis.transformation;
  std::vector<ParameterLine> lines = {{"Xo", fixedText(t.Xo, 11, 4, sep), ""}, {"Yo", fixedText(t.Yo, 11, 4, sep), ""}};
  // Factors as the window shows a and o: rounded to double.
  auto factor = [sep](long double value) { return factorText(static_cast<double>(value), sep); };
  if (analysis.model == Model::Affine) {
    const models::AffineShape shape = models::affineShape(t);
    lines.insert(lines.end(), {{"a1", factor(t.a1), ""},
                               {"a2", factor(t.a2), ""},
                               {"b1", factor(t.b1), ""},
                               {"b2", factor(t.b2), ""},
                               {"Maßstab m_rw", factorText(shape.scaleRW, sep), ""},
                               {"Maßstab m_hw", factorText(shape.scaleHW, sep), ""},
                               {"Drehung", factorText(shape.rotationGon, sep), "gon"},
                               {"Scherung", factorText(shape.shearGon, sep), "gon"}});
    return lines;
  }
  const models::SimilarityShape shape = models::similarityShape(t);
  lines.push_back({"a", factor(t.a1), ""});
  lines.push_back({"o", factor(t.a2), ""});
  if (analysis.model == Model::Helmert) lines.push_back({"Maßstab m", factorText(shape.scale, sep), ""});
  lines.push_back({"Drehung d", factorText(shape.rotationGon, sep), "gon"});
  return lines;
}

std::string modelSummaryLine(const models::ModelSummary& summary, char sep) {
  const std::string name = modelName(summary.model);
  if (summary.outcome != models::FitOutcome::Success) return name + ": nicht bestimmbar";
  return name + ": So = " + fixedText(summary.So, 10, 4, sep) + ", f = " + toolkit::IntToStr(summary.redundancy);
}

std::string nestedTestLine(const models::NestedTest& test, double alpha, char sep) {
  const std::string none = std::string("Kein Test ") + wordsOf(test.richer).ofModel + " gegen " +
                           wordsOf(test.simpler).object + ": ";
  switch (test.state) {
    case NestedTestState::TooFewPairs:
      return none + "dazu sind mindestens " + (test.richer == Model::Affine ? "4" : "3") + " aktive Paßpunkte nötig.";
    case NestedTestState::NotEstimated:
      return none + "die aktiven Paßpunkte bestimmen nicht beide Modelle.";
    case NestedTestState::ExactFit:
      return none + "beide passen exakt (alle Verbesserungen null).";
    case NestedTestState::NoLevel:
      return none + "α muss zwischen 0 und 1 liegen.";
    case NestedTestState::Tested: break;
  }
  std::string subject = wordsOf(test.richer).nominative;
  subject[0] = 'D';
  return subject + " ist " + (test.significant ? "" : "nicht ") +
         "signifikant besser als " + wordsOf(test.simpler).object + " (F = " + testValueText(test.F, sep) +
         (test.significant ? " > " : test.F < test.critical ? " < " : " = ") + testValueText(test.critical, sep) + ", α = " + alphaText(alpha, sep) + ").";
}

std::string preferredModelLine(const models::ModelComparison& comparison, char sep) {
  return std::string("Die Daten stützen ") + wordsOf(comparison.preferred()).nominative + " (α = " + alphaText(comparison.alpha, sep) + ").";
}

}  // namespace analysis
