// Computes the residual vector plot's geometry: layout, scale, exaggeration, marks and
// scale bars, and what of it is drawn: the thinned drawing order and the labels.
#include "ResidualPlot.h"

#include "AnalysisTexts.h"
#include "ControlPointAnalysis.h"
#include "PointList.h"
#include "TextConversions.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_set>

namespace analysis {

namespace {

// Share of the frame's smaller side that the longest active arrow may take.
constexpr double kArrowShare = 1.0 / 6.0;
// Share of the drawing width that the coordinate scale bar takes at most.
constexpr double kCoordinateBarShare = 1.0 / 5.0;
constexpr double kDefaultTextShare = 0.035;
constexpr double kHeadAngleRadians = 25.0 * 3.14159265358979323846 / 180.0;

// Decimals a round value 1, 2 or 5 x 10^k needs: none for k >= 0, -k otherwise.
int decimalsOf(double roundValue) {
  if (roundValue >= 1) return 0;
  return static_cast<int>(std::ceil(-std::log10(roundValue) - 1e-9));
}

std::string roundValueText(double value, char sep) {
  return toolkit::FloatToStrF(value, toolkit::TFloatFormat::ffFixed, 18, decimalsOf(value), sep);
}

struct Extent {
  double minRW = std::numeric_limits<double>::infinity();
  double maxRW = -std::numeric_limits<double>::infinity();
  double minHW = std::numeric_limits<double>::infinity();
  double maxHW = -std::numeric_limits<double>::infinity();
};

Extent extentOf(const std::vector<PlotPair>& pairs) {
  Extent e;
  for (const PlotPair& p : pairs) {
    e.minRW = std::min(e.minRW, p.rw);
    e.maxRW = std::max(e.maxRW, p.rw);
    e.minHW = std::min(e.minHW, p.hw);
    e.maxHW = std::max(e.maxHW, p.hw);
  }
  if (pairs.empty()) e = {0, 0, 0, 0};
  return e;
}

// Units per metre that fit both spans into the area; a span of zero leaves its axis free,
// and a set on one spot is drawn as if it spanned a metre.
double fitScale(const Extent& e, double areaWidth, double areaHeight) {
  const double spanRW = e.maxRW - e.minRW;
  const double spanHW = e.maxHW - e.minHW;
  double scale = std::numeric_limits<double>::infinity();
  if (spanRW > 0) scale = std::min(scale, areaWidth / spanRW);
  if (spanHW > 0) scale = std::min(scale, areaHeight / spanHW);
  if (!std::isfinite(scale)) scale = std::min(areaWidth, areaHeight);
  return scale;
}

// Length of the longest residual above round-off of the active pairs; of all pairs when
// the active ones have none; 0 when no pair has one.
double longestResidual(const std::vector<PlotPair>& pairs) {
  double activeLongest = 0;
  double longest = 0;
  for (const PlotPair& p : pairs) {
    if (p.roundOff) continue;
    const double length = std::hypot(p.vRW, p.vHW);
    longest = std::max(longest, length);
    if (p.active) activeLongest = std::max(activeLongest, length);
  }
  return activeLongest > 0 ? activeLongest : longest;
}

// Index of the cell of `position` along an axis of `count` cells of size `cell`;
// positions outside (and non-finite ones) fall into the nearest edge cell.
std::size_t cellIndex(double position, double cell, std::size_t count) {
  const double index = std::floor(position / cell);
  if (!(index >= 0)) return 0;
  return index >= static_cast<double>(count - 1) ? count - 1 : static_cast<std::size_t>(index);
}

std::size_t cellCount(double length, double cell) {
  const double count = std::ceil(length / cell) + 1;
  return count >= 1 && count < 1e9 ? static_cast<std::size_t>(count) : 1;
}

// Square cells over the frame, each taken by at most one mark. A frame of more cells than
// a bitmap should hold (a tiny text height in a huge frame) keeps the taken ones in a set.
class CellGrid {
public:
  CellGrid(double width, double height, double cell)
      : cell_(cell > 0 ? cell : 1), columns_(cellCount(width, cell_)), rows_(cellCount(height, cell_)) {
    if (columns_ <= kBitmapCells / rows_) bitmap_.assign(columns_ * rows_, false);
  }

