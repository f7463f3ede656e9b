// The model choice of the "Paßpunktanalyse" in the window: the affine parameters shown
// against normal equations solved in the test, the comparison's verdict on affine and on
// similarity data, the refusal of a model the pairs do not determine, and "Übernehmen"
// with the affine model: main window, residual grid, the result file of "Transformation
// Alt -> Neu", and "Parameter" back to Helmert.
#include "AnalysisDialogSteps.h"
#include "Controls.h"
#include "StringGrid.h"
#include "WindowFixture.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>

#include <array>
#include <cmath>
#include <cstdio>
#include <locale>
#include <sstream>

using analysis::ControlPointDialog;
using testsupport::WindowFixture;
using testsupport::withDialog;

namespace {

constexpr double kTenthMillimetre = 1e-4;
// Factors are shown with ten decimals.
constexpr double kShownFactor = 1e-9;
// The result file holds 11 significant digits: 1e-7 m for coordinates of a few thousand.
constexpr double kResultDigits = 1e-6;

// New from old: RW = Yo + a1 rw + a2 hw, HW = Xo + b1 rw + b2 hw, plus millimetre noise.
struct Affine {
  double Yo, Xo, a1, a2, b1, b2;
  double rw(double x, double y) const { return Yo + a1 * x + a2 * y; }
  double hw(double x, double y) const { return Xo + b1 * x + b2 * y; }
};
// 300 ppm more scale along rw than along hw, a rotation of about 95 mgon.
constexpr Affine kShrunkMap{500, 300, 1.00032, 0.0015, -0.0015, 1.00002};
// A similarity: a = 1.00002, o = 0.0015.
constexpr Affine kSimilarity{500, 300, 1.00002, 0.0015, -0.0015, 1.00002};

constexpr int kPairCount = 10;
constexpr std::array<std::array<double, 4>, kPairCount> kOldAndNoise = {{{1000, 2000, 0.002, -0.001},
                                                                         {1250, 2030, -0.001, 0.002},
                                                                         {1480, 1990, 0.001, 0.000},
                                                                         {1020, 2260, -0.002, -0.001},
                                                                         {1270, 2240, 0.000, 0.001},
                                                                         {1510, 2280, 0.001, -0.002},
                                                                         {1100, 2480, -0.001, 0.001},
                                                                         {1400, 2510, 0.002, 0.000},
                                                                         {1700, 2150, -0.001, -0.002},
                                                                         {1650, 2420, 0.000, 0.002}}};

std::string pairFile(const Affine* toNew, int count = kPairCount) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    const auto& [x, y, eRW, eHW] = kOldAndNoise[static_cast<std::size_t>(i)];
    char line[80];
    std::snprintf(line, sizeof line, "%d %.4f %.4f\n", 101 + i, toNew ? toNew->rw(x, y) + eRW : x,
                  toNew ? toNew->hw(x, y) + eHW : y);
    text += line;
  }
  return text;
}

// The affine fit from the coordinates as read, without centroid reduction: for RW and HW
// each the 3 x 3 normal equations of [1 rw hw], solved by Cramer's rule.
struct AffineFit {
  Affine t{};
  double So = 0;
};
AffineFit fitAffine(const PointList& oldPoints, const PointList& newPoints) {
  long double n[3][3] = {}, uRW[3] = {}, uHW[3] = {};
  const std::size_t count = oldPoints.rw.size();
  for (std::size_t i = 0; i < count; ++i) {
    const long double row[3] = {1, oldPoints.rw[i], oldPoints.hw[i]};
    for (int j = 0; j < 3; ++j) {
      for (int k = 0; k < 3; ++k) n[j][k] += row[j] * row[k];
      uRW[j] += row[j] * newPoints.rw[i];
      uHW[j] += row[j] * newPoints.hw[i];
    }
  }
  auto det = [](const long double m[3][3]) {
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
  };
  auto solve = [&](const long double u[3], int column) {
    long double m[3][3];
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 3; ++k) m[j][k] = k == column ? u[j] : n[j][k];
    return static_cast<double>(det(m) / det(n));
  };
  AffineFit fit;
  fit.t = {solve(uRW, 0), solve(uHW, 0), solve(uRW, 1), solve(uRW, 2), solve(uHW, 1), solve(uHW, 2)};
  long double omega = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const long double vRW = newPoints.rw[i] - fit.t.rw(oldPoints.rw[i], oldPoints.hw[i]);
    const long double vHW = newPoints.hw[i] - fit.t.hw(oldPoints.rw[i], oldPoints.hw[i]);
    omega += vRW * vRW + vHW * vHW;
  }
  fit.So = static_cast<double>(std::sqrt(omega / static_cast<long double>(2 * count - 6)));
  return fit;
}

