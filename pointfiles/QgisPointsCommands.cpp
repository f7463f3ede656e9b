// The main window's exchange of control pairs with the QGIS georeferencer: "Paßpunkte aus
// QGIS-Datei öffnen..." reads both systems and the pairs' activity from one .points file,
// and the "Paßpunktanalyse"'s "QGIS-Datei speichern..." writes the pairs it shows with
// their activity and residuals.
#include "Application.h"
#include "ControlPointDialog.h"
#include "InputTargets.h"
#include "MessageCaptions.h"
#include "QgisPoints.h"
#include "ReaderMessages.h"
#include "TextConversions.h"
#include "Tramis_Unit1.h"
#include "WaitCursor.h"

#include <Kelfile.h>

#include <algorithm>
#include <utility>

namespace {

constexpr const char* kOpenTitle = "QGIS-Paßpunktdatei öffnen";
constexpr const char* kSaveTitle = "Paßpunkte als QGIS-Datei speichern";
constexpr const char* kPointsFilter = "QGIS-Paßpunkte (*.points)|*.points|Alle Dateien | *.*";
constexpr const char* kPointsExtension = "points";

}  // namespace

void TForm2::mnuQgisOeffnenClick(QObject*) {
  toolkit::TFileDialog dialog(toolkit::TFileDialog::Kind::Open);
  dialog.Options = toolkit::TFileDialog::ofFileMustExist;
  dialog.Title = kOpenTitle;
  dialog.Filter = kPointsFilter;
  dialog.FileName = oldFileName;
  if (!dialog.Execute(this)) return;
  const std::string path = dialog.GetFileName();

  pointfiles::ControlPairs pairs;
  pointfiles::PointFileFormat format;
  std::size_t skipped = 0;
  ReadStatus status = ReadStatus::Complete;
  {
    // The QGIS reader and writer report no progress.
    const toolkit::WaitCursor waiting;
    status = pointfiles::readQgisPointsFile(
        path, pairs,
        [&](const BadLine& line) {
          const int answer = toolkit::MessageBox(input::badValueMessage(path, line), input::kBadValueCaption,
                                                 toolkit::MB_OKCANCEL | toolkit::MB_ICONERROR);
          if (answer == toolkit::IDCANCEL) return BadLineAnswer::Stop;
          ++skipped;
          return BadLineAnswer::Continue;
        },
        &format);
  }
  if (status == ReadStatus::OpenFailed) {
    toolkit::MessageBox(input::openErrorMessage(path), toolkit::kFileErrorCaption,
                        toolkit::MB_OK | toolkit::MB_ICONERROR);
    return;
  }
  if (status == ReadStatus::ReadFailed)
    toolkit::MessageBox(input::readErrorMessage(path), toolkit::kFileErrorCaption,
                        toolkit::MB_OK | toolkit::MB_ICONERROR);

  // One file fills both systems; its pairs read so far stay, as an open command keeps them.
  oldPoints = std::move(pairs.oldPoints);
  newPoints = std::move(pairs.newPoints);
  oldFileName = newFileName = path;
  oldSkippedLines = newSkippedLines = skipped;
  oldFormat = newFormat = format;
  // The file's switched-off pairs are the analysis' switched-off pairs.
  activePairs = std::all_of(pairs.active.begin(), pairs.active.end(), [](bool on) { return on; })
                    ? std::vector<bool>()
                    : std::move(pairs.active);
  ShowSystemStatus(CoordinateSystem::Old);
  ShowSystemStatus(CoordinateSystem::New);
  RefreshPairing();
}

void TForm2::SaveAnalysisPoints(analysis::ControlPointDialog& analysisDialog) {
  toolkit::TFileDialog dialog(toolkit::TFileDialog::Kind::Save);
  dialog.Options = toolkit::TFileDialog::ofOverwritePrompt | toolkit::TFileDialog::ofHideReadOnly |
                   toolkit::TFileDialog::ofPathMustExist;
  dialog.Title = kSaveTitle;
  dialog.Filter = kPointsFilter;
  dialog.DefaultExt = kPointsExtension;
  if (!oldFileName.empty()) dialog.FileName = kel::FileNamePart(oldFileName.c_str(), 'e');
  dialog.RefuseTarget = [this](const std::string& target) {
    return output::inputTargetRefusal(target, {oldFileName, newFileName});
  };
  if (!dialog.Execute(&analysisDialog)) return;
  const std::string path = dialog.GetFileName();

  // Every pair the dialog shows, with its tick and its residual as the dialog has it now.
  const analysis::ControlPointAnalysis& result = analysisDialog.analysis();
  pointfiles::PairResiduals residuals;
  residuals.rw.reserve(result.pairs.size());
  residuals.hw.reserve(result.pairs.size());
  for (const analysis::PairStatistics& pair : result.pairs) {
    residuals.rw.push_back(static_cast<double>(pair.vRW()));
    residuals.hw.push_back(static_cast<double>(pair.vHW()));
  }
  output::WriteResult written;
  {
    const toolkit::WaitCursor waiting;
    written = pointfiles::writeQgisPointsFile(path, analysisDialog.oldPairs(), analysisDialog.newPairs(),
                                              analysisDialog.activeFlags(), residuals);
  }
  if (!written.ok)
    toolkit::MessageBox(output::writeErrorMessage(toolkit::DisplayText(path), written.reason),
                        toolkit::kFileErrorCaption, toolkit::MB_OK | toolkit::MB_ICONERROR);
}
