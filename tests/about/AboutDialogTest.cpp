// The About dialog as the "About" command shows it: layout and texts, the version line,
// staying open with its timer switched off, closing by its button, the home-page clicks,
// and the main window's title, which takes its version from the same lookup.
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
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &recorder_, "openUrl");
  }
  void cleanupTestCase() {
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
  }
  void init() { recorder_.urls.clear(); }

  void componentGeometry_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("Panel1") << "Panel1" << QRect(0, 0, 92, 170);
    QTest::newRow("Panel3") << "Panel3" << QRect(0, 0, 92, 92);
    QTest::newRow("Image1") << "Image1" << QRect(2, 2, 88, 88);
    QTest::newRow("BitBtn1") << "BitBtn1" << QRect(7, 119, 78, 25);
    QTest::newRow("Panel2") << "Panel2" << QRect(92, 0, 219, 170);
    QTest::newRow("labAbout2") << "labAbout2" << QRect(54, 16, 112, 18);
    QTest::newRow("Label3") << "Label3" << QRect(26, 34, 167, 19);
    QTest::newRow("Label1") << "Label1" << QRect(54, 54, 112, 12);
    QTest::newRow("Bevel1") << "Bevel1" << QRect(9, 89, 201, 4);
    QTest::newRow("labAbout1") << "labAbout1" << QRect(22, 101, 175, 19);
    QTest::newRow("Memo1") << "Memo1" << QRect(9, 130, 201, 31);
  }
  void componentGeometry() {
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    TfrmAbout dialog(nullptr);
    auto* component = dialog.findChild<QWidget*>(name);
    QVERIFY(component);
    QCOMPARE(component->geometry(), geometry);
  }

  void fontsAndColours_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<bool>("blue");
    QTest::newRow("maker line") << "labAbout2" << 15 << true;
    QTest::newRow("web address") << "Label3" << 11 << true;
    QTest::newRow("year line") << "Label1" << 11 << true;
    QTest::newRow("program name") << "labAbout1" << 12 << false;
    QTest::newRow("version memo") << "Memo1" << 11 << false;
  }
  void fontsAndColours() {
    QFETCH(QString, name);
    QFETCH(int, pixelSize);
    QFETCH(bool, blue);
    TfrmAbout dialog(nullptr);
    auto* component = dialog.findChild<QWidget*>(name);
    QVERIFY(component);
    QCOMPARE(component->font().pixelSize(), pixelSize);
    QVERIFY(component->font().bold());
    QCOMPARE(component->palette().color(QPalette::WindowText) == QColor(Qt::blue), blue);
  }

  void dialogAsDefined() {
    TfrmAbout dialog(nullptr);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("About"));
    QCOMPARE(dialog.size(), QSize(311, 170));
    QVERIFY(dialog.windowFlags() & Qt::WindowTitleHint);
    QVERIFY(!(dialog.windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(!(dialog.windowFlags() & Qt::WindowSystemMenuHint));
    QCOMPARE(dialog.labAbout1->text(), QStringLiteral("Vovezorevarovaduvorir"));
    QCOMPARE(dialog.Memo1->toPlainText(), QStringLiteral("nanu, wieso steht hier nix"));
    QVERIFY(dialog.Memo1->isReadOnly());
    QCOMPARE(dialog.BitBtn1->text(), QStringLiteral("Schli&eßen"));
    QVERIFY(!dialog.BitBtn1->icon().isNull());
    QVERIFY(!dialog.Image1->pixmap().isNull());
    QCOMPARE(dialog.Image1->toolTip(), QString::fromUtf8(kHomePageUrl));
    QCOMPARE(dialog.Panel3->palette().color(QPalette::Window), QColor(0x00, 0x80, 0x80));
    QCOMPARE(dialog.Timer1->interval(), 2000);
    QVERIFY(dialog.Timer1->isActive());
    QVERIFY(!dialog.windowIcon().isNull());
  }

  void showVersionWritesOneLine() {
    TfrmAbout dialog(nullptr);
    dialog.ShowVersion();
    QCOMPARE(dialog.Memo1->toPlainText(), kExpectedVersionLine);
    QCOMPARE(dialog.Memo1->document()->blockCount(), 1);
    dialog.ShowVersion();
    QCOMPARE(dialog.Memo1->toPlainText(), kExpectedVersionLine);
  }

  void memoComesBeforeButtonInTabOrder() {
    TfrmAbout dialog(nullptr);
    dialog.Timer1->stop();
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(dialog.Memo1));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(dialog.BitBtn1));
  }

  // Left running (as the dialog is defined), the timer closes the dialog.
  void timerLeftOnClosesTheDialog() {
    TfrmAbout dialog(nullptr);
    dialog.show();
    QVERIFY(dialog.isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), 20000);
  }

  void aboutCommandStaysOpenUntilClosed() {
    TForm2 form(nullptr);
    QPointer<TfrmAbout> shown;
    bool openAfterWait = false;
    bool modal = false;
    QString versionLine;
    runAboutCommand(form, [&](TfrmAbout* dialog) {
      shown = dialog;
      modal = dialog->isModal();
      versionLine = dialog->Memo1->toPlainText();
      QTest::qWait(2500);  // longer than the timer's interval
      openAfterWait = dialog->isVisible();
      QTest::mouseClick(dialog->BitBtn1, Qt::LeftButton);
    });
    QVERIFY(modal);
    QCOMPARE(versionLine, kExpectedVersionLine);
    QVERIFY(openAfterWait);
    QVERIFY2(shown.isNull(), "the dialog is destroyed after it has closed");
  }

  void eachOpeningIsANewDialog() {
    TForm2 form(nullptr);
    QPointer<TfrmAbout> first;
    QString firstLine;
    runAboutCommand(form, [&](TfrmAbout* dialog) {
      first = dialog;
      firstLine = dialog->Memo1->toPlainText();
      dialog->BitBtn1->click();
    });
    QVERIFY(first.isNull());
    bool secondIsLive = false;
    bool firstGone = false;
    QString secondLine;
    runAboutCommand(form, [&](TfrmAbout* dialog) {
      secondIsLive = dialog->isVisible();
      firstGone = first.isNull();
      secondLine = dialog->Memo1->toPlainText();
      dialog->BitBtn1->click();
    });
    QVERIFY(secondIsLive);
    QVERIFY(firstGone);
    QCOMPARE(secondLine, firstLine);
  }

  void accessKeyClosesButEscapeDoesNot() {
    TForm2 form(nullptr);
    bool openAfterEscape = false;
    bool closedByAccessKey = false;
    runAboutCommand(form, [&](TfrmAbout* dialog) {
      QVERIFY(QTest::qWaitForWindowActive(dialog));
      QTest::keyClick(dialog, Qt::Key_Escape);
      openAfterEscape = dialog->isVisible();
      QTest::keyClick(dialog, Qt::Key_E, Qt::AltModifier);
      // An access key presses the button visibly: the click follows a moment later.
      closedByAccessKey = QTest::qWaitFor([dialog] { return !dialog->isVisible(); }, 5000);
      if (!closedByAccessKey) dialog->close();
    });
    QVERIFY(openAfterEscape);
    QVERIFY(closedByAccessKey);
  }

  void homePageClicks_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPoint>("where");
    QTest::addColumn<bool>("opens");
    QTest::newRow("picture") << "Image1" << QPoint(44, 44) << true;
    QTest::newRow("left panel below the picture") << "Panel1" << QPoint(46, 100) << true;
    QTest::newRow("left panel below the button") << "Panel1" << QPoint(46, 160) << true;
    QTest::newRow("web address") << "Label3" << QPoint(80, 9) << true;
    QTest::newRow("frame around the picture") << "Panel3" << QPoint(1, 1) << false;
    QTest::newRow("maker line") << "labAbout2" << QPoint(50, 9) << false;
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
    if (opens) {
      QCOMPARE(recorder_.urls.size(), 1);
      QCOMPARE(recorder_.urls.front(), QUrl(QString::fromUtf8(kHomePageUrl)));
    } else {
      QVERIFY(recorder_.urls.isEmpty());
    }
    QVERIFY2(dialog.isVisible(), "the dialog stays open");
  }

  void mainWindowTitleCarriesTheVersion() {
    TForm2 form(nullptr);
    QCOMPARE(form.windowTitle(),
             QString::fromUtf8(kTitlePrefix) + QStringLiteral(EXPECTED_FILE_VERSION));
  }
};

QTEST_MAIN(AboutDialogTest)
#include "AboutDialogTest.moc"
