// Hostile coordinate files read by the real reader: binaries, zero bytes, huge lines, a
// million bad lines, 400-digit numbers, paths that are no readable file at all, and a FIFO
// whose writer comes late. Each row states what reading does; every row also checks the
// point list's invariants and runs under an alarm, so a hang ends the program (the last
// "[ RUN ]" line names the row) instead of blocking the suite.
#include "CoordinateLine.h"
#include "CoordinateReader.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <ostream>
#include <random>
#include <string>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using testsupport::TempDir;

// Prepares the file to read inside the test's folder and returns the path the user chose.
using Prepare = std::function<std::string(const TempDir&)>;

// The content is made only when the row runs: some rows are megabytes long.
Prepare fileWith(std::function<std::string()> content) {
  return [content](const TempDir& dir) {
    testsupport::writeFile(dir.file("punkte.asc"), content());
    return dir.file("punkte.asc");
  };
}

Prepare fileWith(std::string content) {
  return fileWith([content] { return content; });
}

// A binary of 1000 lines: each a byte above 127 (so no line is blank) and 63 bytes from a
// fixed-seed generator (the same file on every machine), with line ends turned into zeros.
std::string randomLines() {
  std::mt19937 generator(2001);
  std::string bytes;
  for (int line = 0; line < 1000; ++line) {
    bytes += '\x80';
    for (int i = 0; i < 63; ++i) {
      const char c = static_cast<char>(generator() & 0xFF);
      bytes += c == '\n' || c == '\r' ? '\0' : c;
    }
    bytes += '\n';
  }
  return bytes;
}

constexpr std::size_t kTenMegabytes = 10 * 1024 * 1024;

// 400 digits: 512 and a point, then 397 decimals.
const std::string kFourHundredDigits = [] {
  std::string digits = "512.";
  while (digits.size() < 401) digits += "3456789012";
  return digits.substr(0, 401);
}();

struct Outcome {
  ReadStatus status = ReadStatus::Complete;
  PointList points;
  std::vector<BadLine> badLines;
};

struct HostileCase {
  const char* label;
  Prepare prepare;
  ReadStatus status;  // StoppedByUser: the row answers Stop to every bad line, else Continue
  std::size_t points;
  std::size_t badLines;
  std::vector<long long> badLineNumbers;  // the first ones, when the row cares
  std::function<void(const Outcome&)> more = nullptr;
};

void PrintTo(const HostileCase& c, std::ostream* os) { *os << c.label; }

class HostileInput : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileInput, ReadsAsStated) {
  const HostileCase& c = GetParam();
  TempDir dir;
  const std::string path = c.prepare(dir);
  const BadLineAnswer answer =
      c.status == ReadStatus::StoppedByUser ? BadLineAnswer::Stop : BadLineAnswer::Continue;

  // A point no file can give: it survives only when the list is left alone.
  Outcome r;
  r.points = PointList{{"vorher"}, {-1.0}, {-2.0}};
  std::signal(SIGALRM, SIG_DFL);
  ::alarm(60);
  r.status = readCoordinateFile(path, r.points, [&](const BadLine& bad) {
    r.badLines.push_back(bad);
    return answer;
  });
  ::alarm(0);

  EXPECT_EQ(r.status, c.status);
  EXPECT_EQ(r.points.count(), c.points);
  if (c.status == ReadStatus::OpenFailed) {
    EXPECT_TRUE(r.points.names.at(0) == "vorher" && r.points.rw.at(0) == -1.0 &&
                r.points.hw.at(0) == -2.0);
  }
  EXPECT_EQ(r.badLines.size(), c.badLines);
  for (std::size_t i = 0; i < c.badLineNumbers.size() && i < r.badLines.size(); ++i)
    EXPECT_EQ(r.badLines[i].lineNumber, c.badLineNumbers[i]) << "bad line " << i;

  // What holds for every file, however hostile.
  EXPECT_EQ(r.points.rw.size(), r.points.hw.size());
  EXPECT_TRUE(r.points.names.empty() || r.points.names.size() == r.points.rw.size());
  for (std::size_t i = 0; i < r.points.count(); ++i)
    EXPECT_TRUE(std::isfinite(r.points.rw[i]) && std::isfinite(r.points.hw[i])) << "point " << i;
  for (std::size_t i = 1; i < r.badLines.size(); ++i)
    EXPECT_LT(r.badLines[i - 1].lineNumber, r.badLines[i].lineNumber);
  if (c.more) c.more(r);
}

