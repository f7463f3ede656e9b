// Tests of tramis-cli's control-point analysis: the --exclude list itself, and on the built
// program --exclude and --alpha, the point test in the protocol, the JSON fields, and that
// --proj and -o take the parameters of the active pairs.
#include <gtest/gtest.h>

#include "CliRunner.h"
#include "Exclusion.h"
#include "TestFiles.h"

#include <string>
#include <vector>

namespace {

using namespace clitest;

TEST(ExcludeList, ResolvesNumbersRangesAndNames) {
  const PointList named{{"A", "B", "C", "D"}, {1, 2, 3, 4}, {1, 2, 3, 4}};
  const struct {
    const char* list;
    cli::Pairing pairing;
    std::string activeOrError;  // "1" active, "0" off; or a part of the error
  } table[] = {
      {"3,1-2", cli::Pairing::ByPosition, "0001"},
      {" 2 , 4 ", cli::Pairing::ByPosition, "1010"},
      {"4-4,4", cli::Pairing::ByPosition, "1110"},
      {"5", cli::Pairing::ByPosition, "Pkt. 5 gibt es nicht (Paßpunkte 1 bis 4)"},
      {"2-5", cli::Pairing::ByPosition, "Pkt. 5 gibt es nicht"},
      {"0", cli::Pairing::ByPosition, "--exclude erwartet Nummern"},
      {"3-2", cli::Pairing::ByPosition, "--exclude erwartet Nummern"},
      {"1,,2", cli::Pairing::ByPosition, "--exclude erwartet Nummern"},
      {"+1", cli::Pairing::ByPosition, "--exclude erwartet Nummern"},
      {"1-", cli::Pairing::ByPosition, "--exclude erwartet Nummern"},
      {"B", cli::Pairing::ByPosition, "--exclude erwartet Nummern"},
      {"D,B", cli::Pairing::ByName, "1010"},
      {"B-D", cli::Pairing::ByName, "\"B-D\" ist kein Paßpunkt"},
      {"A,", cli::Pairing::ByName, "--exclude erwartet Punktnamen"},
  };
  for (const auto& row : table) {
    const cli::ExclusionResult result = cli::resolveExcludeList(row.list, row.pairing, named, 4);
    std::string shown = result.error;
    if (result.ok())
      for (const bool active : result.active) shown += active ? '1' : '0';
    EXPECT_NE(shown.find(row.activeOrError), std::string::npos) << row.list << ": " << shown;
  }
}

// Eight pairs within a kilometre, residuals of a few millimetres, and pair 5 (1005) moved
// by about 3.6 cm in the new system.
class AnalysisCliTest : public ::testing::Test {
protected:
  void SetUp() override {
    const std::vector<std::string> oldLines = {
        "1001 3511737.9646 5803044.2292", "1002 3512125.7203 5802565.5289", "1003 3511759.3540 5802734.3310",
        "1004 3512336.4615 5802976.3532", "1005 3512134.8607 5803368.0453", "1006 3512171.4115 5802564.0314",
        "1007 3511801.2677 5802531.0118", "1008 3512218.8239 5803378.8128"};
    const std::vector<std::string> newLines = {
        "1001 3524266.6222 5795467.2690", "1002 3524653.3635 5794987.7649", "1003 3524287.3629 5795157.3315",
        "1004 3524864.9656 5795398.1357", "1005 3524664.2209 5795790.2257", "1006 3524699.0535 5794986.1706",
        "1007 3524328.8482 5794953.9284", "1008 3524748.1759 5795800.8374"};
    std::string oldText, newText, oldWithout, newWithout;
    for (std::size_t i = 0; i < 8; ++i) {
      oldText += oldLines[i] + "\n";
      newText += newLines[i] + "\n";
      if (i == 4) continue;
      oldWithout += oldLines[i] + "\n";
      newWithout += newLines[i] + "\n";
    }
    write("alt.txt", oldText);
    write("neu.txt", newText);
    write("alt-ohne5.txt", oldWithout);
    write("neu-ohne5.txt", newWithout);
    write("klein-alt.txt", "0 0\n10 0\n0 10\n");
    write("klein-neu.txt", "100 200\n110 200\n100 210.03\n");
  }
  void write(const std::string& name, const std::string& content) {
    testsupport::writeFile(dir.file(name), content);
  }
  ProcessResult run(const std::vector<std::string>& arguments) {
    return runProcess(TRAMIS_CLI_PATH, arguments, dir.path());
  }
  static bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
  }
  // The protocol line of pair `pkt` in the point test, its words joined by single blanks.
  static std::string analysisRow(const std::string& out, const std::string& pkt) {
    bool inTable = false;
    for (const std::string& line : lines(out)) {
      inTable = inTable || line.rfind("Paßpunktanalyse", 0) == 0;
      const std::vector<std::string> w = words(line);
      if (!inTable || w.empty() || w[0] != pkt) continue;
      std::string joined;
      for (const std::string& word : w) joined += (joined.empty() ? "" : " ") + word;
      return joined;
    }
    return {};
  }
  testsupport::TempDir dir;
};

