// Tests of the built tramis-cli, run as a process: the protocol of the worked example,
// decimal separators, JSON, --apply, pairing diagnostics, exit codes, and the PROJ operation
// checked against PROJ's own cct.
#include <gtest/gtest.h>

#include "CliRunner.h"
#include "TestFiles.h"

#include <charconv>
#include <cmath>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace clitest;

constexpr double kMicrometre = 1e-6;

const std::string kCct = TRAMIS_CCT_PATH;

// Old (0,0), (10,0), (0,10); new (100,200), (110,200), (100,210.03): the window's example.
// The named files hold the same points; the new one lists them in another order and each
// file has one point the other lacks.
class CliTest : public ::testing::Test {
protected:
  void SetUp() override {
    write("alt.txt", "0 0\n10 0\n0 10\n");
    write("neu.txt", "100 200\n110 200\n100 210.03\n");
    write("alt-named.txt", "P1 0 0\nP2 10 0\nP3 0 10\nP9 5 5\n");
    write("neu-named.txt", "P1 100 200\nP3 100 210.03\nP2 110 200\nP8 1 1\n");
  }
  void write(const std::string& name, const std::string& content) {
    testsupport::writeFile(dir.file(name), content);
  }
  ProcessResult run(const std::vector<std::string>& arguments, const std::string& locale = "") {
    return runProcess(TRAMIS_CLI_PATH, arguments, dir.path(), locale);
  }
  testsupport::TempDir dir;
};

// Whether `out` has a line whose blank-separated words are those of `expected`: the column
// widths are the window's business, the texts and values are compared here.
bool hasLine(const std::string& out, const std::string& expected) {
  for (const std::string& line : lines(out))
    if (words(line) == words(expected)) return true;
  return false;
}

// The worked example's protocol, and its decimal separator: the locale chooses it unless an
// option overrides it. The files use decimal points whatever the locale.
TEST_F(CliTest, ProtocolShowsTheWindowsTextsWithTheChosenSeparator) {
  const bool german = testsupport::ScopedLocale(testsupport::kGermanLocale).ok();
  const struct {
    std::string locale;  // empty: C
    std::vector<std::string> arguments;
    std::vector<const char*> shown;
  } cases[] = {
      {"", {"--decimal-comma", "alt.txt", "neu.txt", "-o", "erg.erg"},
       {"Xo = 200,0075", "a = 1,0015000000", "d = 0,0476749616 gon", "So = 0,0106", "1 0,0075 -0,0075",
        "Summe 0,0000 0,0000", "Ergebnisdatei: erg.erg (3 Punkte transformiert)"}},
      {"", {"alt.txt", "neu.txt"}, {"Xo = 200.0075", "So = 0.0106"}},
      {testsupport::kGermanLocale, {"alt.txt", "neu.txt"}, {"Xo = 200,0075", "So = 0,0106"}},
      {testsupport::kGermanLocale, {"--decimal-point", "alt.txt", "neu.txt"}, {"Xo = 200.0075"}}};
  for (const auto& c : cases) {
    if (!c.locale.empty() && !german) continue;
    const ProcessResult result = run(c.arguments, c.locale);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");
    for (const char* line : c.shown)
      EXPECT_TRUE(hasLine(result.out, line)) << c.locale << " " << line << "\n" << result.out;
  }
  if (!german) GTEST_SKIP() << testsupport::kGermanLocale << " is not installed";
}

