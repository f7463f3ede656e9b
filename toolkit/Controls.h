// Small controls the main window is built from: a value label that keeps its right edge
// when its text changes, and a status bar with two text panels.
#pragma once

#include <QLabel>
#include <QStatusBar>

#include <array>

namespace toolkit {

// A label that sizes itself to its text and stays right-aligned at a fixed right edge,
// so that numbers shown one under another line up on their last digit.
class TValueLabel : public QLabel {
  Q_OBJECT
public:
  TValueLabel(QWidget* parent, int rightEdge, int top, int height);
  void SetText(const QString& text);
  int RightEdge() const { return rightEdge_; }

private:
  int rightEdge_;
  int top_;
  int height_;
};

// A plain label placed at (left, top) that sizes itself to its text.
QLabel* MakeLabel(QWidget* parent, const QString& text, int left, int top, int height = 13);

// Status bar with two panels: panel 0 of a fixed width, panel 1 taking the rest.
class TStatusBar : public QStatusBar {
  Q_OBJECT
public:
  TStatusBar(QWidget* parent, int firstPanelWidth);
  void SetPanelText(int panel, const QString& text);
  QString PanelText(int panel) const;
  QLabel* Panel(int panel) const { return panels_.at(panel); }

private:
  std::array<QLabel*, 2> panels_{};
};

}  // namespace toolkit
