// Tests of tramis-cli's --model on the built program, for each of the three models: the
// protocol names the model and compares all three, JSON carries the model's parameters and
// the comparison (read with nlohmann-json), the result file holds the points transformed
// with the model's estimate, cct runs the --proj operation to the same points, and the
// option's usage errors.
#include <gtest/gtest.h>

#include "CliRunner.h"
#include "ModelFit.h"
#include "ResultFile.h"
#include "TestFiles.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <cmath>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace clitest;
using models::Model;

constexpr double kMicrometre = 1e-6;
// The result file holds 11 significant digits: a tenth of a millimetre at these coordinates.
constexpr double kResultDigit = 1e-4;

const std::string kCct = TRAMIS_CCT_PATH;

std::string full(double value) {
  char text[32];
  return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

// Twelve pairs over 800 m in Gauß-Krüger-sized coordinates, mapped with scales 1.0003 along
// rw and 1.00002 along hw, a turn and a shift, with millimetres of fixed "noise": clearly
// affine, so the comparison prefers the affine model over Helmert.
class ModelCliTest : public ::testing::Test {
protected:
  void SetUp() override {
    const double noise[12][2] = {{1.2, -0.8}, {-0.5, 1.9}, {2.1, 0.3}, {-1.7, -1.1}, {0.4, 2.2}, {-2.0, 0.6},
                                 {1.1, -1.9}, {-0.3, -0.4}, {0.9, 1.4}, {-1.2, 0.1}, {1.6, -1.5}, {-0.6, 0.9}};
    const double d = 0.35 * M_PI / 200;
    std::string oldFile, newFile;
    for (int i = 0; i < 12; ++i) {
      const double rw = 3511700.0 + 61.25 * i + 230.0 * (i % 3), hw = 5802500.0 + 97.5 * (i % 5) + 140.0 * (i / 4);
      const double y = rw - 3512000, x = hw - 5803000;
      const double RW = 3524600 + 1.0003 * std::cos(d) * y + 1.00002 * std::sin(d) * x + noise[i][0] * 1e-3;
      const double HW = 5795400 - 1.0003 * std::sin(d) * y + 1.00002 * std::cos(d) * x + noise[i][1] * 1e-3;
      oldPoints.rw.push_back(rw);
      oldPoints.hw.push_back(hw);
      newPoints.rw.push_back(RW);
      newPoints.hw.push_back(HW);
      const std::string name = "P" + std::to_string(i + 1);
      oldFile += name + " " + full(rw) + " " + full(hw) + "\n";
      newFile += name + " " + full(RW) + " " + full(HW) + "\n";
    }
    testsupport::writeFile(dir.file("alt.txt"), oldFile);
    testsupport::writeFile(dir.file("neu.txt"), newFile);
  }
  ProcessResult run(const std::vector<std::string>& arguments) { return runProcess(TRAMIS_CLI_PATH, arguments, dir.path()); }

  // The pairs as read back from the files (the decimal text is the same as above).
  PointList oldPoints, newPoints;
  testsupport::TempDir dir;
};

struct ModelCase {
  const char* option;  // as typed after --model
  Model model;
  const char* key;
  const char* headLine;        // the protocol's first line
  const char* parameterLabel;  // a label only this model's parameters have
};

const ModelCase kModels[] = {
    {"kongruent", Model::Congruent, "congruent", "Kongruenztransformation (3 Parameter, Maßstab 1) Alt -> Neu", "Maßstab 1 (fest)"},
    {"helmert", Model::Helmert, "helmert", "Helmert-Transformation Alt -> Neu", "m - 1 ="},
    {"affin", Model::Affine, "affine", "Affintransformation (6 Parameter) Alt -> Neu", "Scherung"},
};

// The numbers of each line of a result file or of cct's output: the first two after
// `skip` words.
std::vector<std::pair<double, double>> coordinates(const std::string& text, std::size_t skip) {
  std::vector<std::pair<double, double>> points;
  for (const std::string& line : lines(text)) {
    const std::vector<std::string> w = words(line);
    if (w.size() >= skip + 2) points.emplace_back(std::stod(w[skip]), std::stod(w[skip + 1]));
  }
  return points;
}

TEST_F(ModelCliTest, EachModelIsEstimatedShownWrittenAndAppliedByCct) {
  const bool cctInstalled = !kCct.empty() && ::access(kCct.c_str(), X_OK) == 0;
  for (const ModelCase& c : kModels) {
    SCOPED_TRACE(c.option);
    const models::ModelFit fit = models::fitModel(c.model, oldPoints, newPoints, {});
    ASSERT_TRUE(fit.succeeded());

    const ProcessResult protocol = run({"--decimal-comma", "--model", c.option, "alt.txt", "neu.txt", "-o", "erg.erg"});
    ASSERT_EQ(protocol.exitCode, 0) << protocol.err;
    EXPECT_EQ(lines(protocol.out).at(0), c.headLine);
    EXPECT_TRUE(contains(protocol.out, c.parameterLabel)) << protocol.out;
    EXPECT_TRUE(contains(protocol.out, "Redundanz 2n - " + std::to_string(models::parameterCount(c.model)) + " = " +
                                           std::to_string(24 - models::parameterCount(c.model))));
    EXPECT_TRUE(contains(protocol.out, "\nModellvergleich (α = 0,1 %)\n")) << protocol.out;
    EXPECT_TRUE(contains(protocol.out, "\nDas affine Modell ist signifikant besser als Helmert (F = ")) << protocol.out;
    EXPECT_TRUE(contains(protocol.out, "\nDie Daten stützen das affine Modell (α = 0,1 %).\n"));

    // The result file: every point transformed with the model's own estimate.
    const std::string written = testsupport::readFile(dir.file("erg.erg"));
    std::string expected;
    for (std::size_t i = 0; i < oldPoints.count(); ++i) {
      if (i != 0) expected += "\r\n";
      const output::ResultPoint p = output::transformedPoint(oldPoints.rw[i], oldPoints.hw[i], fit.transformation);
      output::appendResultLine(expected, "P" + std::to_string(i + 1), p.rw, p.hw);
    }
    EXPECT_EQ(written, expected);

    const ProcessResult json = run({"--model", c.option, "--json", "alt.txt", "neu.txt"});
    ASSERT_EQ(json.exitCode, 0) << json.err;
    const nlohmann::json document = nlohmann::json::parse(json.out);
    EXPECT_EQ(document["model"], c.key);
    EXPECT_EQ(document["redundancy"], 24 - models::parameterCount(c.model));
    EXPECT_NEAR(document["So"].get<double>(), fit.So, 1e-12);
    const nlohmann::json& parameters = document["parameters"];
    EXPECT_NEAR(parameters["Yo"].get<double>(), static_cast<double>(fit.transformation.Yo), kMicrometre);
    if (c.model == Model::Affine) {
      EXPECT_EQ(parameters["b1"].get<double>(), static_cast<double>(fit.transformation.b1));
      EXPECT_NEAR(document["mRW"].get<double>(), 1.0003, 1e-5);
      EXPECT_NEAR(document["mHW"].get<double>(), 1.00002, 1e-5);
    } else {
      EXPECT_EQ(parameters["o"].get<double>(), static_cast<double>(fit.transformation.a2));
    }
    const nlohmann::json& comparison = document["modelComparison"];
    EXPECT_EQ(comparison["models"]["congruent"]["f"], 21);
    EXPECT_EQ(comparison["models"]["helmert"]["f"], 20);
    EXPECT_EQ(comparison["models"]["affine"]["f"], 18);
    const nlohmann::json& affineTest = comparison["tests"][1];
    EXPECT_EQ(affineTest["richer"], "affine");
    EXPECT_EQ(affineTest["dof"], nlohmann::json::array({2, 18}));
    EXPECT_GT(affineTest["F"].get<double>(), affineTest["k"].get<double>());
    EXPECT_EQ(affineTest["significant"], true);
    EXPECT_EQ(comparison["preferred"], "affine");
    const ProcessResult proj = run({"--model", c.option, "--proj", "alt.txt", "neu.txt"});
    ASSERT_EQ(proj.exitCode, 0) << proj.err;
    EXPECT_EQ(document["proj"].get<std::string>() + "\n", proj.out);
    EXPECT_TRUE(proj.out.starts_with(c.model == Model::Affine ? "+proj=affine " : "+proj=helmert ")) << proj.out;

    // PROJ's cct applies the printed operation to the old points: it lands on the model's
    // transform to a micrometre and on the result file to its last digit.
    if (!cctInstalled) continue;
    std::string bare;
    for (std::size_t i = 0; i < oldPoints.count(); ++i) bare += full(oldPoints.rw[i]) + " " + full(oldPoints.hw[i]) + "\n";
    testsupport::writeFile(dir.file("alt-bare.txt"), bare);
    std::vector<std::string> cctArguments = words(proj.out + " alt-bare.txt");
    cctArguments.insert(cctArguments.begin(), {"-d", "10", "-z", "0", "-t", "0"});
    const ProcessResult cct = runProcess(kCct, cctArguments, dir.path());
    ASSERT_EQ(cct.exitCode, 0) << cct.err;
    const auto applied = coordinates(cct.out, 0);
    const auto inFile = coordinates(written, 1);
    ASSERT_EQ(applied.size(), oldPoints.count()) << cct.out;
    ASSERT_EQ(inFile.size(), oldPoints.count());
    for (std::size_t i = 0; i < applied.size(); ++i) {
      const double RW = static_cast<double>(fit.transformation.transformRW(oldPoints.rw[i], oldPoints.hw[i]));
      const double HW = static_cast<double>(fit.transformation.transformHW(oldPoints.rw[i], oldPoints.hw[i]));
      EXPECT_NEAR(applied[i].first, RW, kMicrometre) << i;
      EXPECT_NEAR(applied[i].second, HW, kMicrometre) << i;
      EXPECT_NEAR(applied[i].first, inFile[i].first, kResultDigit) << i;
      EXPECT_NEAR(applied[i].second, inFile[i].second, kResultDigit) << i;
    }
  }
}

// Guards against --model helmert changing anything but adding the comparison: the result
// file is the same bytes as without the option, and without it there is no comparison.
TEST_F(ModelCliTest, HelmertByDefaultAndByNameWriteTheSameResult) {
  ASSERT_EQ(run({"alt.txt", "neu.txt", "-o", "ohne.erg"}).exitCode, 0);
  ASSERT_EQ(run({"--model=Helmert", "alt.txt", "neu.txt", "-o", "mit.erg"}).exitCode, 0);
  EXPECT_EQ(testsupport::readFile(dir.file("ohne.erg")), testsupport::readFile(dir.file("mit.erg")));
  const ProcessResult plain = run({"alt.txt", "neu.txt"});
  EXPECT_FALSE(contains(plain.out, "Modellvergleich"));
  const ProcessResult json = run({"--json", "alt.txt", "neu.txt"});
  EXPECT_FALSE(contains(json.out, "\"model"));
}

TEST_F(ModelCliTest, AffineOnPointsOnALineIsRefused) {
  testsupport::writeFile(dir.file("linie-alt.txt"), "0 0\n10 5\n20 10\n30 15\n");
  testsupport::writeFile(dir.file("linie-neu.txt"), "1 2\n11 7\n21 12.01\n31 17\n");
  const ProcessResult result = run({"--model", "affin", "linie-alt.txt", "linie-neu.txt", "-o", "linie.erg"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_TRUE(contains(result.err, "Die aktiven Paßpunkte liegen auf einer Geraden: das affine Modell ist damit nicht bestimmbar."))
      << result.err;
  EXPECT_FALSE(testsupport::fileExists(dir.file("linie.erg")));
}

// Guards against an HTML protocol that names Helmert while the run estimated another model:
// it shows the model, its formula and the comparison of the three, and parses as HTML.
TEST_F(ModelCliTest, ReportShowsTheChosenModel) {
  const ProcessResult result = run({"--model", "affin", "--report", "r.html", "alt.txt", "neu.txt"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const ProcessResult text = runProcess(TRAMIS_XMLLINT_PATH, {"--html", "--xpath", "string(/html/body)", "r.html"}, dir.path());
  ASSERT_EQ(text.exitCode, 0) << text.err;
  EXPECT_TRUE(contains(text.out, "Affintransformation (6 Parameter)")) << text.out;
  EXPECT_TRUE(contains(text.out, "RW = Yo + a1·rw + a2·hw")) << text.out;
  EXPECT_TRUE(contains(text.out, "Modellvergleich")) << text.out;
}

TEST_F(ModelCliTest, UsageErrors) {
  const struct {
    std::vector<std::string> arguments;
    const char* message;
  } cases[] = {
      {{"--model", "quadratisch", "alt.txt", "neu.txt"},
       "--model erwartet kongruent, helmert oder affin (congruent, affine), erhalten: \"quadratisch\"."},
      {{"--model", "affin", "--model", "helmert", "alt.txt", "neu.txt"}, "Option --model darf nur einmal angegeben werden."},
      {{"--model", "affin", "--apply", "0 0 1 0", "alt.txt", "-o", "x.erg"}, "--model passt nicht zu --apply"},
  };
  for (const auto& c : cases) {
    const ProcessResult result = run(c.arguments);
    EXPECT_EQ(result.exitCode, 2) << c.message;
    EXPECT_TRUE(contains(result.err, c.message)) << result.err;
    EXPECT_EQ(result.out, "");
  }
}

}  // namespace
