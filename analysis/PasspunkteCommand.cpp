// The command "Paßpunkte prüfen...": opens the "Paßpunktanalyse" on the loaded pairs at
// the significance level chosen last and, on "Übernehmen", makes the estimate of the
// active pairs in the chosen model the program's current one and shows it in the main
// window.
#include "Application.h"
#include "ControlPointAnalysis.h"
#include "ControlPointDialog.h"
#include "PairingTexts.h"
#include "ParameterRun.h"
#include "Progress.h"
#include "ResidualGridRows.h"
#include "StringGrid.h"
#include "TextConversions.h"
#include "Tramis_Unit1.h"

#include <QLabel>
#include <QPushButton>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

void showSolveError(const char* message) {
  toolkit::MessageBox(message, compute::kSolveErrorCaption,
                      toolkit::MB_OK | toolkit::MB_ICONINFORMATION);
}

}  // namespace

void TForm2::mnuPasspunkteClick(QObject*) {
  if (!PairingUsable()) return;
  // The pairs of the pairing in force; by position the loaded lists themselves.
  const PointList& oldPairs = pairsInForce.oldPairs();
  const PointList& newPairs = pairsInForce.newPairs();
  if (oldPairs.rw.empty() || oldPairs.hw.empty() || newPairs.rw.empty() || newPairs.hw.empty()) {
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
      oldPairs, newPairs, activePairs, testAlpha, *dialogSolver, opening->Handler());
  if (first.outcome != analysis::AnalysisOutcome::Success && !activePairs.empty()) {
    activePairs.clear();
    first = analysis::analyseControlPoints(oldPairs, newPairs, activePairs, testAlpha, *dialogSolver);
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
  analysis::ControlPointDialog dialog(this, oldPairs, newPairs, activePairs,
                                      std::move(dialogSolver), std::move(first));
  dialog.PairingLine->setText(QStringLiteral("Paarung ") +
                              QString::fromUtf8(pairing::pairingName(pairsInForce.mode())));
  QObject::connect(dialog.ProtocolButton, &QPushButton::clicked, &dialog, [this, &dialog] {
    toolkit::RunGuarded([&] { SaveAnalysisProtocol(dialog); });
  });
  QObject::connect(dialog.PointsButton, &QPushButton::clicked, &dialog, [this, &dialog] {
    toolkit::RunGuarded([&] { SaveAnalysisPoints(dialog); });
  });
  opening.reset();
  // The model taken over last, until "Parameter" makes Helmert current again. Where the
  // pairs read since do not determine it, the dialog says so and stays with Helmert.
  if (takenModel) dialog.setModel(takenModel->model);
  const int closedWith = dialog.exec();
  // The level is a setting, not a result: it stays chosen however the dialog was closed.
  testAlpha = dialog.alpha();
  if (closedWith != QDialog::Accepted) return;

  // Take over. The grid's texts come first, from the dialog's own estimate: a cancelled
  // progress window then leaves everything as it was. The program's solver then takes the
  // dialog's, which holds the estimate of exactly the flags shown, in one uninterrupted
  // step, and the window shows it as "Parameter" shows its run.
  toolkit::TProgress progress(this, QStringLiteral("Ergebnis wird übernommen …"));
  const char separator = toolkit::RegionalDecimalSeparator();
  const analysis::ControlPointAnalysis& result = dialog.analysis();
  const bool helmert = result.model == models::Model::Helmert;
  std::vector<QString> cells;
  cells.reserve((result.pairs.size() + 1) * 3);
  auto gridResidual = [&result](std::size_t i) {
    const analysis::PairStatistics& pair = result.pairs[i];
    return compute::GridResidual{pair.vRW(), pair.vHW(), pair.active};
  };
  auto addCell = [&cells](std::string&& text) { cells.push_back(QString::fromStdString(text)); };
  if (helmert) {
    compute::residualGridRows(result.pairs.size(), gridResidual, dialog.estimate(), separator, addCell,
                              progress.Handler());
  } else {
    // The sums of the model's residuals of the active pairs, as the solver sums Helmert's.
    long double sumRW = 0, sumHW = 0;
    for (const analysis::PairStatistics& pair : result.pairs) {
      if (!pair.active) continue;
      sumRW += pair.vRW();
      sumHW += pair.vHW();
    }
    compute::residualGridRows(result.pairs.size(), gridResidual, sumRW, sumHW, separator, addCell,
                              progress.Handler());
  }

  const std::vector<bool>& taken = dialog.activeFlags();
  activePairs = std::all_of(taken.begin(), taken.end(), [](bool on) { return on; })
                    ? std::vector<bool>() : taken;
  // The solver holds the Helmert estimate of the same pairs whatever the model: its
  // centroids are every model's.
  solver = dialog.takeEstimate();
  if (helmert)
    takenModel.reset();
  else
    takenModel = result.transformation;
  pointCount = result.run.pointCount;
  scale = result.run.scale;
  rotation = result.run.rotation;
  ShowCentroids(separator);
  StringGrid1->ReplaceRowsFrom(1, std::move(cells));
  if (helmert)
    ShowParameters(result.run, separator);
  else
    ShowModelParameters(result, separator);
}
