// The main window right after start-up: title, status bar, value labels, grid, menu with
// captions and shortcuts, geometry, and what Ctrl+A, Ctrl+N, Ctrl+B and Exit do.
#include "Controls.h"
#include "FileVersion.h"
#include "StringGrid.h"
#include "WindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

using testsupport::WindowFixture;

class MainWindowTest : public QObject {
  Q_OBJECT

private slots:
  void titleCarriesTheFileVersion();
  void startUpState();
  void menuCaptionsAndShortcuts();
  void shortcutsOpenTheirDialogs();
  void ctrlBStartsNothing();
  void geometry();
  void exitClosesTheWindow();
};

void MainWindowTest::titleCarriesTheFileVersion() {
  WindowFixture f;
  const std::string version = GetFileVersion(QApplication::applicationFilePath().toStdString());
  QCOMPARE(version, std::string("1.11.2.30"));  // this test program carries the record too
  QCOMPARE(f.form().windowTitle(), QStringLiteral("KEL Vovezorevarovaduvorir 2021.11.2.30"));
}

void MainWindowTest::startUpState() {
  WindowFixture f;
  TForm2& w = f.form();
  QCOMPARE(w.StatusBar1->PanelText(0), QStringLiteral("Old:"));
  QCOMPARE(w.StatusBar1->PanelText(1), QStringLiteral("New:"));
  for (auto* label : {w.lab_X, w.lab_Y, w.lab_a, w.lab_o, w.lab_m, w.lab_d, w.lab_So, w.lab_HWAS,
                      w.lab_RWAS, w.lab_HWZS, w.lab_RWZS})
    QCOMPARE(label->text(), QStringLiteral("0"));
  QCOMPARE(w.StringGrid1->RowCount(), 5);
  QCOMPARE(w.StringGrid1->ColCount(), 3);
  const QStringList header{w.StringGrid1->GetCells(0, 0), w.StringGrid1->GetCells(1, 0),
                           w.StringGrid1->GetCells(2, 0)};
  QCOMPARE(header, (QStringList{"Pkt.", "RW", "HW"}));
  for (int row = 1; row < 5; ++row)
    for (int column = 0; column < 3; ++column) QVERIFY(w.StringGrid1->GetCells(column, row).isEmpty());
  QCOMPARE(w.scale, 0.0);
  QCOMPARE(w.rotation, 0.0);
  QCOMPARE(w.pointCount, 0);
  QVERIFY(w.oldFileName.empty() && w.newFileName.empty());
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
  QCOMPARE(items(f.form().mnuDatei),
           (QStringList{"&Altsystem öffnen.. Ctrl+A", "&Neusystem öffnen... Ctrl+N", "-", "&Exit"}));
  QCOMPARE(items(f.form().mnuBerechnen),
           (QStringList{"Parameter", "Transformation Alt -> Neu", "-", "Paßpunkte &prüfen... Ctrl+P"}));
  QCOMPARE(items(f.form().mnuHilfe), (QStringList{"&Inhalt", "KEL Home", "&About"}));
  for (QMenu* menu : {f.form().mnuDatei, f.form().mnuBerechnen, f.form().mnuHilfe})
    for (QAction* action : menu->actions()) QVERIFY(action->isEnabled());
}

void MainWindowTest::shortcutsOpenTheirDialogs() {
  WindowFixture f;
  f.form().show();
  QVERIFY(QTest::qWaitForWindowActive(&f.form()));
  f.driver().cancelFileDialog();
  QTest::keyClick(f.form().windowHandle(), Qt::Key_A, Qt::ControlModifier);
  QTRY_VERIFY(f.driver().idle());
  f.form().activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&f.form()));
  f.driver().cancelFileDialog();
  QTest::keyClick(f.form().windowHandle(), Qt::Key_N, Qt::ControlModifier);
  QTRY_VERIFY(f.driver().idle());
  QCOMPARE(f.driver().fileDialogs().at(0).title, QStringLiteral("Koordinatendatei Altsystem öffnen"));
  QCOMPARE(f.driver().fileDialogs().at(1).title, QStringLiteral("Koordinatendatei Neusystem öffnen"));
}

void MainWindowTest::ctrlBStartsNothing() {
  WindowFixture f;
  f.readOld(testsupport::kExampleOld);
  f.readNew(testsupport::kExampleNew);
  f.form().show();
  QVERIFY(QTest::qWaitForWindowActive(&f.form()));
  int triggered = 0;
  for (QMenu* menu : {f.form().mnuDatei, f.form().mnuBerechnen, f.form().mnuHilfe})
    connect(menu, &QMenu::triggered, this, [&] { ++triggered; });
  QTest::keyClick(f.form().windowHandle(), Qt::Key_B, Qt::ControlModifier);
  QTest::qWait(100);
  QCOMPARE(triggered, 0);
  QCOMPARE(QApplication::activeModalWidget(), nullptr);
  QCOMPARE(f.form().lab_X->text(), QStringLiteral("0"));
  // The same way of pressing keys does reach the window's shortcuts.
  f.driver().cancelFileDialog();
  QTest::keyClick(f.form().windowHandle(), Qt::Key_A, Qt::ControlModifier);
  QTRY_VERIFY(f.driver().idle());
}

void MainWindowTest::geometry() {
  WindowFixture f;
  TForm2& w = f.form();
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  QCOMPARE(w.centralWidget()->size(), QSize(664, 337));
  QCOMPARE(w.StatusBar1->height(), 20);
  QCOMPARE(w.centralWidget()->height() + w.StatusBar1->height(), 357);
  QCOMPARE(w.minimumSize(), w.maximumSize());  // fixed: the user cannot resize it
  QVERIFY(!w.StatusBar1->isSizeGripEnabled());
  QCOMPARE(w.StatusBar1->Panel(0)->width(), 300);
  QCOMPARE(w.GroupBox1->geometry(), QRect(15, 11, 218, 172));
  QCOMPARE(w.GroupBox2->geometry(), QRect(250, 11, 399, 315));
  QCOMPARE(w.GroupBox3->geometry(), QRect(15, 195, 218, 131));
  QCOMPARE(w.StringGrid1->geometry(), QRect(2, 15, 395, 298));
  QCOMPARE(w.StringGrid1->DefaultColWidth(), 121);
  for (int column = 0; column < 3; ++column) QCOMPARE(w.StringGrid1->columnWidth(column), 121);
  QCOMPARE(w.GroupBox1->title(), QStringLiteral("Parameter"));
  QCOMPARE(w.GroupBox2->title(), QStringLiteral("Verbesserungen Zielsystem"));
  QCOMPARE(w.GroupBox3->title(), QStringLiteral("Schwerpunkt der Paßpunkte"));
  QCOMPARE(w.Label7->text(), QStringLiteral("gon"));
  QCOMPARE(w.Label7->pos(), QPoint(190, 130));
  const struct {
    toolkit::TValueLabel* label;
    int right;
    int top;
  } values[] = {{w.lab_X, 209, 20},    {w.lab_Y, 209, 39},    {w.lab_a, 209, 59},
                {w.lab_o, 209, 78},    {w.lab_m, 177, 111},   {w.lab_d, 177, 130},
                {w.lab_So, 178, 150},  {w.lab_HWAS, 209, 37}, {w.lab_RWAS, 209, 53},
                {w.lab_HWZS, 209, 89}, {w.lab_RWZS, 209, 105}};
  for (const auto& v : values) {
    QCOMPARE(v.label->geometry().right() + 1, v.right);
    QCOMPARE(v.label->y(), v.top);
  }
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
