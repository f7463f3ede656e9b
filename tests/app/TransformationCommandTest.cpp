// The "Transformation Alt -> Neu" command in the window: its silent pre-check, the save
// dialog's texts, proposed name and refusal of a missing folder or an input file, the
// written file, and a write that fails. (The question before replacing a file is answered
// in the cancel test.)
#include "WindowFixture.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QTest>

using testsupport::WindowFixture;

class TransformationCommandTest : public QObject {
  Q_OBJECT

private slots:
  void withoutPointsNothingHappens();
  void beforeParameterEveryValueIsZero();
  void proposesOldFileWithoutExtension();
  void writesTransformedPointsAfterParameter();
  void dialogRefusesMissingFolder();
  void dialogRefusesAnInputFileAndAsksAgain();
  void failedWriteShowsFileError();
};

void TransformationCommandTest::withoutPointsNothingHappens() {
  WindowFixture f;
  f.readOld("P1 1 2\n");
  f.driver().cancelFileDialog();  // would answer a dialog, if one appeared
  f.form().Transformation1Click(nullptr);
  QTest::qWait(50);
  QVERIFY(!f.driver().idle());
  QCOMPARE(f.driver().fileDialogs().size(), std::size_t{1});  // only the open dialog
}

void TransformationCommandTest::beforeParameterEveryValueIsZero() {
  WindowFixture f;
  f.readOld("P1 4567890.1 5432109.8\n1 2\n");
  f.readNew("1 2\n");
  const std::string target = f.dir().file("ergebnis.erg");
  f.driver().chooseFile(target);
  f.form().Transformation1Click(nullptr);
  QVERIFY(f.driver().idle());
  QCOMPARE(testsupport::readFile(target),
           std::string(" P1\t 0              \t 0              \r\n"
                       " \t 0              \t 0              "));
}

// The proposal is the old file's path with ".erg" (long paths: the file-name tests).
void TransformationCommandTest::proposesOldFileWithoutExtension() {
  WindowFixture f;
  f.readOld("P1 1 2\n", "alt.txt");
  f.readNew("1 2\n");
  f.driver().acceptFileDialog();
  f.form().Transformation1Click(nullptr);
  QVERIFY(f.driver().idle());
  const auto& shown = f.driver().fileDialogs().back();
  QCOMPARE(shown.title, QStringLiteral("Save Transformation"));
  QCOMPARE(shown.nameFilters, (QStringList{QStringLiteral("Ergebnisdatei (*.erg)"), QStringLiteral("CSV (*.csv)")}));
  QCOMPARE(shown.defaultSuffix, QStringLiteral("erg"));
  QCOMPARE(f.form().SaveDialog1.FileName, f.dir().file("alt.erg"));
  QVERIFY(testsupport::fileExists(f.dir().file("alt.erg")));
}

void TransformationCommandTest::writesTransformedPointsAfterParameter() {
  testsupport::ScopedLocale german(testsupport::kGermanLocale);
  WindowFixture f;
  f.readOld(std::string(testsupport::kExampleOld) + "-20 5\n");
  f.readNew(testsupport::kExampleNew);
  f.form().Parameter1Click(nullptr);
  const std::string target = f.dir().file("ergebnis.erg");
  f.driver().chooseFile(target);
  f.form().Transformation1Click(nullptr);
  QVERIFY(f.driver().idle());
  // RW = Yo + a rw + o hw, HW = Xo + a hw - o rw with a 1.0015, o 0.00075, Yo 99.9925,
  // Xo 200.0075; the old file names its first three points and not the fourth.
  QCOMPARE(testsupport::readFile(target),
           std::string(" 1\t 99.9925        \t 200.0075       \r\n"
                       " 2\t 110.0075       \t 200            \r\n"
                       " 3\t 100            \t 210.0225       \r\n"
                       " \t 79.96625       \t 205.03         "));
}

