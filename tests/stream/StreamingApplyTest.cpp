// Streamed --apply against the window's way (read the whole file, writeResultFile): the same
// result bytes, bad lines, numbers and counts for every read size and thread count, a stop
// at a bad line that writes nothing, and failing writes that leave the old file alone.
#include "StreamingApply.h"

#include "CoordinateLine.h"
#include "FileSizeLimit.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using testsupport::TempDir;

const kel::TKEL_Vovezorevarovaduvorir& parameters() {
  static kel::TKEL_Vovezorevarovaduvorir solver;
  solver.Xo = -123.456L;
  solver.Yo = 234.567L;
  solver.a = 1.0000122813351149L;
  solver.o = 0.00019321032345146706L;
  return solver;
}

// What one way of applying gave; `stopAt`: the bad line (from 1) answered with Stop.
struct Outcome {
  ReadStatus status{};
  std::size_t points = 0;
  std::vector<BadLine> badLines;
  std::string result;  // the result file, or "(none)"
};

BadLineHandler recorder(Outcome& run, std::size_t stopAt) {
  return [&run, stopAt](const BadLine& line) {
    run.badLines.push_back(line);
    return run.badLines.size() == stopAt ? BadLineAnswer::Stop : BadLineAnswer::Continue;
  };
}

std::string resultOrNone(const std::string& path) {
  return testsupport::fileExists(path) ? testsupport::readFile(path) : "(none)";
}

Outcome wholeFile(const std::string& input, const std::string& output, std::size_t stopAt = 0) {
  Outcome run;
  PointList points;
  run.status = readCoordinateFile(input, points, recorder(run, stopAt));
  run.points = points.count();
  if (run.status == ReadStatus::Complete) {
    EXPECT_TRUE(output::writeResultFile(output, points, parameters()).ok);
  }
  run.result = resultOrNone(output);
  return run;
}

Outcome streamed(const std::string& input, const std::string& output, std::size_t readBytes,
             unsigned threads, std::size_t stopAt = 0) {
  Outcome run;
  stream::StreamSettings settings;
  settings.readBytes = readBytes;
  settings.workerThreads = threads;
  const stream::ApplyResult applied =
      stream::applyToFile(input, output, parameters(), recorder(run, stopAt), settings);
  run.status = applied.read;
  run.points = applied.points;
  EXPECT_EQ(applied.badLines, run.badLines.size());
  const bool noPoint = run.points == 0 && !run.badLines.empty();
  EXPECT_EQ(applied.fileWritten, run.status == ReadStatus::Complete && !noPoint) << applied.written.reason;
  run.result = resultOrNone(output);
  return run;
}

void expectSame(const Outcome& streamedRun, const Outcome& reference, const std::string& label) {
  EXPECT_EQ(streamedRun.status, reference.status) << label;
  EXPECT_EQ(streamedRun.points, reference.points) << label;
  EXPECT_EQ(streamedRun.badLines, reference.badLines) << label;
  EXPECT_EQ(streamedRun.result, reference.result) << label;
}

// Many lines of every kind, so that several blocks are in the workers at once.
std::string mixedLines(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    const std::string n = std::to_string(i);
    switch (i % 7) {
      case 0: text += "P" + n + " 3450000." + n + " 5750000,25\n"; break;
      case 1: text += n + ".5\t-" + n + "e-3\r\n"; break;
      case 2: text += "  Grenz" + n + " 1" + n + " 2" + n + " extra\r"; break;
      case 3: text += "\r\n"; break;
      case 4: text += "X" + n + " 12a 5\n"; break;
      case 5: text += "nur" + n + "\n"; break;
      default: text += "Q" + n + " 1e999 7\r\r\n"; break;
    }
  }
  return text + "Z 1 2";  // a last line without line end
}

std::string utf16LittleEndian(const std::string& ascii) {
  std::string bytes = "\xFF\xFE";
  for (const char c : ascii) bytes += std::string{c, '\0'};
  return bytes;
}

// A line of `length` bytes (without line end) that holds the point "P<n> 1 2" and blanks.
std::string paddedLine(int n, std::size_t length) {
  std::string line = "P" + std::to_string(n) + " 1 2";
  line.resize(length, ' ');
  return line;
}

const struct {
  const char* label;
  std::string content;
} kFiles[] = {
    {"named LF with bad lines", "P1 10 20\nP2 x 5\nP3 30,5 40\n\nP4 1 2 3\n"},
    {"unnamed CR LF, no end", "1 2\r\n3 4\r\n  \r\n5,5 6"},
    {"names and none, lone CR", "1 2\rN 3 4\r\r7 8\rbad\r"},
    {"byte-order mark", "\xEF\xBB\xBFP1 1 2\r\nP2 3 4\r\n"},
    {"UTF-16", utf16LittleEndian("P1 1 2\r\nP2 3 x\r\n5 6\r\n")},
    {"only bad lines", "a\nb c\n"},
    {"empty", ""},
    {"mixed", mixedLines(140)},
    {"line over the bound", "P1 1 2\n" + paddedLine(2, kMaxLineBytes + 1) + "\r\nP3 3 4\r\nP4 x 5"},
    {"line at the bound, CR LF", "P1 1 2\r\n" + paddedLine(2, kMaxLineBytes) + "\r\nP3 3 4\r\n"},
    {"UTF-16, line over the bound", utf16LittleEndian("P1 1 2\r\n" + paddedLine(2, kMaxLineBytes + 9) + "\r\nP3 3 4")},
    {"no line end at all", std::string(2 * kMaxLineBytes + 5, '\0')},
};

