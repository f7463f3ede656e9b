// The help: the German text for a missing help file or topic, the search for the file,
// the main window's help commands (F1 for context 10, menu "Inhalt"), and that the
// shipped help covers what it must.
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

  // A missing file or topic is said in the help window itself, never in a message box.
  void noticesInTheWindow_data() {
    QTest::addColumn<QString>("helpFile");
    QTest::addColumn<QString>("notice");
    QTest::addColumn<QString>("topLine");  // what the page then shows at its top
    QTest::newRow("unknown topic") << QString::fromStdString(kHelpSource)
        << "Das Hilfethema „Gibtsnicht“ ist in der Hilfedatei nicht enthalten." << "Inhalt";
    QTest::newRow("missing help file") << "/nicht/vorhanden/Tramis.hlp"
        << "Die Hilfedatei „/nicht/vorhanden/Tramis.hlp“ wurde nicht gefunden."
        << "Hilfe nicht verfügbar";
  }
  void noticesInTheWindow() {
    QFETCH(QString, helpFile);
    QFETCH(QString, notice);
    QFETCH(QString, topLine);
    toolkit::SetHelpFile(helpFile.toStdString());
    toolkit::HelpJump("Gibtsnicht");
    toolkit::HelpWindow* window = toolkit::HelpWindow::existing();
    QVERIFY(window && window->isVisible());
    QVERIFY(!window->topicFound());
    QCOMPARE(window->notice(), notice);
    QCOMPARE(topVisibleLine(window), topLine);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);

    // Once the file and topic are there, the same window shows the topic.
    toolkit::SetHelpFile(kHelpSource);
    toolkit::HelpContext(10);
    QCOMPARE(toolkit::HelpWindow::existing(), window);
    QCOMPARE(window->notice(), QString());
    QCOMPARE(topVisibleLine(window), QStringLiteral("Das Hauptfenster"));
  }

  void bareNameIsFoundBesideTheExecutable() {
    const QString name = QStringLiteral("HelpTest-%1.hlp").arg(QCoreApplication::applicationPid());
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(name);
    QVERIFY(QFile::copy(QString::fromStdString(kHelpSource), beside));
    const std::string found = toolkit::LocateHelpFile(name.toStdString());
    QFile::remove(beside);
    QCOMPARE(QString::fromStdString(found), QFileInfo(beside).absoluteFilePath());
  }

  // F1 shows the main window's topic (context 10) and the menu "Inhalt" the contents, each
  // with its heading at the top of the one help window.
  void mainWindowHelpCommands() {
    TForm2 form(nullptr);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_F1);
    toolkit::HelpWindow* window = toolkit::HelpWindow::existing();
    QVERIFY2(window && window->isVisible(), "F1 opens the help");
    QCOMPARE(window->currentTopic(), toolkit::HelpContextAnchor(10));
    QCOMPARE(topVisibleLine(window), QStringLiteral("Das Hauptfenster"));

    form.mnuHelpInhalt->trigger();
    QCOMPARE(toolkit::HelpWindow::existing(), window);
    QCOMPARE(topVisibleLine(window), QStringLiteral("Inhalt"));
  }

  // The shipped help explains the file format, the model and the result file.
  void helpCoversTheProgram() {
    toolkit::HelpJump("Inhalt");
    const QString shown = toolkit::HelpWindow::existing()->browser()->toPlainText();
    for (const char* text : {"Dezimalkomma oder einen Dezimalpunkt", "RW = Yo + a·rw + o·hw",
                             "HW = Xo + a·hw − o·rw", "So = √(Σv² / (2n − 4))", "%-15.11g"})
      QVERIFY2(shown.contains(QString::fromUtf8(text)), text);
  }
};

QTEST_MAIN(HelpTest)
#include "HelpTest.moc"
