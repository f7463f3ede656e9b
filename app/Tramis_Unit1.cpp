// The main window: layout, menu, display reset and the commands of the window itself
// (exit, help, home page). The other commands live in their subsystems' folders.
#include "Tramis_Unit1.h"

#include "Application.h"
#include "Controls.h"
#include "FileVersion.h"
#include "HomePage.h"
#include "GridDrawing.h"
#include "Help.h"
#include "Progress.h"
#include "StringGrid.h"

#include <QAction>
#include <QDesktopServices>
#include <QFrame>
#include <QGroupBox>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolButton>
#include <QUrl>

// Program state of the main unit. The point lists come before the solver, so that they
// are destroyed after it.
TForm2* Form2 = nullptr;
std::FILE* oldFile = nullptr;
std::FILE* newFile = nullptr;
PointList newPoints;
PointList oldPoints;
kel::TKEL_Vovezorevarovaduvorir solver;

namespace {

// Window geometry at 96 dots per inch.
constexpr int kClientWidth = 664;
constexpr int kClientHeight = 357;
constexpr int kStatusBarHeight = 20;
constexpr int kStatusPanel0Width = 300;
constexpr int kLabelHeight = 13;
constexpr int kFontPixelSize = 10;

QGroupBox* makeGroupBox(QWidget* parent, const QString& caption, int left, int top, int width,
                        int height) {
  auto* box = new QGroupBox(caption, parent);
  box->setGeometry(left, top, width, height);
  return box;
}

}  // namespace

TForm2::TForm2(QWidget* owner) : QMainWindow(owner) {
  buildLayout();
  buildMenu();
  ResetDisplay();
  // By position the pairs are the point lists themselves, from the start.
  RefreshPairing();
  StringGrid1->SetDefaultColWidth(StringGrid1->width() / 3 - 10);
  setWindowTitle(QString::fromUtf8(kTitlePrefix) +
                 QString::fromStdString(GetFileVersion(toolkit::GetExeName())));
}

TForm2::~TForm2() = default;

