// The About dialog: its layout, the version line and its click handlers.
#include "About.h"

#include "Application.h"
#include "Drawings.h"
#include "FileVersion.h"
#include "HomePage.h"

#include <QDesktopServices>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <QUrl>
#include <qdrawutil.h>

#include <initializer_list>
#include <utility>

TfrmAbout* frmAbout = nullptr;

namespace {

constexpr int kClientWidth = 311;
constexpr int kClientHeight = 170;
constexpr int kTimerIntervalMs = 2000;

const QColor kTeal(0x00, 0x80, 0x80);
const QColor kBlue(0x00, 0x00, 0xFF);

const char* const kMakerLine = "KEL";
const char* const kWebAddress = "kel.example";
const char* const kYearLine = "© 2021";

// The faces the dialog was designed with come first; where they are missing, the closest
// face of the DejaVu family takes their place at the same pixel size.
QFont face(std::initializer_list<const char*> families, int pixelSize, bool bold,
           int stretch = QFont::Unstretched) {
  QStringList names;
  for (const char* family : families) names << QString::fromUtf8(family);
  QFont font;
  font.setFamilies(names);
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  font.setStretch(stretch);
  return font;
}

QLabel* makeLabel(QWidget* parent, const QString& text, QRect geometry, const QFont& font,
                  const QColor& colour) {
  auto* label = new QLabel(text, parent);
  label->setGeometry(geometry);
  label->setFont(font);
  label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
  return label;
}

// Adds one centred line at the end of the memo.
void addMemoLine(QTextEdit* memo, const QString& line) {
  QTextCursor cursor(memo->document());
  cursor.movePosition(QTextCursor::End);
  if (!memo->document()->isEmpty()) cursor.insertBlock();
  QTextBlockFormat format = cursor.blockFormat();
  format.setAlignment(Qt::AlignHCenter);
  cursor.setBlockFormat(format);
  cursor.insertText(line);
}

void drawBevel(QPainter& painter, const QRect& rect, TPanel::Bevel bevel,
               const QPalette& palette) {
  if (bevel == TPanel::Bevel::None) return;
  qDrawShadeRect(&painter, rect, palette, bevel == TPanel::Bevel::Lowered, 1, 0, nullptr);
}

}  // namespace

TPanel::TPanel(QWidget* parent, Bevel outer, Bevel inner)
    : QFrame(parent), outer_(outer), inner_(inner) {
  setAutoFillBackground(true);
}

void TPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QRect edge = rect();
  drawBevel(painter, edge, outer_, palette());
  if (outer_ != Bevel::None) edge.adjust(1, 1, -1, -1);
  drawBevel(painter, edge, inner_, palette());
}

TfrmAbout::TfrmAbout(QWidget* owner) : QDialog(owner) {
  buildLayout();
  labAbout1->setText(QStringLiteral("Vovezorevarovaduvorir"));
}

TfrmAbout::~TfrmAbout() = default;

