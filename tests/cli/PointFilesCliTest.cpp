// tramis-cli reads the recognised point formats: a CSV file with a header and a QGIS .points
// file (its source coordinates as the old system, its map coordinates as the new one) give
// the estimate of the worked example, as its coordinate lists do. Columns and separator
// chosen on the command line, the CSV result file read by python3's csv module, the QGIS
// exchange (--points, --points-out) and how each file was read in protocol and JSON.
#include <gtest/gtest.h>

#include "CliRunner.h"
#include "PythonCsv.h"
#include "TestFiles.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

using namespace clitest;
using testsupport::decimalNumber;

// 11 significant digits of a coordinate of seven integer digits leave four decimals.
constexpr double kTenthMillimetre = 1e-4;

class PointFilesCli : public ::testing::Test {
protected:
  void write(const char* name, const std::string& content) { testsupport::writeFile(dir.file(name), content); }
  ProcessResult run(const std::vector<std::string>& arguments, const std::string& locale = "") {
    return runProcess(TRAMIS_CLI_PATH, arguments, dir.path(), locale);
  }
  // The worked example's estimate, from the JSON of a run.
  static void expectWorkedExample(const std::string& json) {
    EXPECT_NEAR(jsonNumber(json, "Xo"), 200.0075, 1e-12) << json;
    EXPECT_NEAR(jsonNumber(json, "a"), 1.0015, 1e-15);
    EXPECT_NEAR(jsonNumber(json, "o"), 0.00075, 1e-15);
    // Residuals +-0.0075 on four of six coordinates, redundancy 2: So = sqrt(4 * 0.0075^2 / 2);
    // a value rounded to the protocol's four decimals would miss it by 6.6e-6.
    EXPECT_NEAR(jsonNumber(json, "So"), std::sqrt(4 * 0.0075 * 0.0075 / 2), 1e-15);
  }
  testsupport::TempDir dir;
};

TEST_F(PointFilesCli, CsvAndQgisFilesGiveTheWorkedExample) {
  // Old (0,0), (10,0), (0,10); new (100,200), (110,200), (100,210.03).
  write("alt.csv", "Punkt;RW;HW\r\nP1;0;0\r\nP2;10;0\r\nP3;0;10\r\n");
  write("neu.csv", "Nr,X,Y\nP1,200,100\nP2,200,110\nP3,210.03,100\n");  // X: the Hochwert
  write("passpunkte.points",
        "#CRS: LOCAL_CS[\"Baustelle\"]\n"
        "mapX,mapY,sourceX,sourceY,enable,dX,dY,residual\n"
        "100,200,0,0,1,0,0,0\n110,200,10,0,1,0,0,0\n100,210.03,0,10,1,0,0,0\n");
  const std::vector<std::string> runs[] = {{"--json", "alt.csv", "neu.csv"},
                                           {"--json", "passpunkte.points", "passpunkte.points"},
                                           {"--json", "--points", "passpunkte.points"}};
  for (const std::vector<std::string>& arguments : runs) {
    const ProcessResult result = run(arguments);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_FALSE(contains(result.err, "Zeile")) << "no bad line: " << result.err;
    expectWorkedExample(result.out);
  }
}

// Columns in an order no header names: code, Hochwert, Rechtswert, name, between tabs.
TEST_F(PointFilesCli, ChosenColumnsAndSeparatorReadBothFilesAndAreStated) {
  write("alt.txt", "GS\t0\t0\tP1\nGS\t0\t10\tP2\nMP\t10\t0\tP3\n");
  write("neu.txt", "GS\t200,0\t100\tP1\nGS\t200\t110\tP2\nMP\t210,03\t100\tP3\n");
  const std::vector<std::string> chosen = {"--columns", "code,hw,rw,name", "--delimiter", "tab", "alt.txt", "neu.txt"};
  std::vector<std::string> asJson = chosen;
  asJson.insert(asJson.begin(), "--json");
  const ProcessResult json = run(asJson);
  ASSERT_EQ(json.exitCode, 0) << json.err;
  expectWorkedExample(json.out);
  EXPECT_TRUE(contains(json.out,
                       "\"format\": {\"text\": \"CSV, Trennzeichen Tab, Dezimalpunkt, Spalten Code HW RW "
                       "Punkt, ohne Kopfzeile\", \"kind\": \"delimited\", \"separator\": \"tab\", \"decimalMark\": "
                       "\"point\", \"columns\": [\"code\", \"hw\", \"rw\", \"name\"], \"byFieldCount\": false, "
                       "\"headerLine\": 0}"))
      << json.out;
  EXPECT_TRUE(contains(json.out, "\"decimalMark\": \"comma\"")) << "the new file's first point has a decimal comma";

  const ProcessResult protocol = run(chosen);
  ASSERT_EQ(protocol.exitCode, 0) << protocol.err;
  EXPECT_TRUE(contains(protocol.out, "Altsystem:  alt.txt  (3 Punkte)\n            Format: CSV, "
                                     "Trennzeichen Tab, Dezimalpunkt, Spalten Code HW RW Punkt, ohne Kopfzeile\n"))
      << protocol.out;
  // Read as recognised instead, the codes are the names, and the pairs differ by name.
  const ProcessResult recognised = run({"alt.txt", "neu.txt"});
  EXPECT_TRUE(contains(recognised.out, "Format: Koordinatendatei, Trennzeichen Leerzeichen, Dezimalpunkt, "
                                       "Spalten Punkt RW HW, ohne Kopfzeile"))
      << recognised.out;
}

