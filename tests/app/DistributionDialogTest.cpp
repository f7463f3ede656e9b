// "Transformation mit Restklaffenverteilung..." in the window: refused without an estimate;
// the dialog's figures for each method and setting against the distribution computed here
// from the library's corrections and a hand-written 1/s² mean; the saved result file,
// parsed here; the refusal of an input file as target, a failed write; a method refused
// with its reason.
#include "AnalysisDialogSteps.h"
#include "ControlPointDialog.h"
#include "DistributionDialog.h"
#include "ResidualDistribution.h"
#include "ResidualPlotWidget.h"
#include "ResultFile.h"
#include "WindowFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <charconv>
#include <cmath>
#include <functional>
#include <map>
#include <sstream>

using distribution::DistributionDialog;
using distribution::Method;
using testsupport::WindowFixture;

namespace {

// Figures are shown to four decimals; result lines hold 11 significant digits.
constexpr double kHalfTenthMillimetre = 0.5e-4;
constexpr double kMicrometre = 1e-6;

// Five control points (the first five lines of each file, paired by position) with
// residuals of a centimetre and less, and three new points, the last outside their hull.
constexpr const char* kOld =
    "A 0 0\nB 100 0\nC 100 100\nD 0 100\nE 50 50\nN1 25 25\nN2 75 40\nN3 300 300\n";
constexpr const char* kNew =
    "A 1000.010 2000.000\nB 1100.000 2000.020\nC 1099.990 2100.000\nD 1000.000 2099.985\n"
    "E 1050.005 2050.000\n";
constexpr std::size_t kControlCount = 5;

struct Point {
  std::string name;
  double rw, hw;
};

std::vector<Point> points(const char* text) {
  std::vector<Point> out;
  std::istringstream in(text);
  Point p;
  while (in >> p.name >> p.rw >> p.hw) out.push_back(p);
  return out;
}

double number(std::string text) {
  for (char& c : text) c = c == ',' ? '.' : c;
  double value = NAN;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

// The number in a figure line such as "Größte Korrektur: 0,0123 m (Punkt N1)".
double figure(const QLabel* line) {
  const QString text = line->text();
  const int from = text.indexOf(QStringLiteral(": ")) + 2;
  return number(text.mid(from, text.indexOf(QStringLiteral(" m")) - from).toStdString());
}

// The corrections the dialog must show: control points take their given coordinates, every
// other point the library's correction at its old position; with the mean and the largest
// over the corrected points worked out here.
struct Expected {
  std::vector<double> rw, hw;
  std::vector<bool> corrected;
  double largest = -1, mean = 0;
  std::string largestName;
  std::size_t uncorrected = 0;
};

Expected expectedCorrections(const distribution::Settings& settings) {
  const std::vector<Point> oldPoints = points(kOld);
  const std::vector<Point> newPoints = points(kNew);
  std::vector<distribution::ControlPoint> control;
  for (std::size_t j = 0; j < kControlCount; ++j) {
    const output::ResultPoint t = output::transformedPoint(oldPoints[j].rw, oldPoints[j].hw, solver);
    control.push_back({oldPoints[j].rw, oldPoints[j].hw, newPoints[j].rw - t.rw, newPoints[j].hw - t.hw});
  }
  const distribution::DistributionSetup setup = distribution::prepareDistribution(control, settings);
  Expected e;
  if (!setup.distribution) return e;
  double sum = 0;
  std::size_t count = 0;
  for (std::size_t i = 0; i < oldPoints.size(); ++i) {
    const output::ResultPoint t = output::transformedPoint(oldPoints[i].rw, oldPoints[i].hw, solver);
    double dRW = 0, dHW = 0;
    bool corrected = true;
    if (i < kControlCount) {
      dRW = newPoints[i].rw - t.rw;
      dHW = newPoints[i].hw - t.hw;
    } else {
      const distribution::Correction c = setup.distribution->correctionAt(oldPoints[i].rw, oldPoints[i].hw);
      dRW = c.dRW;
      dHW = c.dHW;
      corrected = c.corrected;
    }
    e.rw.push_back(i < kControlCount ? newPoints[i].rw : t.rw + dRW);
    e.hw.push_back(i < kControlCount ? newPoints[i].hw : t.hw + dHW);
    e.corrected.push_back(corrected);
    if (!corrected) {
      ++e.uncorrected;
      continue;
    }
    const double length = std::hypot(dRW, dHW);
    sum += length;
    ++count;
    if (length > e.largest) {
      e.largest = length;
      e.largestName = oldPoints[i].name;
    }
  }
  e.mean = sum / static_cast<double>(count);
  return e;
}

// Reads the files and computes "Parameter", so that the window holds an estimate.
void prepareEstimate(WindowFixture& f) {
  f.readOld(kOld);
  f.readNew(kNew);
  f.form().Parameter1Click(nullptr);
}

// Opens the dialog through the command and runs `steps` on it; closes it if they did not.
void withDistributionDialog(WindowFixture& f, const std::function<void(DistributionDialog&)>& steps) {
  f.driver().onNextModal([steps](QWidget* widget) {
    auto* dialog = qobject_cast<DistributionDialog*>(widget);
    QVERIFY2(dialog, "the command did not open the dialog of the residual distribution");
    steps(*dialog);
    if (dialog->isVisible()) dialog->reject();
  });
  f.form().mnuRestklaffen->trigger();
  QVERIFY(f.driver().idle());
}

void choose(DistributionDialog& d, Method method) {
  d.MethodBox->setCurrentIndex(static_cast<int>(method));
}

// The result file's lines as name and two numbers, read here, not by the program.
std::vector<Point> resultLines(const std::string& text) {
  std::vector<Point> out;
  std::size_t at = 0;
  while (at <= text.size()) {
    std::size_t end = text.find("\r\n", at);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(at, end - at);
    const std::size_t tab1 = line.find('\t'), tab2 = line.find('\t', tab1 + 1);
    out.push_back({line.substr(1, tab1 - 1), number(line.substr(tab1 + 2, tab2 - tab1 - 2)),
                   number(line.substr(tab2 + 2))});
    at = end + 2;
  }
  return out;
}

}  // namespace

class DistributionDialogTest : public QObject {
  Q_OBJECT

private slots:
  void withoutEstimateRefuses_data();
  void withoutEstimateRefuses();
  void takeOverLeavesSwitchedOffPairsToTheDistribution();
  void refusedWhenTheFilesNoLongerHoldTheEstimatesPairs();
  void refusedAfterTakingOverAnotherModel();
  void previewFigures_data();
  void previewFigures();
  void savesCorrectedPoints();
  void refusesAnInputFileAsTarget();
  void failedWriteShowsFileError();
  void multiquadricAboveItsLimitIsRefusedInTheDialog();
};

void DistributionDialogTest::withoutEstimateRefuses_data() {
  QTest::addColumn<QString>("newFile");
  QTest::addColumn<bool>("parameter");
  QTest::newRow("nothing computed") << QString::fromUtf8(kNew) << false;
  // Guards against taking the solver's parameters of an estimate that failed for too few pairs.
  QTest::newRow("one pair only") << QStringLiteral("A 1000 2000\n") << true;
}

void DistributionDialogTest::withoutEstimateRefuses() {
  QFETCH(QString, newFile);
  QFETCH(bool, parameter);
  WindowFixture f;
  f.readOld(kOld);
  f.readNew(newFile.toStdString());
  if (parameter) {
    f.driver().answerMessage();  // "Mindestens zwei Paßpunkte sind erforderlich."
    f.form().Parameter1Click(nullptr);
  }
  f.driver().answerMessage();
  f.form().mnuRestklaffen->trigger();
  QVERIFY(f.driver().idle());
  QCOMPARE(f.driver().messages().size(), std::size_t{parameter ? 2u : 1u});
  const testsupport::ShownMessage& refusal = f.driver().messages().back();
  QCOMPARE(refusal.caption, QStringLiteral("Restklaffenverteilung"));
  QVERIFY2(refusal.text.startsWith(QStringLiteral("Es liegt keine Transformation vor.")), qPrintable(refusal.text));
  QCOMPARE(f.form().mnuRestklaffen->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
}

// After "Übernehmen" with a pair switched off, that pair is a new point like any other: the
// distribution counts only the active pairs, and the switched-off one is corrected, not given.
void DistributionDialogTest::takeOverLeavesSwitchedOffPairsToTheDistribution() {
  WindowFixture f;
  f.readOld(kOld);
  f.readNew(kNew);
  testsupport::withDialog(f, [&](analysis::ControlPointDialog& d) {
    QVERIFY(d.setPairActive(4, false));
    QTest::mouseClick(d.ApplyButton, Qt::LeftButton);
  });
  withDistributionDialog(f, [&](DistributionDialog& d) {
    QCOMPARE(d.ControlPointLine->text(), QStringLiteral("Paßpunkte: 4"));
    QVERIFY(d.corrected()->given[0]);
    QVERIFY(!d.corrected()->given[4]);
    // E (50, 50) is the centre of the square A B C D: under 1/s² the mean of their residuals.
    double meanRW = 0, meanHW = 0;
    const std::vector<Point> oldPoints = points(kOld), newPoints = points(kNew);
    for (std::size_t j = 0; j < 4; ++j) {
      const output::ResultPoint t = output::transformedPoint(oldPoints[j].rw, oldPoints[j].hw, solver);
      meanRW += (newPoints[j].rw - t.rw) / 4;
      meanHW += (newPoints[j].hw - t.hw) / 4;
    }
    QVERIFY(std::abs(d.corrected()->dRW[4] - meanRW) < kMicrometre);
    QVERIFY(std::abs(d.corrected()->dHW[4] - meanHW) < kMicrometre);
  });
}

// Guards against a "distribution" without control points, which would only repeat
// "Transformation Alt -> Neu" under another name.
void DistributionDialogTest::refusedWhenTheFilesNoLongerHoldTheEstimatesPairs() {
  WindowFixture f;
  prepareEstimate(f);
  f.readNew("A 5 5\nB 6 6\n", "anders.asc");
  f.driver().answerMessage();
  f.form().mnuRestklaffen->trigger();
  QVERIFY(f.driver().idle());
  QCOMPARE(f.driver().messages().size(), std::size_t{1});
  QVERIFY2(f.driver().messages().front().text.startsWith(
               QStringLiteral("Die Paßpunkte der Transformation sind in den eingelesenen Dateien nicht mehr enthalten.")),
           qPrintable(f.driver().messages().front().text));
}

// Guards against distributing the Helmert residuals that the solver still holds after the
// affine model was taken over: they are not the current transformation's.
void DistributionDialogTest::refusedAfterTakingOverAnotherModel() {
  WindowFixture f;
  f.readOld(kOld);
  f.readNew(kNew);
  testsupport::withDialog(f, [&](analysis::ControlPointDialog& d) {
    d.ModelBox->setCurrentIndex(d.ModelBox->findData(static_cast<int>(models::Model::Affine)));
    QTest::mouseClick(d.ApplyButton, Qt::LeftButton);
  });
  QVERIFY(f.form().takenModel.has_value());
  f.driver().answerMessage();
  f.form().mnuRestklaffen->trigger();
  QVERIFY(f.driver().idle());
  QCOMPARE(f.driver().messages().size(), std::size_t{1});
  QVERIFY2(f.driver().messages().front().text.startsWith(
               QStringLiteral("Die Restklaffenverteilung verteilt die Restklaffen der Helmert-Transformation.")),
           qPrintable(f.driver().messages().front().text));
}

void DistributionDialogTest::previewFigures_data() {
  QTest::addColumn<int>("method");
  QTest::addColumn<double>("radius");  // 0: none
  QTest::newRow("1/s") << int(Method::DistanceWeightingP1) << 0.0;
  QTest::newRow("1/s^1,5") << int(Method::DistanceWeightingP1_5) << 0.0;
  QTest::newRow("1/s²") << int(Method::DistanceWeightingP2) << 0.0;
  QTest::newRow("1/s² within 60 m") << int(Method::DistanceWeightingP2) << 60.0;
  QTest::newRow("multiquadric") << int(Method::Multiquadric) << 0.0;
  QTest::newRow("triangles") << int(Method::Triangles) << 0.0;
}

void DistributionDialogTest::previewFigures() {
  QFETCH(int, method);
  QFETCH(double, radius);
  testsupport::ScopedLocale german(testsupport::kGermanLocale);
  QVERIFY(german.ok());
  WindowFixture f;
  prepareEstimate(f);
  distribution::Settings settings;
  settings.method = static_cast<Method>(method);
  if (radius > 0) settings.radius = radius;
  const Expected e = expectedCorrections(settings);
  withDistributionDialog(f, [&](DistributionDialog& d) {
    choose(d, settings.method);
    if (radius > 0) {
      d.RadiusCheck->setChecked(true);
      d.RadiusBox->setValue(radius);
    }
    QCOMPARE(d.ControlPointLine->text(), QStringLiteral("Paßpunkte: 5"));
    QVERIFY(d.ProblemLine->isHidden());
    QVERIFY(std::abs(figure(d.LargestLine) - e.largest) < kHalfTenthMillimetre);
    QVERIFY2(d.LargestLine->text().endsWith(QString::fromStdString("(Punkt " + e.largestName + ")")),
             qPrintable(d.LargestLine->text()));
    QVERIFY2(d.LargestLine->text().contains(QLatin1Char(',')), "the regional decimal separator");
    QVERIFY(std::abs(figure(d.MeanLine) - e.mean) < kHalfTenthMillimetre);
    QVERIFY2(d.UncorrectedLine->text().startsWith(QStringLiteral("Punkte ohne Korrektur: %1").arg(e.uncorrected)),
             qPrintable(d.UncorrectedLine->text()));
    // The plot shows every old point, an arrow exactly where a correction is.
    const analysis::ResidualPlotGeometry& plot = d.Plot->plot();
    QCOMPARE(plot.marks.size(), e.corrected.size());
    for (std::size_t i = 0; i < e.corrected.size(); ++i) {
      const analysis::PlotMark& mark = plot.marks[i];
      QCOMPARE(mark.tipX != mark.x || mark.tipY != mark.y, bool(e.corrected[i]));
    }
  });
  if (settings.method == Method::Triangles) QCOMPARE(e.uncorrected, std::size_t{1});  // N3 outside the hull
  if (radius > 0) QVERIFY(e.uncorrected >= 1);  // N3 is 250 m from the nearest control point
}

void DistributionDialogTest::savesCorrectedPoints() {
  WindowFixture f;
  prepareEstimate(f);
  const std::string target = f.dir().file("verteilt.erg");
  withDistributionDialog(f, [&](DistributionDialog& d) {
    choose(d, Method::Triangles);
    choose(d, Method::DistanceWeightingP2);
    // Control points take their given coordinates to the bit, not T + v rounded.
    const std::vector<Point> given = points(kNew);
    for (std::size_t j = 0; j < kControlCount; ++j) {
      QVERIFY(d.corrected()->given[j]);
      QVERIFY(d.corrected()->rw[j] == given[j].rw && d.corrected()->hw[j] == given[j].hw);
    }
    QVERIFY(!d.corrected()->given[kControlCount]);
    f.driver().chooseFile(target);
    QTest::mouseClick(d.SaveButton, Qt::LeftButton);
  });
  QCOMPARE(f.driver().fileDialogs().back().title,
           QStringLiteral("Transformation mit Restklaffenverteilung speichern"));
  QCOMPARE(f.driver().fileDialogs().back().nameFilters, QStringList{QStringLiteral("Ergebnisdatei (*.erg)")});

  const std::vector<Point> written = resultLines(testsupport::readFile(target));
  const std::vector<Point> oldPoints = points(kOld);
  const std::vector<Point> newPoints = points(kNew);
  const Expected e = expectedCorrections({});
  QCOMPARE(written.size(), oldPoints.size());
  for (std::size_t i = 0; i < written.size(); ++i) {
    QCOMPARE(written[i].name, oldPoints[i].name);
    QVERIFY2(std::abs(written[i].rw - e.rw[i]) < kMicrometre && std::abs(written[i].hw - e.hw[i]) < kMicrometre,
             oldPoints[i].name.c_str());
  }
  // N1 by the 1/s² mean written out here: c = sum v_j / s_j² / sum 1 / s_j².
  double sumRW = 0, sumHW = 0, sumW = 0;
  for (std::size_t j = 0; j < kControlCount; ++j) {
    const output::ResultPoint t = output::transformedPoint(oldPoints[j].rw, oldPoints[j].hw, solver);
    const double s2 = std::pow(oldPoints[j].rw - 25, 2) + std::pow(oldPoints[j].hw - 25, 2);
    sumRW += (newPoints[j].rw - t.rw) / s2;
    sumHW += (newPoints[j].hw - t.hw) / s2;
    sumW += 1 / s2;
  }
  const output::ResultPoint n1 = output::transformedPoint(25, 25, solver);
  QVERIFY(std::abs(written[5].rw - (n1.rw + sumRW / sumW)) < kMicrometre);
  QVERIFY(std::abs(written[5].hw - (n1.hw + sumHW / sumW)) < kMicrometre);
}

// Guards against the corrected result replacing a coordinate file that was read.
void DistributionDialogTest::refusesAnInputFileAsTarget() {
  WindowFixture f;
  prepareEstimate(f);
  const std::string input = f.dir().file("alt.asc");
  withDistributionDialog(f, [&](DistributionDialog& d) {
    f.driver().chooseFile(input);  // refused, then the file dialog is cancelled
    f.driver().answerMessage();
    QTest::mouseClick(d.SaveButton, Qt::LeftButton);
  });
  QCOMPARE(f.driver().messages().size(), std::size_t{1});
  QCOMPARE(f.driver().messages().front().icon, QMessageBox::Critical);
  QVERIFY2(f.driver().messages().front().text.contains(QStringLiteral("ist eine eingelesene Koordinatendatei")),
           qPrintable(f.driver().messages().front().text));
  QCOMPARE(testsupport::readFile(input), std::string(kOld));
}

void DistributionDialogTest::failedWriteShowsFileError() {
  WindowFixture f;
  prepareEstimate(f);
  const std::string target = f.dir().file("fehlt/verteilt.erg");  // its folder has gone
  withDistributionDialog(f, [&](DistributionDialog& d) {
    f.driver().chooseVanishedFile(target);
    f.driver().answerMessage();
    QTest::mouseClick(d.SaveButton, Qt::LeftButton);
  });
  QCOMPARE(f.driver().messages().size(), std::size_t{1});
  const testsupport::ShownMessage& message = f.driver().messages().front();
  QCOMPARE(message.caption, QStringLiteral("File Error"));
  QCOMPARE(message.icon, QMessageBox::Critical);
  QVERIFY2(message.text.startsWith(QStringLiteral("Datei ") + QString::fromStdString(target) +
                                   QStringLiteral(" kann nicht geschrieben werden.")),
           qPrintable(message.text));
}

void DistributionDialogTest::multiquadricAboveItsLimitIsRefusedInTheDialog() {
  WindowFixture f;
  // One control point more than the multiquadric method takes, on a grid, each moved by
  // a millimetre or two.
  std::string oldText, newText;
  const std::size_t n = distribution::kMaxMultiquadricPoints + 1;
  for (std::size_t i = 0; i < n; ++i) {
    const double rw = static_cast<double>(i % 60) * 10, hw = static_cast<double>(i / 60) * 10;
    oldText += "P" + std::to_string(i) + " " + std::to_string(rw) + " " + std::to_string(hw) + "\n";
    newText += "P" + std::to_string(i) + " " + std::to_string(rw + 0.001 * static_cast<double>(i % 3)) + " " +
               std::to_string(hw + 0.002 * static_cast<double>(i % 2)) + "\n";
  }
  f.readOld(oldText);
  f.readNew(newText);
  f.form().Parameter1Click(nullptr);
  withDistributionDialog(f, [&](DistributionDialog& d) {
    QVERIFY(d.SaveButton->isEnabled());
    choose(d, Method::Multiquadric);
    QVERIFY(!d.ProblemLine->isHidden());
    QCOMPARE(d.ProblemLine->text(),
             QStringLiteral("Restklaffenverteilung nicht möglich: die Multiquadratische Interpolation nimmt höchstens 3000 Paßpunkte, hier sind es 3001. Für mehr Paßpunkte: Gewichtung oder Dreiecksvermaschung."));
    QVERIFY(!d.SaveButton->isEnabled());
    QVERIFY(!d.corrected());
    choose(d, Method::Triangles);  // and back to a method that takes them
    QVERIFY(d.ProblemLine->isHidden());
    QVERIFY(d.SaveButton->isEnabled());
  });
}

QTEST_MAIN(DistributionDialogTest)
#include "DistributionDialogTest.moc"
