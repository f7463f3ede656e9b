// The main window TForm2 and the program state that lives for the whole run: the two
// point lists, the solver, the stream handles and the window pointer.
#pragma once

#include "ControlPointAnalysis.h"
#include "FileDialogs.h"
#include "FormatRecognition.h"
#include "PairsInForce.h"
#include "ParameterRun.h"
#include "PlaneTransformation.h"
#include "PointFileFormat.h"
#include "PointList.h"

#include <Keltransformation.h>

#include <QMainWindow>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QFrame;
class QGroupBox;
class QLabel;
class QMenu;
class QMenuBar;
class QPainter;
class QStyleOptionViewItem;
class QToolButton;

namespace analysis {
class ControlPointDialog;
}  // namespace analysis

namespace distribution {
class DistributionDialog;
}  // namespace distribution

namespace pairing {
class PairingReportDialog;
}  // namespace pairing

namespace toolkit {
class TStatusBar;
class TStringGrid;
class TValueLabel;
}  // namespace toolkit

// The two coordinate systems that the open commands read.
enum class CoordinateSystem { Old, New };

class TForm2 : public QMainWindow {
  Q_OBJECT

public:
  explicit TForm2(QWidget* owner);
  ~TForm2() override;

  // Components, in the order the window declares them.
  toolkit::TFileDialog OpenDialog1{toolkit::TFileDialog::Kind::Open};
  QMenuBar* MainMenu1 = nullptr;
  QMenu* mnuDatei = nullptr;
  QAction* mnuAltsystem = nullptr;
  QAction* mnuNeusystem = nullptr;
  QAction* N1 = nullptr;
  QAction* mnuExit = nullptr;
  toolkit::TStatusBar* StatusBar1 = nullptr;
  QMenu* mnuBerechnen = nullptr;
  QGroupBox* GroupBox1 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* Label5 = nullptr;
  QLabel* Label6 = nullptr;
  toolkit::TValueLabel* lab_X = nullptr;
  toolkit::TValueLabel* lab_Y = nullptr;
  toolkit::TValueLabel* lab_a = nullptr;
  toolkit::TValueLabel* lab_o = nullptr;
  toolkit::TValueLabel* lab_m = nullptr;
  toolkit::TValueLabel* lab_d = nullptr;
  QAction* Parameter1 = nullptr;
  QAction* Transformation1 = nullptr;
  QGroupBox* GroupBox2 = nullptr;
  toolkit::TStringGrid* StringGrid1 = nullptr;
  QLabel* Label7 = nullptr;
  QFrame* Bevel1 = nullptr;
  QMenu* mnuHilfe = nullptr;
  QAction* mnuAbout = nullptr;
  QAction* mnuKELHome = nullptr;
  toolkit::TFileDialog SaveDialog1{toolkit::TFileDialog::Kind::Save};
  QAction* mnuHelpInhalt = nullptr;
  QLabel* Label8 = nullptr;
  toolkit::TValueLabel* lab_So = nullptr;
  QGroupBox* GroupBox3 = nullptr;
  QLabel* Label9 = nullptr;
  toolkit::TValueLabel* lab_HWAS = nullptr;
  toolkit::TValueLabel* lab_RWAS = nullptr;
  toolkit::TValueLabel* lab_HWZS = nullptr;
  toolkit::TValueLabel* lab_RWZS = nullptr;
  QLabel* Label14 = nullptr;
  QLabel* Label15 = nullptr;
  QLabel* Label16 = nullptr;
  QLabel* Label17 = nullptr;
  QLabel* Label18 = nullptr;
  QAction* N2 = nullptr;             // separator before the control-point analysis
  QAction* mnuPasspunkte = nullptr;  // "Paßpunkte &prüfen..." (Ctrl+P)
  QAction* mnuPaarung = nullptr;     // "Paarung nach Punktnummer", ticked: pairing by name
  QAction* N3 = nullptr;             // separator before the file exchange commands
  QAction* mnuImportieren = nullptr;   // "&Importieren..."
  QAction* mnuQgisOeffnen = nullptr;   // "Paßpunkte aus &QGIS-Datei öffnen..."
  QAction* N4 = nullptr;               // separator before the residual distribution
  QAction* mnuRestklaffen = nullptr;   // "Transformation mit &Restklaffenverteilung..." (Ctrl+R)
  // In the status bar, shown while the pairing has something to report: opens the report.
  QToolButton* PairingButton = nullptr;
  pairing::PairingReportDialog* PairingReport = nullptr;  // not modal; made when first opened

