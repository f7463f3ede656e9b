// Fuzz target for the coordinate reader: any bytes as a coordinate file, read through a
// memory stream. Each bad line is answered with continue or stop as the input's own bytes
// decide, so both paths are explored. Checks the point list's invariants and the order of
// the reported lines.
#include "CoordinateReader.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "coordinate reader: %s\n", what);
  std::abort();
}

// The most lines the bytes can hold: every CR and every LF may end one, plus the last.
long long lineCountBound(const std::uint8_t* data, std::size_t size) {
  long long ends = 0;
  for (std::size_t i = 0; i < size; ++i) ends += data[i] == '\n' || data[i] == '\r';
  return ends + 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // fmemopen refuses an empty buffer; one byte with size 0 still reads as empty.
  static char emptyBuffer[1];
  void* buffer = size > 0 ? const_cast<std::uint8_t*>(data) : static_cast<void*>(emptyBuffer);
  std::FILE* file = fmemopen(buffer, size, "rb");
  if (file == nullptr) fail("fmemopen failed");

  PointList points;
  // A point no file can give (coordinates are finite): if it survives, the list was not
  // emptied before reading, and the finiteness check below catches it.
  points.names = {"stale"};
  points.rw = {std::nan("")};
  points.hw = {std::nan("")};

  long long lastLine = 0;
  std::size_t answers = 0;
  bool stopped = false;
  const ReadStatus status = readCoordinateStream(file, points, [&](const BadLine& bad) {
    if (stopped) fail("asked again after the answer stop");
    if (bad.lineNumber <= lastLine) fail("line numbers not strictly increasing");
    lastLine = bad.lineNumber;
    // The answer comes from an input byte chosen by how many answers were given.
    const bool stop = size > 0 && (data[(answers * 7919) % size] & 0x10) != 0;
    ++answers;
    stopped = stop;
    return stop ? BadLineAnswer::Stop : BadLineAnswer::Continue;
  });
  std::fclose(file);

  if (stopped != (status == ReadStatus::StoppedByUser)) fail("status does not match the answers");
  if (status == ReadStatus::OpenFailed || status == ReadStatus::ReadFailed)
    fail("a memory stream cannot fail");
  if (points.rw.size() != points.hw.size()) fail("rw and hw differ in length");
  if (!points.names.empty() && points.names.size() != points.rw.size())
    fail("names neither empty nor one per point");
  for (std::size_t i = 0; i < points.count(); ++i)
    if (!std::isfinite(points.rw[i]) || !std::isfinite(points.hw[i])) fail("coordinate not finite");
  const long long lines = lineCountBound(data, size);
  if (lastLine > lines) fail("line number beyond the last line");
  if (static_cast<long long>(points.count() + answers) > lines) fail("more points and bad lines than lines");
  return 0;
}
