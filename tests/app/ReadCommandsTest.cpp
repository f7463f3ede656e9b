// The two open commands driven through their real dialogs and message boxes: status
// texts, bad-line questions with OK and Cancel, unopenable and unreadable files, and
// cancelled dialogs.
#include "Controls.h"
#include "WindowFixture.h"

#include <QTest>


using testsupport::WindowFixture;

class ReadCommandsTest : public QObject {
  Q_OBJECT

private slots:
  void readsOldSystemAndShowsCountAndShortName();
  void newSystemUsesItsOwnTextsAndPanel();
  void badLineMessageOkGoesOn();
  void cancelStopsAndKeepsPointsReadBefore();
  void unopenableFileReportsAndKeepsLists();
  void readErrorReportsAndKeepsPointsRead();
  void cancelledDialogChangesNothing();
  void dialogStartsWithTheFileChosenLast();
  void qgisFileGivesEachSystemItsSide();
};

void ReadCommandsTest::readsOldSystemAndShowsCountAndShortName() {
  WindowFixture f;
  std::string content;
  for (int i = 1; i <= 12; ++i) content += "P" + std::to_string(i) + " 1,5 2.5\n";
  f.readOld(content);

  QCOMPARE(f.form().StatusBar1->PanelText(0), QStringLiteral("Old: [12]  alt.asc"));
  QCOMPARE(f.form().StatusBar1->PanelText(1), QStringLiteral("New:"));
  QCOMPARE(oldPoints.count(), std::size_t{12});
  QCOMPARE(oldPoints.rw.front(), 1.5);
  QVERIFY(newPoints.empty());
  QCOMPARE(f.form().oldFileName, f.dir().file("alt.asc"));

  const auto& shown = f.driver().fileDialogs().front();
  QCOMPARE(shown.nameFilters,
           QStringList({QStringLiteral("Koordinatendatei (*.asc *.txt)"),
                        QStringLiteral("Alle Dateien (*)")}));
}

void ReadCommandsTest::newSystemUsesItsOwnTextsAndPanel() {
  WindowFixture f;
  f.readOld("1 2\n");
  f.readNew("A 1 2\nB 3 4\n", "neu.txt");
  QCOMPARE(f.form().StatusBar1->PanelText(0), QStringLiteral("Old: [1]  alt.asc"));
  QCOMPARE(f.form().StatusBar1->PanelText(1), QStringLiteral("New: [2]  neu.txt"));
  QCOMPARE(newPoints.names, (std::vector<std::string>{"A", "B"}));
  QCOMPARE(oldPoints.count(), std::size_t{1});
}

// The message's tokens for each kind of bad line are the reader's; here the whole text,
// its caption and buttons, and that OK goes on.
void ReadCommandsTest::badLineMessageOkGoesOn() {
  WindowFixture f;
  const std::string path = f.write("alt.asc", "P1 1 2\n\nP3 12a 100\nP2 3 4\n");
  f.driver().chooseFile(path);
  f.driver().answerMessage(QMessageBox::Ok);
  f.form().mnuAltsystemClick(nullptr);

  QVERIFY(f.driver().idle());
  QCOMPARE(f.driver().messages().size(), std::size_t{1});
  const testsupport::ShownMessage& message = f.driver().messages().front();
  QCOMPARE(message.caption, QStringLiteral("Error"));
  QCOMPARE(message.icon, QMessageBox::Critical);
  QVERIFY(message.hasCancel);
  QCOMPARE(message.text,
           QStringLiteral("Es trat ein Problem in folgender Datei auf:\n\n\"") +
               QString::fromStdString(path) +
               QStringLiteral("\"\n\nEin Wert in Zeile 3 ist keine Gleitkommazahl.\n\n\"12a 100\"") +
               QStringLiteral("\n\nSoll das Einlesen der Daten fortgesetzt werden ?"));
  QCOMPARE(oldPoints.names, (std::vector<std::string>{"P1", "P2"}));
  QCOMPARE(f.form().StatusBar1->PanelText(0), QStringLiteral("Old: [2]  alt.asc"));
}

void ReadCommandsTest::cancelStopsAndKeepsPointsReadBefore() {
  WindowFixture f;
  f.driver().chooseFile(f.write("alt.asc", "P1 1 2\nP2 3 4\nkaputt\nP3 5 6\n"));
  f.driver().answerMessage(QMessageBox::Cancel);
  f.form().mnuAltsystemClick(nullptr);
  QVERIFY(f.driver().idle());
  QCOMPARE(oldPoints.names, (std::vector<std::string>{"P1", "P2"}));
  QCOMPARE(oldPoints.rw, (std::vector<double>{1, 3}));
  QCOMPARE(f.form().StatusBar1->PanelText(0), QStringLiteral("Old: [2]  alt.asc"));
  QVERIFY(oldFile == nullptr);
}