using Names = std::vector<std::string>;

INSTANTIATE_TEST_SUITE_P(
    Files, HostileInput,
    ::testing::Values(
        // A binary: every line is refused, none turns into a point.
        HostileCase{"RandomBytesOkToAll", fileWith(randomLines), ReadStatus::Complete, 0, 1000,
                    {1, 2, 3}},

        // A zero byte inside a number makes the line bad.
        HostileCase{"ZeroByteInANumber", fileWith(std::string("P1 1\0 2\nP2 3 4\n", 15)),
                    ReadStatus::Complete, 1, 1, {1}, [](const Outcome& r) {
                      EXPECT_EQ(r.badLines.at(0).firstShown, std::string("1\0", 2));
                      EXPECT_EQ(r.points.names, Names{"P2"});
                    }},

        // Ten megabytes in one line: one bad line, longer than the bound, shown by its start.
        HostileCase{"TenMegabyteLine",
                    fileWith([] { return std::string(kTenMegabytes, 'x') + "\nP1 1 2\n"; }),
                    ReadStatus::Complete, 1, 1, {1}, [](const Outcome& r) {
                      EXPECT_EQ(r.badLines.at(0).firstShown, std::string(kCutLineKeptBytes, 'x'));
                      EXPECT_EQ(r.badLines.at(0).secondShown, kCutLineNote);
                    }},

        // A million bad lines, cancelled at the first: asked once, nothing read.
        HostileCase{"MillionBadLinesCancelAtTheFirst", fileWith([] {
                      std::string lines;
                      for (int i = 0; i < 1'000'000; ++i) lines += "kaputt\n";
                      return lines;
                    }),
                    ReadStatus::StoppedByUser, 0, 1, {1}},

        // Numbers with 400 digits: read to the nearest double.
        HostileCase{"FourHundredDigits",
                    fileWith("P1 " + kFourHundredDigits + " " + kFourHundredDigits + "\n"),
                    ReadStatus::Complete, 1, 0, {}, [](const Outcome& r) {
                      EXPECT_EQ(r.points.rw.at(0), std::strtod(kFourHundredDigits.c_str(), nullptr));
                      EXPECT_EQ(r.points.hw.at(0), r.points.rw.at(0));
                    }},

        // Paths that are no readable file: the list stays as it was, nothing hangs.
        HostileCase{"Directory", [](const TempDir& dir) { return dir.path(); },
                    ReadStatus::OpenFailed, 1, 0, {}},
        // Chosen in the dialog, deleted before reading.
        HostileCase{"FileGoneAfterChoosingIt",
                    [](const TempDir& dir) { return dir.file("weg.asc"); },
                    ReadStatus::OpenFailed, 1, 0, {}}),
    [](const auto& info) { return std::string(info.param.label); });

// Guards against a FIFO read as an empty file when its writer comes a moment after the
// reader: reading waits for the writer, as `cat` does, and gets every line.
TEST(HostileInputFifo, WaitsForItsWriter) {
  TempDir dir;
  const std::string path = dir.file("pipe.asc");
  ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
  ::alarm(20);
  std::atomic<bool> readerDone = false;
  std::thread writer([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    int fd = -1;
    // Without blocking: a reader that did not wait has gone, and nobody opens the FIFO.
    while (!readerDone && (fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK)) < 0)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (fd < 0) return;
    const std::string lines = "P1 1 2\nP2 3 4\n";
    EXPECT_EQ(::write(fd, lines.data(), lines.size()), static_cast<ssize_t>(lines.size()));
    ::close(fd);
  });
  PointList points;
  const ReadStatus status =
      readCoordinateFile(path, points, [](const BadLine&) { return BadLineAnswer::Continue; });
  readerDone = true;
  writer.join();
  ::alarm(0);
  EXPECT_EQ(status, ReadStatus::Complete);
  EXPECT_EQ(points.names, (std::vector<std::string>{"P1", "P2"}));
  EXPECT_EQ(points.hw, (std::vector<double>{2, 4}));
}

}  // namespace
