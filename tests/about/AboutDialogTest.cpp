// The About dialog as the "About" command shows it: its texts, the version line, staying
// open with its timer switched off, closing by its button, and the home-page clicks.
// Built twice: once into an executable that carries the program's version record, once
// into one without; EXPECTED_FILE_VERSION says which.
#include "About.h"
#include "HomePage.h"
#include "Tramis_Unit1.h"

#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <QUrl>
#include <QtTest>

#include <functional>

namespace {

const QString kExpectedVersionLine = QStringLiteral("202") + QStringLiteral(EXPECTED_FILE_VERSION);

// Waits until a modal dialog is up and returns it (null if none came).
QWidget* waitForModal() {
  for (int i = 0; i < 500 && !QApplication::activeModalWidget(); ++i) QTest::qWait(10);
  return QApplication::activeModalWidget();
}

}  // namespace

// Receives the addresses that the dialog hands to the desktop services.
class UrlRecorder : public QObject {
  Q_OBJECT
public:
  QList<QUrl> urls;
public slots:
  void openUrl(const QUrl& url) { urls << url; }
};

class AboutDialogTest : public QObject {
  Q_OBJECT

private:
  UrlRecorder recorder_;

  // Runs the "About" command of a fresh main window; `whileOpen` is called with the
  // modal dialog and has to close it.
  void runAboutCommand(TForm2& form, const std::function<void(TfrmAbout*)>& whileOpen) {
    bool called = false;
    QTimer::singleShot(0, this, [&] {
      auto* dialog = qobject_cast<TfrmAbout*>(waitForModal());
      called = true;
      if (!dialog) return;  // the command then blocks; the failure below names it
      whileOpen(dialog);
    });
    form.mnuAboutClick(nullptr);
    QVERIFY2(called, "the About command returned before its dialog was driven");
  }

private slots:
  void initTestCase() {
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &recorder_, "openUrl");
  }
  void cleanupTestCase() { QDesktopServices::unsetUrlHandler(QStringLiteral("https")); }
  void init() { recorder_.urls.clear(); }

  void dialogAsDefined() {
    TfrmAbout dialog(nullptr);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("About"));
    QVERIFY(dialog.windowFlags() & Qt::WindowTitleHint);
    QVERIFY2(!(dialog.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint)),
             "no close box and no system menu");
    QCOMPARE(dialog.labAbout1->text(), QStringLiteral("Vovezorevarovaduvorir"));
    QCOMPARE(dialog.Memo1->toPlainText(), QStringLiteral("nanu, wieso steht hier nix"));
    QCOMPARE(dialog.BitBtn1->text(), QStringLiteral("Schli&eßen"));
    QCOMPARE(dialog.Image1->toolTip(), QString::fromUtf8(kHomePageUrl));
  }

  // Left running, as the dialog's definition has it, the timer closes the dialog; this is
  // what the command has to prevent.
  void timerLeftOnClosesTheDialog() {
    TfrmAbout dialog(nullptr);
    dialog.show();
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), 20000);
  }

  // The command shows the version line and stays open past the timer's interval; Escape
  // leaves it open, the button's access key closes it, and it is then destroyed.
  void aboutCommandStaysOpenUntilClosed() {
    TForm2 form(nullptr);
    QPointer<TfrmAbout> shown;
    bool modal = false, openAfterWait = false, openAfterEscape = false, closedByAccessKey = false;
    QString versionLine;
    runAboutCommand(form, [&](TfrmAbout* dialog) {
      shown = dialog;
      modal = dialog->isModal();
      versionLine = dialog->Memo1->toPlainText();
      QTest::qWait(2500);  // longer than the timer's 2 seconds
      openAfterWait = dialog->isVisible();
      QVERIFY(QTest::qWaitForWindowActive(dialog));
      QTest::keyClick(dialog, Qt::Key_Escape);
      openAfterEscape = dialog->isVisible();
      QTest::keyClick(dialog, Qt::Key_E, Qt::AltModifier);
      // An access key presses the button visibly: the click follows a moment later.
      closedByAccessKey = QTest::qWaitFor([dialog] { return !dialog->isVisible(); }, 5000);
      if (!closedByAccessKey) dialog->close();
    });
    QVERIFY(modal);
    QCOMPARE(versionLine, kExpectedVersionLine);
    QVERIFY(openAfterWait);
    QVERIFY(openAfterEscape);
    QVERIFY(closedByAccessKey);
    QVERIFY2(shown.isNull(), "the dialog is destroyed after it has closed");
  }

  void eachOpeningIsANewDialog() {
    TForm2 form(nullptr);
    QPointer<TfrmAbout> first;
    runAboutCommand(form, [&](TfrmAbout* dialog) {
      first = dialog;
      dialog->BitBtn1->click();
    });
    QVERIFY(first.isNull());
    bool secondIsLive = false;
    QString secondLine;
    runAboutCommand(form, [&](TfrmAbout* dialog) {
      secondIsLive = dialog->isVisible();
      secondLine = dialog->Memo1->toPlainText();
      dialog->BitBtn1->click();
    });
    QVERIFY(secondIsLive);
    QCOMPARE(secondLine, kExpectedVersionLine);
  }

  void homePageClicks_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPoint>("where");
    QTest::addColumn<bool>("opens");
    QTest::newRow("picture") << "Image1" << QPoint(44, 44) << true;
    QTest::newRow("left panel below the picture") << "Panel1" << QPoint(46, 100) << true;
    QTest::newRow("web address") << "Label3" << QPoint(80, 9) << true;
    QTest::newRow("frame around the picture") << "Panel3" << QPoint(1, 1) << false;
    QTest::newRow("right panel") << "Panel2" << QPoint(100, 80) << false;
  }
  void homePageClicks() {
    QFETCH(QString, name);
    QFETCH(QPoint, where);
    QFETCH(bool, opens);
    TfrmAbout dialog(nullptr);
    dialog.Timer1->stop();
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* target = dialog.findChild<QWidget*>(name);
    QVERIFY(target);
    QCOMPARE(target->childAt(where), nullptr);
    QTest::mouseClick(target, Qt::LeftButton, {}, where);
    QCOMPARE(recorder_.urls, opens ? QList<QUrl>{QUrl(QString::fromUtf8(kHomePageUrl))} : QList<QUrl>{});
    QVERIFY2(dialog.isVisible(), "the dialog stays open");
  }
};

QTEST_MAIN(AboutDialogTest)
#include "AboutDialogTest.moc"
