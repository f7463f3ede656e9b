// The toolkit layer's widgets: message box flags and answers, exceptions shown by guarded
// commands, filter conversion, the text grid and the right-aligned value label.
#include "Application.h"
#include "FileDialogs.h"
#include "ModalDriver.h"
#include "Progress.h"
#include "StringGrid.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <QThread>

#include <stdexcept>

class ToolkitWidgetsTest : public QObject {
  Q_OBJECT

private slots:
  void messageBoxFlags_data();
  void messageBoxFlags();
  void guardedCommandShowsException_data();
  void guardedCommandShowsException();
  void germanButtonTexts();
  void nameFilters_data();
  void nameFilters();
  void gridCellsAndRows();
  void progressShowsOnlyForLongWork();
};

void ToolkitWidgetsTest::messageBoxFlags_data() {
  QTest::addColumn<unsigned>("flags");
  QTest::addColumn<int>("button");
  QTest::addColumn<int>("icon");
  QTest::addColumn<bool>("hasCancel");
  QTest::addColumn<int>("result");
  QTest::newRow("0x10 OK") << 0x10u << int(QMessageBox::Ok) << int(QMessageBox::Critical) << false
                           << int(toolkit::IDOK);
  QTest::newRow("0x11 OK") << 0x11u << int(QMessageBox::Ok) << int(QMessageBox::Critical) << true
                           << int(toolkit::IDOK);
  QTest::newRow("0x11 Cancel") << 0x11u << int(QMessageBox::Cancel) << int(QMessageBox::Critical)
                               << true << int(toolkit::IDCANCEL);
  QTest::newRow("0x40 OK") << 0x40u << int(QMessageBox::Ok) << int(QMessageBox::Information)
                           << false << int(toolkit::IDOK);
}

void ToolkitWidgetsTest::messageBoxFlags() {
  QFETCH(unsigned, flags);
  QFETCH(int, button);
  QFETCH(int, icon);
  QFETCH(bool, hasCancel);
  QFETCH(int, result);
  testsupport::ModalDriver driver;
  driver.answerMessage(static_cast<QMessageBox::StandardButton>(button));
  QCOMPARE(toolkit::MessageBox("Text mit Umlaut: Größe", "Caption", flags), result);
  QCOMPARE(driver.messages().at(0).text, QStringLiteral("Text mit Umlaut: Größe"));
  QCOMPARE(driver.messages().at(0).caption, QStringLiteral("Caption"));
  QCOMPARE(int(driver.messages().at(0).icon), icon);
  QCOMPARE(driver.messages().at(0).hasCancel, hasCancel);
}

void ToolkitWidgetsTest::guardedCommandShowsException_data() {
  QTest::addColumn<int>("kind");
  QTest::addColumn<QString>("shown");
  QTest::newRow("text") << 0 << QStringLiteral("Angeforderte Spalte ist größer als Gesamtanzahl der Spalten");
  QTest::newRow("std::exception") << 1 << QStringLiteral("kaputt");
  QTest::newRow("anything else") << 2 << QStringLiteral("Unbekannter Fehler.");
}

// Guards against an exception leaving a command through Qt's event loop.
void ToolkitWidgetsTest::guardedCommandShowsException() {
  QFETCH(int, kind);
  QFETCH(QString, shown);
  testsupport::ModalDriver driver;
  driver.answerMessage();
  toolkit::RunGuarded([&] {
    if (kind == 0) throw "Angeforderte Spalte ist größer als Gesamtanzahl der Spalten";
    if (kind == 1) throw std::runtime_error("kaputt");
    throw 42;
  });
  QCOMPARE(driver.messages().at(0).text, shown);
  QCOMPARE(driver.messages().at(0).icon, QMessageBox::Critical);
}

