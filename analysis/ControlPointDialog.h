// The modal dialog "Paßpunktanalyse": the pair table with its check boxes, the choice of the
// model (congruent, Helmert, affine), the estimate of the active pairs in that model, the
// comparison of the three models, the point test at a chosen significance level and the
// residual plot. Every tick and every choice recomputes at once, with a solver of the
// dialog's own: the program's solver and the main window stay as they are until the
// caller takes the result over.
#pragma once

#include "ControlPointAnalysis.h"
#include "ModelComparison.h"
#include "PlaneModel.h"
#include "PointList.h"

#include <Keltransformation.h>

#include <QDialog>

#include <memory>
#include <utility>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QStackedWidget;
class QTableView;

namespace analysis {

class PairSortModel;
class PairTableModel;
class ResidualPlotWidget;

class ControlPointDialog : public QDialog {
  Q_OBJECT
public:
  // `solver` holds the estimate of `analysis` (outcome Success), made from `oldPairs`,
  // `newPairs` and `active`; the dialog keeps working with it. The point lists must
  // outlive the dialog.
  ControlPointDialog(QWidget* parent, const PointList& oldPairs, const PointList& newPairs,
                     std::vector<bool> active, std::unique_ptr<kel::TKEL_Vovezorevarovaduvorir> solver,
                     ControlPointAnalysis analysis);
  ~ControlPointDialog() override;

  // The activation and significance level shown now (one flag per pair).
  const std::vector<bool>& activeFlags() const { return active_; }
  double alpha() const { return analysis_.alpha; }
  // The analysis of the chosen model (its `model`), and the comparison of all three.
  const ControlPointAnalysis& analysis() const { return analysis_; }
  models::Model model() const { return analysis_.model; }
  const models::ModelComparison& comparison() const { return comparison_; }
  // The pairs the dialog analyses: pair i is oldPairs() point i with newPairs() point i.
  const PointList& oldPairs() const { return oldPairs_; }
  const PointList& newPairs() const { return newPairs_; }
  // The solver holding the Helmert estimate of the active pairs shown now, whichever model
  // is chosen (its centroids are those of every model).
  const kel::TKEL_Vovezorevarovaduvorir& estimate() const { return *solver_; }
  // Hands that solver over (its tables are moved, not copied), for "Übernehmen" once the
  // dialog is closed: it is exactly what analysing the shown flags anew would leave.
  // The dialog must not recompute afterwards.
  kel::TKEL_Vovezorevarovaduvorir takeEstimate() { return std::move(*solver_); }

  // Ticks or unticks a pair and recomputes; refuses (with a message) to leave fewer than
  // two active pairs or only pairs on one spot. Returns whether the change was made.
  bool setPairActive(std::size_t pair, bool active);
  // Chooses the model and recomputes; refuses (with a message, the choice unchanged) a
  // model the active pairs do not determine. Returns whether the change was made.
  bool setModel(models::Model model);

  // Widgets, for the window's tests as for its layout.
  QTableView* PairTable = nullptr;
  ResidualPlotWidget* Plot = nullptr;
  QLabel* lab_X = nullptr;
  QLabel* lab_Y = nullptr;
  QLabel* lab_a = nullptr;
  QLabel* lab_o = nullptr;
  QLabel* lab_m = nullptr;
  QLabel* lab_d = nullptr;
  QLabel* lab_So = nullptr;
  QComboBox* ModelBox = nullptr;  // "Modell:", the models in the order of models::kAllModels
  // The parameters: Helmert's labels above on one page, the other models' lines on another.
  QStackedWidget* ParameterPages = nullptr;
  // The other models' lines: name ("a1 ="), value and unit, up to the affine model's ten
  // and So; lines beyond the model's are hidden.
  std::vector<QLabel*> ModelNames, ModelValues, ModelUnits;
  QLabel* ComparisonLine = nullptr;      // So and f of each model
  QLabel* ComparisonVerdicts = nullptr;  // the two F tests and the model the data support
  QLabel* CountLine = nullptr;
  QComboBox* AlphaBox = nullptr;
  QLabel* CriticalLine = nullptr;
  QLabel* VerdictLine = nullptr;
  QLabel* CheckPointLines = nullptr;  // failed check points, hidden when there are none
  QLabel* PairingLine = nullptr;          // which pairing formed the pairs, set by the caller
  QPushButton* ProtocolButton = nullptr;  // "Protokoll speichern...", connected by the caller
  QPushButton* PointsButton = nullptr;    // "QGIS-Datei speichern...", connected by the caller
  QPushButton* ApplyButton = nullptr;
  QPushButton* CloseButton = nullptr;
  PairTableModel* Model = nullptr;
  PairSortModel* SortedModel = nullptr;

  // The significance levels offered, the first the default.
  static constexpr double kAlphas[] = {0.001, 0.01, 0.05};

private:
  QWidget* buildFigures();
  QWidget* buildHelmertParameters();
  QWidget* buildModelParameters();
  QWidget* buildComparison();
  QWidget* buildTable();
  void connectSelection();
  // Analyses again with these flags, level and model; on failure the dialog stays as it was.
  bool recompute(const std::vector<bool>& active, double alpha, models::Model model);
  void showAnalysis();
  void showParameters();

  const PointList& oldPairs_;
  const PointList& newPairs_;
  char separator_;
  std::vector<bool> active_;
  std::unique_ptr<kel::TKEL_Vovezorevarovaduvorir> solver_;
  ControlPointAnalysis analysis_;
  models::ModelComparison comparison_;
};

}  // namespace analysis
