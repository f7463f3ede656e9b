// Tests of the residual plot's geometry: the exaggeration rule, the scale bars and their
// texts, orientation and one scale for both axes, degenerate sets, residuals at round-off
// level, arrows cut at the frame, and what is drawn: thinning, drawing order, the
// selected point and labels that never overlap.
#include <gtest/gtest.h>

#include "ControlPointAnalysis.h"
#include "PointList.h"
#include "ResidualPlot.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using analysis::PlotFrame;
using analysis::PlotPair;

struct PlotCase {
  const char* name;
  std::vector<PlotPair> pairs;
  PlotFrame frame;
  const char* residualText;  // the residual scale bar's text
  const char* factorText;    // the exaggeration text
};

double arrowLength(const analysis::PlotMark& m) { return std::hypot(m.tipX - m.x, m.tipY - m.y); }

bool isRound(double value) {
  const double mantissa = value / std::pow(10.0, std::floor(std::log10(value) + 1e-9));
  return std::abs(mantissa - 1) < 1e-9 || std::abs(mantissa - 2) < 1e-9 || std::abs(mantissa - 5) < 1e-9;
}

TEST(ResidualPlot, ExaggerationAndScaleBarsFollowTheRules) {
  const PlotCase cases[] = {
      {"100 m square, 2 cm residuals, pixels",
       {{0, 0, 0.02, 0}, {100, 0, -0.01, 0.01}, {100, 100, 0, -0.015}, {0, 100, -0.01, 0.005}},
       {600, 400, 12, ','}, "0,02 m", "Verbesserungen 1000-fach vergrößert"},
      // The switched-off pair's 3 m check residual does not set the factor.
      {"Gauss-Krueger, blunder switched off, millimetres",
       {{4510584.583, 5431729.308, 0.004, -0.003}, {4512547.351, 5432585.269, -0.052, 0.031},
        {4511176.015, 5430120.792, 0.001, 0.006}, {4512842.614, 5431570.420, 3.0, 0, false, true}},
       {180, 120, 3.5, '.'}, "0.1 m", "Verbesserungen 5000-fach vergrößert"},
      {"residuals as large as the set: a factor below one",
       {{0, 0, 10, 0}, {10, 0, 0, 0}, {0, 10, 0, 0}}, {300, 900, 0, ','}, "10 m", "Verbesserungen 0,2-fach vergrößert"},
  };
  for (const PlotCase& c : cases) {
    SCOPED_TRACE(c.name);
    const auto g = analysis::computeResidualPlot(c.pairs, {}, c.frame);
    const double limit = std::min(c.frame.width, c.frame.height) / 6;
    double longest = 0;
    for (const auto& m : g.marks)
      if (m.active) longest = std::max(longest, arrowLength(m));
    EXPECT_TRUE(isRound(g.exaggeration));
    EXPECT_LE(longest, limit * (1 + 1e-12));
    EXPECT_GT(longest, 0.4 * limit);
    EXPECT_EQ(g.exaggerationText.text, c.factorText);
    EXPECT_EQ(g.residualBar.text.text, c.residualText);
    EXPECT_TRUE(isRound(g.residualBar.metres));
    EXPECT_NEAR(g.residualBar.length, g.residualBar.metres * g.unitsPerMetre * g.exaggeration, 1e-9);
    EXPECT_LE(g.residualBar.length, limit * (1 + 1e-12));
    EXPECT_TRUE(isRound(g.coordinateBar.metres));
    EXPECT_NEAR(g.coordinateBar.length, g.coordinateBar.metres * g.unitsPerMetre, 1e-9);
    EXPECT_LE(g.coordinateBar.length, c.frame.width / 5);
    EXPECT_GT(g.coordinateBar.length, c.frame.width / 5 * 0.3);
    EXPECT_LE(g.residualBar.x + g.residualBar.length, c.frame.width);
    for (const auto& m : g.marks) {
      EXPECT_GE(m.x, g.areaLeft - 1e-9);
      EXPECT_LE(m.x, g.areaRight + 1e-9);
      EXPECT_GE(m.y, g.areaTop - 1e-9);
      EXPECT_LE(m.y, g.areaBottom + 1e-9);
    }
  }
}

