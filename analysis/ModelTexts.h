// The texts of the three transformation models, shared by the window, the protocol and
// tramis-cli: names, formulas, parameter lines, the messages of a fit that fails, and the
// lines of the model comparison. Numbers carry the decimal separator the caller gives.
#pragma once

#include "ControlPointAnalysis.h"
#include "ModelComparison.h"
#include "PlaneModel.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace analysis {

// "kongruent", "Helmert", "affin": the model in a sentence or a table.
const char* modelName(models::Model model);
// "Kongruenztransformation (3 Parameter, Maßstab 1)", "Helmert-Transformation
// (4 Parameter)", "Affintransformation (6 Parameter)".
const char* modelTitle(models::Model model);
// "congruent", "helmert", "affine": the model's key in JSON and on the command line.
const char* modelKey(models::Model model);
// The model a command line names: its key or German name ("kongruent", "affin"), in any
// case; empty for anything else.
std::optional<models::Model> modelFromName(std::string_view name);

// The model's formulas in one line, e.g. "RW = Yo + a1·rw + a2·hw,   HW = Xo + b1·rw + b2·hw".
const char* modelFormula(models::Model model);

// The message of an analysis that has no estimate, for the model: "Mindestens zwei
// Paßpunkte sind erforderlich." (three for the affine model), the solver's message for
// coinciding points, "Die aktiven Paßpunkte liegen auf einer Geraden: das affine Modell
// ist damit nicht bestimmbar.", or the message of a result beyond the range of double.
// Empty for Success.
std::string outcomeMessage(AnalysisOutcome outcome, models::Model model);

// One parameter or derived figure of an estimate: label, value text, unit.
struct ParameterLine {
  std::string label, value, unit;
};
// The parameters of the analysis's model and their derived figures, with the formats of
// the main window (shifts 4 decimals, factors and angles 10 decimals, at most 11
// significant digits):
//   congruent  Xo, Yo, a, o, Drehung d [gon]
//   Helmert    Xo, Yo, a, o, Maßstab m, Drehung d [gon]
//   affine     Xo, Yo, a1, a2, b1, b2, Maßstab m_rw, Maßstab m_hw, Drehung [gon], Scherung [gon]
std::vector<ParameterLine> parameterLines(const ControlPointAnalysis& analysis, char sep);

// A model's line of the comparison, e.g. "Helmert: So = 0,0093, f = 20"; where the model
// has no estimate "affin: nicht bestimmbar".
std::string modelSummaryLine(const models::ModelSummary& summary, char sep);

// The verdict of one F test, e.g.
//   "Das affine Modell ist nicht signifikant besser als Helmert (F = 1,21 < 5,14, α = 5 %)."
//   "Das Helmert-Modell ist signifikant besser als das kongruente (F = 23,40 > 4,35, α = 5 %)."
// or why there is no test ("Kein Test des affinen Modells gegen Helmert: dazu sind
// mindestens 4 aktive Paßpunkte nötig.").
std::string nestedTestLine(const models::NestedTest& test, double alpha, char sep);

// "Die Daten stützen das Helmert-Modell (α = 5 %)."
std::string preferredModelLine(const models::ModelComparison& comparison, char sep);

}  // namespace analysis
