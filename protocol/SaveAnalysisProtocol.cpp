// The "Paßpunktanalyse" dialog's "Protokoll speichern...": what the protocol documents, from
// the main window's files and the dialog's present analysis.
#include "ControlPointDialog.h"
#include "FileVersion.h"
#include "SaveProtocolCommand.h"
#include "Tramis_Unit1.h"

#include "Application.h"

void TForm2::SaveAnalysisProtocol(analysis::ControlPointDialog& dialog) {
  protocol::ProtocolSource source;
  source.program = "Tramis";
  source.version = GetFileVersion(toolkit::GetExeName());
  source.writtenAt = protocol::writtenNow();
  source.oldFile = {oldFileName, oldPoints.count(), oldSkippedLines, pointfiles::describe(oldFormat)};
  source.newFile = {newFileName, newPoints.count(), newSkippedLines, pointfiles::describe(newFormat)};
  source.pairing = pairsInForce.mode() == pairing::PairingMode::ByName ? protocol::ProtocolPairing::ByName
                                                                       : protocol::ProtocolPairing::ByPosition;
  source.oldPairs = &dialog.oldPairs();
  source.newPairs = &dialog.newPairs();
  source.analysis = &dialog.analysis();
  source.solver = &dialog.estimate();
  source.comparison = &dialog.comparison();
  protocol::saveProtocolCommand(&dialog, source);
}
