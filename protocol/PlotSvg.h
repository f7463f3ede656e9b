// The residual vector plot of a protocol: its geometry, computed by the same code as the
// "Paßpunktanalyse" window's plot, and its drawing as inline SVG. No user interface here.
#pragma once

#include "ProtocolContent.h"
#include "ResidualPlot.h"

#include <string>

namespace protocol {

// Height of the plot's texts in millimetres, as printed.
inline constexpr double kPlotTextHeightMm = 2.8;

// The plot of `source` in a frame of `width` x `height` (any unit) with texts
// `textHeight` high; scale bar texts with `sep`.
analysis::ResidualPlotGeometry protocolPlot(const ProtocolSource& source, double width,
                                            double height, double textHeight, char sep);

// An <svg> element of `widthMm` x `heightMm` millimetres (user units are tenths of a
// millimetre), well-formed XML in the SVG namespace; texts with `sep`.
std::string plotSvg(const ProtocolSource& source, double widthMm, double heightMm, char sep);

}  // namespace protocol
