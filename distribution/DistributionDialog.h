// The modal dialog "Transformation mit Restklaffenverteilung": the method and its settings,
// the corrections at the old file's points drawn as the "Paßpunktanalyse" draws residuals
// (the same plot geometry and painter), the largest and mean correction and the points left
// without one. Every change of a setting recomputes at once; the window's command saves.
#pragma once

#include "CorrectedPoints.h"
#include "ResidualDistribution.h"

#include <QDialog>

#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;

namespace analysis {
class ResidualPlotWidget;
}  // namespace analysis

namespace distribution {

class DistributionDialog : public QDialog {
  Q_OBJECT
public:
  // `solver` holds the current estimate, `controlPoints` its control points (see
  // estimateControlPoints). The point list and the solver must outlive the dialog.
  DistributionDialog(QWidget* parent, const PointList& oldPoints,
                     const kel::TKEL_Vovezorevarovaduvorir& solver, EstimateControlPoints controlPoints);
  ~DistributionDialog() override;

  // The settings the widgets show now.
  Settings settings() const;
  // The old file's points as the shown settings correct them; none when the distribution
  // could not be set up (ProblemLine says why).
  const std::optional<CorrectedPoints>& corrected() const { return corrected_; }

  // Widgets, for the window's tests as for its layout.
  QComboBox* MethodBox = nullptr;
  QCheckBox* RadiusCheck = nullptr;      // a radius for the distance weighting
  QDoubleSpinBox* RadiusBox = nullptr;   // R [m]
  QCheckBox* DeltaCheck = nullptr;       // an own delta for the multiquadric method
  QDoubleSpinBox* DeltaBox = nullptr;    // delta [m]
  QLabel* DeltaDefaultLine = nullptr;    // the default delta and its rule
  analysis::ResidualPlotWidget* Plot = nullptr;
  QLabel* ControlPointLine = nullptr;
  QLabel* LargestLine = nullptr;
  QLabel* MeanLine = nullptr;
  QLabel* UncorrectedLine = nullptr;
  QLabel* ProblemLine = nullptr;         // why nothing is shown; hidden when all is well
  QPushButton* SaveButton = nullptr;     // "Speichern...", connected by the caller
  QPushButton* CloseButton = nullptr;

private:
  QWidget* buildSettings();
  QWidget* buildFigures();
  // Sets the distribution up with the shown settings and shows its corrections.
  void recompute();
  void showProblem(const std::string& text);
  // The name of old point i as the dialog shows it: its name, else its number in the file.
  std::string pointLabel(std::size_t i) const;

  const PointList& oldPoints_;
  const kel::TKEL_Vovezorevarovaduvorir& solver_;
  EstimateControlPoints controlPoints_;
  char separator_;
  std::optional<CorrectedPoints> corrected_;
};

}  // namespace distribution