// A number as the window shows it, with either decimal separator.
double shown(const QString& text) {
  QString plain = text;
  bool ok = false;
  const double value = plain.replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
  if (!ok) qWarning("not a number: %s", qPrintable(text));
  return ok ? value : NAN;
}

// The value the dialog shows beside the name `name` ("a1 ="), NaN when none does.
double dialogValue(ControlPointDialog& d, const char* name) {
  for (std::size_t i = 0; i < d.ModelNames.size(); ++i)
    if (d.ModelNames[i]->isVisibleTo(&d) && d.ModelNames[i]->text() == QString::fromUtf8(name))
      return shown(d.ModelValues[i]->text());
  return NAN;
}

void chooseModel(ControlPointDialog& d, models::Model model) {
  d.ModelBox->setFocus();
  d.ModelBox->setCurrentIndex(d.ModelBox->findData(static_cast<int>(model)));
}

}  // namespace

class ModelChoiceDialogTest : public QObject {
  Q_OBJECT

private slots:
  void affineParametersAreTheNormalEquations();
  void comparisonVerdict_data();
  void comparisonVerdict();
  void modelThePairsDoNotDetermineIsRefused();
  void takeOverAffineWritesItsTransformation();
};

// Helmert shows the main window's labels; affine its six parameters and So, as the
// normal equations give them; back to Helmert the very same texts.
void ModelChoiceDialogTest::affineParametersAreTheNormalEquations() {
  testsupport::ScopedLocale german(testsupport::kGermanLocale);
  WindowFixture f;
  f.readOld(pairFile(nullptr));
  f.readNew(pairFile(&kShrunkMap));
  f.form().Parameter1Click(nullptr);
  const QStringList helmertLabels = f.labelTexts().mid(0, 7);
  const AffineFit fit = fitAffine(oldPoints, newPoints);
  withDialog(f, [&](ControlPointDialog& d) {
    QCOMPARE(d.ModelBox->currentText(), QStringLiteral("Helmert-Transformation (4 Parameter)"));
    QCOMPARE(d.ParameterPages->currentIndex(), 0);
    QCOMPARE((QStringList{d.lab_X->text(), d.lab_Y->text(), d.lab_a->text(), d.lab_o->text(), d.lab_m->text(),
                          d.lab_d->text(), d.lab_So->text()}),
             helmertLabels);
    chooseModel(d, models::Model::Affine);
    QCOMPARE(d.model(), models::Model::Affine);
    QCOMPARE(d.ParameterPages->currentIndex(), 1);
    QVERIFY(std::fabs(dialogValue(d, "Yo =") - fit.t.Yo) < kTenthMillimetre);
    QVERIFY(std::fabs(dialogValue(d, "Xo =") - fit.t.Xo) < kTenthMillimetre);
    QVERIFY(std::fabs(dialogValue(d, "a1 =") - fit.t.a1) < kShownFactor);
    QVERIFY(std::fabs(dialogValue(d, "a2 =") - fit.t.a2) < kShownFactor);
    QVERIFY(std::fabs(dialogValue(d, "b1 =") - fit.t.b1) < kShownFactor);
    QVERIFY(std::fabs(dialogValue(d, "b2 =") - fit.t.b2) < kShownFactor);
    QVERIFY(std::fabs(dialogValue(d, "So =") - fit.So) < kTenthMillimetre);
    // The affine model's redundancy and point test: f = 2n - 6, and 2(n - 1) - 6 for a pair.
    QCOMPARE(d.CountLine->text(), QStringLiteral("n = 10 von 10 aktiv, Redundanz 14"));
    QVERIFY2(d.CriticalLine->text().contains(QStringLiteral("(f = 12) für aktive")), qPrintable(d.CriticalLine->text()));
    chooseModel(d, models::Model::Helmert);
    QCOMPARE(d.ParameterPages->currentIndex(), 0);
    QCOMPARE(d.lab_a->text(), helmertLabels[2]);
    QCOMPARE(d.lab_So->text(), helmertLabels[6]);
  });
}

