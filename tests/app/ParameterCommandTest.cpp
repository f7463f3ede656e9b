// The "Parameter" command in the window: the worked example's label and grid texts under
// German and English number settings, and what each failure leaves unchanged.
#include "Controls.h"
#include "ParameterRun.h"
#include "StringGrid.h"
#include "WindowFixture.h"

#include <QRegularExpression>
#include <QTest>

using testsupport::WindowFixture;

class ParameterCommandTest : public QObject {
  Q_OBJECT

private slots:
  void workedExample_data();
  void workedExample();
  void emptyListShowsSolvError();
  void failedRunKeepsResults_data();
  void failedRunKeepsResults();
  void readingAgainKeepsResults();
  void infiniteParametersShowAMessage();

private:
  // Reads the worked example into both systems and runs "Parameter" on it.
  static void runWorkedExample(WindowFixture& f);
};

void ParameterCommandTest::runWorkedExample(WindowFixture& f) {
  f.readOld(testsupport::kExampleOld);
  f.readNew(testsupport::kExampleNew);
  f.form().Parameter1Click(nullptr);
}

void ParameterCommandTest::workedExample_data() {
  QTest::addColumn<QString>("locale");
  QTest::addColumn<QString>("sep");
  QTest::newRow("German") << QString::fromUtf8(testsupport::kGermanLocale) << ",";
  QTest::newRow("English (C)") << "C" << ".";
}

void ParameterCommandTest::workedExample() {
  QFETCH(QString, locale);
  QFETCH(QString, sep);
  testsupport::ScopedLocale numbers(locale.toLatin1().constData());
  QVERIFY(numbers.ok());
  WindowFixture f;
  runWorkedExample(f);
  QVERIFY(f.driver().messages().empty());

  auto s = [&](const char* text) { return QString::fromLatin1(text).replace(",", sep); };
  // Xo, Yo, a, o, m, d, So, then the centroids HW and RW of the old and of the new system.
  QCOMPARE(f.labelTexts().join(' '), s("200,0075 99,9925 1,0015000000 0,0007500000 1,0015002808 0,0476749616 "
                                       "0,0106 3,3333 3,3333 203,3433 103,3333"));
  QCOMPARE(f.cellTexts().join(' '), s("Pkt. RW HW 1 0,0075 -0,0075 2 -0,0075 0,0000 3 0,0000 0,0075 "
                                      "Summe 0,0000 0,0000"));
  QCOMPARE(f.form().pointCount, 3);
}

void ParameterCommandTest::emptyListShowsSolvError() {
  WindowFixture f;
  f.readOld(testsupport::kExampleOld);
  // A new-system file without any point: its one bad line is skipped with OK.
  f.driver().chooseFile(f.write("neu.asc", "kein Punkt\n"));
  f.driver().answerMessage();
  f.form().mnuNeusystemClick(nullptr);
  QVERIFY(newPoints.empty());
  const QStringList labelsBefore = f.labelTexts();
  f.driver().answerMessage();
  f.form().Parameter1Click(nullptr);
  QVERIFY(f.driver().idle());
  const testsupport::ShownMessage& message = f.driver().messages().back();
  QCOMPARE(message.text, QStringLiteral("Berechnung kann nicht durchgeführt werden. Überprüfen Sie "
                                        "den Inhalt der Eingabedateien"));
  QCOMPARE(message.caption, QStringLiteral("Solv Error"));
  QCOMPARE(message.icon, QMessageBox::Critical);
  QCOMPARE(f.labelTexts(), labelsBefore);
  QCOMPARE(f.form().pointCount, 0);
}

void ParameterCommandTest::failedRunKeepsResults_data() {
  QTest::addColumn<bool>("reloadOld");
  QTest::addColumn<QString>("content");
  QTest::addColumn<QString>("message");
  QTest::addColumn<int>("pointCount");
  QTest::addColumn<bool>("centroidsChange");
  QTest::newRow("one pair (status 2)") << false << "1 5 5\n"
                                       << "Mindestens zwei Paßpunkte sind erforderlich." << 1 << false;
  QTest::newRow("old points coincide (status 3)")
      << true << "1 7 8\n2 7 8\n3 7 8\n4 7 8\n"
      << "Division durch Null. Paßpunkte liegen vermutlich aufeinander." << 3 << true;
}

void ParameterCommandTest::failedRunKeepsResults() {
  QFETCH(bool, reloadOld);
  QFETCH(QString, content);
  QFETCH(QString, message);
  QFETCH(int, pointCount);
  QFETCH(bool, centroidsChange);
  WindowFixture f;
  runWorkedExample(f);
  const QStringList labelsBefore = f.labelTexts();
  const QStringList cellsBefore = f.cellTexts();

  if (reloadOld) f.readOld(content.toStdString());
  else f.readNew(content.toStdString());
  f.driver().answerMessage();
  f.form().Parameter1Click(nullptr);
  QVERIFY(f.driver().idle());
  QCOMPARE(f.driver().messages().back().text, message);
  QCOMPARE(f.driver().messages().back().caption, QStringLiteral("Solve Error"));
  QCOMPARE(f.driver().messages().back().icon, QMessageBox::Information);
  const QStringList labelsAfter = f.labelTexts();
  QCOMPARE(labelsAfter.mid(0, 7), labelsBefore.mid(0, 7));  // parameters and So
  if (centroidsChange) {
    QVERIFY(QRegularExpression("^7[.,]0000$").match(f.form().lab_RWAS->text()).hasMatch());
    QVERIFY(QRegularExpression("^8[.,]0000$").match(f.form().lab_HWAS->text()).hasMatch());
  } else {
    QCOMPARE(labelsAfter, labelsBefore);
  }
  QCOMPARE(f.cellTexts(), cellsBefore);
  QCOMPARE(f.form().pointCount, pointCount);
}

void ParameterCommandTest::readingAgainKeepsResults() {
  WindowFixture f;
  runWorkedExample(f);
  const QStringList labelsBefore = f.labelTexts();
  const QStringList cellsBefore = f.cellTexts();
  f.readOld("9 1 1\n8 2 2\n");
  f.readNew("9 3 3\n");
  QCOMPARE(f.labelTexts(), labelsBefore);
  QCOMPARE(f.cellTexts(), cellsBefore);
}

// Guards against "INF" in the labels: old points 1e-300 apart and new ones 1e300 apart need
// a = 1e600. The message says so, and labels, grid and solver keep the last run.
void ParameterCommandTest::infiniteParametersShowAMessage() {
  WindowFixture f;
  runWorkedExample(f);
  const QStringList labelsBefore = f.labelTexts();
  const QStringList cellsBefore = f.cellTexts();
  const long double a = solver.a;
  f.readOld("1 0 0\n2 1e-300 0\n3 0 1e-300\n");
  f.readNew("1 0 0\n2 1e300 0\n3 0 1e300\n");
  f.driver().answerMessage();
  f.form().Parameter1Click(nullptr);
  QVERIFY(f.driver().idle());
  const testsupport::ShownMessage& message = f.driver().messages().back();
  QCOMPARE(message.text, QString::fromUtf8(compute::kNotRepresentableMessage));
  QVERIFY(message.text.contains(QStringLiteral("außerhalb des darstellbaren Zahlenbereichs")));
  QCOMPARE(message.caption, QStringLiteral("Solve Error"));
  QCOMPARE(f.labelTexts(), labelsBefore);
  QCOMPARE(f.cellTexts(), cellsBefore);
  QCOMPARE(solver.a, a);
}

QTEST_MAIN(ParameterCommandTest)
#include "ParameterCommandTest.moc"
