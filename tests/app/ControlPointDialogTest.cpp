// The "Paßpunktanalyse" in the window (its shortcut and precondition are in the main
// window's tests): unticking against an actual refit, the last-two refusal, the planted
// blunder, the plot's selection, closing, and "Übernehmen" with the following transformation.
#include "AnalysisDialogSteps.h"
#include "Controls.h"
#include "PairTableModel.h"
#include "ParameterRun.h"
#include "ResidualPlotWidget.h"
#include "StringGrid.h"
#include "TextConversions.h"
#include "WindowFixture.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTest>

#include <cmath>
#include <cstdio>
#include <locale>
#include <sstream>

using analysis::ControlPointDialog;
using analysis::PairTableModel;
using testsupport::WindowFixture;
using testsupport::withDialog;

namespace {

// Eight named pairs, new = turned, scaled and shifted old with millimetre noise; pair 7
// (point 107) carries a blunder of 5 cm.
struct Pair {
  double rw, hw, eRW, eHW;
};
constexpr Pair kPairs[] = {{1000, 2000, 0.002, -0.001}, {1250, 2030, -0.001, 0.002},
                           {1480, 1990, 0.001, 0.000},  {1020, 2260, -0.002, -0.001},
                           {1270, 2240, 0.000, 0.001},  {1510, 2280, 0.001, -0.002},
                           {1100, 2480, 0.030, -0.040}, {1400, 2510, -0.001, 0.001}};
constexpr int kBlunder = 6;

std::string pairFile(bool newSystem, int count = 8) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    const Pair& p = kPairs[i];
    const double rw = newSystem ? 500 + 1.00002 * p.rw + 0.0015 * p.hw + p.eRW : p.rw;
    const double hw = newSystem ? 300 + 1.00002 * p.hw - 0.0015 * p.rw + p.eHW : p.hw;
    char line[80];
    std::snprintf(line, sizeof line, "%d %.4f %.4f\n", 101 + i, rw, hw);
    text += line;
  }
  return text;
}

QString q(const std::string& text) { return QString::fromStdString(text); }

// Presses Space on the check box of pair `pair`, wherever sorting has put its row.
void toggle(ControlPointDialog& d, int pair) {
  const QModelIndex cell = d.SortedModel->mapFromSource(d.Model->index(pair, PairTableModel::Active));
  d.PairTable->setCurrentIndex(cell);
  QTest::keyClick(d.PairTable, Qt::Key_Space);
}

bool isTicked(ControlPointDialog& d, int pair) {
  return d.Model->index(pair, PairTableModel::Active).data(Qt::CheckStateRole).toInt() == Qt::Checked;
}

QStringList dialogParameters(ControlPointDialog& d) {
  return {d.lab_X->text(), d.lab_Y->text(), d.lab_a->text(), d.lab_o->text(),
          d.lab_m->text(), d.lab_d->text(), d.lab_So->text()};
}

// An actual refit without pair `left`: the files' pairs minus that one, by the plain run.
struct Refit {
  kel::TKEL_Vovezorevarovaduvorir solver;
  compute::ParameterRun run;
  QStringList texts;
};
void refitWithout(int left, Refit& refit) {
  PointList oldPairs, newPairs;
  for (int i = 0; i < 8; ++i) {
    if (i == left) continue;
    oldPairs.rw.push_back(oldPoints.rw[i]);
    oldPairs.hw.push_back(oldPoints.hw[i]);
    newPairs.rw.push_back(newPoints.rw[i]);
    newPairs.hw.push_back(newPoints.hw[i]);
  }
  refit.run = compute::runParameterEstimation(oldPairs, newPairs, refit.solver);
  const auto t = compute::parameterTexts(refit.solver, refit.run, toolkit::RegionalDecimalSeparator());
  refit.texts = QStringList{q(t.X), q(t.Y), q(t.a), q(t.o), q(t.m), q(t.d), q(t.So)};
}

bool sameMatrix(const kel::matrix& a, const kel::matrix& b) {
  if (a.rows != b.rows || a.cols != b.cols) return false;
  for (int i = 0; i < a.rows; ++i)
    for (int j = 0; j < a.cols; ++j)
      if (a.row(i)[j] != b.row(i)[j]) return false;
  return true;
}