// Names with a quote, a backslash and a Windows-1252 umlaut (0xFC) are escaped. (The values
// at full precision: PointFilesCliTest's worked example.)
TEST_F(CliTest, JsonCarriesEscapedNames) {
  write("alt-odd.txt", "A\"1 0 0\nB\\2 10 0\nM\xFC" "3 0 10\n");
  write("neu-odd.txt", "N1 100 200\nN2 110 200\nN3 100 210.03\n");
  const ProcessResult result = run({"--json", "alt-odd.txt", "neu-odd.txt"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::string& json = result.out;
  EXPECT_TRUE(contains(json, "\"oldName\": \"A\\\"1\", \"newName\": \"N1\""));
  EXPECT_TRUE(contains(json, "\"oldName\": \"B\\\\2\", \"newName\": \"N2\""));
  EXPECT_TRUE(contains(json, "\"oldName\": \"M\xC3\xBC" "3\""));
  EXPECT_EQ(jsonNumber(json, "nameMismatches"), 3);
}

TEST_F(CliTest, ApplyTransformsWithKnownParametersWithoutEstimating) {
  // Xo 10.5, Yo -3, a 0, o 1 (100 gon): RW = -3 + hw, HW = 10.5 - rw.
  write("apply.txt", "P1 1 0\nP2 0 2\n");
  const ProcessResult result =
      run({"--apply", "10,5 -3 0 1", "apply.txt", "-o", "apply.erg", "--decimal-point"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(testsupport::readFile(dir.file("apply.erg")),
            " P1\t -3             \t 9.5            \r\n"
            " P2\t -1             \t 10.5           ");
  EXPECT_TRUE(hasLine(result.out, "d = 100.0000000000 gon")) << result.out;
  EXPECT_FALSE(contains(result.out, "Verbesserungen")) << "nothing was estimated";

  // Guards against "(1 Punkte transformiert)".
  write("one.txt", "P1 1 0\n");
  const ProcessResult one = run({"--apply", "0 0 1 0", "one.txt", "-o", "one.erg"});
  EXPECT_TRUE(hasLine(one.out, "Ergebnisdatei: one.erg (1 Punkt transformiert)")) << one.out;
}

TEST_F(CliTest, DifferingNamesInPositionPairsAreWarnedAbout) {
  const ProcessResult result = run({"alt-named.txt", "neu-named.txt"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(contains(result.err, "Paar 2: Altsystem \"P2\", Neusystem \"P3\"")) << result.err;
  EXPECT_TRUE(contains(result.err, "Paar 4: Altsystem \"P9\", Neusystem \"P8\""));
  EXPECT_FALSE(contains(result.err, "Paar 1:"));

  // Beyond twenty, the warnings are counted instead of listed.
  std::string oldFile, newFile;
  for (int i = 0; i < 50; ++i) {
    const std::string coordinates = " " + std::to_string(i) + " " + std::to_string(i % 7) + "\n";
    oldFile += "A" + std::to_string(i) + coordinates;
    newFile += "B" + std::to_string(i) + coordinates;
  }
  write("many-old.txt", oldFile);
  write("many-new.txt", newFile);
  const ProcessResult many = run({"many-old.txt", "many-new.txt"});
  EXPECT_FALSE(contains(many.err, "Paar 21:")) << many.err;
  EXPECT_TRUE(contains(many.err, "30 weitere Paare"));
  EXPECT_TRUE(contains(many.out, "(50 Paare mit verschiedenen Namen)"));
}

TEST_F(CliTest, PairByNameFindsThePairsAndListsUnmatchedNames) {
  const ProcessResult result = run({"--pair-by-name", "alt-named.txt", "neu-named.txt"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  // Paired by position, the third residual row would not be P3's.
  EXPECT_TRUE(hasLine(result.out, "3 0.0000 0.0075 P3")) << result.out;
  EXPECT_TRUE(contains(result.err, "nur im Altsystem (1): P9")) << result.err;
  EXPECT_TRUE(contains(result.err, "nur im Neusystem (1): P8"));
  EXPECT_FALSE(contains(result.err, "Warnung"));
}

// 0: done, 2: the command line is wrong, 1: the data or a file is. A failed run never
// leaves the result file it was asked for.
TEST_F(CliTest, ExitCodeMatchesTheKindOfProblem) {
  write("bad.txt", "0 0\nPunkt RW HW\n10 0\n0 10\n");
  write("one.txt", "0 0\n");
  write("dup.txt", "P1 0 0\nP2 10 0\nP1 0 10\n");
  const std::string out = "out.erg";
  // Arguments, exit code, and a text on standard output or error.
  const std::tuple<std::vector<std::string>, int, const char*> cases[] = {
      {{"--help"}, 0, "Version " TRAMIS_FILE_VERSION "\n"},
      {{"bad.txt", "neu.txt"}, 0, "bad.txt:2:\nEs trat ein Problem in folgender Datei auf:"},
      {{}, 2, "Zwei Koordinatendateien ALT und NEU werden erwartet."},
      {{"--fast", "alt.txt", "neu.txt"}, 2, "Unbekannte Option --fast."},
      {{"--json", "--proj", "alt.txt", "neu.txt"}, 2, "schließen einander aus"},
      {{"--apply", "1 2 3 4", "alt.txt"}, 2, "-o ERGEBNIS.erg"},
      {{"missing.txt", "neu.txt", "-o", out}, 1, "File Error: Datei missing.txt kann nicht geöffnet werden."},
      {{"--strict", "bad.txt", "neu.txt", "-o", out}, 1, "bad.txt in Zeile 2 abgebrochen (--strict)."},
      {{"one.txt", "neu.txt", "-o", out}, 1, "Solve Error: Mindestens zwei Paßpunkte sind erforderlich."},
      {{"--json", "one.txt", "neu.txt"}, 1, "\"status\": \"tooFewPairs\""},
      {{"alt.txt", "neu.txt", "-o", "."}, 1, "kann nicht geschrieben werden."},
      {{"--pair-by-name", "alt.txt", "neu-named.txt", "-o", out}, 1, "alt.txt enthält keine Punktnamen"},
      {{"--pair-by-name", "dup.txt", "neu-named.txt", "-o", out}, 1,
       "Punktname \"P1\" kommt in dup.txt mehrfach vor (Punkte 1, 3)."}};
  for (const auto& [arguments, exitCode, shown] : cases) {
    const ProcessResult result = run(arguments);
    SCOPED_TRACE(shown);
    EXPECT_EQ(result.exitCode, exitCode) << result.err;
    EXPECT_TRUE(contains(result.out + result.err, shown)) << result.out << result.err;
    EXPECT_FALSE(testsupport::fileExists(dir.file(out)));
  }
}

std::string full(double value) {
  char text[32];
  return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

// Gauss-Krueger-sized coordinates and their exact images under a turn of 150 gon (positive
// turns clockwise, as d does; a is negative there), a scale and a shift: the estimate
// reproduces them to far below a micrometre, so cct with the printed operation must land
// on the new points.
TEST_F(CliTest, CctReproducesTheEstimatedTransformation) {
  if (kCct.empty() || ::access(kCct.c_str(), X_OK) != 0) GTEST_SKIP() << "cct is not installed";
  const double a = 1.0015 * std::cos(150 * M_PI / 200), o = 1.0015 * std::sin(150 * M_PI / 200);
  std::string oldFile, newFile;
  std::vector<std::pair<double, double>> expected;
  for (int i = 0; i < 12; ++i) {
    const double rw = 3500000.0 + 173.25 * i + 41.5 * (i % 3);
    const double hw = 5800000.0 + 97.75 * (i % 5) - 211.0 * (i / 4);
    const auto& [RW, HW] = expected.emplace_back(-120.5 + a * rw + o * hw, 240.25 + a * hw - o * rw);
    oldFile += full(rw) + " " + full(hw) + "\n";
    newFile += full(RW) + " " + full(HW) + "\n";
  }
  write("gk-old.txt", oldFile);
  write("gk-new.txt", newFile);

  const ProcessResult proj = run({"--proj", "gk-old.txt", "gk-new.txt"});
  ASSERT_EQ(proj.exitCode, 0) << proj.err;
  ASSERT_EQ(lines(proj.out).size(), 1u) << proj.out;
  std::vector<std::string> cctArguments = words(proj.out + " gk-old.txt");
  cctArguments.insert(cctArguments.begin(), {"-d", "10", "-c", "1,2", "-z", "0", "-t", "0"});
  const ProcessResult cct = clitest::runProcess(kCct, cctArguments, dir.path());
  ASSERT_EQ(cct.exitCode, 0) << cct.err;
  const std::vector<std::string> cctLines = lines(cct.out);
  ASSERT_EQ(cctLines.size(), expected.size()) << cct.out;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const std::vector<std::string> got = words(cctLines[i]);
    ASSERT_GE(got.size(), 2u) << cctLines[i];
    EXPECT_NEAR(std::stod(got[0]), expected[i].first, kMicrometre) << "point " << i;
    EXPECT_NEAR(std::stod(got[1]), expected[i].second, kMicrometre) << "point " << i;
  }
}

}  // namespace
