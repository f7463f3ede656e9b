// The toolkit layer's widgets: exceptions shown by guarded commands, German button texts,
// the text grid's rows and the delayed progress window.
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
  void guardedCommandShowsException_data();
  void guardedCommandShowsException();
  void germanButtonTexts();
  void gridCellsAndRows();
  void progressShowsOnlyForLongWork();
};

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

// Guards against rows of a longer earlier run staying behind a shorter one.
void ToolkitWidgetsTest::gridCellsAndRows() {
  toolkit::TStringGrid grid(nullptr, 3, 5);
  grid.SetCells(2, 4, QStringLiteral("x"));
  grid.SetCells(0, 0, QStringLiteral("Pkt."));
  grid.ReplaceRowsFrom(1, {"1", "a", "b", "2", "c", "d"});
  QCOMPARE(grid.RowCount(), 3);
  QCOMPARE(grid.GetCells(0, 0), QStringLiteral("Pkt."));
  QCOMPARE(grid.GetCells(2, 2), QStringLiteral("d"));
  grid.SetRowCount(6);
  QCOMPARE(grid.GetCells(2, 4), QString());  // a dropped row comes back empty
  QVERIFY(!(grid.model()->flags(grid.model()->index(1, 1)) & Qt::ItemIsEditable));
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