// Guards against accepting a folder that does not exist and failing only when writing.
void TransformationCommandTest::dialogRefusesMissingFolder() {
  WindowFixture f;
  f.readOld("P1 1 2\n");
  f.readNew("1 2\n");
  f.driver().chooseFile(f.dir().file("fehlt/ergebnis.erg"));
  f.driver().answerMessage();
  f.form().Transformation1Click(nullptr);
  QVERIFY(f.driver().idle());
  QCOMPARE(f.driver().messages().size(), std::size_t{1});
  const testsupport::ShownMessage& refusal = f.driver().messages().front();
  QCOMPARE(refusal.caption, QStringLiteral("Save Transformation"));
  QVERIFY2(refusal.text.startsWith(QString::fromStdString(f.dir().file("fehlt") + "\n")),
           qPrintable(refusal.text));
  QVERIFY(!testsupport::fileExists(f.dir().file("fehlt")));
}

// Guards against the result replacing a coordinate file that was read: the dialog refuses it
// in the program's message box and stays open, and the next choice is written.
void TransformationCommandTest::dialogRefusesAnInputFileAndAsksAgain() {
  WindowFixture f;
  f.readOld("P1 1 2\n");
  f.readNew("P1 3 4\n");
  const std::string input = f.dir().file("alt.asc");
  const std::string other = f.dir().file("ergebnis.erg");
  bool stayedOpen = false;
  f.driver().onNextModal([&](QWidget* widget) {
    auto* dialog = qobject_cast<QFileDialog*>(widget);
    QVERIFY(dialog);
    // The dialog takes a name through its file system model, which works in a thread of its
    // own: each choice is accepted once the dialog has taken it.
    dialog->selectFile(QString::fromStdString(input));
    dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QString::fromStdString(input));
    QTRY_COMPARE(dialog->selectedFiles().value(0), QString::fromStdString(input));
    static_cast<QDialog*>(dialog)->accept();  // the refusal is answered meanwhile
    stayedOpen = dialog->isVisible();
    dialog->selectFile(QString::fromStdString(other));
    QTRY_COMPARE(dialog->selectedFiles().value(0), QString::fromStdString(other));
    static_cast<QDialog*>(dialog)->accept();
  });
  f.driver().answerMessage();
  f.form().Transformation1Click(nullptr);
  QVERIFY(f.driver().idle());
  QVERIFY(stayedOpen);
  QCOMPARE(f.driver().messages().size(), std::size_t{1});
  const testsupport::ShownMessage& refusal = f.driver().messages().front();
  QCOMPARE(refusal.caption, QStringLiteral("Save Transformation"));
  QCOMPARE(refusal.icon, QMessageBox::Critical);
  QCOMPARE(refusal.text, QStringLiteral("Datei %1 ist eine eingelesene Koordinatendatei und wird nicht "
                                        "überschrieben.\nBitte eine andere Datei wählen.")
                             .arg(QString::fromStdString(input)));
  QCOMPARE(testsupport::readFile(input), std::string("P1 1 2\n"));
  QVERIFY(testsupport::fileExists(other));
}

void TransformationCommandTest::failedWriteShowsFileError() {
  WindowFixture f;
  f.readOld("P1 1 2\n");
  f.readNew("1 2\n");
  const std::string target = f.dir().file("fehlt/ergebnis.erg");  // its folder has gone
  f.driver().chooseVanishedFile(target);
  f.driver().answerMessage();
  f.form().Transformation1Click(nullptr);
  QVERIFY(f.driver().idle());
  const testsupport::ShownMessage& message = f.driver().messages().front();
  QCOMPARE(message.caption, QStringLiteral("File Error"));
  QCOMPARE(message.icon, QMessageBox::Critical);
  QVERIFY2(message.text.startsWith(QStringLiteral("Datei ") + QString::fromStdString(target) +
                                   QStringLiteral(" kann nicht geschrieben werden.")),
           qPrintable(message.text));
  QVERIFY(!testsupport::fileExists(target));
}

QTEST_MAIN(TransformationCommandTest)
#include "TransformationCommandTest.moc"
