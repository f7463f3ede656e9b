// Writes the residual plot's geometry as SVG elements, with the colours and dashes of the
// window's painter; which marks and labels are written, and in which order, is the
// geometry's drawing.
#include "PlotSvg.h"

#include "HtmlProtocol.h"
#include "PrintableText.h"

#include <charconv>

namespace protocol {

namespace {

// SVG user units per millimetre.
constexpr double kUnitsPerMm = 10;

std::string number(double value) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2);
  std::string written(text, result.ptr);
  if (written == "-0.00") written = "0.00";
  return written;
}

void line(std::string& svg, double x1, double y1, double x2, double y2, const char* extra = "") {
  svg += "<line x1=\"" + number(x1) + "\" y1=\"" + number(y1) + "\" x2=\"" + number(x2) +
         "\" y2=\"" + number(y2) + "\"" + extra + "/>\n";
}

void text(std::string& svg, const analysis::PlotText& placed) {
  const char* anchor = placed.align == analysis::TextAlign::Centre ? "middle"
                       : placed.align == analysis::TextAlign::Right ? "end"
                                                                     : "start";
  svg += "<text x=\"" + number(placed.x) + "\" y=\"" + number(placed.y) + "\" text-anchor=\"" +
         anchor + "\">" + escapeMarkup(placed.text) + "</text>\n";
}

void mark(std::string& svg, const analysis::ResidualPlotGeometry& plot, std::size_t i) {
  const analysis::PlotMark& m = plot.marks[i];
  const std::string colour = analysis::plotstyle::markColour(m);
  svg += "<g stroke=\"" + colour + "\">\n";
  const std::string dash = m.active ? std::string()
                                    : " stroke-dasharray=\"" +
                                          number(analysis::plotstyle::kDash * plot.lineWidth) +
                                          " " + number(analysis::plotstyle::kGap * plot.lineWidth) +
                                          "\"";
  line(svg, m.x, m.y, m.tipX, m.tipY, dash.c_str());
  const analysis::ArrowHead head = plot.arrowHead(i);
  if (head.present) {
    line(svg, m.tipX, m.tipY, head.leftX, head.leftY);
    line(svg, m.tipX, m.tipY, head.rightX, head.rightY);
  }
  svg += "<circle cx=\"" + number(m.x) + "\" cy=\"" + number(m.y) + "\" r=\"" +
         number(plot.markerRadius) + "\" fill=\"" + (m.active ? colour : "#ffffff") + "\"/>\n";
  svg += "</g>\n";
}

void scaleBarLines(std::string& svg, const analysis::PlotScaleBar& bar) {
  if (!(bar.length > 0)) return;
  line(svg, bar.x, bar.y, bar.x + bar.length, bar.y);
  line(svg, bar.x, bar.y, bar.x, bar.y - bar.tickHeight);
  line(svg, bar.x + bar.length, bar.y, bar.x + bar.length, bar.y - bar.tickHeight);
}

}  // namespace

analysis::ResidualPlotGeometry protocolPlot(const ProtocolSource& source, double width,
                                            double height, double textHeight, char sep) {
  const std::vector<analysis::PlotPair> pairs = analysis::plotPairs(*source.analysis, *source.oldPairs, *source.newPairs);
  analysis::PlotFrame frame;
  frame.width = width;
  frame.height = height;
  frame.textHeight = textHeight;
  frame.decimalSeparator = sep;
  // Labels as the protocol prints names, so that their room is judged on what is drawn.
  std::vector<std::string> labels = analysis::plotLabels(*source.oldPairs, *source.newPairs, pairs.size());
  for (std::string& label : labels) label = printableText(label);
  return analysis::computeResidualPlot(pairs, std::move(labels), frame);
}

std::string plotSvg(const ProtocolSource& source, double widthMm, double heightMm, char sep) {
  const double width = widthMm * kUnitsPerMm;
  const double height = heightMm * kUnitsPerMm;
  const analysis::ResidualPlotGeometry plot =
      protocolPlot(source, width, height, kPlotTextHeightMm * kUnitsPerMm, sep);

  std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
                    number(widthMm) + "mm\" height=\"" + number(heightMm) +
                    "mm\" viewBox=\"0 0 " + number(width) + " " + number(height) + "\">\n";
  svg += "<rect x=\"0\" y=\"0\" width=\"" + number(width) + "\" height=\"" + number(height) +
         "\" fill=\"#ffffff\" stroke=\"#aaaaaa\" stroke-width=\"" + number(plot.lineWidth) + "\"/>\n";
  svg += "<g fill=\"none\" stroke-width=\"" + number(plot.lineWidth) + "\">\n";
  const analysis::PlotDrawing drawing = analysis::plotDrawing(plot);
  for (const std::size_t i : drawing.marks) mark(svg, plot, i);
  svg += "</g>\n";

  svg += "<g font-family=\"DejaVu Sans, Arial, Helvetica, sans-serif\" font-size=\"" +
         number(plot.textHeight) + "\" fill=\"" + analysis::plotstyle::kText + "\">\n";
  for (const analysis::PlotText& label : drawing.labels) text(svg, label);
  svg += "<g stroke=\"" + std::string(analysis::plotstyle::kText) + "\" stroke-width=\"" +
         number(plot.lineWidth) + "\">\n";
  scaleBarLines(svg, plot.coordinateBar);
  scaleBarLines(svg, plot.residualBar);
  svg += "</g>\n";
  for (const analysis::PlotScaleBar* bar : {&plot.coordinateBar, &plot.residualBar})
    if (bar->length > 0) text(svg, bar->text);
  text(svg, plot.exaggerationText);
  svg += "</g>\n</svg>\n";
  return svg;
}

}  // namespace protocol
