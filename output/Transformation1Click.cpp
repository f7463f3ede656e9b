// The "Transformation Alt -> Neu" command: asks for a result file and writes every
// old-system point, transformed with the solver's present parameters, as result file
// (.erg) or, with the filter "CSV (*.csv)", as CSV with height and code.
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
  const output::WriteResult result =
      SaveDialog1.FilterIndex == kCsvFilter
          ? pointfiles::writeCsvResultFile(path, oldPoints, solver,
                                           separator == ',' ? pointfiles::DecimalMark::Comma
                                                            : pointfiles::DecimalMark::Point,
                                           progress.Handler())
          : output::writeResultFile(path, oldPoints, solver, progress.Handler());
  if (!result.ok)
    toolkit::MessageBox(output::writeErrorMessage(toolkit::DisplayText(path), result.reason),
                        toolkit::kFileErrorCaption, toolkit::MB_OK | toolkit::MB_ICONERROR);
}
