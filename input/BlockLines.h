// The lines of a block taken apart: the one loop that the window's reader and the workers
// of the streaming --apply both run, so that both take and refuse exactly the same lines,
// cut ones included.
#pragma once

#include "CoordinateLine.h"
#include "LineBlockReader.h"

#include <cstddef>
#include <string_view>
#include <utility>
#include <vector>

// Calls `onLine(std::string_view line, bool cut, bool firstLineOfFile)` for every line of
// `block` in order; `cut`: the line was longer than kMaxLineBytes and `line` is what was kept
// of its start. `onLine` returns false to stop, and forEachBlockLine then returns false.
template <typename OnLine>
bool forEachBlockLine(const LineBlock& block, OnLine&& onLine) {
  const std::string_view text = block.text();
  const std::vector<std::size_t>& cutLines = block.cutLines();
  std::size_t nextCut = 0;
  bool firstLineOfFile = block.startsFile();
  return forEachLine(text, [&](std::string_view line) {
    const bool first = std::exchange(firstLineOfFile, false);
    const bool cut = nextCut < cutLines.size() &&
                     cutLines[nextCut] == static_cast<std::size_t>(line.data() - text.data());
    if (cut) ++nextCut;
    return onLine(line, cut, first);
  });
}

// Calls `onLine(const CoordinateLine&)` for every line of `block` in order, blank ones too;
// `onLine` returns false to stop, and forEachCoordinateLine then returns false.
template <typename OnLine>
bool forEachCoordinateLine(const LineBlock& block, OnLine&& onLine) {
  return forEachBlockLine(block, [&](std::string_view line, bool cut, bool first) {
    return onLine(cut ? parseCutLine(line, first) : parseCoordinateLine(line, first));
  });
}