void ModelChoiceDialogTest::comparisonVerdict_data() {
  QTest::addColumn<bool>("shrunk");
  QTest::addColumn<QString>("affineVerdict");
  QTest::addColumn<QString>("preferred");
  QTest::newRow("300 ppm in rw") << true << QStringLiteral("Das affine Modell ist signifikant besser als Helmert (F = ")
                                 << QStringLiteral("Die Daten stützen das affine Modell (α = 0,1 %).");
  QTest::newRow("similarity") << false
                              << QStringLiteral("Das affine Modell ist nicht signifikant besser als Helmert (F = ")
                              << QStringLiteral("Die Daten stützen das Helmert-Modell (α = 0,1 %).");
}

// The comparison at the dialog's level: affine preferred on the shrunk map, not on a
// similarity; the scale of 20 ppm is significant against the congruent model in both.
void ModelChoiceDialogTest::comparisonVerdict() {
  QFETCH(bool, shrunk);
  QFETCH(QString, affineVerdict);
  QFETCH(QString, preferred);
  testsupport::ScopedLocale german(testsupport::kGermanLocale);
  WindowFixture f;
  f.readOld(pairFile(nullptr));
  f.readNew(pairFile(shrunk ? &kShrunkMap : &kSimilarity));
  withDialog(f, [&](ControlPointDialog& d) {
    const QStringList lines = d.ComparisonVerdicts->text().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 3);
    QVERIFY2(lines[0].startsWith(QStringLiteral("Das Helmert-Modell ist signifikant besser als das kongruente")),
             qPrintable(lines[0]));
    QVERIFY2(lines[1].startsWith(affineVerdict), qPrintable(lines[1]));
    QCOMPARE(lines[2], preferred);
    QVERIFY(d.ComparisonLine->text().startsWith(QStringLiteral("Modellvergleich: kongruent: So = ")));
    QVERIFY(d.ComparisonLine->text().contains(QStringLiteral("; affin: So = ")));
    QVERIFY(d.ComparisonLine->text().endsWith(QStringLiteral(", f = 14")));
  });
}

// Guards against an affine estimate from two pairs: refused with its message, the choice
// stays Helmert.
void ModelChoiceDialogTest::modelThePairsDoNotDetermineIsRefused() {
  WindowFixture f;
  f.readOld(pairFile(nullptr, 2));
  f.readNew(pairFile(&kShrunkMap, 2));
  withDialog(f, [&](ControlPointDialog& d) {
    f.driver().answerMessage();
    chooseModel(d, models::Model::Affine);
    QCOMPARE(d.model(), models::Model::Helmert);
    QCOMPARE(d.ModelBox->currentIndex(), d.ModelBox->findData(static_cast<int>(models::Model::Helmert)));
    QCOMPARE(d.ParameterPages->currentIndex(), 0);
  });
  QCOMPARE(f.driver().messages().size(), std::size_t{1});
  QCOMPARE(f.driver().messages()[0].text, QStringLiteral("Mindestens drei Paßpunkte sind für das affine Modell erforderlich."));
}

