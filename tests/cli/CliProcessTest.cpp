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

using clitest::lines;
using clitest::ProcessResult;
using clitest::words;

constexpr double kMicrometre = 1e-6;
constexpr double kTenthMillimetre = 1e-4;

const std::string kCli = TRAMIS_CLI_PATH;
const std::string kCct = TRAMIS_CCT_PATH;

// Old (0,0), (10,0), (0,10); new (100,200), (110,200), (100,210.03): the window's example.
constexpr const char* kWorkedOld = "0 0\n10 0\n0 10\n";
constexpr const char* kWorkedNew = "100 200\n110 200\n100 210.03\n";
// The same points with names; the new file lists them in another order and each file has
// one point the other lacks.
constexpr const char* kNamedOld = "P1 0 0\nP2 10 0\nP3 0 10\nP9 5 5\n";
constexpr const char* kNamedNew = "P1 100 200\nP3 100 210.03\nP2 110 200\nP8 1 1\n";

class CliTest : public ::testing::Test {
protected:
  void SetUp() override {
    write("alt.txt", kWorkedOld);
    write("neu.txt", kWorkedNew);
    write("alt-named.txt", kNamedOld);
    write("neu-named.txt", kNamedNew);
  }

  void write(const std::string& name, const std::string& content) {
    testsupport::writeFile(dir.file(name), content);
  }

  ProcessResult run(const std::vector<std::string>& arguments, const std::string& locale = "") {
    return clitest::runProcess(kCli, arguments, dir.path(), locale);
  }

  testsupport::TempDir dir;
};

// The value after "=" on the first protocol line that starts with `label`.
std::string protocolValue(const std::string& out, const std::string& label) {
  for (const std::string& line : lines(out)) {
    const std::vector<std::string> w = words(line);
    if (w.size() >= 3 && w[0] == label && w[1] == "=") return w[2];
  }
  return "<" + label + " missing>";
}

// The rows of the residual table below "Pkt. RW HW", up to and including "Summe".
std::vector<std::vector<std::string>> residualRows(const std::string& out) {
  std::vector<std::vector<std::string>> rows;
  bool inTable = false;
  for (const std::string& line : lines(out)) {
    const std::vector<std::string> w = words(line);
    if (!inTable) {
      inTable = w.size() >= 3 && w[0] == "Pkt." && w[1] == "RW" && w[2] == "HW";
      continue;
    }
    rows.push_back(w);
    if (!w.empty() && w[0] == "Summe") break;
  }
  return rows;
}

// The number after "key": in a JSON text (the first occurrence).
double jsonNumber(const std::string& json, const std::string& key) {
  const std::string marker = "\"" + key + "\": ";
  const std::size_t at = json.find(marker);
  if (at == std::string::npos) return NAN;
  double value = NAN;
  const char* start = json.data() + at + marker.size();
  std::from_chars(start, json.data() + json.size(), value);
  return value;
}

std::size_t occurrences(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++count;
  return count;
}

