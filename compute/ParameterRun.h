// The plain part of the "Parameter" command: loads the control point pairs into the
// Helmert solver, runs the estimation and the residuals, derives scale and rotation, and
// builds the texts the main window shows. No user interface here; the window command
// shows the messages and sets the labels and the residual grid.
#pragma once

#include <string>

#include "Keltransformation.h"
#include "PointList.h"
#include "ProgressHandler.h"

namespace compute {

// Message when a coordinate sequence of either system is empty (OK button, error icon).
inline constexpr const char* kEmptyInputMessage =
    "Berechnung kann nicht durchgeführt werden. Überprüfen Sie den Inhalt der Eingabedateien";
inline constexpr const char* kSolvErrorCaption = "Solv Error";
// Messages of the solver's status 2 and 3 (OK button, information icon).
inline constexpr const char* kTooFewPairsMessage = "Mindestens zwei Paßpunkte sind erforderlich.";
inline constexpr const char* kPointsCoincideMessage =
    "Division durch Null. Paßpunkte liegen vermutlich aufeinander.";
inline constexpr const char* kSolveErrorCaption = "Solve Error";
// Message when a parameter, m or So does not fit into a double (OK button, information icon).
inline constexpr const char* kNotRepresentableMessage =
    "Das Ergebnis liegt außerhalb des darstellbaren Zahlenbereichs (unendlich). "
    "Überprüfen Sie die Koordinaten der Paßpunkte.";

// The text of the sums row in the residual grid, column 0.
inline constexpr const char* kSumRowText = "Summe";

enum class ParameterOutcome {
  EmptyInput,      // a coordinate sequence is empty; nothing was touched
  TooFewPairs,     // solver status 2; only the observation matrix changed
  PointsCoincide,  // solver status 3; the centroid is new, the parameters are not
  // Xo, Yo, a, o, m or So is infinite as a double: the solver holds the run, but nothing
  // of it may be shown or used.
  NotRepresentable,
  Success,
};

struct ParameterRun {
  ParameterOutcome outcome = ParameterOutcome::EmptyInput;
  int pointCount = 0;     // pairs used; set for every outcome but EmptyInput
  double scale = 0;       // m = sqrt(a^2 + o^2); only for Success
  double rotation = 0;    // d [gon], -200 .. +200; only for Success
  double So = 0;          // standard deviation of unit weight; only for Success
};

// Scale m = sqrt(a^2 + o^2) and rotation d = atan2(o, a) * 200/pi [gon] of parameters a
// and o (rounded to double). When a = o = 0 (all new points on one spot) d is 0. Where
// a^2 + o^2 leaves the range of double (a or o beyond about 1e154 or below 1e-154) m is
// hypot(a, o), which does not overflow; elsewhere the plain formula, whose last bit can
// differ from hypot's.
struct ScaleAndRotation {
  double scale;
  double rotationGon;
};
ScaleAndRotation scaleAndRotation(double a, double o);

// Pairs the first n points of both lists by position (n the smaller point count; names
// are not compared), fills the solver's observation matrix with n rows of
// rw old, hw old, RW new, HW new, estimates, and on success computes the residuals, So,
// and scale and rotation from a and o rounded to double. When all new points coincide
// (a = o = 0) the rotation is 0. A result that a double cannot hold is NotRepresentable.
// `onProgress`, when given, hears after each step how far the run has got.
ParameterRun runParameterEstimation(const PointList& oldPoints, const PointList& newPoints,
                                    kel::TKEL_Vovezorevarovaduvorir& solver,
                                    const toolkit::ProgressHandler& onProgress = {});

// Centroid texts of the four value labels: mean hw and rw of the old points (HWAS, RWAS)
// and of the new points (HWZS, RWZS); 11 significant digits, 4 decimals.
struct CentroidTexts {
  std::string HWAS, RWAS, HWZS, RWZS;
};
CentroidTexts centroidTexts(const kel::TKEL_Vovezorevarovaduvorir& solver, char sep);

// Parameter texts after a successful run: Xo and Yo with 4 decimals; a and o (rounded to
// double), m and d with 10 decimals, all with at most 11 significant digits; So with at
// most 10 significant digits and 4 decimals.
struct ParameterTexts {
  std::string X, Y, a, o, m, d, So;
};
ParameterTexts parameterTexts(const kel::TKEL_Vovezorevarovaduvorir& solver,
                              const ParameterRun& run, char sep);

// Text of So as the parameter labels show it: 10 significant digits, 4 decimals.
std::string standardDeviationText(double So, char sep);

// Text of one residual or residual sum in the grid: 10 significant digits, 4 decimals.
std::string residualText(long double value, char sep);

// Text of a coordinate as the centroid labels show it: 11 significant digits, 4 decimals.
std::string coordinateText(long double value, char sep);

// The scale as its deviation from 1 in parts per million, (m - 1) * 1e6 in long double:
// 11 significant digits, 4 decimals.
std::string scalePpmText(double scale, char sep);

}  // namespace compute