void TForm2::buildLayout() {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(kFontPixelSize);
  setFont(font);

  auto* client = new QWidget(this);
  client->setFixedSize(kClientWidth, kClientHeight - kStatusBarHeight);
  setCentralWidget(client);

  Bevel1 = new QFrame(client);
  Bevel1->setGeometry(0, 0, kClientWidth, kClientHeight - kStatusBarHeight);
  Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);

  GroupBox1 = makeGroupBox(client, QStringLiteral("Parameter"), 15, 11, 218, 172);
  Label1 = toolkit::MakeLabel(GroupBox1, QStringLiteral("Xo ="), 13, 20);
  Label2 = toolkit::MakeLabel(GroupBox1, QStringLiteral("Yo ="), 12, 39);
  Label3 = toolkit::MakeLabel(GroupBox1, QStringLiteral("a ="), 20, 59);
  Label4 = toolkit::MakeLabel(GroupBox1, QStringLiteral("o ="), 20, 78);
  Label5 = toolkit::MakeLabel(GroupBox1, QStringLiteral("m ="), 17, 111);
  Label6 = toolkit::MakeLabel(GroupBox1, QStringLiteral("d ="), 20, 130);
  Label7 = toolkit::MakeLabel(GroupBox1, QStringLiteral("gon"), 190, 130);
  Label8 = toolkit::MakeLabel(GroupBox1, QStringLiteral("So ="), 12, 150);
  lab_X = new toolkit::TValueLabel(GroupBox1, 209, 20, kLabelHeight);
  lab_Y = new toolkit::TValueLabel(GroupBox1, 209, 39, kLabelHeight);
  lab_a = new toolkit::TValueLabel(GroupBox1, 209, 59, kLabelHeight);
  lab_o = new toolkit::TValueLabel(GroupBox1, 209, 78, kLabelHeight);
  lab_m = new toolkit::TValueLabel(GroupBox1, 177, 111, kLabelHeight);
  lab_d = new toolkit::TValueLabel(GroupBox1, 177, 130, kLabelHeight);
  lab_So = new toolkit::TValueLabel(GroupBox1, 178, 150, kLabelHeight);

  GroupBox2 = makeGroupBox(client, QStringLiteral("Verbesserungen Zielsystem"), 250, 11, 399, 315);
  StringGrid1 = new toolkit::TStringGrid(GroupBox2, 3, 5);
  StringGrid1->setGeometry(2, 15, 395, 298);
  StringGrid1->SetDefaultColWidth(80);
  StringGrid1->setItemDelegate(new GridCellDelegate(this, StringGrid1));

  GroupBox3 = makeGroupBox(client, QStringLiteral("Schwerpunkt der Paßpunkte"), 15, 195, 218, 131);
  Label17 = toolkit::MakeLabel(GroupBox3, QStringLiteral("Ausgangssystem"), 13, 20);
  Label9 = toolkit::MakeLabel(GroupBox3, QStringLiteral("hw ="), 33, 37);
  Label16 = toolkit::MakeLabel(GroupBox3, QStringLiteral("rw ="), 33, 53);
  Label18 = toolkit::MakeLabel(GroupBox3, QStringLiteral("Zielsystem"), 13, 72);
  Label15 = toolkit::MakeLabel(GroupBox3, QStringLiteral("hw ="), 33, 89);
  Label14 = toolkit::MakeLabel(GroupBox3, QStringLiteral("rw ="), 33, 105);
  lab_HWAS = new toolkit::TValueLabel(GroupBox3, 209, 37, kLabelHeight);
  lab_RWAS = new toolkit::TValueLabel(GroupBox3, 209, 53, kLabelHeight);
  lab_HWZS = new toolkit::TValueLabel(GroupBox3, 209, 89, kLabelHeight);
  lab_RWZS = new toolkit::TValueLabel(GroupBox3, 209, 105, kLabelHeight);

  StatusBar1 = new toolkit::TStatusBar(this, kStatusPanel0Width);
  StatusBar1->setFixedHeight(kStatusBarHeight);
  setStatusBar(StatusBar1);
  PairingButton = new QToolButton(StatusBar1);
  PairingButton->setObjectName(QStringLiteral("pairingButton"));
  PairingButton->setAutoRaise(true);
  PairingButton->setFixedHeight(kStatusBarHeight - 2);
  // A warning sign, so that it reads as something to look at, not as a panel's text.
  PairingButton->setIcon(style()->standardIcon(QStyle::SP_MessageBoxWarning));
  PairingButton->setIconSize(QSize(kStatusBarHeight - 6, kStatusBarHeight - 6));
  PairingButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  PairingButton->hide();
  StatusBar1->addPermanentWidget(PairingButton);
  connect(PairingButton, &QToolButton::clicked, this, [this] { toolkit::RunGuarded([this] { ShowPairingReport(); }); });

  SaveDialog1.Options = toolkit::TFileDialog::ofOverwritePrompt |
                        toolkit::TFileDialog::ofHideReadOnly |
                        toolkit::TFileDialog::ofPathMustExist;

  // The window keeps its designed size: it cannot be resized by dragging.
  layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TForm2::buildMenu() {
  MainMenu1 = menuBar();
  mnuDatei = MainMenu1->addMenu(QStringLiteral("&Datei"));
  mnuAltsystem = mnuDatei->addAction(QStringLiteral("&Altsystem öffnen.."));
  mnuAltsystem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
  mnuNeusystem = mnuDatei->addAction(QStringLiteral("&Neusystem öffnen..."));
  mnuNeusystem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
  N1 = mnuDatei->addSeparator();
  mnuExit = mnuDatei->addAction(QStringLiteral("&Exit"));

  // The menu title carries Ctrl+B but has no command: the key starts nothing.
  mnuBerechnen = MainMenu1->addMenu(QStringLiteral("&Berechnen"));
  Parameter1 = mnuBerechnen->addAction(QStringLiteral("Parameter"));
  Transformation1 = mnuBerechnen->addAction(QStringLiteral("Transformation Alt -> Neu"));
  N2 = mnuBerechnen->addSeparator();
  mnuPasspunkte = mnuBerechnen->addAction(QStringLiteral("Paßpunkte &prüfen..."));
  mnuPasspunkte->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
  mnuPaarung = mnuBerechnen->addAction(QStringLiteral("Paarung nach Punktnummer"));
  mnuPaarung->setCheckable(true);
  N4 = mnuBerechnen->addSeparator();
  mnuRestklaffen = mnuBerechnen->addAction(QStringLiteral("Transformation mit &Restklaffenverteilung..."));
  mnuRestklaffen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));

  // The file exchange commands come after the program's own file commands.
  N3 = mnuDatei->addSeparator();
  mnuImportieren = mnuDatei->addAction(QStringLiteral("&Importieren..."));
  mnuQgisOeffnen = mnuDatei->addAction(QStringLiteral("Paßpunkte aus &QGIS-Datei öffnen..."));

  mnuHilfe = MainMenu1->addMenu(QStringLiteral("&Hilfe"));
  mnuHelpInhalt = mnuHilfe->addAction(QStringLiteral("&Inhalt"));
  mnuKELHome = mnuHilfe->addAction(QStringLiteral("KEL Home"));
  mnuAbout = mnuHilfe->addAction(QStringLiteral("&About"));

  connectCommand(mnuAltsystem, &TForm2::mnuAltsystemClick);
  connectCommand(mnuNeusystem, &TForm2::mnuNeusystemClick);
  connectCommand(mnuExit, &TForm2::mnuExitClick);
  connectCommand(Parameter1, &TForm2::Parameter1Click);
  connectCommand(Transformation1, &TForm2::Transformation1Click);
  connectCommand(mnuPasspunkte, &TForm2::mnuPasspunkteClick);
  connectCommand(mnuPaarung, &TForm2::mnuPaarungClick);
  connectCommand(mnuImportieren, &TForm2::mnuImportierenClick);
  connectCommand(mnuQgisOeffnen, &TForm2::mnuQgisOeffnenClick);
  connectCommand(mnuRestklaffen, &TForm2::mnuRestklaffenClick);
  connectCommand(mnuHelpInhalt, &TForm2::mnuHelpInhaltClick);
  connectCommand(mnuKELHome, &TForm2::mnuKELHomeClick);
  connectCommand(mnuAbout, &TForm2::mnuAboutClick);

  // F1 anywhere in the window shows the window's help context.
  auto* contextHelp = new QAction(this);
  contextHelp->setShortcut(QKeySequence(Qt::Key_F1));
  contextHelp->setShortcutContext(Qt::WindowShortcut);
  addAction(contextHelp);
  connect(contextHelp, &QAction::triggered, this,
          [] { toolkit::RunGuarded([] { toolkit::HelpContext(kHelpContext); }); });
}

