// The help: the German text for a missing help file or topic, and the main window's help
// commands (F1 for context 10, menu "Inhalt").
#include "Help.h"
#include "HelpWindow.h"
#include "Tramis_Unit1.h"

#include <QAction>
#include <QApplication>
#include <QTextBlock>
#include <QTextBrowser>
#include <QtTest>

namespace {

const std::string kHelpSource = TRAMIS_HELP_SOURCE;

// The text of the line at the top of the help window's visible area.
QString topVisibleLine() {
  toolkit::HelpWindow* window = toolkit::HelpWindow::existing();
  return window ? window->browser()->cursorForPosition(QPoint(4, 4)).block().text().trimmed() : QString();
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
        << "Die Hilfedatei „/nicht/vorhanden/Tramis.hlp“ wurde nicht gefunden." << "Hilfe nicht verfügbar";
  }
  void noticesInTheWindow() {
    QFETCH(QString, helpFile);
    QFETCH(QString, notice);
    QFETCH(QString, topLine);
    toolkit::SetHelpFile(helpFile.toStdString());
    toolkit::HelpJump("Gibtsnicht");
    toolkit::HelpWindow* window = toolkit::HelpWindow::existing();
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->notice(), notice);
    QCOMPARE(topVisibleLine(), topLine);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
  }

  // F1 shows the main window's topic (context 10) and the menu "Inhalt" the contents, each
  // with its heading at the top of the one help window; a notice shown before is gone.
  void mainWindowHelpCommands() {
    toolkit::HelpJump("Gibtsnicht");
    TForm2 form(nullptr);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_F1);
    toolkit::HelpWindow* window = toolkit::HelpWindow::existing();
    QVERIFY2(window && window->isVisible(), "F1 opens the help");
    QCOMPARE(window->currentTopic(), toolkit::HelpContextAnchor(10));
    QCOMPARE(window->notice(), QString());
    QCOMPARE(topVisibleLine(), QStringLiteral("Das Hauptfenster"));
    form.mnuHelpInhalt->trigger();
    QCOMPARE(toolkit::HelpWindow::existing(), window);
    QCOMPARE(topVisibleLine(), QStringLiteral("Inhalt"));
  }
};

QTEST_MAIN(HelpTest)
#include "HelpTest.moc"
