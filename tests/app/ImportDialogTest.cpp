// "Datei → Importieren..." driven through the dialog's widgets: the file typed in, the
// preview and the line saying how it will be read, a choice per column that changes both,
// the separator, a choice that cannot read (OK disabled), and OK reading the chosen points
// into the chosen system with its status panel.
#include "Controls.h"
#include "ImportDialog.h"
#include "WindowFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

#include <cmath>
#include <functional>

using pointimport::ImportDialog;
using testsupport::WindowFixture;

namespace {

// Runs "Importieren..." and `steps` on its dialog; cancels it if the steps left it open.
void withImportDialog(WindowFixture& f, const std::function<void(ImportDialog&)>& steps) {
  f.driver().onNextModal([steps](QWidget* widget) {
    auto* dialog = qobject_cast<ImportDialog*>(widget);
    QVERIFY2(dialog, "the command did not open the import dialog");
    steps(*dialog);
    if (dialog->isVisible()) dialog->reject();
  });
  f.form().mnuImportierenClick(nullptr);
  QVERIFY(f.driver().idle());
}

// Types `path` into the file field and presses Return, as a user would.
void typeFile(ImportDialog& d, const std::string& path) {
  d.FileEdit->clear();
  QTest::keyClicks(d.FileEdit, QString::fromStdString(path));
  QTest::keyClick(d.FileEdit, Qt::Key_Return);
}

void choose(QComboBox* box, const QString& text) {
  const int index = box->findText(text);
  QVERIFY2(index >= 0, qPrintable(text));
  box->setCurrentIndex(index);
}

QStringList previewRow(const ImportDialog& d, int row) {
  QStringList cells;
  for (int column = 0; column < d.PreviewTable->columnCount(); ++column) {
    const QTableWidgetItem* item = d.PreviewTable->item(row, column);
    cells << (item ? item->text() : QString());
  }
  return cells;
}

// Code, Hochwert, Rechtswert, name and height between tabs, without header: no recognition
// reads that order.
constexpr const char* kColumnFile =
    "GS\t5431729,308\t4510584,583\t1001\t101,5\n"
    "MP\t5432585,269\t4512547,351\t1002\t\n"
    "GS\tkaputt\t4511176,015\t1003\t99\n";

}  // namespace

class ImportDialogTest : public QObject {
  Q_OBJECT
private slots:
  void chosenColumnsReadTheRightPointsIntoTheChosenSystem();
  void recognisedCsvNeedsNoChoice();
  void aChoiceThatCannotReadDisablesOk();
  void cancelReadsNothing();
};

void ImportDialogTest::chosenColumnsReadTheRightPointsIntoTheChosenSystem() {
  WindowFixture f;
  f.readOld(testsupport::kExampleOld);
  const std::string path = f.write("punkte.txt", kColumnFile);
  withImportDialog(f, [&](ImportDialog& d) {
    QCOMPARE(d.windowTitle(), QStringLiteral("Importieren"));
    QVERIFY(d.NewButton->isChecked());  // the old system has points already
    QVERIFY(!d.OkButton->isEnabled());  // no file yet
    typeFile(d, path);
    QVERIFY(d.isVisible());  // Return loads the preview; it does not import
    // What reading without a choice would do: the coordinate list, the code taken as the name.
    QCOMPARE(d.SeparatorBox->currentText(), QStringLiteral("Leerzeichen"));
    QCOMPARE(d.PreviewTable->columnCount(), 5);
    QCOMPARE(previewRow(d, 1), (QStringList{"GS", "5431729,308", "4510584,583", "1001", "101,5"}));
    QCOMPARE(d.columnBox(0)->currentText(), QStringLiteral("Punkt"));
    QCOMPARE(d.SummaryLine->text(), QStringLiteral("Vorschau: 2 Punkte, 1 fehlerhafte Zeile (Zeile 3)"));

    choose(d.columnBox(0), QStringLiteral("Code"));
    choose(d.columnBox(1), QStringLiteral("HW"));
    choose(d.columnBox(2), QStringLiteral("RW"));
    choose(d.columnBox(3), QStringLiteral("Punkt"));
    choose(d.columnBox(4), QStringLiteral("H"));
    QCOMPARE(d.FormatLine->text(), QStringLiteral("Gelesen wird: Spaltendatei, Trennzeichen Leerzeichen, "
                                                  "Dezimalkomma, Spalten Code HW RW Punkt H, ohne Kopfzeile"));
    QCOMPARE(d.SummaryLine->text(), QStringLiteral("Vorschau: 2 Punkte, 1 fehlerhafte Zeile (Zeile 3)"));
    // A tab is the separator as well: the same fields, the text says so.
    choose(d.SeparatorBox, QStringLiteral("Tabulator"));
    QCOMPARE(d.columnBox(3)->currentText(), QStringLiteral("Punkt"));  // the choices stay
    QVERIFY(d.FormatLine->text().contains(QStringLiteral("Trennzeichen Tab")));
    QVERIFY(d.OkButton->isEnabled());
    f.driver().answerMessage();  // the bad line 3, skipped with OK
    QTest::mouseClick(d.OkButton, Qt::LeftButton);
  });
  QCOMPARE(f.driver().messages().size(), std::size_t{1});
  QVERIFY(f.driver().messages()[0].text.contains(QStringLiteral("Zeile 3")));
  QCOMPARE(newPoints.names, (std::vector<std::string>{"1001", "1002"}));
  QCOMPARE(newPoints.rw, (std::vector<double>{4510584.583, 4512547.351}));
  QCOMPARE(newPoints.hw, (std::vector<double>{5431729.308, 5432585.269}));
  QCOMPARE(newPoints.codes, (std::vector<std::string>{"GS", "MP"}));
  QCOMPARE(newPoints.heights.at(0), 101.5);
  QVERIFY(std::isnan(newPoints.heights.at(1)));
  QCOMPARE(oldPoints.count(), std::size_t{3});  // the old system as it was
  QCOMPARE(f.form().StatusBar1->PanelText(1), QStringLiteral("New: [2]  punkte.txt"));
  QCOMPARE(f.form().StatusBar1->Panel(1)->toolTip(),
           QStringLiteral("CSV, Trennzeichen Tab, Dezimalkomma, Spalten Code HW RW Punkt H, ohne Kopfzeile"));
  QCOMPARE(f.form().newSkippedLines, std::size_t{1});
  QCOMPARE(f.form().importFileName, path);
}