// The whole state of two solvers, bit for bit: observations, reduced observations,
// centroids, residuals, parameters, So and status.
bool sameSolver(const kel::TKEL_Vovezorevarovaduvorir& a, const kel::TKEL_Vovezorevarovaduvorir& b) {
  return sameMatrix(a, b) && sameMatrix(a.reduced, b.reduced) && sameMatrix(a.centroid, b.centroid) &&
         sameMatrix(a.residuals, b.residuals) && a.a == b.a && a.o == b.o && a.Yo == b.Yo && a.Xo == b.Xo &&
         a.So == b.So && a.status == b.status;
}

}  // namespace

class ControlPointDialogTest : public QObject {
  Q_OBJECT

private slots:
  void untickingRefitsAndTheLastTwoStay();
  void blunderSortsFirstAndPlotFollowsSelection();
  void takeOverShowsAndTransformsWithActivePairs();
  void failedCheckPointIsNamedBesideTheVerdict();
  void chosenLevelIsKeptForTheRun();
};

// All pairs active: the window's "Parameter" texts and the test of the planted blunder;
// unticking it gives an actual refit's texts.
void ControlPointDialogTest::untickingRefitsAndTheLastTwoStay() {
  testsupport::ScopedLocale german(testsupport::kGermanLocale);
  WindowFixture f;
  f.readOld(pairFile(false));
  f.readNew(pairFile(true));
  f.form().Parameter1Click(nullptr);
  const QStringList shown = f.labelTexts().mid(0, 7);
  Refit refit;
  refitWithout(kBlunder, refit);
  withDialog(f, [&](ControlPointDialog& d) {
    QCOMPARE(d.windowTitle(), QStringLiteral("Paßpunktanalyse"));
    QCOMPARE(dialogParameters(d), shown);
    QCOMPARE(d.CountLine->text(), QStringLiteral("n = 8 von 8 aktiv, Redundanz 12"));
    QCOMPARE(d.AlphaBox->currentText(), QStringLiteral("0,1 %"));
    QVERIFY(d.CriticalLine->text().startsWith(QStringLiteral("k = 14,91 (f = 10)")));
    QVERIFY(d.VerdictLine->text().startsWith(QStringLiteral("Punkt 7 (107) ist ausreißerverdächtig")));
    toggle(d, kBlunder);
    QVERIFY(!isTicked(d, kBlunder));
    QCOMPARE(dialogParameters(d), refit.texts);
    QCOMPARE(d.CountLine->text(), QStringLiteral("n = 7 von 8 aktiv, Redundanz 10"));
    QVERIFY(d.VerdictLine->text().startsWith(QStringLiteral("Kein Punkt")));
    toggle(d, kBlunder);  // and back: all pairs again
    QVERIFY(isTicked(d, kBlunder));
    QCOMPARE(dialogParameters(d), shown);
  });

  // Three pairs: one may go, the second refusal keeps its box ticked.
  f.readOld(pairFile(false, 3));
  withDialog(f, [&](ControlPointDialog& d) {
    toggle(d, 0);
    QCOMPARE(d.CountLine->text(), QStringLiteral("n = 2 von 3 aktiv, Redundanz 0"));
    f.driver().answerMessage();
    toggle(d, 1);
    QVERIFY(isTicked(d, 1));
    QCOMPARE(d.CountLine->text(), QStringLiteral("n = 2 von 3 aktiv, Redundanz 0"));
  });
  QCOMPARE(f.driver().messages().size(), std::size_t{1});
  QCOMPARE(f.driver().messages()[0].text, QStringLiteral("Mindestens zwei Paßpunkte sind erforderlich."));
}

void ControlPointDialogTest::blunderSortsFirstAndPlotFollowsSelection() {
  WindowFixture f;
  f.readOld(pairFile(false));
  f.readNew(pairFile(true));
  withDialog(f, [&](ControlPointDialog& d) {
    d.PairTable->sortByColumn(PairTableModel::Test, Qt::DescendingOrder);
    const QAbstractItemModel* rows = d.PairTable->model();
    QCOMPARE(rows->index(0, PairTableModel::Number).data().toInt(), kBlunder + 1);
    QCOMPARE(rows->index(0, PairTableModel::Name).data().toString(), QStringLiteral("107"));
    QCOMPARE(rows->index(0, PairTableModel::Outlier).data().toString(), QStringLiteral("ja"));

    d.PairTable->selectRow(0);
    QCOMPARE(d.Plot->highlighted(), std::optional<std::size_t>(kBlunder));
    const analysis::PlotMark& second = d.Plot->plot().marks[1];
    QVERIFY(second.active && !second.outlier);
    QTest::mouseClick(d.Plot, Qt::LeftButton, {}, QPoint(qRound(second.x), qRound(second.y)));
    QCOMPARE(d.SortedModel->mapToSource(d.PairTable->currentIndex()).row(), 1);
    QVERIFY(d.Plot->plot().marks[kBlunder].outlier);
  });
}

