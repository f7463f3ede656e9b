// The main window's pairing: the item "Paarung nach Punktnummer", the pairs in force that
// "Parameter", the "Paßpunktanalyse" and the protocol compute with, and the report of what
// the pairing found, behind a button in the status bar.
#include "Application.h"
#include "PairingReportDialog.h"
#include "PairingTexts.h"
#include "Tramis_Unit1.h"

#include <QAction>
#include <QToolButton>

namespace {

// Differing position pairs listed one by one in the report; all are counted.
constexpr std::size_t kMismatchesListed = 1000;
// Names given twice that a refusal's message lists per file; the report lists all.
constexpr std::size_t kRefusalNamesListed = 20;

constexpr const char* kPairingChoice = "Paarung nach Punktnummer";
constexpr const char* kPairingCaption = "Error";

std::string refusal(const TForm2& form) {
  return pairing::refusalText(form.pairsInForce, form.oldFileName, form.newFileName, kPairingChoice,
                              kRefusalNamesListed);
}

}  // namespace

pairing::PairingMode TForm2::PairingModeInForce() const {
  return mnuPaarung->isChecked() ? pairing::PairingMode::ByName : pairing::PairingMode::ByPosition;
}

void TForm2::mnuPaarungClick(QObject*) {
  activePairs.clear();  // other pairs: all are active again
  RefreshPairing();
}

void TForm2::RefreshPairing() {
  pairsInForce = pairing::PairsInForce(PairingModeInForce(), oldPoints, newPoints, kMismatchesListed);
  UpdatePairingReport();
}

void TForm2::UpdatePairingReport() {
  const pairing::PairingFindings& findings = pairsInForce.findings();
  const std::size_t count = findings.count();
  const bool refused = pairsInForce.refusal() != pairing::PairingRefusal::None;
  if (refused)
    PairingButton->setText(QStringLiteral("Paarung nicht möglich"));
  else
    PairingButton->setText(QStringLiteral("Paarung: %1 %2").arg(count).arg(count == 1 ? "Hinweis" : "Hinweise"));
  PairingButton->setToolTip(QString::fromStdString(refused ? refusal(*this) : pairing::reportSummaryLine(findings)));
  PairingButton->setVisible(refused || count != 0);
  if (PairingReport) PairingReport->setReport(findings, refused ? refusal(*this) : std::string());
}

void TForm2::ShowPairingReport() {
  if (!PairingReport) {
    PairingReport = new pairing::PairingReportDialog(this);
    UpdatePairingReport();
  }
  PairingReport->show();
  PairingReport->raise();
  PairingReport->activateWindow();
}

bool TForm2::PairingUsable() {
  if (pairsInForce.refusal() == pairing::PairingRefusal::None) return true;
  toolkit::MessageBox(refusal(*this), kPairingCaption, toolkit::MB_OK | toolkit::MB_ICONERROR);
  return false;
}