  // Takes the cell of (x, y); false when it was taken already.
  bool take(double x, double y) {
    const std::size_t index = cellIndex(y, cell_, rows_) * columns_ + cellIndex(x, cell_, columns_);
    if (bitmap_.empty()) return taken_.insert(index).second;
    if (bitmap_[index]) return false;
    bitmap_[index] = true;
    return true;
  }

private:
  static constexpr std::size_t kBitmapCells = std::size_t{1} << 24;

  double cell_;
  std::size_t columns_;
  std::size_t rows_;
  std::vector<bool> bitmap_;
  std::unordered_set<std::size_t> taken_;
};

// Class of a mark in the drawing order: outliers first, then active, then switched off.
int rankOf(const PlotMark& m) { return m.outlier ? 0 : (m.active ? 1 : 2); }

std::vector<std::size_t> thinnedDrawOrder(const ResidualPlotGeometry& g) {
  const bool thin = g.marks.size() > kThinningLimit;
  CellGrid cells(g.width, g.height, 2 * g.markerRadius);
  std::vector<std::size_t> chosen;
  chosen.reserve(thin ? std::min<std::size_t>(g.marks.size(), 1 << 16) : g.marks.size());
  for (int wanted = 0; wanted < 3; ++wanted)
    for (std::size_t i = 0; i < g.marks.size(); ++i) {
      const PlotMark& m = g.marks[i];
      if (rankOf(m) == wanted && (!thin || cells.take(m.x, m.y))) chosen.push_back(i);
    }
  std::reverse(chosen.begin(), chosen.end());
  return chosen;
}

// The labels placed so far, found through a grid of buckets (a text height square, or
// larger in a huge frame) so that each new label is checked only against its neighbours.
class LabelRoom {
public:
  LabelRoom(double width, double height, double textHeight) {
    const double longer = std::max(width, height);
    bucket_ = std::max(textHeight, longer / kBucketsPerSide);
    if (!(bucket_ > 0)) bucket_ = 1;
    columns_ = std::min(cellCount(width, bucket_), kBucketsPerSide + 1);
    rows_ = std::min(cellCount(height, bucket_), kBucketsPerSide + 1);
    buckets_.resize(columns_ * rows_);
  }

  // Places `box` unless it overlaps a box placed before.
  bool place(const PlotBox& box) {
    const std::size_t left = cellIndex(box.left, bucket_, columns_);
    const std::size_t right = cellIndex(box.right, bucket_, columns_);
    const std::size_t top = cellIndex(box.top, bucket_, rows_);
    const std::size_t bottom = cellIndex(box.bottom, bucket_, rows_);
    for (std::size_t row = top; row <= bottom; ++row)
      for (std::size_t column = left; column <= right; ++column)
        for (const std::size_t placed : buckets_[row * columns_ + column])
          if (boxes_[placed].overlaps(box)) return false;
    for (std::size_t row = top; row <= bottom; ++row)
      for (std::size_t column = left; column <= right; ++column)
        buckets_[row * columns_ + column].push_back(boxes_.size());
    boxes_.push_back(box);
    return true;
  }

private:
  static constexpr std::size_t kBucketsPerSide = 256;

