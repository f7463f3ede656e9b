// The progress window of the three long commands, driven as a user would: Escape, closing
// and a second command while it is up change nothing; "Abbrechen" stops the command and
// leaves what the command promises.
#include "Controls.h"
#include "Progress.h"
#include "StringGrid.h"
#include "WindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

using testsupport::WindowFixture;

namespace {

// Enough points for several progress steps in each command.
constexpr int kManyPoints = 400000;

std::string manyPoints() {
  std::string content;
  for (int i = 0; i < kManyPoints; ++i)
    content += std::to_string(i) + " " + std::to_string(i % 977) + ".5 " + std::to_string(i % 613) + "\n";
  return content;
}

// The progress window appears at once while the object lives.
struct ImmediateProgress {
  ImmediateProgress() { toolkit::TProgress::delayMilliseconds = 0; }
  ~ImmediateProgress() { toolkit::TProgress::delayMilliseconds = 500; }
};

}  // namespace

class ProgressCancelTest : public QObject {
  Q_OBJECT

  // Queues the user's doings for the next progress window: Escape, the close box, Ctrl+A
  // and every command of the menu, then "Abbrechen" once the bar has reached `cancelAt`
  // (0 to 1000). A command that starts anyway is counted in `started` and its dialog or
  // message box closed, so that the test ends instead of waiting for it.
  void interfereThenCancel(WindowFixture& f, int cancelAt) {
    f.driver().onNextModal([this, &f, cancelAt](QWidget* window) {
      windowSeen_ = true;
      QTimer intruders;
      connect(&intruders, &QTimer::timeout, [this, window] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal != window) {
          ++started_;
          modal->close();
        }
      });
      intruders.start(1);
      QTest::keyClick(window, Qt::Key_Escape);
      window->close();
      QTest::keyClick(&f.form(), Qt::Key_A, Qt::ControlModifier);
      for (QAction* command : {f.form().mnuAltsystem, f.form().mnuNeusystem, f.form().Parameter1,
                               f.form().Transformation1, f.form().mnuAbout})
        command->trigger();
      stayedUp_ = window->isVisible() && QApplication::activeModalWidget() == window;
      auto* cancel = window->findChild<QPushButton*>();
      auto* bar = window->findChild<QProgressBar*>();
      if (!cancel || !bar || cancel->text() != QStringLiteral("Abbrechen")) return;
      auto* press = new QTimer(window);
      connect(press, &QTimer::timeout, [cancel, bar, cancelAt] {
        if (bar->value() >= cancelAt) cancel->click();
      });
      press->start(0);
      cancelPressed_ = true;
    });
  }

  void checkInterference() {
    QVERIFY(windowSeen_);
    QVERIFY2(stayedUp_, "Escape or the close box took the progress window away");
    QCOMPARE(started_, 0);
    QVERIFY2(cancelPressed_, "no button \"Abbrechen\"");
  }

  bool windowSeen_ = false, stayedUp_ = false, cancelPressed_ = false;
  int started_ = 0;

private slots:
  void init() { windowSeen_ = stayedUp_ = cancelPressed_ = false, started_ = 0; }

  // Guards against the crash of a second reading that started inside the first and closed
  // its file; the file must be closed on the exception's way out as well.
  void cancelledReadingKeepsPointsReadSoFar() {
    WindowFixture f;
    const std::string path = f.write("viele.asc", manyPoints());
    f.driver().chooseFile(path);
    interfereThenCancel(f, 300);
    {
      ImmediateProgress immediate;
      f.form().mnuAltsystem->trigger();
    }
    checkInterference();
    QVERIFY(oldPoints.count() > 0 && oldPoints.count() < std::size_t{kManyPoints});
    QCOMPARE(oldPoints.hw.size(), oldPoints.rw.size());
    QCOMPARE(oldPoints.nameAt(oldPoints.count() - 1), std::to_string(oldPoints.count() - 1));
    QCOMPARE(f.form().StatusBar1->PanelText(0),
             QStringLiteral("Old: [%1]  viele.asc").arg(oldPoints.count()));
    QVERIFY(oldFile == nullptr);
    QVERIFY(f.driver().messages().empty());
  }

  void cancelledParameterLeavesEverythingAsItWas() {
    WindowFixture f;
    f.readOld(testsupport::kExampleOld);
    f.readNew(testsupport::kExampleNew);
    f.form().Parameter1Click(nullptr);
    const QString a = f.form().lab_a->text(), centroid = f.form().lab_HWAS->text();
    const QString residual = f.cell(2, 3);
    const long double Yo = solver.Yo, rw3 = solver.residual_rw(2);

    const std::string many = manyPoints();
    f.readOld(many, "viele_alt.asc");
    f.readNew(many, "viele_neu.asc");
    interfereThenCancel(f, 900);
    {
      ImmediateProgress immediate;
      f.form().Parameter1->trigger();
    }
    checkInterference();
    QCOMPARE(f.form().lab_a->text(), a);
    QCOMPARE(f.form().lab_HWAS->text(), centroid);
    QCOMPARE(f.form().StringGrid1->RowCount(), 5);
    QCOMPARE(f.cell(2, 3), residual);
    QCOMPARE(solver.rows, 3);
    QVERIFY(solver.Yo == Yo && solver.residual_rw(2) == rw3);
    QCOMPARE(solver.residuals.rows, 3);
    QCOMPARE(solver.reduced.rows, 3);
  }

  void cancelledTransformationKeepsTheOldFile() {
    WindowFixture f;
    f.readOld(manyPoints());
    f.readNew(testsupport::kExampleNew);
    const std::string target = f.write("ergebnis.erg", "bisher");
    f.driver().chooseFile(target);
    f.driver().answerMessage(QMessageBox::Yes);  // replace the existing file
    interfereThenCancel(f, 300);
    {
      ImmediateProgress immediate;
      f.form().Transformation1->trigger();
    }
    checkInterference();
    QCOMPARE(testsupport::readFile(target), std::string("bisher"));
    QCOMPARE(QDir(QString::fromStdString(f.dir().path())).entryList(QDir::Files).size(), 3);
  }
};

QTEST_MAIN(ProgressCancelTest)
#include "ProgressCancelTest.moc"
