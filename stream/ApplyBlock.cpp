// The work on one block: the readers' line parsing, the point transform and the result
// file's line format.
#include "ApplyBlock.h"

#include "BlockLines.h"
#include "ResultFile.h"

#include <cmath>
#include <utility>

namespace stream {

namespace {

constexpr std::size_t kResultRoom = std::size_t{64} << 10;

}  // namespace

void processBlock(ApplyBlock& block, const PointTransform& transform) {
  // Counted and appended in this thread's locals: the blocks lie side by side in memory,
  // and the neighbour may be in another thread's hands at the same time.
  std::string results = std::move(block.output);
  results.clear();
  // A result line is about 1.4 times its input line of name and coordinates: room for the
  // whole block at once, and for the next blocks, which are a little larger or smaller, so
  // that the text neither grows by copying itself nor moves to fresh memory.
  results.reserve(block.input.text().size() * 3 / 2 + kResultRoom);
  long long lines = 0;
  std::size_t points = 0;
  block.badLines.clear();
  long long firstInfiniteLine = 0;
  forEachCoordinateLine(block.input, [&](const CoordinateLine& line) {
    ++lines;
    switch (line.kind) {
      case LineKind::Blank:
        return true;
      case LineKind::Bad:
        block.badLines.push_back(
            {BadLine{lines, std::string(line.firstShown), std::string(line.secondShown)}, points});
        return true;
      case LineKind::NamedPoint:
      case LineKind::UnnamedPoint:
        break;
    }
    ++points;
    if (block.format) {
      const output::ResultPoint transformed = transform(line.rw, line.hw);
      if (!std::isfinite(transformed.rw) || !std::isfinite(transformed.hw)) {
        if (firstInfiniteLine == 0) firstInfiniteLine = lines;
        return true;
      }
      results.append("\r\n");
      output::appendResultLine(results, line.name, transformed.rw, transformed.hw);
    }
    return true;
  });
  block.output = std::move(results);
  block.lines = lines;
  block.points = points;
  block.firstInfiniteLine = firstInfiniteLine;
}

}  // namespace stream