  double bucket_ = 1;
  std::size_t columns_ = 1;
  std::size_t rows_ = 1;
  std::vector<std::vector<std::size_t>> buckets_;
  std::vector<PlotBox> boxes_;
};

// How far from (x, y) along the unit direction (ux, uy) the box's edge is; (x, y) lies in it.
double roomInBox(const PlotBox& box, double x, double y, double ux, double uy) {
  double room = std::numeric_limits<double>::infinity();
  if (ux > 0) room = std::min(room, (box.right - x) / ux);
  if (ux < 0) room = std::min(room, (box.left - x) / ux);
  if (uy > 0) room = std::min(room, (box.bottom - y) / uy);
  if (uy < 0) room = std::min(room, (box.top - y) / uy);
  return std::max(room, 0.0);
}

// The mark of pair p at (x, y): its arrow, exaggerated by `f` at `s` units per metre and
// cut at the edge of `box`; none for a round-off residual.
PlotMark markOf(const PlotPair& p, double x, double y, double s, double f, const PlotBox& box) {
  PlotMark m;
  m.x = m.tipX = x;
  m.y = m.tipY = y;
  m.active = p.active;
  m.outlier = p.outlier;
  if (p.roundOff) return m;
  m.residualLength = std::hypot(p.vRW, p.vHW);
  if (!(m.residualLength > 0)) return m;
  const double ux = p.vRW / m.residualLength;  // the arrow's direction in the frame (y down)
  const double uy = -p.vHW / m.residualLength;
  const double room = roomInBox(box, x, y, ux, uy);
  if (m.residualLength * s * f > room) {
    m.cut = true;
    m.tipX = x + ux * room;
    m.tipY = y + uy * room;
  } else {
    m.tipX = x + p.vRW * s * f;
    m.tipY = y - p.vHW * s * f;
  }
  return m;
}

PlotScaleBar scaleBar(double x, double y, double metres, double unitsPerMetre, double textHeight,
                      char sep) {
  PlotScaleBar bar;
  bar.x = x;
  bar.y = y;
  bar.metres = metres;
  bar.length = metres * unitsPerMetre;
  bar.tickHeight = 0.4 * textHeight;
  bar.text = {x + bar.length / 2, y - bar.tickHeight - 0.3 * textHeight, metresText(metres, sep),
              TextAlign::Centre};
  return bar;
}

}  // namespace

double roundFactorBelow(double value) {
  const double power = std::pow(10.0, std::floor(std::log10(value)));
  const double mantissa = value / power;
  constexpr double kTolerance = 1 - 1e-12;
  if (mantissa >= 5 * kTolerance) return 5 * power;
  if (mantissa >= 2 * kTolerance) return 2 * power;
  return power;
}

double estimatedTextWidth(std::string_view text, double textHeight) {
  constexpr std::string_view kNarrow = " .,:;!|'()[]-/iljfrtI";
  constexpr std::string_view kWide = "MWmw@%#&+=<>~^";
  double ems = 0;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte & 0xC0) == 0x80) continue;  // a UTF-8 continuation byte: counted with its lead
    if (byte >= 0x80) ems += 0.8;         // umlauts and other letters beyond ASCII
    else if (kWide.find(c) != std::string_view::npos) ems += 1.0;
    else if (kNarrow.find(c) != std::string_view::npos) ems += 0.45;
    else if (c >= 'A' && c <= 'Z') ems += 0.8;
    else ems += 0.65;
  }
  return ems * textHeight;
}

std::string factorText(double factor, char sep) { return roundValueText(factor, sep); }

std::string metresText(double metres, char sep) { return roundValueText(metres, sep) + " m"; }

ResidualPlotGeometry computeResidualPlot(const std::vector<PlotPair>& pairs,
                                         std::vector<std::string> labels,
                                         const PlotFrame& frame) {
  ResidualPlotGeometry g;
  g.width = std::max(frame.width, 0.0);
  g.height = std::max(frame.height, 0.0);
  const double smaller = std::min(g.width, g.height);
  const double t = frame.textHeight > 0 ? frame.textHeight : kDefaultTextShare * smaller;
  g.textHeight = t;
  g.markerRadius = 0.3 * t;
  g.lineWidth = 0.08 * t;

  // Top line: the exaggeration text; bottom line: the scale bars with their texts.
  const double margin = 0.5 * t + 0.02 * smaller;
  const double padding = std::max(t, 0.06 * smaller);
  const double barY = g.height - margin;
  g.areaLeft = margin + padding;
  g.areaRight = std::max(g.areaLeft, g.width - margin - padding);
  g.areaTop = margin + 1.2 * t + padding;
  g.areaBottom = std::max(g.areaTop, barY - 2 * t - padding);

  const Extent extent = extentOf(pairs);
  g.unitsPerMetre = fitScale(extent, g.areaRight - g.areaLeft, g.areaBottom - g.areaTop);
  const double s = g.unitsPerMetre;

  const double longest = longestResidual(pairs);
  const double arrowLimit = kArrowShare * smaller;
  g.residualsShown = longest > 0;
  if (longest > 0 && s > 0 && arrowLimit > 0) g.exaggeration = roundFactorBelow(arrowLimit / (longest * s));
  const double f = g.exaggeration;
  // Arrows stay within the frame less its margin; the lengths at their cuts between the
  // top line and the bottom line, clear of their texts.
  g.arrowBox = {margin, margin, std::max(margin, g.width - margin), std::max(margin, g.height - margin)};
  const double linesTop = margin + 1.2 * t;
  g.cutLabelBox = {margin, linesTop, g.arrowBox.right, std::max(linesTop, barY - 1.6 * t)};

  const double centreX = (g.areaLeft + g.areaRight) / 2;
  const double centreY = (g.areaTop + g.areaBottom) / 2;
  const double midRW = (extent.minRW + extent.maxRW) / 2;
  const double midHW = (extent.minHW + extent.maxHW) / 2;
  g.marks.reserve(pairs.size());
  for (const PlotPair& p : pairs)
    g.marks.push_back(markOf(p, centreX + (p.rw - midRW) * s, centreY - (p.hw - midHW) * s, s, f, g.arrowBox));

  if (labels.size() == pairs.size()) {
    g.labels = std::move(labels);
  } else {
    g.labels.reserve(pairs.size());
    for (std::size_t i = 0; i < pairs.size(); ++i) g.labels.push_back(toolkit::IntToStr(static_cast<long long>(i) + 1));
  }

  const char sep = frame.decimalSeparator;
  if (s > 0) {
    const double coordinateMetres = roundFactorBelow(kCoordinateBarShare * (g.width - 2 * margin) / s);
    g.coordinateBar = scaleBar(margin, barY, coordinateMetres, s, t, sep);
    if (arrowLimit > 0 && g.residualsShown) {
      const double residualMetres = roundFactorBelow(arrowLimit / (s * f));
      const double length = residualMetres * s * f;
      g.residualBar = scaleBar(g.width - margin - length, barY, residualMetres, s * f, t, sep);
    }
  }
  g.exaggerationText = {g.width - margin, margin + 0.8 * t,
                        g.residualsShown ? "Verbesserungen " + factorText(f, sep) + "-fach vergrößert"
                                         : std::string(kRoundOffResidualsText),
                        TextAlign::Right};
  g.decimalSeparator = sep;
  g.drawOrder = thinnedDrawOrder(g);
  return g;
}

