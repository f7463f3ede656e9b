// "Protokoll speichern..." in the "Paßpunktanalyse", driven through the real widgets: the
// save dialog's title, filters and proposal; a PDF that shows what the dialog shows; HTML
// chosen by the filter; a failed write that keeps the existing file; and an input file
// refused as target.
#include "AnalysisDialogSteps.h"
#include "CliRunner.h"
#include "FileSizeLimit.h"
#include "WindowFixture.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <unistd.h>

using analysis::ControlPointDialog;
using testsupport::WindowFixture;
using testsupport::withDialog;

namespace {

// Six named pairs, the new system shifted and turned by a little, with millimetre noise.
constexpr const char* kOld = "101 100 200\n102 400 210\n103 390 520\n104 110 480\n105 250 350\n106 520 600\n";
constexpr const char* kNew =
    "101 1100.102 2199.899\n102 1400.104 2209.875\n103 1390.135 2519.876\n"
    "104 1110.132 2479.899\n105 1250.114 2349.889\n106 1520.145 2599.850\n";

// Queues `handler` for the next modal widget of type T. Between its nested dialogs the
// analysis dialog is the modal widget again; the driver may offer it, and it is passed over.
template <class T>
void onNext(testsupport::ModalDriver& driver, const std::function<void(T*)>& handler) {
  driver.onNextModal([&driver, handler](QWidget* widget) {
    if (auto* wanted = qobject_cast<T*>(widget)) handler(wanted);
    else onNext<T>(driver, handler);
  });
}

}  // namespace

class SaveProtocolDialogTest : public QObject {
  Q_OBJECT
private slots:
  void savesPdfAndHtmlOfWhatTheDialogShows();
  void affineModelIsTheProtocols();
  void failedWriteKeepsTheExistingFile();
  void inputFileIsRefusedAsTarget();
};

void SaveProtocolDialogTest::savesPdfAndHtmlOfWhatTheDialogShows() {
  WindowFixture f;
  f.readOld(kOld);
  f.readNew(kNew);
  const std::string pdf = f.dir().file("alt_protokoll.pdf");
  QStringList shown;
  withDialog(f, [&](ControlPointDialog& d) {
    QVERIFY(d.setPairActive(1, false));
    f.driver().acceptFileDialog();
    QTest::mouseClick(d.ProtocolButton, Qt::LeftButton);
    shown = {d.lab_X->text(), d.lab_a->text(), d.lab_So->text(), d.VerdictLine->text()};

    // The HTML filter: a name typed without extension gets .html and the HTML form.
    onNext<QFileDialog>(f.driver(), [&](QFileDialog* dialog) {
      auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
      QTest::keyClick(types, Qt::Key_Down);
      dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("seite"));
      static_cast<QDialog*>(dialog)->accept();
    });
    QTest::mouseClick(d.ProtocolButton, Qt::LeftButton);
  });

  const testsupport::ModalDriver::ShownFileDialog& asked = f.driver().fileDialogs().at(2);  // after the two opens
  QCOMPARE(asked.title, QStringLiteral("Protokoll speichern"));
  QCOMPARE(asked.nameFilters, (QStringList{"PDF-Dokument (*.pdf)", "HTML-Datei (*.html)"}));
  QCOMPARE(asked.selected, QString::fromStdString(pdf));
  QVERIFY(f.driver().messages().empty());

  const clitest::ProcessResult text = clitest::runProcess(TRAMIS_PDFTOTEXT_PATH, {pdf, "-"}, f.dir().path());
  QCOMPARE(text.exitCode, 0);
  for (const QString& value : shown) QVERIFY2(text.out.find(value.toStdString()) != std::string::npos, qPrintable(value));
  for (const char* part : {"Transformationsprotokoll", "n = 5 von 6 aktiv", "Abgeschaltete Paßpunkte: 2 (102)", "Seite 1 von"})
    QVERIFY2(text.out.find(part) != std::string::npos, part);
  QVERIFY(text.out.find(f.dir().file("alt.asc")) != std::string::npos);

  const std::string html = testsupport::readFile(f.dir().file("seite.html"));
  QVERIFY(html.starts_with("<!DOCTYPE html>"));
}

