// The command "Paßpunkte prüfen...": opens the "Paßpunktanalyse" on the loaded pairs and,
// on "Übernehmen", makes the estimate of the active pairs the program's current one and
// shows it in the main window.
#include "Application.h"
#include "ControlPointAnalysis.h"
#include "ControlPointDialog.h"
#include "ParameterRun.h"
#include "Progress.h"
#include "StringGrid.h"
#include "TextConversions.h"
#include "Tramis_Unit1.h"

#include <QPushButton>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

namespace {

QString q(const std::string& text) { return QString::fromStdString(text); }

// Follows the Pkt. text of a switched-off pair in the residual grid.
constexpr const char* kSwitchedOffSuffix = " (aus)";
constexpr int kRowsPerProgressStep = 1 << 16;

void showSolveError(const char* message) {
  toolkit::MessageBox(message, compute::kSolveErrorCaption,
                      toolkit::MB_OK | toolkit::MB_ICONINFORMATION);
}

// The residual grid's rows after a take-over: every pair, the switched-off ones marked,
// then the sums of the active pairs (the solver holds the active pairs' residuals alone).
std::vector<QString> residualRows(const analysis::ControlPointAnalysis& result,
                                  const kel::TKEL_Vovezorevarovaduvorir& fitted, char separator,
                                  toolkit::TProgress& progress) {
  const std::size_t n = result.pairs.size();
  std::vector<QString> cells;
  cells.reserve((n + 1) * 3);
  for (std::size_t i = 0; i < n; ++i) {
    if ((i + 1) % kRowsPerProgressStep == 0) progress.Step(static_cast<double>(i) / n);
    const analysis::PairStatistics& pair = result.pairs[i];
    std::string number = toolkit::IntToStr(static_cast<long long>(i) + 1);
    if (!pair.active) number += kSwitchedOffSuffix;
    cells.push_back(q(number));
    cells.push_back(q(compute::residualText(pair.vRW(), separator)));
    cells.push_back(q(compute::residualText(pair.vHW(), separator)));
  }
  cells.push_back(QString::fromUtf8(compute::kSumRowText));
  cells.push_back(q(compute::residualText(fitted.residual_rw_sum(), separator)));
  cells.push_back(q(compute::residualText(fitted.residual_hw_sum(), separator)));
  return cells;
}

}  // namespace

void TForm2::mnuPasspunkteClick(QObject*) {
  if (oldPoints.rw.empty() || oldPoints.hw.empty() || newPoints.rw.empty() || newPoints.hw.empty()) {
    toolkit::MessageBox(compute::kEmptyInputMessage, compute::kSolvErrorCaption,
                        toolkit::MB_OK | toolkit::MB_ICONERROR);
    return;
  }

  // The dialog computes with a solver of its own; the program's stays as it is until
  // "Übernehmen". The progress window stands while the first analysis and the dialog's
  // table and plot are made.
  std::optional<toolkit::TProgress> opening(std::in_place, this,
                                            QStringLiteral("Paßpunkte werden geprüft …"));
  auto dialogSolver = std::make_unique<kel::TKEL_Vovezorevarovaduvorir>();
  analysis::ControlPointAnalysis first = analysis::analyseControlPoints(
      oldPoints, newPoints, activePairs, analysis::kDefaultAlpha, *dialogSolver, opening->Handler());
  if (first.outcome != analysis::AnalysisOutcome::Success && !activePairs.empty()) {
    activePairs.clear();
    first = analysis::analyseControlPoints(oldPoints, newPoints, activePairs, analysis::kDefaultAlpha,
                                           *dialogSolver);
  }
  if (first.outcome == analysis::AnalysisOutcome::TooFewActive) {
    opening.reset();
    showSolveError(compute::kTooFewPairsMessage);
    return;
  }
  if (first.outcome == analysis::AnalysisOutcome::PointsCoincide) {
    opening.reset();
    showSolveError(compute::kPointsCoincideMessage);
    return;
  }
  if (first.outcome == analysis::AnalysisOutcome::NotRepresentable) {
    opening.reset();
    showSolveError(compute::kNotRepresentableMessage);
    return;
  }
  opening->Step(0.9);
  analysis::ControlPointDialog dialog(this, oldPoints, newPoints, activePairs,
                                      std::move(dialogSolver), std::move(first));
  QObject::connect(dialog.ProtocolButton, &QPushButton::clicked, &dialog, [this, &dialog] {
    toolkit::RunGuarded([&] { SaveAnalysisProtocol(dialog); });
  });
  opening.reset();
  if (dialog.exec() != QDialog::Accepted) return;

  // Take over. The grid's texts come first, from the dialog's own estimate: a cancelled
  // progress window then leaves everything as it was. The program's solver then gets the
  // same estimate of the active pairs, in one uninterrupted step, and the window shows it
  // as "Parameter" shows its run.
  toolkit::TProgress progress(this, QStringLiteral("Ergebnis wird übernommen …"));
  const char separator = toolkit::RegionalDecimalSeparator();
  std::vector<QString> cells = residualRows(dialog.analysis(), dialog.estimate(), separator, progress);
  const std::vector<bool> taken = dialog.activeFlags();
  const analysis::ControlPointAnalysis result =
      analysis::analyseControlPoints(oldPoints, newPoints, taken, dialog.alpha(), solver);
  if (result.outcome != analysis::AnalysisOutcome::Success) return;  // cannot differ from the dialog's

  activePairs = std::all_of(taken.begin(), taken.end(), [](bool on) { return on; })
                    ? std::vector<bool>() : taken;
  pointCount = result.run.pointCount;
  scale = result.run.scale;
  rotation = result.run.rotation;
  ShowCentroids(separator);
  StringGrid1->ReplaceRowsFrom(1, std::move(cells));
  ShowParameters(result.run, separator);
}
