// The parts of tramis-cli's reports that --model adds: the chosen model's parameters (for
// the congruent and the affine model in place of Helmert's), its residual sums and PROJ
// operation, and the comparison of the three models with its F tests, in the text protocol
// and in JSON. Without --model none of it is written, so every output stays as it was.
#pragma once

#include "ChunkedOutput.h"
#include "Report.h"

#include <string>

namespace cli {

// The model the run estimates: --model, or Helmert.
models::Model reportModel(const Report& report);
// Whether the run estimates a model other than Helmert, whose figures then replace those
// of the solver (parameters, So, residuals, result file, PROJ operation).
bool otherThanHelmert(const Report& report);

// The sums of the active pairs' residuals, RW and HW, of the model's estimate.
struct ResidualSums {
  long double rw = 0, hw = 0;
};
ResidualSums residualSums(const Report& report);

// Text protocol: the head line and the model's formula ("Affintransformation (6 Parameter)
// Alt -> Neu"), the parameters of the congruent or affine model with So, and the section
// "Modellvergleich": So and f of each model, the two F tests' verdicts and the model the
// data support.
std::string modelHeadLine(const Report& report);
void writeModelParameters(ChunkedOutput& out, const Report& report, char sep);
void writeModelComparison(ChunkedOutput& out, const Report& report, char sep);

// JSON: "model" with "modelParameters" (the model's parameters and derived figures by
// name), and "modelComparison" (So and f per model, F, k and verdict per model pair, the
// preferred model). Each member ends with ",\n".
void writeModelJson(ChunkedOutput& out, const Report& report);
void writeModelComparisonJson(ChunkedOutput& out, const Report& report);

}  // namespace cli
