// QPainter drawing of the residual vector plot, with thinning for very large point sets.
#include "ResidualPlotPainter.h"

#include <QColor>
#include <QFontMetricsF>
#include <QLineF>
#include <QPainter>
#include <QPen>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace analysis {

namespace {

// Font size texts are laid out at before they are scaled to the plot's text height.
constexpr double kReferencePixels = 100;
// Above this many drawn marks antialiasing is switched off: speed matters more then.
constexpr std::size_t kAntialiasLimit = 20000;
// Labels are left out once this many have been drawn.
constexpr std::size_t kLabelLimit = 2000;

QColor colourOf(const char* css) { return QColor(QString::fromLatin1(css)); }

void drawText(QPainter& painter, const PlotText& text, double textHeight) {
  QFont font = painter.font();
  font.setPixelSize(static_cast<int>(kReferencePixels));
  const QString string = QString::fromStdString(text.text);
  const double width = QFontMetricsF(font).horizontalAdvance(string);
  double left = 0;
  if (text.align == TextAlign::Centre) left = -width / 2;
  if (text.align == TextAlign::Right) left = -width;
  painter.save();
  painter.setFont(font);
  painter.translate(text.x, text.y);
  painter.scale(textHeight / kReferencePixels, textHeight / kReferencePixels);
  painter.drawText(QPointF(left, 0), string);
  painter.restore();
}

void drawScaleBar(QPainter& painter, const PlotScaleBar& bar, double textHeight) {
  if (!(bar.length > 0)) return;
  painter.drawLine(QLineF(bar.x, bar.y, bar.x + bar.length, bar.y));
  painter.drawLine(QLineF(bar.x, bar.y, bar.x, bar.y - bar.tickHeight));
  painter.drawLine(QLineF(bar.x + bar.length, bar.y, bar.x + bar.length, bar.y - bar.tickHeight));
  drawText(painter, bar.text, textHeight);
}

// Cells of the device, each of which shows at most one mark (or one label).
class Occupancy {
public:
  Occupancy(const QTransform& toDevice, const ResidualPlotGeometry& plot, double cellPixels)
      : toDevice_(toDevice), cell_(std::max(cellPixels, 1.0)) {
    const QRectF device = toDevice.mapRect(QRectF(0, 0, plot.width, plot.height));
    origin_ = device.topLeft();
    columns_ = static_cast<int>(std::ceil(device.width() / cell_)) + 1;
    rows_ = static_cast<int>(std::ceil(device.height() / cell_)) + 1;
    taken_.assign(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_), false);
  }
  // Takes the cell of (x, y) in frame coordinates; false when it was taken already.
  bool take(double x, double y) {
    const QPointF p = toDevice_.map(QPointF(x, y)) - origin_;
    const int column = std::clamp(static_cast<int>(p.x() / cell_), 0, columns_ - 1);
    const int row = std::clamp(static_cast<int>(p.y() / cell_), 0, rows_ - 1);
    const std::size_t index = static_cast<std::size_t>(row) * columns_ + column;
    if (taken_[index]) return false;
    taken_[index] = true;
    return true;
  }

private:
  QTransform toDevice_;
  double cell_;
  QPointF origin_;
  int columns_ = 1;
  int rows_ = 1;
  std::vector<bool> taken_;
};

bool touches(const QRectF& exposed, const PlotMark& m, double reach) {
  if (exposed.isNull()) return true;
  const QRectF box = QRectF(QPointF(std::min(m.x, m.tipX), std::min(m.y, m.tipY)),
                            QPointF(std::max(m.x, m.tipX), std::max(m.y, m.tipY)))
                         .adjusted(-reach, -reach, reach, reach);
  return box.intersects(exposed);
}

