// The About dialog as the "About" command shows it: modal without a close box, the version
// line, staying open with its timer switched off, closing by its button's keys, and the
// home-page clicks.
// Built twice: once into an executable that carries the program's version record, once
// into one without; EXPECTED_FILE_VERSION says which.
#include "About.h"
#include "HomePage.h"
#include "Tramis_Unit1.h"

#include <QApplication>
#include <QDesktopServices>
#include <QPointer>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <QUrl>
#include <QKeySequence>
#include <QtTest>

#include <utility>

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

  // What one run of the "About" command showed; the dialog is driven while the command
  // waits: its button gets the focus and `key` is pressed, after `wait` milliseconds.
  struct Seen {
    QPointer<TfrmAbout> dialog;
    bool modal = false;  // and without close box or system menu
    bool openAfterWait = false, closedByKey = false;
    QString versionLine;
  };
  Seen runAboutCommand(TForm2& form, QKeyCombination key, int wait) {
    Seen seen;
    QTimer::singleShot(0, this, [&] {
      TfrmAbout* dialog = nullptr;
      if (!QTest::qWaitFor([&] { return (dialog = qobject_cast<TfrmAbout*>(QApplication::activeModalWidget())); }))
        return;  // the command then blocks and the test runs into its time limit
      const bool closeBox = dialog->windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint);
      seen = {dialog, dialog->isModal() && !closeBox, false, false, dialog->Memo1->toPlainText()};
      QTest::qWait(wait);
      seen.openAfterWait = dialog->isVisible();
      if (QTest::qWaitForWindowActive(dialog)) {
        dialog->BitBtn1->setFocus();
        QTest::keyClick(dialog->BitBtn1, key.key(), key.keyboardModifiers());
      }
      // An access key presses the button visibly: the click follows a moment later.
      seen.closedByKey = QTest::qWaitFor([dialog] { return !dialog->isVisible(); }, 5000);
      if (!seen.closedByKey) dialog->close();
    });
    form.mnuAboutClick(nullptr);
    return seen;
  }

private slots:
  void initTestCase() { QDesktopServices::setUrlHandler(QStringLiteral("https"), &recorder_, "openUrl"); }
  void cleanupTestCase() { QDesktopServices::unsetUrlHandler(QStringLiteral("https")); }
  void init() { recorder_.urls.clear(); }

  // Each opening is a new modal dialog with the version line that stays open past the
  // timer's interval and is destroyed once closed. The focused button answers its access
  // key, Space and Enter (Enter was once ignored).
  void aboutCommandStaysOpenUntilClosed() {
    TForm2 form(nullptr);
    const QKeyCombination keys[] = {Qt::AltModifier | Qt::Key_E, QKeyCombination(Qt::Key_Return),
                                    QKeyCombination(Qt::Key_Enter), QKeyCombination(Qt::Key_Space)};
    int wait = 2500;  // longer than the timer's 2 seconds, at the first opening
    for (const QKeyCombination key : keys) {
      const Seen seen = runAboutCommand(form, key, std::exchange(wait, 0));
      QVERIFY(seen.modal);
      QCOMPARE(seen.versionLine, QStringLiteral("202") + QStringLiteral(EXPECTED_FILE_VERSION));
      QVERIFY(seen.openAfterWait);
      QVERIFY2(seen.closedByKey, qPrintable(QKeySequence(key).toString()));
      QVERIFY2(seen.dialog.isNull(), "the dialog is destroyed after it has closed");
    }
  }

  void homePageClicks_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPoint>("where");
    QTest::addColumn<bool>("opens");
    QTest::newRow("picture") << "Image1" << QPoint(44, 44) << true;
    QTest::newRow("web address") << "Label3" << QPoint(80, 9) << true;
    QTest::newRow("frame around the picture") << "Panel3" << QPoint(1, 1) << false;
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
    QCOMPARE(target->childAt(where), nullptr);  // the click lands on the widget itself
    QTest::mouseClick(target, Qt::LeftButton, {}, where);
    QCOMPARE(recorder_.urls, opens ? QList<QUrl>{QUrl(QString::fromUtf8(kHomePageUrl))} : QList<QUrl>{});
    QVERIFY2(dialog.isVisible(), "the dialog stays open");
  }
};

QTEST_MAIN(AboutDialogTest)
#include "AboutDialogTest.moc"