TEST_F(PointFilesCli, CsvResultFileWithHeightAndCode) {
  write("alt.csv",
        "Punkt;RW;HW;H;Code\n1001;0;0;101,5;GS\n1002;10;0;;\"Grenz;stein\"\n1003;0;10;99,25;MP\n"
        "2001;-20;5;3;neu\n");
  write("neu.csv", "Punkt;RW;HW\n1001;100;200\n1002;110;200\n1003;100;210,03\n");
  // The decimal mark as the protocol's: chosen, or the locale's (German: comma).
  const struct {
    const char* option;
    const char* locale;
    bool comma;
  } marks[] = {{"--decimal-comma", "", true}, {"--decimal-point", "", false}, {"", testsupport::kGermanLocale, true}};
  for (const auto& [option, locale, comma] : marks) {
    std::vector<std::string> arguments = {"alt.csv", "neu.csv", "--output-format", "csv", "-o", "erg.csv"};
    if (*option) arguments.push_back(option);
    const ProcessResult result = run(arguments, locale);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(contains(result.out, "Ergebnisdatei: erg.csv  (CSV, 4 Punkte transformiert)")) << result.out;
    const std::vector<std::vector<std::string>> rows =
        testsupport::csvRowsByPython(dir.file("erg.csv"), comma ? ';' : ',');
    ASSERT_EQ(rows.size(), 5u) << testsupport::readFile(dir.file("erg.csv"));
    EXPECT_EQ(rows[0], (std::vector<std::string>{"Punkt", "RW", "HW", "H", "Code"}));
    // Values, heights and codes row by row are the CSV writer's own tests; here the decimal
    // mark the run chose (point 1001 at the origin lands on Yo), an empty height, and a code
    // that holds the separator kept whole.
    EXPECT_EQ(rows[1][1].find(comma ? '.' : ','), std::string::npos) << rows[1][1];
    EXPECT_NEAR(decimalNumber(rows[1][1]), 99.9925, kTenthMillimetre) << rows[1][1];
    ASSERT_EQ(rows[2].size(), 5u);
    EXPECT_EQ(rows[2][3], "");
    EXPECT_EQ(rows[2][4], "Grenz;stein");
  }
  // Guards against a guess from the file name: without --output-format, .csv gets .erg lines.
  ASSERT_EQ(run({"alt.csv", "neu.csv", "-o", "erg.csv"}).exitCode, 0);
  EXPECT_EQ(testsupport::readFile(dir.file("erg.csv")).substr(0, 7), " 1001\t ");
}

// The fields of a .points file's data lines, by a reader of its own: QGIS's column order.
struct QgisLine {
  double mapX, mapY, sourceX, sourceY;
  int enable;
  double dX, dY, residual;
};
std::vector<QgisLine> qgisLines(const std::string& text) {
  std::vector<QgisLine> read;
  for (const std::string& line : lines(text)) {
    if (line.empty() || line[0] == '#' || line.starts_with("mapX")) continue;
    std::vector<double> fields;
    for (std::size_t at = 0;;) {
      const std::size_t comma = line.find(',', at);
      fields.push_back(decimalNumber(line.substr(at, comma - at)));
      if (comma == std::string::npos) break;
      at = comma + 1;
    }
    if (fields.size() != 8) return {};
    read.push_back({fields[0], fields[1], fields[2], fields[3], static_cast<int>(fields[4]), fields[5], fields[6], fields[7]});
  }
  return read;
}

