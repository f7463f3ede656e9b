// "Paarung nach Punktnummer" in the window, driven through the real menu item, the status
// bar's button and the report: a shuffled new file paired by name gives the parameters of
// the ordered one; paired by position the report names the mismatched pairs; names given
// twice refuse pairing by name with one message; the analysis shows the pairing in force
// and whole names.
#include "AnalysisDialogSteps.h"
#include "Controls.h"
#include "PairTableModel.h"
#include "PairingReportDialog.h"
#include "WindowFixture.h"

#include <QAction>
#include <QLabel>
#include <QTableView>
#include <QTest>
#include <QToolButton>

using analysis::ControlPointDialog;
using analysis::PairTableModel;
using testsupport::WindowFixture;
using testsupport::withDialog;

namespace {

// Six named pairs of Gauss-Krueger size; the new system turned, scaled and shifted, with
// millimetre noise.
const char* const kNames[] = {"1001", "1002", "1003", "1004", "1005", "1006"};
constexpr double kOld[][2] = {{4510584.583, 5431729.308}, {4512547.351, 5432585.269}, {4511176.015, 5430120.792},
                              {4513012.500, 5431000.125}, {4509876.250, 5432222.500}, {4511500.750, 5431500.333}};

std::string line(const char* name, double rw, double hw) {
  char text[96];
  std::snprintf(text, sizeof text, "%s %.4f %.4f\n", name, rw, hw);
  return text;
}

std::string oldContent() {
  std::string text;
  for (int i = 0; i < 6; ++i) text += line(kNames[i], kOld[i][0], kOld[i][1]);
  return text;
}

// The new file with its lines in `order`.
std::string newContent(const std::vector<int>& order) {
  std::string text;
  for (const int i : order) {
    const double rw = kOld[i][0], hw = kOld[i][1];
    text += line(kNames[i], 812.5 + 1.0000231 * rw + 0.0000412 * hw + 0.002 * (i % 3),
                 -96.25 + 1.0000231 * hw - 0.0000412 * rw - 0.001 * (i % 2));
  }
  return text;
}

const std::vector<int> kInOrder = {0, 1, 2, 3, 4, 5};
const std::vector<int> kShuffled = {3, 0, 5, 1, 4, 2};
// The first pair in place, the others not.
const std::vector<int> kFirstInPlace = {0, 3, 5, 1, 4, 2};

QStringList reportRows(const pairing::PairingReportDialog& report) {
  QStringList rows;
  const pairing::FindingsModel& model = *report.Model;
  for (int row = 0; row < model.rowCount(); ++row) {
    QStringList cells;
    for (int column = 0; column < pairing::FindingsModel::ColumnCount; ++column)
      cells << model.index(row, column).data().toString();
    rows << cells.join(QStringLiteral(" | "));
  }
  return rows;
}

}  // namespace

class PairingWindowTest : public QObject {
  Q_OBJECT
private slots:
  void shuffledFileByNameGivesTheOrderedParameters();
  void byPositionTheReportNamesTheMismatchedPairs();
  void namesGivenTwiceRefusePairingByNameWithOneMessage();
  void analysisShowsThePairingAndWholeNames();
  void byPositionThePairsAreTheListsAsTheyAre();
};

void PairingWindowTest::shuffledFileByNameGivesTheOrderedParameters() {
  QStringList ordered, orderedCells;
  {
    WindowFixture f;
    f.readOld(oldContent());
    f.readNew(newContent(kInOrder));
    f.form().Parameter1Click(nullptr);
    ordered = f.labelTexts();
    orderedCells = f.cellTexts();
    QVERIFY(!f.form().PairingButton->isVisible() && f.form().PairingButton->isHidden());
  }
  WindowFixture f;
  f.readOld(oldContent());
  f.readNew(newContent(kShuffled));
  QVERIFY(!f.form().mnuPaarung->isChecked());
  f.form().mnuPaarung->trigger();  // through the menu's own command wiring
  QVERIFY(f.form().mnuPaarung->isChecked());
  f.form().Parameter1Click(nullptr);
  QVERIFY(f.driver().messages().empty());
  QCOMPARE(f.labelTexts(), ordered);
  // Rows in the old file's order, numbered 1 to n as always.
  QCOMPARE(f.cellTexts(), orderedCells);
  QVERIFY(f.form().PairingButton->isHidden());  // every name has its partner

  // Unticked again, the same files pair by position: another estimate.
  f.form().mnuPaarung->trigger();
  f.form().Parameter1Click(nullptr);
  QVERIFY(f.labelTexts() != ordered);
}