void ImportDialogTest::recognisedCsvNeedsNoChoice() {
  WindowFixture f;
  const std::string path = f.write("alt.csv", "Punkt;RW;HW\r\n1;0;0\r\n2;10;0\r\n3;0;10\r\n");
  withImportDialog(f, [&](ImportDialog& d) {
    QVERIFY(d.OldButton->isChecked());
    typeFile(d, path);
    QVERIFY(d.HeaderBox->isChecked());
    QCOMPARE(d.SeparatorBox->currentText(), QStringLiteral("Semikolon ;"));
    QCOMPARE(d.SummaryLine->text(), QStringLiteral("Vorschau: 3 Punkte"));
    QTest::mouseClick(d.OkButton, Qt::LeftButton);
  });
  QVERIFY(f.driver().messages().empty());
  QCOMPARE(oldPoints.names, (std::vector<std::string>{"1", "2", "3"}));
  QCOMPARE(f.form().StatusBar1->Panel(0)->toolTip(),
           QStringLiteral("CSV, Trennzeichen ';', Dezimalpunkt, Spalten Punkt;RW;HW, Kopfzeile"));
  // The next import starts with the file read last; unticking the header line makes it bad.
  withImportDialog(f, [&](ImportDialog& d) {
    QCOMPARE(d.FileEdit->text(), QString::fromStdString(path));
    d.HeaderBox->click();
    QCOMPARE(d.SummaryLine->text(), QStringLiteral("Vorschau: 3 Punkte, 1 fehlerhafte Zeile (Zeile 1)"));
  });
}

void ImportDialogTest::aChoiceThatCannotReadDisablesOk() {
  WindowFixture f;
  const std::string path = f.write("punkte.txt", kColumnFile);
  withImportDialog(f, [&](ImportDialog& d) {
    typeFile(d, path);
    QVERIFY(d.OkButton->isEnabled());
    choose(d.columnBox(3), QStringLiteral("RW"));  // RW twice
    QVERIFY(!d.OkButton->isEnabled());
    QCOMPARE(d.SummaryLine->text(), QStringLiteral("Die Spalte RW ist mehrfach angegeben."));
    choose(d.columnBox(3), QStringLiteral("ignorieren"));
    QVERIFY(d.OkButton->isEnabled());
    choose(d.SeparatorBox, QStringLiteral("Komma ,"));
    choose(d.DecimalBox, QStringLiteral("Komma"));
    QVERIFY(!d.OkButton->isEnabled());
    QCOMPARE(d.SummaryLine->text(), QStringLiteral("Mit dem Trennzeichen Komma haben die Zahlen einen Dezimalpunkt."));
    typeFile(d, f.dir().file("fehlt.txt"));
    QVERIFY(!d.OkButton->isEnabled());
    QCOMPARE(d.SummaryLine->text(), QStringLiteral("Die Datei gibt es nicht."));
  });
  QVERIFY(oldPoints.empty() && newPoints.empty());
}

void ImportDialogTest::cancelReadsNothing() {
  WindowFixture f;
  const std::string path = f.write("punkte.txt", kColumnFile);
  withImportDialog(f, [&](ImportDialog& d) {
    typeFile(d, path);
    QTest::mouseClick(d.CancelButton, Qt::LeftButton);
  });
  QVERIFY(oldPoints.empty());
  QCOMPARE(f.form().StatusBar1->PanelText(0), QStringLiteral("Old:"));
  QVERIFY(f.form().importFileName.empty());
}

QTEST_MAIN(ImportDialogTest)
#include "ImportDialogTest.moc"
