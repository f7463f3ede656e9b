// The PROJ tinshift export: PROJ's own cct applies the file to 10,000 transformed points
// inside the hull and must land on T(P) + c(P) of the library; what cct does outside the
// hull; the file read back with nlohmann-json; the same bytes under a German locale; and
// the cases the writer refuses.
#include <gtest/gtest.h>

#include "CliRunner.h"
#include "TestData.h"
#include "TestFiles.h"
#include "TinshiftWriter.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <cmath>
#include <limits>
#include <sstream>
#include <unistd.h>

namespace {

using namespace distribution;
using namespace testdata;

constexpr double kTenthMillimetre = 1e-4;

const std::string kCct = TRAMIS_CCT_PATH;

// A Helmert transformation as the program estimates it: 23.4 mgon, 18.5 ppm and a shift.
struct Helmert {
  long double a = 1.0000185L * std::cos(0.0234L * M_PI / 200), o = 1.0000185L * std::sin(0.0234L * M_PI / 200);
  long double Yo = 97.5L, Xo = -182.25L;
  NewSystemPosition operator()(double rw, double hw) const {
    return {static_cast<double>(Yo + a * rw + o * hw), static_cast<double>(Xo + a * hw - o * rw)};
  }
};

std::string text(double value) {
  char digits[32];
  return std::string(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

std::string tinshiftText(const distribution::TriangleInterpolation& triangles, const std::vector<ControlPoint>& points,
                         const std::vector<NewSystemPosition>& transformed) {
  std::ostringstream out;
  EXPECT_EQ(distribution::writeTinshift(out, triangles, points, transformed, "Restklaffenverteilung"),
            TinshiftProblem::None);
  return out.str();
}

class Tinshift : public ::testing::Test {
protected:
  void SetUp() override {
    points = testdata::controlPoints(150, 161);
    setup = distribution::prepareTriangles(points);
    ASSERT_TRUE(setup.triangles);
    for (const ControlPoint& point : points) transformed.push_back(T(point.rw, point.hw));
    testsupport::writeFile(dir.file("shift.json"), tinshiftText(*setup.triangles, points, transformed));
  }

  // cct's output for the given new-system points, one pair of numbers per line.
  std::vector<std::vector<std::string>> cct(const std::vector<NewSystemPosition>& input) {
    std::string lines;
    for (const NewSystemPosition& p : input) lines += text(p.RW) + " " + text(p.HW) + " 0 0\n";
    testsupport::writeFile(dir.file("in.txt"), lines);
    const clitest::ProcessResult run = clitest::runProcess(
        kCct, {"-d", "9", "+proj=tinshift", "+file=" + dir.file("shift.json"), dir.file("in.txt")}, dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    std::vector<std::vector<std::string>> result;
    for (const std::string& line : clitest::lines(run.out)) result.push_back(clitest::words(line));
    return result;
  }

  testsupport::TempDir dir;
  Helmert T;
  std::vector<ControlPoint> points;
  distribution::TriangleSetup setup;
  std::vector<NewSystemPosition> transformed;
};

TEST_F(Tinshift, CctGivesTheLibrarysCorrectionInsideTheHull) {
  if (kCct.empty() || ::access(kCct.c_str(), X_OK) != 0) GTEST_SKIP() << "cct is not installed";
  std::vector<NewSystemPosition> input, expected;
  for (const testdata::Position& p : testdata::queryPoints(20000, 162)) {
    const distribution::Correction c = setup.triangles->correctionAt(p.rw, p.hw);
    if (!c.corrected) continue;
    const NewSystemPosition t = T(p.rw, p.hw);
    input.push_back(t);
    expected.push_back({t.RW + c.dRW, t.HW + c.dHW});
    if (input.size() == 10000) break;
  }
  ASSERT_EQ(input.size(), 10000u);
  const auto output = cct(input);
  ASSERT_EQ(output.size(), input.size());
  double largest = 0;
  for (std::size_t i = 0; i < output.size(); ++i) {
    ASSERT_GE(output[i].size(), 2u);
    const double RW = std::stod(output[i][0]), HW = std::stod(output[i][1]);
    largest = std::max({largest, std::fabs(RW - expected[i].RW), std::fabs(HW - expected[i].HW)});
  }
  EXPECT_LT(largest, kTenthMillimetre);
}

// PROJ does not transform a point outside every triangle: cct reports it in its place and
// carries on (what the help tells the user).
TEST_F(Tinshift, CctReportsPointsOutsideTheHull) {
  if (kCct.empty() || ::access(kCct.c_str(), X_OK) != 0) GTEST_SKIP() << "cct is not installed";
  const testdata::Position inside{testdata::kOriginRW + 500, testdata::kOriginHW + 500};
  const testdata::Position outside{testdata::kOriginRW - 500, testdata::kOriginHW - 500};
  ASSERT_TRUE(setup.triangles->correctionAt(inside.rw, inside.hw).corrected);
  ASSERT_FALSE(setup.triangles->correctionAt(outside.rw, outside.hw).corrected);
  const NewSystemPosition outsideT = T(outside.rw, outside.hw);
  const auto output = cct({outsideT, T(inside.rw, inside.hw)});
  ASSERT_GE(output.size(), 2u);
  const std::vector<std::string> report{"#", "Record", "0", "TRANSFORMATION", "ERROR:", text(outsideT.RW),
                                        text(outsideT.HW), "0", "0"};
  EXPECT_EQ(output[0], report);
  EXPECT_EQ(output.back().size(), 4u);  // the point inside still gets its four columns
}

TEST_F(Tinshift, FileReadsBackAsWritten) {
  const nlohmann::json file = nlohmann::json::parse(testsupport::readFile(dir.file("shift.json")));
  EXPECT_EQ(file["file_type"], "triangulation_file");
  EXPECT_EQ(file["format_version"], "1.0");
  EXPECT_EQ(file["transformed_components"], nlohmann::json::array({"horizontal"}));
  const auto& vertices = file["vertices"];
  ASSERT_EQ(vertices.size(), points.size());
  for (std::size_t j = 0; j < points.size(); ++j) {
    EXPECT_EQ(vertices[j][0].get<double>(), transformed[j].RW);  // shortest text, same double
    EXPECT_EQ(vertices[j][1].get<double>(), transformed[j].HW);
    EXPECT_NEAR(vertices[j][2].get<double>() - transformed[j].RW, points[j].vRW, kNanometre);
    EXPECT_NEAR(vertices[j][3].get<double>() - transformed[j].HW, points[j].vHW, kNanometre);
  }
  const auto& triangles = file["triangles"];
  ASSERT_EQ(triangles.size(), setup.triangles->triangles().size());
  for (std::size_t t = 0; t < triangles.size(); ++t)
    for (std::size_t k = 0; k < 3; ++k) EXPECT_EQ(triangles[t][k].get<std::size_t>(), setup.triangles->triangles()[t][k]);
}

TEST_F(Tinshift, GermanLocaleWritesTheSameBytes) {
  const testsupport::ScopedLocale german(testsupport::kGermanLocale);
  ASSERT_TRUE(german.ok());
  EXPECT_EQ(tinshiftText(*setup.triangles, points, transformed), testsupport::readFile(dir.file("shift.json")));
}

TEST_F(Tinshift, RefusedExports) {
  const std::vector<ControlPoint> line{{4511000, 5431000, 0.01, 0}, {4511100, 5431100, 0.02, 0}, {4511200, 5431200, 0, 0}};
  const auto lineSetup = distribution::prepareTriangles(line);
  std::vector<NewSystemPosition> withNaN = transformed;
  withNaN[5].HW = std::numeric_limits<double>::quiet_NaN();
  const std::vector<NewSystemPosition> lineTransformed(3);
  const std::vector<NewSystemPosition> short_(transformed.begin(), transformed.end() - 1);
  const struct {
    const char* name;
    const distribution::TriangleInterpolation& triangles;
    const std::vector<ControlPoint>& points;
    const std::vector<NewSystemPosition>& positions;
    TinshiftProblem problem;
  } cases[] = {
      {"on one line", *lineSetup.triangles, line, lineTransformed, TinshiftProblem::NoTriangles},
      {"one position short", *setup.triangles, points, short_, TinshiftProblem::PositionCountMismatch},
      {"NaN", *setup.triangles, points, withNaN, TinshiftProblem::NonFiniteCoordinate},
  };
  for (const auto& c : cases) {
    std::ostringstream out;
    EXPECT_EQ(distribution::writeTinshift(out, c.triangles, c.points, c.positions, ""), c.problem) << c.name;
    EXPECT_TRUE(out.str().empty()) << c.name;
  }
}

}  // namespace
