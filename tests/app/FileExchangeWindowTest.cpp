// The window's file exchange, driven through the real dialogs: a QGIS .points file opened
// as both systems with its activity, written back from the "Paßpunktanalyse" with every pair
// and its tick; and "Transformation Alt -> Neu" as CSV with height and code, read by
// python3's csv module.
#include "AnalysisDialogSteps.h"
#include "Controls.h"
#include "PairTableModel.h"
#include "PythonCsv.h"
#include "WindowFixture.h"

#include <QPushButton>
#include <QTest>

#include <cmath>

using analysis::ControlPointDialog;
using analysis::PairTableModel;
using testsupport::WindowFixture;
using testsupport::withDialog;

namespace {

// 11 significant digits of a coordinate of seven integer digits leave four decimals.
constexpr double kTenthMillimetre = 1e-4;

// Five pairs of Gauss-Krueger size, pair 3 switched off, residuals in the file that reading
// does not take.
constexpr const char* kQgisFile =
    "#CRS: PROJCRS[\"DHDN / 3-degree Gauss-Kruger zone 4\"]\n"
    "mapX,mapY,sourceX,sourceY,enable,dX,dY,residual\n"
    "4510684.1,5431529.3,4510584.583,5431729.308,1,0.1,0.2,0.3\n"
    "4512646.9,5432385.2,4512547.351,5432585.269,1,0,0,0\n"
    "4511275.6,5429920.8,4511176.015,5430120.792,0,0,0,0\n"
    "4513112.1,5430800.1,4513012.5,5431000.125,1,0,0,0\n"
    "4509975.8,5432022.5,4509876.25,5432222.5,1,0,0,0\n";

}  // namespace

class FileExchangeWindowTest : public QObject {
  Q_OBJECT
private slots:
  void qgisFileRoundTripKeepsEveryPairAndItsActivity();
  void csvResultWithHeightAndCode();
};

void FileExchangeWindowTest::qgisFileRoundTripKeepsEveryPairAndItsActivity() {
  WindowFixture f;
  const std::string path = f.write("gcp.points", kQgisFile);
  f.driver().chooseFile(path);
  f.form().mnuQgisOeffnen->trigger();
  QVERIFY(f.driver().idle());
  QVERIFY(f.driver().messages().empty());
  QCOMPARE(f.driver().fileDialogs().back().title, QStringLiteral("QGIS-Paßpunktdatei öffnen"));
  QCOMPARE(oldPoints.rw.at(2), 4511176.015);
  QCOMPARE(newPoints.hw.at(4), 5432022.5);
  QCOMPARE(f.form().activePairs, (std::vector<bool>{true, true, false, true, true}));
  QCOMPARE(f.form().StatusBar1->PanelText(0), QStringLiteral("Old: [5]  gcp.points"));
  QCOMPARE(f.form().StatusBar1->PanelText(1), QStringLiteral("New: [5]  gcp.points"));
  const QString described = QStringLiteral(
      "QGIS-Paßpunktdatei, Trennzeichen ',', Dezimalpunkt, Altsystem aus sourceX,sourceY, Neusystem aus "
      "mapX,mapY, Aktiv aus enable, Kopfzeile mit #CRS");
  QCOMPARE(f.form().StatusBar1->Panel(0)->toolTip(), described);
  QCOMPARE(f.form().StatusBar1->Panel(1)->toolTip(), described);

  const std::string written = f.dir().file("aus.points");
  withDialog(f, [&](ControlPointDialog& d) {
    // The file's switched-off pair is switched off in the analysis.
    QCOMPARE(d.Model->index(2, PairTableModel::Active).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    QCOMPARE(d.CountLine->text(), QStringLiteral("n = 4 von 5 aktiv, Redundanz 4"));
    QVERIFY(d.setPairActive(4, false));  // and one more, by the dialog
    f.driver().chooseFile(written);
    QTest::mouseClick(d.PointsButton, Qt::LeftButton);
  });
  QCOMPARE(f.driver().fileDialogs().back().title, QStringLiteral("Paßpunkte als QGIS-Datei speichern"));
  QCOMPARE(f.driver().fileDialogs().back().nameFilters,
           (QStringList{"QGIS-Paßpunkte (*.points)", "Alle Dateien (*)"}));

  // Read again through the window: the same pairs and ticks. The file's columns, to the bit,
  // are the QGIS writer's own tests.
  f.driver().chooseFile(written);
  f.form().mnuQgisOeffnen->trigger();
  QVERIFY(f.driver().idle());
  QCOMPARE(f.form().activePairs, (std::vector<bool>{true, true, false, true, false}));
  QCOMPARE(oldPoints.rw.at(3), 4513012.5);
  QCOMPARE(newPoints.hw.at(4), 5432022.5);
}

void FileExchangeWindowTest::csvResultWithHeightAndCode() {
  testsupport::ScopedLocale german(testsupport::kGermanLocale);
  QVERIFY(german.ok());
  WindowFixture f;
  f.readOld("Punkt;RW;HW;H;Code\n1;0;0;101,5;GS\n2;10;0;;\"Grenz;stein\"\n3;0;10;99,25;MP\n4;-20;5;3;neu\n", "alt.csv");
  f.readNew(testsupport::kExampleNew);
  f.form().Parameter1Click(nullptr);
  const std::string target = f.dir().file("ergebnis.csv");
  f.driver().chooseFile(target, 2);
  f.form().Transformation1Click(nullptr);
  QVERIFY(f.driver().idle());
  QVERIFY(f.driver().messages().empty());

  // German settings: decimal comma, fields between ';'.
  const std::vector<std::vector<std::string>> rows = testsupport::csvRowsByPython(target, ';');
  QCOMPARE(rows.size(), std::size_t{5});
  QCOMPARE(rows[0], (std::vector<std::string>{"Punkt", "RW", "HW", "H", "Code"}));
  // Values row by row are the CSV writer's own tests; here what the window chose: the
  // German decimal comma (point 1 at the origin lands on Yo), heights and codes carried over.
  QVERIFY(std::abs(testsupport::decimalNumber(rows[1][1]) - 99.9925) < kTenthMillimetre);
  QCOMPARE(rows[1][1].find('.'), std::string::npos);
  QCOMPARE(rows[1][3], std::string("101,5"));
  QCOMPARE(rows[2][4], std::string("Grenz;stein"));
  const auto& shown = f.driver().fileDialogs().back();
  QCOMPARE(shown.nameFilters, (QStringList{"Ergebnisdatei (*.erg)", "CSV (*.csv)"}));
  QCOMPARE(shown.defaultSuffix, QStringLiteral("erg"));  // .erg stays the first choice
}

QTEST_MAIN(FileExchangeWindowTest)
#include "FileExchangeWindowTest.moc"