ArrowHead ResidualPlotGeometry::arrowHead(std::size_t i) const {
  const PlotMark& m = marks[i];
  const double dx = m.tipX - m.x;
  const double dy = m.tipY - m.y;
  const double length = std::hypot(dx, dy);
  ArrowHead head;
  if (m.cut && length > 0) {
    const double half = 0.5 * textHeight;
    const double acrossX = -dy / length;
    const double acrossY = dx / length;
    return {true, m.tipX + half * acrossX, m.tipY + half * acrossY, m.tipX - half * acrossX, m.tipY - half * acrossY};
  }
  if (!(length > 2 * lineWidth)) return head;
  const double stroke = std::min(0.6 * textHeight, 0.4 * length);
  const double backX = -dx / length;
  const double backY = -dy / length;
  const double c = std::cos(kHeadAngleRadians);
  const double s = std::sin(kHeadAngleRadians);
  head.present = true;
  head.leftX = m.tipX + stroke * (backX * c - backY * s);
  head.leftY = m.tipY + stroke * (backX * s + backY * c);
  head.rightX = m.tipX + stroke * (backX * c + backY * s);
  head.rightY = m.tipY + stroke * (-backX * s + backY * c);
  return head;
}

PlotText ResidualPlotGeometry::label(std::size_t i) const {
  const PlotMark& m = marks[i];
  return {m.x + markerRadius + 0.15 * textHeight, m.y - markerRadius - 0.1 * textHeight,
          labels[i], TextAlign::Left};
}

PlotText ResidualPlotGeometry::cutLabel(std::size_t i) const {
  const PlotMark& m = marks[i];
  PlotText text{0, 0, gapText(m.residualLength, decimalSeparator) + " m", TextAlign::Left};
  const double width = estimatedTextWidth(text.text, textHeight);
  const double length = std::hypot(m.tipX - m.x, m.tipY - m.y);
  const double ux = length > 0 ? (m.tipX - m.x) / length : 0;
  const double uy = length > 0 ? (m.tipY - m.y) / length : 0;
  // The text's box beside the cut: back from the end along the shaft and off to its side,
  // each by half the box's extent in that direction and a little more.
  const double halfX = width / 2;
  const double halfY = textHeight / 2;
  const double gap = 0.3 * textHeight;
  const double back = halfX * std::abs(ux) + halfY * std::abs(uy) + gap;
  const double aside = halfX * std::abs(uy) + halfY * std::abs(ux) + gap;
  double centreX = m.tipX - ux * back - uy * aside;
  double centreY = m.tipY - uy * back + ux * aside;
  // Within its box, as far as that is wide and high enough.
  centreX = std::max(cutLabelBox.left + halfX, std::min(centreX, cutLabelBox.right - halfX));
  centreY = std::max(cutLabelBox.top + halfY, std::min(centreY, cutLabelBox.bottom - halfY));
  text.x = centreX - halfX;
  text.y = centreY + 0.3 * textHeight;  // the box runs from 0.8 text heights above the baseline to 0.2 below
  return text;
}

