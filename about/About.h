// The About dialog TfrmAbout: program name, maker, web address, year and the version
// line, a button to close it and a picture that opens the maker's home page.
#pragma once

#include <QDialog>
#include <QFrame>

class QLabel;
class QPushButton;
class QTextEdit;
class QTimer;

// A panel with up to two bevels around its edge (outer, then inner, one pixel each) on
// its own background colour.
class TPanel : public QFrame {
  Q_OBJECT
public:
  enum class Bevel { None, Lowered, Raised };

  TPanel(QWidget* parent, Bevel outer, Bevel inner);

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  Bevel outer_;
  Bevel inner_;
};

class TfrmAbout : public QDialog {
  Q_OBJECT

public:
  explicit TfrmAbout(QWidget* owner);
  ~TfrmAbout() override;

  // Components, in the order the dialog declares them.
  TPanel* Panel2 = nullptr;
  QLabel* labAbout1 = nullptr;
  QLabel* labAbout2 = nullptr;
  QLabel* Label3 = nullptr;
  QTimer* Timer1 = nullptr;
  QLabel* Label1 = nullptr;
  QFrame* Bevel1 = nullptr;
  TPanel* Panel1 = nullptr;
  TPanel* Panel3 = nullptr;
  QLabel* Image1 = nullptr;
  QPushButton* BitBtn1 = nullptr;
  QTextEdit* Memo1 = nullptr;

  // Writes the version line into Memo1: "202" followed at once by the FileVersion of
  // the running program's executable.
  void ShowVersion();

  void BitBtn1Click(QObject* Sender);
  void Timer1Timer(QObject* Sender);
  // Opens the maker's home page in the browser; also the click of Panel1 and Label3.
  void Image1Click(QObject* Sender);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

private:
  void buildLayout();
};

// Never set: each "About" command creates and destroys its own dialog.
extern TfrmAbout* frmAbout;
