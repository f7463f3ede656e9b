// Drawing the program icon, the About picture and the close glyph with QPainter on
// QImage, which needs no window system (the build draws the desktop icons with it).
#include "Drawings.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QTransform>

#include <array>

namespace drawings {

namespace {

const QColor kTeal(0x00, 0x80, 0x80);
const QColor kOldFrame(0xD8, 0xE8, 0xE8);
const QColor kNewFrame(0xFF, 0xD0, 0x40);
const QColor kPointFill(0xE0, 0x30, 0x20);

QImage transparentImage(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

// An axis from `from` to `to` with an arrow head at `to`.
void drawAxis(QPainter& p, QPointF from, QPointF to, qreal head) {
  p.drawLine(from, to);
  const QLineF axis(to, from);
  QLineF left = axis;
  left.setLength(head);
  left.setAngle(axis.angle() + 25);
  QLineF right = axis;
  right.setLength(head);
  right.setAngle(axis.angle() - 25);
  p.drawLine(left);
  p.drawLine(right);
}

// The emblem in a 100 x 100 unit square, scaled by the painter's transformation.
void drawEmblem(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing);
  const QPen oldPen(kOldFrame, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(oldPen);
  drawAxis(p, QPointF(16, 86), QPointF(16, 14), 9);  // hw, upwards
  drawAxis(p, QPointF(16, 86), QPointF(88, 86), 9);  // rw, to the right

  // The new frame: shifted and turned by about 22 gon against the old one.
  p.save();
  p.translate(34, 74);
  p.rotate(-20);
  const QPen newPen(kNewFrame, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(newPen);
  drawAxis(p, QPointF(0, 0), QPointF(0, -56), 8);
  drawAxis(p, QPointF(0, 0), QPointF(56, 0), 8);
  p.restore();

  // Three control points joined as a survey triangle.
  const std::array<QPointF, 3> points = {QPointF(44, 60), QPointF(74, 48), QPointF(56, 28)};
  p.setPen(QPen(Qt::white, 2.5, Qt::DashLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawPolygon(points.data(), static_cast<int>(points.size()));
  p.setPen(QPen(Qt::white, 2));
  p.setBrush(kPointFill);
  for (const QPointF& point : points) {
    const QPolygonF mark({point + QPointF(0, -8), point + QPointF(7, 5), point + QPointF(-7, 5)});
    p.drawPolygon(mark);
  }
}

}  // namespace

QImage ProgramIcon(int size) {
  QImage image = transparentImage(size);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 100.0, size / 100.0);
  QLinearGradient tile(0, 0, 0, 100);
  tile.setColorAt(0, kTeal.lighter(130));
  tile.setColorAt(1, kTeal.darker(130));
  p.setPen(Qt::NoPen);
  p.setBrush(tile);
  p.drawRoundedRect(QRectF(2, 2, 96, 96), 16, 16);
  drawEmblem(p);
  return image;
}

QImage AboutPicture(int size) {
  QImage image = transparentImage(size);
  QPainter p(&image);
  p.scale(size / 100.0, size / 100.0);
  drawEmblem(p);
  return image;
}

QImage CloseGlyph(int size) {
  QImage image = transparentImage(size);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 16.0, size / 16.0);
  // Door frame, then the door leaf swung open towards the viewer.
  p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
  p.setBrush(QColor(0x20, 0x20, 0x20));
  p.drawRect(QRectF(3.5, 1.5, 9, 13));
  const QPolygonF leaf({QPointF(3.5, 1.5), QPointF(9.5, 3.5), QPointF(9.5, 15.5), QPointF(3.5, 14.5)});
  p.setBrush(QColor(0xA0, 0x60, 0x20));
  p.drawPolygon(leaf);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xFF, 0xD0, 0x40));
  p.drawEllipse(QPointF(8, 9), 0.9, 0.9);
  return image;
}

}  // namespace drawings