TEST_F(CliTest, WorkedExampleProtocolShowsTheWindowsTexts) {
  const ProcessResult result = run({"--decimal-comma", "alt.txt", "neu.txt"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.err, "");
  const std::string& out = result.out;

  EXPECT_EQ(protocolValue(out, "Xo"), "200,0075");
  EXPECT_EQ(protocolValue(out, "Yo"), "99,9925");
  EXPECT_EQ(protocolValue(out, "a"), "1,0015000000");
  EXPECT_EQ(protocolValue(out, "o"), "0,0007500000");
  EXPECT_EQ(protocolValue(out, "m"), "1,0015002808");
  EXPECT_EQ(protocolValue(out, "d"), "0,0476749616");
  EXPECT_EQ(protocolValue(out, "So"), "0,0106");
  EXPECT_NE(out.find("n = 3, Redundanz 2n - 4 = 2"), std::string::npos) << out;
  EXPECT_NE(out.find("1500,2808 ppm"), std::string::npos) << out;
  EXPECT_NE(out.find("0,0476749616 gon"), std::string::npos) << out;

  EXPECT_NE(out.find("Schwerpunkt der Paßpunkte"), std::string::npos);
  bool oldCentroid = false;
  bool newCentroid = false;
  for (const std::string& line : lines(out)) {
    const std::vector<std::string> w = words(line);
    const std::vector<std::string> oldExpected{"Ausgangssystem", "hw", "=", "3,3333", "rw", "=", "3,3333"};
    const std::vector<std::string> newExpected{"Zielsystem", "hw", "=", "203,3433", "rw", "=", "103,3333"};
    oldCentroid = oldCentroid || w == oldExpected;
    newCentroid = newCentroid || w == newExpected;
  }
  EXPECT_TRUE(oldCentroid) << out;
  EXPECT_TRUE(newCentroid) << out;

  EXPECT_NE(out.find("Verbesserungen Zielsystem"), std::string::npos);
  const std::vector<std::vector<std::string>> expectedRows{{"1", "0,0075", "-0,0075"},
                                                           {"2", "-0,0075", "0,0000"},
                                                           {"3", "0,0000", "0,0075"},
                                                           {"Summe", "0,0000", "0,0000"}};
  EXPECT_EQ(residualRows(out), expectedRows) << out;
}

struct SeparatorCase {
  const char* name;
  std::string locale;  // empty: C
  std::vector<std::string> flags;
  const char* expectedXo;
};

// Test names in listings: the case name, not the bytes of the case.
void PrintTo(const SeparatorCase& c, std::ostream* out) { *out << c.name; }

class DecimalSeparator : public CliTest, public ::testing::WithParamInterface<SeparatorCase> {};

TEST_P(DecimalSeparator, FollowsLocaleUnlessOverridden) {
  const SeparatorCase& c = GetParam();
  if (!c.locale.empty()) {
    const testsupport::ScopedLocale available(c.locale.c_str());
    if (!available.ok()) GTEST_SKIP() << c.locale << " is not installed";
  }
  std::vector<std::string> arguments = c.flags;
  arguments.insert(arguments.end(), {"alt.txt", "neu.txt"});
  const ProcessResult result = run(arguments, c.locale);
  ASSERT_EQ(result.exitCode, 0) << result.err;
  // The files use decimal points; a German locale must not change how they are read.
  EXPECT_EQ(protocolValue(result.out, "Xo"), c.expectedXo);
}

INSTANTIATE_TEST_SUITE_P(
    Cli, DecimalSeparator,
    ::testing::Values(SeparatorCase{"CLocale", "", {}, "200.0075"},
                      SeparatorCase{"GermanLocale", testsupport::kGermanLocale, {}, "200,0075"},
                      SeparatorCase{"GermanLocaleWithPoint", testsupport::kGermanLocale,
                                    {"--decimal-point"}, "200.0075"},
                      SeparatorCase{"CLocaleWithComma", "", {"--decimal-comma"}, "200,0075"}),
    [](const ::testing::TestParamInfo<SeparatorCase>& info) { return info.param.name; });

TEST_F(CliTest, OutputOptionWritesTheResultFile) {
  const ProcessResult result = run({"alt.txt", "neu.txt", "-o", "erg.erg"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(testsupport::readFile(dir.file("erg.erg")),
            " \t 99.9925        \t 200.0075       \r\n"
            " \t 110.0075       \t 200            \r\n"
            " \t 100            \t 210.0225       ");
  EXPECT_NE(result.out.find("Ergebnisdatei: erg.erg"), std::string::npos) << result.out;
}

TEST_F(CliTest, JsonCarriesFullPrecisionValues) {
  const ProcessResult result = run({"--json", "alt.txt", "neu.txt"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::string& json = result.out;
  EXPECT_NE(json.find("\"status\": \"ok\""), std::string::npos) << json;
  EXPECT_EQ(jsonNumber(json, "n"), 3);
  EXPECT_EQ(jsonNumber(json, "redundancy"), 2);
  EXPECT_NEAR(jsonNumber(json, "Xo"), 200.0075, 1e-12);
  EXPECT_NEAR(jsonNumber(json, "Yo"), 99.9925, 1e-12);
  EXPECT_NEAR(jsonNumber(json, "a"), 1.0015, 1e-15);
  EXPECT_NEAR(jsonNumber(json, "o"), 0.00075, 1e-15);
  EXPECT_NEAR(jsonNumber(json, "m"), std::hypot(1.0015, 0.00075), 1e-15);
  EXPECT_NEAR(jsonNumber(json, "dGon"), std::atan2(0.00075, 1.0015) * 200 / M_PI, 1e-13);
  EXPECT_NEAR(jsonNumber(json, "scalePpm"), (std::hypot(1.0015, 0.00075) - 1) * 1e6, 1e-8);
  // Residuals +-0.0075 on four of six coordinates, redundancy 2: So = sqrt(4 * 0.0075^2 / 2).
  // A value rounded to the protocol's four decimals would miss this by 6.6e-6.
  EXPECT_NEAR(jsonNumber(json, "So"), std::sqrt(4 * 0.0075 * 0.0075 / 2), 1e-15);
  EXPECT_NE(json.find("\"new\": {\"rw\": 103.33333333333333, \"hw\": 203.34333333333333}"),
            std::string::npos)
      << json;
  EXPECT_EQ(occurrences(json, "{\"pkt\": "), 3u);
  // Unnamed files: no name keys in the residuals.
  EXPECT_EQ(json.find("Name\""), std::string::npos);
  EXPECT_NE(json.find("\"resultFile\": null"), std::string::npos);
}

TEST_F(CliTest, JsonNamesBothPointsOfEachResidualAndEscapesThem) {
  // A quote, a backslash and a Windows-1252 umlaut (0xFC) in names.
  write("alt-odd.txt", "A\"1 0 0\nB\\2 10 0\nM\xFC" "3 0 10\n");
  write("neu-odd.txt", "N1 100 200\nN2 110 200\nN3 100 210.03\n");
  const ProcessResult result = run({"--json", "alt-odd.txt", "neu-odd.txt"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_NE(result.out.find("\"oldName\": \"A\\\"1\", \"newName\": \"N1\""), std::string::npos)
      << result.out;
  EXPECT_NE(result.out.find("\"oldName\": \"B\\\\2\", \"newName\": \"N2\""), std::string::npos);
  EXPECT_NE(result.out.find("\"oldName\": \"M\xC3\xBC" "3\""), std::string::npos);
  EXPECT_EQ(jsonNumber(result.out, "nameMismatches"), 3);
}

TEST_F(CliTest, JsonReportsAFailedEstimateWithItsStatus) {
  write("one.txt", "0 0\n");
  const ProcessResult result = run({"--json", "one.txt", "neu.txt"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.out.find("\"status\": \"tooFewPairs\""), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("\"message\": \"Mindestens zwei Paßpunkte sind erforderlich.\""),
            std::string::npos);
  EXPECT_NE(result.out.find("\"solverStatus\": 2"), std::string::npos);
  EXPECT_EQ(result.out.find("\"parameters\""), std::string::npos) << result.out;
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
  EXPECT_EQ(protocolValue(result.out, "m"), "1.0000000000");
  EXPECT_EQ(protocolValue(result.out, "d"), "100.0000000000");
  EXPECT_NE(result.out.find("2 Punkte transformiert"), std::string::npos) << result.out;
  // Nothing was estimated, so there is no So, centroid or residual table.
  EXPECT_EQ(result.out.find("So ="), std::string::npos);
  EXPECT_EQ(result.out.find("Verbesserungen"), std::string::npos);
}

TEST_F(CliTest, ApplyWithTheEstimatedParametersGivesTheEstimatesResultFile) {
  ASSERT_EQ(run({"alt.txt", "neu.txt", "-o", "estimated.erg"}).exitCode, 0);
  const ProcessResult applied =
      run({"--apply", "200.0075 99.9925 1.0015 0.00075", "alt.txt", "-o", "applied.erg"});
  ASSERT_EQ(applied.exitCode, 0) << applied.err;
  EXPECT_EQ(testsupport::readFile(dir.file("applied.erg")),
            testsupport::readFile(dir.file("estimated.erg")));
}

TEST_F(CliTest, DifferingNamesInPositionPairsAreWarnedAbout) {
  const ProcessResult result = run({"alt-named.txt", "neu-named.txt"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_NE(result.err.find("Paar 2: Altsystem \"P2\", Neusystem \"P3\""), std::string::npos)
      << result.err;
  EXPECT_NE(result.err.find("Paar 3: Altsystem \"P3\", Neusystem \"P2\""), std::string::npos);
  EXPECT_NE(result.err.find("Paar 4: Altsystem \"P9\", Neusystem \"P8\""), std::string::npos);
  EXPECT_EQ(result.err.find("Paar 1:"), std::string::npos);
  // Pairing stays by position: the swapped points make a poor fit.
  EXPECT_NE(protocolValue(result.out, "Xo"), "200.0075");
}

TEST_F(CliTest, ManyDifferingNamesAreCountedNotAllListed) {
  std::string oldFile;
  std::string newFile;
  for (int i = 0; i < 50; ++i) {
    oldFile += "A" + std::to_string(i) + " " + std::to_string(i) + " " + std::to_string(i % 7) + "\n";
    newFile += "B" + std::to_string(i) + " " + std::to_string(i) + " " + std::to_string(i % 7) + "\n";
  }
  write("many-old.txt", oldFile);
  write("many-new.txt", newFile);
  const ProcessResult result = run({"many-old.txt", "many-new.txt"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(occurrences(result.err, "Warnung: Paar "), 20u) << result.err;
  EXPECT_NE(result.err.find("30 weitere Paare"), std::string::npos) << result.err;
  EXPECT_NE(result.out.find("(50 Paare mit verschiedenen Namen)"), std::string::npos);
}

TEST_F(CliTest, PairByNameFindsThePairsAndListsUnmatchedNames) {
  const ProcessResult result = run({"--pair-by-name", "alt-named.txt", "neu-named.txt"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(protocolValue(result.out, "Xo"), "200.0075");
  EXPECT_EQ(protocolValue(result.out, "So"), "0.0106");
  EXPECT_NE(result.out.find("n = 3,"), std::string::npos);
  EXPECT_NE(result.err.find("nur im Altsystem (1): P9"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("nur im Neusystem (1): P8"), std::string::npos);
  EXPECT_EQ(result.err.find("Warnung"), std::string::npos);
  const std::vector<std::vector<std::string>> expectedRows{{"1", "0.0075", "-0.0075", "P1"},
                                                           {"2", "-0.0075", "0.0000", "P2"},
                                                           {"3", "0.0000", "0.0075", "P3"},
                                                           {"Summe", "0.0000", "0.0000"}};
  EXPECT_EQ(residualRows(result.out), expectedRows) << result.out;

  const ProcessResult json = run({"--json", "--pair-by-name", "alt-named.txt", "neu-named.txt"});
  EXPECT_NE(json.out.find("\"onlyOld\": [\"P9\"]"), std::string::npos) << json.out;
  EXPECT_NE(json.out.find("\"onlyNew\": [\"P8\"]"), std::string::npos);
  EXPECT_NE(json.out.find("\"oldName\": \"P3\", \"newName\": \"P3\""), std::string::npos);
}

TEST_F(CliTest, PairByNameRefusesDuplicateNames) {
  write("dup.txt", "P1 0 0\nP2 10 0\nP1 0 10\n");
  const ProcessResult result = run({"--pair-by-name", "dup.txt", "neu-named.txt", "-o", "x.erg"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("Punktname \"P1\" kommt in dup.txt mehrfach vor (Punkte 1, 3)."),
            std::string::npos)
      << result.err;
  EXPECT_EQ(result.out, "");
  EXPECT_FALSE(testsupport::fileExists(dir.file("x.erg")));
}

struct ExitCase {
  const char* name;
  std::vector<std::string> arguments;
  int exitCode;
  const char* errContains;
};

// Test names in listings: the case name, not the bytes of the case.
void PrintTo(const ExitCase& c, std::ostream* out) { *out << c.name; }

class ExitCode : public CliTest, public ::testing::WithParamInterface<ExitCase> {};

TEST_P(ExitCode, MatchesTheKindOfProblem) {
  write("bad.txt", "0 0\nPunkt RW HW\n10 0\n0 10\n");
  write("one.txt", "0 0\n");
  write("empty.txt", "");
  write("same.txt", "5 5\n5 5\n5 5\n");
  const ExitCase& c = GetParam();
  const ProcessResult result = run(c.arguments);
  EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
  EXPECT_NE(result.err.find(c.errContains), std::string::npos) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Cli, ExitCode,
    ::testing::Values(
        ExitCase{"NoArguments", {}, 2, "Zwei Koordinatendateien ALT und NEU werden erwartet."},
        ExitCase{"OneFile", {"alt.txt"}, 2, "Aufruf: tramis-cli"},
        ExitCase{"ThreeFiles", {"alt.txt", "neu.txt", "x.txt"}, 2, "Zu viele Dateien"},
        ExitCase{"UnknownOption", {"--fast", "alt.txt", "neu.txt"}, 2, "Unbekannte Option --fast."},
        ExitCase{"OutputWithoutValue", {"alt.txt", "neu.txt", "-o"}, 2, "erwartet einen Wert"},
        ExitCase{"JsonAndProj", {"--json", "--proj", "alt.txt", "neu.txt"}, 2, "schließen einander aus"},
        ExitCase{"BothSeparators", {"--decimal-comma", "--decimal-point", "alt.txt", "neu.txt"}, 2,
                 "schließen einander aus"},
        ExitCase{"ApplyThreeNumbers", {"--apply", "1 2 3", "alt.txt", "-o", "x.erg"}, 2,
                 "--apply erwartet vier Zahlen"},
        ExitCase{"ApplyWithTwoFiles", {"--apply", "1 2 3 4", "alt.txt", "neu.txt", "-o", "x.erg"}, 2,
                 "genau eine Datei"},
        ExitCase{"ApplyWithoutOutput", {"--apply", "1 2 3 4", "alt.txt"}, 2, "-o ERGEBNIS.erg"},
        ExitCase{"MissingFile", {"missing.txt", "neu.txt"}, 1,
                 "File Error: Datei missing.txt kann nicht geöffnet werden."},
        ExitCase{"BadLineIsSkipped", {"bad.txt", "neu.txt"}, 0,
                 "bad.txt:2:\nEs trat ein Problem in folgender Datei auf:\n\n\"bad.txt\"\n\n"
                 "Ein Wert in Zeile 2 ist keine Gleitkommazahl.\n\n\"RW HW\"\n\n"
                 "Soll das Einlesen der Daten fortgesetzt werden ?\n"},
        ExitCase{"BadLineStopsWhenStrict", {"--strict", "bad.txt", "neu.txt"}, 1,
                 "Einlesen von bad.txt in Zeile 2 abgebrochen (--strict)."},
        ExitCase{"OnePair", {"one.txt", "neu.txt"}, 1,
                 "Solve Error: Mindestens zwei Paßpunkte sind erforderlich."},
        ExitCase{"EmptyFile", {"alt.txt", "empty.txt"}, 1,
                 "Solv Error: Berechnung kann nicht durchgeführt werden. Überprüfen Sie den "
                 "Inhalt der Eingabedateien"},
        ExitCase{"CoincidingPoints", {"same.txt", "neu.txt"}, 1,
                 "Division durch Null. Paßpunkte liegen vermutlich aufeinander."},
        ExitCase{"UnwritableResult", {"alt.txt", "neu.txt", "-o", "."}, 1, "kann nicht geschrieben werden."},
        ExitCase{"PairByNameWithoutNames", {"--pair-by-name", "alt.txt", "neu-named.txt"}, 1,
                 "alt.txt enthält keine Punktnamen"}),
    [](const ::testing::TestParamInfo<ExitCase>& info) { return info.param.name; });

TEST_F(CliTest, StrictStopWritesNoResultFile) {
  write("bad.txt", "0 0\nx\n10 0\n0 10\n");
  const ProcessResult result = run({"--strict", "bad.txt", "neu.txt", "-o", "out.erg"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_FALSE(testsupport::fileExists(dir.file("out.erg")));
  EXPECT_EQ(result.out, "");
}

TEST_F(CliTest, CoincidingPointsShowTheCentroidsOnly) {
  write("same.txt", "5 5\n5 5\n5 5\n");
  const ProcessResult result = run({"same.txt", "neu.txt"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.out.find("Ausgangssystem  hw ="), std::string::npos) << result.out;
  EXPECT_EQ(result.out.find("Xo ="), std::string::npos);
  EXPECT_EQ(result.out.find("Summe"), std::string::npos);
}

TEST_F(CliTest, HelpIsGermanAndNamesTheVersion) {
  const ProcessResult result = run({"--help"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_NE(result.out.find("Version " TRAMIS_FILE_VERSION "\n"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("Rückgabewerte"), std::string::npos);
  EXPECT_NE(result.out.find("--pair-by-name"), std::string::npos);
}

// --- The PROJ operation against PROJ's own cct --------------------------------------------

struct ProjCase {
  const char* name;
  double rotationGon;
  double scale;
};

// Test names in listings: the case name, not the bytes of the case.
void PrintTo(const ProjCase& c, std::ostream* out) { *out << c.name; }

class ProjOperation : public CliTest, public ::testing::WithParamInterface<ProjCase> {};

double toDouble(const std::string& text) {
  double value = NAN;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

std::string full(double value) {
  char text[32];
  return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

TEST_P(ProjOperation, CctReproducesTheEstimatedTransformation) {
  if (kCct.empty() || ::access(kCct.c_str(), X_OK) != 0) GTEST_SKIP() << "cct is not installed";
  const ProjCase& c = GetParam();
  // Gauss-Krueger-sized coordinates; the new system turned by rotationGon (positive turns
  // clockwise, as d does), scaled, shifted, and disturbed by a few millimetres so that the
  // estimate is a real adjustment.
  const double a = c.scale * std::cos(c.rotationGon * M_PI / 200);
  const double o = c.scale * std::sin(c.rotationGon * M_PI / 200);
  std::string oldFile;
  std::string newFile;
  std::vector<std::pair<double, double>> oldPoints;
  for (int i = 0; i < 12; ++i) {
    const double rw = 3500000.0 + 173.25 * i + 41.5 * (i % 3);
    const double hw = 5800000.0 + 97.75 * (i % 5) - 211.0 * (i / 4);
    const double noise = 0.003 * ((i * 7) % 5 - 2);
    const double RW = -120.5 + a * rw + o * hw + noise;
    const double HW = 240.25 + a * hw - o * rw - noise;
    oldPoints.emplace_back(rw, hw);
    oldFile += full(rw) + " " + full(hw) + "\n";
    newFile += full(RW) + " " + full(HW) + "\n";
  }
  write("gk-old.txt", oldFile);
  write("gk-new.txt", newFile);

  const ProcessResult json = run({"--json", "gk-old.txt", "gk-new.txt", "-o", "gk.erg"});
  ASSERT_EQ(json.exitCode, 0) << json.err;
  const long double Xo = jsonNumber(json.out, "Xo");
  const long double Yo = jsonNumber(json.out, "Yo");
  const long double ea = jsonNumber(json.out, "a");
  const long double eo = jsonNumber(json.out, "o");
  // The millimetre noise over a few hundred metres moves the estimate by some 1e-4 gon; a
  // turn the wrong way round would be off by twice the rotation.
  constexpr double kRotationToleranceGon = 1e-3;
  EXPECT_NEAR(jsonNumber(json.out, "dGon"), c.rotationGon, kRotationToleranceGon);

  const ProcessResult proj = run({"--proj", "gk-old.txt", "gk-new.txt"});
  ASSERT_EQ(proj.exitCode, 0) << proj.err;
  ASSERT_EQ(lines(proj.out).size(), 1u) << proj.out;
  std::vector<std::string> cctArguments{"-d", "10", "-c", "1,2", "-z", "0", "-t", "0"};
  for (const std::string& word : words(proj.out)) cctArguments.push_back(word);
  cctArguments.push_back("gk-old.txt");
  const ProcessResult cct = clitest::runProcess(kCct, cctArguments, dir.path());
  ASSERT_EQ(cct.exitCode, 0) << cct.err;

  const std::vector<std::string> cctLines = lines(cct.out);
  const std::vector<std::string> resultLines = lines(testsupport::readFile(dir.file("gk.erg")));
  ASSERT_EQ(cctLines.size(), oldPoints.size()) << cct.out;
  ASSERT_EQ(resultLines.size(), oldPoints.size());
  for (std::size_t i = 0; i < oldPoints.size(); ++i) {
    const std::vector<std::string> w = words(cctLines[i]);
    ASSERT_GE(w.size(), 2u) << cctLines[i];
    const double x = toDouble(w[0]);
    const double y = toDouble(w[1]);
    const long double rw = oldPoints[i].first;
    const long double hw = oldPoints[i].second;
    // The model with the estimated parameters at full precision.
    EXPECT_NEAR(x, static_cast<double>(Yo + ea * rw + eo * hw), kMicrometre) << "point " << i;
    EXPECT_NEAR(y, static_cast<double>(Xo + ea * hw - eo * rw), kMicrometre) << "point " << i;
    // The result file carries 11 significant digits: 4 decimals at this size.
    const std::vector<std::string> r = words(resultLines[i]);
    ASSERT_EQ(r.size(), 2u) << resultLines[i];
    EXPECT_NEAR(x, toDouble(r[0]), kTenthMillimetre) << "point " << i;
    EXPECT_NEAR(y, toDouble(r[1]), kTenthMillimetre) << "point " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Cli, ProjOperation,
                         ::testing::Values(ProjCase{"SmallTurn", 0.05, 1.0015},
                                           ProjCase{"SecondQuadrant", 150.0, 0.9998},
                                           ProjCase{"NegativeTurn", -60.0, 1.2}),
                         [](const ::testing::TestParamInfo<ProjCase>& info) {
                           return info.param.name;
                         });

}  // namespace