// Escape first, then "Übernehmen": the window, the transformation and the next opening.
void ControlPointDialogTest::takeOverShowsAndTransformsWithActivePairs() {
  WindowFixture f;
  f.readOld(pairFile(false));
  f.readNew(pairFile(true));
  f.form().Parameter1Click(nullptr);
  TForm2& w = f.form();
  const QStringList allPairs = f.labelTexts(), cells = f.cellTexts();
  const long double allPairsRW = solver.transform_rw(oldPoints.rw[0], oldPoints.hw[0]);
  const long double a = solver.a;
  // Closed with Escape, the dialog changes nothing.
  withDialog(f, [&](ControlPointDialog& d) {
    toggle(d, kBlunder);
    QTest::keyClick(&d, Qt::Key_Escape);
    QVERIFY(!d.isVisible());
  });
  QCOMPARE(f.labelTexts(), allPairs);
  QCOMPARE(f.cellTexts(), cells);
  QCOMPARE(solver.a, a);
  Refit refit;
  refitWithout(kBlunder, refit);
  withDialog(f, [&](ControlPointDialog& d) {
    QVERIFY(isTicked(d, kBlunder));
    toggle(d, kBlunder);
    // Recomputed with other flags and another level in between: what is taken over is
    // the estimate shown last.
    toggle(d, 0);
    d.AlphaBox->setCurrentIndex(2);
    toggle(d, 0);
    QVERIFY(isTicked(d, 0) && !isTicked(d, kBlunder));
    QTest::mouseClick(d.ApplyButton, Qt::LeftButton);
  });
  // The program's solver is the dialog's estimate, exactly as analysing the flags anew
  // leaves a solver: a stale or differently made estimate differs somewhere.
  std::vector<bool> flags(8, true);
  flags[kBlunder] = false;
  kel::TKEL_Vovezorevarovaduvorir anew;
  QCOMPARE(analysis::analyseControlPoints(oldPoints, newPoints, flags, 0.05, anew).outcome,
           analysis::AnalysisOutcome::Success);
  QVERIFY(sameSolver(solver, anew));
  QCOMPARE(solver.rows, 7);

  const char sep = toolkit::RegionalDecimalSeparator();
  QCOMPARE(f.labelTexts().mid(0, 7), refit.texts);
  QCOMPARE(w.lab_RWAS->text(), q(compute::centroidTexts(refit.solver, sep).RWAS));
  QCOMPARE(w.StringGrid1->RowCount(), 10);
  QCOMPARE(f.cell(0, 7), QStringLiteral("7 (aus)"));
  QCOMPARE(f.cell(0, 8), QStringLiteral("8"));
  // The check residual of the switched-off pair, with the refit's parameters.
  const long double checkRW = newPoints.rw[kBlunder] - refit.solver.transform_rw(oldPoints.rw[kBlunder], oldPoints.hw[kBlunder]);
  QCOMPARE(f.cell(1, 7), q(compute::residualText(checkRW, sep)));
  QCOMPARE(f.cell(0, 9), QStringLiteral("Summe"));
  QCOMPARE(f.cell(1, 9), q(compute::residualText(refit.solver.residual_rw_sum(), sep)));
  QCOMPARE(f.cell(2, 9), q(compute::residualText(refit.solver.residual_hw_sum(), sep)));

  // The transformation writes with the taken-over parameters.
  const std::string result = f.dir().file("ergebnis.erg");
  f.driver().chooseFile(result);
  w.Transformation1Click(nullptr);
  QVERIFY(f.driver().idle());
  std::istringstream lines(testsupport::readFile(result));
  lines.imbue(std::locale::classic());
  std::string name;
  double rw = 0;
  lines >> name >> rw;
  const long double refitRW = refit.solver.transform_rw(oldPoints.rw[0], oldPoints.hw[0]);
  QVERIFY(std::fabs(static_cast<double>(refitRW - allPairsRW)) > 1e-4);  // the blunder moved it
  QVERIFY(std::fabs(rw - static_cast<double>(refitRW)) < 1e-6);

  // Reopened: the activation taken over; "Parameter" computes with all pairs again.
  withDialog(f, [&](ControlPointDialog& d) { QVERIFY(!isTicked(d, kBlunder)); });
  w.Parameter1Click(nullptr);
  QCOMPARE(f.labelTexts(), allPairs);
  QCOMPARE(f.cell(0, 7), QStringLiteral("7"));
  withDialog(f, [&](ControlPointDialog& d) { QVERIFY(!isTicked(d, kBlunder)); });
  // Reading a file again makes every pair active.
  f.readNew(pairFile(true));
  withDialog(f, [&](ControlPointDialog& d) { QVERIFY(isTicked(d, kBlunder)); });
}

