// The "Transformation Alt -> Neu" command: asks for a result file and writes every
// old-system point, transformed with the current transformation (the solver's present
// Helmert parameters, or the congruent or affine model the "Paßpunktanalyse" took over),
// as result file (.erg) or, with the filter "CSV (*.csv)", as CSV with height and code.
#include "Application.h"
#include "CsvFile.h"
#include "InputTargets.h"
#include "MessageCaptions.h"
#include "Progress.h"
#include "ResultFile.h"
#include "TextConversions.h"
#include "Tramis_Unit1.h"

#include <Kelfile.h>

namespace {

constexpr const char* kSaveTitle = "Save Transformation";
// The format is the chosen filter's, never guessed from the name typed.
constexpr const char* kResultFilter = "Ergebnisdatei (*.erg)| *.erg|CSV (*.csv)|*.csv";
constexpr int kErgFilter = 1;
constexpr int kCsvFilter = 2;
constexpr const char* kResultExtension = "erg";

}  // namespace

void TForm2::Transformation1Click(QObject*) {
  if (oldPoints.rw.empty() || newPoints.rw.empty()) return;

  const std::string proposal = kel::FileNamePart(oldFileName.c_str(), 'e');
  SaveDialog1.Options &= ~toolkit::TFileDialog::ofFileMustExist;
  SaveDialog1.Title = kSaveTitle;
  SaveDialog1.Filter = kResultFilter;
  SaveDialog1.DefaultExt = kResultExtension;
  SaveDialog1.FilterIndex = kErgFilter;
  SaveDialog1.FileName = proposal;
  SaveDialog1.RefuseTarget = [this](const std::string& path) {
    return output::inputTargetRefusal(path, {oldFileName, newFileName});
  };
  if (!SaveDialog1.Execute(this)) return;

  const std::string path = SaveDialog1.GetFileName();
  toolkit::TProgress progress(this, QStringLiteral("Ergebnisdatei wird geschrieben …"));
  const char separator = toolkit::RegionalDecimalSeparator();
  const pointfiles::DecimalMark csvMark =
      separator == ',' ? pointfiles::DecimalMark::Comma : pointfiles::DecimalMark::Point;
  // Helmert through the solver itself, so that its files stay byte for byte as they were.
  const output::WriteResult result =
      SaveDialog1.FilterIndex == kCsvFilter
          ? (takenModel ? pointfiles::writeCsvResultFile(path, oldPoints, *takenModel, csvMark, progress.Handler())
                        : pointfiles::writeCsvResultFile(path, oldPoints, solver, csvMark, progress.Handler()))
          : (takenModel ? output::writeResultFile(path, oldPoints, *takenModel, progress.Handler())
                        : output::writeResultFile(path, oldPoints, solver, progress.Handler()));
  if (!result.ok)
    toolkit::MessageBox(output::writeErrorMessage(toolkit::DisplayText(path), result.reason),
                        toolkit::kFileErrorCaption, toolkit::MB_OK | toolkit::MB_ICONERROR);
}