TEST(ResidualPlot, RwToTheRightHwUpOneScale) {
  const std::vector<PlotPair> pairs = {{1000, 2000, 0.01, 0.02}, {1300, 2100, 0, 0}, {1100, 2400, 0, 0}};
  const auto g = analysis::computeResidualPlot(pairs, {"A", "B", "C"}, {500, 500, 10, ','});
  EXPECT_NEAR(g.marks[1].x - g.marks[0].x, 300 * g.unitsPerMetre, 1e-9);
  EXPECT_NEAR(g.marks[0].y - g.marks[2].y, 400 * g.unitsPerMetre, 1e-9);
  EXPECT_GT(g.marks[0].tipX, g.marks[0].x);  // vRW > 0 points right
  EXPECT_LT(g.marks[0].tipY, g.marks[0].y);  // vHW > 0 points up
  EXPECT_NEAR((g.marks[0].tipX - g.marks[0].x) * 2, g.marks[0].y - g.marks[0].tipY, 1e-9);
  EXPECT_EQ(g.label(2).text, "C");
  EXPECT_EQ(g.nearestMark(g.marks[1].x + 2, g.marks[1].y - 2, 5), 1u);
  EXPECT_FALSE(g.nearestMark(g.marks[1].x + 20, g.marks[1].y, 5));
}

TEST(ResidualPlot, DegenerateSetsGiveFiniteFigures) {
  const std::vector<std::vector<PlotPair>> sets = {
      {}, {{5, 5, 0, 0}}, {{5, 5, 0, 0}, {5, 5, 0, 0}}, {{0, 0, 0.1, 0}, {0, 50, 0, 0}}, {{0, 0, 0, 0}, {9, 9, 0, 0}}};
  for (const auto& pairs : sets) {
    const auto g = analysis::computeResidualPlot(pairs, {}, {200, 100, 0, ','});
    EXPECT_TRUE(std::isfinite(g.unitsPerMetre) && g.unitsPerMetre > 0);
    EXPECT_TRUE(std::isfinite(g.exaggeration) && g.exaggeration > 0);
    for (const auto& m : g.marks) EXPECT_TRUE(std::isfinite(m.x + m.y + m.tipX + m.tipY));
    EXPECT_EQ(g.labels.size(), pairs.size());
    if (!pairs.empty()) {
      EXPECT_EQ(g.labels.back(), std::to_string(pairs.size()));
    }
  }
}

TEST(ResidualPlot, RoundValuesAndTheirTexts) {
  const struct { double value, below; const char* factor; const char* metres; } rows[] = {
      {1167.1, 1000, "1000", "1000 m"}, {4.99, 2, "2", "2 m"}, {5, 5, "5", "5 m"},
      {0.0233, 0.02, "0,02", "0,02 m"}, {0.999, 0.5, "0,5", "0,5 m"}, {0.0019, 0.001, "0,001", "0,001 m"}};
  for (const auto& row : rows) {
    EXPECT_DOUBLE_EQ(analysis::roundFactorBelow(row.value), row.below) << row.value;
    EXPECT_EQ(analysis::factorText(row.below, ','), row.factor);
    EXPECT_EQ(analysis::metresText(row.below, ','), row.metres);
  }
}

using analysis::PlotDrawing;
using analysis::PlotMark;
using analysis::ResidualPlotGeometry;

bool inBox(const analysis::PlotBox& box, double x, double y) {
  constexpr double kSlack = 1e-9;
  return x >= box.left - kSlack && x <= box.right + kSlack && y >= box.top - kSlack && y <= box.bottom + kSlack;
}

bool boxInBox(const analysis::PlotBox& inner, const analysis::PlotBox& outer) {
  return inBox(outer, inner.left, inner.top) && inBox(outer, inner.right, inner.bottom);
}

// The first three sample pairs: Gauss-Krueger coordinates, millimetre noise.
constexpr double kSampleOld[3][2] = {{4510584.583, 5431729.308}, {4512547.351, 5432585.269}, {4511176.015, 5430120.792}};
constexpr double kSampleNew[3][2] = {{4510682.265, 5431546.523}, {4512645.388, 5432401.775}, {4511273.119, 5429937.760}};

