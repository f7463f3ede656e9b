// Hostile coordinate files read by the real reader: binaries, UTF-16 text, zero bytes,
// huge lines, a million bad lines, numbers beyond a double, and paths that are no readable
// file at all. Each row states what reading does; every row also checks the point list's
// invariants and runs under a watchdog, so a hang fails instead of blocking the suite.
#include "CoordinateReader.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <ostream>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using testsupport::TempDir;

// Ends the test program with the row's name when a read does not come back in time.
class Watchdog {
public:
  Watchdog(const char* label, unsigned seconds) {
    current_ = label;
    std::signal(SIGALRM, &Watchdog::expired);
    ::alarm(seconds);
  }
  ~Watchdog() { ::alarm(0); }

private:
  static void expired(int) {
    const char text[] = "\nwatchdog: reading hung in row ";
    (void)!::write(STDERR_FILENO, text, sizeof text - 1);
    (void)!::write(STDERR_FILENO, current_, std::strlen(current_));
    (void)!::write(STDERR_FILENO, "\n", 1);
    ::_exit(3);
  }
  static inline const char* current_ = "";
};

// Prepares the file to read inside the test's folder and returns the path the user chose.
using Prepare = std::function<std::string(const TempDir&)>;

Prepare fileWith(std::function<std::string()> content) {
  return [content](const TempDir& dir) {
    const std::string path = dir.file("punkte.asc");
    testsupport::writeFile(path, content());
    return path;
  };
}

Prepare fileWith(std::string content) {
  return fileWith([content] { return content; });
}

// Bytes from a fixed-seed generator: the same "binary file" on every machine.
std::string randomBytes(std::size_t count, std::uint32_t seed) {
  std::mt19937 generator(seed);
  std::string bytes(count, '\0');
  for (char& c : bytes) c = static_cast<char>(generator() & 0xFF);
  return bytes;
}

// `text` (ASCII) as UTF-16 little endian, as Windows editors save it, with or without
// byte-order mark.
std::string utf16(const std::string& text, bool byteOrderMark) {
  std::string out = byteOrderMark ? "\xFF\xFE" : "";
  for (const char c : text) out += {c, '\0'};
  return out;
}

std::string repeated(const std::string& line, std::size_t times) {
  std::string out;
  out.reserve(line.size() * times);
  for (std::size_t i = 0; i < times; ++i) out += line;
  return out;
}

// Lines that hold more than blanks and control characters, split at LF, CR LF and CR: each
// of them is either a point or a bad line.
std::size_t nonBlankLines(const std::string& bytes) {
  std::size_t count = 0;
  bool content = false;
  for (const char c : bytes) {
    if (c == '\n' || c == '\r') {
      count += content;
      content = false;
    } else if (static_cast<unsigned char>(c) > 32) {
      content = true;
    }
  }
  return count + content;
}

const std::string kRandomBytes = randomBytes(64 * 1024, 2001);

constexpr std::size_t kTenMegabytes = 10 * 1024 * 1024;

// 400 digits: 512 and a point, then 396 decimals.
std::string fourHundredDigits() { return "512." + repeated("3456789012", 40).substr(0, 396); }

struct Outcome {
  ReadStatus status = ReadStatus::Complete;
  PointList points;
  std::vector<BadLine> badLines;
};

struct HostileCase {
  const char* label;
  Prepare prepare;
  BadLineAnswer answer;  // given to every bad line
  ReadStatus status;
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

  // A point no file can give: it survives only when the list is left alone.
  Outcome r;
  r.points.names = {"vorher"};
  r.points.rw = {-1.0};
  r.points.hw = {-2.0};
  {
    Watchdog watchdog(c.label, 60);
    r.status = readCoordinateFile(path, r.points, [&](const BadLine& bad) {
      r.badLines.push_back(bad);
      return c.answer;
    });
  }

