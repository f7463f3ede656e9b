// "Datei → Importieren...": the import dialog, then reading the chosen file into the chosen
// system with the chosen format, as the open commands read.
#include "ImportDialog.h"
#include "Tramis_Unit1.h"

void TForm2::mnuImportierenClick(QObject*) {
  // The old system first, as the workflow goes; the new one once the old has points.
  pointimport::ImportDialog dialog(this, importFileName, oldPoints.empty());
  if (dialog.exec() != QDialog::Accepted) return;
  importFileName = dialog.path();
  ReadPointFile(dialog.oldSystem() ? CoordinateSystem::Old : CoordinateSystem::New, importFileName,
                dialog.request());
}