struct AnalysedPlot {
  PointList oldPairs, newPairs;
  analysis::ControlPointAnalysis result;
  std::vector<PlotPair> pairs;
};

AnalysedPlot analysed(std::size_t count, const std::vector<bool>& active) {
  AnalysedPlot a;
  for (std::size_t i = 0; i < count; ++i) {
    a.oldPairs.rw.push_back(kSampleOld[i][0]);
    a.oldPairs.hw.push_back(kSampleOld[i][1]);
    a.newPairs.rw.push_back(kSampleNew[i][0]);
    a.newPairs.hw.push_back(kSampleNew[i][1]);
  }
  kel::TKEL_Vovezorevarovaduvorir solver;
  a.result = analysis::analyseControlPoints(a.oldPairs, a.newPairs, active, analysis::kDefaultAlpha, solver);
  a.pairs = analysis::plotPairs(a.result, a.oldPairs, a.newPairs);
  return a;
}

// Guards against magnified round-off: two active pairs fit exactly, their residuals of
// 1e-12 m were drawn "1000000000000000-fach vergrößert" and the check arrow of pair 1 ended
// at x = -1.7e12; two exact pairs alone gave "1-fach vergrößert" with a 200 m bar.
TEST(ResidualPlot, RoundOffResidualsAreDrawnAsNone) {
  const AnalysedPlot checked = analysed(3, {false, true, true});
  ASSERT_EQ(checked.result.outcome, analysis::AnalysisOutcome::Success);
  EXPECT_FALSE(checked.pairs[0].roundOff);  // the check point's residual is real
  EXPECT_TRUE(checked.pairs[1].roundOff && checked.pairs[2].roundOff);
  const auto g = analysis::computeResidualPlot(checked.pairs, {}, {600, 400, 12, ','});
  ASSERT_TRUE(g.residualsShown);
  for (const std::size_t i : {1, 2}) {
    EXPECT_EQ(g.marks[i].tipX, g.marks[i].x);
    EXPECT_EQ(g.marks[i].tipY, g.marks[i].y);
    EXPECT_FALSE(g.arrowHead(i).present);
  }
  // The check residual sets the factor: its arrow is a sixth of the smaller side at most.
  EXPECT_FALSE(g.marks[0].cut);
  EXPECT_LE(arrowLength(g.marks[0]), 400.0 / 6 * (1 + 1e-12));
  EXPECT_GT(arrowLength(g.marks[0]), 0.4 * 400.0 / 6);
  EXPECT_GT(g.residualBar.length, 0);

  const struct {
    const char* name;
    std::vector<PlotPair> pairs;
  } exact[] = {
      {"two pairs of the samples", analysed(2, {}).pairs},
      {"residuals exactly zero", {{0, 0, 0, 0, true, false, true}, {200, 0, 0, 0, true, false, true}}},
  };
  for (const auto& c : exact) {
    SCOPED_TRACE(c.name);
    for (const PlotPair& p : c.pairs) EXPECT_TRUE(p.roundOff);
    const auto none = analysis::computeResidualPlot(c.pairs, {}, {600, 400, 12, ','});
    EXPECT_FALSE(none.residualsShown);
    EXPECT_EQ(none.exaggerationText.text, analysis::kRoundOffResidualsText);
    EXPECT_EQ(none.residualBar.length, 0);
    EXPECT_GT(none.coordinateBar.length, 0);
    for (const PlotMark& m : none.marks) EXPECT_EQ(arrowLength(m), 0);
    EXPECT_TRUE(boxInBox(none.textBox(none.exaggerationText), {0, 0, 600, 400}));
  }
}

