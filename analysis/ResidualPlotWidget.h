// The residual vector plot as a widget: recomputes its geometry for its own size, paints
// it, highlights one point and tells which point was clicked.
#pragma once

#include "ResidualPlot.h"

#include <QWidget>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace analysis {

class ResidualPlotWidget : public QWidget {
  Q_OBJECT
public:
  ResidualPlotWidget(char decimalSeparator, QWidget* parent = nullptr);

  // The point labels, one per pair; set once.
  void setLabels(std::vector<std::string> labels);
  // The pairs to draw; the plot redraws at once.
  void setPairs(std::vector<PlotPair> pairs);
  void setHighlighted(std::optional<std::size_t> pair);
  std::optional<std::size_t> highlighted() const { return highlighted_; }
  const ResidualPlotGeometry& plot() const { return plot_; }

  QSize sizeHint() const override { return {520, 420}; }

signals:
  void pointClicked(std::size_t pair);

protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

private:
  void recompute();

  char separator_;
  std::vector<std::string> labels_;
  std::vector<PlotPair> pairs_;
  ResidualPlotGeometry plot_;
  std::optional<std::size_t> highlighted_;
  PlotDrawing drawing_;  // of plot_ with highlighted_
};

}  // namespace analysis