void ReadCommandsTest::unopenableFileReportsAndKeepsLists() {
  WindowFixture f;
  f.readOld("A 1 2\n");
  f.readNew("B 3 4\n");
  const std::string vanished = f.dir().file("weg.asc");  // chosen, then gone before opening
  f.driver().chooseVanishedFile(vanished);
  f.driver().answerMessage();
  f.form().mnuAltsystemClick(nullptr);

  QVERIFY(f.driver().idle());
  const testsupport::ShownMessage& message = f.driver().messages().front();
  QCOMPARE(message.caption, QStringLiteral("File Error"));
  QCOMPARE(message.icon, QMessageBox::Critical);
  QVERIFY(!message.hasCancel);
  QCOMPARE(message.text, QStringLiteral("Datei ") + QString::fromStdString(vanished) +
                             QStringLiteral(" kann nicht geöffnet werden."));
  QCOMPARE(oldPoints.names, (std::vector<std::string>{"A"}));
  QCOMPARE(newPoints.names, (std::vector<std::string>{"B"}));
  QCOMPARE(f.form().StatusBar1->PanelText(0), QStringLiteral("Old: [1]  alt.asc"));
  QCOMPARE(f.form().StatusBar1->PanelText(1), QStringLiteral("New: [1]  neu.asc"));
  QCOMPARE(f.form().oldFileName, vanished);
}

// Reading the process's own memory file fails with an input/output error right away.
void ReadCommandsTest::readErrorReportsAndKeepsPointsRead() {
  WindowFixture f;
  f.readOld("A 1 2\n");
  f.driver().chooseFile("/proc/self/mem");
  f.driver().answerMessage();
  f.form().mnuAltsystemClick(nullptr);

  QVERIFY(f.driver().idle());
  QCOMPARE(f.driver().messages().size(), std::size_t{1});
  QCOMPARE(f.driver().messages().front().caption, QStringLiteral("File Error"));
  QCOMPARE(f.driver().messages().front().text,
           QStringLiteral("Datei /proc/self/mem kann nicht gelesen werden."));
  QCOMPARE(f.form().StatusBar1->PanelText(0), QStringLiteral("Old: [0]  mem"));
  QVERIFY(oldFile == nullptr);
}

void ReadCommandsTest::cancelledDialogChangesNothing() {
  WindowFixture f;
  f.readOld("A 1 2\n");
  f.driver().cancelFileDialog();
  f.form().mnuAltsystemClick(nullptr);
  QVERIFY(f.driver().idle());
  QVERIFY(f.driver().messages().empty());
  QCOMPARE(oldPoints.names, (std::vector<std::string>{"A"}));
  QCOMPARE(f.form().oldFileName, f.dir().file("alt.asc"));
  QCOMPARE(f.form().StatusBar1->PanelText(0), QStringLiteral("Old: [1]  alt.asc"));
}

void ReadCommandsTest::dialogStartsWithTheFileChosenLast() {
  WindowFixture f;
  f.readOld("A 1 2\n");
  f.readNew("B 3 4\n");
  QCOMPARE(f.driver().fileDialogs().at(1).selected, QString::fromStdString(f.dir().file("alt.asc")));
}

// A QGIS .points file holds both systems: opened as the old system it gives its source
// coordinates, as the new system its map coordinates, pair by pair in the same order.
void ReadCommandsTest::qgisFileGivesEachSystemItsSide() {
  WindowFixture f;
  const std::string pairs =
      "mapX,mapY,sourceX,sourceY,enable,dX,dY,residual\n100,200,0,0,1,0,0,0\n110,200,10,0,0,0,0,0\n";
  f.readOld(pairs, "gcp.points");
  f.readNew(pairs, "gcp.points");
  QVERIFY(f.driver().messages().empty());
  QCOMPARE(oldPoints.rw, (std::vector<double>{0, 10}));
  QCOMPARE(oldPoints.hw, (std::vector<double>{0, 0}));
  QCOMPARE(newPoints.rw, (std::vector<double>{100, 110}));
  QCOMPARE(newPoints.hw, (std::vector<double>{200, 200}));
  QCOMPARE(f.form().StatusBar1->PanelText(1), QStringLiteral("New: [2]  gcp.points"));
}

QTEST_MAIN(ReadCommandsTest)
#include "ReadCommandsTest.moc"