// Guards against a verdict that contradicts the table: the switched-off blunder's row says
// "ja" while the verdict speaks of the active pairs only; a line of its own names it.
void ControlPointDialogTest::failedCheckPointIsNamedBesideTheVerdict() {
  testsupport::ScopedLocale german(testsupport::kGermanLocale);
  WindowFixture f;
  f.readOld(pairFile(false));
  f.readNew(pairFile(true));
  withDialog(f, [&](ControlPointDialog& d) {
    QVERIFY(d.CheckPointLines->isHidden());
    toggle(d, kBlunder);
    QVERIFY(d.VerdictLine->text().startsWith(QStringLiteral("Kein Punkt ist ausreißerverdächtig")));
    const QString T = d.Model->index(kBlunder, PairTableModel::Test).data().toString();
    QCOMPARE(d.Model->index(kBlunder, PairTableModel::Outlier).data().toString(), QStringLiteral("ja"));
    // k of a check point with seven active pairs: f = 10.
    QVERIFY(d.CriticalLine->text().contains(QStringLiteral("k = 14,91 (f = 10) für abgeschaltete")));
    QCOMPARE(d.CheckPointLines->text(),
             QStringLiteral("Kontrollpunkt 7 (107) weicht signifikant ab: T = %1 > k = 14,91.").arg(T));
    QVERIFY(!d.CheckPointLines->isHidden());
    toggle(d, kBlunder);
    QVERIFY(d.CheckPointLines->isHidden());
  });
}

// Guards against the dialog forgetting α: chosen with the level's box, it is the level of
// the next opening whether the dialog was closed with "Übernehmen" or "Schließen", also
// after another file was read.
void ControlPointDialogTest::chosenLevelIsKeptForTheRun() {
  testsupport::ScopedLocale german(testsupport::kGermanLocale);
  WindowFixture f;
  f.readOld(pairFile(false));
  f.readNew(pairFile(true));
  // Chooses the level `steps` entries down (up when negative) with the keyboard.
  auto choose = [](ControlPointDialog& d, int steps) {
    d.AlphaBox->setFocus();
    for (int i = 0; i < std::abs(steps); ++i) QTest::keyClick(d.AlphaBox, steps > 0 ? Qt::Key_Down : Qt::Key_Up);
  };
  withDialog(f, [&](ControlPointDialog& d) {
    QCOMPARE(d.AlphaBox->currentText(), QStringLiteral("0,1 %"));
    choose(d, 2);
    QCOMPARE(d.AlphaBox->currentText(), QStringLiteral("5 %"));
    QTest::mouseClick(d.ApplyButton, Qt::LeftButton);
  });
  const struct {
    const char* name;
    int steps;  // then "Schließen"
    const char* level;
    const char* critical;
    double alpha;
  } rows[] = {
      {"after Übernehmen", -1, "5 %", "k = 4,10 (f = 10)", 0.05},
      {"after Schließen", 0, "1 %", "k = 7,56 (f = 10)", 0.01},
  };
  for (const auto& row : rows) {
    withDialog(f, [&](ControlPointDialog& d) {
      QCOMPARE(d.AlphaBox->currentText(), QString::fromUtf8(row.level));
      QCOMPARE(d.alpha(), row.alpha);
      QVERIFY2(d.CriticalLine->text().startsWith(QString::fromUtf8(row.critical)), qPrintable(d.CriticalLine->text()));
      choose(d, row.steps);
      QTest::mouseClick(d.CloseButton, Qt::LeftButton);
    });
  }
  // A setting, not a result: reading a file again keeps it.
  f.readNew(pairFile(true));
  withDialog(f, [&](ControlPointDialog& d) { QCOMPARE(d.AlphaBox->currentText(), QStringLiteral("1 %")); });
}

QTEST_MAIN(ControlPointDialogTest)
#include "ControlPointDialogTest.moc"
