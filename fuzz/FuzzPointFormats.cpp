// Fuzz target for the format recognition: any bytes are read twice, as recognised and as
// the coordinate list, and must give the same points and bad lines whenever the file's
// first non-blank line is a point of the coordinate list, or is neither a header line, nor
// has ';', nor is a QGIS line. Checks the lists' invariants for every format, and reads the
// bytes as QGIS control pairs too.
#include "CoordinateLine.h"
#include "CoordinateReader.h"
#include "FormatRecognition.h"
#include "LineBlockReader.h"
#include "QgisPoints.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "point formats: %s\n", what);
  std::abort();
}

std::FILE* openBytes(const std::uint8_t* data, std::size_t size) {
  // fmemopen refuses an empty buffer; one byte with size 0 still reads as empty.
  static char emptyBuffer[1];
  void* buffer = size > 0 ? const_cast<std::uint8_t*>(data) : static_cast<void*>(emptyBuffer);
  std::FILE* file = fmemopen(buffer, size, "rb");
  if (file == nullptr) fail("fmemopen failed");
  return file;
}

struct Reading {
  PointList points;
  std::vector<BadLine> badLines;
  pointfiles::PointFileFormat format;
};

Reading read(const std::uint8_t* data, std::size_t size, const pointfiles::FormatRequest& request) {
  Reading reading;
  std::FILE* file = openBytes(data, size);
  const ReadStatus status = readCoordinateStream(
      file, reading.points,
      [&](const BadLine& bad) {
        reading.badLines.push_back(bad);
        return BadLineAnswer::Continue;
      },
      {}, request, &reading.format);
  std::fclose(file);
  if (status != ReadStatus::Complete) fail("a memory stream read incompletely");
  return reading;
}

// The first non-blank line of the text the reader sees (decoded, as its first block).
std::string firstNonBlankLine(const std::uint8_t* data, std::size_t size) {
  std::FILE* file = openBytes(data, size);
  LineBlockReader reader(file, std::size_t{1} << 20);
  LineBlock block;
  std::string found;
  if (reader.next(block) == LineBlockReader::Result::Block) {
    long long number = 0;
    forEachLine(block.text(), [&](std::string_view line) {
      if (++number == 1) line = withoutByteOrderMark(line);
      if (parseCoordinateLine(line, false).kind == LineKind::Blank) return true;
      found = line;
      return false;
    });
  }
  std::fclose(file);
  return found;
}

void checkInvariants(const PointList& points) {
  const std::size_t count = points.rw.size();
  if (points.hw.size() != count) fail("rw and hw differ in length");
  if (!points.names.empty() && points.names.size() != count)
    fail("names neither empty nor one per point");
  if (!points.heights.empty() && points.heights.size() != count)
    fail("heights neither empty nor one per point");
  if (!points.codes.empty() && points.codes.size() != count)
    fail("codes neither empty nor one per point");
  for (std::size_t i = 0; i < count; ++i)
    if (!std::isfinite(points.rw[i]) || !std::isfinite(points.hw[i])) fail("coordinate not finite");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  pointfiles::FormatRequest asCoordinateList;
  asCoordinateList.asCoordinateList = true;
  const Reading recognised = read(data, size, {});
  const Reading listed = read(data, size, asCoordinateList);
  checkInvariants(recognised.points);

  const std::string first = firstNonBlankLine(data, size);
  const bool pointOfTheList = parseCoordinateLine(first, false).kind == LineKind::NamedPoint ||
                              parseCoordinateLine(first, false).kind == LineKind::UnnamedPoint;
  const bool nothingElse =
      first.find(';') == std::string::npos && !pointfiles::recogniseHeaderLine(first) &&
      !pointfiles::isQgisCrsLine(first) && !pointfiles::recogniseQgisHeader(first);
  if (pointOfTheList || nothingElse ||
      recognised.format.kind == pointfiles::FileKind::CoordinateList) {
    if (recognised.format.kind != pointfiles::FileKind::CoordinateList)
      fail("a coordinate list was taken for another format");
    if (recognised.points.names != listed.points.names ||
        recognised.points.rw != listed.points.rw || recognised.points.hw != listed.points.hw)
      fail("the points differ from the coordinate list's");
    if (recognised.badLines != listed.badLines)
      fail("the bad lines differ from the coordinate list's");
  }

  pointfiles::ControlPairs pairs;
  std::FILE* file = openBytes(data, size);
  long long lastLine = 0;
  readQgisPointsStream(file, pairs, [&](const BadLine& bad) {
    if (bad.lineNumber <= lastLine) fail("pair file: line numbers not increasing");
    lastLine = bad.lineNumber;
    return BadLineAnswer::Continue;
  });
  std::fclose(file);
  checkInvariants(pairs.oldPoints);
  checkInvariants(pairs.newPoints);
  if (pairs.active.size() != pairs.count() || pairs.newPoints.count() != pairs.count())
    fail("pair lists differ in length");
  return 0;
}