  // Program state kept by the window.
  std::string oldFileName;   // full path of the old-system file chosen last (UTF-8)
  std::string newFileName;   // full path of the new-system file chosen last
  std::size_t oldSkippedLines = 0;  // bad lines skipped while reading the old-system file
  std::size_t newSkippedLines = 0;  // and the new-system file (for the protocol)
  std::string workText;      // scratch: message being composed, point name being written
  std::string lineText;      // scratch: the current input line, trimmed
  std::int32_t pointCount = 0;  // point pairs used by the last "Parameter" run
  double scale = 0.0;        // m of the last "Parameter" run
  double rotation = 0.0;     // d [gon] of the last "Parameter" run
  double firstValue = 0.0;   // first coordinate of the point at hand
  double secondValue = 0.0;  // second coordinate of the point at hand
  bool conversionOk = false; // outcome of the last number conversion while reading
  // Activation of the pairs last taken over from the "Paßpunktanalyse" or read from a QGIS
  // file (one flag per pair of the pairing in force); empty: all pairs active. Reading
  // either file or changing the pairing empties it.
  std::vector<bool> activePairs;
  // Significance level of the point test last chosen in the "Paßpunktanalyse", whether it
  // was closed with "Übernehmen" or "Schließen": a setting, kept for the whole run.
  double testAlpha = analysis::kDefaultAlpha;
  // The transformation taken over from the "Paßpunktanalyse" when its model is not Helmert
  // (congruent or affine): "Transformation Alt -> Neu" applies it. Empty: the solver's
  // Helmert parameters are the current transformation, as "Parameter" leaves them.
  std::optional<models::PlaneTransformation> takenModel;
  // How the file of each system was read, as its status panel's tooltip and the protocol
  // state it.
  pointfiles::PointFileFormat oldFormat;
  pointfiles::PointFileFormat newFormat;
  // The control point pairs of the pairing in force ("Paarung nach Punktnummer" or by
  // position), formed anew whenever a file is read or the pairing changes.
  pairing::PairsInForce pairsInForce;
  std::string importFileName;  // the file the import dialog read last

  // Commands of the menu; the sender is not used.
  void mnuAltsystemClick(QObject* Sender);
  void mnuExitClick(QObject* Sender);
  void mnuNeusystemClick(QObject* Sender);
  void Parameter1Click(QObject* Sender);
  void Transformation1Click(QObject* Sender);
  void mnuAboutClick(QObject* Sender);
  void mnuKELHomeClick(QObject* Sender);
  void mnuHelpInhaltClick(QObject* Sender);
  void mnuPasspunkteClick(QObject* Sender);
  void mnuPaarungClick(QObject* Sender);
  void mnuImportierenClick(QObject* Sender);
  void mnuQgisOeffnenClick(QObject* Sender);
  void mnuRestklaffenClick(QObject* Sender);
  // "Protokoll speichern..." of the "Paßpunktanalyse": the protocol of what it shows now.
  void SaveAnalysisProtocol(analysis::ControlPointDialog& dialog);
  // "QGIS-Datei speichern..." of the "Paßpunktanalyse": its pairs with their activity.
  void SaveAnalysisPoints(analysis::ControlPointDialog& dialog);
  // "Speichern..." of the residual distribution's dialog: the corrected old file.
  void SaveDistributedResult(distribution::DistributionDialog& dialog);

  // The pairing in force: by name while "Paarung nach Punktnummer" is ticked.
  pairing::PairingMode PairingModeInForce() const;
  // Pairs the loaded point lists anew with the pairing in force and updates the report.
  void RefreshPairing();
  // Shows the pairing's findings in the status bar's button and in the report, if open.
  void UpdatePairingReport();
  // Opens (or raises) the report "Paarung der Paßpunkte".
  void ShowPairingReport();
  // Whether the pairing in force formed pairs; if not (by name: a file without names, a
  // name given twice), says why in a message box and returns false.
  bool PairingUsable();

  // Show an estimate the solver holds: the four centroid labels, and the parameter labels
  // with So of a successful run, with the regional decimal separator `sep`.
  // ShowParameters shows Helmert's labels; ShowModelParameters those of a congruent or
  // affine estimate of the analysis, with the model named in the group's caption.
  void ShowCentroids(char sep);
  void ShowParameters(const compute::ParameterRun& run, char sep);
  void ShowModelParameters(const analysis::ControlPointAnalysis& analysis, char sep);

  // Draws one cell of StringGrid1: the text right-aligned in the cell shrunk by 3 pixels
  // at the top and 5 at the right, on the background the grid chose for the cell.
  void StringGrid1DrawCell(QObject* Sender, int ACol, int ARow, const QRect& Rect,
                           QPainter* Canvas, const QStyleOptionViewItem& State);

  // Help context number of the window: what F1 shows.
  static constexpr int kHelpContext = 10;

protected:
  // Centres the window on its screen when it is first shown.
  void showEvent(QShowEvent* event) override;

private:
  void buildLayout();
  void buildMenu();
  void ResetDisplay();
  void ReadCoordinateFile(CoordinateSystem system);
  // Reads the file at `path` as `request` says into the system's point list, with the open
  // commands' bad-line questions, progress window and status panel.
  void ReadPointFile(CoordinateSystem system, const std::string& path,
                     pointfiles::FormatRequest request);
  // Shows a system's point count and file in its status panel, how it was read in the
  // panel's tooltip.
  void ShowSystemStatus(CoordinateSystem system);
  // Connects a menu action to a command; exceptions of the command are shown, not lost.
  // Only one command runs at a time; a second one started meanwhile is ignored.
  void connectCommand(QAction* action, void (TForm2::*command)(QObject*));

  bool commandRunning_ = false;
  bool centred_ = false;
};

// The program state of the main unit, alive from before the entry until after it returns.
extern TForm2* Form2;
extern std::FILE* oldFile;
extern std::FILE* newFile;
extern PointList newPoints;
extern PointList oldPoints;
extern kel::TKEL_Vovezorevarovaduvorir solver;

// The start of the window title; the file version follows it directly.
inline constexpr const char* kTitlePrefix = "KEL Vovezorevarovaduvorir 202";
