// Geometry of the residual vector plot: every control point at its position in the new
// system (RW to the right, HW up, one scale for both axes), its residual as an arrow
// exaggerated by a round factor, a scale bar for the coordinates and one for the
// residuals, the exaggeration written out. No drawing here: the window's plot, the PDF
// protocol (QPainter) and the HTML protocol (SVG) all draw from these figures, so they
// show the same picture.
//
// Frame coordinates: origin at the top left of the frame, x to the right, y DOWN, in
// whatever unit the caller gives the frame in (pixels, millimetres, SVG user units).
//
// Layout of the frame (m = margin, t = text height):
//   top line        the exaggeration text, right-aligned
//   plot area       the points, centred, the whole set in view
//   bottom line     the coordinate scale bar at the left, the residual scale bar at the
//                   right, each with its text centred above it
// Exaggeration: the largest of 1, 2, 5 x 10^k that keeps the longest arrow of an active
// point at most a sixth of the frame's smaller side (so it is between 0.4 and 1 sixth);
// when no active point has an arrow, the longest arrow of a switched-off point.
// Round-off: a residual at round-off level (models/RoundOffLevel.h, as the analysis judged it) is drawn as none, without an arrow,
// and sets no exaggeration; when every residual is, the top line says so
// (kRoundOffResidualsText) and there is no residual scale bar.
// Cut arrows: an arrow ends within the arrow box (the frame less its margin); one that
// would leave it (typically a check point's residual at the active points' exaggeration)
// ends at the box's edge with a short bar across its end instead of a head, and its length
// in metres is written beside the cut, between the top line and the bottom line.
//
// What is drawn, and in which order, is decided here too, so that every output shows the
// same marks and labels (see drawOrder and plotDrawing); the painters only draw.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct PointList;

namespace analysis {

struct ControlPointAnalysis;

// One control point pair as the plot sees it.
struct PlotPair {
  double rw = 0;   // position in the new system [m]
  double hw = 0;
  double vRW = 0;  // residual, observed - computed [m]
  double vHW = 0;
  bool active = true;
  bool outlier = false;
  bool roundOff = false;  // the residual is round-off (models/RoundOffLevel.h, as the analysis judged it): drawn as none
};

// The frame to draw into: its size, the height of a text line and the decimal separator
// of the scale bar texts. A text height of 0 takes 3.5 % of the smaller side.
struct PlotFrame {
  double width = 0;
  double height = 0;
  double textHeight = 0;
  char decimalSeparator = ',';
};

// One point with its arrow, in frame coordinates.
struct PlotMark {
  double x = 0;     // the point
  double y = 0;
  double tipX = 0;  // the arrow's end: the point plus the exaggerated residual, or where
  double tipY = 0;  // the arrow is cut; the point itself when it has no arrow
  double residualLength = 0;  // the residual's length [m]; 0 when round-off
  bool active = true;
  bool outlier = false;
  bool cut = false;  // the arrow ends at the arrow box's edge, short of its length
};

enum class TextAlign { Left, Centre, Right };

// A text placed with its baseline at y; x is its left end, centre or right end.
struct PlotText {
  double x = 0;
  double y = 0;
  std::string text;
  TextAlign align = TextAlign::Left;
};

// A horizontal scale bar from (x, y) to (x + length, y), ticks of tickHeight upwards at
// both ends, its text centred above it.
struct PlotScaleBar {
  double x = 0;
  double y = 0;
  double length = 0;
  double tickHeight = 0;
  double metres = 0;  // what the bar's length stands for
  PlotText text;
};

// An axis-parallel box in frame coordinates.
struct PlotBox {
  double left = 0, top = 0, right = 0, bottom = 0;
  bool overlaps(const PlotBox& other) const {
    return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
  }
};

// The two short strokes of an arrowhead, from the tip back to (leftX, leftY) and
// (rightX, rightY); empty for an arrow too short to carry a head. A cut arrow's strokes
// run across its end, square to it: together a bar that marks the cut.
struct ArrowHead {
  bool present = false;
  double leftX = 0, leftY = 0;
  double rightX = 0, rightY = 0;
};

struct ResidualPlotGeometry {
  double width = 0;
  double height = 0;
  double textHeight = 0;
  double markerRadius = 0;  // radius of a point's circle
  double lineWidth = 0;     // width of arrows, circles and bars
  char decimalSeparator = ',';  // of the texts, as the frame gives it

  // The area the points are placed in (frame coordinates).
  double areaLeft = 0, areaTop = 0, areaRight = 0, areaBottom = 0;
  double unitsPerMetre = 0;  // scale of the coordinates, the same for both axes
  double exaggeration = 1;   // residuals are drawn this many times larger
  bool residualsShown = false;  // some residual is above round-off and drawn as an arrow
  PlotBox arrowBox;             // no arrow reaches beyond it
  PlotBox cutLabelBox;          // the lengths at cuts stay within it, clear of the lines' texts

  std::vector<PlotMark> marks;      // one per pair, in pairing order
  std::vector<std::string> labels;  // one per pair: its name, or its Pkt. number

