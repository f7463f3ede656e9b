// Paints a residual vector plot with a QPainter: the same picture in the window's
// "Paßpunktanalyse" and in the PDF protocol.
#pragma once

#include "ResidualPlot.h"

#include <QRectF>

#include <cstddef>
#include <optional>

class QPainter;

namespace analysis {

// Paints `plot` in frame coordinates: the caller maps them onto the device (translate to
// the frame's corner; scale when the frame is not in device pixels). Nothing is painted
// outside the frame (a long check residual is cut at its edge); the background is the
// caller's.
// `highlighted` gets a ring. Only what lies in `exposed` (frame coordinates; a null rect
// means all) is painted, and where more points share one spot of the device than it can
// show apart, one of them stands for the rest (outliers first, then active points), so
// that a million points paint without stalling.
void paintResidualPlot(QPainter& painter, const ResidualPlotGeometry& plot,
                       std::optional<std::size_t> highlighted = std::nullopt,
                       const QRectF& exposed = QRectF());

}  // namespace analysis
