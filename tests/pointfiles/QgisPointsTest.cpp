// QGIS .points files: the written columns against QGIS's format (mapX, mapY, sourceX,
// sourceY, enable, dX, dY, residual; dX, dY transformed minus target), the round trip of
// every pair and its activity, and files as QGIS versions wrote them.
#include "QgisPoints.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <string>
#include <vector>

namespace {

using namespace pointfiles;

struct Pairs {
  PointList oldPairs;
  PointList newPairs;
  std::vector<bool> active;
  PairResiduals residuals;
};

Pairs samplePairs() {
  Pairs p;
  // Coordinates with 17 significant digits as QGIS writes them, and values that %.11g
  // would change.
  p.oldPairs = {{"1001", "1002", "1003", "1004"},
                {4510584.583, 0.1 + 0.2, -12.000000000001, 1e-7},
                {5431729.308, 5432585.2690000012, 3, -0.0}};
  p.newPairs = {
      {}, {4316373.376414543, 4880681.582355963, 1e15, 7}, {3385976.075841331, 2, -3.5, 8}};
  p.active = {true, false, true, false};
  p.residuals = {{0.0021, -0.0034, 0, 1e-9}, {-0.0005, 0.0012, 0.25, 0}};
  return p;
}

std::vector<std::string> split(const std::string& text, char at) {
  std::vector<std::string> parts;
  for (std::size_t from = 0;;) {
    const std::size_t cut = text.find(at, from);
    parts.push_back(text.substr(from, cut - from));
    if (cut == std::string::npos) return parts;
    from = cut + 1;
  }
}

double parsed(const std::string& text) {
  double value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  EXPECT_TRUE(result.ec == std::errc() && result.ptr == text.data() + text.size()) << text;
  return value;
}

// Each column checked by splitting the lines here, as QGIS's loader splits them.
TEST(QgisPoints, WrittenColumnsFollowQgisFormat) {
  const Pairs p = samplePairs();
  testsupport::TempDir dir;
  const std::string path = dir.file("passpunkte.points");
  ASSERT_TRUE(
      writeQgisPointsFile(path, p.oldPairs, p.newPairs, p.active, p.residuals, "PROJCRS[\"x\"]")
          .ok);
  const std::string bytes = testsupport::readFile(path);
  EXPECT_EQ(bytes.find('\r'), std::string::npos);
  ASSERT_EQ(bytes.back(), '\n');
  const std::vector<std::string> lines = split(bytes.substr(0, bytes.size() - 1), '\n');
  ASSERT_EQ(lines.size(), 2 + p.active.size());
  EXPECT_EQ(lines[0], "#CRS: PROJCRS[\"x\"]");
  EXPECT_EQ(lines[1], "mapX,mapY,sourceX,sourceY,enable,dX,dY,residual");
  for (std::size_t i = 0; i < p.active.size(); ++i) {
    const std::vector<std::string> fields = split(lines[i + 2], ',');
    ASSERT_EQ(fields.size(), 8u) << lines[i + 2];
    EXPECT_EQ(parsed(fields[0]), p.newPairs.rw[i]);
    EXPECT_EQ(parsed(fields[1]), p.newPairs.hw[i]);
    EXPECT_EQ(parsed(fields[2]), p.oldPairs.rw[i]);
    EXPECT_EQ(parsed(fields[3]), p.oldPairs.hw[i]);
    EXPECT_EQ(fields[4], p.active[i] ? "1" : "0");
    const double dX = -p.residuals.rw[i];
    const double dY = -p.residuals.hw[i];
    EXPECT_EQ(parsed(fields[5]), dX);
    EXPECT_EQ(parsed(fields[6]), dY);
    EXPECT_DOUBLE_EQ(parsed(fields[7]), std::sqrt(dX * dX + dY * dY));
    for (const std::string& field : fields) {
      EXPECT_EQ(field.find_first_of("eE"), std::string::npos) << "no exponent: " << field;
      EXPECT_FALSE(field.rfind("-0", 0) == 0 && parsed(field) == 0)
          << "no negative zero: " << field;
    }
  }
}

TEST(QgisPoints, RoundTripKeepsEveryPairAndItsActivity) {
  const Pairs p = samplePairs();
  for (const char* crs : {"", "GEOGCRS[\"WGS 84\"]"}) {
    testsupport::TempDir dir;
    const std::string path = dir.file("passpunkte.points");
    ASSERT_TRUE(writeQgisPointsFile(path, p.oldPairs, p.newPairs, p.active, p.residuals, crs).ok);
    ControlPairs pairs;
    PointFileFormat format;
    int badLines = 0;
    ASSERT_EQ(readQgisPointsFile(
                  path, pairs,
                  [&](const BadLine&) {
                    ++badLines;
                    return BadLineAnswer::Continue;
                  },
                  &format),
              ReadStatus::Complete);
    EXPECT_EQ(badLines, 0);
    EXPECT_EQ(pairs.oldPoints.rw, p.oldPairs.rw);
    EXPECT_EQ(pairs.oldPoints.hw, p.oldPairs.hw);
    EXPECT_EQ(pairs.newPoints.rw, p.newPairs.rw);
    EXPECT_EQ(pairs.newPoints.hw, p.newPairs.hw);
    EXPECT_EQ(pairs.active, p.active);
    EXPECT_TRUE(pairs.oldPoints.names.empty() && pairs.newPoints.names.empty());
    EXPECT_EQ(
        describe(format),
        std::string(
            "QGIS-Paßpunktdatei, Trennzeichen ',', Dezimalpunkt, Altsystem aus sourceX,sourceY, "
            "Neusystem aus mapX,mapY, Aktiv aus enable, Kopfzeile") +
            (*crs ? " mit #CRS" : ""));
  }
}

struct QgisFileCase {
  const char* label;
  std::string content;
  std::vector<double> oldRw;
  std::vector<double> newHw;
  std::vector<bool> active;
  std::vector<BadLine> badLines;
};

class QgisFile : public ::testing::TestWithParam<QgisFileCase> {};

TEST_P(QgisFile, ReadsThePairs) {
  const QgisFileCase& c = GetParam();
  testsupport::TempDir dir;
  const std::string path = dir.file("gcp.points");
  testsupport::writeFile(path, c.content);
  ControlPairs pairs;
  std::vector<BadLine> badLines;
  const ReadStatus status = readQgisPointsFile(path, pairs, [&](const BadLine& bad) {
    badLines.push_back(bad);
    return BadLineAnswer::Continue;
  });
  EXPECT_EQ(status, ReadStatus::Complete);
  EXPECT_EQ(pairs.oldPoints.rw, c.oldRw);
  EXPECT_EQ(pairs.newPoints.hw, c.newHw);
  EXPECT_EQ(pairs.active, c.active);
  EXPECT_EQ(badLines, c.badLines);
}

INSTANTIATE_TEST_SUITE_P(
    Versions, QgisFile,
    ::testing::Values(
        QgisFileCase{"newer_with_crs_and_crlf",
                     "#CRS: PROJCS[\"ETRS89 / LAEA Europe\",GEOGCS[\"ETRS89\"]]\r\n"
                     "mapX,mapY,sourceX,sourceY,enable,dX,dY,residual\r\n"
                     "4316373.376414543,3385976.075841331,3899,-1161,1,-0.0000000000039222,0."
                     "0000000003079,0.0000000003\r\n"
                     "4880681.582355963,5391377.562290795,6584,-6754,0,0,0,0\r\n",
                     {3899, 6584},
                     {3385976.075841331, 5391377.562290795},
                     {true, false},
                     {}},
        QgisFileCase{"older_pixel_header",
                     "mapX,mapY,pixelX,pixelY,enable,dX,dY,residual\n1,2,3,4,1,0,0,0\n",
                     {3},
                     {2},
                     {true},
                     {}},
        QgisFileCase{"oldest_tabs_without_header",
                     "1\t2\t3\t4\n5\t6\t7\t8\t0\n",
                     {3, 7},
                     {2, 6},
                     {true, false},
                     {}},
        QgisFileCase{"enable_words_and_missing",
                     "mapX,mapY,sourceX,sourceY,enable\n1,2,3,4,TRUE\n5,6,7,8,false\n9,10,11,12\n",
                     {3, 7, 11},
                     {2, 6, 10},
                     {true, false, true},
                     {}},
        QgisFileCase{
            "bad_lines",
            "mapX,mapY,sourceX,sourceY,enable\n1,2,x,4,1\n5,6,7,8,ja\n\n9,y\n13,14,15,16,0\n",
            {15},
            {14},
            {false},
            {BadLine{2, "x", "4"}, BadLine{3, "ja", ""}, BadLine{5, "9", "y"}}}),
    [](const ::testing::TestParamInfo<QgisFileCase>& info) {
      return std::string(info.param.label);
    });

TEST(QgisPoints, StopAtABadLineKeepsThePairsBefore) {
  testsupport::TempDir dir;
  const std::string path = dir.file("gcp.points");
  testsupport::writeFile(path, "mapX,mapY,sourceX,sourceY\n1,2,3,4\nkaputt\n5,6,7,8\n");
  ControlPairs pairs;
  EXPECT_EQ(readQgisPointsFile(path, pairs, [](const BadLine&) { return BadLineAnswer::Stop; }),
            ReadStatus::StoppedByUser);
  EXPECT_EQ(pairs.oldPoints.rw, (std::vector<double>{3}));
  EXPECT_EQ(readQgisPointsFile(dir.file("fehlt.points"), pairs, nullptr), ReadStatus::OpenFailed);
  EXPECT_EQ(pairs.count(), 1u);
}

}  // namespace
