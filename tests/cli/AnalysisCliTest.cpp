// Tests of tramis-cli's control-point analysis on the built program: --exclude and --alpha, the point test in the protocol, the JSON fields, and that
// --proj and -o take the parameters of the active pairs.
#include <gtest/gtest.h>

#include "CliRunner.h"
#include "TestFiles.h"

#include <string>
#include <vector>

namespace {

using namespace clitest;

// Eight pairs within a kilometre, residuals of a few millimetres; pair 5 (1005) is moved
// by about 3.6 cm in the new system. "-ohne5" files leave that pair out.
class AnalysisCliTest : public ::testing::Test {
protected:
  void SetUp() override {
    const char* pairs[] = {
        "1001 3511737.9646 5803044.2292 3524266.6222 5795467.2690", "1002 3512125.7203 5802565.5289 3524653.3635 5794987.7649",
        "1003 3511759.3540 5802734.3310 3524287.3629 5795157.3315", "1004 3512336.4615 5802976.3532 3524864.9656 5795398.1357",
        "1005 3512134.8607 5803368.0453 3524664.2209 5795790.2257", "1006 3512171.4115 5802564.0314 3524699.0535 5794986.1706",
        "1007 3511801.2677 5802531.0118 3524328.8482 5794953.9284", "1008 3512218.8239 5803378.8128 3524748.1759 5795800.8374"};
    std::string files[4];  // alt, neu, alt without 1005, neu without 1005
    for (std::size_t i = 0; i < 8; ++i) {
      const std::vector<std::string> w = words(pairs[i]);
      for (std::size_t f = 0; f < 4; ++f)
        if (f < 2 || i != 4) files[f] += w[0] + " " + w[1 + 2 * (f % 2)] + " " + w[2 + 2 * (f % 2)] + "\n";
    }
    const char* names[] = {"alt.txt", "neu.txt", "alt-ohne5.txt", "neu-ohne5.txt"};
    for (std::size_t f = 0; f < 4; ++f) testsupport::writeFile(dir.file(names[f]), files[f]);
  }
  ProcessResult run(const std::vector<std::string>& arguments) { return runProcess(TRAMIS_CLI_PATH, arguments, dir.path()); }
  // The output with the words of each line joined by single blanks: column widths aside.
  static std::string plain(const std::string& out) {
    std::string text;
    for (const std::string& line : lines(out)) {
      for (const std::string& word : words(line)) text += word + " ";
      if (!text.empty()) text.back() = '\n';
    }
    return text;
  }
  testsupport::TempDir dir;
};

TEST_F(AnalysisCliTest, ProtocolFlagsThePlantedBlunderAndOnlyIt) {
  const ProcessResult result = run({"--decimal-comma", "alt.txt", "neu.txt"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::string out = plain(result.out);
  EXPECT_TRUE(contains(out, "\nn = 8 von 8 aktiv, Redundanz 12\n")) << out;
  EXPECT_TRUE(contains(out, "\nPaßpunktanalyse (α = 0,1 %)\n"));
  EXPECT_TRUE(contains(out, "\n5 ja 0,0295 -0,0193 0,0353 0,687 259,03 14,91 Ausreißer 1005\n"
                       "6 ja 0,0022 0,0034 0,0041 0,772 0,07 14,91 1006\n"));
  EXPECT_EQ(out.find("Ausreißer "), out.rfind("Ausreißer ")) << "one outlier only";
  EXPECT_TRUE(contains(out, "\nGrößte Prüfgröße: Punkt 5 (1005), T = 259,03, k = 14,91\n"
                       "Punkt 5 (1005) ist ausreißerverdächtig: T = 259,03 > k = 14,91 (α = 0,1 %).\n"));
}

// Switched off, the blunder is a check point tested with f = 2 n_a - 4; the rest shows
// no outlier at the chosen 5 %. --proj and -o take the parameters of the active pairs.
TEST_F(AnalysisCliTest, ExcludedPairIsACheckPointAndLeavesTheEstimate) {
  const ProcessResult result = run({"--decimal-point", "--alpha", "0,05", "--exclude", "5", "alt.txt", "neu.txt"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::string out = plain(result.out);
  EXPECT_TRUE(contains(out, "\nn = 7 von 8 aktiv, Redundanz 10\n")) << out;
  EXPECT_TRUE(contains(out, "\n5 nein 0.0295 -0.0193 0.0353 – 259.03 4.10 Ausreißer 1005\n"));
  EXPECT_TRUE(contains(out, "\nKein Punkt ist ausreißerverdächtig (α = 5 %).\n"));

  EXPECT_EQ(run({"--proj", "--exclude", "5", "alt.txt", "neu.txt"}).out, run({"--proj", "alt-ohne5.txt", "neu-ohne5.txt"}).out);
  ASSERT_EQ(run({"--pair-by-name", "--exclude", "1005", "alt.txt", "neu.txt", "-o", "a.erg"}).exitCode, 0);
  ASSERT_EQ(run({"--pair-by-name", "alt.txt", "neu-ohne5.txt", "-o", "b.erg"}).exitCode, 0);
  EXPECT_EQ(testsupport::readFile(dir.file("a.erg")), testsupport::readFile(dir.file("b.erg")));
}

TEST_F(AnalysisCliTest, JsonCarriesThePointTestWithNullWhereNotAvailable) {
  const std::string json = run({"--json", "--exclude", "5", "alt.txt", "neu.txt"}).out;
  EXPECT_TRUE(contains(json, "\"n\": 8,\n  \"redundancy\": 10,\n  \"activeCount\": 7,\n  \"suspect\": 2,\n"
                        "  \"alpha\": 0.001,\n")) << json;
  EXPECT_TRUE(contains(json, "\"active\": false, \"r\": null, \"gapRW\": 0.0295"));
  EXPECT_TRUE(contains(json, "\"T\": 259.02584394") && contains(json, "\"dof\": 10, \"critical\": 14.9053585276"));
  EXPECT_TRUE(contains(json, "\"active\": true, \"r\": 0.72682511"));
  const std::string small = run({"--json", "--exclude", "4-8", "alt.txt", "neu.txt"}).out;
  EXPECT_TRUE(contains(small, "\"suspect\": null,")) << small;
  // Three active pairs: r and the gaps are defined, the test is not.
  EXPECT_TRUE(contains(small, "\"active\": true, \"r\": 0.2547565283"));
  EXPECT_TRUE(contains(small, "\"gapHW\": 0.0037589185") && contains(small, "\"T\": null, "
                         "\"dof\": null, \"critical\": null, \"outlier\": false}"));
}

// Guards against a blunder hidden when the other pairs fit exactly: the six pairs of the
// fault report, shifted by (100, 200) but pair 3's rw 5 cm off. Its T is infinite in the
// protocol's table and verdict, and null with "TInfinite" in JSON.
TEST_F(AnalysisCliTest, BlunderAmongExactPairsHasAnInfiniteTest) {
  testsupport::writeFile(dir.file("sechs-alt.txt"), "P1 41 19\nP2 50 83\nP3 6 9\nP4 68 12\nP5 46 74\nP6 7 64\n");
  testsupport::writeFile(dir.file("sechs-neu.txt"),
                         "P1 141 219\nP2 150 283\nP3 106.05 209\nP4 168 212\nP5 146 274\nP6 107 264\n");
  const ProcessResult result = run({"--decimal-comma", "sechs-alt.txt", "sechs-neu.txt"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::string out = plain(result.out);
  EXPECT_TRUE(contains(out, "\n3 ja 0,0500 0,0000 0,0500 0,593 ∞ 27,00 Ausreißer P3\n")) << out;
  EXPECT_TRUE(contains(out, "\nPunkt 3 (P3) ist ausreißerverdächtig: T = ∞ > k = 27,00 (α = 0,1 %).\n")) << out;
  const std::string json = run({"--json", "sechs-alt.txt", "sechs-neu.txt"}).out;
  EXPECT_TRUE(contains(json, "\"suspect\": 3,")) << json;
  EXPECT_TRUE(contains(json, "\"T\": null, \"TInfinite\": true, \"dof\": 6, \"critical\": 27, \"outlier\": true}"));
  EXPECT_EQ(json.find("TInfinite"), json.rfind("TInfinite")) << "pair 3 only";
}

// Guards against a verdict that contradicts the table: the switched-off blunder's row said
// "Ausreißer" while no line named it. The verdict stays about the active pairs.
TEST_F(AnalysisCliTest, FailedCheckPointIsNamedInItsOwnLine) {
  const ProcessResult protocol = run({"--decimal-comma", "--exclude", "5", "alt.txt", "neu.txt"});
  ASSERT_EQ(protocol.exitCode, 0) << protocol.err;
  EXPECT_TRUE(contains(plain(protocol.out), "\nKein Punkt ist ausreißerverdächtig (α = 0,1 %).\n"
                                            "Kontrollpunkt 5 (1005) weicht signifikant ab: T = 259,03 > k = 14,91.\n"))
      << protocol.out;
  EXPECT_TRUE(contains(run({"--json", "--exclude", "5,7", "alt.txt", "neu.txt"}).out, "\"failedCheckPoints\": [5],\n"));
  EXPECT_TRUE(contains(run({"--json", "alt.txt", "neu.txt"}).out, "\"failedCheckPoints\": [],\n"));
  EXPECT_FALSE(contains(run({"--exclude", "7", "alt.txt", "neu.txt"}).out, "weicht signifikant ab"));
}

// Many failed check points: the terminal shows twenty lines and the count of the rest, the
// JSON and the HTML protocol name every one.
TEST_F(AnalysisCliTest, ManyFailedCheckPointsAreCappedOnTheTerminalOnly) {
  // Five pairs fit to a millimetre; 25 more are off by a metre and switched off.
  std::string oldText, newText;
  for (int i = 0; i < 30; ++i) {
    const double rw = 1000 + 37.0 * i, hw = 2000 + 53.0 * (i * 3 % 7);
    const double off = i < 5 ? 0.001 * (i % 3 - 1) : 1.0;
    oldText += "P" + std::to_string(i + 1) + " " + std::to_string(rw) + " " + std::to_string(hw) + "\n";
    newText += "P" + std::to_string(i + 1) + " " + std::to_string(rw + 100 + off) + " " + std::to_string(hw + 200) + "\n";
  }
  testsupport::writeFile(dir.file("viele-alt.txt"), oldText);
  testsupport::writeFile(dir.file("viele-neu.txt"), newText);
  const ProcessResult protocol = run({"--exclude", "6-30", "--report", "viele.html", "viele-alt.txt", "viele-neu.txt"});
  ASSERT_EQ(protocol.exitCode, 0) << protocol.err;
  std::size_t named = 0;
  for (const std::string& line : lines(protocol.out)) named += line.rfind("Kontrollpunkt ", 0) == 0 ? 1 : 0;
  EXPECT_EQ(named, 20u) << protocol.out;
  EXPECT_TRUE(contains(protocol.out, "Kontrollpunkt 25 (P25) weicht signifikant ab"));
  EXPECT_FALSE(contains(protocol.out, "Kontrollpunkt 26 (P26)"));
  EXPECT_TRUE(contains(protocol.out, "\n… und 5 weitere Kontrollpunkte weichen signifikant ab.\n"));

  const std::string html = testsupport::readFile(dir.file("viele.html"));
  for (int pkt = 6; pkt <= 30; ++pkt) {
    const std::string label = std::to_string(pkt) + " (P" + std::to_string(pkt) + ")";
    EXPECT_TRUE(contains(html, "Kontrollpunkt " + label + " weicht signifikant ab")) << label;
  }
  EXPECT_FALSE(contains(html, "weitere Kontrollpunkte"));
  const std::string json = run({"--json", "--exclude", "6-30", "viele-alt.txt", "viele-neu.txt"}).out;
  EXPECT_TRUE(contains(json, "\"failedCheckPoints\": [6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, "
                             "22, 23, 24, 25, 26, 27, 28, 29, 30],"))
      << json;
}

// Each kind of refusal once, with its exit code; the texts of every --exclude list and of
// options given twice are ExclusionTest's and OptionsTest's.
TEST_F(AnalysisCliTest, UsageErrorsAndTooFewActivePairs) {
  const struct {
    std::vector<std::string> arguments;
    int exitCode;
    const char* message;
  } table[] = {
      {{"--exclude", "9", "alt.txt", "neu.txt"}, 2, "--exclude: Pkt. 9 gibt es nicht (Paßpunkte 1 bis 8)."},
      {{"--exclude", "0", "alt.txt", "neu.txt"}, 2, "--exclude erwartet Nummern und Bereiche"},
      {{"--pair-by-name", "--exclude", "1099", "alt.txt", "neu.txt"}, 2, "\"1099\" ist kein Paßpunkt."},
      {{"--alpha", "0.5", "alt.txt", "neu.txt"}, 2, "--alpha erwartet"},
      {{"--apply", "0 0 1 0", "--exclude", "1", "alt.txt", "-o", "x.erg"}, 2, "passen nicht zu --apply"},
      {{"--exclude", "1-7", "alt.txt", "neu.txt"}, 1, "Mindestens zwei Paßpunkte sind erforderlich."},
      {{"--json", "--exclude", "8,1-7", "alt.txt", "neu.txt"}, 1, "Mindestens zwei Paßpunkte sind erforderlich."},
  };
  for (const auto& row : table) {
    const ProcessResult result = run(row.arguments);
    EXPECT_EQ(result.exitCode, row.exitCode) << row.arguments[1];
    EXPECT_TRUE(contains(result.err, row.message)) << result.err;
  }
}

}  // namespace