  EXPECT_EQ(r.status, c.status);
  if (c.status == ReadStatus::OpenFailed) {
    EXPECT_EQ(r.points.names, std::vector<std::string>{"vorher"});
    EXPECT_EQ(r.points.rw, std::vector<double>{-1.0});
    EXPECT_EQ(r.points.hw, std::vector<double>{-2.0});
  } else {
    EXPECT_EQ(r.points.count(), c.points);
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

const std::string kTwoLines = "P1 512.345 678.901\r\nP2 1 2\r\n";

INSTANTIATE_TEST_SUITE_P(
    Files, HostileInput,
    ::testing::Values(
        // A binary: every line is refused, none turns into a point.
        HostileCase{"random bytes, OK to all", fileWith(kRandomBytes), BadLineAnswer::Continue,
                    ReadStatus::Complete, 0, nonBlankLines(kRandomBytes), {}},

        // UTF-16, as editors save it, is read as the text it holds.
        HostileCase{"UTF-16 LE with byte-order mark", fileWith(utf16(kTwoLines, true)),
                    BadLineAnswer::Continue, ReadStatus::Complete, 2, 0, {},
                    [](const Outcome& r) {
                      EXPECT_EQ(r.points.names, (std::vector<std::string>{"P1", "P2"}));
                      EXPECT_EQ(r.points.rw, (std::vector<double>{512.345, 1}));
                    }},
        HostileCase{"UTF-16 LE without byte-order mark", fileWith(utf16(kTwoLines, false)),
                    BadLineAnswer::Continue, ReadStatus::Complete, 2, 0, {}},

        // A zero byte inside a number makes the line bad.
        HostileCase{"zero byte in a number", fileWith(std::string("P1 1\0 2\nP2 3 4\n", 15)),
                    BadLineAnswer::Continue, ReadStatus::Complete, 1, 1, {1},
                    [](const Outcome& r) {
                      ASSERT_EQ(r.badLines.size(), 1u);
                      EXPECT_EQ(r.badLines[0].firstShown, std::string("1\0", 2));
                      EXPECT_EQ(r.points.names, std::vector<std::string>{"P2"});
                    }},

        // Separators only: skipped, but counted for later line numbers.
        HostileCase{"line of only separators", fileWith(" \t \v\f \t\nfalsch\nP1 1 2\n"),
                    BadLineAnswer::Continue, ReadStatus::Complete, 1, 1, {2}},

        // Ten megabytes in one line: one bad line carrying the whole token, or one point.
        HostileCase{"10 MB line of letters",
                    fileWith([] { return std::string(kTenMegabytes, 'x') + "\nP1 1 2\n"; }),
                    BadLineAnswer::Continue, ReadStatus::Complete, 1, 1, {1},
                    [](const Outcome& r) {
                      ASSERT_EQ(r.badLines.size(), 1u);
                      EXPECT_EQ(r.badLines[0].firstShown.size(), kTenMegabytes);
                      EXPECT_EQ(r.badLines[0].secondShown, "");
                    }},

        // A million bad lines, cancelled at the first: asked once, nothing read.
        HostileCase{"1,000,000 bad lines, Cancel at the first",
                    fileWith([] { return repeated("kaputt\n", 1'000'000); }), BadLineAnswer::Stop,
                    ReadStatus::StoppedByUser, 0, 1, {1}},

        // CR alone ends lines; an empty line between two CRs is still counted.
        HostileCase{"CR-only line ends", fileWith("P1 1 2\rfalsch\rP2 3 4\r\rP3 x y\r"),
                    BadLineAnswer::Continue, ReadStatus::Complete, 2, 2, {2, 5}},

        // Numbers with 400 digits: read to the nearest double.
        HostileCase{"400 digits with a decimal point",
                    fileWith([] { return "P1 " + fourHundredDigits() + " " + fourHundredDigits() + "\n"; }),
                    BadLineAnswer::Continue, ReadStatus::Complete, 1, 0, {},
                    [](const Outcome& r) {
                      ASSERT_EQ(r.points.count(), 1u);
                      EXPECT_EQ(r.points.rw[0], std::strtod(fourHundredDigits().c_str(), nullptr));
                      EXPECT_EQ(r.points.hw[0], r.points.rw[0]);
                    }},

        // Exponents beyond a double: too small reads as zero, too large is refused.
        HostileCase{"exponent 1e-400", fileWith("P1 1e-400 -1E-400\n"), BadLineAnswer::Continue,
                    ReadStatus::Complete, 1, 0, {},
                    [](const Outcome& r) {
                      ASSERT_EQ(r.points.count(), 1u);
                      EXPECT_EQ(r.points.rw[0], 0.0);
                      EXPECT_EQ(r.points.hw[0], 0.0);
                      EXPECT_TRUE(std::signbit(r.points.hw[0]));
                    }},
        HostileCase{"exponent 1e400", fileWith("P1 1e400 5\nP2 5 -1e400\nP3 1,7e308 -1.7E308\n"),
                    BadLineAnswer::Continue, ReadStatus::Complete, 1, 2, {1, 2},
                    [](const Outcome& r) {
                      EXPECT_EQ(r.points.names, std::vector<std::string>{"P3"});
                      ASSERT_EQ(r.badLines.size(), 2u);
                      EXPECT_EQ(r.badLines[0].firstShown, "1e400");
                    }},

        // Paths that are no readable file: the list stays as it was, nothing hangs.
        HostileCase{"a directory", [](const TempDir& dir) { return dir.path(); },
                    BadLineAnswer::Continue, ReadStatus::OpenFailed, 1, 0, {}},
        HostileCase{"FIFO without a writer",
                    [](const TempDir& dir) {
                      const std::string path = dir.file("pipe.asc");
                      if (::mkfifo(path.c_str(), 0644) != 0) std::abort();
                      return path;
                    },
                    BadLineAnswer::Continue, ReadStatus::Complete, 0, 0, {}},
        HostileCase{"file gone after choosing it",
                    [](const TempDir& dir) {
                      const std::string path = dir.file("weg.asc");
                      testsupport::writeFile(path, "P1 1 2\n");
                      ::unlink(path.c_str());
                      return path;
                    },
                    BadLineAnswer::Continue, ReadStatus::OpenFailed, 1, 0, {}}),
    [](const ::testing::TestParamInfo<HostileCase>& info) {
      std::string name = info.param.label;
      for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      return name;
    });

}  // namespace