// The marks worth drawing, in drawing order: switched-off points first, outliers last, so
// that what matters lies on top; of the marks sharing one device cell only the first in
// the order outliers, active, switched off.
std::vector<std::size_t> marksToDraw(const ResidualPlotGeometry& plot, const QRectF& exposed,
                                     Occupancy& occupancy) {
  auto rank = [](const PlotMark& m) { return m.outlier ? 0 : (m.active ? 1 : 2); };
  const double reach = 2 * plot.markerRadius + plot.textHeight;
  std::vector<std::size_t> chosen;
  for (int wanted = 0; wanted < 3; ++wanted)
    for (std::size_t i = 0; i < plot.marks.size(); ++i) {
      const PlotMark& m = plot.marks[i];
      if (rank(m) != wanted || !touches(exposed, m, reach)) continue;
      if (occupancy.take(m.x, m.y)) chosen.push_back(i);
    }
  std::reverse(chosen.begin(), chosen.end());
  return chosen;
}

QPen markPen(const ResidualPlotGeometry& plot, const PlotMark& m) {
  const char* colour = m.outlier ? plotstyle::kOutlier
                                 : (m.active ? plotstyle::kActive : plotstyle::kSwitchedOff);
  QPen pen(colourOf(colour), plot.lineWidth);
  pen.setCapStyle(Qt::FlatCap);
  if (!m.active) pen.setDashPattern({plotstyle::kDash, plotstyle::kGap});
  return pen;
}

void drawMark(QPainter& painter, const ResidualPlotGeometry& plot, std::size_t i) {
  const PlotMark& m = plot.marks[i];
  QPen pen = markPen(plot, m);
  painter.setPen(pen);
  painter.drawLine(QLineF(m.x, m.y, m.tipX, m.tipY));
  const ArrowHead head = plot.arrowHead(i);
  pen.setStyle(Qt::SolidLine);
  painter.setPen(pen);
  if (head.present) {
    painter.drawLine(QLineF(m.tipX, m.tipY, head.leftX, head.leftY));
    painter.drawLine(QLineF(m.tipX, m.tipY, head.rightX, head.rightY));
  }
  painter.setBrush(m.active ? QBrush(pen.color()) : QBrush(Qt::white));
  painter.drawEllipse(QPointF(m.x, m.y), plot.markerRadius, plot.markerRadius);
}

}  // namespace

void paintResidualPlot(QPainter& painter, const ResidualPlotGeometry& plot,
                       std::optional<std::size_t> highlighted, const QRectF& exposed) {
  painter.save();
  // A check point's arrow may reach beyond the frame: nothing is drawn outside it.
  painter.setClipRect(QRectF(0, 0, plot.width, plot.height), Qt::IntersectClip);
  const QTransform toDevice = painter.deviceTransform();
  const double pixelsPerUnit = std::sqrt(std::abs(toDevice.determinant()));
  Occupancy markCells(toDevice, plot, 2 * plot.markerRadius * pixelsPerUnit);
  const std::vector<std::size_t> chosen = marksToDraw(plot, exposed, markCells);

  painter.setRenderHint(QPainter::Antialiasing, chosen.size() <= kAntialiasLimit);
  for (std::size_t i : chosen) drawMark(painter, plot, i);

  // Labels where a text line's worth of room is free around the point.
  painter.setPen(colourOf(plotstyle::kText));
  Occupancy labelCells(toDevice, plot, 1.5 * plot.textHeight * pixelsPerUnit);
  std::size_t labelled = 0;
  for (auto it = chosen.rbegin(); it != chosen.rend() && labelled < kLabelLimit; ++it) {
    const PlotText label = plot.label(*it);
    if (!labelCells.take(label.x, label.y)) continue;
    drawText(painter, label, plot.textHeight);
    ++labelled;
  }

  if (highlighted && *highlighted < plot.marks.size()) {
    const PlotMark& m = plot.marks[*highlighted];
    drawMark(painter, plot, *highlighted);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(colourOf(plotstyle::kHighlight), 2.5 * plot.lineWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(m.x, m.y), 2.2 * plot.markerRadius, 2.2 * plot.markerRadius);
  }

  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setPen(QPen(colourOf(plotstyle::kText), plot.lineWidth));
  drawScaleBar(painter, plot.coordinateBar, plot.textHeight);
  drawScaleBar(painter, plot.residualBar, plot.textHeight);
  drawText(painter, plot.exaggerationText, plot.textHeight);
  painter.restore();
}

}  // namespace analysis