PlotBox ResidualPlotGeometry::textBox(const PlotText& text) const {
  const double width = estimatedTextWidth(text.text, textHeight);
  double left = text.x;
  if (text.align == TextAlign::Centre) left -= width / 2;
  if (text.align == TextAlign::Right) left -= width;
  return {left, text.y - 0.8 * textHeight, left + width, text.y + 0.2 * textHeight};
}

PlotDrawing plotDrawing(const ResidualPlotGeometry& plot, std::optional<std::size_t> selected) {
  PlotDrawing drawing;
  if (selected && *selected < plot.marks.size()) drawing.selected = selected;
  drawing.marks.reserve(plot.drawOrder.size());
  for (const std::size_t i : plot.drawOrder)
    if (i != drawing.selected) drawing.marks.push_back(i);

  LabelRoom room(plot.width, plot.height, plot.textHeight);
  auto placeLabel = [&](std::size_t i) {
    if (drawing.labels.size() >= kLabelLimit) return;
    PlotText text = plot.label(i);
    if (room.place(plot.textBox(text))) drawing.labels.push_back(std::move(text));
  };
  if (drawing.selected) placeLabel(*drawing.selected);
  auto placeCutLabel = [&](std::size_t i) {
    if (!plot.marks[i].cut || drawing.labels.size() >= kLabelLimit) return;
    PlotText text = plot.cutLabel(i);
    if (room.place(plot.textBox(text))) drawing.labels.push_back(std::move(text));
  };
  if (drawing.selected) placeCutLabel(*drawing.selected);
  for (auto it = drawing.marks.rbegin(); it != drawing.marks.rend(); ++it) placeCutLabel(*it);
  for (auto it = plot.drawOrder.rbegin(); it != plot.drawOrder.rend() && drawing.labels.size() < kLabelLimit; ++it)
    if (*it != drawing.selected) placeLabel(*it);
  return drawing;
}

std::optional<std::size_t> ResidualPlotGeometry::nearestMark(double x, double y,
                                                             double maxDistance) const {
  std::optional<std::size_t> nearest;
  double best = maxDistance * maxDistance;
  for (std::size_t i = 0; i < marks.size(); ++i) {
    const double dx = marks[i].x - x;
    const double dy = marks[i].y - y;
    const double d2 = dx * dx + dy * dy;
    if (d2 <= best) {
      best = d2;
      nearest = i;
    }
  }
  return nearest;
}

std::vector<PlotPair> plotPairs(const ControlPointAnalysis& analysis, const PointList& oldPairs,
                                const PointList& newPairs) {
  std::vector<PlotPair> pairs;
  const std::size_t n = std::min({analysis.pairs.size(), oldPairs.count(), newPairs.count()});
  pairs.reserve(n);
  for (std::size_t i = 0; i < n; ++i) {
    const PairStatistics& stats = analysis.pairs[i];
    const double vRW = static_cast<double>(stats.vRW());
    const double vHW = static_cast<double>(stats.vHW());
    pairs.push_back({newPairs.rw[i], newPairs.hw[i], vRW, vHW, stats.active, stats.outlier,
                     stats.roundOff});
  }
  return pairs;
}

std::vector<std::string> plotLabels(const PointList& oldPairs, const PointList& newPairs,
                                    std::size_t pairCount) {
  std::vector<std::string> labels;
  labels.reserve(pairCount);
  for (std::size_t i = 0; i < pairCount; ++i) {
    std::string_view name = oldPairs.nameAt(i);
    if (name.empty()) name = newPairs.nameAt(i);
    labels.push_back(name.empty() ? toolkit::IntToStr(static_cast<long long>(i) + 1)
                                  : toolkit::DisplayText(name));
  }
  return labels;
}

}  // namespace analysis