// Guards against check arrows that leave the frame by far: every arrow ends within the
// arrow box; one that would not is cut at its edge, in its own direction, with a bar
// across the end and its length in metres written beside it, clear of the other texts.
TEST(ResidualPlot, ArrowsThatWouldLeaveTheFrameAreCutAtItsEdge) {
  // Active residuals of millimetres; check residuals of 3 m in each direction.
  std::vector<PlotPair> pairs = {{0, 0, 0.002, -0.001}, {100, 0, -0.001, 0.002}, {100, 100, 0.001, 0.001},
                                 {0, 100, -0.002, 0}};
  const double directions[][2] = {{3, 0}, {-3, 0}, {0, 3}, {0, -3}, {2.4, -1.8}, {-1.8, 2.4}};
  for (const auto& d : directions) pairs.push_back({50, 50, d[0], d[1], false, true});
  const analysis::PlotFrame frame{600, 400, 12, ','};
  const auto g = analysis::computeResidualPlot(pairs, {}, frame);
  EXPECT_TRUE(boxInBox(g.arrowBox, {0, 0, frame.width, frame.height}));
  for (const analysis::PlotText* text : {&g.exaggerationText, &g.coordinateBar.text, &g.residualBar.text})
    EXPECT_FALSE(g.textBox(*text).overlaps(g.cutLabelBox)) << text->text;
  for (std::size_t i = 0; i < 4; ++i) EXPECT_FALSE(g.marks[i].cut);
  for (std::size_t i = 4; i < pairs.size(); ++i) {
    SCOPED_TRACE(i);
    const PlotMark& m = g.marks[i];
    ASSERT_TRUE(m.cut);
    EXPECT_TRUE(inBox(g.arrowBox, m.tipX, m.tipY));
    const bool onEdge = std::abs(m.tipX - g.arrowBox.left) < 1e-9 || std::abs(m.tipX - g.arrowBox.right) < 1e-9 ||
                        std::abs(m.tipY - g.arrowBox.top) < 1e-9 || std::abs(m.tipY - g.arrowBox.bottom) < 1e-9;
    EXPECT_TRUE(onEdge);
    // The direction of the residual (RW right, HW up): the cross product vanishes, the dot product is positive.
    const double dx = m.tipX - m.x, dy = m.y - m.tipY;
    EXPECT_NEAR(dx * pairs[i].vHW - dy * pairs[i].vRW, 0, 1e-9 * arrowLength(m));
    EXPECT_GT(dx * pairs[i].vRW + dy * pairs[i].vHW, 0);
    // The bar across the cut: square to the shaft, through the tip, a text height long.
    const analysis::ArrowHead bar = g.arrowHead(i);
    ASSERT_TRUE(bar.present);
    EXPECT_NEAR((bar.leftX - bar.rightX) * dx - (bar.leftY - bar.rightY) * dy, 0, 1e-9 * g.textHeight * arrowLength(m));
    EXPECT_NEAR(std::hypot(bar.leftX - bar.rightX, bar.leftY - bar.rightY), g.textHeight, 1e-9);
    EXPECT_NEAR((bar.leftX + bar.rightX) / 2, m.tipX, 1e-9);
    // The length at the cut: the residual's, and within the arrow box.
    const analysis::PlotText length = g.cutLabel(i);
    EXPECT_EQ(length.text, "3,0000 m");
    EXPECT_TRUE(boxInBox(g.textBox(length), g.cutLabelBox)) << length.x << " " << length.y;
  }
  const PlotDrawing drawing = analysis::plotDrawing(g);
  EXPECT_GE(std::count_if(drawing.labels.begin(), drawing.labels.end(),
                          [](const analysis::PlotText& t) { return t.text == "3,0000 m"; }),
            2);

  // Random residuals in every direction and size: no arrow end outside the arrow box.
  std::mt19937 random(19);
  std::uniform_real_distribution<double> metres(0, 1000), exponent(-4, 4), angle(0, 6.283185307179586);
  std::vector<PlotPair> scatter;
  for (int i = 0; i < 300; ++i) {
    const double length = std::pow(10.0, exponent(random)), a = angle(random);
    scatter.push_back({metres(random), metres(random), length * std::cos(a), length * std::sin(a), i % 3 != 0});
  }
  const auto wide = analysis::computeResidualPlot(scatter, {}, {800, 300, 10, '.'});
  for (const PlotMark& m : wide.marks) EXPECT_TRUE(inBox(wide.arrowBox, m.tipX, m.tipY));
}

// The thinning cell of a mark, from the documented rule: squares of a marker's diameter,
// counted from the frame's top left corner.
std::pair<long long, long long> cellOf(const ResidualPlotGeometry& g, const PlotMark& m) {
  const double cell = 2 * g.markerRadius;
  return {static_cast<long long>(std::floor(m.x / cell)), static_cast<long long>(std::floor(m.y / cell))};
}

