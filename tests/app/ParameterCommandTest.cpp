// The "Parameter" command in the window: the worked example's label and grid texts under
// German and English number settings, and what each failure leaves unchanged.
#include "Controls.h"
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

private:
  // Texts of all value labels, in a fixed order, to compare before and after a command.
  static QStringList allLabels(TForm2& form);
  static QStringList allCells(TForm2& form);
  // Reads the worked example into both systems and runs "Parameter" on it.
  static void runWorkedExample(WindowFixture& f);
};

void ParameterCommandTest::runWorkedExample(WindowFixture& f) {
  f.readOld(testsupport::kExampleOld);
  f.readNew(testsupport::kExampleNew);
  f.form().Parameter1Click(nullptr);
}

QStringList ParameterCommandTest::allLabels(TForm2& form) {
  QStringList texts;
  for (auto* label : {form.lab_X, form.lab_Y, form.lab_a, form.lab_o, form.lab_m, form.lab_d,
                      form.lab_So, form.lab_HWAS, form.lab_RWAS, form.lab_HWZS, form.lab_RWZS})
    texts << label->text();
  return texts;
}

QStringList ParameterCommandTest::allCells(TForm2& form) {
  QStringList texts;
  for (int row = 0; row < form.StringGrid1->RowCount(); ++row)
    for (int column = 0; column < 3; ++column) texts << form.StringGrid1->GetCells(column, row);
  return texts;
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
  TForm2& w = f.form();
  QCOMPARE(w.lab_X->text(), s("200,0075"));
  QCOMPARE(w.lab_Y->text(), s("99,9925"));
  QCOMPARE(w.lab_a->text(), s("1,0015000000"));
  QCOMPARE(w.lab_o->text(), s("0,0007500000"));
  QCOMPARE(w.lab_m->text(), s("1,0015002808"));
  QCOMPARE(w.lab_d->text(), s("0,0476749616"));
  QCOMPARE(w.lab_So->text(), s("0,0106"));
  QCOMPARE(w.lab_RWAS->text(), s("3,3333"));
  QCOMPARE(w.lab_HWAS->text(), s("3,3333"));
  QCOMPARE(w.lab_RWZS->text(), s("103,3333"));
  QCOMPARE(w.lab_HWZS->text(), s("203,3433"));

  const char* expected[5][3] = {{"Pkt.", "RW", "HW"},
                                {"1", "0,0075", "-0,0075"},
                                {"2", "-0,0075", "0,0000"},
                                {"3", "0,0000", "0,0075"},
                                {"Summe", "0,0000", "0,0000"}};
  QCOMPARE(w.StringGrid1->RowCount(), 5);
  for (int row = 0; row < 5; ++row)
    for (int column = 0; column < 3; ++column)
      QCOMPARE(f.cell(column, row), s(expected[row][column]));
  QCOMPARE(w.pointCount, 3);
}

void ParameterCommandTest::emptyListShowsSolvError() {
  WindowFixture f;
  f.readOld(testsupport::kExampleOld);
  // A new-system file without any point: its one bad line is skipped with OK.
  f.driver().chooseFile(f.write("neu.asc", "kein Punkt\n"));
  f.driver().answerMessage();
  f.form().mnuNeusystemClick(nullptr);
  QVERIFY(newPoints.empty());
  const QStringList labelsBefore = allLabels(f.form());
  f.driver().answerMessage();
  f.form().Parameter1Click(nullptr);
  QVERIFY(f.driver().idle());
  const testsupport::ShownMessage& message = f.driver().messages().back();
  QCOMPARE(message.text, QStringLiteral("Berechnung kann nicht durchgeführt werden. Überprüfen Sie "
                                        "den Inhalt der Eingabedateien"));
  QCOMPARE(message.caption, QStringLiteral("Solv Error"));
  QCOMPARE(message.icon, QMessageBox::Critical);
  QCOMPARE(allLabels(f.form()), labelsBefore);
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
  const QStringList labelsBefore = allLabels(f.form());
  const QStringList cellsBefore = allCells(f.form());

  if (reloadOld) f.readOld(content.toStdString());
  else f.readNew(content.toStdString());
  f.driver().answerMessage();
  f.form().Parameter1Click(nullptr);
  QVERIFY(f.driver().idle());
  QCOMPARE(f.driver().messages().back().text, message);
  QCOMPARE(f.driver().messages().back().caption, QStringLiteral("Solve Error"));
  QCOMPARE(f.driver().messages().back().icon, QMessageBox::Information);
  const QStringList labelsAfter = allLabels(f.form());
  QCOMPARE(labelsAfter.mid(0, 7), labelsBefore.mid(0, 7));  // parameters and So
  if (centroidsChange) {
    QVERIFY(QRegularExpression("^7[.,]0000$").match(f.form().lab_RWAS->text()).hasMatch());
    QVERIFY(QRegularExpression("^8[.,]0000$").match(f.form().lab_HWAS->text()).hasMatch());
  } else {
    QCOMPARE(labelsAfter, labelsBefore);
  }
  QCOMPARE(allCells(f.form()), cellsBefore);
  QCOMPARE(f.form().pointCount, pointCount);
}

void ParameterCommandTest::readingAgainKeepsResults() {
  WindowFixture f;
  runWorkedExample(f);
  const QStringList labelsBefore = allLabels(f.form());
  const QStringList cellsBefore = allCells(f.form());
  f.readOld("9 1 1\n8 2 2\n");
  f.readNew("9 3 3\n");
  QCOMPARE(allLabels(f.form()), labelsBefore);
  QCOMPARE(allCells(f.form()), cellsBefore);
}

QTEST_MAIN(ParameterCommandTest)
#include "ParameterCommandTest.moc"
