// The CSV result file, read back by an independent reader (python3's csv module) and by the
// program's own reader: header, quoting, both decimal marks, CR LF, and the transformed
// coordinates against the transformation computed here from its formulas.
#include "CsvFile.h"
#include "PythonCsv.h"
#include "ReadContent.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

namespace {

using namespace pointfiles;

// 11 significant digits of a coordinate of seven integer digits leave four decimals.
constexpr double kTenthMillimetre = 1e-4;
constexpr double kNoHeight = std::numeric_limits<double>::quiet_NaN();

struct Parameters {
  double a, o, Yo, Xo;
};
constexpr Parameters kParameters{1.0000185, 0.0000368, 97.52, -183.1};

kel::TKEL_Vovezorevarovaduvorir solverWith(const Parameters& p) {
  kel::TKEL_Vovezorevarovaduvorir solver;
  solver.a = p.a;
  solver.o = p.o;
  solver.Yo = p.Yo;
  solver.Xo = p.Xo;
  return solver;
}

PointList samplePoints() {
  PointList points{{"1001", "Punkt 7", "a;b", "Sa\"ge", "", " x"},
                   {4510584.583, 4512547.351, 4511176.015, -12.5, 0.25, 4510000},
                   {5431729.308, 5432585.269, 5430120.792, 3.75, 1e-5, 5430000}};
  points.heights = {101.5, kNoHeight, -0.125, 0, 1234.5678, kNoHeight};
  points.codes = {"GS",
                  "",
                  "x,y",
                  "Gr\xC3\xBCnfl\xC3\xA4"
                  "che",
                  "\"",
                  "a b"};
  return points;
}

double number(std::string text, DecimalMark mark) {
  if (mark == DecimalMark::Comma)
    for (char& c : text) c = c == ',' ? '.' : c;
  return std::stod(text);  // the C locale: the test program never sets another
}

TEST(CsvFile, PythonReadsWhatWasWritten) {
  const PointList points = samplePoints();
  const Parameters& p = kParameters;
  for (const DecimalMark mark : {DecimalMark::Point, DecimalMark::Comma}) {
    testsupport::TempDir dir;
    const std::string path = dir.file("ergebnis.csv");
    ASSERT_TRUE(writeCsvResultFile(path, points, solverWith(p), mark).ok);
    const char separator = mark == DecimalMark::Comma ? ';' : ',';

    const std::vector<std::vector<std::string>> rows = testsupport::csvRowsByPython(path, separator);
    ASSERT_EQ(rows.size(), points.count() + 1) << testsupport::readFile(path);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"Punkt", "RW", "HW", "H", "Code"}));
    for (std::size_t i = 0; i < points.count(); ++i) {
      const std::vector<std::string>& row = rows[i + 1];
      ASSERT_EQ(row.size(), 5u) << "row " << i;
      EXPECT_EQ(row[0], points.names[i]);
      const double rw = points.rw[i];
      const double hw = points.hw[i];
      EXPECT_NEAR(number(row[1], mark), p.Yo + p.a * rw + p.o * hw, kTenthMillimetre) << row[1];
      EXPECT_NEAR(number(row[2], mark), p.Xo + p.a * hw - p.o * rw, kTenthMillimetre) << row[2];
      if (std::isnan(points.heights[i])) {
        EXPECT_EQ(row[3], "");
      } else {
        EXPECT_EQ(number(row[3], mark), points.heights[i]) << row[3];
      }
      EXPECT_EQ(row[4], points.codes[i]);
      EXPECT_EQ(row[1].find(mark == DecimalMark::Comma ? '.' : ','), std::string::npos) << row[1];
    }

    // Every line ends with CR LF, the last one too, and no lone LF or CR stands anywhere.
    const std::string bytes = testsupport::readFile(path);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      if (bytes[i] == '\r') {
        ASSERT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << i;
      } else if (bytes[i] == '\n') {
        ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << i;
      }
    }
  }
}

// The program reads its own CSV back: same names, heights and codes, and the coordinates
// that python read.
TEST(CsvFile, ReadsBackAsCsvWithHeader) {
  const PointList points = samplePoints();
  for (const DecimalMark mark : {DecimalMark::Point, DecimalMark::Comma}) {
    testsupport::TempDir dir;
    const std::string path = dir.file("ergebnis.csv");
    ASSERT_TRUE(writeCsvResultFile(path, points, solverWith(kParameters), mark).ok);
    const pointfiles_test::ReadRecord r = pointfiles_test::readContent(testsupport::readFile(path));
    EXPECT_TRUE(r.badLines.empty());
    EXPECT_EQ(describe(r.format),
              mark == DecimalMark::Comma
                  ? "CSV, Trennzeichen ';', Dezimalkomma, Spalten Punkt;RW;HW;H;Code, Kopfzeile"
                  : "CSV, Trennzeichen ',', Dezimalpunkt, Spalten Punkt,RW,HW,H,Code, Kopfzeile");
    EXPECT_EQ(r.points.names, points.names);
    EXPECT_EQ(r.points.codes, points.codes);
    ASSERT_EQ(r.points.heights.size(), points.count());
    for (std::size_t i = 0; i < points.count(); ++i) {
      EXPECT_EQ(std::isnan(r.points.heights[i]), std::isnan(points.heights[i]));
      if (!std::isnan(points.heights[i])) {
        EXPECT_EQ(r.points.heights[i], points.heights[i]);
      }
    }
  }
}

// Guards against the process locale (Qt sets the user's) changing numbers written or read.
TEST(CsvFile, ProcessLocaleChangesNothing) {
  const PointList points = samplePoints();
  testsupport::TempDir dir;
  const auto write = [&](const std::string& name) {
    EXPECT_TRUE(writeCsvResultFile(dir.file(name), points, solverWith(kParameters),
                                   DecimalMark::Comma).ok);
    return testsupport::readFile(dir.file(name));
  };
  const std::string neutral = write("c.csv");
  const pointfiles_test::ReadRecord readNeutral = pointfiles_test::readContent(neutral);
  const testsupport::ScopedLocale german(testsupport::kGermanLocale);
  if (!german.ok()) GTEST_SKIP() << testsupport::kGermanLocale << " is not installed";
  EXPECT_EQ(write("de.csv"), neutral);
  const pointfiles_test::ReadRecord readGerman = pointfiles_test::readContent(neutral);
  EXPECT_EQ(readGerman.points.rw, readNeutral.points.rw);
  EXPECT_EQ(readGerman.points.hw, readNeutral.points.hw);
  EXPECT_EQ(readGerman.points.codes, readNeutral.points.codes);
}

TEST(CsvFile, ColumnsOnlyForWhatThePointsHave) {
  PointList unnamed{{}, {1.5, 2}, {3, 4}};
  std::string out;
  const CsvLayout layout = csvLayoutFor(unnamed, DecimalMark::Comma);
  appendCsvHeader(out, layout);
  for (std::size_t i = 0; i < unnamed.count(); ++i)
    appendCsvLine(out, layout, unnamed.nameAt(i), unnamed.rw[i], unnamed.hw[i], kNoHeight, {});
  EXPECT_EQ(out, "Punkt;RW;HW\r\n;1,5;3\r\n;2;4\r\n");
}

}  // namespace
