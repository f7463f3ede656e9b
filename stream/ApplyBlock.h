// One block of an old-system file on its way through --apply: its lines, and what reading,
// transforming and formatting them gave. A block is worked on by one thread at a time.
#pragma once

#include "CoordinateReader.h"
#include "LineBlockReader.h"
#include "PointTransform.h"

#include <cstddef>
#include <string>
#include <vector>

namespace stream {

// A bad line of a block; its line number counts from the block's first line (1).
struct BlockBadLine {
  BadLine line;
  std::size_t pointsBefore = 0;  // points of the block before this line
};

struct ApplyBlock {
  // Filled by the reading thread: whole lines as LineBlockReader hands them out.
  LineBlock input;
  bool format = true;  // whether result lines are wanted

  // Filled by processBlock. `output` holds one result line per point, each after a CR LF.
  std::string output;
  long long lines = 0;
  std::size_t points = 0;
  std::vector<BlockBadLine> badLines;
  long long firstInfiniteLine = 0;  // the first line whose point transforms to infinity; 0: none
};

// Reads the block's lines, sends every point through `transform` and formats its result line.
void processBlock(ApplyBlock& block, const PointTransform& transform);

}  // namespace stream
