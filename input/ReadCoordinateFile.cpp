// The two open commands of the main window: choose a coordinate file, read it into the
// system's point list, report bad lines one by one, show count and file name. The import
// dialog reads through the same steps with the format the user chose.
#include "Application.h"
#include "Controls.h"
#include "CoordinateReader.h"
#include "MessageCaptions.h"
#include "Progress.h"
#include "ReaderMessages.h"
#include "Tramis_Unit1.h"

void TForm2::mnuAltsystemClick(QObject*) { ReadCoordinateFile(CoordinateSystem::Old); }

void TForm2::mnuNeusystemClick(QObject*) { ReadCoordinateFile(CoordinateSystem::New); }

void TForm2::ReadCoordinateFile(CoordinateSystem system) {
  const input::SystemTexts& texts = input::textsFor(system == CoordinateSystem::Old);
  OpenDialog1.Options |= toolkit::TFileDialog::ofFileMustExist;
  OpenDialog1.Title = texts.dialogTitle;
  OpenDialog1.Filter = input::kCoordinateFileFilter;
  if (!OpenDialog1.Execute(this)) return;
  // The format comes from the file's start.
  ReadPointFile(system, OpenDialog1.GetFileName(), {});
}

void TForm2::ReadPointFile(CoordinateSystem system, const std::string& path,
                           pointfiles::FormatRequest request) {
  const bool old = system == CoordinateSystem::Old;
  std::string& fileName = old ? oldFileName : newFileName;
  std::FILE*& file = old ? oldFile : newFile;
  PointList& points = old ? oldPoints : newPoints;
  pointfiles::PointFileFormat& format = old ? oldFormat : newFormat;
  fileName = path;
  std::size_t& skippedLines = old ? oldSkippedLines : newSkippedLines;
  skippedLines = 0;

  // The file is open only while it is read, whichever way reading ends.
  ReadStatus status = ReadStatus::Complete;
  try {
    const OpenCoordinateFile open(file, fileName);
    if (!open) {
      toolkit::MessageBox(input::openErrorMessage(fileName), toolkit::kFileErrorCaption,
                          toolkit::MB_OK | toolkit::MB_ICONERROR);
      return;
    }
    activePairs.clear();  // the pairs change: all are active again
    toolkit::TProgress progress(this, QStringLiteral("Koordinaten werden gelesen …"));
    // A QGIS .points file gives the old system its source and the new one its map coordinates.
    request.side = old ? pointfiles::ControlPairSide::Source : pointfiles::ControlPairSide::Map;
    status = readCoordinateStream(
        file, points,
        [&](const BadLine& line) {
          workText = input::badValueMessage(fileName, line);
          const int answer = toolkit::MessageBox(workText, input::kBadValueCaption,
                                                 toolkit::MB_OKCANCEL | toolkit::MB_ICONERROR);
          if (answer == toolkit::IDCANCEL) return BadLineAnswer::Stop;
          ++skippedLines;
          return BadLineAnswer::Continue;
        },
        progress.Handler(), request, &format);
  } catch (const toolkit::Cancelled&) {
    // "Abbrechen" in the progress window: as after Cancel on a bad line, the points read
    // so far stay.
    status = ReadStatus::StoppedByUser;
  }
  if (status == ReadStatus::ReadFailed)
    toolkit::MessageBox(input::readErrorMessage(fileName), toolkit::kFileErrorCaption,
                        toolkit::MB_OK | toolkit::MB_ICONERROR);

  ShowSystemStatus(system);
  RefreshPairing();
}

void TForm2::ShowSystemStatus(CoordinateSystem system) {
  const bool old = system == CoordinateSystem::Old;
  const input::SystemTexts& texts = input::textsFor(old);
  const PointList& points = old ? oldPoints : newPoints;
  StatusBar1->SetPanelText(
      texts.statusPanel,
      QString::fromStdString(input::statusText(texts, points.count(), old ? oldFileName : newFileName)));
  // Nothing is read by an unstated guess: the tooltip says how the file was read.
  StatusBar1->Panel(texts.statusPanel)
      ->setToolTip(QString::fromStdString(pointfiles::describe(old ? oldFormat : newFormat)));
}
