// Writes the residual plot's geometry as SVG elements, with the colours, dashes and drawing
// order of the window's painter: switched-off points below, outliers on top.
#include "PlotSvg.h"

#include "HtmlProtocol.h"

#include <charconv>
#include <cmath>
#include <unordered_set>

namespace protocol {

namespace {

// SVG user units per millimetre.
constexpr double kUnitsPerMm = 10;
// Above this many marks only one mark per cell of a marker's diameter is written (and
// labels only where a text line's worth of room is free), as the painter thins them.
constexpr std::size_t kThinningLimit = 2000;
constexpr std::size_t kLabelLimit = 2000;

std::string number(double value) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2);
  std::string written(text, result.ptr);
  if (written == "-0.00") written = "0.00";
  return written;
}

// Cells of a square grid over the frame, each taken by at most one mark or label.
class Occupancy {
public:
  explicit Occupancy(double cell) : cell_(cell > 0 ? cell : 1) {}
  bool take(double x, double y) {
    const long long column = static_cast<long long>(std::floor(x / cell_));
    const long long row = static_cast<long long>(std::floor(y / cell_));
    return taken_.insert(column * 1000003LL + row).second;
  }

private:
  double cell_;
  std::unordered_set<long long> taken_;
};

const char* colourOf(const analysis::PlotMark& mark) {
  if (mark.outlier) return analysis::plotstyle::kOutlier;
  return mark.active ? analysis::plotstyle::kActive : analysis::plotstyle::kSwitchedOff;
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
  const std::string colour = colourOf(m);
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

// Indices of the marks to write, switched-off points first and outliers last.
std::vector<std::size_t> drawingOrder(const analysis::ResidualPlotGeometry& plot) {
  auto rank = [](const analysis::PlotMark& m) { return m.outlier ? 0 : (m.active ? 1 : 2); };
  Occupancy cells(2 * plot.markerRadius);
  const bool thin = plot.marks.size() > kThinningLimit;
  std::vector<std::size_t> order;
  for (int wanted = 0; wanted < 3; ++wanted)
    for (std::size_t i = 0; i < plot.marks.size(); ++i)
      if (rank(plot.marks[i]) == wanted && (!thin || cells.take(plot.marks[i].x, plot.marks[i].y)))
        order.push_back(i);
  return {order.rbegin(), order.rend()};
}

}  // namespace

analysis::ResidualPlotGeometry protocolPlot(const ProtocolSource& source, double width,
                                            double height, double textHeight, char sep) {
  const std::vector<analysis::PlotPair> pairs = analysis::plotPairs(*source.analysis, *source.newPairs);
  analysis::PlotFrame frame;
  frame.width = width;
  frame.height = height;
  frame.textHeight = textHeight;
  frame.decimalSeparator = sep;
  return analysis::computeResidualPlot(
      pairs, analysis::plotLabels(*source.oldPairs, *source.newPairs, pairs.size()), frame);
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
  const std::vector<std::size_t> order = drawingOrder(plot);
  for (const std::size_t i : order) mark(svg, plot, i);
  svg += "</g>\n";

  svg += "<g font-family=\"DejaVu Sans, Arial, Helvetica, sans-serif\" font-size=\"" +
         number(plot.textHeight) + "\" fill=\"" + analysis::plotstyle::kText + "\">\n";
  Occupancy labelCells(1.5 * plot.textHeight);
  std::size_t labelled = 0;
  for (auto it = order.rbegin(); it != order.rend() && labelled < kLabelLimit; ++it) {
    const analysis::PlotText label = plot.label(*it);
    if (!labelCells.take(label.x, label.y)) continue;
    text(svg, label);
    ++labelled;
  }
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