void TForm2::connectCommand(QAction* action, void (TForm2::*command)(QObject*)) {
  connect(action, &QAction::triggered, this, [this, action, command] {
    // A command that processes events (its progress window) must not let another one
    // start on the data it is working on. A ticked item has already changed its tick:
    // it goes back, as its command does not run.
    if (commandRunning_) {
      if (action->isCheckable()) {
        const QSignalBlocker unchanged(action);
        action->setChecked(!action->isChecked());
      }
      return;
    }
    commandRunning_ = true;
    toolkit::RunGuarded([&] {
      try {
        (this->*command)(action);
      } catch (const toolkit::Cancelled&) {
        // Stopped by the user; the command has left everything as it was.
      }
    });
    commandRunning_ = false;
  });
}

void TForm2::ResetDisplay() {
  StatusBar1->SetPanelText(0, QStringLiteral("Old:"));
  StatusBar1->SetPanelText(1, QStringLiteral("New:"));
  for (toolkit::TValueLabel* label : {lab_X, lab_Y, lab_a, lab_o, lab_m, lab_d, lab_So, lab_HWAS,
                                      lab_RWAS, lab_HWZS, lab_RWZS})
    label->SetText(QStringLiteral("0"));
  scale = 0.0;
  rotation = 0.0;
  StringGrid1->SetCells(0, 0, QStringLiteral("Pkt."));
  StringGrid1->SetCells(1, 0, QStringLiteral("RW"));
  StringGrid1->SetCells(2, 0, QStringLiteral("HW"));
}

void TForm2::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (centred_) return;
  centred_ = true;
  toolkit::CentreOnScreen(this);
}

void TForm2::mnuExitClick(QObject*) { close(); }

void TForm2::mnuHelpInhaltClick(QObject*) { toolkit::HelpJump("Inhalt"); }

void TForm2::mnuKELHomeClick(QObject*) {
  // Whether a browser could be started is not reported.
  QDesktopServices::openUrl(QUrl(QString::fromUtf8(kHomePageUrl)));
}