// The residual rows of a run's JSON, one per pair.
std::vector<std::string> residualLines(const std::string& json) {
  std::vector<std::string> rows;
  for (const std::string& line : lines(json))
    if (contains(line, "{\"pkt\": ")) rows.push_back(line);
  return rows;
}

TEST_F(PointFilesCli, PointsRoundTripKeepsEveryPairAndItsActivity) {
  // Six pairs of Gauss-Krueger size; pair 4 is switched off in the file.
  std::string points = "mapX,mapY,sourceX,sourceY,enable,dX,dY,residual\n";
  const double source[][2] = {{4510584.583, 5431729.308}, {4512547.351, 5432585.269}, {4511176.015, 5430120.792},
                              {4513012.5, 5431000.125},  {4509876.25, 5432222.5},    {4511500.75, 5431500.333}};
  std::vector<QgisLine> written;
  for (int i = 0; i < 6; ++i) {
    const double rw = source[i][0], hw = source[i][1];
    const double RW = 1024.1 + 1.0000185 * rw + 0.0000368 * hw + 0.001 * (i % 3);
    const double HW = -77.25 + 1.0000185 * hw - 0.0000368 * rw - 0.002 * (i % 2);
    char line[200];
    std::snprintf(line, sizeof line, "%.17g,%.17g,%.17g,%.17g,%d,0,0,0\n", RW, HW, rw, hw, i == 3 ? 0 : 1);
    points += line;
    written.push_back({RW, HW, rw, hw, i == 3 ? 0 : 1, 0, 0, 0});
  }
  write("gcp.points", points);
  const ProcessResult result = run({"--json", "--points", "gcp.points", "--points-out", "aus.points"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_NEAR(jsonNumber(result.out, "activeCount"), 5, 0) << result.out;
  EXPECT_TRUE(contains(result.out, "\"kind\": \"qgisPoints\"")) << result.out;
  EXPECT_TRUE(contains(result.out, "\"side\": \"both\""));
  EXPECT_TRUE(contains(result.out, "\"pointsFile\": {\"path\": \"aus.points\", \"pairs\": 6}"));

  const std::vector<QgisLine> back = qgisLines(testsupport::readFile(dir.file("aus.points")));
  ASSERT_EQ(back.size(), written.size()) << testsupport::readFile(dir.file("aus.points"));
  // The residuals of the run, observed minus computed, for QGIS's transformed minus target.
  const std::vector<std::string> residualRows = residualLines(result.out);
  ASSERT_EQ(residualRows.size(), 6u);
  for (std::size_t i = 0; i < written.size(); ++i) {
    EXPECT_EQ(back[i].mapX, written[i].mapX) << "pair " << i + 1;  // to the bit: the shortest round-trip text
    EXPECT_EQ(back[i].mapY, written[i].mapY);
    EXPECT_EQ(back[i].sourceX, written[i].sourceX);
    EXPECT_EQ(back[i].sourceY, written[i].sourceY);
    EXPECT_EQ(back[i].enable, written[i].enable);
    EXPECT_EQ(contains(residualRows[i], "\"active\": true"), written[i].enable == 1) << residualRows[i];
    EXPECT_NEAR(back[i].dX, -jsonNumber(residualRows[i], "RW"), 1e-12);
    EXPECT_NEAR(back[i].dY, -jsonNumber(residualRows[i], "HW"), 1e-12);
    EXPECT_NEAR(back[i].residual, std::hypot(back[i].dX, back[i].dY), 1e-12);
  }

  // Read again, the written file gives the same run; --exclude adds to its switched-off pairs.
  const ProcessResult again = run({"--json", "--points", "aus.points", "--exclude", "1"});
  ASSERT_EQ(again.exitCode, 0) << again.err;
  EXPECT_NEAR(jsonNumber(again.out, "activeCount"), 4, 0) << again.out;
  const std::vector<std::string> againRows = residualLines(again.out);
  ASSERT_EQ(againRows.size(), 6u);
  for (std::size_t i = 0; i < againRows.size(); ++i)
    EXPECT_EQ(contains(againRows[i], "\"active\": false"), i == 0 || i == 3) << againRows[i];
}

}  // namespace