void PairingWindowTest::byPositionTheReportNamesTheMismatchedPairs() {
  WindowFixture f;
  f.form().show();
  f.readOld(oldContent());
  f.readNew(newContent(kShuffled));
  f.form().Parameter1Click(nullptr);
  QVERIFY(f.driver().messages().empty());  // no message box, not one per pair
  QToolButton* button = f.form().PairingButton;
  QVERIFY(button->isVisible());
  QCOMPARE(button->text(), QStringLiteral("Paarung: 5 Hinweise"));
  QCOMPARE(button->toolTip(), QStringLiteral("Paarung nach Reihenfolge: 5 Paare mit verschiedenen Namen"));

  QTest::mouseClick(button, Qt::LeftButton);
  pairing::PairingReportDialog* report = f.form().PairingReport;
  QVERIFY(report && report->isVisible());
  QVERIFY(!report->isModal());
  QCOMPARE(report->windowTitle(), QStringLiteral("Paarung der Paßpunkte"));
  QCOMPARE(report->SummaryLine->text(), QStringLiteral("Paarung nach Reihenfolge: 5 Paare mit verschiedenen Namen"));
  QCOMPARE(reportRows(*report),
           (QStringList{"Namen verschieden | Paar 1 | 1001 | 1004", "Namen verschieden | Paar 2 | 1002 | 1001",
                        "Namen verschieden | Paar 3 | 1003 | 1006", "Namen verschieden | Paar 4 | 1004 | 1002",
                        "Namen verschieden | Paar 6 | 1006 | 1003"}));
  // The report follows the pairing: by name nothing is left to report.
  f.form().mnuPaarung->trigger();
  QCOMPARE(report->SummaryLine->text(), QStringLiteral("Paarung nach Punktnummer: keine Hinweise"));
  QCOMPARE(report->Model->rowCount(), 0);
  QVERIFY(button->isHidden());
}

void PairingWindowTest::namesGivenTwiceRefusePairingByNameWithOneMessage() {
  WindowFixture f;
  f.readOld("1001 0 0\n1002 10 0\n1001 0 10\n");
  f.readNew(testsupport::kExampleNew);
  f.form().Parameter1Click(nullptr);  // by position: computed, the report names the name
  const QStringList computed = f.labelTexts();
  QCOMPARE(f.form().PairingButton->text(), QStringLiteral("Paarung: 4 Hinweise"));  // 3 pairs, 1 name

  f.form().mnuPaarung->trigger();
  QCOMPARE(f.form().PairingButton->text(), QStringLiteral("Paarung nicht möglich"));
  f.driver().answerMessage();
  f.form().Parameter1Click(nullptr);
  QVERIFY(f.driver().idle());
  QCOMPARE(f.driver().messages().size(), std::size_t{1});
  QCOMPARE(f.driver().messages()[0].text,
           QStringLiteral("Punktname \"1001\" kommt in ") + QString::fromStdString(f.dir().file("alt.asc")) +
               QStringLiteral(" mehrfach vor (Punkte 1, 3).\nPaarung nach Punktnummer verlangt eindeutige "
                              "Punktnamen; es wurde nichts berechnet."));
  QCOMPARE(f.driver().messages()[0].caption, QStringLiteral("Error"));
  QCOMPARE(f.labelTexts(), computed);

  // The analysis refuses in the same words, and opens nothing.
  f.driver().answerMessage();
  f.form().mnuPasspunkteClick(nullptr);
  QVERIFY(f.driver().idle());
  QCOMPARE(f.driver().messages().size(), std::size_t{2});
  QCOMPARE(f.driver().messages()[1].text, f.driver().messages()[0].text);
}

void PairingWindowTest::analysisShowsThePairingAndWholeNames() {
  WindowFixture f;
  f.readOld(oldContent());
  f.readNew(newContent(kFirstInPlace));
  withDialog(f, [&](ControlPointDialog& d) {
    QCOMPARE(d.PairingLine->text(), QStringLiteral("Paarung nach Reihenfolge"));
    QCOMPARE(d.Model->index(0, PairTableModel::Name).data().toString(), QStringLiteral("1001"));
    const QModelIndex name = d.Model->index(1, PairTableModel::Name);
    QCOMPARE(name.data().toString(), QStringLiteral("1002 / 1004"));
    QCOMPARE(name.data(Qt::ToolTipRole).toString(), QStringLiteral("1002 / 1004"));
    // Guards against "1002 / …": the column takes the whole name, also when the first
    // pair's names agree.
    const int needed = d.PairTable->fontMetrics().horizontalAdvance(QStringLiteral("1002 / 1004"));
    QVERIFY2(d.PairTable->columnWidth(PairTableModel::Name) >= needed + 8,
             qPrintable(QString::number(d.PairTable->columnWidth(PairTableModel::Name))));
  });
  f.form().mnuPaarung->trigger();
  withDialog(f, [&](ControlPointDialog& d) {
    QCOMPARE(d.PairingLine->text(), QStringLiteral("Paarung nach Punktnummer"));
    QCOMPARE(d.Model->index(3, PairTableModel::Name).data().toString(), QStringLiteral("1004"));
  });
}

// Guards against pairs formed only when a file is read: by position the pairs are the point
// lists as they are, however they were filled (the benchmarks fill them directly).
void PairingWindowTest::byPositionThePairsAreTheListsAsTheyAre() {
  QStringList read;
  {
    WindowFixture f;
    f.readOld(testsupport::kExampleOld);
    f.readNew(testsupport::kExampleNew);
    f.form().Parameter1Click(nullptr);
    read = f.labelTexts();
  }
  WindowFixture f;
  oldPoints = PointList{{"1", "2", "3"}, {0, 10, 0}, {0, 0, 10}};
  newPoints = PointList{{"1", "2", "3"}, {100, 110, 100}, {200, 200, 210.03}};
  f.form().Parameter1Click(nullptr);
  QVERIFY(f.driver().messages().empty());
  QCOMPARE(f.labelTexts(), read);
}

QTEST_MAIN(PairingWindowTest)
#include "PairingWindowTest.moc"
