// The "Parameter" command: estimates the transformation from the pairs of the pairing in
// force (by position: the loaded point lists themselves) and writes parameters, centroids
// and residuals into the main window.
#include "Application.h"
#include "Controls.h"
#include "ParameterRun.h"
#include "Progress.h"
#include "ResidualGridRows.h"
#include "SolverRollback.h"
#include "StringGrid.h"
#include "TextConversions.h"
#include "Tramis_Unit1.h"

#include <vector>

void TForm2::Parameter1Click(QObject*) {
  // The report says again what the pairing found; by name, a refused pairing changes nothing.
  UpdatePairingReport();
  if (!PairingUsable()) return;
  // Everything the run shows is prepared before the window changes, and the solver is put
  // back unless the run finishes, so that "Abbrechen" in the progress window (an exception
  // out of Step) leaves labels, grid and solver as they were.
  toolkit::TProgress progress(this, QStringLiteral("Parameter werden berechnet …"));
  compute::SolverRollback rollback(solver);
  const compute::ParameterRun run = compute::runParameterEstimation(
      pairsInForce.oldPairs(), pairsInForce.newPairs(), solver, progress.Handler());
  if (run.outcome == compute::ParameterOutcome::EmptyInput) {
    toolkit::MessageBox(compute::kEmptyInputMessage, compute::kSolvErrorCaption,
                        toolkit::MB_OK | toolkit::MB_ICONERROR);
    return;
  }

  const char separator = toolkit::RegionalDecimalSeparator();
  // Rows 1 .. n hold the pairs' residuals, row n + 1 their sums.
  std::vector<QString> cells;
  if (run.outcome == compute::ParameterOutcome::Success) {
    const auto n = static_cast<std::size_t>(run.pointCount);
    cells.reserve((n + 1) * 3);
    compute::residualGridRows(
        n,
        [](std::size_t i) {
          const int row = static_cast<int>(i);
          return compute::GridResidual{solver.residual_rw(row), solver.residual_hw(row), true};
        },
        solver, separator, [&cells](std::string&& text) { cells.push_back(QString::fromStdString(text)); },
        [&progress](double done) { progress.Step(0.9 + 0.1 * done); });
  }

  if (run.outcome == compute::ParameterOutcome::NotRepresentable) {
    // The rollback puts the solver back: the window and the next transformation keep the
    // last run that could be shown.
    toolkit::MessageBox(compute::kNotRepresentableMessage, compute::kSolveErrorCaption,
                        toolkit::MB_OK | toolkit::MB_ICONINFORMATION);
    return;
  }

  rollback.keep();
  pointCount = run.pointCount;
  if (run.outcome == compute::ParameterOutcome::TooFewPairs) {
    toolkit::MessageBox(compute::kTooFewPairsMessage, compute::kSolveErrorCaption,
                        toolkit::MB_OK | toolkit::MB_ICONINFORMATION);
    return;
  }

  ShowCentroids(separator);
  if (run.outcome == compute::ParameterOutcome::PointsCoincide) {
    toolkit::MessageBox(compute::kPointsCoincideMessage, compute::kSolveErrorCaption,
                        toolkit::MB_OK | toolkit::MB_ICONINFORMATION);
    return;
  }

  scale = run.scale;
  rotation = run.rotation;
  takenModel.reset();  // "Parameter" is Helmert with all pairs, whatever was taken over
  StringGrid1->ReplaceRowsFrom(1, std::move(cells));

  ShowParameters(run, separator);
}