// "Übernehmen" with the affine model and one pair switched off: the main window names the
// model and shows its parameters, the grid its residuals, and the result file holds every
// point transformed by the affine fit of the nine active pairs. "Parameter" then is
// Helmert with all pairs again, labels and file alike.
void ModelChoiceDialogTest::takeOverAffineWritesItsTransformation() {
  WindowFixture f;
  f.readOld(pairFile(nullptr));
  f.readNew(pairFile(&kShrunkMap));
  f.form().Parameter1Click(nullptr);
  TForm2& w = f.form();
  const QStringList helmertLabels = f.labelTexts();
  constexpr int kOff = 3;
  PointList activeOld, activeNew;
  for (int i = 0; i < kPairCount; ++i) {
    if (i == kOff) continue;
    activeOld.rw.push_back(oldPoints.rw[static_cast<std::size_t>(i)]);
    activeOld.hw.push_back(oldPoints.hw[static_cast<std::size_t>(i)]);
    activeNew.rw.push_back(newPoints.rw[static_cast<std::size_t>(i)]);
    activeNew.hw.push_back(newPoints.hw[static_cast<std::size_t>(i)]);
  }
  const AffineFit fit = fitAffine(activeOld, activeNew);
  withDialog(f, [&](ControlPointDialog& d) {
    QVERIFY(d.setPairActive(kOff, false));
    chooseModel(d, models::Model::Affine);
    QTest::mouseClick(d.ApplyButton, Qt::LeftButton);
  });

  QCOMPARE(w.GroupBox1->title(), QStringLiteral("Parameter (affin)"));
  QCOMPARE(w.Label3->text(), QStringLiteral("a1 ="));
  QCOMPARE(w.Label6->text(), QStringLiteral("b2 ="));
  QVERIFY(std::fabs(shown(w.lab_a->text()) - fit.t.a1) < kShownFactor);
  QVERIFY(std::fabs(shown(w.lab_o->text()) - fit.t.a2) < kShownFactor);
  QVERIFY(std::fabs(shown(w.lab_m->text()) - fit.t.b1) < kShownFactor);
  QVERIFY(std::fabs(shown(w.lab_d->text()) - fit.t.b2) < kShownFactor);
  QVERIFY(std::fabs(shown(w.lab_So->text()) - fit.So) < kTenthMillimetre);
  QVERIFY(w.GroupBox1->toolTip().contains(QStringLiteral("Scherung")));
  // The residuals of the affine fit, the switched-off pair as a check point.
  QCOMPARE(f.cell(0, kOff + 1), QStringLiteral("4 (aus)"));
  for (int row : {1, kOff + 1, kPairCount}) {
    const std::size_t i = static_cast<std::size_t>(row - 1);
    const double vRW = newPoints.rw[i] - fit.t.rw(oldPoints.rw[i], oldPoints.hw[i]);
    const double vHW = newPoints.hw[i] - fit.t.hw(oldPoints.rw[i], oldPoints.hw[i]);
    QVERIFY(std::fabs(shown(f.cell(1, row)) - vRW) < kTenthMillimetre);
    QVERIFY(std::fabs(shown(f.cell(2, row)) - vHW) < kTenthMillimetre);
  }

  // Every line of the result file against the test's own affine transformation.
  auto writeResult = [&](const char* name) {
    const std::string path = f.dir().file(name);
    f.driver().chooseFile(path);
    w.Transformation1Click(nullptr);
    return testsupport::readFile(path);
  };
  auto largestDeviation = [&](const std::string& file, const Affine& t) {
    std::istringstream lines(file);
    lines.imbue(std::locale::classic());
    std::string name;
    double rw = 0, hw = 0, largest = 0;
    std::size_t count = 0;
    for (; lines >> name >> rw >> hw; ++count) {
      largest = std::max({largest, std::fabs(rw - t.rw(oldPoints.rw[count], oldPoints.hw[count])),
                          std::fabs(hw - t.hw(oldPoints.rw[count], oldPoints.hw[count]))});
    }
    return count == oldPoints.rw.size() ? largest : INFINITY;
  };
  const std::string affineFile = writeResult("affin.erg");
  QVERIFY(f.driver().idle());
  QVERIFY2(largestDeviation(affineFile, fit.t) < kResultDigits, affineFile.c_str());
  // Reopened, the analysis shows the model taken over.
  withDialog(f, [&](ControlPointDialog& d) { QCOMPARE(d.model(), models::Model::Affine); });

  // "Parameter": Helmert with all pairs, its labels and its file, not the affine one's.
  w.Parameter1Click(nullptr);
  QCOMPARE(w.GroupBox1->title(), QStringLiteral("Parameter"));
  QCOMPARE(w.Label3->text(), QStringLiteral("a ="));
  QCOMPARE(f.labelTexts(), helmertLabels);
  withDialog(f, [&](ControlPointDialog& d) { QCOMPARE(d.model(), models::Model::Helmert); });
  const std::string helmertFile = writeResult("helmert.erg");
  QVERIFY(f.driver().idle());
  // The Helmert estimate misses the 300 ppm by centimetres somewhere; the affine fit does not.
  QVERIFY(largestDeviation(helmertFile, fit.t) > 10 * kTenthMillimetre);
  const Affine helmert{static_cast<double>(solver.Yo), static_cast<double>(solver.Xo), static_cast<double>(solver.a),
                       static_cast<double>(solver.o),  static_cast<double>(-solver.o), static_cast<double>(solver.a)};
  QVERIFY(largestDeviation(helmertFile, helmert) < kResultDigits);
}

QTEST_MAIN(ModelChoiceDialogTest)
#include "ModelChoiceDialogTest.moc"
