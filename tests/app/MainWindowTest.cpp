// The main window right after start-up: title, status bar, value labels, grid, menu with
// captions and shortcuts, size and place, and what Ctrl+A, Ctrl+N, Ctrl+B and Exit do.
#include "Controls.h"
#include "ParameterRun.h"
#include "StringGrid.h"
#include "WindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTest>

using testsupport::WindowFixture;

class MainWindowTest : public QObject {
  Q_OBJECT

private slots:
  void titleCarriesTheFileVersion();
  void startUpState();
  void menuCaptionsAndShortcuts();
  void shortcuts();
  void fixedSizeInTheCentre();
  void exitClosesTheWindow();
};

void MainWindowTest::titleCarriesTheFileVersion() {
  WindowFixture f;  // this test program carries the version record too
  QCOMPARE(f.form().windowTitle(), QStringLiteral("KEL Vovezorevarovaduvorir 2021.11.2.30"));
}

void MainWindowTest::startUpState() {
  WindowFixture f;
  TForm2& w = f.form();
  QCOMPARE(w.StatusBar1->PanelText(0), QStringLiteral("Old:"));
  QCOMPARE(w.StatusBar1->PanelText(1), QStringLiteral("New:"));
  QCOMPARE(f.labelTexts(), QStringList(11, QStringLiteral("0")));
  QCOMPARE(w.StringGrid1->ColCount(), 3);
  QCOMPARE(f.cellTexts(), QStringList({"Pkt.", "RW", "HW"}) + QStringList(12));  // five rows
}

void MainWindowTest::menuCaptionsAndShortcuts() {
  WindowFixture f;
  QStringList titles;
  for (QAction* menu : f.form().MainMenu1->actions()) titles << menu->text();
  QCOMPARE(titles, (QStringList{"&Datei", "&Berechnen", "&Hilfe"}));

  auto items = [](QMenu* menu) {
    QStringList texts;
    for (QAction* action : menu->actions())
      texts << (action->isSeparator() ? QStringLiteral("-") : action->text()) +
                   (action->shortcut().isEmpty() ? QString() : " " + action->shortcut().toString());
    return texts;
  };
  // The program's own items first, as they always were; the file exchange, the pairing
  // choice and the residual distribution after them.
  QCOMPARE(items(f.form().mnuDatei),
           (QStringList{"&Altsystem öffnen.. Ctrl+A", "&Neusystem öffnen... Ctrl+N", "-", "&Exit", "-",
                        "&Importieren...", "Paßpunkte aus &QGIS-Datei öffnen..."}));
  QCOMPARE(items(f.form().mnuBerechnen),
           (QStringList{"Parameter", "Transformation Alt -> Neu", "-", "Paßpunkte &prüfen... Ctrl+P",
                        "Paarung nach Punktnummer", "-",
                        "Transformation mit &Restklaffenverteilung... Ctrl+R"}));
  QVERIFY(f.form().mnuPaarung->isCheckable());
  QVERIFY(!f.form().mnuPaarung->isChecked());  // pairing by position, as always
  QCOMPARE(items(f.form().mnuHilfe), (QStringList{"&Inhalt", "KEL Home", "&About"}));
  for (QMenu* menu : {f.form().mnuDatei, f.form().mnuBerechnen, f.form().mnuHilfe})
    for (QAction* action : menu->actions()) QVERIFY(action->isEnabled());
}

// Ctrl+B, the key of a menu title, starts nothing; the same way of pressing keys does reach
// the window's Ctrl+A, Ctrl+N and Ctrl+P (with nothing loaded: the message "Parameter" gives).
void MainWindowTest::shortcuts() {
  WindowFixture f;
  f.form().show();
  QVERIFY(QTest::qWaitForWindowActive(&f.form()));
  int triggered = 0;
  for (QMenu* menu : {f.form().mnuDatei, f.form().mnuBerechnen, f.form().mnuHilfe})
    connect(menu, &QMenu::triggered, this, [&] { ++triggered; });
  QTest::keyClick(f.form().windowHandle(), Qt::Key_B, Qt::ControlModifier);
  QTest::qWait(100);
  QCOMPARE(triggered, 0);
  QCOMPARE(QApplication::activeModalWidget(), nullptr);
  for (const Qt::Key key : {Qt::Key_A, Qt::Key_N, Qt::Key_P}) {
    f.form().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.form()));
    if (key == Qt::Key_P) f.driver().answerMessage();
    else f.driver().cancelFileDialog();
    QTest::keyClick(f.form().windowHandle(), key, Qt::ControlModifier);
    QTRY_VERIFY(f.driver().idle());
  }
  QCOMPARE(f.driver().fileDialogs().at(0).title, QStringLiteral("Koordinatendatei Altsystem öffnen"));
  QCOMPARE(f.driver().fileDialogs().at(1).title, QStringLiteral("Koordinatendatei Neusystem öffnen"));
  QCOMPARE(f.driver().messages().size(), std::size_t{1});
  QCOMPARE(f.driver().messages()[0].text, QString::fromUtf8(compute::kEmptyInputMessage));
  QCOMPARE(f.driver().messages()[0].caption, QStringLiteral("Solv Error"));
  QCOMPARE(f.driver().messages()[0].icon, QMessageBox::Critical);
}

// Guards against the window opening in the screen's corner instead of its centre.
void MainWindowTest::fixedSizeInTheCentre() {
  WindowFixture f;
  TForm2& w = f.form();
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  QCOMPARE(w.centralWidget()->size(), QSize(664, 337));
  QCOMPARE(w.minimumSize(), w.maximumSize());  // fixed: the user cannot resize it
  const QPoint offCentre = w.frameGeometry().center() - w.screen()->availableGeometry().center();
  QVERIFY2(offCentre.manhattanLength() <= 2,
           qPrintable(QStringLiteral("%1,%2").arg(offCentre.x()).arg(offCentre.y())));
}

void MainWindowTest::exitClosesTheWindow() {
  WindowFixture f;
  f.form().show();
  QVERIFY(QTest::qWaitForWindowExposed(&f.form()));
  f.form().mnuExit->trigger();
  QVERIFY(!f.form().isVisible());
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
