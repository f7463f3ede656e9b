// Paints a residual vector plot with a QPainter: the same picture in the window's
// "Paßpunktanalyse" and in the PDF protocol.
#pragma once

#include "ResidualPlot.h"

#include <QRectF>

class QPainter;

namespace analysis {

// Paints `drawing` of `plot` in frame coordinates: the caller maps them onto the device
// (translate to the frame's corner; scale when the frame is not in device pixels). Nothing
// is painted outside the frame (a long check residual is cut at its edge); the background
// is the caller's. Which marks and labels are drawn, in which order and where, is the
// drawing's; marks wholly outside `exposed` (frame coordinates; a null rect means all) are
// skipped, which leaves the picture as it is.
void paintResidualPlot(QPainter& painter, const ResidualPlotGeometry& plot,
                       const PlotDrawing& drawing, const QRectF& exposed = QRectF());

}  // namespace analysis