// 0 outlier, 1 active, 2 switched off: the drawing order puts higher classes below.
int classOf(const PlotMark& m) { return m.outlier ? 0 : (m.active ? 1 : 2); }

// A scatter of `spread` active points over a kilometre and a cluster of `cluster` points
// within a centimetre at its middle; every fourth of the cluster switched off.
std::vector<PlotPair> scatterWithCluster(std::size_t spread, std::size_t cluster) {
  std::mt19937 random(20261207);
  std::uniform_real_distribution<double> metres(0, 1000), centimetre(0, 0.01);
  std::vector<PlotPair> pairs;
  for (std::size_t i = 0; i < spread; ++i) pairs.push_back({metres(random), metres(random), 0.002, -0.001});
  for (std::size_t i = 0; i < cluster; ++i)
    pairs.push_back({500 + centimetre(random), 500 + centimetre(random), -0.001, 0.003, i % 4 != 0, false});
  return pairs;
}

TEST(ResidualPlotDrawing, DenseSetKeepsOneMarkPerCellOutliersFirst) {
  std::vector<PlotPair> pairs = scatterWithCluster(1500, 1500);
  // Outliers: one in the cluster among active and switched-off points, two in the scatter.
  const std::size_t outliers[] = {7, 900, 2222};
  for (const std::size_t i : outliers) pairs[i].outlier = true;
  const auto g = analysis::computeResidualPlot(pairs, {}, {800, 600, 14, ','});
  ASSERT_GT(g.marks.size(), analysis::kThinningLimit);

  std::map<std::pair<long long, long long>, std::vector<std::size_t>> byCell;
  for (std::size_t i = 0; i < g.marks.size(); ++i) byCell[cellOf(g, g.marks[i])].push_back(i);
  std::map<std::pair<long long, long long>, std::size_t> drawnIn;
  for (const std::size_t i : g.drawOrder) {
    const bool first = drawnIn.emplace(cellOf(g, g.marks[i]), i).second;
    EXPECT_TRUE(first) << "two marks drawn in the cell of mark " << i;
  }
  // Every cell that holds a mark shows one: the first of its best class.
  EXPECT_EQ(drawnIn.size(), byCell.size());
  for (const auto& [cell, members] : byCell) {
    const std::size_t best = *std::min_element(members.begin(), members.end(), [&](std::size_t a, std::size_t b) {
      return std::make_pair(classOf(g.marks[a]), a) < std::make_pair(classOf(g.marks[b]), b);
    });
    EXPECT_EQ(drawnIn[cell], best);
  }
  // The cluster shrinks to a cell or a few, and the outliers are all there.
  EXPECT_LT(g.drawOrder.size(), 1600u);
  for (const std::size_t i : outliers)
    EXPECT_NE(std::find(g.drawOrder.begin(), g.drawOrder.end(), i), g.drawOrder.end()) << i;
}

// Guards against the drift where the window and the PDF thinned small sets and the HTML
// protocol did not: up to the limit every mark is drawn, also on one spot.
TEST(ResidualPlotDrawing, SmallSetsDrawEveryMarkOutliersOnTop) {
  const std::vector<PlotPair> pairs = {{0, 0, 0.01, 0, true, true},  {0, 0, 0.01, 0},
                                       {0, 0, 0.01, 0, false, false}, {100, 100, 0, 0.01},
                                       {100, 100, 0, 0.01, false, false}, {50, 0, 0.02, 0, true, true}};
  const auto g = analysis::computeResidualPlot(pairs, {}, {300, 300, 10, ','});
  // Bottom first: switched off, active, outliers, each in falling pairing order.
  EXPECT_EQ(g.drawOrder, (std::vector<std::size_t>{4, 2, 3, 1, 5, 0}));
}