// Reads of 1 and 2 bytes split every line and every CR LF pair between two blocks; lines
// longer than the bound are the same bad lines as in the window's reader.
TEST(StreamingApply, SameBytesBadLinesAndCountsAsTheWholeFile) {
  TempDir dir;
  const std::string input = dir.file("alt.asc");
  for (const auto& file : kFiles) {
    testsupport::writeFile(input, file.content);
    Outcome reference = wholeFile(input, dir.file("whole.erg"));
    // Lines without a single point among them are no input: the stream writes nothing.
    if (reference.points == 0 && !reference.badLines.empty()) reference.result = "(none)";
    // Files with lines at the bound: a read ends between the CR and the LF of the second line.
    const std::vector<std::size_t> readSizes =
        file.content.size() < kMaxLineBytes ? std::vector<std::size_t>{1, 2, 3, 7, 100, 1 << 20}
                                            : std::vector<std::size_t>{4093, kMaxLineBytes + 9, 1 << 20};
    for (const std::size_t readBytes : readSizes)
      for (const unsigned threads : {0u, 1u, 3u}) {
        const std::string output = dir.file("streamed.erg");
        std::filesystem::remove(output);
        expectSame(streamed(input, output, readBytes, threads), reference,
                   std::string(file.label) + ", read " + std::to_string(readBytes) + ", threads " +
                       std::to_string(threads));
      }
  }
}

// A stop at a bad line: earlier bad lines were all reported, in file order, the points are
// those before the stop, and the existing result file is not touched.
TEST(StreamingApply, StopAtABadLineWritesNothing) {
  TempDir dir;
  const std::string input = dir.file("alt.asc");
  testsupport::writeFile(input, mixedLines(3000));
  for (const std::size_t stopAt : {1, 2, 150})
    for (const unsigned threads : {0u, 2u, 4u}) {
      testsupport::writeFile(dir.file("erg.erg"), "alt");
      const Outcome reference = wholeFile(input, dir.file("erg.erg"), stopAt);
      expectSame(streamed(input, dir.file("erg.erg"), 512, threads, stopAt), reference,
                 "stop at " + std::to_string(stopAt) + ", threads " + std::to_string(threads));
      EXPECT_EQ(reference.result, "alt");
      EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
    }
}

// A write that fails half-way reports why, keeps the old file, leaves no temporary, and
// still reads the whole input: the counts of the report stay right.
TEST(StreamingApply, FailingWriteKeepsTheOldFile) {
  TempDir dir;
  const std::string input = dir.file("alt.asc");
  testsupport::writeFile(input, mixedLines(3000));
  const Outcome reference = wholeFile(input, dir.file("whole.erg"));
  std::filesystem::remove(dir.file("whole.erg"));
  for (const bool device : {false, true})
    for (const unsigned threads : {0u, 2u}) {
      const std::string output = device ? "/dev/full" : dir.file("erg.erg");
      if (device && !testsupport::fileExists(output)) continue;
      if (!device) testsupport::writeFile(output, "alt");
      Outcome run;
      stream::StreamSettings settings;
      settings.readBytes = 1000;
      settings.workerThreads = threads;
      stream::ApplyResult applied;
      {
        const testsupport::FileSizeLimit limit(device ? RLIM_INFINITY : 4096);
        applied = stream::applyToFile(input, output, parameters(), recorder(run, 0), settings);
      }
      const std::string label = output + ", threads " + std::to_string(threads);
      EXPECT_FALSE(applied.written.ok) << label;
      EXPECT_FALSE(applied.fileWritten) << label;
      EXPECT_NE(applied.written.reason, "") << label;
      EXPECT_EQ(applied.read, ReadStatus::Complete) << label;
      EXPECT_EQ(applied.points, reference.points) << label;
      EXPECT_EQ(run.badLines, reference.badLines) << label;
      if (!device) {
        EXPECT_EQ(testsupport::readFile(output), "alt") << label;
      }
      EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2) << label;
    }
}

// Guards against "inf" lines written as a success: the worker that meets a point beyond the
// range of double fails the write, named by its line across the blocks, and the old file
// stays; reading still goes to the end.
TEST(StreamingApply, PointTransformedToInfinityFailsTheWrite) {
  TempDir dir;
  const std::string input = dir.file("alt.asc");
  std::string content;
  for (int line = 1; line <= 3500; ++line)
    content += line == 3001 ? "weit 1e308 -1e308\n" : "P" + std::to_string(line) + " 1 2\n";
  testsupport::writeFile(input, content);
  kel::TKEL_Vovezorevarovaduvorir doubling;
  doubling.a = 2;
  for (const unsigned threads : {0u, 2u}) {
    const std::string output = dir.file("erg.erg");
    testsupport::writeFile(output, "alt");
    stream::StreamSettings settings;
    settings.readBytes = 1000;
    settings.workerThreads = threads;
    const stream::ApplyResult applied = stream::applyToFile(
        input, output, doubling, [](const BadLine&) { return BadLineAnswer::Continue; }, settings);
    const std::string label = "threads " + std::to_string(threads);
    EXPECT_FALSE(applied.written.ok) << label;
    EXPECT_FALSE(applied.fileWritten) << label;
    EXPECT_NE(applied.written.reason.find("Zeile 3001: "), std::string::npos) << applied.written.reason;
    EXPECT_EQ(applied.points, 3500u) << label;
    EXPECT_EQ(testsupport::readFile(output), "alt") << label;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2) << label;
  }
}

}  // namespace
