// A large coordinate file: a million bad lines answered with OK one by one. Reading must
// finish, report every line with its own number, and keep its memory bounded; the resident
// size is sampled while reading.
#include "CoordinateReader.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

using testsupport::TempDir;

constexpr long long kLines = 1'000'000;
// Growth of the resident size allowed while reading: far above the read buffer, and
// exceeded by a leak of 64 bytes per line.
constexpr long long kAllowedGrowthBytes = 64LL * 1024 * 1024;

// The process's resident size now, from /proc (the peak of getrusage would include what
// earlier tests of this program used).
long long residentBytes() {
  std::FILE* statm = std::fopen("/proc/self/statm", "r");
  if (!statm) return -1;
  long long pages = 0;
  long long resident = -1;
  if (std::fscanf(statm, "%lld %lld", &pages, &resident) != 2) resident = -1;
  std::fclose(statm);
  return resident < 0 ? -1 : resident * ::sysconf(_SC_PAGESIZE);
}

TEST(LargeInput, MillionBadLinesAnsweredOkOneByOne) {
  TempDir dir;
  const std::string path = dir.file("kaputt.asc");
  std::string content;
  for (long long i = 0; i < kLines; ++i) content += "Punkt RW HW\n";
  testsupport::writeFile(path, content);
  content = std::string();  // freed before the resident size is taken

  const long long start = residentBytes();
  ASSERT_GT(start, 0);
  long long peak = start;
  long long calls = 0;
  long long nextExpected = 1;
  PointList points;
  const ReadStatus status = readCoordinateFile(path, points, [&](const BadLine& bad) {
    ++calls;
    if (bad.lineNumber != nextExpected) ADD_FAILURE() << "line " << bad.lineNumber << " after " << nextExpected - 1;
    nextExpected = bad.lineNumber + 1;
    if (bad.firstShown != "RW" || bad.secondShown != "HW") ADD_FAILURE() << "line " << bad.lineNumber;
    if (calls % 50'000 == 0) peak = std::max(peak, residentBytes());
    return BadLineAnswer::Continue;
  });
  peak = std::max(peak, residentBytes());

  EXPECT_EQ(status, ReadStatus::Complete);
  EXPECT_EQ(calls, kLines);
  EXPECT_TRUE(points.empty());
  RecordProperty("residentGrowthBytes", std::to_string(peak - start));
  EXPECT_LT(peak - start, kAllowedGrowthBytes) << "resident size grew from " << start << " to " << peak;
}

}  // namespace