void TfrmAbout::buildLayout() {
  // A title bar without system menu and close box: the dialog closes by its button.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setWindowTitle(QStringLiteral("About"));
  setWindowIcon(QIcon(QPixmap::fromImage(drawings::ProgramIcon(32))));
  setFont(face({"MS Sans Serif", "DejaVu Sans"}, 10, false));
  setFixedSize(kClientWidth, kClientHeight);

  Panel2 = new TPanel(this, TPanel::Bevel::Lowered, TPanel::Bevel::None);
  Panel2->setGeometry(92, 0, 219, 170);

  labAbout1 = makeLabel(Panel2, QStringLiteral("Programmname + Version"), QRect(22, 101, 175, 19),
                        face({"Arial", "DejaVu Sans"}, 12, true), palette().color(QPalette::WindowText));
  labAbout1->setAlignment(Qt::AlignCenter);
  labAbout2 = makeLabel(Panel2, QString::fromUtf8(kMakerLine), QRect(54, 16, 112, 18),
                        face({"Times New Roman", "DejaVu Serif"}, 15, true), kBlue);
  Label3 = makeLabel(Panel2, QString::fromUtf8(kWebAddress), QRect(26, 34, 167, 19),
                     face({"Tahoma", "DejaVu Sans"}, 11, true), kBlue);

  Timer1 = new QTimer(this);
  Timer1->setInterval(kTimerIntervalMs);
  connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(Timer1); });

  Label1 = makeLabel(Panel2, QString::fromUtf8(kYearLine), QRect(54, 54, 112, 12),
                     face({"Times New Roman", "DejaVu Serif"}, 11, true), kBlue);

  Bevel1 = new QFrame(Panel2);
  Bevel1->setGeometry(9, 89, 201, 4);
  Bevel1->setFrameStyle(QFrame::Box | QFrame::Raised);
  Bevel1->setLineWidth(1);

  Memo1 = new QTextEdit(Panel2);
  Memo1->setGeometry(9, 130, 201, 31);
  Memo1->setReadOnly(true);
  Memo1->setFocusPolicy(Qt::StrongFocus);
  Memo1->setFrameStyle(QFrame::NoFrame);
  Memo1->setFont(face({"Arial Narrow", "DejaVu Sans Condensed", "DejaVu Sans"}, 11, true,
                      QFont::Condensed));
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  QPalette buttonFace = Memo1->palette();
  buttonFace.setColor(QPalette::Base, buttonFace.color(QPalette::Button));
  Memo1->setPalette(buttonFace);
  Memo1->viewport()->setCursor(Qt::IBeamCursor);
  addMemoLine(Memo1, QStringLiteral("nanu, wieso steht hier nix"));

  Panel1 = new TPanel(this, TPanel::Bevel::None, TPanel::Bevel::None);
  Panel1->setGeometry(0, 0, 92, 170);

  Panel3 = new TPanel(Panel1, TPanel::Bevel::Lowered, TPanel::Bevel::Raised);
  Panel3->setGeometry(0, 0, 92, 92);
  QPalette teal = Panel3->palette();
  teal.setColor(QPalette::Window, kTeal);
  Panel3->setPalette(teal);

  Image1 = new QLabel(Panel3);
  Image1->setGeometry(2, 2, 88, 88);
  Image1->setAlignment(Qt::AlignCenter);
  Image1->setPixmap(QPixmap::fromImage(drawings::AboutPicture(80)));
  Image1->setCursor(Qt::PointingHandCursor);
  Image1->setToolTip(QString::fromUtf8(kHomePageUrl));

  BitBtn1 = new QPushButton(QStringLiteral("Schli&eßen"), Panel1);
  BitBtn1->setGeometry(7, 119, 78, 25);
  BitBtn1->setIcon(QIcon(QPixmap::fromImage(drawings::CloseGlyph(16))));
  // Enter presses the button only while it has the focus (keyPressEvent).
  BitBtn1->setAutoDefault(false);
  connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(BitBtn1); });

  const std::pair<QObject*, const char*> names[] = {
      {Panel2, "Panel2"}, {labAbout1, "labAbout1"}, {labAbout2, "labAbout2"},
      {Label3, "Label3"}, {Timer1, "Timer1"},       {Label1, "Label1"},
      {Bevel1, "Bevel1"}, {Panel1, "Panel1"},       {Panel3, "Panel3"},
      {Image1, "Image1"}, {BitBtn1, "BitBtn1"},     {Memo1, "Memo1"}};
  for (const auto& [component, name] : names) component->setObjectName(QString::fromUtf8(name));

  // The memo (in Panel2) comes first, then the button (in Panel1), as the panels are
  // created; the panels themselves take no focus.
  setTabOrder(Memo1, BitBtn1);

  for (QWidget* clickable : {static_cast<QWidget*>(Image1), static_cast<QWidget*>(Panel1),
                             static_cast<QWidget*>(Label3), static_cast<QWidget*>(Panel3)})
    clickable->installEventFilter(this);

  // The timer runs from the start, as the dialog is defined; the "About" command
  // switches it off before it shows the dialog.
  Timer1->start();
}

void TfrmAbout::ShowVersion() {
  Memo1->clear();
  addMemoLine(Memo1, QStringLiteral("202") + toolkit::qs(GetFileVersion(toolkit::GetExeName())));
}

void TfrmAbout::BitBtn1Click(QObject*) { close(); }

void TfrmAbout::Timer1Timer(QObject*) { close(); }

void TfrmAbout::Image1Click(QObject*) {
  // Whether a browser could be started is not reported; the dialog stays open.
  QDesktopServices::openUrl(QUrl(QString::fromUtf8(kHomePageUrl)));
}

bool TfrmAbout::eventFilter(QObject* watched, QEvent* event) {
  const bool press = event->type() == QEvent::MouseButtonPress ||
                     event->type() == QEvent::MouseButtonDblClick;
  const bool release = event->type() == QEvent::MouseButtonRelease;
  if (!press && !release) return QDialog::eventFilter(watched, event);
  // The frame around the picture belongs to no click: it keeps the click from reaching
  // the panel below it.
  if (watched == Panel3) return true;
  auto* mouse = static_cast<QMouseEvent*>(event);
  auto* widget = static_cast<QWidget*>(watched);
  if (release && mouse->button() == Qt::LeftButton &&
      widget->rect().contains(mouse->position().toPoint()))
    Image1Click(watched);
  return true;
}

void TfrmAbout::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  toolkit::CentreOnScreen(this);
}

void TfrmAbout::keyPressEvent(QKeyEvent* event) {
  // Escape does not close the dialog; it stays until its button is pressed.
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  // Enter presses the button when it has the focus (Space and Alt+E do anyway); in the
  // memo, Enter does nothing.
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
      focusWidget() == BitBtn1) {
    BitBtn1->click();
    return;
  }
  QDialog::keyPressEvent(event);
}