TEST(ResidualPlotDrawing, SelectedMarkIsDrawnOnTopEvenWhereThinnedAway) {
  const auto g = analysis::computeResidualPlot(scatterWithCluster(1500, 1500), {}, {800, 600, 14, ','});
  const std::set<std::size_t> drawn(g.drawOrder.begin(), g.drawOrder.end());
  std::size_t hidden = 1500;
  while (drawn.count(hidden) != 0) ++hidden;
  ASSERT_LT(hidden, g.marks.size());
  const std::size_t shown = g.drawOrder.back();
  const struct {
    const char* name;
    std::size_t selected;
    std::size_t marks;
  } rows[] = {{"thinned away", hidden, g.drawOrder.size()}, {"drawn anyway", shown, g.drawOrder.size() - 1}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const PlotDrawing drawing = analysis::plotDrawing(g, row.selected);
    ASSERT_TRUE(drawing.selected);
    EXPECT_EQ(*drawing.selected, row.selected);
    EXPECT_EQ(drawing.marks.size(), row.marks);
    EXPECT_EQ(std::count(drawing.marks.begin(), drawing.marks.end(), row.selected), 0);
    ASSERT_FALSE(drawing.labels.empty());
    EXPECT_EQ(drawing.labels.front().text, g.labels[row.selected]);  // its label wins its place
  }
  EXPECT_FALSE(analysis::plotDrawing(g, g.marks.size()).selected);
  EXPECT_EQ(analysis::plotDrawing(g).marks, g.drawOrder);
}

TEST(ResidualPlotDrawing, LabelsNeverOverlapAndTheLeftOutWouldHave) {
  // A row of points closer together than their labels are wide, an outlier among them,
  // and points far apart.
  std::vector<PlotPair> pairs;
  std::vector<std::string> labels;
  for (int i = 0; i < 30; ++i) {
    pairs.push_back({100.0 + 2.0 * i, 500, 0.001, 0});
    labels.push_back("Punkt " + std::to_string(1000 + i));
  }
  pairs[17].outlier = true;
  for (int i = 0; i < 5; ++i) {
    pairs.push_back({100.0 + 200.0 * i, 100, 0, 0.001, i != 2});
    labels.push_back("Ü" + std::to_string(i));
  }
  const auto g = analysis::computeResidualPlot(pairs, labels, {800, 800, 12, ','});
  const PlotDrawing drawing = analysis::plotDrawing(g);

  std::vector<analysis::PlotBox> boxes;
  for (const analysis::PlotText& label : drawing.labels) boxes.push_back(g.textBox(label));
  for (std::size_t a = 0; a < boxes.size(); ++a)
    for (std::size_t b = a + 1; b < boxes.size(); ++b)
      EXPECT_FALSE(boxes[a].overlaps(boxes[b])) << drawing.labels[a].text << " / " << drawing.labels[b].text;

  std::set<std::string> shown;
  for (const analysis::PlotText& label : drawing.labels) shown.insert(label.text);
  EXPECT_EQ(drawing.labels.front().text, "Punkt 1017");  // the outlier is labelled first
  for (int i = 0; i < 5; ++i) EXPECT_EQ(shown.count("Ü" + std::to_string(i)), 1u);
  EXPECT_LT(shown.size(), pairs.size());
  // A label left out would have overlapped one that is shown; its mark is drawn still.
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    if (shown.count(labels[i]) != 0) continue;
    const analysis::PlotBox box = g.textBox(g.label(i));
    EXPECT_TRUE(std::any_of(boxes.begin(), boxes.end(), [&](const analysis::PlotBox& b) { return b.overlaps(box); }))
        << labels[i];
    EXPECT_NE(std::find(drawing.marks.begin(), drawing.marks.end(), i), drawing.marks.end()) << labels[i];
  }
}

TEST(ResidualPlotDrawing, HugeFrameWithTinyTextStaysBounded) {
  // A tiny text height in a frame of a kilometre of units: thinning and label room must
  // not allocate a cell per marker diameter of the whole frame.
  const auto g = analysis::computeResidualPlot(scatterWithCluster(3000, 10), {}, {1e6, 1e6, 0.01, ','});
  std::set<std::pair<long long, long long>> cells;
  for (const PlotMark& m : g.marks) cells.insert(cellOf(g, m));
  EXPECT_EQ(g.drawOrder.size(), cells.size());
  EXPECT_EQ(analysis::plotDrawing(g).labels.size(), analysis::kLabelLimit);
}

}  // namespace