// Guards against a protocol of Helmert's parameters beside the affine model's residuals:
// the model chosen in the dialog, its formula and its parameters as the dialog shows them,
// and the comparison of the three models.
void SaveProtocolDialogTest::affineModelIsTheProtocols() {
  WindowFixture f;
  f.readOld(kOld);
  f.readNew(kNew);
  const std::string pdf = f.dir().file("alt_protokoll.pdf");
  QStringList shown;
  withDialog(f, [&](ControlPointDialog& d) {
    d.ModelBox->setCurrentIndex(d.ModelBox->findData(static_cast<int>(models::Model::Affine)));
    QCOMPARE(d.model(), models::Model::Affine);
    for (std::size_t i = 0; i < d.ModelNames.size(); ++i)
      if (d.ModelNames[i]->text() == QStringLiteral("a1 =") || d.ModelNames[i]->text() == QStringLiteral("Scherung ="))
        shown.push_back(d.ModelValues[i]->text());
    shown.push_back(d.ComparisonVerdicts->text().split(QLatin1Char('\n')).last());  // the model the data support
    f.driver().acceptFileDialog();
    QTest::mouseClick(d.ProtocolButton, Qt::LeftButton);
  });
  QCOMPARE(shown.size(), 3);
  const clitest::ProcessResult text = clitest::runProcess(TRAMIS_PDFTOTEXT_PATH, {pdf, "-"}, f.dir().path());
  QCOMPARE(text.exitCode, 0);
  for (const QString& value : shown) QVERIFY2(text.out.find(value.toStdString()) != std::string::npos, qPrintable(value));
  // "Affin" with the ligature "ﬃ" in the text pdftotext gives back.
  for (const char* part : {"transformation (6 Parameter)", "HW = Xo + b1·rw + b2·hw", "Scherung", "n = 6 von 6 aktiv, Redundanz 6",
                           "Modellvergleich"})
    QVERIFY2(text.out.find(part) != std::string::npos, part);
  QVERIFY(text.out.find("m = √(a² + o²)") == std::string::npos);
}

void SaveProtocolDialogTest::failedWriteKeepsTheExistingFile() {
  WindowFixture f;
  f.readOld(kOld);
  f.readNew(kNew);
  const std::string path = f.write("protokoll.pdf", "altes Protokoll\n");
  QString caption, text;
  withDialog(f, [&](ControlPointDialog& d) {
    // The existing file confirmed as chosen (the dialog's own overwrite question is Qt's).
    f.driver().chooseVanishedFile(path);
    onNext<QMessageBox>(f.driver(), [&](QMessageBox* box) {
      caption = box->windowTitle();
      text = box->text();
      box->accept();
    });
    const testsupport::FileSizeLimit limit(4096);
    QTest::mouseClick(d.ProtocolButton, Qt::LeftButton);
  });
  QCOMPARE(caption, QStringLiteral("File Error"));
  const QStringList lines = text.split(QLatin1Char('\n'));
  QCOMPARE(lines.at(0), QStringLiteral("Datei %1 kann nicht geschrieben werden.").arg(QString::fromStdString(path)));
  QVERIFY(lines.size() == 2 && !lines.at(1).isEmpty());
  QCOMPARE(testsupport::readFile(path), std::string("altes Protokoll\n"));
}

// Guards against the protocol replacing a coordinate file that was read, here through a
// hard link to the new-system file: refused in a message box, the dialog asks again.
void SaveProtocolDialogTest::inputFileIsRefusedAsTarget() {
  WindowFixture f;
  f.readOld(kOld);
  f.readNew(kNew);
  const std::string link = f.dir().file("neu_protokoll.html");
  QVERIFY(::link(f.dir().file("neu.asc").c_str(), link.c_str()) == 0);
  const std::string other = f.dir().file("protokoll.html");
  QString caption, text;
  withDialog(f, [&](ControlPointDialog& d) {
    onNext<QFileDialog>(f.driver(), [&](QFileDialog* dialog) {
      auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      name->setText(QString::fromStdString(link));
      static_cast<QDialog*>(dialog)->accept();  // refused: the box below is answered meanwhile
      name->setText(QString::fromStdString(other));
      static_cast<QDialog*>(dialog)->accept();
    });
    onNext<QMessageBox>(f.driver(), [&](QMessageBox* box) {
      caption = box->windowTitle();
      text = box->text();
      box->accept();
    });
    QTest::mouseClick(d.ProtocolButton, Qt::LeftButton);
  });
  QCOMPARE(caption, QStringLiteral("Protokoll speichern"));
  QVERIFY2(text.startsWith(QStringLiteral("Datei %1 ist eine eingelesene Koordinatendatei").arg(QString::fromStdString(link))),
           qPrintable(text));
  QCOMPARE(testsupport::readFile(f.dir().file("neu.asc")), std::string(kNew));
  QVERIFY(testsupport::readFile(other).starts_with("<!DOCTYPE html>"));
}

QTEST_MAIN(SaveProtocolDialogTest)
#include "SaveProtocolDialogTest.moc"
