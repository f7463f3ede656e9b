// Files that yield no point: --apply on a file whose lines are all unreadable (or on a
// binary file) fails and keeps the existing target, an empty file gives an empty result
// that says "0 Punkte"; and the estimate refuses inputs without points as well.
#include <gtest/gtest.h>

#include "CliRunner.h"
#include "TestFiles.h"

#include <string>
#include <vector>

namespace {

using namespace clitest;

constexpr const char* kOldResult = "altes Ergebnis\r\n";

// Bytes of every value, as a binary file has them, in lines of 64.
std::string binaryBytes() {
  std::string bytes;
  for (int round = 0; round < 8; ++round)
    for (int value = 0; value < 256; ++value) bytes += static_cast<char>((value * 37 + round) % 256);
  return bytes;
}

// Guards against "--apply" on unreadable lines writing an empty result with exit code 0.
TEST(NoInputCli, ApplyFailsOnFilesWithoutPointsButAcceptsEmptyOnes) {
  const struct {
    const char* what;
    std::string content;
    int exitCode;
    const char* shown;     // on standard output or error
    const char* written;   // the target afterwards
  } cases[] = {
      {"unreadable lines", "abc\nP1 x 5\n\nP2 3\n", 1,
       "Error: In alt.asc ist keine Zeile ein Punkt (3 fehlerhafte Zeilen); es wurde nichts geschrieben.",
       kOldResult},
      {"one unreadable line", "Punkt RW HW\n", 1, "(1 fehlerhafte Zeile); es wurde nichts geschrieben.", kOldResult},
      {"binary file", binaryBytes(), 1, "In alt.asc ist keine Zeile ein Punkt (", kOldResult},
      {"no byte at all", "", 0, "Ergebnisdatei: ergebnis.erg  (0 Punkte transformiert)", ""},
      {"blank lines only", "\n   \n\t\r\n", 0, "Altsystem:  alt.asc  (0 Punkte)\n", ""},
      {"one point among unreadable lines", "abc\nP1 1 2\nxyz\n", 0, "(1 Punkt transformiert)",
       " P1\t 1              \t 2              "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    testsupport::TempDir dir;
    testsupport::writeFile(dir.file("alt.asc"), c.content);
    testsupport::writeFile(dir.file("ergebnis.erg"), kOldResult);
    const ProcessResult result =
        runProcess(TRAMIS_CLI_PATH, {"--apply", "0 0 1 0", "alt.asc", "-o", "ergebnis.erg"}, dir.path());
    EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
    EXPECT_TRUE(contains(result.out + result.err, c.shown)) << result.out << result.err;
    EXPECT_EQ(testsupport::readFile(dir.file("ergebnis.erg")), c.written);
    EXPECT_EQ(testsupport::folderEntries(dir.path()), (std::set<std::string>{"alt.asc", "ergebnis.erg"}));
  }
}

// The JSON of a file without points says why, and names no result file.
TEST(NoInputCli, ApplyJsonReportsTheInputError) {
  testsupport::TempDir dir;
  testsupport::writeFile(dir.file("alt.asc"), "abc\nxyz\n");
  const ProcessResult result =
      runProcess(TRAMIS_CLI_PATH, {"--json", "--apply", "0 0 1 0", "alt.asc", "-o", "neu.erg"}, dir.path());
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_TRUE(contains(result.out, "\"status\": \"inputError\",\n  \"message\": \"In alt.asc ist keine Zeile ein Punkt"))
      << result.out;
  EXPECT_TRUE(contains(result.out, "\"points\": 0, \"badLines\": [{\"line\": 1, "));
  EXPECT_TRUE(contains(result.out, "\"resultFile\": null"));
  EXPECT_FALSE(testsupport::fileExists(dir.file("neu.erg")));
}

// The estimate has always refused inputs without points; neither result nor protocol is
// written, whichever of the two files it is.
TEST(NoInputCli, EstimateRefusesInputsWithoutPoints) {
  const std::string points = "P1 0 0\nP2 10 0\nP3 0 10\n";
  const struct {
    const char* what;
    std::string oldContent;
    std::string newContent;
  } cases[] = {
      {"old file unreadable", "abc\nxyz\n", points},
      {"new file binary", points, binaryBytes()},
      {"old file empty", "", points},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    testsupport::TempDir dir;
    testsupport::writeFile(dir.file("alt.txt"), c.oldContent);
    testsupport::writeFile(dir.file("neu.txt"), c.newContent);
    const ProcessResult result = runProcess(
        TRAMIS_CLI_PATH, {"alt.txt", "neu.txt", "-o", "e.erg", "--report", "p.html"}, dir.path());
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(contains(result.err, "Solv Error: Berechnung kann nicht durchgeführt werden.")) << result.err;
    EXPECT_FALSE(testsupport::fileExists(dir.file("e.erg")));
    EXPECT_FALSE(testsupport::fileExists(dir.file("p.html")));
  }
}

}  // namespace
