// The command "Transformation mit Restklaffenverteilung...": opens the dialog on the old
// file with the current estimate and its control points, and saves what it shows as a
// result file, with the save dialog of "Transformation Alt -> Neu".
#include "Application.h"
#include "CorrectedPoints.h"
#include "DistributionDialog.h"
#include "InputTargets.h"
#include "MessageCaptions.h"
#include "Progress.h"
#include "TextConversions.h"
#include "Tramis_Unit1.h"

#include <Kelfile.h>

#include <QPushButton>

namespace {

constexpr const char* kCaption = "Restklaffenverteilung";
constexpr const char* kNoEstimateMessage =
    "Es liegt keine Transformation vor. Bitte zuerst \"Parameter\" berechnen oder in der "
    "Paßpunktanalyse \"Übernehmen\" wählen.";
constexpr const char* kHelmertOnlyMessage =
    "Die Restklaffenverteilung verteilt die Restklaffen der Helmert-Transformation. Bitte in der "
    "Paßpunktanalyse das Helmert-Modell übernehmen oder \"Parameter\" berechnen.";
constexpr const char* kNoOldPointsMessage = "Das Altsystem enthält keine Punkte.";
constexpr const char* kNoControlPointsMessage =
    "Die Paßpunkte der Transformation sind in den eingelesenen Dateien nicht mehr enthalten. "
    "Bitte \"Parameter\" neu berechnen.";

constexpr const char* kSaveTitle = "Transformation mit Restklaffenverteilung speichern";
constexpr const char* kResultFilter = "Ergebnisdatei (*.erg)|*.erg";
constexpr const char* kResultExtension = "erg";

}  // namespace

void TForm2::mnuRestklaffenClick(QObject*) {
  if (!distribution::holdsEstimate(solver)) {
    toolkit::MessageBox(kNoEstimateMessage, kCaption, toolkit::MB_OK | toolkit::MB_ICONINFORMATION);
    return;
  }
  // After Übernehmen with the congruent or the affine model the solver still holds a Helmert
  // estimate, whose residuals are not the current transformation's.
  if (takenModel) {
    toolkit::MessageBox(kHelmertOnlyMessage, kCaption, toolkit::MB_OK | toolkit::MB_ICONINFORMATION);
    return;
  }
  if (oldPoints.empty()) {
    toolkit::MessageBox(kNoOldPointsMessage, kCaption, toolkit::MB_OK | toolkit::MB_ICONINFORMATION);
    return;
  }
  distribution::EstimateControlPoints controlPoints =
      distribution::estimateControlPoints(pairsInForce.oldPairs(), pairsInForce.newPairs(), solver);
  // Files read since the estimate may hold none of its pairs: then nothing would be
  // distributed, and the result would only repeat "Transformation Alt -> Neu".
  if (controlPoints.points.empty()) {
    toolkit::MessageBox(kNoControlPointsMessage, kCaption, toolkit::MB_OK | toolkit::MB_ICONINFORMATION);
    return;
  }
  distribution::DistributionDialog dialog(this, oldPoints, solver, std::move(controlPoints));
  QObject::connect(dialog.SaveButton, &QPushButton::clicked, &dialog, [this, &dialog] {
    toolkit::RunGuarded([&] { SaveDistributedResult(dialog); });
  });
  dialog.exec();
}

void TForm2::SaveDistributedResult(distribution::DistributionDialog& dialog) {
  if (!dialog.corrected()) return;
  SaveDialog1.Options &= ~toolkit::TFileDialog::ofFileMustExist;
  SaveDialog1.Title = kSaveTitle;
  SaveDialog1.Filter = kResultFilter;
  SaveDialog1.DefaultExt = kResultExtension;
  SaveDialog1.FilterIndex = 1;
  SaveDialog1.FileName = kel::FileNamePart(oldFileName.c_str(), 'e');
  SaveDialog1.RefuseTarget = [this](const std::string& path) {
    return output::inputTargetRefusal(path, {oldFileName, newFileName});
  };
  if (!SaveDialog1.Execute(&dialog)) return;

  const std::string path = SaveDialog1.GetFileName();
  toolkit::TProgress progress(&dialog, QStringLiteral("Ergebnisdatei wird geschrieben …"));
  const output::WriteResult result =
      distribution::writeCorrectedResultFile(path, oldPoints, *dialog.corrected(), progress.Handler());
  if (!result.ok)
    toolkit::MessageBox(output::writeErrorMessage(toolkit::DisplayText(path), result.reason),
                        toolkit::kFileErrorCaption, toolkit::MB_OK | toolkit::MB_ICONERROR);
}