void ToolkitWidgetsTest::germanButtonTexts() {
  toolkit::InstallGermanTranslations();
  testsupport::ModalDriver driver;
  driver.answerMessage(QMessageBox::Cancel);
  toolkit::MessageBox("Frage", "Error", toolkit::MB_OKCANCEL | toolkit::MB_ICONERROR);
  QVERIFY(driver.messages().at(0).buttons.contains(QStringLiteral("&Abbrechen")) ||
          driver.messages().at(0).buttons.contains(QStringLiteral("Abbrechen")));

  QString acceptText;
  driver.onNextModal([&](QWidget* widget) {
    auto* box = widget->findChild<QDialogButtonBox*>();
    if (box && box->button(QDialogButtonBox::Open)) acceptText = box->button(QDialogButtonBox::Open)->text();
    static_cast<QDialog*>(widget)->reject();
  });
  toolkit::TFileDialog dialog(toolkit::TFileDialog::Kind::Open);
  dialog.Execute(nullptr);
  QVERIFY2(acceptText.remove(QLatin1Char('&')) == QStringLiteral("Öffnen"), qPrintable(acceptText));
}

void ToolkitWidgetsTest::nameFilters_data() {
  QTest::addColumn<QString>("filter");
  QTest::addColumn<QStringList>("expected");
  QTest::newRow("coordinate files")
      << "Koordinatendatei (*.asc; *.txt)|*.asc; *.txt|Alle Dateien | *.*"
      << QStringList{"Koordinatendatei (*.asc *.txt)", "Alle Dateien (*)"};
  QTest::newRow("result file") << "Ergebnisdatei (*.erg)| *.erg"
                               << QStringList{"Ergebnisdatei (*.erg)"};
  QTest::newRow("text without patterns") << "Texte|*.txt" << QStringList{"Texte (*.txt)"};
}

void ToolkitWidgetsTest::nameFilters() {
  QFETCH(QString, filter);
  QFETCH(QStringList, expected);
  QCOMPARE(toolkit::QtNameFilters(filter.toStdString()), expected);
}

void ToolkitWidgetsTest::gridCellsAndRows() {
  toolkit::TStringGrid grid(nullptr, 3, 5);
  grid.SetCells(2, 4, QStringLiteral("x"));
  QCOMPARE(grid.GetCells(2, 4), QStringLiteral("x"));
  QCOMPARE(grid.GetCells(3, 0), QString());  // outside the grid
  grid.SetRowCount(3);
  QCOMPARE(grid.RowCount(), 3);
  grid.SetRowCount(6);
  QCOMPARE(grid.GetCells(2, 4), QString());  // a dropped row comes back empty
  grid.SetCells(0, 0, QStringLiteral("Pkt."));
  grid.ReplaceRowsFrom(1, {"1", "a", "b", "2", "c", "d"});
  QCOMPARE(grid.RowCount(), 3);
  QCOMPARE(grid.GetCells(0, 0), QStringLiteral("Pkt."));
  QCOMPARE(grid.GetCells(2, 2), QStringLiteral("d"));
  QVERIFY(!(grid.model()->flags(grid.model()->index(1, 1)) & Qt::ItemIsEditable));
  QVERIFY(grid.model()->data(grid.model()->index(0, 1), toolkit::StringGridModel::FixedCellRole).toBool());
  QVERIFY(grid.model()->data(grid.model()->index(1, 0), toolkit::StringGridModel::FixedCellRole).toBool());
  QVERIFY(!grid.model()->data(grid.model()->index(1, 1), toolkit::StringGridModel::FixedCellRole).toBool());
}

// Quick work must not process events (a menu click could start a second command in the
// middle of the first); long work shows a modal window that keeps the program repainting.
void ToolkitWidgetsTest::progressShowsOnlyForLongWork() {
  bool delivered = false;
  QTimer::singleShot(0, this, [&] { delivered = true; });
  {
    toolkit::TProgress progress(nullptr, QStringLiteral("Parameter werden berechnet …"));
    progress.Step(0.1);
    QVERIFY(!progress.Shown());
    QVERIFY(!delivered);
    QThread::msleep(toolkit::TProgress::delayMilliseconds + 100);
    progress.Handler()(0.5);
    QVERIFY(progress.Shown());
    QVERIFY(delivered);
    QWidget* window = QApplication::activeModalWidget();
    QVERIFY(window);
    QCOMPARE(window->findChild<QLabel*>()->text(), QStringLiteral("Parameter werden berechnet …"));
    auto* bar = window->findChild<QProgressBar*>();
    QCOMPARE(bar->value(), bar->maximum() / 2);
  }
  QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

QTEST_MAIN(ToolkitWidgetsTest)
#include "ToolkitWidgetsTest.moc"
