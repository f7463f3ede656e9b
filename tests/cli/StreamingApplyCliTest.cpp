// tramis-cli --apply on a file of several read blocks, run as a process: the result file is
// byte for byte the window's, and the JSON counts and bad lines (with their numbers across
// blocks) are those of the whole file, also when the write fails. (Where --strict stops
// across blocks: the stream's own tests.)
#include <gtest/gtest.h>

#include "CliRunner.h"
#include "CoordinateReader.h"
#include "ResultFile.h"
#include "TestFiles.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>
#include <sys/resource.h>

namespace {

constexpr int kLines = 70000;  // about 2.4 MB: several read blocks
constexpr int kBadLines[] = {40000, 60000};

TEST(StreamingApplyCli, CountsAndBadLinesSpanTheBlocks) {
  testsupport::TempDir dir;
  std::string content;
  for (int line = 1; line <= kLines; ++line)
    content += line == kBadLines[0] || line == kBadLines[1]
                   ? "P" + std::to_string(line) + " 12x 5\r\n"
                   : "P" + std::to_string(line) + " 3450000." + std::to_string(line % 9973) +
                         " 5750000,125\r\n";
  testsupport::writeFile(dir.file("alt.asc"), content);

  kel::TKEL_Vovezorevarovaduvorir solver;
  solver.Xo = 10.5L;
  solver.Yo = -3.25L;
  solver.a = 0.75L;
  solver.o = 0.5L;
  PointList points;
  ASSERT_EQ(readCoordinateFile(dir.file("alt.asc"), points,
                               [](const BadLine&) { return BadLineAnswer::Continue; }),
            ReadStatus::Complete);
  ASSERT_TRUE(output::writeResultFile(dir.file("window.erg"), points, solver).ok);

  const std::string badLines = "\"badLines\": [{\"line\": 40000, \"values\": \"12x 5\"}";
  const struct {
    std::vector<std::string> options;
    int exitCode;
    std::vector<std::string> shown;  // in the JSON report
    bool written;
  } cases[] = {
      {{"-o", "erg.erg"}, 0, {"\"points\": 69998, " + badLines + ", {\"line\": 60000", "\"points\": 69998}"}, true},
      {{"-o", "/dev/full"}, 1, {"\"writeFailed\"", "\"points\": 69998, " + badLines, "\"resultFile\": null"}, false},
  };
  for (const auto& c : cases) {
    std::remove(dir.file("erg.erg").c_str());
    std::vector<std::string> arguments{"--json", "--apply", "10.5 -3.25 0.75 0.5", "alt.asc"};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    const clitest::ProcessResult result =
        clitest::runProcess(TRAMIS_CLI_PATH, arguments, dir.path(), testsupport::kGermanLocale);
    SCOPED_TRACE(c.options[0] + " " + c.options[1]);
    EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
    for (const std::string& text : c.shown)
      EXPECT_NE(result.out.find(text), std::string::npos) << text << "\n" << result.out;
    EXPECT_EQ(testsupport::fileExists(dir.file("erg.erg")), c.written);
    if (c.written) {
      EXPECT_EQ(testsupport::readFile(dir.file("erg.erg")),
                testsupport::readFile(dir.file("window.erg")));
    }
  }
}

// Guards against a line without end filling memory: --apply on /dev/zero grew to 800 MB and
// died with std::bad_alloc. Here 256 MiB of zero bytes (a sparse file, so the disk holds
// none of them) and one point: the zeros are one bad line, the point is transformed as the
// window transforms it, and the process stays far below the input's size. --strict stops
// at that line.
TEST(StreamingApplyCli, LineWithoutEndIsOneBadLineInBoundedMemory) {
  constexpr std::uintmax_t kZeroBytes = std::uintmax_t{256} << 20;
#ifdef __SANITIZE_ADDRESS__
  // AddressSanitizer's shadow memory and its quarantine of freed blocks come on top; still
  // well below the input's size.
  constexpr long kGenerousPeakKilobytes = 160 * 1024;
#else
  constexpr long kGenerousPeakKilobytes = 64 * 1024;
#endif
  testsupport::TempDir dir;
  const std::string input = dir.file("null.asc");
  testsupport::writeFile(input, "");
  std::filesystem::resize_file(input, kZeroBytes);
  std::ofstream(input, std::ios::binary | std::ios::app) << "\r\nP2 3 4\r\n";

  kel::TKEL_Vovezorevarovaduvorir solver;
  solver.a = 1.0L;
  PointList points;
  std::vector<BadLine> windowBadLines;
  ASSERT_EQ(readCoordinateFile(input, points,
                               [&](const BadLine& line) {
                                 windowBadLines.push_back(line);
                                 return BadLineAnswer::Continue;
                               }),
            ReadStatus::Complete);
  ASSERT_EQ(windowBadLines.size(), 1u);
  EXPECT_EQ(windowBadLines[0].lineNumber, 1);
  ASSERT_TRUE(output::writeResultFile(dir.file("window.erg"), points, solver).ok);

  const clitest::ProcessResult result = clitest::runProcess(
      TRAMIS_CLI_PATH, {"--json", "--apply", "0 0 1 0", "null.asc", "-o", "erg.erg"}, dir.path());
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(clitest::contains(result.out, "\"points\": 1, \"badLines\": [{\"line\": 1, ")) << result.out;
  EXPECT_EQ(testsupport::readFile(dir.file("erg.erg")), testsupport::readFile(dir.file("window.erg")));
  rusage children{};
  ASSERT_EQ(getrusage(RUSAGE_CHILDREN, &children), 0);
  EXPECT_LT(children.ru_maxrss, kGenerousPeakKilobytes);

  const clitest::ProcessResult strict = clitest::runProcess(
      TRAMIS_CLI_PATH, {"--strict", "--apply", "0 0 1 0", "null.asc", "-o", "strict.erg"}, dir.path());
  EXPECT_EQ(strict.exitCode, 1);
  EXPECT_TRUE(clitest::contains(strict.err, "in Zeile 1 abgebrochen")) << strict.err;
  EXPECT_FALSE(testsupport::fileExists(dir.file("strict.erg")));
}

}  // namespace