  // The marks to draw, bottom first: switched-off points, then active ones, outliers on
  // top, each class in falling pairing order. Up to kThinningLimit marks every one is
  // drawn. Above, the frame is cut into square cells of a marker's diameter and each cell
  // shows one mark, the first in the order outliers, active, switched off, each by
  // pairing order; so every outlier is drawn unless another outlier shares its cell.
  std::vector<std::size_t> drawOrder;

  PlotScaleBar coordinateBar;
  PlotScaleBar residualBar;
  PlotText exaggerationText;  // e.g. "Verbesserungen 500-fach vergrößert"

  // Arrowhead of mark i: strokes of 0.6 text heights (at most 40 % of the arrow), 25° off
  // the shaft; for a cut arrow a bar of one text height across its end.
  ArrowHead arrowHead(std::size_t i) const;
  // Label of mark i, at the upper right of its circle.
  PlotText label(std::size_t i) const;
  // The length written beside the cut of mark i's arrow ("0,0523 m"), back from its end,
  // off to the side of the shaft and within cutLabelBox; only for cut marks.
  PlotText cutLabel(std::size_t i) const;
  // The room a placed text takes: its estimated width (see estimatedTextWidth), from 0.8
  // text heights above its baseline to 0.2 below.
  PlotBox textBox(const PlotText& text) const;
  // The mark whose point lies nearest to (x, y), if it is within maxDistance.
  std::optional<std::size_t> nearestMark(double x, double y, double maxDistance) const;
};

// The top line when every residual is round-off.
inline constexpr const char* kRoundOffResidualsText = "Verbesserungen: keine (Rundungsniveau)";

// Above this many marks a plot shows one mark per cell (see drawOrder): drawing them all
// would take long and show nothing more. At most this many labels are shown.
inline constexpr std::size_t kThinningLimit = 2000;
inline constexpr std::size_t kLabelLimit = 2000;

// What a painter draws of a plot, in this order: the marks, the labels, the selected mark
// with its ring; then the scale bars and the exaggeration text.
struct PlotDrawing {
  std::vector<std::size_t> marks;        // drawOrder without the selected mark
  std::vector<PlotText> labels;          // names and cut lengths; no two overlap (by textBox)
  std::optional<std::size_t> selected;   // drawn on top of everything, thinned or not
};

// The drawing of `plot` with `selected` marked (if it names a mark). Labels are placed
// one by one, the selected point's first, then the lengths at the cut arrows drawn, then
// the names in the reverse of drawOrder (outliers, active, switched-off points, each by
// pairing order); a label that would overlap one placed before is left out, its mark
// stays. After kLabelLimit labels no more are placed.
PlotDrawing plotDrawing(const ResidualPlotGeometry& plot,
                        std::optional<std::size_t> selected = std::nullopt);

// The width a UTF-8 text takes at text height `textHeight`, estimated from character
// classes so that it covers DejaVu Sans and Arial, the fonts the plot is drawn in: the
// blank, punctuation, brackets, slash and f, i, j, l, r, t, I 0.45; digits and other lower
// case letters 0.65; upper case and letters beyond ASCII 0.8; M, W, m, w and the wide
// signs @ % # & + = < > ~ ^ 1.0 text heights.
double estimatedTextWidth(std::string_view text, double textHeight);

// Computes the plot for `pairs` in `frame`. `labels` holds one text per pair, or is empty
// for the Pkt. numbers 1 .. n.
ResidualPlotGeometry computeResidualPlot(const std::vector<PlotPair>& pairs,
                                         std::vector<std::string> labels,
                                         const PlotFrame& frame);

// The plot's pairs from an analysis: positions of the new points, residuals, activity
// and outlier flags of the analysis' pairs (its outcome must be Success), and which
// residuals are round-off for the coordinates of all pairs (the old ones times the scale).
std::vector<PlotPair> plotPairs(const ControlPointAnalysis& analysis, const PointList& oldPairs,
                                const PointList& newPairs);
// Labels: the old point's name, else the new point's, else the Pkt. number.
std::vector<std::string> plotLabels(const PointList& oldPairs, const PointList& newPairs,
                                    std::size_t pairCount);

// The round factor 1, 2 or 5 x 10^k nearest below `value` (value > 0), and its text with
// the decimal separator ("500", "0,2").
double roundFactorBelow(double value);
std::string factorText(double factor, char sep);
// A length in metres with as many decimals as its round value needs: "100 m", "0,05 m".
std::string metresText(double metres, char sep);

// Colours and dashes the painters share (CSS notation, understood by SVG and QColor).
namespace plotstyle {
inline constexpr const char* kActive = "#1f3a93";      // active points and their arrows
inline constexpr const char* kOutlier = "#d01c1c";     // points flagged as outliers
inline constexpr const char* kSwitchedOff = "#8c8c8c"; // check points: hollow, dashed
inline constexpr const char* kHighlight = "#f0a000";   // the selected point's ring
inline constexpr const char* kText = "#000000";        // labels, bars and their texts
// Dash and gap of a check point's arrow, in line widths.
inline constexpr double kDash = 4;
inline constexpr double kGap = 3;
// The colour of a mark's circle and arrow: outliers red, else active or switched off.
inline const char* markColour(const PlotMark& mark) {
  if (mark.outlier) return kOutlier;
  return mark.active ? kActive : kSwitchedOff;
}
}  // namespace plotstyle

}  // namespace analysis
