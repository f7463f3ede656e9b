// QPainter drawing of the residual vector plot: draws what the plot's geometry says.
#include "ResidualPlotPainter.h"

#include <QColor>
#include <QFontMetricsF>
#include <QLineF>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace analysis {

namespace {

// Font size texts are laid out at before they are scaled to the plot's text height.
constexpr double kReferencePixels = 100;
// Above this many drawn marks antialiasing is switched off: speed matters more then.
constexpr std::size_t kAntialiasLimit = 20000;

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

bool touches(const QRectF& exposed, const PlotMark& m, double reach) {
  if (exposed.isNull()) return true;
  const QRectF box = QRectF(QPointF(std::min(m.x, m.tipX), std::min(m.y, m.tipY)),
                            QPointF(std::max(m.x, m.tipX), std::max(m.y, m.tipY)))
                         .adjusted(-reach, -reach, reach, reach);
  return box.intersects(exposed);
}

QPen markPen(const ResidualPlotGeometry& plot, const PlotMark& m) {
  QPen pen(colourOf(plotstyle::markColour(m)), plot.lineWidth);
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
                       const PlotDrawing& drawing, const QRectF& exposed) {
  painter.save();
  // A check point's arrow may reach beyond the frame: nothing is drawn outside it.
  painter.setClipRect(QRectF(0, 0, plot.width, plot.height), Qt::IntersectClip);
  painter.setRenderHint(QPainter::Antialiasing, drawing.marks.size() <= kAntialiasLimit);
  // Marks wholly outside the exposed part need no drawing.
  const double reach = 2 * plot.markerRadius + plot.textHeight;
  for (const std::size_t i : drawing.marks)
    if (touches(exposed, plot.marks[i], reach)) drawMark(painter, plot, i);

  painter.setPen(colourOf(plotstyle::kText));
  for (const PlotText& label : drawing.labels) drawText(painter, label, plot.textHeight);

  if (drawing.selected) {
    const PlotMark& m = plot.marks[*drawing.selected];
    drawMark(painter, plot, *drawing.selected);
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