TEST_F(AnalysisCliTest, ProtocolFlagsThePlantedBlunderAndOnlyIt) {
  const ProcessResult result = run({"--decimal-comma", "alt.txt", "neu.txt"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::string& out = result.out;
  EXPECT_TRUE(has(out, "  n = 8 von 8 aktiv, Redundanz 12\n")) << out;
  EXPECT_TRUE(has(out, "\nPaßpunktanalyse (α = 0,1 %)\n"));
  EXPECT_EQ(analysisRow(out, "5"), "5 ja 0,0295 -0,0193 0,0353 0,687 259,03 14,91 Ausreißer 1005");
  EXPECT_EQ(analysisRow(out, "1"), "1 ja -0,0103 -0,0007 0,0103 0,786 0,53 14,91 1001");
  EXPECT_EQ(out.find("Ausreißer  "), out.rfind("Ausreißer  ")) << "one outlier only";
  EXPECT_TRUE(has(out, "\nGrößte Prüfgröße: Punkt 5 (1005), T = 259,03, k = 14,91\n"
                       "Punkt 5 (1005) ist ausreißerverdächtig: T = 259,03 > k = 14,91 (α = 0,1 %).\n"));
}

// Switched off, the blunder is a check point: its gap is its residual, tested with
// f = 2 n_a - 4, while the rest shows no outlier at the chosen 5 %.
TEST_F(AnalysisCliTest, ExcludedPairIsACheckPoint) {
  const ProcessResult result = run({"--decimal-point", "--alpha", "0,05", "--exclude", "5", "alt.txt", "neu.txt"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::string& out = result.out;
  EXPECT_TRUE(has(out, "Paßpunkte:  n = 7, Redundanz 2n - 4 = 10\n")) << out;
  EXPECT_TRUE(has(out, "  n = 7 von 8 aktiv, Redundanz 10\n"));
  EXPECT_EQ(analysisRow(out, "5"), "5 nein 0.0295 -0.0193 0.0353 – 259.03 4.10 Ausreißer 1005");
  EXPECT_TRUE(has(out, "\nKein Punkt ist ausreißerverdächtig (α = 5 %).\n"));
  EXPECT_TRUE(has(out, "(Summe der aktiven Paßpunkte; abgeschaltete Paßpunkte sind Kontrollpunkte.)"));
}

// --proj and -o use the parameters of the active pairs: the same as leaving the pair out
// of the files.
TEST_F(AnalysisCliTest, ProjAndResultFileUseTheActivePairs) {
  const ProcessResult excluded = run({"--proj", "--exclude", "5", "alt.txt", "neu.txt"});
  const ProcessResult leftOut = run({"--proj", "alt-ohne5.txt", "neu-ohne5.txt"});
  ASSERT_EQ(excluded.exitCode, 0) << excluded.err;
  EXPECT_EQ(excluded.out, leftOut.out);
  EXPECT_NE(excluded.out, run({"--proj", "alt.txt", "neu.txt"}).out);

  ASSERT_EQ(run({"--pair-by-name", "--exclude", "1005", "alt.txt", "neu.txt", "-o", "a.erg"}).exitCode, 0);
  ASSERT_EQ(run({"--pair-by-name", "alt.txt", "neu-ohne5.txt", "-o", "b.erg"}).exitCode, 0);
  EXPECT_EQ(testsupport::readFile(dir.file("a.erg")), testsupport::readFile(dir.file("b.erg")));
}

TEST_F(AnalysisCliTest, JsonCarriesThePointTestWithNullWhereNotAvailable) {
  const ProcessResult result = run({"--json", "--exclude", "5", "alt.txt", "neu.txt"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::string& json = result.out;
  EXPECT_TRUE(has(json, "\"n\": 8,\n  \"redundancy\": 10,\n  \"activeCount\": 7,\n  \"suspect\": 2,\n"
                        "  \"alpha\": 0.001,\n")) << json;
  EXPECT_TRUE(has(json, "\"active\": false, \"r\": null, \"gapRW\": 0.0295"));
  EXPECT_TRUE(has(json, "\"dof\": 10, \"critical\": 14.9053585276"));
  EXPECT_TRUE(has(json, "\"active\": true, \"r\": 0.72682511"));
  EXPECT_TRUE(has(json, "\"dof\": 8, \"critical\": 18.49365300"));

  // Three pairs: no point test at all.
  const ProcessResult small = run({"--json", "klein-alt.txt", "klein-neu.txt"});
  ASSERT_EQ(small.exitCode, 0) << small.err;
  EXPECT_TRUE(has(small.out, "\"suspect\": null,")) << small.out;
  EXPECT_TRUE(has(small.out, "\"active\": true, \"r\": null, \"gapRW\": null, \"gapHW\": null, \"T\": null, "
                             "\"dof\": null, \"critical\": null, \"outlier\": false}"));
}

TEST_F(AnalysisCliTest, UsageErrorsAndTooFewActivePairs) {
  const struct {
    std::vector<std::string> arguments;
    int exitCode;
    const char* message;
  } table[] = {
      {{"--exclude", "9", "alt.txt", "neu.txt"}, 2, "--exclude: Pkt. 9 gibt es nicht (Paßpunkte 1 bis 8)."},
      {{"--exclude", "2-x", "alt.txt", "neu.txt"}, 2, "--exclude erwartet Nummern"},
      {{"--pair-by-name", "--exclude", "1099", "alt.txt", "neu.txt"}, 2, "\"1099\" ist kein Paßpunkt."},
      {{"--alpha", "0.5", "alt.txt", "neu.txt"}, 2, "--alpha erwartet"},
      {{"--alpha=0", "alt.txt", "neu.txt"}, 2, "--alpha erwartet"},
      {{"--apply", "0 0 1 0", "--exclude", "1", "alt.txt", "-o", "x.erg"}, 2, "passen nicht zu --apply"},
      {{"--exclude", "1-7", "alt.txt", "neu.txt"}, 1, "Mindestens zwei Paßpunkte sind erforderlich."},
      {{"--json", "--exclude", "8,1-7", "alt.txt", "neu.txt"}, 1, "Mindestens zwei Paßpunkte sind erforderlich."},
  };
  for (const auto& row : table) {
    const ProcessResult result = run(row.arguments);
    EXPECT_EQ(result.exitCode, row.exitCode) << row.arguments[1];
    EXPECT_TRUE(has(result.err, row.message)) << result.err;
  }
}

}  // namespace
