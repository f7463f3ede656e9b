// Value labels and the two-panel status bar.
#include "Controls.h"

namespace toolkit {

TValueLabel::TValueLabel(QWidget* parent, int rightEdge, int top, int height)
    : QLabel(parent), rightEdge_(rightEdge), top_(top), height_(height) {
  setAlignment(Qt::AlignRight | Qt::AlignTop);
}

void TValueLabel::SetText(const QString& text) {
  setText(text);
  const int width = sizeHint().width();
  setGeometry(rightEdge_ - width, top_, width, height_);
}

QLabel* MakeLabel(QWidget* parent, const QString& text, int left, int top, int height) {
  auto* label = new QLabel(text, parent);
  label->setGeometry(left, top, label->sizeHint().width(), height);
  return label;
}

TStatusBar::TStatusBar(QWidget* parent, int firstPanelWidth) : QStatusBar(parent) {
  setSizeGripEnabled(false);
  for (std::size_t i = 0; i < panels_.size(); ++i) {
    panels_[i] = new QLabel(this);
    panels_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panels_[i]->setTextFormat(Qt::PlainText);
  }
  panels_[0]->setFixedWidth(firstPanelWidth);
  addWidget(panels_[0]);
  addWidget(panels_[1], 1);
}

void TStatusBar::SetPanelText(int panel, const QString& text) { panels_.at(panel)->setText(text); }

QString TStatusBar::PanelText(int panel) const { return panels_.at(panel)->text(); }

}  // namespace toolkit
