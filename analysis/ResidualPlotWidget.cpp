// The residual vector plot widget.
#include "ResidualPlotWidget.h"

#include "ResidualPlotPainter.h"

#include <QMouseEvent>
#include <QPainter>

namespace analysis {

namespace {
// How far from a point's centre a click still selects it, in pixels.
constexpr double kClickReach = 6;
}  // namespace

ResidualPlotWidget::ResidualPlotWidget(char decimalSeparator, QWidget* parent)
    : QWidget(parent), separator_(decimalSeparator) {
  setMinimumSize(240, 200);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ResidualPlotWidget::setLabels(std::vector<std::string> labels) { labels_ = std::move(labels); }

void ResidualPlotWidget::setPairs(std::vector<PlotPair> pairs) {
  pairs_ = std::move(pairs);
  recompute();
}

void ResidualPlotWidget::setHighlighted(std::optional<std::size_t> pair) {
  if (pair == highlighted_) return;
  highlighted_ = pair;
  drawing_ = plotDrawing(plot_, highlighted_);
  update();
}

void ResidualPlotWidget::recompute() {
  const PlotFrame frame{static_cast<double>(width()), static_cast<double>(height()),
                        static_cast<double>(fontMetrics().height()), separator_};
  plot_ = computeResidualPlot(pairs_, labels_, frame);
  drawing_ = plotDrawing(plot_, highlighted_);
  update();
}

void ResidualPlotWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.fillRect(event->rect(), Qt::white);
  paintResidualPlot(painter, plot_, drawing_, QRectF(event->rect()));
}

void ResidualPlotWidget::resizeEvent(QResizeEvent*) { recompute(); }

void ResidualPlotWidget::mousePressEvent(QMouseEvent* event) {
  const QPointF at = event->position();
  const double reach = std::max(kClickReach, 1.5 * plot_.markerRadius);
  if (const auto pair = plot_.nearestMark(at.x(), at.y(), reach)) {
    setHighlighted(pair);
    emit pointClicked(*pair);
  }
}

}  // namespace analysis
