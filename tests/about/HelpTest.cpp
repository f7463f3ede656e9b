// The help: topics by name and by context number in the help window, the German text
// for a missing help file or topic, the search for the file, the main window's help
// commands (menu "Inhalt" and F1), and that the shipped help covers what it must.
#include "Help.h"
#include "HelpWindow.h"
#include "Tramis_Unit1.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextBlock>
#include <QTextBrowser>
#include <QtTest>

namespace {

const std::string kHelpSource = TRAMIS_HELP_SOURCE;

// The text of the line at the top of the help window's visible area.
QString topVisibleLine(toolkit::HelpWindow* window) {
  return window->browser()->cursorForPosition(QPoint(4, 4)).block().text().trimmed();
}

}  // namespace

class HelpTest : public QObject {
  Q_OBJECT

private slots:
  void init() { toolkit::SetHelpFile(kHelpSource); }
  void cleanup() { delete toolkit::HelpWindow::existing(); }

  void topics_data() {
    QTest::addColumn<QString>("topic");
    QTest::addColumn<int>("context");  // -1: by name
    QTest::addColumn<QString>("heading");
    QTest::newRow("contents by name") << "Inhalt" << -1 << "Inhalt";
    QTest::newRow("main window by context 10") << "" << 10 << "Das Hauptfenster";
    QTest::newRow("result file by name") << "Ergebnisdatei" << -1 << "Aufbau der Ergebnisdatei";
  }
  void topics() {
    QFETCH(QString, topic);
    QFETCH(int, context);
    QFETCH(QString, heading);
    if (context < 0) toolkit::HelpJump(topic.toStdString());
    else toolkit::HelpContext(context);
    toolkit::HelpWindow* window = toolkit::HelpWindow::existing();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QVERIFY(window->topicFound());
    QCOMPARE(window->notice(), QString());
    QCOMPARE(topVisibleLine(window), heading);
  }

  void oneWindowServesAllCalls() {
    toolkit::HelpJump("Inhalt");
    toolkit::HelpWindow* first = toolkit::HelpWindow::existing();
    toolkit::HelpContext(TForm2::kHelpContext);
    QCOMPARE(toolkit::HelpWindow::existing(), first);
    QCOMPARE(first->currentTopic(), toolkit::HelpContextAnchor(10));
    QCOMPARE(topVisibleLine(first), QStringLiteral("Das Hauptfenster"));
  }

  void unknownTopicIsSaidInTheWindow() {
    toolkit::HelpJump("Gibtsnicht");
    toolkit::HelpWindow* window = toolkit::HelpWindow::existing();
    QVERIFY(window && window->isVisible());
    QVERIFY(!window->topicFound());
    QCOMPARE(window->notice(),
             QStringLiteral("Das Hilfethema „Gibtsnicht“ ist in der Hilfedatei nicht enthalten."));
  }

  void missingHelpFileIsSaidInTheWindow() {
    toolkit::SetHelpFile("/nicht/vorhanden/Tramis.hlp");
    toolkit::HelpJump("Inhalt");
    toolkit::HelpWindow* window = toolkit::HelpWindow::existing();
    QVERIFY(window && window->isVisible());
    QVERIFY(window->helpFilePath().isEmpty());
    QCOMPARE(window->notice(),
             QStringLiteral("Die Hilfedatei „/nicht/vorhanden/Tramis.hlp“ wurde nicht gefunden."));
    QVERIFY(window->browser()->toPlainText().contains(QStringLiteral("wurde nicht gefunden")));
    QCOMPARE(QApplication::activeModalWidget(), nullptr);

    // Once the file is there again, the same window shows it.
    toolkit::SetHelpFile(kHelpSource);
    toolkit::HelpContext(10);
    QVERIFY(window->topicFound());
    QCOMPARE(window->notice(), QString());
  }

  void bareNameIsFoundBesideTheExecutable() {
    const QString name = QStringLiteral("HelpTest-%1.hlp").arg(QCoreApplication::applicationPid());
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(name);
    QVERIFY(QFile::copy(QString::fromStdString(kHelpSource), beside));
    const std::string found = toolkit::LocateHelpFile(name.toStdString());
    QFile::remove(beside);
    QCOMPARE(QString::fromStdString(found), QFileInfo(beside).absoluteFilePath());

    QStringList searched;
    QVERIFY(toolkit::LocateHelpFile("Gibtsnicht.hlp", &searched).empty());
    QVERIFY(searched.size() >= 2);
    QCOMPARE(searched.front(),
             QDir(QCoreApplication::applicationDirPath()).filePath("Gibtsnicht.hlp"));
    QVERIFY(searched.contains(QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                              "/../share/tramis/Gibtsnicht.hlp")));
  }

  void mainWindowHelpCommands() {
    TForm2 form(nullptr);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_F1);
    toolkit::HelpWindow* window = toolkit::HelpWindow::existing();
    QVERIFY2(window, "F1 opens the help");
    QCOMPARE(window->currentTopic(), toolkit::HelpContextAnchor(10));
    QVERIFY(window->topicFound());

    form.mnuHelpInhalt->trigger();
    QCOMPARE(window->currentTopic(), QStringLiteral("Inhalt"));
    QCOMPARE(topVisibleLine(window), QStringLiteral("Inhalt"));
  }

  // The shipped help explains the file formats, every command and every value.
  void helpCoversTheProgram_data() {
    QTest::addColumn<QString>("text");
    for (const char* text :
         {"Altsystem öffnen", "Neusystem öffnen", "Berechnen › Parameter",
          "Transformation Alt -> Neu", "Datei › Exit", "Hilfe › Inhalt", "KEL Home", "About",
          "Dezimalkomma oder einen Dezimalpunkt", "Leerzeilen", "Abbrechen",
          "RW = Yo + a·rw + o·hw", "HW = Xo + a·hw − o·rw", "m = √(a² + o²)",
          "d = atan2(o, a) · 200/π", "So = √(Σv² / (2n − 4))", "Schwerpunkte",
          "Beobachtung minus Rechnung", "„Summe“", "Paarung nach der Reihenfolge",
          "%-15.11g", "11 gültigen Ziffern", "CR LF", "nach der letzten Zeile folgt kein Zeilenumbruch"})
      QTest::newRow(text) << QString::fromUtf8(text);
  }
  void helpCoversTheProgram() {
    QFETCH(QString, text);
    toolkit::HelpJump("Inhalt");
    const QString shown = toolkit::HelpWindow::existing()->browser()->toPlainText();
    QVERIFY2(shown.contains(text), qPrintable(text));
  }
};

QTEST_MAIN(HelpTest)
#include "HelpTest.moc"
