// tramis-cli's Restklaffenverteilung run as a process: the result file of every method
// against the Helmert fit of the test's own normal equations plus the library's correction,
// control points on their given new coordinates, the check point after the distribution in
// the JSON, --transform streamed byte for byte as the whole-file result, the usage errors,
// and the helmert + tinshift pipeline through PROJ's cct.
#include <gtest/gtest.h>

#include "CliRunner.h"
#include "Reference.h"
#include "ResidualDistribution.h"
#include "TestFiles.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using distribution::Method;

const std::string kCli = TRAMIS_CLI_PATH;
const std::string kCct = TRAMIS_CCT_PATH;

// Coordinates lie between 100 and 1000 m: the result file's 11 digits then show 1e-8 m,
// so a value exact to 1e-9 m reads back within half that digit and the solver's round-off.
constexpr double kResultFileDigit = 1e-8;
constexpr double kNanometre = 1e-9;
constexpr double kTenthMillimetre = 1e-4;

std::string text(double value) {
  char buffer[32];
  return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

double number(const std::string& word) {
  double value = std::nan("");
  std::from_chars(word.data(), word.data() + word.size(), value);
  return value;
}

using NamedPoint = reference::NamedPoint;

// Nine control pairs on a jittered 3 x 3 grid with residuals of a few centimetres, and
// `newPoints` random points around them (some outside the hull).
struct Job {
  std::vector<NamedPoint> oldPairs, newPairs, newPoints;

  explicit Job(int newPointCount, double low = 50, double high = 950) {
    std::mt19937 random(20261207);
    std::uniform_real_distribution<double> jitter(-40, 40), residual(-0.03, 0.03), spread(low, high);
    for (int i = 0; i < 9; ++i) {
      const double rw = 150 + 350 * (i % 3) + jitter(random), hw = 150 + 350 * (i / 3) + jitter(random);
      oldPairs.push_back({"P" + std::to_string(i + 1), rw, hw});
      newPairs.push_back({"P" + std::to_string(i + 1), 12.5 + 0.9998 * rw + 0.0123 * hw + residual(random),
                          -45.25 + 0.9998 * hw - 0.0123 * rw + residual(random)});
    }
    for (int i = 0; i < newPointCount; ++i)
      newPoints.push_back({"N" + std::to_string(i + 1), spread(random), spread(random)});
  }
};

std::string fileText(const std::vector<NamedPoint>& points, const char* lineEnd = "\n") {
  std::string content;
  for (const NamedPoint& p : points) content += p.name + " " + text(p.rw) + " " + text(p.hw) + lineEnd;
  return content;
}

// The result file's lines by point name.
std::map<std::string, std::pair<double, double>> resultPoints(const std::string& path) {
  std::map<std::string, std::pair<double, double>> points;
  for (const std::string& line : clitest::lines(testsupport::readFile(path))) {
    const std::vector<std::string> words = clitest::words(line);
    if (words.size() == 3) points[words[0]] = {number(words[1]), number(words[2])};
  }
  return points;
}

struct MethodRow {
  const char* name;
  std::vector<std::string> arguments;
  distribution::Settings settings;
};

void PrintTo(const MethodRow& row, std::ostream* out) { *out << row.name; }

class DistributionCli : public ::testing::TestWithParam<MethodRow> {};

TEST_P(DistributionCli, ResultIsHelmertPlusCorrectionAndControlPointsKeepTheirCoordinates) {
  const MethodRow& row = GetParam();
  const Job job(30);
  testsupport::TempDir dir;
  std::vector<NamedPoint> oldFile = job.oldPairs;
  oldFile.insert(oldFile.end(), job.newPoints.begin(), job.newPoints.end());
  testsupport::writeFile(dir.file("alt.asc"), fileText(oldFile));
  testsupport::writeFile(dir.file("neu.asc"), fileText(job.newPairs));

  // P9 switched off: a check point, a new point to the distribution.
  std::vector<std::string> arguments = {"alt.asc", "neu.asc", "--pair-by-name", "--exclude", "P9",
                                        "-o", "r.erg", "--json"};
  arguments.insert(arguments.end(), row.arguments.begin(), row.arguments.end());
  const clitest::ProcessResult run = clitest::runProcess(kCli, arguments, dir.path());
  ASSERT_EQ(run.exitCode, 0) << run.err;

  const std::vector<NamedPoint> activeOld(job.oldPairs.begin(), job.oldPairs.end() - 1);
  const std::vector<NamedPoint> activeNew(job.newPairs.begin(), job.newPairs.end() - 1);
  const reference::HelmertFit fit = reference::helmertFit(activeOld, activeNew);
  std::vector<distribution::ControlPoint> controls;
  for (std::size_t j = 0; j < activeOld.size(); ++j)
    controls.push_back({activeOld[j].rw, activeOld[j].hw, static_cast<double>(fit.vRW[j]),
                        static_cast<double>(fit.vHW[j])});
  const distribution::DistributionSetup setup = distribution::prepareDistribution(controls, row.settings);
  ASSERT_TRUE(setup.distribution);

  const auto result = resultPoints(dir.file("r.erg"));
  ASSERT_EQ(result.size(), oldFile.size());
  double largest = 0, sum = 0;
  std::size_t corrected = 0;
  for (const NamedPoint& p : oldFile) {
    const distribution::Correction c = setup.distribution->correctionAt(p.rw, p.hw);
    const auto [rw, hw] = result.at(p.name);
    EXPECT_NEAR(rw, static_cast<double>(fit.RW(p.rw, p.hw) + c.dRW), kResultFileDigit) << p.name;
    EXPECT_NEAR(hw, static_cast<double>(fit.HW(p.rw, p.hw) + c.dHW), kResultFileDigit) << p.name;
    if (c.corrected) {
      ++corrected;
      largest = std::max(largest, std::hypot(c.dRW, c.dHW));
      sum += std::hypot(c.dRW, c.dHW);
    }
  }
  for (const NamedPoint& p : activeNew) {
    EXPECT_NEAR(result.at(p.name).first, p.rw, kResultFileDigit) << p.name;
    EXPECT_NEAR(result.at(p.name).second, p.hw, kResultFileDigit) << p.name;
  }

  const nlohmann::json json = nlohmann::json::parse(run.out);
  const nlohmann::json& summary = json.at("distribution");
  EXPECT_EQ(summary.at("controlPoints"), 8);
  EXPECT_EQ(summary.at("corrected"), corrected);
  EXPECT_NEAR(summary.at("largestCorrection").at("length").get<double>(), largest, kNanometre);
  EXPECT_NEAR(summary.at("meanCorrection").get<double>(), sum / static_cast<double>(corrected), kNanometre);
  ASSERT_EQ(summary.at("checkPoints").size(), 1u);
  const nlohmann::json& check = summary.at("checkPoints")[0];
  const NamedPoint& p9 = job.oldPairs.back();
  const distribution::Correction c9 = setup.distribution->correctionAt(p9.rw, p9.hw);
  EXPECT_EQ(check.at("pkt"), 9);
  EXPECT_NEAR(check.at("RW").get<double>(), job.newPairs.back().rw - static_cast<double>(fit.RW(p9.rw, p9.hw) + c9.dRW),
              kNanometre);
  EXPECT_NEAR(check.at("HW").get<double>(), job.newPairs.back().hw - static_cast<double>(fit.HW(p9.rw, p9.hw) + c9.dHW),
              kNanometre);
}

distribution::Settings settings(Method method, std::optional<double> radius = {}, std::optional<double> delta = {}) {
  return {method, radius, delta};
}

INSTANTIATE_TEST_SUITE_P(
    Methods, DistributionCli,
    ::testing::Values(MethodRow{"idw1", {"--distribute", "idw1"}, settings(Method::DistanceWeightingP1)},
                      MethodRow{"idw1_5", {"--distribute", "idw1.5"}, settings(Method::DistanceWeightingP1_5)},
                      MethodRow{"idw2", {"--distribute", "idw2"}, settings(Method::DistanceWeightingP2)},
                      // Some new points lie farther than 200 m from every control point.
                      MethodRow{"idw2_radius", {"--distribute=idw2", "--idw-radius", "200"},
                                settings(Method::DistanceWeightingP2, 200.0)},
                      MethodRow{"multiquadric", {"--distribute", "multiquadric"}, settings(Method::Multiquadric)},
                      MethodRow{"multiquadric_delta", {"--distribute", "multiquadric", "--mq-delta", "75,5"},
                                settings(Method::Multiquadric, {}, 75.5)},
                      MethodRow{"triangles", {"--distribute", "triangles"}, settings(Method::Triangles)}),
    [](const ::testing::TestParamInfo<MethodRow>& info) { return std::string(info.param.name); });

// --transform streams its file through the same point transform as -o on ALT: the bytes must
// not differ, bad lines, CR LF and decimal commas included.
TEST(DistributionCliTransform, StreamedFileEqualsTheWholeFileResult) {
  const Job job(200);
  testsupport::TempDir dir;
  std::string oldText = fileText(job.oldPairs, "\r\n") + "kaputt 12x 5\r\n\r\n" + fileText(job.newPoints, "\r\n") +
                        "N999 512,25 633,5\r\nnur ein Wort\r\n";
  testsupport::writeFile(dir.file("alt.asc"), oldText);
  testsupport::writeFile(dir.file("neu.asc"), fileText(job.newPairs));
  for (const std::vector<std::string>& distribute :
       {std::vector<std::string>{}, {"--distribute", "idw2"}, {"--distribute", "triangles"}}) {
    std::vector<std::string> whole = {"alt.asc", "neu.asc", "--pair-by-name", "-o", "whole.erg"};
    std::vector<std::string> streamed = {"alt.asc", "neu.asc", "--pair-by-name", "--transform", "alt.asc",
                                         "-o", "streamed.erg"};
    whole.insert(whole.end(), distribute.begin(), distribute.end());
    streamed.insert(streamed.end(), distribute.begin(), distribute.end());
    const clitest::ProcessResult wholeRun = clitest::runProcess(kCli, whole, dir.path(), "de_DE.UTF-8");
    const clitest::ProcessResult streamedRun = clitest::runProcess(kCli, streamed, dir.path(), "de_DE.UTF-8");
    ASSERT_EQ(wholeRun.exitCode, 0) << wholeRun.err;
    ASSERT_EQ(streamedRun.exitCode, 0) << streamedRun.err;
    const std::string expected = testsupport::readFile(dir.file("whole.erg"));
    EXPECT_EQ(clitest::lines(expected).size(), job.oldPairs.size() + job.newPoints.size() + 1);
    EXPECT_EQ(testsupport::readFile(dir.file("streamed.erg")), expected) << (distribute.empty() ? "" : distribute[1]);
    // Both report the file's two bad lines (and ALT's own, read for the estimate).
    EXPECT_TRUE(clitest::contains(streamedRun.err, "alt.asc:" + std::to_string(job.oldPairs.size() + 1) + ":"));
    EXPECT_TRUE(clitest::contains(streamedRun.out, "Transformierte Datei: alt.asc  (210 Punkte, 2 fehlerhafte Zeilen"));
  }
}

struct UsageRow {
  const char* name;
  std::vector<std::string> arguments;
  const char* message;
};

void PrintTo(const UsageRow& row, std::ostream* out) { *out << row.name; }

class DistributionCliUsage : public ::testing::TestWithParam<UsageRow> {};

TEST_P(DistributionCliUsage, IsRefusedWithExitCodeTwo) {
  testsupport::TempDir dir;
  testsupport::writeFile(dir.file("alt.asc"), "P1 100 100\nP2 200 100\nP3 150 200\n");
  testsupport::writeFile(dir.file("neu.asc"), "P1 101 100\nP2 201 100\nP3 151 200\n");
  const clitest::ProcessResult run = clitest::runProcess(kCli, GetParam().arguments, dir.path());
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_TRUE(clitest::contains(run.err, GetParam().message)) << run.err;
  EXPECT_FALSE(testsupport::fileExists(dir.file("r.erg")));
  EXPECT_FALSE(testsupport::fileExists(dir.file("t.json")));
}

INSTANTIATE_TEST_SUITE_P(
    Refused, DistributionCliUsage,
    ::testing::Values(
        UsageRow{"unknown_method", {"alt.asc", "neu.asc", "--distribute", "idw3"}, "--distribute erwartet idw1"},
        // Guards against distributing Helmert residuals onto an affine result.
        UsageRow{"with_affine_model", {"alt.asc", "neu.asc", "--distribute", "idw2", "--model", "affin", "-o", "r.erg"},
                 "--distribute gibt es nur für das Helmert-Modell, nicht mit --model affine."},
        UsageRow{"transform_with_congruent_model",
                 {"alt.asc", "neu.asc", "--transform", "alt.asc", "--model", "congruent", "-o", "r.erg"},
                 "--transform gibt es nur für das Helmert-Modell"},
        UsageRow{"radius_with_triangles",
                 {"alt.asc", "neu.asc", "--idw-radius", "10", "--distribute", "triangles"},
                 "--idw-radius gilt nur für --distribute idw1, idw1.5 oder idw2."},
        UsageRow{"radius_without_method", {"alt.asc", "neu.asc", "--idw-radius", "10"}, "--idw-radius gilt nur"},
        UsageRow{"radius_zero", {"alt.asc", "neu.asc", "--distribute", "idw1", "--idw-radius", "0"},
                 "--idw-radius erwartet eine Länge über 0"},
        UsageRow{"delta_negative", {"alt.asc", "neu.asc", "--distribute", "multiquadric", "--mq-delta", "-1"},
                 "--mq-delta erwartet eine Länge ab 0"},
        UsageRow{"delta_with_idw", {"alt.asc", "neu.asc", "--distribute", "idw2", "--mq-delta", "5"},
                 "--mq-delta gilt nur für --distribute multiquadric."},
        UsageRow{"with_apply", {"--apply", "0 0 1 0", "alt.asc", "-o", "r.erg", "--distribute", "idw2"},
                 "passen nicht zu --apply"},
        UsageRow{"transform_without_output", {"alt.asc", "neu.asc", "--transform", "alt.asc"},
                 "Mit --transform wird die Ergebnisdatei mit -o ERGEBNIS.erg erwartet."},
        UsageRow{"csv_result", {"alt.asc", "neu.asc", "--distribute", "idw2", "-o", "r.erg", "--output-format", "csv"},
                 "--output-format csv passt nicht zu --distribute"},
        UsageRow{"tinshift_with_idw", {"alt.asc", "neu.asc", "--distribute", "idw2", "--tinshift", "t.json"},
                 "--tinshift setzt --distribute triangles voraus"},
        UsageRow{"proj_without_tinshift", {"alt.asc", "neu.asc", "--distribute", "triangles", "--proj"},
                 "--proj mit --distribute setzt --distribute triangles und --tinshift DATEI.json voraus"},
        UsageRow{"proj_tinshift_blank", {"alt.asc", "neu.asc", "--distribute", "triangles", "--proj", "--tinshift", "t 1.json"},
                 "keine Leerzeichen"},
        // A tinshift file over an input would destroy it.
        UsageRow{"tinshift_over_input", {"alt.asc", "neu.asc", "--distribute", "triangles", "--tinshift", "neu.asc"},
                 "--tinshift neu.asc ist dieselbe Datei wie die Eingabedatei NEU"},
        UsageRow{"output_over_transform_file",
                 {"alt.asc", "neu.asc", "--transform", "r.erg", "-o", "r.erg"},
                 "-o r.erg ist dieselbe Datei wie die Eingabedatei --transform r.erg"}),
    [](const ::testing::TestParamInfo<UsageRow>& info) { return std::string(info.param.name); });

// The section "Restklaffenverteilung" of the HTML protocol (read by xmllint) and of the
// text protocol shows the JSON's figures, rounded to the shown digits.
TEST(DistributionCliProtocol, SectionShowsTheCheckPointAndTheLargestCorrection) {
  const std::string xmllint = TRAMIS_XMLLINT_PATH;
  ASSERT_FALSE(xmllint.empty()) << "xmllint is missing (scripts/install-deps.sh installs it)";
  const Job job(5);
  testsupport::TempDir dir;
  std::vector<NamedPoint> oldFile = job.oldPairs;
  oldFile.insert(oldFile.end(), job.newPoints.begin(), job.newPoints.end());
  testsupport::writeFile(dir.file("alt.asc"), fileText(oldFile));
  testsupport::writeFile(dir.file("neu.asc"), fileText(job.newPairs));
  const std::vector<std::string> arguments = {"alt.asc", "neu.asc", "--pair-by-name", "--exclude", "P9",
                                              "--distribute", "idw2", "--decimal-comma"};
  std::vector<std::string> withReport = arguments;
  withReport.insert(withReport.end(), {"--json", "--report", "r.html"});
  const clitest::ProcessResult jsonRun = clitest::runProcess(kCli, withReport, dir.path());
  ASSERT_EQ(jsonRun.exitCode, 0) << jsonRun.err;
  const nlohmann::json summary = nlohmann::json::parse(jsonRun.out).at("distribution");
  const nlohmann::json& check = summary.at("checkPoints").at(0);
  constexpr double kShownDigit = 0.5e-4;  // four decimals in the protocols

  const clitest::ProcessResult heading =
      clitest::runProcess(xmllint, {"--html", "--xpath", "string(//h2[last()])", "r.html"}, dir.path());
  EXPECT_EQ(heading.out, "Restklaffenverteilung\n");
  const clitest::ProcessResult cells = clitest::runProcess(
      xmllint, {"--html", "--xpath", "//table[@id='checkpoints']/tbody/tr/td/text()", "r.html"}, dir.path());
  const std::vector<std::string> words = clitest::words(cells.out);
  ASSERT_EQ(words.size(), 4u) << cells.out;  // Pkt., Name, RW, HW
  EXPECT_EQ(words[0], "9");
  EXPECT_EQ(words[1], "P9");
  auto shown = [](std::string text) {
    std::replace(text.begin(), text.end(), ',', '.');
    return number(text);
  };
  EXPECT_NEAR(shown(words[2]), check.at("RW").get<double>(), kShownDigit);
  EXPECT_NEAR(shown(words[3]), check.at("HW").get<double>(), kShownDigit);

  const clitest::ProcessResult textRun = clitest::runProcess(kCli, arguments, dir.path());
  ASSERT_EQ(textRun.exitCode, 0) << textRun.err;
  const std::string section = textRun.out.substr(textRun.out.find("\nRestklaffenverteilung\n"));
  EXPECT_TRUE(clitest::contains(section, "Verfahren: Gewichtung 1/s²")) << section;
  const std::string lead = "Größte Verbesserung: ";
  const std::size_t at = section.find(lead);
  ASSERT_NE(at, std::string::npos) << section;
  const std::vector<std::string> largest = clitest::words(section.substr(at + lead.size(), section.find('\n', at) - at - lead.size()));
  ASSERT_EQ(largest.size(), 3u);
  EXPECT_NEAR(shown(largest[0]), summary.at("largestCorrection").at("length").get<double>(), kShownDigit);
  EXPECT_EQ(largest[2], "(" + summary.at("largestCorrection").at("name").get<std::string>() + ")");
}

// Two control points at one old position with different residuals: no continuous correction
// ends at both, so the run fails with the reason and writes nothing.
TEST(DistributionCliFailure, CoincidentControlPointsAreRefused) {
  testsupport::TempDir dir;
  testsupport::writeFile(dir.file("alt.asc"), "P1 100 100\nP2 300 100\nP3 200 300\nP4 300 100\n");
  testsupport::writeFile(dir.file("neu.asc"), "P1 101 100\nP2 301 100.02\nP3 201 300\nP4 301 99.98\n");
  const clitest::ProcessResult run = clitest::runProcess(
      kCli, {"alt.asc", "neu.asc", "--distribute", "idw2", "-o", "r.erg", "--json"}, dir.path());
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(clitest::contains(run.err, "die Paßpunkte 2 (P2) und 4 (P4) liegen im Altsystem an derselben Stelle"))
      << run.err;
  EXPECT_EQ(nlohmann::json::parse(run.out).at("status"), "distributionFailed");
  EXPECT_FALSE(testsupport::fileExists(dir.file("r.erg")));
}

// PROJ applies the printed pipeline with the tinshift file to 10,000 random points inside
// the triangles and lands on tramis-cli's own corrected result.
TEST(DistributionCliTinshift, CctGivesTheCorrectedResultInsideTheHull) {
  if (kCct.empty() || ::access(kCct.c_str(), X_OK) != 0) GTEST_SKIP() << "cct is not installed";
  // Inside the jittered grid's inner square, so inside every triangulation of it.
  const Job job(10000, 200, 800);
  testsupport::TempDir dir;
  testsupport::writeFile(dir.file("alt.asc"), fileText(job.oldPairs));
  testsupport::writeFile(dir.file("neu.asc"), fileText(job.newPairs));
  testsupport::writeFile(dir.file("punkte.asc"), fileText(job.newPoints));
  const clitest::ProcessResult run = clitest::runProcess(
      kCli, {"alt.asc", "neu.asc", "--distribute", "triangles", "--tinshift", dir.file("shift.json"), "--proj",
             "--transform", "punkte.asc", "-o", "r.erg"},
      dir.path());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::vector<std::string> pipeline = clitest::words(clitest::lines(run.out).at(0));
  ASSERT_EQ(pipeline.front(), "+proj=pipeline");
  EXPECT_EQ(pipeline.back(), "+file=" + dir.file("shift.json"));

  std::string input;
  for (const NamedPoint& p : job.newPoints) input += text(p.rw) + " " + text(p.hw) + " 0 0\n";
  testsupport::writeFile(dir.file("in.txt"), input);
  std::vector<std::string> cctArguments = {"-d", "9"};
  cctArguments.insert(cctArguments.end(), pipeline.begin(), pipeline.end());
  cctArguments.push_back(dir.file("in.txt"));
  const clitest::ProcessResult cct = clitest::runProcess(kCct, cctArguments, dir.path());
  ASSERT_EQ(cct.exitCode, 0) << cct.err;
  const std::vector<std::string> cctLines = clitest::lines(cct.out);
  ASSERT_EQ(cctLines.size(), job.newPoints.size()) << cct.out.substr(0, 500);

  const auto result = resultPoints(dir.file("r.erg"));
  ASSERT_EQ(result.size(), job.newPoints.size());
  double worst = 0;
  for (std::size_t i = 0; i < job.newPoints.size(); ++i) {
    const std::vector<std::string> words = clitest::words(cctLines[i]);
    ASSERT_GE(words.size(), 2u) << cctLines[i];
    const auto [rw, hw] = result.at(job.newPoints[i].name);
    worst = std::max({worst, std::abs(number(words[0]) - rw), std::abs(number(words[1]) - hw)});
  }
  EXPECT_LT(worst, kTenthMillimetre);
}

}  // namespace
